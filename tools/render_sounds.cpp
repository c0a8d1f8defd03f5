// Renders every ambience scene and every bell to WAV files for listening:
//   render_sounds <folder> [seconds per scene, default 30]
// Scenes go through the same voice, mixer and reverb as the player.
#include "platform/audio/AudioMixer.h"
#include "sound/AmbienceScene.h"
#include "sound/AmbienceVoice.h"
#include "sound/Chime.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QtEndian>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

namespace {

constexpr double sampleRate = 48000.0;

// 16-bit stereo PCM WAV from interleaved samples.
bool writeWav(const QString &path, const std::vector<float> &interleaved)
{
    QByteArray data;
    data.reserve(qsizetype(interleaved.size() * 2 + 44));
    auto u32 = [&](quint32 v) {
        char b[4];
        qToLittleEndian(v, b);
        data.append(b, 4);
    };
    auto u16 = [&](quint16 v) {
        char b[2];
        qToLittleEndian(v, b);
        data.append(b, 2);
    };
    const quint32 bytes = quint32(interleaved.size() * 2);
    data.append("RIFF");
    u32(36 + bytes);
    data.append("WAVEfmt ");
    u32(16);
    u16(1);
    u16(2);
    u32(quint32(sampleRate));
    u32(quint32(sampleRate) * 4);
    u16(4);
    u16(16);
    data.append("data");
    u32(bytes);
    for (float v : interleaved)
        u16(quint16(qint16(std::lround(std::clamp(v, -1.0f, 1.0f) * 32767.0f))));
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(data) == data.size();
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: render_sounds <folder> [seconds per scene]\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    const double seconds = argc > 2 ? std::max(1.0, std::atof(argv[2])) : 30.0;
    if (!QDir().mkpath(folder)) {
        std::fprintf(stderr, "cannot make %s\n", argv[1]);
        return 1;
    }

    int failures = 0;
    for (AmbienceScene scene : AmbienceScenes::all) {
        if (scene == AmbienceScene::silent || scene == AmbienceScene::custom)
            continue;
        AmbienceVoice voice(sampleRate);
        AudioMixer mixer(sampleRate);
        mixer.addInput(&voice);
        mixer.reverb().setWetDryMix(AmbienceScenes::reverbMix(scene));
        voice.setPendingScene(scene);
        voice.setTarget(0.55f);
        const int frames = int(seconds * sampleRate);
        std::vector<float> out(std::size_t(frames) * 2);
        std::vector<float> left(AudioMixer::blockFrames);
        std::vector<float> right(AudioMixer::blockFrames);
        for (int done = 0; done < frames; done += AudioMixer::blockFrames) {
            const int n = std::min(AudioMixer::blockFrames, frames - done);
            mixer.render(n, left.data(), right.data());
            for (int i = 0; i < n; ++i) {
                out[std::size_t(done + i) * 2] = left[std::size_t(i)];
                out[std::size_t(done + i) * 2 + 1] = right[std::size_t(i)];
            }
        }
        const QString path = folder + QStringLiteral("/scene-") + AmbienceScenes::rawValue(scene) + QStringLiteral(".wav");
        failures += writeWav(path, out) ? 0 : 1;
        std::printf("%s\n", qPrintable(path));
    }

    for (Chime::Bell bell : Chime::Bell::all()) {
        const std::vector<double> mono = Chime::render(bell, sampleRate);
        std::vector<float> out(mono.size() * 2);
        for (std::size_t i = 0; i < mono.size(); ++i)
            out[i * 2] = out[i * 2 + 1] = float(mono[i]);
        const QString path = folder + QStringLiteral("/bell-") + bell.name() + QStringLiteral(".wav");
        failures += writeWav(path, out) ? 0 : 1;
        std::printf("%s\n", qPrintable(path));
    }
    return failures == 0 ? 0 : 1;
}
