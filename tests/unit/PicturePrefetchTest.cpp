#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "Rendering/scene/SceneryCreator.h"
#include "app/MainGame.h"
#include "infra/Picture.h"

namespace fs = std::filesystem;

namespace {

const std::string jpegDir = std::string(FYREL_SOURCE_DIR) + "/tests/data/external/jpeg/";

struct Loaded {
    ImageInfo image;
    std::string output;
    std::vector<unsigned char> bytes;  // the decoded rows, copied
};

Loaded load(const std::string& path) {
    Loaded loaded;
    testing::internal::CaptureStdout();
    loadTexture(path.c_str(), loaded.image);
    loaded.output = testing::internal::GetCapturedStdout();
    const size_t pitch = (loaded.image.width * 3 + 3) & ~size_t{3};
    if (loaded.image.pixels) {
        loaded.bytes.assign(loaded.image.pixels, loaded.image.pixels + pitch * loaded.image.height);
    }
    return loaded;
}

std::string firstJpeg() {
    return jpegDir + "testorig.jpg";
}

}  // namespace

// A load served from the prefetch must be indistinguishable from one that decodes itself:
// same pixels, same size, and the failure lines printed by the load, not by the workers.
TEST(PrefetchPictures, LoadsSeeWhatTheyWouldHaveDecodedThemselves) {
    const std::string good = firstJpeg();
    ASSERT_FALSE(good.empty());
    const std::string missing = jpegDir + "missing.jpg";
    const std::string unknown = jpegDir + "missing.nosuchformat";
    const Loaded direct = load(good);
    const Loaded directMissing = load(missing);
    const Loaded directUnknown = load(unknown);
    releaseAllPictures();

    testing::internal::CaptureStdout();
    prefetchPictures({good, missing, unknown, good});
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");

    const Loaded first = load(good);
    EXPECT_EQ(first.image.width, direct.image.width);
    EXPECT_EQ(first.image.height, direct.image.height);
    EXPECT_EQ(first.bytes, direct.bytes);
    EXPECT_EQ(first.output, "");
    EXPECT_EQ(load(missing).output, directMissing.output);
    EXPECT_EQ(load(unknown).output, directUnknown.output);

    // A picture listed twice serves two loads, each with pixels of its own.
    const Loaded second = load(good);
    EXPECT_NE(second.image.pixels, first.image.pixels);
    EXPECT_EQ(second.bytes, direct.bytes);
    // Listed only twice: a third load decodes the file again, the ordinary way.
    const Loaded third = load(good);
    EXPECT_EQ(third.bytes, direct.bytes);
    releaseAllPictures();
}

// Pictures nobody took are freed with the rest (the sanitizer build checks for leaks), and
// afterwards loads decode as usual.
TEST(PrefetchPictures, UntakenPicturesAreReleasedAndLaterLoadsDecode) {
    const std::string good = firstJpeg();
    prefetchPictures({good, good, good}, 3);
    releaseAllPictures();
    prefetchPictures({good});
    prefetchPictures({good});  // starting again drops the first set
    const Loaded loaded = load(good);
    EXPECT_NE(loaded.image.pixels, nullptr);
    releaseAllPictures();
    EXPECT_NE(load(good).image.pixels, nullptr);
    releaseAllPictures();
}

// The scene's eight orbs show one picture: it is decoded once and every orb points at it.
TEST(PrefetchPictures, TheGamesPicturesAreListedAndOrbsShareTheirPicture) {
    const std::vector<std::string> files = Rendering::SceneryCreator::pictureFiles();
    EXPECT_EQ(files.size(), 11u + 38u);
    EXPECT_EQ(files.front(), "alienUV.jpg");

    const fs::path previous = fs::current_path();
    fs::current_path(FYREL_RUN_DIR);
    prefetchPictures(files);
    MainGame game;
    testing::internal::CaptureStdout();
    const bool started = game.startGame();
    const std::string output = testing::internal::GetCapturedStdout();
    fs::current_path(previous);
    ASSERT_TRUE(started);
    EXPECT_EQ(output.find("Texture loading failed"), std::string::npos);
    const std::vector<SceneObject*>& orbs = game.scene->lightOrbs;
    ASSERT_EQ(orbs.size(), 8u);
    for (size_t i = 1; i < orbs.size(); ++i) {
        EXPECT_NE(orbs[i]->mesh, orbs.front()->mesh);
        EXPECT_EQ(orbs[i]->mesh->pixels, orbs.front()->mesh->pixels);
    }
    EXPECT_EQ(orbs.back()->mesh->imageWidth, 1024u);
    EXPECT_EQ(orbs.back()->mesh->imageHeight, 512u);
}
