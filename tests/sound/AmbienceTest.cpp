#include "core/L.h"
#include "platform/audio/AudioFileDecoder.h"
#include "platform/audio/AudioMixer.h"
#include "platform/audio/BufferPlayer.h"
#include "platform/fakes/FakeClock.h"
#include "platform/fakes/FakeAudioOutput.h"
#include "sound/Ambience.h"
#include "sound/AmbienceVoice.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// Decodes on request: the test decides when and how a decode ends.
class FakeDecoder : public AudioFileDecoder
{
public:
    void decode(const QString &path, double sampleRate, Done done) override
    {
        ++decodes;
        lastPath = path;
        lastRate = sampleRate;
        pending = std::move(done);
    }
    void cancel() override { pending = nullptr; }

    void finish(std::shared_ptr<AudioClip> clip)
    {
        Done done = std::move(pending);
        pending = nullptr;
        if (done)
            done(std::move(clip));
    }

    int decodes = 0;
    QString lastPath;
    double lastRate = 0.0;
    Done pending;
};

std::shared_ptr<AudioClip> rampClip(int frames)
{
    auto clip = std::make_shared<AudioClip>();
    for (int i = 0; i < frames; ++i) {
        clip->left.push_back(float(i + 1) / float(frames) * 0.5f);
        clip->right.push_back(-float(i + 1) / float(frames) * 0.5f);
    }
    return clip;
}

class AmbienceTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Lang::setForTesting(true);
        Clock::setCurrent(&clock);
        auto out = std::make_unique<FakeAudioOutput>(48000.0);
        auto dec = std::make_unique<FakeDecoder>();
        output = out.get();
        decoder = dec.get();
        ambience = std::make_unique<Ambience>(std::move(out), std::move(dec));
        ASSERT_TRUE(dir.isValid());
        file = QUrl::fromLocalFile(dir.filePath(QStringLiteral("rain.wav")));
        QFile f(file.toLocalFile());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("not decoded by the fake");
    }
    void TearDown() override
    {
        ambience.reset();
        Clock::setCurrent(nullptr);
        Lang::setForTesting(std::nullopt);
    }

    FakeClock clock;
    QTemporaryDir dir;
    QUrl file;
    FakeAudioOutput *output = nullptr;
    FakeDecoder *decoder = nullptr;
    std::unique_ptr<Ambience> ambience;
};

} // namespace

TEST_F(AmbienceTest, SynthesizedSceneStartsTheVoiceAtItsCappedLevel)
{
    ambience->start(AmbienceScene::rain, 1.5);
    EXPECT_TRUE(ambience->isPlaying());
    EXPECT_EQ(ambience->currentScene(), AmbienceScene::rain);
    EXPECT_EQ(ambience->lastError(), std::nullopt);
    ASSERT_NE(ambience->voice(), nullptr);
    EXPECT_FLOAT_EQ(ambience->voice()->target(), 0.55f);
    EXPECT_EQ(ambience->voice()->pendingScene(), AmbienceScene::rain);
    EXPECT_FLOAT_EQ(ambience->mixer()->reverb().wetDryMix(), 26.0f);
    EXPECT_TRUE(output->isRunning());
    output->pull(48000);
    EXPECT_GT(output->pull(4800).peak(), 0.0f);

    ambience->start(AmbienceScene::wind, 0.5);
    EXPECT_FLOAT_EQ(ambience->voice()->target(), 0.275f);
    EXPECT_FLOAT_EQ(ambience->mixer()->reverb().wetDryMix(), 34.0f);
}

TEST_F(AmbienceTest, ZeroOrInvalidVolumeOrSilenceBehavesAsStop)
{
    for (double volume : {0.0, -1.0, std::nan("")}) {
        ambience->start(AmbienceScene::rain, 0.5);
        ambience->start(AmbienceScene::rain, volume);
        EXPECT_FALSE(ambience->isPlaying()) << volume;
        EXPECT_EQ(ambience->voice()->target(), 0.0f) << volume;
    }
    ambience->start(AmbienceScene::rain, 0.5);
    ambience->start(AmbienceScene::silent, 0.5);
    EXPECT_FALSE(ambience->isPlaying());
}

TEST_F(AmbienceTest, StopClosesTheOutputSevenSecondsLaterUnlessStartedAgain)
{
    ambience->start(AmbienceScene::stream, 0.5);
    ambience->stop();
    EXPECT_FALSE(ambience->isPlaying());
    EXPECT_EQ(ambience->voice()->target(), 0.0f);
    clock.advance(6999);
    EXPECT_EQ(output->resetCount(), 0);
    clock.advance(1);
    EXPECT_EQ(output->resetCount(), 1);
    EXPECT_FALSE(output->isRunning());

    // Started again within the delay: never closed; the next start opens it again.
    ambience->start(AmbienceScene::stream, 0.5);
    EXPECT_TRUE(output->isRunning());
    ambience->stop();
    clock.advance(3000);
    ambience->start(AmbienceScene::surf, 0.5);
    clock.advance(20000);
    EXPECT_EQ(output->resetCount(), 1);
    EXPECT_TRUE(ambience->isPlaying());
}

TEST_F(AmbienceTest, PreviewStopsAfterItsTimeUnlessReplaced)
{
    ambience->preview(AmbienceScene::insects, 0.6, std::nullopt, 14.0);
    clock.advance(13999);
    EXPECT_TRUE(ambience->isPlaying());
    clock.advance(1);
    EXPECT_FALSE(ambience->isPlaying());
    clock.advance(7000);
    EXPECT_EQ(output->resetCount(), 1);

    // A start during a preview cancels its end.
    ambience->preview(AmbienceScene::embers, 0.6, std::nullopt, 14.0);
    clock.advance(5000);
    ambience->start(AmbienceScene::heartbeat, 0.6);
    clock.advance(60000);
    EXPECT_TRUE(ambience->isPlaying());
    EXPECT_EQ(ambience->currentScene(), AmbienceScene::heartbeat);
}

TEST_F(AmbienceTest, CustomSceneWithoutAUsableFileReportsWhy)
{
    struct Case
    {
        std::optional<QUrl> file;
        QString message;
    };
    const Case cases[] = {
        {std::nullopt, QStringLiteral("音源が選ばれていません。")},
        {QUrl::fromLocalFile(dir.filePath(QStringLiteral("missing.wav"))), QStringLiteral("この音源は読み込めませんでした。")},
        {QUrl(QStringLiteral("https://example.invalid/a.wav")), QStringLiteral("この音源は読み込めませんでした。")},
    };
    for (const Case &c : cases) {
        ambience->start(AmbienceScene::rain, 0.5);
        ambience->start(AmbienceScene::custom, 0.5, c.file);
        EXPECT_EQ(ambience->lastError(), c.message);
        EXPECT_FALSE(ambience->isPlaying());
        EXPECT_EQ(ambience->currentScene(), AmbienceScene::custom);
        EXPECT_EQ(ambience->voice()->target(), 0.0f);
        EXPECT_FALSE(ambience->filePlayer()->isPlaying());
    }
    EXPECT_EQ(decoder->decodes, 0);
}

TEST_F(AmbienceTest, UserFileLoopsWithoutAGapAndIsDecodedOnce)
{
    ambience->start(AmbienceScene::custom, 1.0, file);
    EXPECT_TRUE(ambience->isPlaying());
    EXPECT_EQ(decoder->decodes, 1);
    EXPECT_EQ(decoder->lastRate, 48000.0);
    EXPECT_FLOAT_EQ(ambience->mixer()->reverb().wetDryMix(), 0.0f);
    // Nothing plays until the decode is done.
    EXPECT_EQ(output->pull(512).peak(), 0.0f);

    const std::shared_ptr<AudioClip> clip = rampClip(100);
    decoder->finish(clip);
    const FakeAudioOutput::Block block = output->pull(350);
    for (int i = 0; i < 350; ++i) {
        ASSERT_FLOAT_EQ(block.left[std::size_t(i)], clip->left[std::size_t(i % 100)]) << i;
        ASSERT_FLOAT_EQ(block.right[std::size_t(i)], clip->right[std::size_t(i % 100)]) << i;
    }

    // The same file again reuses what was decoded; volume goes to the file unscaled.
    ambience->start(AmbienceScene::custom, 1.5, file);
    EXPECT_EQ(decoder->decodes, 1);
    EXPECT_FLOAT_EQ(ambience->filePlayer()->volume(), 1.0f);
    EXPECT_TRUE(ambience->filePlayer()->isPlaying());
}

TEST_F(AmbienceTest, StopFadesTheFileOverEightTenthsOfASecond)
{
    ambience->start(AmbienceScene::custom, 0.8, file);
    decoder->finish(rampClip(1000));
    ambience->stop();
    BufferPlayer *player = ambience->filePlayer();
    clock.advance(400);
    EXPECT_NEAR(player->volume(), 0.8f * 0.5f, 1e-6);
    EXPECT_TRUE(player->isPlaying());
    clock.advance(350);
    EXPECT_TRUE(player->isPlaying());
    clock.advance(50);
    EXPECT_FALSE(player->isPlaying());
    EXPECT_FLOAT_EQ(player->volume(), 1.0f);
}

TEST_F(AmbienceTest, SwitchingFromAFileToASceneStopsTheFileAtOnce)
{
    ambience->start(AmbienceScene::custom, 0.8, file);
    decoder->finish(rampClip(1000));
    ambience->start(AmbienceScene::bell, 0.8);
    EXPECT_FALSE(ambience->filePlayer()->isPlaying());
    clock.advance(1000);
    EXPECT_FLOAT_EQ(ambience->filePlayer()->volume(), 1.0f);
    EXPECT_EQ(ambience->voice()->pendingScene(), AmbienceScene::bell);
}

TEST_F(AmbienceTest, FileThatFailsToDecodeEndsThePlayWithAMessage)
{
    int playingChanges = 0;
    QObject::connect(ambience.get(), &Ambience::isPlayingChanged, [&] { ++playingChanges; });
    ambience->start(AmbienceScene::custom, 0.8, file);
    EXPECT_TRUE(ambience->isPlaying());
    decoder->finish(nullptr);
    EXPECT_FALSE(ambience->isPlaying());
    EXPECT_EQ(ambience->lastError(), QStringLiteral("この音源は読み込めませんでした。"));
    EXPECT_EQ(playingChanges, 2);
    // A later start tries the file again.
    ambience->start(AmbienceScene::custom, 0.8, file);
    EXPECT_EQ(decoder->decodes, 2);
}

TEST(AmbienceWithoutDevice, StaysSilentAndReportsNothing)
{
    FakeClock clock;
    Clock::setCurrent(&clock);
    {
        auto out = std::make_unique<FakeAudioOutput>(48000.0, false);
        FakeAudioOutput *output = out.get();
        Ambience ambience(std::move(out), std::make_unique<FakeDecoder>());
        ambience.start(AmbienceScene::rain, 0.5);
        EXPECT_FALSE(ambience.isPlaying());
        EXPECT_EQ(ambience.lastError(), std::nullopt);
        ambience.preview(AmbienceScene::wind, 0.5, std::nullopt, 14.0);
        clock.advance(30000);
        ambience.stop();
        EXPECT_FALSE(output->isRunning());
        EXPECT_EQ(output->pull(512).peak(), 0.0f);
    }
    Clock::setCurrent(nullptr);
}
