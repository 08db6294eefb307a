#pragma once

#include <optional>
#include <string>

namespace platform {

// How loud the game is: unset, the mixer is left at its full default volume.
struct AudioSettings {
    // No audio device is opened at all, and nothing is said about it.
    bool mute = false;
    // Percent, 0 to 100, for music and chimes alike.
    std::optional<int> volume;
    // The device is open but nothing is heard until the sound is turned on again.
    bool soundOff = false;
};

// The full volume, in percent.
constexpr int kFullVolume = 100;

// The mixer's volume (0 to 128) for a volume in percent.
int mixerVolume(int percent);

// The game's sound: one looping music stream and a chime that may overlap itself.
// Every failure (no device, missing or broken file) leaves the game silent and is reported
// once on standard error; nothing here ever stops the game.
class Audio {
  public:
    Audio() = default;
    ~Audio();
    Audio(const Audio&) = delete;
    Audio& operator=(const Audio&) = delete;

    // Before open().
    void configure(const AudioSettings& chosen) { settings = chosen; }
    // Opens the audio device (falling back to a silent mixer). Returns false when silent, and
    // when muted: then nothing at all is opened.
    bool open();
    // Streams the file and loops it for the whole run.
    void startMusic(const std::string& path);
    // Decodes the chime once; playChime() then plays it on a free channel.
    void loadChime(const std::string& path);
    void playChime();
    // Holds the music and any chime still ringing where they are, and lets them go on.
    void pause();
    void resume();
    bool paused() const { return held; }
    // Once per frame.
    void update();
    void close();
    // A thread of ours that made any of the calls above must call this before it ends: SDL keeps
    // per-thread data (its error text) that it frees by itself only for threads it started.
    static void releaseThreadData();

    // The player's volume in percent and sound switch; they take effect at once.
    void setVolume(int percent);
    int volume() const { return settings.volume.value_or(kFullVolume); }
    void setSoundOff(bool off);
    bool soundOff() const { return settings.soundOff; }
    // A real device plays the sound: not muted, and not the silent stand-in.
    bool hasDevice() const { return opened && !silentDevice; }

    bool isOpen() const { return opened; }
    bool musicPlaying() const;
    // Number of playChime() calls, played or not (tests count collections by it).
    int chimesRequested() const { return chimeCount; }

  private:
    AudioSettings settings;
    bool opened = false;        // a mixer runs (on the device, or silent)
    bool silentDevice = false;  // that mixer is the silent stand-in
    bool ownsAudioSubsystem = false;
    bool reportedSilence = false;
    void* music = nullptr;  // Mix_Music*
    void* chime = nullptr;  // Mix_Chunk*
    int chimeCount = 0;
    bool held = false;
    bool openMixer();
    void applyVolume();
    void reportSilent(const std::string& why);
    void reportSound(const std::string& path, const std::string& why);
};

}  // namespace platform
