#pragma once

#include "sound/Dsp.h"

#include <cstddef>

#if defined(__SSE__)
#include <xmmintrin.h>
#endif

// The ambience voice's synthesis units, run over a block of frames at a time
// in single precision: each works on several oscillators or filters side by
// side (four lanes of one vector register), so that the compiler turns the
// loops into vector instructions and the filters' feedback loops overlap
// instead of waiting on one another. State that must not drift over a long
// sitting (phases, amplitudes) is kept in double precision between blocks.
namespace DSP {

// Four floats handled as one vector (GCC's and Clang's vector extension).
using Lanes = float __attribute__((vector_size(4 * sizeof(float))));

using Words = unsigned int __attribute__((vector_size(4 * sizeof(unsigned int))));
using Ints = int __attribute__((vector_size(4 * sizeof(int))));

inline Lanes splat(float v) { return Lanes{v, v, v, v}; }
inline Lanes clamp(Lanes v, float lo, float hi)
{
#if defined(__SSE__)
    // One instruction each, where the comparison and blend take four.
    return _mm_min_ps(_mm_max_ps(v, _mm_set1_ps(lo)), _mm_set1_ps(hi));
#else
    v = v < lo ? splat(lo) : v;
    return v > hi ? splat(hi) : v;
#endif
}
inline float sum(Lanes v) { return (v[0] + v[1]) + (v[2] + v[3]); }

// sin(x) in each lane, to within about 1e-7 for |x| up to a few thousand:
// reduced to [-pi, pi], folded onto [-pi/2, pi/2] and summed as a Taylor
// polynomial up to x^11.
inline Lanes sine(Lanes x)
{
    constexpr float inverseTurn = float(1.0 / twoPi);
    // 2 pi in two parts, so that subtracting whole turns loses nothing.
    constexpr float turnHigh = 6.28125f;
    constexpr float turnLow = float(twoPi - 6.28125);
    constexpr float pi = float(std::numbers::pi);
    // Nearest whole number of turns: adding and taking away 1.5 * 2^23 rounds.
    const Lanes turns = (x * inverseTurn + 12582912.0f) - 12582912.0f;
    const Lanes r = (x - turns * turnHigh) - turns * turnLow;
    const Lanes magnitude = r < 0.0f ? -r : r;
    const Lanes folded = magnitude > 0.5f * pi ? pi - magnitude : magnitude;
    const Lanes y = r < 0.0f ? -folded : folded;
    const Lanes y2 = y * y;
    return y
           * (1.0f
              + y2
                    * (-1.0f / 6.0f
                       + y2 * (1.0f / 120.0f + y2 * (-1.0f / 5040.0f + y2 * (1.0f / 362880.0f + y2 * (-1.0f / 39916800.0f))))));
}

// White noise in four lanes at once, each from a xorshift32 generator of its
// own (shifts 13, 17, 5), in [-1, 1).
struct NoiseLanes
{
    Words state;

    Lanes next()
    {
        Words x = state;
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        state = x;
        return __builtin_convertvector((Ints)x, Lanes) * 0x1p-31f;
    }
};

// A sine of constant frequency whose amplitude changes by a constant factor
// each sample: amplitude * sin(phase), then phase += step, amplitude *= decay.
struct Partial
{
    double phase = 0.0;
    double step = 0.0;
    double amplitude = 0.0;
    double decay = 1.0;
};

// Adds count partials over n frames to out and moves them on by n frames.
// Each is a rotating complex number (one multiplication per four samples of
// four lanes), started afresh from its double-precision phase and amplitude
// at every call, so no error builds up from block to block.
void addPartials(int n, float *out, Partial *partials, int count);

// Adds a resonator's partials over n frames to out, scaled by gain, exactly
// as n calls of Resonator::next would (within single precision); a partial
// that has fallen silent stays as it is.
void ringResonator(Resonator &resonator, int n, float *out, double fundamental, double sampleRate, double gain);

// Four state-variable filters side by side (see StateVariable), each with its
// own cutoff and damping. A step works out both states from the previous ones
// at once, which is the same filter with a shorter feedback loop.
struct FilterLanes
{
    Lanes low{};
    Lanes band{};
    // b' = g b - f l + f x, l' = h l + f g b + f f x, with g = 1 - f q, h = 1 - f f.
    Lanes f{}, g{}, h{}, fg{}, ff{};

    // coefficient is what svfCoefficient gives, q the damping.
    void set(int lane, double coefficient, double q)
    {
        f[lane] = float(coefficient);
        g[lane] = float(1.0 - coefficient * q);
        h[lane] = float(1.0 - coefficient * coefficient);
        fg[lane] = float(coefficient * (1.0 - coefficient * q));
        ff[lane] = float(coefficient * coefficient);
    }
    // Every lane at once.
    void setAll(Lanes coefficient, Lanes q)
    {
        f = coefficient;
        g = 1.0f - coefficient * q;
        h = 1.0f - coefficient * coefficient;
        fg = coefficient * g;
        ff = coefficient * coefficient;
    }
    // Coefficients that glide: each moves on by its step from step to step.
    struct Glide
    {
        Lanes f, g, h, fg, ff;
    };
    // From the coefficients now to those of `to` over frames steps.
    Glide glideTo(const FilterLanes &to, int frames) const
    {
        const float k = 1.0f / float(frames);
        return {(to.f - f) * k, (to.g - g) * k, (to.h - h) * k, (to.fg - fg) * k, (to.ff - ff) * k};
    }
    void glide(const Glide &by)
    {
        f += by.f;
        g += by.g;
        h += by.h;
        fg += by.fg;
        ff += by.ff;
    }

    Lanes step(Lanes x)
    {
        const Lanes b = g * band - f * low + f * x;
        const Lanes l = h * low + fg * band + ff * x;
        band = clamp(b, -8.0f, 8.0f);
        low = clamp(l, -8.0f, 8.0f);
        return band;
    }
    // A step of the lanes where active is set; the others keep their state.
    template<typename Mask>
    Lanes step(Lanes x, Mask active)
    {
        const Lanes b = clamp(g * band - f * low + f * x, -8.0f, 8.0f);
        const Lanes l = clamp(h * low + fg * band + ff * x, -8.0f, 8.0f);
        band = active ? b : band;
        low = active ? l : low;
        return band;
    }
};

} // namespace DSP
