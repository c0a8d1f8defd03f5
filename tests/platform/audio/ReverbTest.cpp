#include "platform/audio/Reverb.h"

#include <gtest/gtest.h>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

namespace {

// Three seconds of noise, then a second of silence for the tail.
struct Sound
{
    std::vector<float> left, right;
};

Sound noise()
{
    Sound s;
    s.left.assign(48000 * 4, 0.0f);
    s.right.assign(48000 * 4, 0.0f);
    std::uint32_t x = 7;
    for (std::size_t i = 0; i < 48000 * 3; ++i) {
        x = x * 1664525u + 1013904223u;
        s.left[i] = float(int(x >> 8) - (1 << 23)) / float(1 << 23) * 0.3f;
        s.right[i] = -0.5f * s.left[i];
    }
    return s;
}

// The reverb's output over the sound, handed to it in calls of these sizes
// in turn (over and over).
Sound through(Reverb::Preset preset, const std::vector<int> &calls)
{
    Reverb reverb(48000.0);
    reverb.loadPreset(preset);
    reverb.setWetDryMix(55.0f);
    // The first call glides from the constructor's mix to 55 %: the same
    // one-frame call for every split, so the glide is the same.
    Sound s = noise();
    reverb.process(1, s.left.data(), s.right.data());
    std::size_t done = 1;
    for (std::size_t c = 0; done < s.left.size(); ++c) {
        const std::size_t n = std::min<std::size_t>(std::size_t(calls[c % calls.size()]), s.left.size() - done);
        reverb.process(int(n), s.left.data() + done, s.right.data() + done);
        done += n;
    }
    return s;
}

} // namespace

// What comes out does not depend on how the frames are handed in: calls
// shorter than a step of four frames, longer than the reverb's own block,
// and every size between, so that the delay lines wrap at every offset of a
// block and a block ends at every frame of a step.
TEST(Reverb, OutputDoesNotDependOnHowTheFramesAreHandedIn)
{
    const std::vector<std::vector<int>> splits = {
        {1}, {3}, {5, 2}, {127}, {129}, {250, 6}, {1024}, {7, 64, 1, 333},
    };
    for (Reverb::Preset preset : {Reverb::Preset::largeHall2, Reverb::Preset::cathedral}) {
        const Sound whole = through(preset, {48000 * 4});
        double tail = 0.0;
        for (std::size_t i = 48000 * 3; i < whole.left.size(); ++i)
            tail += std::abs(whole.left[i]);
        EXPECT_GT(tail, 0.0) << "no echo after the sound";
        for (const std::vector<int> &split : splits) {
            SCOPED_TRACE(testing::Message() << "preset " << int(preset) << ", first call " << split.front());
            const Sound parts = through(preset, split);
            ASSERT_EQ(std::memcmp(parts.left.data(), whole.left.data(), whole.left.size() * sizeof(float)), 0);
            ASSERT_EQ(std::memcmp(parts.right.data(), whole.right.data(), whole.right.size() * sizeof(float)), 0);
        }
    }
}

// Fully wet, an impulse is heard back first after the shortest comb line
// (1116 frames at 44.1 kHz, 1215 at 48 kHz), not before.
TEST(Reverb, AnImpulseReturnsAfterTheShortestLine)
{
    Reverb reverb(48000.0);
    reverb.setWetDryMix(100.0f);
    std::vector<float> l(4000, 0.0f), r(4000, 0.0f);
    reverb.process(1, l.data(), r.data()); // the mix glides to fully wet
    l[1] = 1.0f;
    r[1] = 1.0f;
    reverb.process(int(l.size()) - 1, l.data() + 1, r.data() + 1);
    std::size_t first = 0;
    while (first < l.size() && l[first] == 0.0f && r[first] == 0.0f)
        ++first;
    EXPECT_EQ(first, 1u + 1215u);
}
