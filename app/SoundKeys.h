#pragma once

#include <string>

namespace platform {
class Input;
}

// M turns the sound off and on; minus and plus (main row or keypad) lower and raise the volume
// in steps of 10, and turn the sound on.
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
