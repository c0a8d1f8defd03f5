// The bell and an ambience scene played through the real output (a QAudioSink
// on the sound server), heard on the monitor of a private server's null sink.
// This program has a folder of its own, so that nothing in the process has
// reached the sound server before the test points the client library at the
// private one.
#include "platform/audio/AudioModule.h"
#include "sound/Ambience.h"
#include "sound/Chime.h"
#include "support/PrivateSoundServer.h"

#include <QTest>
#include <functional>
#include <gtest/gtest.h>
#include <memory>

namespace {

// Silence on a null sink's monitor is exact zeros; a bell or a scene played
// at the user's full volume is far above this (about -60 dBFS).
constexpr double kFloor = 32.0;

class RealOutputTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        server = std::make_unique<PrivateSoundServer>();
        if (server->isUp()) {
            // Read by the client library when Qt first connects, which is
            // when the first output is made.
            qputenv("PULSE_SERVER", server->address().toUtf8());
            qputenv("PULSE_CLIENTCONFIG", server->clientConfig().toUtf8());
        }
    }
    static void TearDownTestSuite() { server.reset(); }

    void SetUp() override
    {
        if (!server->isUp())
            GTEST_SKIP() << "no sound server could start: " << server->whyNot().toStdString();
    }

    struct Heard
    {
        double before = 0.0; // while nothing played
        double during = 0.0; // while the sound played
        double end = 0.0;    // its last half second
    };

    // Records the sink's monitor: a quiet stretch first, then while play()'s sound runs.
    static Heard hear(const std::function<void()> &play, int milliseconds)
    {
        Heard heard;
        SourceRecording recording(*server, PrivateSoundServer::monitorSource());
        if (!recording.waitFor(300, 5000)) {
            ADD_FAILURE() << recording.whyNot().toStdString();
            return heard;
        }
        heard.before = SourceRecording::rms(recording.take());
        play();
        if (!recording.waitFor(milliseconds, milliseconds + 8000)) {
            ADD_FAILURE() << recording.whyNot().toStdString();
            return heard;
        }
        const QByteArray during = recording.take();
        heard.during = SourceRecording::rms(during);
        // The last half second on its own: an output that stops pulling
        // after its first buffers is heard only at the start.
        const qsizetype tail = qsizetype(SourceRecording::rate) * SourceRecording::channels * 2 / 2;
        heard.end = SourceRecording::rms(during.right(tail));
        return heard;
    }

    static inline std::unique_ptr<PrivateSoundServer> server;
};

TEST_F(RealOutputTest, BellIsHeardOnTheSink)
{
    // The output the program makes: through the audio module, loaded now.
    Chime chime(AudioModule::output());
    bool fellBack = false;
    Chime::setFallbackSound([&] { fellBack = true; });
    const Heard heard = hear([&] { chime.play(ChimeBell::temple); }, 2000);
    Chime::setFallbackSound({});

    EXPECT_FALSE(fellBack) << "the output did not start";
    EXPECT_LT(heard.before, kFloor);
    EXPECT_GT(heard.during, kFloor);
    EXPECT_GT(heard.end, kFloor) << "the bell stopped early";
    RecordProperty("rms", std::to_string(heard.during));
    std::printf("bell: rms %.1f of 32768 over 2 s, %.1f in the last 0.5 s, %.1f before\n", heard.during, heard.end,
                heard.before);
}

TEST_F(RealOutputTest, AmbienceSceneIsHeardOnTheSink)
{
    Ambience ambience(AudioModule::output(), AudioModule::decoder());
    const Heard heard = hear([&] { ambience.start(AmbienceScene::rain, 1.0); }, 3000);

    EXPECT_TRUE(ambience.isPlaying());
    EXPECT_FALSE(ambience.lastError().has_value()) << ambience.lastErrorText().toStdString();
    EXPECT_LT(heard.before, kFloor);
    EXPECT_GT(heard.during, kFloor);
    EXPECT_GT(heard.end, kFloor) << "the scene stopped early";
    RecordProperty("rms", std::to_string(heard.during));
    std::printf("rain: rms %.1f of 32768 over 3 s, %.1f in the last 0.5 s, %.1f before\n", heard.during, heard.end,
                heard.before);
}

} // namespace
