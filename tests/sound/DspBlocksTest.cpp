#include "sound/DspBlocks.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

constexpr double rate = 48000.0;

} // namespace

// Blocks of any length (odd ones, one frame, a whole block) sound the same
// decaying sines as sample-by-sample synthesis, and leave each partial's
// phase and amplitude where the samples left them.
TEST(BlockPartials, MatchSampleBySampleSinesOverBlocksOfAnyLength)
{
    DSP::Partial partials[5] = {
        {0.3, DSP::twoPi * 196.0 / rate, 0.4, std::exp(-1.0 / (rate * 2.0))},
        {1.7, DSP::twoPi * 537.2 / rate, 0.2, std::exp(-1.0 / (rate * 0.4))},
        {5.9, DSP::twoPi * 98.0 / rate, 0.1, 1.0},
        {0.0, DSP::twoPi * 4100.0 / rate, 0.05, std::exp(-1.0 / (rate * 0.05))},
        {2.2, DSP::twoPi * 1470.0 / rate, 0.3, 1.0000002},
    };
    DSP::Partial exact[5];
    std::copy(std::begin(partials), std::end(partials), exact);
    double worst = 0.0;
    for (int n : {37, 512, 1, 3, 4, 255, 512, 90}) {
        std::vector<float> out(std::size_t(n), 0.25f);
        DSP::addPartials(n, out.data(), partials, 5);
        for (int i = 0; i < n; ++i) {
            double want = 0.25;
            for (DSP::Partial &p : exact) {
                want += p.amplitude * std::sin(p.phase);
                p.phase += p.step;
                p.amplitude *= p.decay;
            }
            worst = std::max(worst, std::abs(double(out[std::size_t(i)]) - want));
        }
    }
    EXPECT_LT(worst, 5e-6); // -106 dB of the sum
    for (int j = 0; j < 5; ++j) {
        EXPECT_NEAR(std::remainder(partials[j].phase - exact[j].phase, DSP::twoPi), 0.0, 1e-9) << j;
        EXPECT_NEAR(partials[j].amplitude, exact[j].amplitude, 1e-12) << j;
    }
}

// A struck resonator rung in blocks sounds as Resonator::next does, down to a
// partial falling silent on the way, and ends in the same state.
TEST(BlockPartials, RingAResonatorAsItsOwnSamplesWould)
{
    DSP::Resonator blocks = DSP::Resonator::waterJar();
    blocks.strike(0.9);
    DSP::Resonator samples = blocks;
    double worst = 0.0;
    double loudest = 0.0;
    for (int block = 0; block < 200; ++block) {
        const int n = 100 + (block * 37) % 412;
        std::vector<float> out(std::size_t(n), 0.0f);
        DSP::ringResonator(blocks, n, out.data(), 880.0, rate, 0.5);
        for (int i = 0; i < n; ++i) {
            const double want = 0.5 * samples.next(880.0, rate);
            loudest = std::max(loudest, std::abs(want));
            worst = std::max(worst, std::abs(double(out[std::size_t(i)]) - want));
        }
    }
    EXPECT_GT(loudest, 0.3);
    EXPECT_LT(worst, 1e-5);
    for (std::size_t i = 0; i < blocks.count; ++i)
        EXPECT_NEAR(blocks.amplitude[i], samples.amplitude[i], 1e-4) << i;
}

// Four filters side by side give what four state-variable filters give, and
// a loud input never leaves the clamp.
TEST(FilterLanes, MatchTheStateVariableFilterAndStayClamped)
{
    const double cutoffs[4] = {420.0, 1150.0, 2600.0, 9000.0};
    const double damping[4] = {0.7, 1.4, 0.14, 1.1};
    DSP::FilterLanes lanes;
    DSP::StateVariable single[4];
    for (int l = 0; l < 4; ++l)
        lanes.set(l, DSP::svfCoefficient(cutoffs[l], rate), damping[l]);
    DSP::Noise noise{0x2545F4914F6CDD1Dull};
    double worst = 0.0;
    for (int i = 0; i < 48000; ++i) {
        const double x = noise.next();
        const DSP::Lanes out = lanes.step(DSP::splat(float(x)));
        for (int l = 0; l < 4; ++l) {
            const double want = single[l].step(x, DSP::svfCoefficient(cutoffs[l], rate), damping[l]);
            worst = std::max(worst, std::abs(double(out[l]) - want));
        }
    }
    EXPECT_LT(worst, 1e-4);

    DSP::FilterLanes loud;
    loud.set(0, DSP::svfCoefficient(0.45 * rate, rate), 0.05);
    for (int i = 0; i < 10000; ++i) {
        loud.step(DSP::splat(i % 2 ? 1e9f : -1e9f));
        ASSERT_LE(std::abs(loud.band[0]), 8.0f);
        ASSERT_LE(std::abs(loud.low[0]), 8.0f);
    }
}

TEST(LaneSine, MatchesTheLibrarySineAndNoiseStaysInRange)
{
    double worst = 0.0;
    for (double x = -300.0; x < 300.0; x += 0.0173) {
        const float v = float(x);
        worst = std::max(worst, std::abs(double(DSP::sine(DSP::splat(v))[0]) - std::sin(double(v))));
    }
    EXPECT_LT(worst, 5e-6);
    DSP::NoiseLanes noise{{1u, 2u, 3u, 4u}};
    double sum = 0.0;
    for (int i = 0; i < 100000; ++i) {
        const DSP::Lanes n = noise.next();
        for (int l = 0; l < 4; ++l) {
            ASSERT_GE(n[l], -1.0f);
            ASSERT_LT(n[l], 1.0f);
            sum += n[l];
        }
    }
    EXPECT_LT(std::abs(sum / 400000.0), 0.01);
}
