#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The game's two sounds, synthesised here and encoded to MP3.
namespace assetgen {

constexpr int kSampleRate = 44100;
// 32 bars of 4 beats at 80 beats per minute: 96 s, a whole number of bars, so it loops.
constexpr int kMusicBeatsPerMinute = 80;
constexpr int kMusicBars = 32;
constexpr int kMusicFrames = kMusicBars * 4 * 60 * kSampleRate / kMusicBeatsPerMinute;
constexpr int kChimeFrames = kSampleRate * 6 / 5;  // 1.2 s

// Interleaved stereo in [-1, 1]. The music is one cycle of a seamless loop: every note tail
// and echo that runs past the end is folded back onto the start.
std::vector<float> synthMusic();
std::vector<float> synthChime();

// MP3 (44.1 kHz stereo, constant bit rate) with the encoder's gapless tag, so decoders return
// exactly `frames` samples per channel.
std::vector<uint8_t> encodeMp3(const std::vector<float>& stereo, int kbps);

}  // namespace assetgen
