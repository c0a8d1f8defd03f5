#include "platform/audio/AudioMixer.h"
#include "platform/audio/AudioModule.h"
#include "platform/audio/BufferPlayer.h"
#include "platform/audio/LazyAudioFileDecoder.h"
#include "platform/audio/LazyAudioOutput.h"
#include "platform/audio/Reverb.h"
#include "platform/audio/module/QtAudioFileDecoder.h"
#include "platform/audio/module/PulseAudioOutput.h"
#include "platform/fakes/FakeAudioOutput.h"

#include <QEventLoop>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <QtEndian>
#include <cstring>
#include <gtest/gtest.h>

namespace {

// Writes a fixed ramp on the left and its negative on the right.
class RampRenderer : public AudioRenderer
{
public:
    explicit RampRenderer(float scale) : m_scale(scale) {}
    void render(int frames, float *left, float *right) noexcept override
    {
        for (int i = 0; i < frames; ++i) {
            const float v = float((m_n++) % 8) / 4.0f - 1.0f; // -1 ... 0.75
            left[i] = v * m_scale;
            right[i] = -v * m_scale;
        }
    }

private:
    float m_scale;
    int m_n = 0;
};

AudioClip clipOf(std::initializer_list<float> left)
{
    AudioClip clip;
    clip.left = left;
    return clip;
}

} // namespace

TEST(PulseAudioOutput, FillsInterleavedStereoClippedToFullScale)
{
    RampRenderer loud(2.0f); // over full scale: must clip, not wrap
    std::vector<float> left(PulseAudioOutput::blockFrames), right(PulseAudioOutput::blockFrames);
    std::vector<float> out(2 * 3000);
    PulseAudioOutput::fill(&loud, out.data(), 3000, left.data(), right.data()); // more than one block
    for (int i = 0; i < 3000; ++i) {
        const float v = std::clamp((float(i % 8) / 4.0f - 1.0f) * 2.0f, -1.0f, 1.0f);
        ASSERT_EQ(out[std::size_t(2 * i)], v) << i;
        ASSERT_EQ(out[std::size_t(2 * i + 1)], -v) << i;
    }
    PulseAudioOutput::fill(nullptr, out.data(), 3000, left.data(), right.data());
    EXPECT_TRUE(std::all_of(out.begin(), out.end(), [](float v) { return v == 0.0f; }));
}

TEST(BufferPlayer, LoopsWithoutAGapPlaysOnceThenLetsGo)
{
    const AudioClip clip = clipOf({0.1f, 0.2f, 0.3f});
    BufferPlayer player;
    float l[8], r[8];

    player.play(&clip, true);
    player.render(8, l, r);
    const float looped[8] = {0.1f, 0.2f, 0.3f, 0.1f, 0.2f, 0.3f, 0.1f, 0.2f};
    for (int i = 0; i < 8; ++i) {
        EXPECT_FLOAT_EQ(l[i], looped[i]);
        EXPECT_FLOAT_EQ(r[i], looped[i]); // mono clip on both sides
    }
    EXPECT_FALSE(player.released(&clip));

    player.play(&clip, false); // restarts from the top, once
    player.render(8, l, r);
    const float once[8] = {0.1f, 0.2f, 0.3f, 0, 0, 0, 0, 0};
    for (int i = 0; i < 8; ++i)
        EXPECT_FLOAT_EQ(l[i], once[i]);

    // Stop hands the clip back once the audio side has seen it.
    const AudioClip other = clipOf({0.5f});
    player.play(&other, true);
    player.render(2, l, r);
    player.stop();
    EXPECT_FALSE(player.isPlaying());
    EXPECT_FALSE(player.released(&other));
    player.render(2, l, r);
    EXPECT_TRUE(player.released(&other));
    EXPECT_EQ(l[0], 0.0f);
}

TEST(BufferPlayer, VolumeChangeGlidesAcrossTheBlock)
{
    AudioClip clip;
    clip.left.assign(64, 1.0f);
    BufferPlayer player;
    player.play(&clip, true);
    float l[64], r[64];
    player.render(64, l, r);
    player.setVolume(0.0f);
    player.render(64, l, r);
    for (int i = 1; i < 64; ++i)
        EXPECT_LE(l[i - 1] - l[i], 1.0f / 64.0f + 1e-6f);
    EXPECT_FLOAT_EQ(l[63], 0.0f);
}

TEST(AudioMixer, SumsInputsAndAppliesReverbMixAndVolume)
{
    AudioClip a = clipOf({0.25f, 0.25f});
    AudioClip b = clipOf({0.5f, -0.5f});
    BufferPlayer pa, pb;
    pa.play(&a, true);
    pb.play(&b, true);
    AudioMixer mixer(48000.0);
    ASSERT_TRUE(mixer.addInput(&pa));
    ASSERT_TRUE(mixer.addInput(&pb));
    mixer.reverb().setWetDryMix(0.0f);
    mixer.setOutputVolume(0.5f);
    std::vector<float> l(1500), r(1500); // spans several mixer blocks
    mixer.render(1500, l.data(), r.data());
    for (int i = 0; i < 1500; ++i)
        ASSERT_FLOAT_EQ(l[std::size_t(i)], i % 2 == 0 ? 0.375f : -0.125f) << i;

    // Fully wet: an impulse comes back later as a finite, decaying tail.
    AudioClip impulse;
    impulse.left.assign(48000, 0.0f);
    impulse.left[0] = 1.0f;
    BufferPlayer pi;
    pi.play(&impulse, false);
    AudioMixer wet(48000.0);
    wet.addInput(&pi);
    wet.reverb().loadPreset(Reverb::Preset::cathedral);
    wet.reverb().setWetDryMix(100.0f);
    std::vector<float> tl(48000 * 4), tr(48000 * 4);
    wet.render(int(tl.size()), tl.data(), tr.data());
    double early = 0.0, late = 0.0;
    for (std::size_t i = 0; i < tl.size(); ++i) {
        ASSERT_TRUE(std::isfinite(tl[i]));
        ASSERT_LT(std::abs(tl[i]), 1.0f);
        (i < 48000 ? early : late) += double(tl[i]) * tl[i] + double(tr[i]) * tr[i];
    }
    EXPECT_GT(early, 0.0);
    EXPECT_LT(late, early);
}

TEST(QtAudioFileDecoder, ResamplesLinearlyToTheOutputRate)
{
    AudioClip clip;
    clip.sampleRate = 24000.0;
    clip.left = {0.0f, 1.0f, 0.0f};
    clip.right = {1.0f, 1.0f, -1.0f};
    QtAudioFileDecoder::resample(clip, 48000.0);
    EXPECT_EQ(clip.sampleRate, 48000.0);
    const std::vector<float> left = {0.0f, 0.5f, 1.0f, 0.5f, 0.0f};
    const std::vector<float> right = {1.0f, 1.0f, 1.0f, 0.0f, -1.0f};
    EXPECT_EQ(clip.left, left);
    EXPECT_EQ(clip.right, right);
}

TEST(AudioMixer, IdlesOnceTheTailHasDiedAndWakesForNewSound)
{
    AudioClip click;
    click.left.assign(480, 0.5f);
    BufferPlayer player;
    AudioMixer mixer(48000.0);
    mixer.addInput(&player);
    mixer.reverb().loadPreset(Reverb::Preset::cathedral);
    mixer.reverb().setWetDryMix(100.0f);
    std::vector<float> l(48000), r(48000);

    player.play(&click, false);
    mixer.render(48000, l.data(), r.data());
    float tail = 0.0f;
    for (int second = 1; second < 12; ++second) {
        mixer.render(48000, l.data(), r.data());
        tail = std::max(tail, std::abs(l[47999]));
    }
    EXPECT_GT(tail, 0.0f); // still rendering the tail within the quiet time
    mixer.render(48000, l.data(), r.data());
    mixer.render(48000, l.data(), r.data());
    EXPECT_TRUE(std::all_of(l.begin(), l.end(), [](float v) { return v == 0.0f; }));

    player.play(&click, false);
    mixer.render(4800, l.data(), r.data());
    EXPECT_TRUE(std::any_of(l.begin(), l.begin() + 4800, [](float v) { return v != 0.0f; }));
}

TEST(PulseAudioOutput, WithoutAServerNothingStartsOrHangs)
{
    // A server address where nothing listens: every call returns at once.
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QByteArray before = qgetenv("PULSE_SERVER");
    qputenv("PULSE_SERVER", "unix:" + dir.filePath(QStringLiteral("none")).toUtf8());
    RampRenderer quiet(0.0f);
    PulseAudioOutput output(AudioUse::cue, "test");
    EXPECT_DOUBLE_EQ(output.sampleRate(), 48000.0);
    output.setRenderer(&quiet);
    EXPECT_FALSE(output.start());
    EXPECT_FALSE(output.isRunning());
    output.reset();
    EXPECT_FALSE(output.start());
    if (before.isNull())
        qunsetenv("PULSE_SERVER");
    else
        qputenv("PULSE_SERVER", before);
}

TEST(QtAudioFileDecoder, DecodesAWaveFileToStereoAtTheOutputRate)
{
    // 0.5 s of a 16-bit mono 24 kHz square-ish ramp.
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("tone.wav"));
    const int frames = 12000;
    QByteArray wav;
    auto u32 = [&](quint32 v) { char b[4]; qToLittleEndian(v, b); wav.append(b, 4); };
    auto u16 = [&](quint16 v) { char b[2]; qToLittleEndian(v, b); wav.append(b, 2); };
    wav.append("RIFF");
    u32(36 + frames * 2);
    wav.append("WAVEfmt ");
    u32(16); u16(1); u16(1); u32(24000); u32(48000); u16(2); u16(16);
    wav.append("data");
    u32(frames * 2);
    for (int i = 0; i < frames; ++i)
        u16(quint16(qint16(i % 100 < 50 ? 16384 : -16384)));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(wav);
    f.close();

    QtAudioFileDecoder decoder;
    std::optional<std::shared_ptr<AudioClip>> result;
    QEventLoop loop;
    decoder.decode(path, 48000.0, [&](std::shared_ptr<AudioClip> clip) {
        result = std::move(clip);
        loop.quit();
    });
    QTimer::singleShot(20000, &loop, &QEventLoop::quit); // a guard against a hung backend, not a measurement
    if (!result)
        loop.exec();
    ASSERT_TRUE(result.has_value());
    if (!*result)
        GTEST_SKIP() << "no media backend able to decode WAV here";
    const AudioClip &clip = **result;
    EXPECT_EQ(clip.sampleRate, 48000.0);
    EXPECT_NEAR(clip.frames(), 2 * frames, 4);
    EXPECT_EQ(clip.left.size(), clip.right.size());
    EXPECT_NEAR(clip.left[10], 0.5f, 1e-3f);
    EXPECT_NEAR(clip.right[10], 0.5f, 1e-3f);
}

// The program's output and decoder come from the audio module, made only
// when first used; without the module they are silent.
TEST(AudioModule, TheModuleIsMadeOnFirstUseAndItsAbsenceIsSilence)
{
    int made = 0;
    RampRenderer ramp(0.5f);
    LazyAudioOutput lazy([&]() -> std::unique_ptr<AudioOutput> {
        ++made;
        return std::make_unique<FakeAudioOutput>();
    });
    lazy.setRenderer(&ramp);
    lazy.reset();
    EXPECT_FALSE(lazy.isRunning());
    EXPECT_EQ(made, 0) << "nothing made before a sound is wanted";
    EXPECT_TRUE(lazy.start());
    EXPECT_EQ(made, 1);
    EXPECT_TRUE(lazy.isRunning());
    lazy.start();
    EXPECT_EQ(made, 1);

    LazyAudioOutput none([] { return std::unique_ptr<AudioOutput>(); });
    EXPECT_DOUBLE_EQ(none.sampleRate(), 48000.0);
    EXPECT_FALSE(none.start());
    EXPECT_FALSE(none.isRunning());
    LazyAudioFileDecoder noDecoder([] { return std::unique_ptr<AudioFileDecoder>(); });
    bool answered = false;
    noDecoder.decode(QStringLiteral("/nowhere.wav"), 48000, [&](std::shared_ptr<AudioClip> clip) {
        answered = true;
        EXPECT_EQ(clip, nullptr);
    });
    EXPECT_TRUE(answered);

    // The module of this build is found and gives a working output.
    std::unique_ptr<AudioOutput> real = AudioModule::loadOutput(AudioUse::background, QStringLiteral("test"));
    ASSERT_NE(real, nullptr);
    EXPECT_FALSE(AudioModule::loadedFrom().isEmpty());
    EXPECT_GT(real->sampleRate(), 0.0);
    EXPECT_NE(AudioModule::loadDecoder(), nullptr);
}
