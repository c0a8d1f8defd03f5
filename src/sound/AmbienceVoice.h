#pragma once

#include "platform/audio/AudioRenderer.h"
#include "sound/AmbienceScene.h"
#include "sound/Dsp.h"
#include "sound/DspBlocks.h"

#include <array>
#include <atomic>
#include <optional>
#include <utility>

// The synthesizer behind the ambience: renders the current scene on the
// audio thread, scaled by a gain that glides toward the target.
//
// Scenes are rendered a block of frames at a time in single precision, each
// block cut where something happens (a strike, a beat, a drop), so that an
// event falls on the frame it is due and the work between events runs as
// plain loops over the block. What must not drift over a long sitting (the
// scene clock, oscillator phases, amplitudes) is kept in double precision.
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

    // The longest stretch rendered in one piece.
    static constexpr int blockFrames = 512;

private:
    static constexpr std::int8_t noScene = -1;

    // A value that changes linearly across a stretch of frames: at frame i
    // of the block it is start + (i - from) * step.
    struct Ramp
    {
        float start;
        float step;
    };

    void apply(AmbienceScene scene);
    // Renders frames [0, n) of the block into m_left and m_right.
    void renderScene(int n);

    double u() { return m_chance.uniform(); }
    // The scene time of frame i of the block.
    double at(int i) const { return m_t + double(i) * m_dt; }
    // The first frame in [from, to] due at or after when (to if none is).
    int frameOf(double when, int from, int to) const;
    // A slow modulator (well under 1 Hz) across frames [from, to): exact at
    // both ends and straight in between, within 1e-4 of the curve.
    template<typename F>
    Ramp ramp(F curve, int from, int to) const
    {
        const double a = curve(at(from));
        const double b = curve(at(to));
        return {float(a), float((b - a) / double(to - from))};
    }
    // The brown noise of both sides (lanes 0 and 1) and its smoothing.
    struct Brown
    {
        DSP::Lanes brown{};
        DSP::Lanes smooth{};
        // One step from the white noise n; gives the smoothed sides.
        DSP::Lanes step(DSP::Lanes n, float c, float d, float scale, float a)
        {
            brown = (brown + c * n) * d;
            smooth += (scale * brown - smooth) * a;
            return smooth;
        }
    };

    // The crackles of rain drops and embers: up to six decaying bands of
    // noise, side by side, all driven by the same noise.
    struct Crackles
    {
        DSP::FilterLanes lanes[2];
        DSP::Lanes level[2]{};
        DSP::Lanes decay[2]{DSP::splat(1.0f), DSP::splat(1.0f)};
        int turn = 0;
        // Frames until every crackle is quiet.
        long long framesLeft = 0;

        void trigger(double fc, double q, double level, double decaySeconds, double sampleRate);
        // The crackles' sound for one frame. A crackle that has fallen quiet
        // is silenced; its filter runs on, unheard, until it is struck again.
        float step(float noise)
        {
            if (framesLeft <= 0)
                return 0.0f;
            --framesLeft;
            const DSP::Lanes x = DSP::splat(noise);
            DSP::Lanes out{};
            for (int v = 0; v < 2; ++v) {
                out += level[v] * lanes[v].step(x);
                const DSP::Lanes next = level[v] * decay[v];
                level[v] = next > 0.0008f ? next : DSP::Lanes{};
            }
            return DSP::sum(out);
        }
    };
    // Frames to the next of a chance event that happens with probability p
    // on each frame.
    long long framesToChance(double p);

    // Ringing scenes.
    void bellRoom(int from, int to);
    void singingBowl(int from, int to);
    void waterJar(int from, int to);
    void windChime(int from, int to);
    // Noise scenes.
    void stream(int from, int to);
    void birdEvent(int frame);
    void addBirdsong(int from, int to);
    void surf(int from, int to);
    void rain(int from, int to);
    void wind(int from, int to);
    void insects(int from, int to);
    void embers(int from, int to);
    void heartbeat(int from, int to);
    void heartbeatStretch(int from, int to);

    const double m_sampleRate;
    const double m_dt;
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
    // The gain's glide: (1 - k)^(i + 1) for frame i of a block.
    std::array<float, blockFrames> m_glide{};

    DSP::Resonator m_resonator = DSP::Resonator::bowl();
    double m_nextStrike = 1.5;
    double m_strikeFundamental = 196.0;
    std::array<double, 3> m_bedPhase{};
    std::array<double, 4> m_rimPhaseA{};
    std::array<double, 4> m_rimPhaseB{};

    // White noise: lane 0 for the left side, 1 for the right, 2 and 3 for
    // further draws of the same frame.
    DSP::NoiseLanes m_noise{{0x9E3779B9u, 0xD1B54A32u, 0x7F4A7C15u, 0x192ED03Bu}};
    DSP::Noise m_chance{0x2545F4914F6CDD1Dull};
    // Each scene's filters: the left side in lane 0, the right in lane 1
    // (the stream's three bands of each side in lanes 0-2 of its own).
    DSP::FilterLanes m_rimBand;
    DSP::FilterLanes m_airBands;
    DSP::FilterLanes m_streamBands[2];
    DSP::FilterLanes m_surfBands;
    DSP::FilterLanes m_rainBands;
    DSP::FilterLanes m_windBands;
    Brown m_brown;
    Crackles m_crackles;
    long long m_framesToDrop = 0;

    // The crickets: one filter lane and one noise lane of its own each.
    DSP::FilterLanes m_insectBands;
    DSP::NoiseLanes m_insectNoise{{0x8CB92BA7u, 0x6A09E667u, 0xBB67AE85u, 0x3C6EF372u}};
    std::array<double, 4> m_insectNext{};
    std::array<double, 4> m_insectUntil{};
    DSP::FilterLanes m_chorusBand;

    double m_beatAt = 0.6;
    double m_dubAt = -1.0;
    double m_beatPeriod = 1.03;
    double m_thumpPhase = 0.0;
    double m_thumpLevel = 0.0;
    double m_thumpFrequency = 52.0;
    double m_thumpDecay = 0.0;
    DSP::FilterLanes m_thumpBand;
    float m_thumpBurstLevel = 0.0f;
    float m_thumpBurstDecay = 1.0f;

    std::array<DSP::Warble, 3> m_warbles{};
    int m_warbleTurn = 0;
    double m_birdNextPhrase = 6.0;
    double m_birdNextNote = 0.0;
    int m_birdNotesLeft = 0;
    int m_birdKind = 0;
    double m_birdPitch = 3200.0;

    // The block's scene output and scratch, made up front.
    float m_left[blockFrames]{};
    float m_right[blockFrames]{};
    float m_work[2][blockFrames]{};

    friend class AmbienceVoiceProbe;
};
