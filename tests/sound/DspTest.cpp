#include "sound/Dsp.h"

#include <gtest/gtest.h>

TEST(Noise, FirstValuesFollowTheXorshiftSequence)
{
    struct Case
    {
        std::uint64_t seed;
        std::array<double, 3> expected;
    };
    const Case cases[] = {
        {0x9E3779B97F4A7C15ull, {-0.2804117584383668, 0.7886026767126735, 0.9611757480989835}},
        {25214903917ull, {0.9169731018981154, -0.36673869859694136, 0.6805053987495615}},
    };
    for (const Case &c : cases) {
        DSP::Noise noise{c.seed};
        for (double expected : c.expected)
            EXPECT_DOUBLE_EQ(noise.next(), expected) << std::hex << c.seed;
    }
}

TEST(Noise, ZeroSeedStaysSilentAndDrawsStayInRange)
{
    DSP::Noise zero{0};
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(zero.next(), 0.0);

    DSP::Noise noise{0x2545F4914F6CDD1Dull};
    for (int i = 0; i < 100000; ++i) {
        const double u = noise.uniform();
        ASSERT_GE(u, 0.0);
        ASSERT_LT(u, 1.0);
    }
}

TEST(StateVariable, LoudInputNeverLeavesTheClamp)
{
    DSP::StateVariable filter;
    const double f = DSP::svfCoefficient(0.45 * 48000.0, 48000.0);
    for (int i = 0; i < 10000; ++i) {
        const double out = filter.step(i % 2 ? 1e9 : -1e9, f, 0.05);
        ASSERT_LE(std::abs(out), 8.0);
        ASSERT_LE(std::abs(filter.low), 8.0);
        ASSERT_LE(std::abs(filter.band), 8.0);
    }
}

TEST(Resonator, StrikeScalesPartialsByPowersOfTheBase)
{
    DSP::Resonator full = DSP::Resonator::bowl();
    full.strike(1.0);
    for (std::size_t i = 0; i < full.count; ++i)
        EXPECT_DOUBLE_EQ(full.amplitude[i], full.levels[i]);

    DSP::Resonator soft = DSP::Resonator::bowl();
    soft.strike(0.55);
    const double base = 0.7975;
    EXPECT_DOUBLE_EQ(soft.amplitude[0], 0.55);
    EXPECT_NEAR(soft.amplitude[2], 0.55 * 0.22 * base * base, 1e-15);
}

TEST(Resonator, PartialLosesAFactorOfEPerDecayTimeThenFallsSilent)
{
    DSP::Resonator r = DSP::Resonator::make({1.0}, {1.0}, {1.0}, 1.0);
    r.strike(1.0);
    for (int i = 0; i < 48000; ++i)
        r.next(440.0, 48000.0);
    EXPECT_NEAR(r.amplitude[0], std::exp(-1.0), 1e-9);

    // Below 0.0005 the partial stops: no output, no phase movement, no decay.
    while (r.amplitude[0] > 0.0005)
        r.next(440.0, 48000.0);
    const double amplitude = r.amplitude[0];
    const double phase = r.phaseA[0];
    for (int i = 0; i < 1000; ++i)
        EXPECT_EQ(r.next(440.0, 48000.0), 0.0);
    EXPECT_EQ(r.amplitude[0], amplitude);
    EXPECT_EQ(r.phaseA[0], phase);
}

TEST(Crackle, QuietCrackleOutputsNothingAndKeepsItsFilter)
{
    DSP::Crackle crackle;
    crackle.trigger(1000.0, 1.1, 0.2, 0.01, 48000.0);
    double energy = 0.0;
    DSP::Noise noise{0x9E3779B97F4A7C15ull};
    for (int i = 0; i < 48000; ++i)
        energy += std::abs(crackle.step(noise.next()));
    EXPECT_GT(energy, 0.0);
    EXPECT_LE(crackle.level, 0.0008);
    const DSP::StateVariable before = crackle.filter;
    EXPECT_EQ(crackle.step(1.0), 0.0);
    EXPECT_EQ(crackle.filter.band, before.band);
    EXPECT_EQ(crackle.filter.low, before.low);
}
