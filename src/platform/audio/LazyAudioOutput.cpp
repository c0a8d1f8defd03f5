#include "platform/audio/LazyAudioOutput.h"

LazyAudioOutput::LazyAudioOutput(Make make)
    : m_make(std::move(make))
{
}

LazyAudioOutput::~LazyAudioOutput() = default;

AudioOutput *LazyAudioOutput::real() const
{
    if (!m_made) {
        m_made = true;
        m_real = m_make();
        if (m_real && m_renderer)
            m_real->setRenderer(m_renderer);
    }
    return m_real.get();
}

double LazyAudioOutput::sampleRate() const
{
    AudioOutput *out = real();
    return out ? out->sampleRate() : 48000.0;
}

void LazyAudioOutput::setRenderer(AudioRenderer *renderer)
{
    m_renderer = renderer;
    if (m_real)
        m_real->setRenderer(renderer);
}

bool LazyAudioOutput::start()
{
    AudioOutput *out = real();
    return out && out->start();
}

void LazyAudioOutput::reset()
{
    if (m_real)
        m_real->reset();
}

bool LazyAudioOutput::isRunning() const
{
    return m_real && m_real->isRunning();
}

void LazyAudioOutput::interrupt(const std::function<void()> &change)
{
    if (m_real)
        m_real->interrupt(change);
    else
        change();
}
