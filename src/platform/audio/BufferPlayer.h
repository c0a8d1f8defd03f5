#pragma once

#include "platform/audio/AudioClip.h"
#include "platform/audio/AudioRenderer.h"

#include <atomic>
#include <cstdint>

// Plays one in-memory clip, once or looped without a gap, at a volume that
// glides across each block so changes never click. A new play() cuts off the
// clip still sounding.
//
// The main thread hands a clip over through atomics; the audio thread marks
// the clip it reads before using it (a hazard pointer), so the main thread
// can tell when an old clip may be freed without any lock.
class BufferPlayer : public AudioRenderer
{
public:
    // Main thread. The clip must stay alive until released(clip) is true.
    void play(const AudioClip *clip, bool loop);
    void stop();
    // Release/acquire: the audio thread that sees a new volume also sees the
    // play() or stop() made before it (stop, then volume 1, never plays the
    // old clip at full volume).
    void setVolume(float volume) { m_volume.store(volume, std::memory_order_release); }
    float volume() const { return m_volume.load(std::memory_order_acquire); }
    // Whether play() was called since the last stop() (the main thread's view).
    bool isPlaying() const { return m_playing; }
    // Whether the audio thread no longer reads clip and never will again.
    bool released(const AudioClip *clip) const;

    void render(int frames, float *left, float *right) noexcept override;

private:
    std::atomic<const AudioClip *> m_requested{nullptr};
    std::atomic<bool> m_loopRequested{false};
    std::atomic<std::uint32_t> m_serial{0};
    std::atomic<const AudioClip *> m_inUse{nullptr};
    std::atomic<float> m_volume{1.0f};
    bool m_playing = false;

    // Audio thread only.
    std::uint32_t m_seenSerial = 0;
    const AudioClip *m_clip = nullptr;
    bool m_loop = false;
    int m_position = 0;
    float m_lastVolume = 1.0f;
};
