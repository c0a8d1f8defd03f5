#include "platform/audio/Reverb.h"

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

void Reverb::runCombs(int frames) noexcept
{
    // Each comb reads the sound it wrote a delay ago: a block is never longer
    // than the shortest line, so those reads are all from before the block,
    // and each step below is a plain loop over the block except the comb's
    // low-pass, whose sixteen filters run side by side sample by sample.
    Comb *combs = &m_combs[0][0];
    constexpr int rows = 2 * combCount;
    const float damp = m_damp;
    const float keep = 1.0f - damp;
    // What each comb reads back: summed into its channel's wet sound, and
    // kept, scaled for its low-pass, in a row of its own.
    std::fill_n(m_wet[0], frames, 0.0f);
    std::fill_n(m_wet[1], frames, 0.0f);
    for (int j = 0; j < rows; ++j) {
        const Comb &comb = combs[j];
        float *__restrict wet = m_wet[j / combCount];
        float *__restrict row = m_delayed[j];
        const int size = int(comb.buffer.size());
        const int first = std::min(frames, size - comb.index);
        const float *__restrict from = comb.buffer.data() + comb.index;
        for (int k = 0; k < first; ++k) {
            wet[k] += from[k];
            row[k] = from[k] * keep;
        }
        from = comb.buffer.data() - first;
        for (int k = first; k < frames; ++k) {
            wet[k] += from[k];
            row[k] = from[k] * keep;
        }
    }
    float store[rows];
    for (int j = 0; j < rows; ++j)
        store[j] = combs[j].store;
    for (int k = 0; k < frames; ++k) {
        for (int j = 0; j < rows; ++j) {
            store[j] = store[j] * damp + m_delayed[j][k];
            m_delayed[j][k] = store[j];
        }
    }
    const float feedback = m_feedback;
    for (int j = 0; j < rows; ++j) {
        Comb &comb = combs[j];
        comb.store = store[j];
        const int size = int(comb.buffer.size());
        float *line = comb.buffer.data();
        const float *s = m_delayed[j];
        for (int i = 0; i < frames;) {
            const int run = std::min(frames - i, size - comb.index);
            float *to = line + comb.index;
            for (int k = 0; k < run; ++k)
                to[k] = m_input[i + k] + s[i + k] * feedback;
            i += run;
            comb.index += run;
            if (comb.index >= size)
                comb.index = 0;
        }
    }
}

void Reverb::runAllPasses(int frames, float *out, AllPass *allPasses) noexcept
{
    for (int a = 0; a < allPassCount; ++a) {
        AllPass &pass = allPasses[a];
        float *buffer = pass.buffer.data();
        const int size = int(pass.buffer.size());
        for (int i = 0; i < frames;) {
            const int run = std::min(frames - i, size - pass.index);
            float *__restrict line = buffer + pass.index;
            float *__restrict o = out + i;
            for (int k = 0; k < run; ++k) {
                const float delayed = line[k];
                line[k] = o[k] + delayed * 0.5f;
                o[k] = delayed - o[k];
            }
            i += run;
            pass.index += run;
            if (pass.index >= size)
                pass.index = 0;
        }
    }
}

void Reverb::process(int frames, float *left, float *right) noexcept
{
    // The mix glides across the call so a scene change does not click.
    const float target = std::clamp(wetDryMix(), 0.0f, 100.0f) / 100.0f;
    const float start = m_lastMix;
    const float stepMix = frames > 0 ? (target - start) / float(frames) : 0.0f;
    m_lastMix = target;
    for (int done = 0; done < frames; done += blockFrames) {
        const int n = std::min(blockFrames, frames - done);
        float *l = left + done;
        float *r = right + done;
        for (int i = 0; i < n; ++i)
            m_input[i] = (l[i] + r[i]) * inputGain;
        runCombs(n);
        runAllPasses(n, m_wet[0], m_allPasses[0]);
        runAllPasses(n, m_wet[1], m_allPasses[1]);
        for (int i = 0; i < n; ++i) {
            const float mix = start + stepMix * float(done + i + 1);
            const float outL = m_wet[0][i] * m_wet1 + m_wet[1][i] * m_wet2;
            const float outR = m_wet[1][i] * m_wet1 + m_wet[0][i] * m_wet2;
            l[i] = l[i] * (1.0f - mix) + outL * mix;
            r[i] = r[i] * (1.0f - mix) + outR * mix;
        }
    }
}
