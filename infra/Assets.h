#pragma once

#include <string>
#include <vector>

// The files of infra/AssetManifest.inc, for C++.
namespace assets {

enum class Kind { Shader, Model, Picture, Glyph, Sound, Icon };

struct File {
    Kind kind;
    // The shader's name, the glyph's character, the icon's size in pixels, or the name of the
    // entry.
    const char* name;
    // Below the game's working directory.
    const char* path;
};

// Every file the game reads, in the manifest's order.
inline constexpr File kFiles[] = {
#define FYREL_SHADER(name, path) {Kind::Shader, #name, path},
#define FYREL_MODEL(name, path) {Kind::Model, #name, path},
#define FYREL_PICTURE(name, path) {Kind::Picture, #name, path},
#define FYREL_GLYPH(character, path) {Kind::Glyph, character, path},
#define FYREL_SOUND(name, path) {Kind::Sound, #name, path},
#define FYREL_ICON(size, path) {Kind::Icon, #size, path},
#include "infra/AssetManifest.inc"
#undef FYREL_SHADER
#undef FYREL_MODEL
#undef FYREL_PICTURE
#undef FYREL_GLYPH
#undef FYREL_SOUND
#undef FYREL_ICON
};

// The model, each picture and each sound by its name, e.g. assets::neptuneMap.
#define FYREL_SHADER(name, path)
#define FYREL_GLYPH(character, path)
#define FYREL_ICON(size, path)
#define FYREL_MODEL(name, path) inline constexpr const char name[] = path;
#define FYREL_PICTURE(name, path) inline constexpr const char name[] = path;
#define FYREL_SOUND(name, path) inline constexpr const char name[] = path;
#include "infra/AssetManifest.inc"
#undef FYREL_SHADER
#undef FYREL_MODEL
#undef FYREL_PICTURE
#undef FYREL_GLYPH
#undef FYREL_SOUND
#undef FYREL_ICON

// All but the shaders come from the asset generator.
inline bool isGenerated(const File& file) {
    return file.kind != Kind::Shader;
}

// The files of one kind, in the manifest's order.
inline std::vector<File> filesOf(Kind kind) {
    std::vector<File> files;
    for (const File& file : kFiles) {
        if (file.kind == kind) files.push_back(file);
    }
    return files;
}

// The path of the font picture of `character`, or null when the font has none.
inline const char* glyphPath(const std::string& character) {
    for (const File& file : kFiles) {
        if (file.kind == Kind::Glyph && character == file.name) return file.path;
    }
    return nullptr;
}

}  // namespace assets
