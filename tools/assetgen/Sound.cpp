#include "tools/assetgen/Sound.h"

#include <lame/lame.h>

#include <algorithm>
#include <cmath>
#include <cstring>

#include "tools/assetgen/Noise.h"

namespace assetgen {

namespace {

constexpr double kRate = kSampleRate;

// One cycle of a waveform, read with linear interpolation at a phase in [0, 1).
class Wavetable {
  public:
    explicit Wavetable(const std::vector<float>& harmonics) : table(kSize + 1) {
        float peak = 0;
        for (int i = 0; i < kSize; ++i) {
            double x = 0;
            for (size_t h = 0; h < harmonics.size(); ++h)
                x += harmonics[h] * std::sin(glm::two_pi<double>() * double(h + 1) * i / kSize);
            table[size_t(i)] = static_cast<float>(x);
            peak = std::max(peak, std::fabs(table[size_t(i)]));
        }
        for (float& v : table) v /= peak;
        table[kSize] = table[0];
    }
    float at(double phase) const {
        long whole = static_cast<long>(phase);
        if (phase < static_cast<double>(whole)) --whole;
        double p = (phase - static_cast<double>(whole)) * kSize;
        int i = static_cast<int>(p);
        float f = static_cast<float>(p - i);
        return table[size_t(i)] + (table[size_t(i) + 1] - table[size_t(i)]) * f;
    }

  private:
    static constexpr int kSize = 4096;
    std::vector<float> table;
};

const Wavetable& sine() {
    static const Wavetable t({1.0f});
    return t;
}
// A mellow saw: harmonics fall faster than 1/n, so the pads stay warm without filtering hard.
const Wavetable& warmSaw() {
    static const Wavetable t = [] {
        std::vector<float> h;
        for (int n = 1; n <= 24; ++n) h.push_back(1.0f / (float(n) * (1.0f + 0.08f * float(n))));
        return Wavetable(h);
    }();
    return t;
}
const Wavetable& roundBass() {
    static const Wavetable t({1.0f, 0.28f, 0.08f});
    return t;
}

double midiHz(int note) {
    return 440.0 * std::pow(2.0, (note - 69) / 12.0);
}

struct Pan {
    float left, right;
};
Pan equalPower(float pan) {  // -1 left .. 1 right
    double a = (pan + 1.0) * glm::two_pi<double>() / 8.0;
    return {static_cast<float>(std::cos(a)), static_cast<float>(std::sin(a))};
}

// Stereo buffer that is one cycle of a loop: writes past the end land at the start.
struct LoopBuffer {
    explicit LoopBuffer(size_t frames) : left(frames), right(frames) {}
    size_t size() const { return left.size(); }
    std::vector<float> left, right;
};

// Writes one note's frames in order from a start frame, wrapping at the loop's end.
class Writer {
  public:
    Writer(LoopBuffer& buffer, size_t first) : b(buffer), at(first % buffer.size()) {}
    void add(float l, float r) {
        b.left[at] += l;
        b.right[at] += r;
    }
    void next() {
        if (++at == b.size()) at = 0;
    }

  private:
    LoopBuffer& b;
    size_t at;
};

// Raised-cosine ramps keep every note boundary free of clicks.
float rise(double t, double length) {
    if (t <= 0) return 0.0f;
    return t >= length
               ? 1.0f
               : static_cast<float>(0.5 - 0.5 * std::cos(glm::two_pi<double>() * 0.5 * t / length));
}

void padNote(LoopBuffer& out, LoopBuffer& send, double start, double hold, int note, Rng& rng) {
    const double attack = 2.0, release = 3.0;
    const size_t first = static_cast<size_t>(start * kRate);
    const size_t length = static_cast<size_t>((hold + release) * kRate);
    const double detune[3] = {-8.0, 0.0, 8.0};  // cents
    const float pans[3] = {-0.6f, 0.0f, 0.6f};
    double phase[3], step[3];
    Pan gain[3];
    for (int v = 0; v < 3; ++v) {
        phase[v] = rng.unit();
        step[v] = midiHz(note) * std::pow(2.0, detune[v] / 1200.0) / kRate;
        gain[v] = equalPower(pans[v]);
    }
    const float level = 0.05f;
    const Wavetable& saw = warmSaw();
    Writer dry(out, first), wet(send, first);
    float l1 = 0, l2 = 0, r1 = 0, r2 = 0, coef = 0;
    const double loopSeconds = static_cast<double>(out.size()) / kRate;
    for (size_t k = 0; k < length; ++k) {
        if (k % 32 == 0) {
            // Filter sweep on the loop's own clock: 4 slow cycles per loop, so it repeats.
            double t = std::fmod(static_cast<double>(first + k) / kRate, loopSeconds);
            double cutoff =
                450.0 +
                750.0 * (0.5 + 0.5 * std::sin(glm::two_pi<double>() * t / (loopSeconds / 4)));
            coef = static_cast<float>(1.0 - std::exp(-glm::two_pi<double>() * cutoff / kRate));
        }
        double t = static_cast<double>(k) / kRate;
        float env = rise(t, attack);
        if (t > hold) env *= 1.0f - rise(t - hold, release);
        float l = 0, r = 0;
        for (int v = 0; v < 3; ++v) {
            float x = saw.at(phase[v]);
            phase[v] += step[v];
            if (phase[v] >= 1.0) phase[v] -= 1.0;
            l += x * gain[v].left;
            r += x * gain[v].right;
        }
        l1 += coef * (l - l1);
        l2 += coef * (l1 - l2);
        r1 += coef * (r - r1);
        r2 += coef * (r1 - r2);
        float a = level * env;
        dry.add(a * l2, a * r2);
        wet.add(0.5f * a * l2, 0.5f * a * r2);
        dry.next();
        wet.next();
    }
}

void bassNote(LoopBuffer& out, LoopBuffer& send, double start, double hold, int note) {
    const size_t first = static_cast<size_t>(start * kRate);
    const double release = 0.5;
    const size_t length = static_cast<size_t>((hold + release) * kRate);
    const double step = midiHz(note) / kRate;
    const Wavetable& tone = roundBass();
    Writer dry(out, first), wet(send, first);
    double phase = 0, fade = 1.0;
    const double fadeStep = std::exp(-1.0 / (0.8 * kRate));
    for (size_t k = 0; k < length; ++k) {
        double t = static_cast<double>(k) / kRate;
        float env = rise(t, 0.06) * static_cast<float>(0.6 + 0.4 * fade);
        fade *= fadeStep;
        if (t > hold) env *= 1.0f - rise(t - hold, release);
        float x = 0.2f * env * tone.at(phase);
        phase += step;
        if (phase >= 1.0) phase -= 1.0;
        dry.add(x, x);
        wet.add(0.1f * x, 0.1f * x);
        dry.next();
        wet.next();
    }
}

// FM bell: a sine carrier whose brightness fades faster than its loudness.
void bellNote(LoopBuffer& out, LoopBuffer& send, double start, double freq, float level, float pan,
              double ratio, double index, double decay, double length) {
    const size_t first = static_cast<size_t>(start * kRate);
    const size_t frames = static_cast<size_t>(length * kRate);
    const Pan g = equalPower(pan);
    const Wavetable& osc = sine();
    Writer dry(out, first), wet(send, first);
    double carrier = 0, modulator = 0, loud = 1.0, bright = index / glm::two_pi<double>();
    const double cStep = freq / kRate, mStep = freq * ratio / kRate;
    const double loudStep = std::exp(-1.0 / (decay * kRate));
    const double brightStep = std::exp(-1.0 / (0.3 * decay * kRate));
    for (size_t k = 0; k < frames; ++k) {
        double t = static_cast<double>(k) / kRate;
        float env = rise(t, 0.004) * static_cast<float>(loud);
        env *= 1.0f - rise(std::max(0.0, t - (length - 0.25)), 0.25);
        float x = level * env * osc.at(carrier + 2.0 + bright * osc.at(modulator));
        loud *= loudStep;
        bright *= brightStep;
        carrier += cStep;
        if (carrier >= 1.0) carrier -= 1.0;
        modulator += mStep;
        if (modulator >= 1.0) modulator -= 1.0;
        dry.add(x * g.left, x * g.right);
        wet.add(0.6f * x * g.left, 0.6f * x * g.right);
        dry.next();
        wet.next();
    }
}

// Runs an effect over the loop with the loop's own end played into it first, so the start
// carries the echoes of the end exactly as when the loop repeats. The lead-in only needs to be
// longer than the effect's audible tail.
template <typename Effect>
LoopBuffer circular(const LoopBuffer& in, Effect effect, double leadSeconds) {
    LoopBuffer out(in.size());
    const size_t lead = std::min(in.size(), static_cast<size_t>(leadSeconds * kRate));
    float l, r;
    for (size_t i = in.size() - lead; i < in.size(); ++i) effect(in.left[i], in.right[i], l, r);
    for (size_t i = 0; i < in.size(); ++i)
        effect(in.left[i], in.right[i], out.left[i], out.right[i]);
    return out;
}

class Reverb {
  public:
    Reverb() {
        const int combs[8] = {1116, 1188, 1277, 1356, 1422, 1491, 1557, 1617};
        const int allpasses[4] = {556, 441, 341, 225};
        for (int side = 0; side < 2; ++side) {
            for (int c : combs) comb[side].push_back(Line(size_t(c + side * 23)));
            for (int a : allpasses) allpass[side].push_back(Line(size_t(a + side * 23)));
        }
    }
    void operator()(float l, float r, float& outL, float& outR) {
        float in = 0.015f * (l + r);
        outL = channel(0, in);
        outR = channel(1, in);
    }

  private:
    struct Line {
        explicit Line(size_t n) : buffer(n) {}
        std::vector<float> buffer;
        size_t at = 0;
        float store = 0;
    };
    float channel(int side, float in) {
        float sum = 0;
        for (Line& c : comb[side]) {
            float y = c.buffer[c.at];
            c.store = y * 0.7f + c.store * 0.3f;
            c.buffer[c.at] = in + c.store * 0.86f;
            if (++c.at == c.buffer.size()) c.at = 0;
            sum += y;
        }
        for (Line& a : allpass[side]) {
            float y = a.buffer[a.at];
            a.buffer[a.at] = sum + y * 0.5f;
            if (++a.at == a.buffer.size()) a.at = 0;
            sum = y - sum;
        }
        return sum;
    }
    std::vector<Line> comb[2], allpass[2];
};

class PingPong {
  public:
    explicit PingPong(size_t delay) : left(delay), right(delay) {}
    void operator()(float l, float r, float& outL, float& outR) {
        float dl = left[at], dr = right[at];
        toneL += 0.35f * (dl - toneL);
        toneR += 0.35f * (dr - toneR);
        left[at] = l + 0.38f * toneR;  // each echo crosses to the other side
        right[at] = r + 0.38f * toneL;
        if (++at == left.size()) at = 0;
        outL = toneL;
        outR = toneR;
    }

  private:
    std::vector<float> left, right;
    size_t at = 0;
    float toneL = 0, toneR = 0;
};

std::vector<float> interleave(const LoopBuffer& b, float peakTarget) {
    float peak = 1e-9f;
    for (size_t i = 0; i < b.size(); ++i)
        peak = std::max({peak, std::fabs(b.left[i]), std::fabs(b.right[i])});
    const float gain = peakTarget / peak;
    std::vector<float> out(b.size() * 2);
    for (size_t i = 0; i < b.size(); ++i) {
        out[2 * i] = b.left[i] * gain;
        out[2 * i + 1] = b.right[i] * gain;
    }
    return out;
}

}  // namespace

std::vector<float> synthMusic() {
    const double beat = 60.0 / kMusicBeatsPerMinute, bar = 4 * beat;
    LoopBuffer dry(kMusicFrames), bells(kMusicFrames), send(kMusicFrames);
    struct Chord {
        int bass;
        std::vector<int> pad;
    };
    // Two bars each: D maj9, B m7, G maj7, A sus2, F# m7, G lydian, E m9, A 7sus4, and again.
    const Chord chords[8] = {
        {38, {50, 57, 61, 64}}, {47, {47, 54, 57, 62}}, {43, {55, 59, 62, 66}},
        {45, {57, 59, 64, 69}}, {42, {54, 57, 61, 64}}, {43, {55, 59, 61, 66}},
        {40, {52, 55, 62, 66}}, {45, {57, 62, 64, 67}},
    };
    Rng rng(7);
    for (int c = 0; c < kMusicBars / 2; ++c) {
        const Chord& chord = chords[c % 8];
        const double start = c * 2 * bar;
        for (int note : chord.pad) padNote(dry, send, start, 2 * bar, note, rng);
        bassNote(dry, send, start, 1.6 * bar, chord.bass);
        bassNote(dry, send, start + bar, 0.9 * bar, chord.bass + ((c % 2) ? 7 : 0));

        // The arpeggio runs over the chord an octave up; sections differ in density so the
        // piece breathes: quarters, then eighths, eighths turning round, quarters again.
        std::vector<int> tones;
        for (int n : chord.pad) tones.push_back(n + 12);
        tones.push_back(chord.pad[1] + 24);
        std::sort(tones.begin(), tones.end());
        const int pattern[8] = {0, 1, 2, 3, 4, 3, 2, 1};
        const int section = (c * 2) / 8;
        for (int step = 0; step < 16; ++step) {
            bool onBeat = step % 2 == 0;
            if ((section == 0 || section == 3) && !onBeat) continue;
            int idx = pattern[(section == 2 ? 15 - step : step) % 8];
            float level = (onBeat ? 0.075f : 0.052f) * (section == 3 ? 0.8f : 1.0f);
            float pan = (step % 4 < 2) ? -0.35f : 0.35f;
            bellNote(bells, send, start + step * beat / 2, midiHz(tones[size_t(idx)]), level, pan,
                     2.0, 1.3, 0.45, 2.0);
        }
    }
    // Sparkles: high, quiet, glassy, at unhurried random moments.
    const int pentatonic[5] = {86, 88, 90, 93, 95};
    const double loopSeconds = static_cast<double>(kMusicFrames) / kRate;
    for (double t = rng.range(0.5f, 2.0f); t < loopSeconds; t += rng.range(1.5f, 4.0f)) {
        int note = pentatonic[rng.next() % 5] + ((rng.next() % 3 == 0) ? 12 : 0);
        bellNote(bells, send, t, midiHz(note), 0.028f, rng.range(-0.8f, 0.8f), 3.5, 0.8, 0.9, 3.0);
    }

    LoopBuffer echoes = circular(bells, PingPong(static_cast<size_t>(0.75 * beat * kRate)), 12.0);
    LoopBuffer wet = circular(send, Reverb(), 8.0);
    LoopBuffer mix(kMusicFrames);
    for (size_t i = 0; i < mix.size(); ++i) {
        mix.left[i] = dry.left[i] + bells.left[i] + 0.5f * echoes.left[i] + 0.9f * wet.left[i];
        mix.right[i] = dry.right[i] + bells.right[i] + 0.5f * echoes.right[i] + 0.9f * wet.right[i];
    }
    return interleave(mix, 0.7f);  // about -3 dBFS: headroom for the encoder's overshoot
}

std::vector<float> synthChime() {
    LoopBuffer out(kChimeFrames + 1);  // one spare frame: nothing here is meant to wrap
    struct Strike {
        double start, freq;
        float level, pan;
    };
    const Strike strikes[2] = {{0.0, 1318.51, 1.0f, -0.15f}, {0.11, 1975.53, 0.8f, 0.2f}};
    struct Partial {
        double ratio;
        float level;
        double decay;
    };
    // Tubular-bell-like partials: the higher ones ring briefly and give the strike its shine.
    const Partial partials[5] = {{1.0, 1.0f, 0.38},
                                 {2.0, 0.35f, 0.22},
                                 {2.76, 0.25f, 0.14},
                                 {5.4, 0.1f, 0.07},
                                 {8.93, 0.05f, 0.04}};
    const double total = static_cast<double>(kChimeFrames) / kRate;
    for (const Strike& s : strikes) {
        Pan g = equalPower(s.pan);
        size_t first = static_cast<size_t>(s.start * kRate);
        Writer w(out, first);
        for (size_t k = 0; first + k < size_t(kChimeFrames); ++k, w.next()) {
            double t = static_cast<double>(k) / kRate;
            double x = 0;
            for (const Partial& p : partials) {
                double f = s.freq * p.ratio;
                x += p.level * std::exp(-t / p.decay) * std::sin(glm::two_pi<double>() * f * t);
                if (p.ratio == 1.0)  // a slightly detuned twin makes the fundamental shimmer
                    x += 0.3 * p.level * std::exp(-t / p.decay) *
                         std::sin(glm::two_pi<double>() * (f + 2.3) * t);
            }
            double since = static_cast<double>(first + k) / kRate;
            float env = rise(t, 0.002) * (1.0f - rise(std::max(0.0, since - (total - 0.3)), 0.3));
            float y = s.level * env * static_cast<float>(x);
            w.add(y * g.left, y * g.right);
        }
    }
    std::vector<float> stereo = interleave(out, 0.7f);
    stereo.resize(size_t(kChimeFrames) * 2);
    return stereo;
}

std::vector<uint8_t> encodeMp3(const std::vector<float>& stereo, int kbps) {
    const int frames = static_cast<int>(stereo.size() / 2);
    std::vector<short> pcm(stereo.size());
    for (size_t i = 0; i < stereo.size(); ++i)
        pcm[i] =
            static_cast<short>(std::lrint(std::max(-1.0f, std::min(1.0f, stereo[i])) * 32767.0f));

    lame_t lame = lame_init();
    lame_set_in_samplerate(lame, kSampleRate);
    lame_set_out_samplerate(lame, kSampleRate);
    lame_set_num_channels(lame, 2);
    lame_set_mode(lame, JOINT_STEREO);
    lame_set_VBR(lame, vbr_off);
    lame_set_brate(lame, kbps);
    lame_set_quality(lame, 5);
    lame_set_bWriteVbrTag(lame, 1);
    lame_set_write_id3tag_automatic(lame, 0);
    std::vector<uint8_t> out;
    if (lame_init_params(lame) < 0) {
        lame_close(lame);
        return out;
    }
    const int chunk = 8192;
    std::vector<unsigned char> buffer(size_t(chunk) * 5 / 4 + 7200);
    for (int at = 0; at < frames; at += chunk) {
        int n = std::min(chunk, frames - at);
        int written = lame_encode_buffer_interleaved(lame, &pcm[size_t(at) * 2], n, buffer.data(),
                                                     static_cast<int>(buffer.size()));
        if (written < 0) {
            lame_close(lame);
            return {};
        }
        out.insert(out.end(), buffer.begin(), buffer.begin() + written);
    }
    int written = lame_encode_flush(lame, buffer.data(), static_cast<int>(buffer.size()));
    if (written > 0) out.insert(out.end(), buffer.begin(), buffer.begin() + written);
    // The tag frame (encoder delay and padding) goes over the placeholder first frame; with it
    // decoders trim to the exact length, which keeps the music's loop free of a gap.
    unsigned char tag[4096];
    size_t tagSize = lame_get_lametag_frame(lame, tag, sizeof tag);
    if (tagSize > 0 && tagSize <= out.size()) std::memcpy(out.data(), tag, tagSize);
    lame_close(lame);
    return out;
}

}  // namespace assetgen
