#include "infra/WindowIcon.h"

#include <iostream>

#include "infra/Assets.h"
#include "infra/Picture.h"

namespace {
// Window systems carry the icon in one request; X11 ends a program whose request is too long,
// and no desktop shows icons larger than this.
constexpr int kLargestIcon = 512;
}  // namespace

std::vector<platform::RgbaImage> loadWindowIcon(const std::string& folder) {
    std::vector<platform::RgbaImage> sizes;
    std::string firstProblem;
    int leftOut = 0;
    for (const assets::File& file : assets::filesOf(assets::Kind::Icon)) {
        const std::string path = folder.empty() ? file.path : folder + "/" + file.path;
        platform::RgbaImage image;
        std::string problem;
        if (decodeRgba(path.c_str(), image, problem) &&
            (image.width > kLargestIcon || image.height > kLargestIcon)) {
            problem = "larger than " + std::to_string(kLargestIcon) + " pixels";
        }
        if (problem.empty()) {
            sizes.push_back(std::move(image));
        } else if (leftOut++ == 0) {
            firstProblem = "\"" + path + "\": " + problem;
        }
    }
    if (leftOut > 0) {
        std::cerr << "fyrel: window icon " << firstProblem;
        if (leftOut > 1) std::cerr << " (and " << leftOut - 1 << " more icon files)";
        std::cerr << std::endl;
    }
    return sizes;
}
