#include "platform/Audio.h"

#include <SDL.h>
#include <SDL_mixer.h>
#include <dlfcn.h>

#include <iostream>

namespace platform {

namespace {

constexpr int kRate = 44100;
constexpr int kBufferFrames = 1024;  // about 23 ms: chimes sound right when the orb is taken
constexpr int kChannels = 16;        // chimes of several quick collections overlap

void ignoreAlsa(const char*, int, const char*, int, const char*, ...) {}

// Without a sound card ALSA prints a screenful of its own errors on standard error before SDL
// gives up on it; the game's one line says all the player needs. SDL loads ALSA at run time,
// so do the same here to reach its error printer; the library stays loaded for the process.
void quietenAlsa() {
    static bool done = false;
    if (done) return;
    done = true;
    void* alsa = dlopen("libasound.so.2", RTLD_NOW | RTLD_LOCAL);
    if (!alsa) return;
    using Handler = void (*)(const char*, int, const char*, int, const char*, ...);
    using SetHandler = int (*)(Handler);
    if (auto set = reinterpret_cast<SetHandler>(dlsym(alsa, "snd_lib_error_set_handler")))
        set(ignoreAlsa);
}

Mix_Music* asMusic(void* p) {
    return static_cast<Mix_Music*>(p);
}
Mix_Chunk* asChunk(void* p) {
    return static_cast<Mix_Chunk*>(p);
}

// The file's contents choose the decoder where they can, so a WAV or Ogg file that carries the
// music's name still plays; only contents SDL_mixer does not recognise (an MP3 that starts with
// neither a tag nor a frame, or no sound at all) fall back to the choice by the file's ending.
Mix_Music* loadMusic(const std::string& path) {
    if (SDL_RWops* file = SDL_RWFromFile(path.c_str(), "rb")) {
        if (Mix_Music* m = Mix_LoadMUS_RW(file, 1)) return m;  // closes the file when it fails
    }
    return Mix_LoadMUS(path.c_str());
}

}  // namespace

int mixerVolume(int percent) {
    return (percent * MIX_MAX_VOLUME + 50) / 100;
}

Audio::~Audio() {
    close();
}

bool Audio::openMixer() {
    // SDL would otherwise turn SIGINT and SIGTERM into quit events that nobody reads; the game
    // handles them itself (platform/Signals).
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return false;
    if (Mix_OpenAudio(kRate, MIX_DEFAULT_FORMAT, 2, kBufferFrames) != 0) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    ownsAudioSubsystem = true;
    opened = true;
    Mix_Init(MIX_INIT_MP3);  // a missing decoder shows up as a failed load, reported there
    Mix_AllocateChannels(kChannels);
    // Unset, the mixer keeps its own full volume.
    if (settings.volume || settings.soundOff) applyVolume();
    return true;
}

void Audio::applyVolume() {
    const int level = settings.soundOff ? 0 : mixerVolume(volume());
    Mix_VolumeMusic(level);
    Mix_Volume(-1, level);  // every chime channel
}

void Audio::setVolume(int percent) {
    settings.volume = percent;
    if (opened) applyVolume();
}

void Audio::setSoundOff(bool off) {
    settings.soundOff = off;
    if (opened) applyVolume();
}

bool Audio::open() {
    if (opened) return !silentDevice;
    if (settings.mute) return false;
    quietenAlsa();
    if (openMixer()) return true;
    reportSilent(std::string("no audio device (") + SDL_GetError() + ")");
    // A silent mixer keeps music and chimes going through the same calls, so the rest of the
    // game cannot tell; the override beats whatever driver the environment asked for.
    SDL_SetHintWithPriority(SDL_HINT_AUDIODRIVER, "dummy", SDL_HINT_OVERRIDE);
    silentDevice = openMixer();
    SDL_ResetHint(SDL_HINT_AUDIODRIVER);
    return false;
}

void Audio::startMusic(const std::string& path) {
    if (!opened) return;  // already reported as silent
    if (music) {
        Mix_HaltMusic();
        Mix_FreeMusic(asMusic(music));
        music = nullptr;
    }
    Mix_Music* m = loadMusic(path);
    if (!m) {
        reportSound(path, Mix_GetError());
        return;
    }
    if (Mix_PlayMusic(m, -1) != 0) {  // -1: loop for as long as the game runs
        reportSound(path, Mix_GetError());
        Mix_FreeMusic(m);
        return;
    }
    music = m;
}

void Audio::loadChime(const std::string& path) {
    if (!opened) return;
    if (chime) {
        Mix_FreeChunk(asChunk(chime));
        chime = nullptr;
    }
    Mix_Chunk* c = Mix_LoadWAV(path.c_str());
    if (!c) {
        reportSound(path, Mix_GetError());
        return;
    }
    chime = c;
}

void Audio::playChime() {
    ++chimeCount;
    // With every channel busy the newest chime is dropped; the others are still ringing.
    if (opened && chime) Mix_PlayChannel(-1, asChunk(chime), 0);
}

void Audio::pause() {
    held = true;
    if (!opened) return;
    Mix_PauseMusic();
    Mix_Pause(-1);
}

void Audio::resume() {
    held = false;
    if (!opened) return;
    Mix_ResumeMusic();
    Mix_Resume(-1);
}

// SDL mixes on its own audio thread; nothing needs to be pumped per frame.
void Audio::update() {}

void Audio::close() {
    if (!opened) return;
    Mix_HaltChannel(-1);
    Mix_HaltMusic();
    if (music) Mix_FreeMusic(asMusic(music));
    if (chime) Mix_FreeChunk(asChunk(chime));
    music = chime = nullptr;
    Mix_CloseAudio();
    Mix_Quit();
    if (ownsAudioSubsystem) SDL_QuitSubSystem(SDL_INIT_AUDIO);
    ownsAudioSubsystem = false;
    opened = false;
    silentDevice = false;
    held = false;
}

void Audio::releaseThreadData() {
    SDL_TLSCleanup();
}

bool Audio::musicPlaying() const {
    return opened && music && Mix_PlayingMusic();
}

void Audio::reportSilent(const std::string& why) {
    if (reportedSilence) return;
    reportedSilence = true;
    std::cerr << "fyrel: " << why << "; the game runs without sound" << std::endl;
}

void Audio::reportSound(const std::string& path, const std::string& why) {
    std::cerr << "fyrel: cannot play \"" << path << "\" (" << why << "); it stays silent"
              << std::endl;
}

}  // namespace platform
