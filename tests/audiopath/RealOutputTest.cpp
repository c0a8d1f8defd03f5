// The bell and an ambience scene played through the real output (a stream
// on the sound server), heard on the monitor of a private server's null sink.
// This program has a folder of its own, so that nothing in the process has
// reached the sound server before the test points the client library at the
// private one.
#include "platform/audio/AudioModule.h"
#include "platform/audio/AudioRenderer.h"
#include "sound/Ambience.h"
#include "sound/Chime.h"
#include "support/PrivateSoundServer.h"

#include <QProcess>
#include <QElapsedTimer>
#include <QRegularExpression>
#include <QTest>
#include <algorithm>
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
        double longestGapMs = 0.0; // the longest silence once the sound began
    };

    // What pactl says about the private server.
    static QString pactl(const QStringList &arguments)
    {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("PULSE_CLIENTCONFIG"), server->clientConfig());
        process.setProcessEnvironment(env);
        process.start(QStringLiteral("pactl"), QStringList{QStringLiteral("--server=") + server->address()} + arguments);
        if (!process.waitForFinished(5000)) {
            process.kill();
            process.waitForFinished(5000);
        }
        return QString::fromUtf8(process.readAllStandardOutput());
    }

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
        heard.longestGapMs = longestGapMs(during);
        return heard;
    }

    // The longest run of frames of exact silence between the first sound and
    // the end: the server had nothing to play there.
    static double longestGapMs(const QByteArray &samples)
    {
        const auto *data = reinterpret_cast<const qint16 *>(samples.constData());
        const qsizetype frames = samples.size() / (2 * SourceRecording::channels);
        qsizetype longest = 0;
        qsizetype run = 0;
        bool begun = false;
        for (qsizetype i = 0; i < frames; ++i) {
            const bool silent = data[2 * i] == 0 && data[2 * i + 1] == 0;
            if (!silent) {
                begun = true;
                run = 0;
            } else if (begun) {
                longest = std::max(longest, ++run);
            }
        }
        return 1000.0 * double(longest) / SourceRecording::rate;
    }

    static inline std::unique_ptr<PrivateSoundServer> server;
};

TEST_F(RealOutputTest, BellIsHeardOnTheSink)
{
    // The output the program makes: through the audio module, loaded now.
    Chime chime(AudioModule::output(AudioUse::cue, QStringLiteral("bell")));
    bool fellBack = false;
    Chime::setFallbackSound([&] { fellBack = true; });
    const Heard heard = hear([&] { chime.play(ChimeBell::temple); }, 2000);
    Chime::setFallbackSound({});

    EXPECT_FALSE(fellBack) << "the output did not start";
    EXPECT_LT(heard.before, kFloor);
    EXPECT_GT(heard.during, kFloor);
    EXPECT_GT(heard.end, kFloor) << "the bell stopped early";
    // A zero crossing is a sample or two; a run of a quarter millisecond is
    // the server running out of sound.
    EXPECT_LT(heard.longestGapMs, 0.25) << "a gap in the bell";
    RecordProperty("rms", std::to_string(heard.during));
    std::printf("bell: rms %.1f of 32768 over 2 s, %.1f in the last 0.5 s, %.1f before\n", heard.during, heard.end,
                heard.before);
}

TEST_F(RealOutputTest, AmbienceSceneIsHeardOnTheSink)
{
    Ambience ambience(AudioModule::output(AudioUse::background, QStringLiteral("ambience")), AudioModule::decoder());
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

namespace {

// Renders silence, which the server plays as well as any sound.
class Quiet : public AudioRenderer
{
public:
    void render(int frames, float *left, float *right) noexcept override
    {
        std::fill_n(left, frames, 0.0f);
        std::fill_n(right, frames, 0.0f);
    }
};

// How many milliseconds of sound the (one) stream listed holds ahead: the
// buffer latency PulseAudio reports, or where the server says 0 there (as
// PipeWire's pulse server does) the target length the stream asked for, in
// bytes of its sample format. 0 when neither is told.
double bufferedMs(const QString &inputs)
{
    const QRegularExpressionMatch latency = QRegularExpression(QStringLiteral("Buffer Latency: (\\d+) usec")).match(inputs);
    if (latency.hasMatch() && latency.captured(1).toDouble() > 0)
        return latency.captured(1).toDouble() / 1000.0;
    // The stream's sample format as the server lists it ("float32le 2ch 48000Hz").
    const QRegularExpressionMatch format =
        QRegularExpression(QStringLiteral(" (float32|s16|s32)\\w* (\\d+)ch (\\d+)Hz")).match(inputs);
    const QRegularExpressionMatch target =
        QRegularExpression(QStringLiteral("pulse\\.attr\\.tlength = \"(\\d+)\"")).match(inputs);
    if (!format.hasMatch() || !target.hasMatch())
        return 0;
    const double sampleBytes = format.captured(1) == QStringLiteral("s16") ? 2 : 4;
    const double bytesPerMs = sampleBytes * format.captured(2).toDouble() * format.captured(3).toDouble() / 1000.0;
    return target.captured(1).toDouble() / bytesPerMs;
}

} // namespace

// A volume mixer shows the program's name and icon and what the stream plays;
// background sound is held a few hundred milliseconds ahead; a closed output
// leaves no stream and no connection behind.
TEST_F(RealOutputTest, StreamsCarryTheProgramsNameAndCloseWithoutATrace)
{
    Quiet quiet;
    for (AudioUse use : {AudioUse::background, AudioUse::cue}) {
        const QString name = use == AudioUse::background ? QStringLiteral("音の景色") : QStringLiteral("鐘");
        SCOPED_TRACE(name.toStdString());
        std::unique_ptr<AudioOutput> output = AudioModule::output(use, name);
        output->setRenderer(&quiet);
        ASSERT_TRUE(output->start());
        // How far ahead the stream is held, once the server has told it.
        QString inputs;
        double ms = 0;
        QElapsedTimer waited;
        waited.start();
        do {
            QTest::qWait(100);
            inputs = pactl({QStringLiteral("list"), QStringLiteral("sink-inputs")});
            ms = bufferedMs(inputs);
        } while (ms == 0 && waited.elapsed() < 3000);
        EXPECT_TRUE(inputs.contains(QStringLiteral("application.name = \"Quillmere\""))) << inputs.toStdString();
        EXPECT_TRUE(inputs.contains(QStringLiteral("application.icon_name = \"quillmere\"")));
        EXPECT_TRUE(inputs.contains(QStringLiteral("media.name = \"%1\"").arg(name)));
        ASSERT_GT(ms, 0.0) << "the server never told how far ahead the stream is held\n" << inputs.toStdString();
        if (use == AudioUse::background)
            EXPECT_GT(ms, 200.0);
        else
            EXPECT_LT(ms, 250.0);
        std::printf("%s: buffer latency %.0f ms\n", qPrintable(name), ms);

        output->reset();
        EXPECT_FALSE(output->isRunning());
        QTest::qWait(100);
        EXPECT_FALSE(pactl({QStringLiteral("list"), QStringLiteral("sink-inputs")}).contains(QStringLiteral("Quillmere")));
        EXPECT_FALSE(pactl({QStringLiteral("list"), QStringLiteral("clients")}).contains(QStringLiteral("Quillmere")));
    }
}
