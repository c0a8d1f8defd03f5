#include "platform/audio/module/AudioPullDevice.h"

#include "platform/audio/AudioRenderer.h"
#include "platform/audio/DenormalFlush.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

AudioPullDevice::AudioPullDevice(const QAudioFormat &format, AudioRenderer *renderer, QObject *parent)
    : QIODevice(parent), m_format(format), m_renderer(renderer)
{
}

qint64 AudioPullDevice::bytesAvailable() const
{
    // Synthesized sound never runs dry.
    return qint64(blockFrames) * m_format.bytesPerFrame() + QIODevice::bytesAvailable();
}

qint64 AudioPullDevice::readData(char *data, qint64 maxSize)
{
    const int bytesPerFrame = m_format.bytesPerFrame();
    if (bytesPerFrame <= 0)
        return 0;
    const qint64 frames = maxSize / bytesPerFrame;
    fill(data, frames);
    return frames * bytesPerFrame;
}

namespace {

template<typename T>
void put(char *at, T value)
{
    std::memcpy(at, &value, sizeof value);
}

void writeSample(char *at, QAudioFormat::SampleFormat format, float value)
{
    const float v = std::clamp(value, -1.0f, 1.0f);
    switch (format) {
    case QAudioFormat::UInt8: put(at, std::uint8_t(std::lround((v + 1.0f) * 127.5f))); break;
    case QAudioFormat::Int16: put(at, std::int16_t(std::lround(v * 32767.0f))); break;
    case QAudioFormat::Int32: put(at, std::int32_t(std::llround(double(v) * 2147483647.0))); break;
    case QAudioFormat::Float: put(at, v); break;
    default: break;
    }
}

} // namespace

void AudioPullDevice::fill(char *data, qint64 frames)
{
    ScopedDenormalFlush flush;
    const int channels = m_format.channelCount();
    const int bytesPerSample = m_format.bytesPerSample();
    const QAudioFormat::SampleFormat sampleFormat = m_format.sampleFormat();
    qint64 done = 0;
    while (done < frames) {
        const int n = int(std::min<qint64>(blockFrames, frames - done));
        if (m_renderer) {
            m_renderer->render(n, m_left.data(), m_right.data());
        } else {
            std::fill_n(m_left.begin(), n, 0.0f);
            std::fill_n(m_right.begin(), n, 0.0f);
        }
        char *out = data + done * qint64(channels) * bytesPerSample;
        for (int i = 0; i < n; ++i) {
            for (int c = 0; c < channels; ++c) {
                float v = 0.0f;
                if (channels == 1)
                    v = 0.5f * (m_left[i] + m_right[i]);
                else if (c == 0)
                    v = m_left[i];
                else if (c == 1)
                    v = m_right[i];
                writeSample(out, sampleFormat, v);
                out += bytesPerSample;
            }
        }
        done += n;
    }
}
