// Plays an ambience scene or rings bells through the program's real output,
// for listening and for measuring what sound costs:
//   play_sound --scene bell --seconds 60
//   play_sound --bell Bonsho --rings 6 --every 25 --listen quillmere.monitor
// After the sound it waits until the output has closed, and a little more,
// so that a measurement can see what silence costs. With --listen SOURCE it
// records that source (a null sink's monitor) through parec and reports, for
// each bell, how soon after its moment it was heard and the longest silence
// inside its first seconds.
#include "platform/audio/AudioModule.h"
#include "sound/Ambience.h"
#include "sound/AmbienceScene.h"
#include "sound/Chime.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTimer>
#include <algorithm>
#include <cstdlib>
#include <cstdio>
#include <vector>

namespace {

constexpr int rate = 48000;
constexpr int channels = 2;
constexpr int frameBytes = channels * 2;

// The monitor recording: its bytes, and when each piece of them arrived.
struct Recording
{
    QByteArray bytes;
    QElapsedTimer clock;
    std::vector<std::pair<qint64, qsizetype>> arrivals; // (µs since start, total bytes then)
    // Last, so it goes first: a recorder still running when it goes is
    // waited for, and what it wrote meanwhile still lands in bytes.
    QProcess process;

    void start(const QString &source)
    {
        QObject::connect(&process, &QProcess::readyReadStandardOutput, &process, [this] {
            bytes += process.readAllStandardOutput();
            arrivals.emplace_back(clock.nsecsElapsed() / 1000, bytes.size());
        });
        process.start(QStringLiteral("parec"),
                      {QStringLiteral("--device=") + source, QStringLiteral("--raw"), QStringLiteral("--format=s16le"),
                       QStringLiteral("--rate=%1").arg(rate), QStringLiteral("--channels=%1").arg(channels),
                       QStringLiteral("--latency-msec=5")});
    }

    bool silentFrame(qsizetype frame) const
    {
        const auto *s = reinterpret_cast<const qint16 *>(bytes.constData()) + frame * channels;
        return s[0] == 0 && s[1] == 0;
    }
    int level(qsizetype frame) const
    {
        const auto *s = reinterpret_cast<const qint16 *>(bytes.constData()) + frame * channels;
        return std::max(std::abs(int(s[0])), std::abs(int(s[1])));
    }

    // For a bell rung at atUs (µs on the recording's clock): when its strike
    // arrived, in ms after atUs, and the longest run of silence in the
    // following spanMs. The strike is the first frame after the ring louder
    // than twice what sounded just before it (an earlier bell's echo).
    // Negative when nothing was heard.
    std::pair<double, double> bell(qint64 atUs, int spanMs) const
    {
        // The first byte that arrived after the ring.
        qsizetype from = 0;
        for (const auto &[us, total] : arrivals) {
            if (us >= atUs)
                break;
            from = total;
        }
        const qsizetype frames = bytes.size() / frameBytes;
        qsizetype first = from / frameBytes;
        int before = 0;
        for (qsizetype i = std::max<qsizetype>(0, first - rate / 20); i < std::min(first, frames); ++i)
            before = std::max(before, level(i));
        const int threshold = std::max(2 * before, 64);
        while (first < frames && level(first) <= threshold)
            ++first;
        if (first >= frames)
            return {-1.0, -1.0};
        qint64 heardUs = -1;
        for (const auto &[us, total] : arrivals) {
            if (total / frameBytes > first) {
                heardUs = us;
                break;
            }
        }
        const qsizetype end = std::min(frames, first + qsizetype(spanMs) * rate / 1000);
        qsizetype longest = 0;
        qsizetype run = 0;
        for (qsizetype i = first; i < end; ++i) {
            run = silentFrame(i) ? run + 1 : 0;
            longest = std::max(longest, run);
        }
        return {double(heardUs - atUs) / 1000.0, 1000.0 * double(longest) / rate};
    }
};

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Plays a scene or bells through the real sound output."));
    parser.addHelpOption();
    const QCommandLineOption sceneOption(QStringLiteral("scene"), QStringLiteral("Ambience scene to play."),
                                         QStringLiteral("name"));
    const QCommandLineOption secondsOption(QStringLiteral("seconds"), QStringLiteral("How long the scene plays."),
                                           QStringLiteral("s"), QStringLiteral("30"));
    const QCommandLineOption bellOption(QStringLiteral("bell"), QStringLiteral("Bell to ring (Bonsho, Kansho, ...)."),
                                        QStringLiteral("name"));
    const QCommandLineOption ringsOption(QStringLiteral("rings"), QStringLiteral("How many times."), QStringLiteral("n"),
                                         QStringLiteral("1"));
    const QCommandLineOption everyOption(QStringLiteral("every"), QStringLiteral("Seconds between rings."),
                                         QStringLiteral("s"), QStringLiteral("25"));
    const QCommandLineOption listenOption(QStringLiteral("listen"),
                                          QStringLiteral("Record this source and report when each bell was heard."),
                                          QStringLiteral("source"));
    const QCommandLineOption idleOption(QStringLiteral("idle"),
                                        QStringLiteral("Seconds to stay after the output has closed."),
                                        QStringLiteral("s"), QStringLiteral("2"));
    parser.addOptions({sceneOption, secondsOption, bellOption, ringsOption, everyOption, listenOption, idleOption});
    parser.process(app);

    const int idleMs = int(parser.value(idleOption).toDouble() * 1000.0);
    if (parser.isSet(sceneOption)) {
        const auto scene = AmbienceScenes::fromRawValue(parser.value(sceneOption));
        if (!scene || *scene == AmbienceScene::silent || *scene == AmbienceScene::custom) {
            std::fprintf(stderr, "no such synthesized scene: %s\n", qPrintable(parser.value(sceneOption)));
            return 2;
        }
        Ambience ambience(AudioModule::output(AudioUse::background, QStringLiteral("ambience")), AudioModule::decoder());
        ambience.start(*scene, 1.0);
        if (!ambience.isPlaying()) {
            std::fprintf(stderr, "the scene did not start\n");
            return 1;
        }
        std::printf("playing %s\n", qPrintable(parser.value(sceneOption)));
        std::fflush(stdout);
        const int playMs = int(parser.value(secondsOption).toDouble() * 1000.0);
        QTimer::singleShot(playMs, &app, [&] {
            ambience.stop();
            std::printf("stopped\n");
            std::fflush(stdout);
        });
        QTimer::singleShot(playMs + int(Ambience::closeDelayMs) + 100, &app, [&] {
            std::printf("closed\n");
            std::fflush(stdout);
        });
        QTimer::singleShot(playMs + int(Ambience::closeDelayMs) + 100 + idleMs, &app, &QCoreApplication::quit);
        return app.exec();
    }
    if (!parser.isSet(bellOption)) {
        parser.showHelp(2);
    }
    const auto bell = Chime::Bell::fromName(parser.value(bellOption));
    if (!bell) {
        std::fprintf(stderr, "no such bell: %s\n", qPrintable(parser.value(bellOption)));
        return 2;
    }
    Chime chime(AudioModule::output(AudioUse::cue, QStringLiteral("bell")));
    const AudioClip *clip = chime.buffer(*bell); // rendered before the first ring, as the program does
    const int rings = std::max(1, parser.value(ringsOption).toInt());
    const int everyMs = int(parser.value(everyOption).toDouble() * 1000.0);
    Recording recording;
    const bool listen = parser.isSet(listenOption);
    std::vector<qint64> rungAt;
    const int clipMs = clip ? int(1000.0 * clip->frames() / clip->sampleRate) : 0;
    auto ringAll = [&] {
        for (int i = 0; i < rings; ++i) {
            QTimer::singleShot(i * everyMs, Qt::PreciseTimer, &app, [&, i] {
                rungAt.push_back(recording.clock.nsecsElapsed() / 1000);
                chime.play(*bell);
                std::printf("ring %d\n", i + 1);
                std::fflush(stdout);
            });
        }
        const int lastMs = (rings - 1) * everyMs;
        QTimer::singleShot(lastMs + clipMs + int(Chime::closeDelayMs) + 100, &app, [&] {
            std::printf("closed\n");
            std::fflush(stdout);
            if (!listen)
                return;
            for (std::size_t i = 0; i < rungAt.size(); ++i) {
                const auto [heard, gap] = recording.bell(rungAt[i], std::min(clipMs, 3000));
                if (heard < 0)
                    std::printf("bell %zu: not heard\n", i + 1);
                else
                    std::printf("bell %zu: heard %.1f ms after its moment, longest silence in its first %d ms "
                                "%.2f ms\n",
                                i + 1, heard, std::min(clipMs, 3000), gap);
            }
            std::fflush(stdout);
            recording.process.kill();
            recording.process.waitForFinished(2000);
        });
        QTimer::singleShot(lastMs + clipMs + int(Chime::closeDelayMs) + 100 + idleMs, &app, &QCoreApplication::quit);
    };
    recording.clock.start();
    if (!listen) {
        ringAll();
    } else {
        // The first ring once the recording has run for half a second.
        recording.start(parser.value(listenOption));
        auto *wait = new QTimer(&app);
        QObject::connect(wait, &QTimer::timeout, &app, [&, wait] {
            if (recording.bytes.size() < rate / 2 * frameBytes)
                return;
            wait->stop();
            ringAll();
        });
        wait->start(20);
    }
    return app.exec();
}
