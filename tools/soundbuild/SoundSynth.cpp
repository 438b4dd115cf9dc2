#include "SoundSynth.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {
constexpr double FullScale = 32767.0;

// A small fixed-seed generator: std::rand and the distributions differ
// between standard libraries.
class NoiseSource {
public:
    double Next() {
        State ^= State << 13;
        State ^= State >> 7;
        State ^= State << 17;
        return static_cast<double>(State >> 11) / static_cast<double>(1ull << 53) * 2.0 - 1.0;
    }

private:
    uint64_t State = 0x9E3779B97F4A7C15ull;
};

double WaveAt(Wave shape, double phase) {
    double cycle = phase - std::floor(phase);
    switch (shape) {
    case Wave::Triangle:
        return cycle < 0.5 ? 4 * cycle - 1 : 3 - 4 * cycle;
    case Wave::Square:
        return cycle < 0.5 ? 1.0 : -1.0;
    default:
        return std::sin(2 * std::numbers::pi * cycle);
    }
}

double Envelope(const Tone& tone, double t) {
    double level = 1.0;
    if (tone.Attack > 0 && t < tone.Attack) level = t / tone.Attack;
    double left = tone.Length - t;
    if (tone.Release > 0 && left < tone.Release) level = std::min(level, left / tone.Release);
    return std::clamp(level, 0.0, 1.0);
}

// The pitch glides evenly in musical steps, as a voice or a slide whistle does.
double PitchAt(const Tone& tone, double t) {
    return tone.From * std::pow(tone.To / tone.From, t / tone.Length);
}

void AddTone(const Tone& tone, int rate, std::vector<double>& mix) {
    auto first = static_cast<size_t>(std::lround(tone.Start * rate));
    auto count = static_cast<size_t>(std::lround(tone.Length * rate));
    NoiseSource noise;
    double phase = 0;
    double smoothed = 0;
    for (size_t i = 0; i < count; ++i) {
        double t = static_cast<double>(i) / rate;
        double pitch = PitchAt(tone, t);
        double sample = 0;
        if (tone.Shape == Wave::Noise) {
            // One-pole low-pass: the pitch sets how bright the hiss is.
            double a = 1 - std::exp(-2 * std::numbers::pi * pitch / rate);
            smoothed += a * (noise.Next() - smoothed);
            sample = smoothed;
        } else {
            sample = WaveAt(tone.Shape, phase);
            phase += pitch / rate;
        }
        mix[first + i] += sample * tone.Volume * Envelope(tone, t);
    }
}
} // namespace

std::vector<int16_t> RenderRecipe(const SoundRecipe& recipe, int rate) {
    size_t total = 0;
    for (const Tone& tone : recipe.Tones)
        total = std::max(
            total, static_cast<size_t>(std::lround(tone.Start * rate) + std::lround(tone.Length * rate)));
    std::vector<double> mix(total, 0.0);
    for (const Tone& tone : recipe.Tones)
        AddTone(tone, rate, mix);
    std::vector<int16_t> samples(total);
    std::transform(mix.begin(), mix.end(), samples.begin(), [](double value) {
        return static_cast<int16_t>(std::lround(std::clamp(value, -1.0, 1.0) * FullScale));
    });
    return samples;
}
