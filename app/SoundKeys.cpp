#include "app/SoundKeys.h"

#include <algorithm>

#include "platform/Audio.h"
#include "platform/Input.h"

namespace {
constexpr int kVolumeStep = 10;
}

SoundKey soundKeyPressed(const platform::Input& input) {
    using platform::Key;
    if (input.keyPressed(Key::M)) return SoundKey::Mute;
    if (input.keyPressed(Key::Minus) || input.keyPressed(Key::PadMinus)) return SoundKey::Lower;
    if (input.keyPressed(Key::Plus) || input.keyPressed(Key::PadPlus)) return SoundKey::Raise;
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
