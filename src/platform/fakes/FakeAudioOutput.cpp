#include "platform/fakes/FakeAudioOutput.h"

#include "platform/audio/AudioRenderer.h"
#include "platform/audio/DenormalFlush.h"

#include <algorithm>
#include <cmath>

bool FakeAudioOutput::start()
{
    ++m_starts;
    m_running = m_hasDevice;
    return m_running;
}

void FakeAudioOutput::reset()
{
    ++m_resets;
    m_running = false;
}

void FakeAudioOutput::interrupt(const std::function<void()> &change)
{
    ++m_interrupts;
    change();
}

FakeAudioOutput::Block FakeAudioOutput::pull(int frames)
{
    Block block;
    block.left.assign(std::size_t(frames), 0.0f);
    block.right.assign(std::size_t(frames), 0.0f);
    if (m_running && m_renderer) {
        ScopedDenormalFlush flush;
        m_renderer->render(frames, block.left.data(), block.right.data());
    }
    return block;
}

float FakeAudioOutput::Block::peak() const
{
    float peak = 0.0f;
    for (float v : left)
        peak = std::max(peak, std::abs(v));
    for (float v : right)
        peak = std::max(peak, std::abs(v));
    return peak;
}
