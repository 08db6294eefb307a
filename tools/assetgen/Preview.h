#pragma once

#include <string>

namespace assetgen {

// Contact sheet of the generated assets as the game will use them: every map as a viewer shows
// the file and wrapped on a globe the way the game's spheres wrap it, the sky, the sun, the
// alien's skin, the alien model rendered from four sides, and the font drawn the game's way.
bool writePreview(const std::string& assetDir, const std::string& pngPath);

}  // namespace assetgen
