#include "platform/fakes/FakeAudioOutput.h"
#include "platform/fakes/FakeClock.h"
#include "sound/Chime.h"

#include <gtest/gtest.h>

namespace {

double rms(const std::vector<double> &s, std::size_t from, std::size_t to)
{
    double sum = 0.0;
    for (std::size_t i = from; i < to; ++i)
        sum += s[i] * s[i];
    return std::sqrt(sum / double(to - from));
}

} // namespace

TEST(ChimeRender, EachBellHasItsLengthIsNormalisedAndDecays)
{
    struct Case
    {
        Chime::Bell bell;
        std::size_t frames;
    };
    // floor(44100 x length).
    const Case cases[] = {
        {Chime::Bell::temple, 793800}, {Chime::Bell::small, 441000}, {Chime::Bell::keisu, 882000},
        {Chime::Bell::inkin, 352800},  {Chime::Bell::mokugyo, 52920},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.bell.name().toStdString());
        const std::vector<double> s = Chime::render(c.bell, 44100.0);
        ASSERT_EQ(s.size(), c.frames);
        double peak = 0.0;
        bool finite = true;
        for (double v : s) {
            finite = finite && std::isfinite(v);
            peak = std::max(peak, std::abs(v));
        }
        EXPECT_TRUE(finite);
        EXPECT_NEAR(peak, 0.72, 1e-12);
        // Loud at the strike, much quieter a little before the end, silent at the very end.
        const std::size_t tenth = s.size() / 10;
        EXPECT_GT(rms(s, 0, tenth), 0.05);
        EXPECT_LT(rms(s, s.size() - 2 * tenth, s.size() - tenth), rms(s, 0, tenth) / 2.0);
        EXPECT_LT(std::abs(s.back()), 1e-4);
    }
}

TEST(ChimeRender, WoodenBellTailFollowsTheHalfCosineFade)
{
    const std::vector<double> s = Chime::render(Chime::Bell::mokugyo, 44100.0);
    const std::size_t fade = 17640; // floor(44100 x 0.4)
    const std::size_t from = s.size() - fade;
    // Through the fade the level stays within the fade curve times the level
    // just before it (with room for the partials' beating); unfaded, the tail
    // would stand ten times over it near the end.
    double before = 0.0;
    for (std::size_t i = from - 200; i < from; ++i)
        before = std::max(before, std::abs(s[i]));
    for (std::size_t j = 0; j < fade; j += 10) {
        const double curve = (1.0 + std::cos(std::numbers::pi * double(j) / double(fade))) * 0.5;
        ASSERT_LE(std::abs(s[from + j]), 1.5 * before * curve + 1e-9) << j;
    }
    // Same result on every render: bells are deterministic.
    EXPECT_EQ(Chime::render(Chime::Bell::mokugyo, 44100.0), s);
}

TEST(ChimePlayer, RingsCachedBellsAndCutsOffTheOneStillRinging)
{
    auto output = std::make_unique<FakeAudioOutput>(48000.0);
    FakeAudioOutput *fake = output.get();
    Chime chime(std::move(output));

    const AudioClip *clip = chime.buffer(Chime::Bell::mokugyo);
    ASSERT_NE(clip, nullptr);
    EXPECT_EQ(clip->frames(), 57600); // rendered at the output's rate
    EXPECT_EQ(chime.buffer(Chime::Bell::mokugyo), clip);

    chime.play(Chime::Bell::temple);
    EXPECT_TRUE(fake->isRunning());
    EXPECT_GT(fake->pull(4800).peak(), 0.05f);

    // The same temple bell left ringing, for comparison.
    auto refOutput = std::make_unique<FakeAudioOutput>(48000.0);
    FakeAudioOutput *ref = refOutput.get();
    Chime reference(std::move(refOutput));
    reference.play(Chime::Bell::temple);
    ref->pull(4800);

    // A short bell rung over the long one cuts it off: once the short one is
    // over only a reverb tail is left.
    chime.play(Chime::Bell::mokugyo);
    EXPECT_EQ(fake->interruptCount(), 1) << "what the output holds of the long bell is dropped";
    EXPECT_EQ(fake->startCount(), 1);
    fake->pull(48000 * 2);
    ref->pull(48000 * 2);
    EXPECT_LT(fake->pull(4800).peak(), ref->pull(4800).peak() / 4.0f);
}

TEST(ChimePlayer, WithoutAnOutputItCallsTheFallbackAndKeepsGoing)
{
    int beeps = 0;
    Chime::setFallbackSound([&beeps] { ++beeps; });
    auto output = std::make_unique<FakeAudioOutput>(48000.0, false);
    FakeAudioOutput *fake = output.get();
    Chime chime(std::move(output));
    chime.play(Chime::Bell::inkin);
    chime.play(Chime::Bell::inkin);
    EXPECT_EQ(beeps, 2);
    EXPECT_FALSE(fake->isRunning());
    EXPECT_EQ(fake->resetCount(), 2); // one rebuild-and-retry per ring
    Chime::setFallbackSound(nullptr);
    chime.play(Chime::Bell::inkin);
    EXPECT_EQ(beeps, 2);
}

// Once a bell and its echo are over the output is closed; a bell rung
// meanwhile keeps it open until it is over too, and the next one opens it.
TEST(ChimePlayer, ClosesTheOutputOnceTheBellHasRungOut)
{
    FakeClock clock;
    Clock::setCurrent(&clock);
    auto output = std::make_unique<FakeAudioOutput>(48000.0);
    FakeAudioOutput *fake = output.get();
    {
        Chime chime(std::move(output));
        chime.play(Chime::Bell::mokugyo); // 1.2 s
        clock.advance(1200 + Chime::closeDelayMs - 1);
        EXPECT_TRUE(fake->isRunning());
        EXPECT_EQ(fake->resetCount(), 0);
        clock.advance(1);
        EXPECT_FALSE(fake->isRunning());
        EXPECT_EQ(fake->resetCount(), 1);

        chime.play(Chime::Bell::mokugyo);
        EXPECT_TRUE(fake->isRunning());
        EXPECT_EQ(fake->startCount(), 2);
        clock.advance(3000);
        chime.play(Chime::Bell::inkin); // 8 s, rung 3 s later
        clock.advance(8000 + Chime::closeDelayMs - 1);
        EXPECT_TRUE(fake->isRunning());
        clock.advance(1);
        EXPECT_FALSE(fake->isRunning());
        EXPECT_EQ(fake->resetCount(), 2);
    }
    Clock::setCurrent(nullptr);
}
