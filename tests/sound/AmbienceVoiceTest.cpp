#include "sound/AmbienceVoice.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <vector>

// Reads the voice's private timing state for the scene schedule checks.
class AmbienceVoiceProbe
{
public:
    static double beatAt(const AmbienceVoice &v) { return v.m_beatAt; }
    static double dubAt(const AmbienceVoice &v) { return v.m_dubAt; }
    static double nextStrike(const AmbienceVoice &v) { return v.m_nextStrike; }
    static double strikeAmplitude(const AmbienceVoice &v) { return v.m_resonator.amplitude[0]; }
    static double insectBand(const AmbienceVoice &v, int k) { return v.m_insectBands.band[k]; }
};

namespace {

constexpr double rate = 48000.0;

struct Rendered
{
    std::vector<float> left;
    std::vector<float> right;
};

Rendered renderFrames(AmbienceVoice &voice, int frames, int block = 512)
{
    Rendered out{std::vector<float>(std::size_t(frames)), std::vector<float>(std::size_t(frames))};
    for (int done = 0; done < frames; done += block) {
        const int n = std::min(block, frames - done);
        voice.render(n, out.left.data() + done, out.right.data() + done);
    }
    return out;
}

// A voice handed a scene at the player's level for full volume.
std::unique_ptr<AmbienceVoice> playing(AmbienceScene scene)
{
    auto voice = std::make_unique<AmbienceVoice>(rate);
    voice->setPendingScene(scene);
    voice->setTarget(0.55f);
    return voice;
}

} // namespace

TEST(AmbienceVoice, NewVoiceIsSilentUntilATargetIsSetAndItsClockRuns)
{
    AmbienceVoice voice(rate);
    const Rendered r = renderFrames(voice, 48000);
    for (std::size_t i = 0; i < r.left.size(); ++i) {
        ASSERT_EQ(r.left[i], 0.0f);
        ASSERT_EQ(r.right[i], 0.0f);
    }
    EXPECT_NEAR(voice.time(), 1.0, 1e-9);
    EXPECT_EQ(voice.scene(), AmbienceScene::bell);

    voice.setTarget(0.55f);
    float peak = 0.0f;
    for (float v : renderFrames(voice, 48000).left)
        peak = std::max(peak, std::abs(v));
    EXPECT_GT(peak, 0.0f);
}

TEST(AmbienceVoice, GainGlidesWithoutJumpsAndReachesItsTimeConstant)
{
    const auto owned = playing(AmbienceScene::rain);
    AmbienceVoice &voice = *owned;
    std::vector<float> l(1), r(1);
    float previous = 0.0f;
    const float k = float(1.0 - std::exp(-1.0 / (1.2 * rate)));
    for (int i = 0; i < int(1.2 * rate); ++i) {
        voice.render(1, l.data(), r.data());
        ASSERT_LE(voice.gain() - previous, 0.55f * k * 1.0001f);
        ASSERT_GE(voice.gain(), previous);
        previous = voice.gain();
    }
    EXPECT_NEAR(voice.gain(), 0.55 * (1.0 - std::exp(-1.0)), 2e-3);
}

TEST(AmbienceVoice, ZeroTargetEndsInExactZeros)
{
    const auto owned = playing(AmbienceScene::wind);
    AmbienceVoice &voice = *owned;
    renderFrames(voice, 48000 * 3);
    voice.setTarget(0.0f);
    // ln(0.55 / 0.004) x 1.2 s ~ 5.9 s to fall under the floor.
    renderFrames(voice, 48000 * 7);
    EXPECT_EQ(voice.gain(), 0.0f);
    const Rendered r = renderFrames(voice, 4800);
    for (std::size_t i = 0; i < r.left.size(); ++i) {
        ASSERT_EQ(r.left[i], 0.0f);
        ASSERT_EQ(r.right[i], 0.0f);
    }
}

TEST(AmbienceVoice, OnlyTheLastSceneHandedOverBeforeARenderApplies)
{
    AmbienceVoice voice(rate);
    voice.setTarget(0.3f);
    renderFrames(voice, 4800);
    voice.setPendingScene(AmbienceScene::rain);
    voice.setPendingScene(AmbienceScene::wind);
    EXPECT_EQ(voice.pendingScene(), AmbienceScene::wind);
    std::vector<float> l(256), r(256);
    voice.render(256, l.data(), r.data());
    EXPECT_EQ(voice.scene(), AmbienceScene::wind);
    EXPECT_EQ(voice.pendingScene(), std::nullopt);
    EXPECT_NEAR(voice.time(), 256.0 / rate, 1e-12); // the clock restarted with the scene

    // Nothing pending: the next call keeps the scene and its clock.
    voice.render(256, l.data(), r.data());
    EXPECT_EQ(voice.scene(), AmbienceScene::wind);
    EXPECT_NEAR(voice.time(), 512.0 / rate, 1e-12);
}

TEST(AmbienceVoice, SharedBufferHoldsTheRightChannel)
{
    AmbienceVoice a(rate);
    AmbienceVoice b(rate);
    for (AmbienceVoice *v : {&a, &b}) {
        v->setPendingScene(AmbienceScene::surf);
        v->setTarget(0.55f);
    }
    const Rendered separate = renderFrames(a, 9600);
    std::vector<float> shared(9600);
    for (int done = 0; done < 9600; done += 512)
        b.render(std::min(512, 9600 - done), shared.data() + done, shared.data() + done);
    EXPECT_EQ(shared, separate.right);
    EXPECT_NE(separate.left, separate.right);
}

TEST(AmbienceVoice, BellSceneStrikesFirstAtOnePointTwoSeconds)
{
    const auto owned = playing(AmbienceScene::bell);
    AmbienceVoice &voice = *owned;
    renderFrames(voice, int(1.19 * rate));
    EXPECT_EQ(AmbienceVoiceProbe::strikeAmplitude(voice), 0.0);
    renderFrames(voice, int(0.02 * rate));
    EXPECT_GT(AmbienceVoiceProbe::strikeAmplitude(voice), 0.5);
    EXPECT_GE(AmbienceVoiceProbe::nextStrike(voice), 1.2 + 22.0);
    EXPECT_LE(AmbienceVoiceProbe::nextStrike(voice), 1.21 + 48.0);
}

TEST(AmbienceVoice, HeartbeatLubAtSixTenthsThenDubAboutThreeTenthsLater)
{
    const auto owned = playing(AmbienceScene::heartbeat);
    AmbienceVoice &voice = *owned;
    renderFrames(voice, int(0.59 * rate));
    EXPECT_DOUBLE_EQ(AmbienceVoiceProbe::beatAt(voice), 0.6);
    EXPECT_EQ(AmbienceVoiceProbe::dubAt(voice), -1.0);
    renderFrames(voice, int(0.02 * rate));
    const double dub = AmbienceVoiceProbe::dubAt(voice);
    EXPECT_GT(dub, 0.6 + 0.28);
    EXPECT_LT(dub, 0.6 + 0.32);
    renderFrames(voice, int(0.35 * rate));
    EXPECT_EQ(AmbienceVoiceProbe::dubAt(voice), -1.0);
}

// Every synthesized scene, a minute at full volume: finite, no denormals, no
// clipping, and audibly present at its level.
TEST(AmbienceVoice, EverySceneRendersAMinuteCleanly)
{
    for (AmbienceScene scene : AmbienceScenes::all) {
        if (scene == AmbienceScene::silent || scene == AmbienceScene::custom)
            continue;
        SCOPED_TRACE(AmbienceScenes::rawValue(scene).toStdString());
        const auto owned = playing(scene);
        AmbienceVoice &voice = *owned;
        double energy = 0.0;
        float peak = 0.0f;
        long bad = 0;
        std::vector<float> l(512), r(512);
        const int blocks = int(60.0 * rate / 512.0);
        for (int b = 0; b < blocks; ++b) {
            voice.render(512, l.data(), r.data());
            for (std::size_t i = 0; i < 512; ++i) {
                for (float v : {l[i], r[i]}) {
                    bad += !std::isfinite(v) || std::fpclassify(v) == FP_SUBNORMAL;
                    peak = std::max(peak, std::abs(v));
                    energy += double(v) * v;
                }
            }
        }
        EXPECT_EQ(bad, 0);
        const double rms = std::sqrt(energy / (2.0 * blocks * 512));
        EXPECT_LT(peak, 1.0f);
        EXPECT_GT(rms, 0.003);
        EXPECT_LT(rms, 0.25);
    }
}

// Each cricket first sounds at its staggered start; one that pulses is silent
// (its filter untouched) for the last 28 % of every pulse.
TEST(AmbienceVoice, CricketsStartStaggeredAndPulsesRest)
{
    const auto owned = playing(AmbienceScene::insects);
    AmbienceVoice &voice = *owned;
    constexpr double firstSound[4] = {0.3, 1.0, 1.7, 2.4};
    float l = 0.0f;
    float r = 0.0f;
    std::array<double, 4> before{};
    int restingFrames = 0;
    for (int frame = 0; frame < int(2.5 * rate); ++frame) {
        const double t = voice.time();
        voice.render(1, &l, &r);
        for (int k = 0; k < 4; ++k) {
            const double band = AmbienceVoiceProbe::insectBand(voice, k);
            if (t < firstSound[k] - 1e-6) {
                ASSERT_EQ(band, 0.0) << "kind " << k << " at " << t;
            } else if (t > firstSound[k] + 0.001 && t < firstSound[k] + 0.01) {
                ASSERT_NE(band, before[std::size_t(k)]) << "kind " << k << " at " << t;
            }
        }
        // Kind 2: four pulses of 0.08 s from 1.7 s, each sounding for 0.0576 s.
        const double local = std::fmod(t - 1.7, 0.08);
        if (t > 1.7 && t < 1.7 + 0.32 && local > 0.0576 + 1e-4 && local < 0.08 - 1e-4) {
            ASSERT_EQ(AmbienceVoiceProbe::insectBand(voice, 2), before[2]) << t;
            ++restingFrames;
        }
        for (int k = 0; k < 4; ++k)
            before[std::size_t(k)] = AmbienceVoiceProbe::insectBand(voice, k);
    }
    EXPECT_GT(restingFrames, 4 * 1000);
}
