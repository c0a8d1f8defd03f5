#include "platform/audio/module/QtAudioFileDecoder.h"

#include <QAudioBuffer>
#include <QAudioDecoder>
#include <QUrl>
#include <cmath>

QtAudioFileDecoder::QtAudioFileDecoder(QObject *parent) : QObject(parent) {}

QtAudioFileDecoder::~QtAudioFileDecoder() { cancel(); }

void QtAudioFileDecoder::cancel()
{
    if (m_decoder) {
        m_decoder->disconnect(this);
        m_decoder->stop();
        m_decoder.reset();
    }
    m_clip.reset();
    m_done = nullptr;
}

void QtAudioFileDecoder::decode(const QString &path, double sampleRate, Done done)
{
    cancel();
    m_clip = std::make_shared<AudioClip>();
    m_sourceRate = 0.0;
    m_targetRate = sampleRate;
    m_done = std::move(done);
    m_decoder = std::make_unique<QAudioDecoder>();
    connect(m_decoder.get(), &QAudioDecoder::bufferReady, this, &QtAudioFileDecoder::readBuffers);
    connect(m_decoder.get(), &QAudioDecoder::finished, this, [this] {
        readBuffers();
        finish(true);
    });
    connect(m_decoder.get(), qOverload<QAudioDecoder::Error>(&QAudioDecoder::error), this,
            [this](QAudioDecoder::Error) { finish(false); });
    m_decoder->setSource(QUrl::fromLocalFile(path));
    m_decoder->start();
}

void QtAudioFileDecoder::readBuffers()
{
    if (!m_decoder || !m_clip)
        return;
    while (m_decoder->bufferAvailable()) {
        const QAudioBuffer buffer = m_decoder->read();
        const QAudioFormat format = buffer.format();
        const int channels = format.channelCount();
        const int bytesPerSample = format.bytesPerSample();
        if (!buffer.isValid() || channels <= 0 || bytesPerSample <= 0)
            continue;
        if (m_sourceRate <= 0.0)
            m_sourceRate = format.sampleRate();
        const char *data = buffer.constData<char>();
        const qsizetype frames = buffer.frameCount();
        m_clip->left.reserve(m_clip->left.size() + std::size_t(frames));
        m_clip->right.reserve(m_clip->right.size() + std::size_t(frames));
        for (qsizetype i = 0; i < frames; ++i) {
            const char *frame = data + i * channels * bytesPerSample;
            const float l = format.normalizedSampleValue(frame);
            const float r = channels > 1 ? format.normalizedSampleValue(frame + bytesPerSample) : l;
            m_clip->left.push_back(l);
            m_clip->right.push_back(r);
        }
    }
}

void QtAudioFileDecoder::finish(bool ok)
{
    std::shared_ptr<AudioClip> clip = std::move(m_clip);
    Done done = std::move(m_done);
    if (m_decoder) {
        m_decoder->disconnect(this);
        m_decoder.release()->deleteLater();
    }
    if (!done)
        return;
    if (!ok || !clip || clip->left.empty() || m_sourceRate <= 0.0) {
        done(nullptr);
        return;
    }
    clip->sampleRate = m_sourceRate;
    resample(*clip, m_targetRate);
    done(std::move(clip));
}

void QtAudioFileDecoder::resample(AudioClip &clip, double toRate)
{
    if (toRate <= 0.0 || clip.sampleRate <= 0.0 || clip.sampleRate == toRate || clip.left.empty()) {
        if (toRate > 0.0)
            clip.sampleRate = toRate;
        return;
    }
    const double step = clip.sampleRate / toRate;
    const std::size_t inFrames = clip.left.size();
    const auto outFrames = std::size_t(std::floor(double(inFrames - 1) / step)) + 1;
    auto convert = [&](const std::vector<float> &in) {
        std::vector<float> out(outFrames);
        for (std::size_t i = 0; i < outFrames; ++i) {
            const double pos = double(i) * step;
            const auto j = std::size_t(pos);
            const double frac = pos - double(j);
            const float a = in[j];
            const float b = j + 1 < inFrames ? in[j + 1] : a;
            out[i] = float(a + (b - a) * frac);
        }
        return out;
    };
    clip.left = convert(clip.left);
    if (!clip.right.empty())
        clip.right = convert(clip.right);
    clip.sampleRate = toRate;
}
