#include "platform/Reverb.h"

#include <algorithm>
#include <cmath>

namespace {

// Delay lengths in samples at 44.1 kHz; the right channel is spread a little
// longer so the two sides decorrelate.
constexpr int combTuning[8] = {1116, 1188, 1277, 1356, 1422, 1491, 1557, 1617};
constexpr int allPassTuning[4] = {556, 441, 341, 225};
constexpr int stereoSpread = 23;
constexpr float inputGain = 0.015f;
constexpr float wetScale = 3.0f;

} // namespace

Reverb::Reverb(double sampleRate)
{
    const double scale = (sampleRate > 0.0 ? sampleRate : 48000.0) / 44100.0;
    for (int ch = 0; ch < 2; ++ch) {
        const int spread = ch * stereoSpread;
        for (int i = 0; i < combCount; ++i)
            m_combs[ch][i].buffer.assign(std::size_t(std::lround((combTuning[i] + spread) * scale)), 0.0f);
        for (int i = 0; i < allPassCount; ++i)
            m_allPasses[ch][i].buffer.assign(std::size_t(std::lround((allPassTuning[i] + spread) * scale)), 0.0f);
    }
    loadPreset(Preset::largeHall2);
}

void Reverb::loadPreset(Preset preset)
{
    float room = 0.0f;
    float width = 1.0f;
    switch (preset) {
    case Preset::largeHall2:
        room = 0.82f;
        m_damp = 0.35f;
        width = 0.9f;
        break;
    case Preset::cathedral:
        room = 0.93f;
        m_damp = 0.22f;
        width = 1.0f;
        break;
    }
    m_feedback = room * 0.28f + 0.7f;
    m_wet1 = wetScale * (width / 2.0f + 0.5f) / 3.0f;
    m_wet2 = wetScale * ((1.0f - width) / 2.0f) / 3.0f;
    for (auto &channel : m_combs) {
        for (Comb &comb : channel) {
            std::fill(comb.buffer.begin(), comb.buffer.end(), 0.0f);
            comb.index = 0;
            comb.store = 0.0f;
        }
    }
    for (auto &channel : m_allPasses) {
        for (AllPass &pass : channel) {
            std::fill(pass.buffer.begin(), pass.buffer.end(), 0.0f);
            pass.index = 0;
        }
    }
}

float Reverb::runChannel(float input, Comb *combs, AllPass *allPasses) noexcept
{
    float out = 0.0f;
    for (int i = 0; i < combCount; ++i) {
        Comb &c = combs[i];
        const float y = c.buffer[std::size_t(c.index)];
        c.store = y * (1.0f - m_damp) + c.store * m_damp;
        c.buffer[std::size_t(c.index)] = input + c.store * m_feedback;
        if (++c.index >= int(c.buffer.size()))
            c.index = 0;
        out += y;
    }
    for (int i = 0; i < allPassCount; ++i) {
        AllPass &a = allPasses[i];
        const float delayed = a.buffer[std::size_t(a.index)];
        a.buffer[std::size_t(a.index)] = out + delayed * 0.5f;
        if (++a.index >= int(a.buffer.size()))
            a.index = 0;
        out = delayed - out;
    }
    return out;
}

void Reverb::process(int frames, float *left, float *right) noexcept
{
    // The mix glides across the block so a scene change does not click.
    const float target = std::clamp(wetDryMix(), 0.0f, 100.0f) / 100.0f;
    const float start = m_lastMix;
    const float stepMix = frames > 0 ? (target - start) / float(frames) : 0.0f;
    for (int i = 0; i < frames; ++i) {
        const float mix = start + stepMix * float(i + 1);
        const float input = (left[i] + right[i]) * inputGain;
        const float wetL = runChannel(input, m_combs[0], m_allPasses[0]);
        const float wetR = runChannel(input, m_combs[1], m_allPasses[1]);
        const float outL = wetL * m_wet1 + wetR * m_wet2;
        const float outR = wetR * m_wet1 + wetL * m_wet2;
        left[i] = left[i] * (1.0f - mix) + outL * mix;
        right[i] = right[i] * (1.0f - mix) + outR * mix;
    }
    m_lastMix = target;
}
