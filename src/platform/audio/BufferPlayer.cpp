#include "platform/audio/BufferPlayer.h"

#include <algorithm>

void BufferPlayer::play(const AudioClip *clip, bool loop)
{
    m_loopRequested.store(loop, std::memory_order_seq_cst);
    m_requested.store(clip, std::memory_order_seq_cst);
    m_serial.fetch_add(1, std::memory_order_seq_cst);
    m_playing = clip != nullptr;
}

void BufferPlayer::stop()
{
    m_requested.store(nullptr, std::memory_order_seq_cst);
    m_serial.fetch_add(1, std::memory_order_seq_cst);
    m_playing = false;
}

bool BufferPlayer::released(const AudioClip *clip) const
{
    return m_requested.load(std::memory_order_seq_cst) != clip && m_inUse.load(std::memory_order_seq_cst) != clip;
}

void BufferPlayer::render(int frames, float *left, float *right) noexcept
{
    // The volume is read before the clip: see setVolume().
    const float target = volume();
    const std::uint32_t serial = m_serial.load(std::memory_order_seq_cst);
    if (serial != m_seenSerial) {
        // Publish the clip before trusting it: if the main thread swapped it
        // meanwhile, take the newer one, so a clip it sees as released is
        // never picked up again.
        const AudioClip *clip = m_requested.load(std::memory_order_seq_cst);
        for (;;) {
            m_inUse.store(clip, std::memory_order_seq_cst);
            const AudioClip *again = m_requested.load(std::memory_order_seq_cst);
            if (again == clip)
                break;
            clip = again;
        }
        m_clip = clip;
        m_loop = m_loopRequested.load(std::memory_order_seq_cst);
        m_position = 0;
        m_seenSerial = serial;
    }

    const float start = m_lastVolume;
    const float step = frames > 0 ? (target - start) / float(frames) : 0.0f;
    m_lastVolume = target;

    int i = 0;
    if (m_clip && m_clip->frames() > 0) {
        const float *srcL = m_clip->left.data();
        const float *srcR = m_clip->rightChannel();
        const int length = m_clip->frames();
        while (i < frames) {
            if (m_position >= length) {
                if (!m_loop) {
                    m_clip = nullptr;
                    m_inUse.store(nullptr, std::memory_order_seq_cst);
                    break;
                }
                m_position = 0;
            }
            const int n = std::min(frames - i, length - m_position);
            for (int k = 0; k < n; ++k) {
                const float g = start + step * float(i + k + 1);
                left[i + k] = srcL[m_position + k] * g;
                right[i + k] = srcR[m_position + k] * g;
            }
            i += n;
            m_position += n;
        }
    }
    for (; i < frames; ++i) {
        left[i] = 0.0f;
        right[i] = 0.0f;
    }
}
