#pragma once

#include <atomic>
#include <vector>

// A stereo room reverb (parallel damped combs into series all-passes, per
// channel) with a wet/dry mix in percent, processed in place. Delay lines are
// made in the constructor and on a preset change, never while rendering.
class Reverb
{
public:
    enum class Preset { largeHall2, cathedral };

    explicit Reverb(double sampleRate);

    // Main thread, before the output starts (re-sizes nothing, resets the tail).
    void loadPreset(Preset preset);
    // 0 = dry only, 100 = wet only. Any thread.
    void setWetDryMix(float percent) { m_mix.store(percent, std::memory_order_relaxed); }
    float wetDryMix() const { return m_mix.load(std::memory_order_relaxed); }

    // Audio thread.
    void process(int frames, float *left, float *right) noexcept;

private:
    struct Comb
    {
        std::vector<float> buffer;
        int index = 0;
        float store = 0.0f;
    };
    struct AllPass
    {
        std::vector<float> buffer;
        int index = 0;
    };
    static constexpr int combCount = 8;
    static constexpr int allPassCount = 4;

    // At most the shortest delay line, so that within a block every filter
    // reads only what was written before the block.
    static constexpr int blockFrames = 128;

    // Runs the combs of both channels over a block of m_input, into m_wet.
    void runCombs(int frames) noexcept;
    // Runs one channel's all-passes over its wet block, in place.
    static void runAllPasses(int frames, float *wet, AllPass *allPasses) noexcept;

    Comb m_combs[2][combCount];
    AllPass m_allPasses[2][allPassCount];
    float m_feedback = 0.84f;
    float m_damp = 0.3f;
    float m_wet1 = 1.0f;
    float m_wet2 = 0.0f;
    float m_lastMix = 0.0f;
    std::atomic<float> m_mix{30.0f};
    float m_input[blockFrames] = {};
    float m_wet[2][blockFrames] = {};
    // What each comb reads back over a block, then what goes back into its line.
    float m_delayed[2 * combCount][blockFrames] = {};
};
