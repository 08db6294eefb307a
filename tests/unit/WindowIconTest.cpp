// The window icon as the game reads it: the generated sizes, and what a broken file leaves.
#include <FreeImage.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "infra/Assets.h"
#include "infra/WindowIcon.h"

namespace {

namespace fs = std::filesystem;

struct Loaded {
    std::vector<platform::RgbaImage> sizes;
    std::string errors;
};

Loaded load(const std::string& folder) {
    Loaded loaded;
    testing::internal::CaptureStderr();
    loaded.sizes = loadWindowIcon(folder);
    loaded.errors = testing::internal::GetCapturedStderr();
    return loaded;
}

// The pixel at a point given as a share of the width and height from the top-left corner.
const uint8_t* at(const platform::RgbaImage& image, float x, float y) {
    const int px = static_cast<int>(x * static_cast<float>(image.width));
    const int py = static_cast<int>(y * static_cast<float>(image.height));
    return &image.pixels[(size_t(py) * size_t(image.width) + size_t(px)) * 4];
}

}  // namespace

// Every size the manifest lists, at that size, the right way up: the head is low and green, the
// space between the antennae above it clear, the corners see-through.
TEST(WindowIcon, EveryGeneratedSizeIsReadTheRightWayUp) {
    const Loaded loaded = load(FYREL_RUN_DIR);
    EXPECT_EQ(loaded.errors, "");
    const std::vector<assets::File> files = assets::filesOf(assets::Kind::Icon);
    ASSERT_EQ(loaded.sizes.size(), files.size());
    for (size_t i = 0; i < files.size(); ++i) {
        const platform::RgbaImage& image = loaded.sizes[i];
        SCOPED_TRACE(files[i].path);
        EXPECT_EQ(image.width, std::stoi(files[i].name));
        EXPECT_EQ(image.height, image.width);
        ASSERT_EQ(image.pixels.size(), size_t(image.width) * size_t(image.height) * 4);
        const uint8_t* chin = at(image, 0.43f, 0.86f);
        EXPECT_EQ(chin[3], 255);
        EXPECT_GT(chin[1], chin[0] + 40);
        EXPECT_GT(chin[1], chin[2] + 40);
        EXPECT_EQ(at(image, 0.43f, 0.14f)[3], 0);
        EXPECT_EQ(at(image, 0.0f, 0.0f)[3], 0);
        EXPECT_EQ(at(image, 0.99f, 0.99f)[3], 0);
    }
}

// Missing, empty, cut short, not a picture, or too large for an icon: that size is left out, the
// others are used, and one line names the first bad file and counts the rest.
TEST(WindowIcon, BrokenFilesAreLeftOutWithOneLine) {
    const fs::path folder = fs::temp_directory_path() / "fyrel-window-icon";
    fs::remove_all(folder);
    fs::create_directories(folder / "icons");
    const std::vector<assets::File> files = assets::filesOf(assets::Kind::Icon);
    ASSERT_GE(files.size(), 6u);
    for (const assets::File& file : files)
        fs::copy_file(fs::path(FYREL_RUN_DIR) / file.path, folder / file.path);

    fs::remove(folder / files[0].path);
    std::ofstream(folder / files[1].path, std::ios::trunc).close();
    fs::resize_file(folder / files[2].path, fs::file_size(folder / files[2].path) / 2);
    std::ofstream(folder / files[3].path, std::ios::trunc) << std::string(300, 'x');
    FIBITMAP* huge = FreeImage_Allocate(600, 20, 32);
    ASSERT_TRUE(FreeImage_Save(FIF_PNG, huge, (folder / files[4].path).c_str(), 0));
    FreeImage_Unload(huge);

    const Loaded loaded = load(folder.string());
    ASSERT_EQ(loaded.sizes.size(), files.size() - 5);
    EXPECT_EQ(loaded.sizes[0].width, std::stoi(files[5].name));
    const std::string first = "fyrel: window icon \"" + (folder / files[0].path).string() + "\": ";
    EXPECT_EQ(loaded.errors.rfind(first, 0), 0u) << loaded.errors;
    EXPECT_NE(loaded.errors.find(" (and 4 more icon files)\n"), std::string::npos) << loaded.errors;
    EXPECT_EQ(loaded.errors.find('\n'), loaded.errors.size() - 1) << loaded.errors;
    fs::remove_all(folder);
}
