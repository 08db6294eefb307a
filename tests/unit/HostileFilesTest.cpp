// Broken files the game reads, one layer at a time: what each layer says and what it leaves.
// tests/e2e/hostile_files.py runs the real game with every file broken in every way.
#include <FreeImage.h>
#include <SDL.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <glm/gtc/constants.hpp>
#include <string>
#include <vector>

#include "TestFiles.h"
#include "app/MainGame.h"
#include "infra/Assets.h"
#include "infra/Picture.h"
#include "platform/Audio.h"

namespace fs = std::filesystem;

namespace {

// A 24-bit colour JPEG of the given size with a smooth pattern, as the game's pictures are.
std::string colourJpeg(const fs::path& folder, int width, int height) {
    FIBITMAP* bitmap = FreeImage_Allocate(width, height, 24);
    for (int y = 0; y < height; ++y) {
        BYTE* row = FreeImage_GetScanLine(bitmap, y);
        for (int x = 0; x < 3 * width; ++x) row[x] = static_cast<BYTE>((x * 7 + y * 3) & 0xFF);
    }
    const fs::path path = folder / "picture.jpg";
    EXPECT_TRUE(FreeImage_Save(FIF_JPEG, bitmap, path.c_str(), 90));
    FreeImage_Unload(bitmap);
    return readFile(path);
}

// 16-bit mono PCM in a RIFF/WAVE container.
std::string waveFile(int frames, int rate = 22050) {
    auto u32 = [](uint32_t v) { return std::string(reinterpret_cast<const char*>(&v), 4); };
    auto u16 = [](uint16_t v) { return std::string(reinterpret_cast<const char*>(&v), 2); };
    std::string samples;
    for (int i = 0; i < frames; ++i) {
        samples += u16(static_cast<uint16_t>(
            static_cast<int16_t>(8000 * std::sin(glm::two_pi<double>() * 440 * i / rate))));
    }
    return "RIFF" + u32(36 + samples.size()) + "WAVE" + "fmt " + u32(16) + u16(1) + u16(1) +
           u32(rate) + u32(rate * 2) + u16(2) + u16(16) + "data" + u32(samples.size()) + samples;
}

struct Capture {
    std::string out, err;
};

template <typename Body>
Capture captured(Body body) {
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    body();
    Capture c;
    c.err = testing::internal::GetCapturedStderr();
    c.out = testing::internal::GetCapturedStdout();
    return c;
}

}  // namespace

// A model file that is there but holds no usable alien stops start-up like a missing one:
// the importer's and the pool's lines first, then the FATAL line naming the file.
TEST(HostileFiles, AnAlienFileWithoutAUsableModelStopsStartUp) {
    const std::string noMesh =
        "<?xml version=\"1.0\" encoding=\"utf-8\"?>\n"
        "<COLLADA xmlns=\"http://www.collada.org/2005/11/COLLADASchema\" version=\"1.4.1\">\n"
        "  <asset><unit name=\"meter\" meter=\"1\"/><up_axis>Y_UP</up_axis></asset>\n"
        "  <library_visual_scenes><visual_scene id=\"s\"><node id=\"n\"/></visual_scene>"
        "</library_visual_scenes>\n"
        "  <scene><instance_visual_scene url=\"#s\"/></scene>\n"
        "</COLLADA>\n";
    for (const std::string& contents : {std::string(), std::string("<COLLADA"), noMesh}) {
        TempDir dir("hostile");
        writeFile(dir.path / assets::alienModel, contents);
        const fs::path previous = fs::current_path();
        fs::current_path(dir.path);
        MainGame game;
        bool started = true;
        const Capture c = captured([&] { started = game.startGame(); });
        fs::current_path(previous);

        EXPECT_FALSE(started) << contents;
        EXPECT_EQ(game.scene, nullptr);
        EXPECT_NE(c.out.find("ERR   ModelPool: model with id alien could not be loaded\n"),
                  std::string::npos)
            << c.out;
        const size_t fatal = c.out.find("FATAL main: ");
        ASSERT_NE(fatal, std::string::npos) << c.out;
        EXPECT_NE(c.out.find("\"alien.dae\"", fatal), std::string::npos) << c.out;
        // No picture is read for a game that cannot start.
        EXPECT_EQ(c.out.find("Texture loading failed!"), std::string::npos) << c.out;
    }
}

// Half a JPEG still decodes (the missing part grey): the picture is used, and the decoder's
// complaint appears with the picture's name. Bytes that are no picture at all give the failure
// text and the decoder's reason.
TEST(HostileFiles, PictureDecoderMessagesNameThePicture) {
    TempDir dir("hostile");
    const std::string jpeg = colourJpeg(dir.path, 96, 64);
    const fs::path half = dir.path / "half.jpg";
    writeFile(half, jpeg.substr(0, jpeg.size() / 2));
    ImageInfo image;
    const Capture cut = captured([&] { loadTexture(half.c_str(), image); });
    EXPECT_NE(image.pixels, nullptr);
    EXPECT_EQ(image.width, 96u);
    EXPECT_EQ(image.height, 64u);
    EXPECT_EQ(cut.out, "");
    EXPECT_NE(cut.err.find("fyrel: picture \"" + half.string() + "\": JPEG: "), std::string::npos)
        << cut.err;

    const fs::path junk = dir.path / "junk.jpg";
    std::string bytes(4000, '\0');
    unsigned state = 12345;
    for (char& b : bytes) b = static_cast<char>((state = state * 1103515245u + 12345u) >> 24);
    writeFile(junk, bytes);
    const Capture bad = captured([&] { loadTexture(junk.c_str(), image); });
    EXPECT_EQ(image.pixels, nullptr);
    EXPECT_EQ(image.width + image.height, 0u);
    EXPECT_NE(bad.out.find("Texture loading failed! Tex: " + junk.string() + "\n"),
              std::string::npos);
    EXPECT_NE(bad.err.find("fyrel: picture \"" + junk.string() + "\": JPEG: "), std::string::npos)
        << bad.err;

    // A good picture afterwards is quiet again, and messages do not name the last one.
    const fs::path good = dir.path / "good.jpg";
    writeFile(good, jpeg);
    const Capture ok = captured([&] { loadTexture(good.c_str(), image); });
    EXPECT_EQ(ok.out + ok.err, "");
}

// Music whose contents are another format than its name says still plays; contents that are
// no sound at all stay silent with one line naming the file.
TEST(HostileFiles, MusicIsDecodedByItsContents) {
    TempDir dir("hostile");
    const char* oldDriver = std::getenv("SDL_AUDIODRIVER");
    const std::string saved = oldDriver ? oldDriver : "";
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    platform::Audio audio;
    ASSERT_TRUE(audio.open());

    const fs::path wave = dir.path / "music.mp3";
    writeFile(wave, waveFile(22050));
    Capture c = captured([&] { audio.startMusic(wave.string()); });
    EXPECT_TRUE(audio.musicPlaying());
    EXPECT_EQ(c.err, "");

    const fs::path text = dir.path / "text.mp3";
    writeFile(text, std::string(3000, 'x'));
    c = captured([&] { audio.startMusic(text.string()); });
    EXPECT_FALSE(audio.musicPlaying());
    EXPECT_NE(c.err.find("fyrel: cannot play \"" + text.string() + "\""), std::string::npos)
        << c.err;
    audio.close();
    oldDriver ? setenv("SDL_AUDIODRIVER", saved.c_str(), 1) : unsetenv("SDL_AUDIODRIVER");
}
