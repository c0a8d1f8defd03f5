#include "platform/audio/LazyAudioFileDecoder.h"

LazyAudioFileDecoder::LazyAudioFileDecoder(Make make)
    : m_make(std::move(make))
{
}

LazyAudioFileDecoder::~LazyAudioFileDecoder() = default;

void LazyAudioFileDecoder::decode(const QString &path, double sampleRate, Done done)
{
    if (!m_made) {
        m_made = true;
        m_real = m_make();
    }
    if (m_real)
        m_real->decode(path, sampleRate, std::move(done));
    else if (done)
        done(nullptr);
}

void LazyAudioFileDecoder::cancel()
{
    if (m_real)
        m_real->cancel();
}
