#pragma once

#include "platform/audio/AudioRenderer.h"
#include "platform/audio/Reverb.h"

#include <array>
#include <atomic>

// Sums a few inputs, runs them through one reverb and scales the result by
// the output volume. Inputs are added while the output is stopped; rendering
// works in blocks on buffers made up front.
class AudioMixer : public AudioRenderer
{
public:
    static constexpr int maxInputs = 4;
    static constexpr int blockFrames = 512;

    explicit AudioMixer(double sampleRate);

    // After this much silence from every input the reverb tail has died away
    // (below -120 dB), and the mixer outputs zeros without running it.
    static constexpr double quietSeconds = 12.0;

    // False when the mixer is full.
    bool addInput(AudioRenderer *input);
    Reverb &reverb() { return m_reverb; }
    void setOutputVolume(float volume) { m_volume.store(volume, std::memory_order_relaxed); }
    float outputVolume() const { return m_volume.load(std::memory_order_relaxed); }

    void render(int frames, float *left, float *right) noexcept override;

private:
    std::array<AudioRenderer *, maxInputs> m_inputs{};
    int m_inputCount = 0;
    Reverb m_reverb;
    std::atomic<float> m_volume{1.0f};
    const long m_quietFrames;
    long m_silentFrames = 0;
    std::array<float, blockFrames> m_sumL{};
    std::array<float, blockFrames> m_sumR{};
    std::array<float, blockFrames> m_inL{};
    std::array<float, blockFrames> m_inR{};
};
