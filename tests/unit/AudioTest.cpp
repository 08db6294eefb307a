// The audio layer on SDL's disk driver (which writes the mix to a file as fast as it can) and
// without any usable device.
#include <SDL.h>
#include <SDL_mixer.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "infra/Assets.h"
#include "platform/Audio.h"
#include "tools/assetgen/Sound.h"

namespace {

namespace fs = std::filesystem;
const std::string kMusic = std::string(FYREL_RUN_DIR) + "/" + assets::music;
const std::string kChime = std::string(FYREL_RUN_DIR) + "/" + assets::chime;
constexpr long kRate = assetgen::kSampleRate;

// Sets environment variables for one test and puts the old values back afterwards.
class ScopedEnv {
  public:
    using Values = std::map<std::string, std::string>;
    explicit ScopedEnv(const Values& values) {
        for (const auto& [name, value] : values) {
            const char* old = std::getenv(name.c_str());
            saved[name] = old ? std::optional<std::string>(old) : std::nullopt;
            setenv(name.c_str(), value.c_str(), 1);
        }
    }
    ~ScopedEnv() {
        for (const auto& [name, value] : saved)
            value ? setenv(name.c_str(), value->c_str(), 1) : unsetenv(name.c_str());
    }

  private:
    std::map<std::string, std::optional<std::string>> saved;
};

struct TempDir {
    fs::path path = fs::temp_directory_path() / ("fyrel-audio-" + std::to_string(getpid()));
    TempDir() { fs::create_directories(path); }
    ~TempDir() { fs::remove_all(path); }
};

long lines(const std::string& text) {
    return std::count(text.begin(), text.end(), '\n');
}

std::atomic<long> mixedFrames{0};
void countFrames(void*, Uint8*, int bytes) {
    mixedFrames += bytes / 4;
}

// Runs fn while the mixer's thread is held, so what it starts begins exactly with the next
// mixed buffer. Returns the number of frames mixed before it.
template <typename Fn>
long atNextBuffer(Fn fn) {
    SDL_AudioDeviceID device = 0;
    for (SDL_AudioDeviceID id = 1; id < 64 && !device; ++id)
        if (SDL_GetAudioDeviceStatus(id) == SDL_AUDIO_PLAYING) device = id;
    SDL_LockAudioDevice(device);
    long before = mixedFrames;
    fn();
    SDL_UnlockAudioDevice(device);
    return before;
}

bool waitForFrames(long frames) {
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(90);
    while (mixedFrames < frames) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return true;
}

std::vector<int16_t> readSamples(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::vector<int16_t> s(fs::file_size(file) / 2);
    in.read(reinterpret_cast<char*>(s.data()), static_cast<std::streamsize>(s.size() * 2));
    return s;
}

// Both sounds as the mixer decodes them, for comparing against its output.
void decodeReference(std::vector<int16_t>& music, std::vector<int16_t>& chime) {
    SDL_SetHintWithPriority(SDL_HINT_AUDIODRIVER, "dummy", SDL_HINT_OVERRIDE);
    ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_AUDIO), 0);
    SDL_ResetHint(SDL_HINT_AUDIODRIVER);
    ASSERT_EQ(Mix_OpenAudio(kRate, AUDIO_S16SYS, 2, 1024), 0) << Mix_GetError();
    for (auto [path, out] : {std::pair{&kMusic, &music}, std::pair{&kChime, &chime}}) {
        Mix_Chunk* c = Mix_LoadWAV(path->c_str());
        ASSERT_NE(c, nullptr) << Mix_GetError();
        const int16_t* s = reinterpret_cast<const int16_t*>(c->abuf);
        out->assign(s, s + c->alen / 2);
        Mix_FreeChunk(c);
    }
    Mix_CloseAudio();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

}  // namespace

TEST(Audio, WithoutADeviceTheGameRunsSilentAndSaysSoOnce) {
    ScopedEnv env(ScopedEnv::Values{{"SDL_AUDIODRIVER", "fyrel-no-such-driver"}});
    platform::Audio audio;
    testing::internal::CaptureStderr();
    EXPECT_FALSE(audio.open());
    audio.startMusic(kMusic);
    audio.loadChime(kChime);
    for (int frame = 0; frame < 3; ++frame) {
        audio.playChime();
        audio.update();
    }
    // A silent mixer stands in, so the music still runs its course unheard.
    EXPECT_TRUE(audio.isOpen());
    EXPECT_TRUE(audio.musicPlaying());
    EXPECT_FALSE(audio.open());
    audio.close();
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(lines(err), 1) << err;
    EXPECT_EQ(audio.chimesRequested(), 3);
}

TEST(Audio, MissingOrBrokenSoundFilesStaySilentWithOneLineEach) {
    TempDir dir;
    const std::string broken = (dir.path / "broken.mp3").string();
    std::ofstream(broken) << "this is not an mp3 file, just text with the wrong ending\n";
    ScopedEnv env(ScopedEnv::Values{{"SDL_AUDIODRIVER", "dummy"}});
    platform::Audio audio;
    ASSERT_TRUE(audio.open());
    testing::internal::CaptureStderr();
    audio.startMusic((dir.path / "missing.mp3").string());
    audio.loadChime(broken);
    audio.playChime();
    audio.update();
    std::string err = testing::internal::GetCapturedStderr();
    EXPECT_FALSE(audio.musicPlaying());
    EXPECT_EQ(lines(err), 2) << err;
    EXPECT_NE(err.find("missing.mp3"), std::string::npos);
    EXPECT_NE(err.find("broken.mp3"), std::string::npos);
    audio.close();
    platform::Audio unopened;  // collections before (or without) opening only count
    unopened.playChime();
    EXPECT_EQ(unopened.chimesRequested(), 1);
}

TEST(Audio, PauseHoldsTheMusicAndTheRingingChimeUntilResumed) {
    ScopedEnv env(ScopedEnv::Values{{"SDL_AUDIODRIVER", "dummy"}});
    platform::Audio audio;
    ASSERT_TRUE(audio.open());
    audio.startMusic(kMusic);
    audio.loadChime(kChime);
    audio.playChime();
    audio.pause();
    EXPECT_TRUE(audio.paused());
    EXPECT_EQ(Mix_PausedMusic(), 1);
    EXPECT_EQ(Mix_Paused(-1), 1);
    audio.resume();
    EXPECT_FALSE(audio.paused());
    EXPECT_EQ(Mix_PausedMusic() + Mix_Paused(-1), 0);
    EXPECT_TRUE(audio.musicPlaying());
    audio.close();
}

TEST(Audio, MutedItOpensNothingAndSaysNothingAVolumeSetsMusicAndChimesAlike) {
    ScopedEnv env(ScopedEnv::Values{{"SDL_AUDIODRIVER", "dummy"}});
    platform::Audio muted;
    muted.configure({true, std::nullopt});
    testing::internal::CaptureStderr();
    EXPECT_FALSE(muted.open());
    muted.startMusic(kMusic);
    muted.loadChime(kChime);
    muted.playChime();
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
    EXPECT_EQ(SDL_WasInit(SDL_INIT_AUDIO), 0u);
    EXPECT_FALSE(muted.musicPlaying());
    EXPECT_EQ(muted.chimesRequested(), 1);

    // Unset first: the mixer keeps the music volume from one opening to the next, and the
    // last case puts the full volume back for the tests after this one.
    for (auto [percent, mixer] :
         {std::pair{std::optional<int>(), 128}, {50, 64}, {0, 0}, {100, 128}}) {
        platform::Audio audio;
        audio.configure({false, percent});
        ASSERT_TRUE(audio.open());
        audio.startMusic(kMusic);
        EXPECT_EQ(Mix_VolumeMusic(-1), mixer);
        EXPECT_EQ(Mix_Volume(-1, -1), mixer);  // the mean over every chime channel
        // The sound keys' switch and volume act on the running mixer at once.
        audio.setSoundOff(true);
        EXPECT_EQ(Mix_VolumeMusic(-1) + Mix_Volume(-1, -1), 0);
        audio.setSoundOff(false);
        EXPECT_EQ(Mix_VolumeMusic(-1), mixer);
        audio.setVolume(30);
        EXPECT_EQ(Mix_Volume(-1, -1), 38);
        audio.setVolume(percent.value_or(100));
        audio.close();
    }
}

TEST(Audio, MusicStartsAtOnceLoopsWithoutAGapAndChimesMixOnTop) {
    TempDir dir;
    const fs::path output = dir.path / "mix.raw";
    std::vector<int16_t> music, chime;
    decodeReference(music, chime);
    ASSERT_EQ(music.size(), size_t(assetgen::kMusicFrames) * 2);
    const long loop = assetgen::kMusicFrames, chimeFrames = long(chime.size() / 2);

    long counted = 0, musicAt = 0, firstChime = 0, secondChime = 0;
    {
        ScopedEnv env(ScopedEnv::Values{{"SDL_AUDIODRIVER", "disk"},
                                        {"SDL_DISKAUDIOFILE", output.string()},
                                        {"SDL_DISKAUDIODELAY", "0"}});
        platform::Audio audio;
        ASSERT_TRUE(audio.open());
        int rate = 0, channels = 0;
        Uint16 format = 0;
        Mix_QuerySpec(&rate, &format, &channels);
        ASSERT_EQ(rate, kRate);
        ASSERT_EQ(format, AUDIO_S16LSB);
        ASSERT_EQ(channels, 2);
        mixedFrames = 0;
        Mix_SetPostMix(countFrames, nullptr);
        musicAt = atNextBuffer([&] { audio.startMusic(kMusic); });
        audio.loadChime(kChime);
        ASSERT_TRUE(audio.musicPlaying());
        ASSERT_TRUE(waitForFrames(musicAt + 2 * kRate));
        firstChime = atNextBuffer([&] { audio.playChime(); });
        ASSERT_TRUE(waitForFrames(firstChime + kRate / 4));
        secondChime = atNextBuffer([&] { audio.playChime(); });  // rings over the first
        ASSERT_TRUE(waitForFrames(musicAt + loop + 2 * kRate));
        EXPECT_TRUE(audio.musicPlaying());
        audio.close();  // every buffer mixed until here is counted and written
        counted = mixedFrames;
        Mix_SetPostMix(nullptr, nullptr);
    }
    std::vector<int16_t> out = readSamples(output);
    // Frames written before the counter was hooked in shift everything by the same amount.
    const long shift = long(out.size() / 2) - counted;
    ASSERT_GE(shift, 0);
    auto sample = [&](long frame, int ch) { return long(out[size_t(2 * (frame + shift) + ch)]); };
    auto musicSample = [&](long frame, int ch) {
        return long(music[size_t(2 * (((frame - musicAt) % loop + loop) % loop) + ch)]);
    };

    // The music is the first thing in the buffer after the call, heard from its first second...
    long wrong = 0;
    double energy = 0;
    for (long k = 0; k < kRate; ++k)
        for (int ch = 0; ch < 2; ++ch) {
            wrong += sample(musicAt + k, ch) != musicSample(musicAt + k, ch);
            energy += double(sample(musicAt + k, ch)) * double(sample(musicAt + k, ch));
        }
    EXPECT_EQ(wrong, 0);
    EXPECT_GT(std::sqrt(energy / (2 * kRate)), 32768 * 0.01);
    // ...and comes round again at its end without a gap or a jump.
    wrong = 0;
    for (long k = -kRate; k < kRate; ++k)
        for (int ch = 0; ch < 2; ++ch)
            wrong += sample(musicAt + loop + k, ch) != musicSample(musicAt + loop + k, ch);
    EXPECT_EQ(wrong, 0);

    // Nothing else sounds before the first chime; from then on the output is music plus both
    // chimes, sample for sample, except where the sum had to be clipped.
    wrong = 0;
    for (long k = musicAt; k < firstChime; ++k)
        for (int ch = 0; ch < 2; ++ch) wrong += sample(k, ch) != musicSample(k, ch);
    EXPECT_EQ(wrong, 0);
    wrong = 0;
    long compared = 0;
    for (long k = firstChime; k < secondChime + chimeFrames + kRate / 10; ++k)
        for (int ch = 0; ch < 2; ++ch) {
            long expected = musicSample(k, ch);
            for (long start : {firstChime, secondChime})
                if (k >= start && k < start + chimeFrames)
                    expected += chime[size_t(2 * (k - start) + ch)];
            if (std::abs(expected) >= 32767) continue;
            ++compared;
            wrong += std::abs(sample(k, ch) - expected) > 1;
        }
    EXPECT_GT(compared, chimeFrames);
    EXPECT_EQ(wrong, 0);
}
