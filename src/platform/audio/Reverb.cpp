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

namespace {

using Lanes = float __attribute__((vector_size(4 * sizeof(float))));
using Picks = int __attribute__((vector_size(4 * sizeof(int))));

Lanes loadLanes(const float *from)
{
    Lanes v;
    __builtin_memcpy(&v, from, sizeof v);
    return v;
}

void storeLanes(float *to, Lanes v) { __builtin_memcpy(to, &v, sizeof v); }

Lanes splat(float v) { return Lanes{v, v, v, v}; }

// Turns four rows of four into four columns: afterwards each ri holds lane i
// of the four rows as they were, {r0[i], r1[i], r2[i], r3[i]}.
void transpose(Lanes &r0, Lanes &r1, Lanes &r2, Lanes &r3)
{
    const Lanes t0 = __builtin_shuffle(r0, r1, Picks{0, 4, 1, 5});
    const Lanes t1 = __builtin_shuffle(r0, r1, Picks{2, 6, 3, 7});
    const Lanes t2 = __builtin_shuffle(r2, r3, Picks{0, 4, 1, 5});
    const Lanes t3 = __builtin_shuffle(r2, r3, Picks{2, 6, 3, 7});
    r0 = __builtin_shuffle(t0, t2, Picks{0, 1, 4, 5});
    r1 = __builtin_shuffle(t0, t2, Picks{2, 3, 6, 7});
    r2 = __builtin_shuffle(t1, t3, Picks{0, 1, 4, 5});
    r3 = __builtin_shuffle(t1, t3, Picks{2, 3, 6, 7});
}

} // namespace

void Reverb::runCombs(int frames) noexcept
{
    // Each comb reads the sound it wrote a delay ago: a block is never longer
    // than the shortest line, so those reads are all from before the block.
    // What the sixteen combs read is copied out in rows, the rows of a
    // channel summed into its wet sound, then the combs' low-passes run side
    // by side, four combs to a vector and four frames at a time (a row of
    // four frames turned into columns and back), and what goes back into
    // each line is copied in. Every step but the low-pass is a plain loop
    // over the block; few stores per frame, which is what bounds this.
    Comb *combs = &m_combs[0][0];
    constexpr int rows = 2 * combCount;
    for (int j = 0; j < rows; ++j) {
        const Comb &comb = combs[j];
        const int first = std::min(frames, int(comb.buffer.size()) - comb.index);
        std::copy_n(comb.buffer.data() + comb.index, first, m_delayed[j]);
        std::copy_n(comb.buffer.data(), frames - first, m_delayed[j] + first);
    }
    const int whole = frames & ~3;
    for (int ch = 0; ch < 2; ++ch) {
        float *wet = m_wet[ch];
        const float(*row)[blockFrames] = m_delayed + ch * combCount;
        for (int k = 0; k < whole; k += 4) {
            Lanes sum{};
            for (int j = 0; j < combCount; ++j)
                sum += loadLanes(row[j] + k);
            storeLanes(wet + k, sum);
        }
        for (int k = whole; k < frames; ++k) {
            float sum = 0.0f;
            for (int j = 0; j < combCount; ++j)
                sum += row[j][k];
            wet[k] = sum;
        }
    }

    const float damp = m_damp;
    const float keep = 1.0f - damp;
    const float feedback = m_feedback;
    constexpr int groups = rows / 4;
    Lanes store[groups];
    for (int g = 0; g < groups; ++g)
        for (int i = 0; i < 4; ++i)
            store[g][i] = combs[4 * g + i].store;
    for (int k = 0; k < whole; k += 4) {
        const Lanes in[4] = {splat(m_input[k]), splat(m_input[k + 1]), splat(m_input[k + 2]), splat(m_input[k + 3])};
        for (int g = 0; g < groups; ++g) {
            float(*row)[blockFrames] = m_delayed + 4 * g;
            Lanes c[4] = {loadLanes(row[0] + k), loadLanes(row[1] + k), loadLanes(row[2] + k), loadLanes(row[3] + k)};
            transpose(c[0], c[1], c[2], c[3]);
            Lanes s = store[g];
            for (int i = 0; i < 4; ++i) {
                s = s * damp + c[i] * keep;
                c[i] = in[i] + s * feedback;
            }
            store[g] = s;
            transpose(c[0], c[1], c[2], c[3]);
            for (int i = 0; i < 4; ++i)
                storeLanes(row[i] + k, c[i]);
        }
    }
    for (int g = 0; g < groups; ++g) {
        for (int i = 0; i < 4; ++i) {
            float s = store[g][i];
            float *row = m_delayed[4 * g + i];
            for (int k = whole; k < frames; ++k) {
                s = s * damp + row[k] * keep;
                row[k] = m_input[k] + s * feedback;
            }
            combs[4 * g + i].store = s;
        }
    }

    for (int j = 0; j < rows; ++j) {
        Comb &comb = combs[j];
        const int first = std::min(frames, int(comb.buffer.size()) - comb.index);
        std::copy_n(m_delayed[j], first, comb.buffer.data() + comb.index);
        std::copy_n(m_delayed[j] + first, frames - first, comb.buffer.data());
        comb.index = first < frames ? frames - first : comb.index + frames;
        if (comb.index >= int(comb.buffer.size()))
            comb.index = 0;
    }
}

void Reverb::runAllPasses(int frames, float *out, AllPass *allPasses) noexcept
{
    // The four all-passes in series, frame by frame, over stretches in which
    // no line wraps: the sound goes through all four in registers.
    static_assert(allPassCount == 4);
    for (int i = 0; i < frames;) {
        int run = frames - i;
        for (int a = 0; a < allPassCount; ++a)
            run = std::min(run, int(allPasses[a].buffer.size()) - allPasses[a].index);
        float *__restrict l0 = allPasses[0].buffer.data() + allPasses[0].index;
        float *__restrict l1 = allPasses[1].buffer.data() + allPasses[1].index;
        float *__restrict l2 = allPasses[2].buffer.data() + allPasses[2].index;
        float *__restrict l3 = allPasses[3].buffer.data() + allPasses[3].index;
        float *__restrict o = out + i;
        for (int k = 0; k < run; ++k) {
            const float x0 = o[k];
            const float d0 = l0[k];
            l0[k] = x0 + d0 * 0.5f;
            const float x1 = d0 - x0;
            const float d1 = l1[k];
            l1[k] = x1 + d1 * 0.5f;
            const float x2 = d1 - x1;
            const float d2 = l2[k];
            l2[k] = x2 + d2 * 0.5f;
            const float x3 = d2 - x2;
            const float d3 = l3[k];
            l3[k] = x3 + d3 * 0.5f;
            o[k] = d3 - x3;
        }
        i += run;
        for (int a = 0; a < allPassCount; ++a) {
            allPasses[a].index += run;
            if (allPasses[a].index >= int(allPasses[a].buffer.size()))
                allPasses[a].index = 0;
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
