#pragma once

#include "platform/audio/AudioRenderer.h"
#include "sound/AmbienceScene.h"
#include "sound/Dsp.h"

#include <array>
#include <atomic>
#include <optional>
#include <utility>

// The synthesizer behind the ambience: renders the current scene sample by
// sample on the audio thread, scaled by a gain that glides toward the target.
//
// The main thread and the audio thread share exactly two fields, the target
// gain and the pending scene, both lock-free atomics. The audio thread takes
// the pending scene with one exchange at the start of each render call, so a
// scene handed over while a call runs is applied by the next one and never
// lost; when several are handed over between two calls only the last applies.
class AmbienceVoice : public AudioRenderer
{
public:
    explicit AmbienceVoice(double sampleRate);

    // Main thread: the gain to glide to, and the next scene.
    void setTarget(float target) { m_target.store(target, std::memory_order_relaxed); }
    float target() const { return m_target.load(std::memory_order_relaxed); }
    void setPendingScene(AmbienceScene scene) { m_pendingScene.store(std::int8_t(scene), std::memory_order_relaxed); }
    std::optional<AmbienceScene> pendingScene() const;

    // Audio thread.
    void render(int frames, float *left, float *right) noexcept override;

    // Read by tests and tools between render calls.
    double sampleRate() const { return m_sampleRate; }
    AmbienceScene scene() const { return m_scene; }
    float gain() const { return m_gain; }
    double time() const { return m_t; }

    struct InsectKind
    {
        double pitch;
        double resonance;
        double tremolo;
        double burst;
        double period;
        int pulses;
        double descent;
        double level;
        double pan;
    };
    static const std::array<InsectKind, 4> insectKinds;

private:
    using Frame = std::pair<double, double>;
    static constexpr std::int8_t noScene = -1;

    void apply(AmbienceScene scene);
    Frame renderScene();
    double u() { return m_chance.uniform(); }
    double svf(DSP::StateVariable &state, double x, double fc, double q)
    {
        return state.step(x, DSP::svfCoefficient(fc, m_sampleRate), q);
    }
    void brown(double nL, double nR, double c, double d)
    {
        m_brownL = (m_brownL + c * nL) * d;
        m_brownR = (m_brownR + c * nR) * d;
    }
    void smoothBrown(double scale, double a)
    {
        m_smooth[0].step(scale * m_brownL, a);
        m_smooth[1].step(scale * m_brownR, a);
    }
    // A slow modulator (well under 1 Hz) of the scene clock: worked out
    // exactly every slowSpan frames and interpolated in between, which stays
    // within 1e-7 of the exact curve and spares most of its sines and powers.
    static constexpr int slowSpan = 16;
    struct Slow
    {
        double value = 0.0;
        double step = 0.0;
        double expect = -1.0;
        int left = 0;
    };
    template<typename F>
    double slow(int slot, F curve)
    {
        Slow &s = m_slow[std::size_t(slot)];
        const double dt = 1.0 / m_sampleRate;
        if (s.left == 0 || std::abs(m_t - s.expect) > 0.5 * dt) {
            // Fresh segment, also after silent frames or a scene change moved the clock.
            const double a = curve(m_t);
            const double b = curve(m_t + slowSpan * dt);
            s.value = a;
            s.step = (b - a) / slowSpan;
            s.left = slowSpan;
        } else {
            s.value += s.step;
        }
        --s.left;
        s.expect = m_t + dt;
        return s.value;
    }

    void triggerCrackle(double fc, double q, double level, double decaySeconds);
    double crackleSum(double noise);

    // Ringing scenes.
    Frame bellRoom();
    Frame singingBowl();
    Frame waterJar();
    Frame windChime();
    // Noise scenes.
    Frame stream();
    double birdsong();
    Frame surf();
    Frame rain();
    Frame wind();
    Frame insects();
    Frame embers();
    Frame heartbeat();

    const double m_sampleRate;
    // Filter coefficients of the scenes' fixed cutoffs and the bell bed's
    // phase steps, worked out once.
    struct Coefficients
    {
        double rim, air, rain, chorus;
        std::array<double, 3> stream;
        std::array<double, 3> bed;
    };
    const Coefficients m_f;
    std::atomic<float> m_target{0.0f};
    AmbienceScene m_scene = AmbienceScene::bell;
    std::atomic<std::int8_t> m_pendingScene{noScene};
    float m_gain = 0.0f;
    double m_t = 0.0;

    DSP::Resonator m_resonator = DSP::Resonator::bowl();
    double m_nextStrike = 1.5;
    double m_strikeFundamental = 196.0;
    std::array<double, 3> m_bedPhase{};
    std::array<double, 4> m_rimPhaseA{};
    std::array<double, 4> m_rimPhaseB{};
    DSP::StateVariable m_rimBand;

    DSP::Noise m_noiseL{0x9E3779B97F4A7C15ull};
    DSP::Noise m_noiseR{0xD1B54A32D192ED03ull};
    std::array<DSP::StateVariable, 6> m_bands{};
    std::array<DSP::OnePole, 6> m_smooth{};
    double m_brownL = 0.0;
    double m_brownR = 0.0;
    std::array<DSP::Crackle, 6> m_crackles{};
    int m_crackleTurn = 0;
    DSP::Noise m_chance{0x2545F4914F6CDD1Dull};

    std::array<DSP::StateVariable, 4> m_insectBands{};
    std::array<double, 4> m_insectNext{};
    std::array<double, 4> m_insectUntil{};
    DSP::StateVariable m_chorusBand;

    double m_beatAt = 0.6;
    double m_dubAt = -1.0;
    double m_beatPeriod = 1.03;
    double m_thumpPhase = 0.0;
    double m_thumpLevel = 0.0;
    double m_thumpFrequency = 52.0;
    double m_thumpDecay = 0.0;
    DSP::Crackle m_thumpBurst;

    std::array<Slow, 4> m_slow{};

    std::array<DSP::Warble, 3> m_warbles{};
    int m_warbleTurn = 0;
    double m_birdNextPhrase = 6.0;
    double m_birdNextNote = 0.0;
    int m_birdNotesLeft = 0;
    int m_birdKind = 0;
    double m_birdPitch = 3200.0;

    friend class AmbienceVoiceProbe;
};
