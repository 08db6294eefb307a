#include <FreeImage.h>
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "infra/Picture.h"

namespace {

const std::string jpegDir = std::string(FYREL_SOURCE_DIR) + "/tests/data/external/jpeg/";

struct Loaded {
    ImageInfo image{77, 77, nullptr};  // stale values that a load must overwrite
    unsigned char* result = nullptr;
    std::string output;
};

Loaded load(const std::string& path) {
    Loaded loaded;
    testing::internal::CaptureStdout();
    loaded.result = loadTexture(path.c_str(), loaded.image);
    loaded.output = testing::internal::GetCapturedStdout();
    return loaded;
}

// Pixel (x, y) as blue-green-red. Reads every byte the 3-byte upload will read first, so a
// picture stored with fewer bytes per pixel shows up under the address sanitizer.
std::vector<uint8_t> pixelAt(const ImageInfo& image, uint32_t x, uint32_t y) {
    const size_t pitch = (image.width * 3 + 3) & ~size_t{3};
    volatile unsigned sum = 0;
    for (size_t row = 0; row < image.height; ++row) {
        for (size_t i = 0; i < image.width * 3; ++i) sum += image.pixels[row * pitch + i];
    }
    const unsigned char* p = image.pixels + y * pitch + 3 * x;
    return {p[0], p[1], p[2]};
}

TEST(LoadTexture, FailuresPrintOncePerFailedStep) {
    const std::pair<std::string, size_t> cases[] = {
        {jpegDir + "missing.jpg", 2},           // format known from the name; load fails
        {jpegDir + "missing.nosuchformat", 3},  // no format either
        {jpegDir + "monkey12.jpg", 2},          // 12-bit samples: the decoder refuses
    };
    for (const auto& [path, times] : cases) {
        const Loaded loaded = load(path);
        std::string expected;
        for (size_t i = 0; i < times; ++i)
            expected += "Texture loading failed! Tex: " + path + "\n";
        EXPECT_EQ(loaded.output, expected);
        EXPECT_EQ(loaded.result, nullptr);
        EXPECT_EQ(loaded.image.pixels, nullptr);
        EXPECT_EQ(loaded.image.width + loaded.image.height, 0u);
    }
}

TEST(LoadTexture, ExternalJpegsDecodeToTwentyFourBitRows) {
    const struct {
        const char* file;
        uint32_t width, height;
    } pictures[] = {{"testorig.jpg", 227, 149},         {"testimgari.jpg", 227, 149},
                    {"app13-multiple.jpg", 256, 160},   {"hopper_gray.jpg", 128, 128},
                    {"pil_sample_cmyk.jpg", 100, 100},  {"truncated_jpeg.jpg", 100, 100},
                    {"orientation_rectangle.jpg", 2, 1}};
    for (const auto& picture : pictures) {
        SCOPED_TRACE(picture.file);
        const Loaded loaded = load(jpegDir + picture.file);
        EXPECT_EQ(loaded.output, "");
        ASSERT_NE(loaded.result, nullptr);
        EXPECT_EQ(loaded.result, loaded.image.pixels);
        EXPECT_EQ(loaded.image.width, picture.width);
        EXPECT_EQ(loaded.image.height, picture.height);
        pixelAt(loaded.image, 0, 0);
    }
}

TEST(LoadTexture, ColourKeepsItsDecodedRowsOtherDepthsBecomeColour) {
    FIBITMAP* colour = FreeImage_Load(FIF_JPEG, (jpegDir + "testorig.jpg").c_str(), 0);
    FIBITMAP* grey = FreeImage_Load(FIF_JPEG, (jpegDir + "hopper_gray.jpg").c_str(), 0);
    ASSERT_EQ(FreeImage_GetPitch(colour), 684u);  // 227 * 3 = 681, padded to four
    ASSERT_EQ(FreeImage_GetBPP(grey), 8u);
    const Loaded loadedColour = load(jpegDir + "testorig.jpg");
    EXPECT_EQ(std::memcmp(loadedColour.image.pixels, FreeImage_GetBits(colour), 684 * 149), 0);
    const Loaded loadedGrey = load(jpegDir + "hopper_gray.jpg");
    for (uint32_t y = 0; y < 128; y += 9) {
        for (uint32_t x = 0; x < 128; x += 7) {
            const uint8_t v = FreeImage_GetScanLine(grey, static_cast<int>(y))[x];
            ASSERT_EQ(pixelAt(loadedGrey.image, x, y), (std::vector<uint8_t>{v, v, v}));
        }
    }
    FreeImage_Unload(colour);
    FreeImage_Unload(grey);

    // 32-bit with alpha and 16-bit greyscale, 5 pixels wide so that rows need padding.
    FIBITMAP* rgba = FreeImage_Allocate(5, 3, 32);
    FIBITMAP* grey16 = FreeImage_AllocateT(FIT_UINT16, 5, 3);
    for (int y = 0; y < 3; ++y) {
        BYTE* row = FreeImage_GetScanLine(rgba, y);
        WORD* row16 = reinterpret_cast<WORD*>(FreeImage_GetScanLine(grey16, y));
        for (int x = 0; x < 5; ++x) {
            const BYTE bgra[4] = {BYTE(40 * x), BYTE(80 * y), BYTE(200 - 30 * x), 255};
            std::memcpy(row + 4 * x, bgra, 4);
            row16[x] = (x + y) % 2 == 0 ? 0 : 65535;
        }
    }
    const std::string rgbaPath = testing::TempDir() + "fyrel_rgba.png";
    const std::string grey16Path = testing::TempDir() + "fyrel_grey16.png";
    ASSERT_TRUE(FreeImage_Save(FIF_PNG, rgba, rgbaPath.c_str(), 0));
    ASSERT_TRUE(FreeImage_Save(FIF_PNG, grey16, grey16Path.c_str(), 0));
    FreeImage_Unload(rgba);
    FreeImage_Unload(grey16);
    const Loaded loadedRgba = load(rgbaPath);
    const Loaded loadedGrey16 = load(grey16Path);
    ASSERT_EQ(loadedRgba.image.width, 5u);
    ASSERT_EQ(loadedGrey16.image.width, 5u);
    for (uint32_t y = 0; y < 3; ++y) {
        for (uint32_t x = 0; x < 5; ++x) {
            EXPECT_EQ(
                pixelAt(loadedRgba.image, x, y),
                (std::vector<uint8_t>{uint8_t(40 * x), uint8_t(80 * y), uint8_t(200 - 30 * x)}));
            const uint8_t v = (x + y) % 2 == 0 ? 0 : 255;
            EXPECT_EQ(pixelAt(loadedGrey16.image, x, y), (std::vector<uint8_t>{v, v, v}));
        }
    }
}

TEST(LoadTexture, EarlierPicturesStayValidUntilReleased) {
    ImageInfo image;
    unsigned char* first = loadTexture((jpegDir + "testorig.jpg").c_str(), image);
    ASSERT_NE(first, nullptr);
    const std::vector<uint8_t> copy(first, first + 684 * 149);
    EXPECT_NE(loadTexture((jpegDir + "orientation_rectangle.jpg").c_str(), image), first);
    EXPECT_EQ(image.width, 2u);
    EXPECT_EQ(image.height, 1u);
    EXPECT_EQ(std::memcmp(first, copy.data(), copy.size()), 0);
    releaseAllPictures();
    releaseAllPictures();  // nothing left: harmless
    EXPECT_NE(loadTexture((jpegDir + "testorig.jpg").c_str(), image), nullptr);
}

}  // namespace
