#pragma once

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <numbers>

// Small synthesis units from which the ambience voice and the bells are
// built. Each is a plain value owned by its user and touched by one thread
// only; every per-sample step is inline and allocation-free, because they run
// on the audio thread millions of times a second.
namespace DSP {

inline constexpr double twoPi = 2.0 * std::numbers::pi;

// White noise in [-1, 1) from a xorshift64 generator (shifts 13, 7, 17).
struct Noise
{
    std::uint64_t state = 0;

    // The next sample: the new state read as a signed integer, scaled by 2^-63.
    double next()
    {
        std::uint64_t x = state;
        x ^= x << 13;
        x ^= x >> 7;
        x ^= x << 17;
        state = x;
        return double(std::int64_t(x)) * 0x1p-63;
    }
    // A uniform draw in [0, 1).
    double uniform() { return (next() + 1.0) * 0.5; }
};

// The filter coefficient for a cutoff of fc Hz.
inline double svfCoefficient(double fc, double sampleRate)
{
    return 2.0 * std::sin(std::numbers::pi * fc / sampleRate);
}

// Chamberlin state-variable filter; both states are clamped to [-8, 8] so a
// loud or unstable input can never run away. The band output is what every
// caller uses.
struct StateVariable
{
    double low = 0.0;
    double band = 0.0;

    double step(double x, double f, double q)
    {
        const double b = band + f * (x - low - q * band);
        const double l = low + f * b;
        low = std::clamp(l, -8.0, 8.0);
        band = std::clamp(b, -8.0, 8.0);
        return band;
    }
};

// One-pole smoother toward a target.
struct OnePole
{
    double z = 0.0;

    double step(double y, double a)
    {
        z += (y - z) * a;
        return z;
    }
};

// A struck, decaying band of noise (rain drops, ember pops, heartbeat thumps).
struct Crackle
{
    StateVariable filter;
    double level = 0.0;
    double decayCoefficient = 1.0;
    double f = 0.0;
    double q = 1.0;

    void trigger(double fc, double damping, double startLevel, double decaySeconds, double sampleRate)
    {
        f = svfCoefficient(fc, sampleRate);
        q = damping;
        level = startLevel;
        decayCoefficient = std::exp(-1.0 / (sampleRate * decaySeconds));
    }

    // Quiet crackles output 0 and leave their filter alone.
    double step(double noise)
    {
        if (level <= 0.0008)
            return 0.0;
        const double out = level * filter.step(noise, f, q);
        level *= decayCoefficient;
        return out;
    }
};

// A gliding sine note with vibrato and envelope (one bird note).
struct Warble
{
    double phase = 0.0;
    double vibratoPhase = 0.0;
    double frequency = 0.0;
    double target = 0.0;
    double glide = 0.0;
    double vibratoRate = 0.0;
    double vibratoDepth = 0.0;
    double age = 0.0;
    double span = 0.0;
    double level = 0.0;

    bool sounding() const { return level > 0.0 && age < span; }

    double step(double dt)
    {
        frequency += dt * (target - frequency) * glide * 3.2;
        vibratoPhase += dt * twoPi * vibratoRate;
        age += dt;
        const double vib = vibratoDepth == 0.0 ? 1.0 : 1.0 + vibratoDepth * std::sin(vibratoPhase);
        phase += dt * frequency * vib * twoPi;
        if (phase > twoPi)
            phase -= twoPi;
        const double attack = std::min(age / 0.008, 1.0);
        const double release = std::max(0.0, 1.0 - age / span);
        return level * attack * release * release * (std::sin(phase) + 0.16 * std::sin(2.0 * phase));
    }
};

// A modal resonator: a few decaying partials, each a pair of slightly detuned
// sines, which gives the beating of a real bell. Capacity is fixed so a
// preset swap on the audio thread never allocates.
struct Resonator
{
    static constexpr std::size_t capacity = 8;
    using Values = std::array<double, capacity>;

    std::size_t count = 0;
    Values ratios{};
    Values levels{};
    Values decays{};
    double detune = 1.0;
    Values phaseA{};
    Values phaseB{};
    Values amplitude{};

    // Per-sample decay multipliers, kept for the sample rate last used.
    double cachedRate = 0.0;
    Values decayStep{};

    static Resonator make(std::initializer_list<double> ratios, std::initializer_list<double> levels,
                          std::initializer_list<double> decays, double detune)
    {
        Resonator r;
        r.count = std::min(capacity, ratios.size());
        std::copy_n(ratios.begin(), r.count, r.ratios.begin());
        std::copy_n(levels.begin(), std::min(r.count, levels.size()), r.levels.begin());
        std::copy_n(decays.begin(), std::min(r.count, decays.size()), r.decays.begin());
        r.detune = detune;
        return r;
    }

    static Resonator bowl()
    {
        return make({1, 2.74, 5.36, 8.91, 13.3}, {1, 0.42, 0.22, 0.12, 0.07}, {24, 13, 8, 5, 3.2}, 1.0017);
    }
    static Resonator waterJar() { return make({1, 2.09, 3.41}, {1, 0.34, 0.16}, {1.3, 0.7, 0.42}, 1.0026); }
    static Resonator chime() { return make({1, 2.76, 5.4}, {1, 0.3, 0.14}, {2.6, 1.3, 0.7}, 1.0031); }

    // Sets each partial's amplitude; phases run on so a re-strike does not click.
    void strike(double strength)
    {
        const double base = strength * 0.45 + 0.55;
        double power = 1.0;
        for (std::size_t i = 0; i < count; ++i) {
            amplitude[i] = strength * levels[i] * power;
            power *= base;
        }
    }

    double next(double fundamental, double sampleRate)
    {
        if (sampleRate != cachedRate) {
            for (std::size_t i = 0; i < count; ++i)
                decayStep[i] = std::exp(-1.0 / (sampleRate * decays[i]));
            cachedRate = sampleRate;
        }
        double sum = 0.0;
        const double perSample = fundamental * twoPi / sampleRate;
        for (std::size_t i = 0; i < count; ++i) {
            if (amplitude[i] <= 0.0005)
                continue;
            const double inc = perSample * ratios[i];
            phaseA[i] += inc;
            phaseB[i] += inc * detune;
            if (phaseA[i] > twoPi)
                phaseA[i] -= twoPi;
            if (phaseB[i] > twoPi)
                phaseB[i] -= twoPi;
            sum += amplitude[i] * (0.6 * std::sin(phaseA[i]) + 0.4 * std::sin(phaseB[i]));
            amplitude[i] *= decayStep[i];
        }
        return sum;
    }
};

} // namespace DSP
