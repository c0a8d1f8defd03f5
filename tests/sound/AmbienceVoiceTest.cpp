#include "sound/AmbienceVoice.h"

#include <gtest/gtest.h>

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
    AmbienceVoice voice(rate);
    voice.setPendingScene(AmbienceScene::rain);
    voice.setTarget(0.55f);
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
    AmbienceVoice voice(rate);
    voice.setPendingScene(AmbienceScene::wind);
    voice.setTarget(0.55f);
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
    AmbienceVoice voice(rate);
    voice.setPendingScene(AmbienceScene::bell);
    voice.setTarget(0.55f);
    renderFrames(voice, int(1.19 * rate));
    EXPECT_EQ(AmbienceVoiceProbe::strikeAmplitude(voice), 0.0);
    renderFrames(voice, int(0.02 * rate));
    EXPECT_GT(AmbienceVoiceProbe::strikeAmplitude(voice), 0.5);
    EXPECT_GE(AmbienceVoiceProbe::nextStrike(voice), 1.2 + 22.0);
    EXPECT_LE(AmbienceVoiceProbe::nextStrike(voice), 1.21 + 48.0);
}

TEST(AmbienceVoice, HeartbeatLubAtSixTenthsThenDubAboutThreeTenthsLater)
{
    AmbienceVoice voice(rate);
    voice.setPendingScene(AmbienceScene::heartbeat);
    voice.setTarget(0.55f);
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
        AmbienceVoice voice(rate);
        voice.setPendingScene(scene);
        voice.setTarget(0.55f);
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
