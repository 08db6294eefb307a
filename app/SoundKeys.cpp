#include "app/SoundKeys.h"

#include <algorithm>

#include "app/Controls.h"
#include "platform/Audio.h"

namespace {
constexpr int kVolumeStep = 10;
}

SoundKey soundKeyPressed(const platform::Input& input) {
    if (actionPressed(input, Action::SoundOnOff)) return SoundKey::Mute;
    if (actionPressed(input, Action::VolumeDown)) return SoundKey::Lower;
    if (actionPressed(input, Action::VolumeUp)) return SoundKey::Raise;
    return SoundKey::None;
}

SoundLevel afterSoundKey(SoundLevel level, SoundKey key) {
    switch (key) {
        case SoundKey::Mute:
            level.off = !level.off;
            break;
        case SoundKey::Lower:
            level.volume = std::max(0, (level.volume - 1) / kVolumeStep * kVolumeStep);
            level.off = false;
            break;
        case SoundKey::Raise:
            level.volume =
                std::min(platform::kFullVolume, (level.volume / kVolumeStep + 1) * kVolumeStep);
            level.off = false;
            break;
        case SoundKey::None:
            break;
    }
    return level;
}

std::string soundLine(SoundLevel level, bool hasDevice) {
    if (!hasDevice) return "no sound device";
    return level.off ? "sound off" : "volume " + std::to_string(level.volume);
}
