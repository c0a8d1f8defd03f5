#include "sound/DspBlocks.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace DSP {

namespace {

struct Complex
{
    double re, im;
    Complex operator*(Complex o) const { return {re * o.re - im * o.im, re * o.im + im * o.re}; }
};

Complex polar(double r, double angle)
{
    return {r * sine(angle + 0.5 * std::numbers::pi), r * sine(angle)};
}

Lanes load(const float *p)
{
    Lanes v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

void store(float *p, Lanes v) { std::memcpy(p, &v, sizeof v); }

double wrapped(double phase)
{
    return phase - twoPi * std::floor(phase * (1.0 / twoPi));
}

} // namespace

void addPartials(int n, float *out, Partial *partials, int count)
{
    if (n <= 0)
        return;
    for (int first = 0; first < count; first += 4) {
        // Four partials at a time; each lane holds one of four consecutive
        // frames, and every four frames each partial turns by its step four
        // times over.
        Lanes re[4], im[4];
        float turnRe[4], turnIm[4];
        for (int j = 0; j < 4; ++j) {
            re[j] = Lanes{};
            im[j] = Lanes{};
            turnRe[j] = 1.0f;
            turnIm[j] = 0.0f;
            if (first + j >= count)
                continue;
            const Partial &p = partials[first + j];
            const Complex turn = polar(p.decay, p.step);
            Complex z = polar(p.amplitude, p.phase);
            for (int l = 0; l < 4; ++l) {
                re[j][l] = float(z.re);
                im[j][l] = float(z.im);
                z = z * turn;
            }
            const Complex turn2 = turn * turn;
            const Complex turn4 = turn2 * turn2;
            turnRe[j] = float(turn4.re);
            turnIm[j] = float(turn4.im);
        }
        int i = 0;
        for (; i + 4 <= n; i += 4) {
            store(out + i, load(out + i) + ((im[0] + im[1]) + (im[2] + im[3])));
            for (int j = 0; j < 4; ++j) {
                const Lanes r = re[j] * turnRe[j] - im[j] * turnIm[j];
                im[j] = re[j] * turnIm[j] + im[j] * turnRe[j];
                re[j] = r;
            }
        }
        const Lanes rest = (im[0] + im[1]) + (im[2] + im[3]);
        for (int l = 0; i < n; ++i, ++l)
            out[i] += rest[l];
    }
    for (int j = 0; j < count; ++j) {
        Partial &p = partials[j];
        p.phase = wrapped(p.phase + double(n) * p.step);
        if (p.decay != 1.0)
            p.amplitude *= std::pow(p.decay, double(n));
    }
}

void ringResonator(Resonator &r, int n, float *out, double fundamental, double sampleRate, double gain)
{
    if (sampleRate != r.cachedRate) {
        for (std::size_t i = 0; i < r.count; ++i)
            r.decayStep[i] = std::exp(-1.0 / (sampleRate * r.decays[i]));
        r.cachedRate = sampleRate;
    }
    Partial partials[2 * Resonator::capacity];
    std::size_t sounding[Resonator::capacity];
    int count = 0;
    int soundingCount = 0;
    const double perSample = fundamental * twoPi / sampleRate;
    for (std::size_t i = 0; i < r.count; ++i) {
        if (r.amplitude[i] <= 0.0005)
            continue;
        // Resonator::next moves the phases on before it sounds them.
        const double step = perSample * r.ratios[i];
        partials[count++] = {r.phaseA[i] + step, step, gain * 0.6 * r.amplitude[i], r.decayStep[i]};
        partials[count++] = {r.phaseB[i] + step * r.detune, step * r.detune, gain * 0.4 * r.amplitude[i],
                             r.decayStep[i]};
        sounding[soundingCount++] = i;
    }
    if (count == 0)
        return;
    addPartials(n, out, partials, count);
    for (int k = 0; k < soundingCount; ++k) {
        const std::size_t i = sounding[k];
        r.phaseA[i] = partials[2 * k].phase - partials[2 * k].step;
        r.phaseB[i] = partials[2 * k + 1].phase - partials[2 * k + 1].step;
        r.amplitude[i] *= std::pow(r.decayStep[i], double(n));
    }
}

} // namespace DSP
