// The two sounds of the alertness task, synthesised and encoded as MP3 with LAME:
// "welldone.mp3", a short bright chime, and "error.mp3", a short soft low tone.

#include "assets/sets.h"

#include <lame/lame.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <stdexcept>
#include <vector>

namespace kalvero::art {

namespace {

constexpr int SampleRate = 44100;
constexpr double Pi = 3.14159265358979323846;

// A bell-like note: a few partials, each decaying on its own, with a 4 ms attack.
void AddBell(std::vector<double>& out, double startSec, double frequency, double gain,
             double decaySec) {
    static const double partials[][3] = {
        // ratio, relative level, relative decay
        {1.0, 1.0, 1.0},
        {2.0, 0.35, 0.6},
        {3.01, 0.12, 0.4},
        {4.2, 0.05, 0.3},
    };
    const size_t start = static_cast<size_t>(startSec * SampleRate);
    for (size_t i = start; i < out.size(); ++i) {
        const double t = double(i - start) / SampleRate;
        const double attack = std::min(1.0, t / 0.004);
        double v = 0;
        for (const auto& p : partials)
            v += p[1] * std::exp(-t / (decaySec * p[2])) * std::sin(2 * Pi * frequency * p[0] * t);
        out[i] += gain * attack * v;
    }
}

std::vector<double> Chime() {
    std::vector<double> s(static_cast<size_t>(0.85 * SampleRate), 0.0);
    AddBell(s, 0.00, 1046.5, 0.30, 0.30); // C6
    AddBell(s, 0.09, 1318.5, 0.28, 0.30); // E6
    AddBell(s, 0.18, 1568.0, 0.30, 0.36); // G6
    return s;
}

std::vector<double> LowTone() {
    std::vector<double> s(static_cast<size_t>(0.45 * SampleRate), 0.0);
    double phase = 0;
    for (size_t i = 0; i < s.size(); ++i) {
        const double t = double(i) / SampleRate;
        const double frequency = 196.0 - 30.0 * (t / 0.45); // G3, sinking a little
        phase += 2 * Pi * frequency / SampleRate;
        const double attack = std::min(1.0, t / 0.025);
        const double envelope = attack * std::exp(-t / 0.18);
        s[i] = 0.45 * envelope *
               (std::sin(phase) + 0.25 * std::sin(2 * phase) + 0.08 * std::sin(3 * phase));
    }
    return s;
}

// Fades the last 30 ms to silence and converts to 16-bit samples.
std::vector<short> ToPcm(const std::vector<double>& samples) {
    std::vector<short> pcm(samples.size());
    const size_t fade = static_cast<size_t>(0.03 * SampleRate);
    for (size_t i = 0; i < samples.size(); ++i) {
        double v = samples[i];
        if (i + fade > samples.size())
            v *= double(samples.size() - i) / fade;
        pcm[i] = static_cast<short>(std::lrint(std::clamp(v, -1.0, 1.0) * 32000.0));
    }
    return pcm;
}

void WriteMp3(const std::vector<double>& samples, const std::string& path) {
    std::vector<short> pcm = ToPcm(samples);
    lame_global_flags* lame = lame_init();
    if (!lame)
        throw std::runtime_error("LAME could not start");
    lame_set_num_channels(lame, 1);
    lame_set_in_samplerate(lame, SampleRate);
    lame_set_out_samplerate(lame, SampleRate);
    lame_set_mode(lame, MONO);
    lame_set_brate(lame, 128);
    lame_set_quality(lame, 2);
    lame_set_bWriteVbrTag(lame, 0);
    if (lame_init_params(lame) < 0) {
        lame_close(lame);
        throw std::runtime_error("LAME rejected its settings");
    }
    std::vector<unsigned char> mp3(pcm.size() * 5 / 4 + 7200 * 2);
    int size = lame_encode_buffer(lame, pcm.data(), nullptr, static_cast<int>(pcm.size()),
                                  mp3.data(), static_cast<int>(mp3.size()));
    if (size >= 0) {
        const int tail =
            lame_encode_flush(lame, mp3.data() + size, static_cast<int>(mp3.size()) - size);
        size = tail >= 0 ? size + tail : -1;
    }
    lame_close(lame);
    if (size < 0)
        throw std::runtime_error("cannot encode " + path);
    FILE* file = std::fopen(path.c_str(), "wb");
    const bool ok = file && std::fwrite(mp3.data(), 1, size, file) == size_t(size);
    if (file && std::fclose(file) != 0)
        throw std::runtime_error("cannot write " + path);
    if (!ok)
        throw std::runtime_error("cannot write " + path);
}

} // namespace

void WriteSounds(const std::string& folder) {
    WriteMp3(Chime(), folder + "welldone.mp3");
    WriteMp3(LowTone(), folder + "error.mp3");
}

} // namespace kalvero::art
