#include "platform/audio/AudioMixer.h"

#include <algorithm>

AudioMixer::AudioMixer(double sampleRate)
    : m_reverb(sampleRate), m_quietFrames(long((sampleRate > 0.0 ? sampleRate : 48000.0) * quietSeconds))
{
}

bool AudioMixer::addInput(AudioRenderer *input)
{
    if (!input || m_inputCount >= maxInputs)
        return false;
    m_inputs[std::size_t(m_inputCount++)] = input;
    return true;
}

void AudioMixer::render(int frames, float *left, float *right) noexcept
{
    const float volume = outputVolume();
    int done = 0;
    while (done < frames) {
        const int n = std::min(blockFrames, frames - done);
        std::fill_n(m_sumL.begin(), n, 0.0f);
        std::fill_n(m_sumR.begin(), n, 0.0f);
        for (int k = 0; k < m_inputCount; ++k) {
            m_inputs[std::size_t(k)]->render(n, m_inL.data(), m_inR.data());
            for (int i = 0; i < n; ++i) {
                m_sumL[std::size_t(i)] += m_inL[std::size_t(i)];
                m_sumR[std::size_t(i)] += m_inR[std::size_t(i)];
            }
        }
        bool silent = true;
        for (int i = 0; i < n && silent; ++i)
            silent = m_sumL[std::size_t(i)] == 0.0f && m_sumR[std::size_t(i)] == 0.0f;
        m_silentFrames = silent ? m_silentFrames + n : 0;
        if (m_silentFrames > m_quietFrames) {
            // Idle: nothing to play and no tail left; keep the output cheap.
            std::fill_n(left + done, n, 0.0f);
            std::fill_n(right + done, n, 0.0f);
            done += n;
            continue;
        }
        m_reverb.process(n, m_sumL.data(), m_sumR.data());
        for (int i = 0; i < n; ++i) {
            left[done + i] = m_sumL[std::size_t(i)] * volume;
            right[done + i] = m_sumR[std::size_t(i)] * volume;
        }
        done += n;
    }
}
