#pragma once

#include <string>

namespace platform {
class Input;
}

// The sound keys of the controls table (app/Controls.h): sound off and on; volume down and up in
// steps of 10, which turn the sound on as well.
enum class SoundKey { None, Mute, Lower, Raise };
SoundKey soundKeyPressed(const platform::Input& input);

// How loud the game plays: volume in percent, and whether the sound is off.
struct SoundLevel {
    int volume = 100;
    bool off = false;
};
// Steps go to the next multiple of 10 in their direction, within 0 to 100.
SoundLevel afterSoundKey(SoundLevel level, SoundKey key);
// What the overlay shows for two seconds after a sound key: "volume 70", "sound off", or
// "no sound device" when no device plays the sound.
std::string soundLine(SoundLevel level, bool hasDevice);
