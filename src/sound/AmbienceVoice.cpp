#include "sound/AmbienceVoice.h"

#include "platform/audio/DenormalFlush.h"

#include <algorithm>
#include <cmath>

using DSP::Lanes;
using DSP::twoPi;

AmbienceVoice::AmbienceVoice(double sampleRate)
    : m_sampleRate(sampleRate > 0.0 ? sampleRate : 48000.0),
      m_dt(1.0 / m_sampleRate),
      m_f{DSP::svfCoefficient(2300.0, m_sampleRate),
          DSP::svfCoefficient(520.0, m_sampleRate),
          DSP::svfCoefficient(2800.0, m_sampleRate),
          DSP::svfCoefficient(5200.0, m_sampleRate),
          {DSP::svfCoefficient(420.0, m_sampleRate), DSP::svfCoefficient(1150.0, m_sampleRate),
           DSP::svfCoefficient(2600.0, m_sampleRate)},
          {twoPi * 98.0 / m_sampleRate, twoPi * 147.0 / m_sampleRate, twoPi * 196.0 / m_sampleRate}}
{
    const double keep = std::exp(-1.0 / (1.2 * m_sampleRate));
    double glide = 1.0;
    for (float &g : m_glide) {
        glide *= keep;
        g = float(glide);
    }
    m_rimBand.set(0, m_f.rim, 1.2);
    for (int side = 0; side < 2; ++side) {
        m_airBands.set(side, m_f.air, 1.3);
        m_rainBands.set(side, m_f.rain, 1.4);
        for (int i = 0; i < 3; ++i)
            m_streamBands[side].set(i, m_f.stream[std::size_t(i)], 0.7);
    }
    m_chorusBand.set(0, m_f.chorus, 0.9);
    m_framesToDrop = framesToChance(0.0006);
}

std::optional<AmbienceScene> AmbienceVoice::pendingScene() const
{
    const std::int8_t raw = m_pendingScene.load(std::memory_order_relaxed);
    if (raw == noScene)
        return std::nullopt;
    return AmbienceScene(raw);
}

void AmbienceVoice::render(int frames, float *left, float *right) noexcept
{
    clearUpperVectorState();
    const std::int8_t pending = m_pendingScene.exchange(noScene, std::memory_order_relaxed);
    if (pending != noScene)
        apply(AmbienceScene(pending));

    const float target = m_target.load(std::memory_order_relaxed);
    for (int done = 0; done < frames;) {
        const int n = std::min(blockFrames, frames - done);
        // The gain glides toward the target by a fixed share each frame; on
        // the way to silence it stops at 0.004 and the scene rests.
        float *gain = m_work[0];
        const float from = m_gain - target;
        for (int i = 0; i < n; ++i)
            gain[i] = target + from * m_glide[std::size_t(i)];
        int sounding = n;
        if (target == 0.0f) {
            sounding = 0;
            while (sounding < n && gain[sounding] >= 0.004f)
                ++sounding;
        }
        if (sounding > 0)
            renderScene(sounding);
        // left may be right: then it ends up with the right channel.
        for (int i = 0; i < sounding; ++i) {
            const float g = m_work[0][i];
            left[done + i] = m_left[i] * g;
            right[done + i] = m_right[i] * g;
        }
        for (int i = sounding; i < n; ++i) {
            left[done + i] = 0.0f;
            right[done + i] = 0.0f;
        }
        m_gain = sounding < n ? 0.0f : m_work[0][n - 1];
        m_t += double(n) * m_dt;
        done += n;
    }
}

void AmbienceVoice::renderScene(int n)
{
    // The gain is in m_work[0]; scenes work in m_work[1], m_left and m_right.
    switch (m_scene) {
    case AmbienceScene::bell: return bellRoom(0, n);
    case AmbienceScene::singingBowl: return singingBowl(0, n);
    case AmbienceScene::waterJar: return waterJar(0, n);
    case AmbienceScene::chime: return windChime(0, n);
    case AmbienceScene::stream: return stream(0, n);
    case AmbienceScene::surf: return surf(0, n);
    case AmbienceScene::rain: return rain(0, n);
    case AmbienceScene::wind: return wind(0, n);
    case AmbienceScene::insects: return insects(0, n);
    case AmbienceScene::embers: return embers(0, n);
    case AmbienceScene::heartbeat: return heartbeat(0, n);
    case AmbienceScene::silent:
    case AmbienceScene::custom: break;
    }
    std::fill_n(m_left, n, 0.0f);
    std::fill_n(m_right, n, 0.0f);
}

int AmbienceVoice::frameOf(double when, int from, int to) const
{
    if (to <= from || !(when <= at(to)))
        return to;
    int i = std::clamp(int(std::ceil((when - m_t) / m_dt)), from, to);
    while (i > from && at(i - 1) >= when)
        --i;
    while (i < to && at(i) < when)
        ++i;
    return i;
}

void AmbienceVoice::apply(AmbienceScene scene)
{
    m_scene = scene;
    m_t = 0.0;
    m_nextStrike = 1.2;
    switch (scene) {
    case AmbienceScene::bell:
        m_resonator = DSP::Resonator::bowl();
        m_strikeFundamental = 196.0;
        break;
    case AmbienceScene::waterJar:
        m_resonator = DSP::Resonator::waterJar();
        m_strikeFundamental = 880.0;
        break;
    case AmbienceScene::chime:
        m_resonator = DSP::Resonator::chime();
        m_strikeFundamental = 1660.0;
        break;
    default: break;
    }
    for (int i = 0; i < 4; ++i) {
        m_insectNext[std::size_t(i)] = 0.3 + 0.7 * i;
        m_insectUntil[std::size_t(i)] = 0.0;
    }
    m_birdNextPhrase = 5.0 + 8.0 * u();
    m_birdNotesLeft = 0;
    m_beatAt = 0.6;
    m_dubAt = -1.0;
    m_thumpLevel = 0.0;
}

// ---- Ringing scenes -------------------------------------------------------

void AmbienceVoice::bellRoom(int from, int to)
{
    while (from < to) {
        const int strike = frameOf(m_nextStrike, from, to);
        if (strike > from) {
            // The bowl's ring, and a bed of three soft sines that swell.
            float *ring = m_left;
            float *bed = m_work[1];
            const int n = strike - from;
            std::fill_n(ring + from, n, 0.0f);
            std::fill_n(bed + from, n, 0.0f);
            DSP::ringResonator(m_resonator, n, ring + from, m_strikeFundamental, m_sampleRate, 0.34);
            static constexpr double levels[3] = {0.055, 0.03, 0.018};
            DSP::Partial partials[3];
            for (int i = 0; i < 3; ++i) {
                auto swell = [i](double t) { return 0.6 + 0.4 * DSP::sine(twoPi * (0.021 + 0.013 * i) * t); };
                const double a = swell(at(from));
                const double b = swell(at(strike));
                const double step = m_f.bed[std::size_t(i)];
                // The swell across the stretch as a steady growth or decay.
                partials[i] = {m_bedPhase[std::size_t(i)] + step, step, a * levels[i], std::pow(b / a, 1.0 / n)};
            }
            DSP::addPartials(n, bed + from, partials, 3);
            for (int i = 0; i < 3; ++i)
                m_bedPhase[std::size_t(i)] = partials[i].phase - partials[i].step;
            const Ramp w = ramp([](double t) { return 0.006 * DSP::sine(twoPi * 0.017 * t); }, from, strike);
            for (int i = from; i < strike; ++i) {
                const float wi = w.start + w.step * float(i - from);
                const float r = ring[i];
                m_left[i] = r + (1.0f + wi) * bed[i];
                m_right[i] = r + (1.0f - wi) * bed[i];
            }
        }
        if (strike < to) {
            m_resonator.strike(0.55 + 0.45 * u());
            m_nextStrike = at(strike) + 22.0 + 26.0 * u();
        }
        from = strike;
    }
}

void AmbienceVoice::singingBowl(int from, int to)
{
    const int n = to - from;
    if (n <= 0)
        return;
    auto swellAt = [](double t) { return std::pow(0.5 + 0.5 * DSP::sine(twoPi * 0.041 * t), 1.3) * 0.48 + 0.52; };
    const double s0 = swellAt(at(from));
    const double s1 = swellAt(at(to));
    const double swellGrowth = std::pow(s1 / s0, 1.0 / n);

    static constexpr double fundamental = 146.8;
    static constexpr double ratios[4] = {1.0, 2.74, 5.36, 8.91};
    static constexpr double offsets[4] = {0.62, 1.15, 1.9, 3.1};
    static constexpr double levels[4] = {0.26, 0.115, 0.055, 0.026};
    DSP::Partial partials[8];
    for (int i = 0; i < 4; ++i) {
        const double stepA = twoPi * fundamental * ratios[i] / m_sampleRate;
        const double stepB = twoPi * (fundamental * ratios[i] + offsets[i]) / m_sampleRate;
        const double level = 0.5 * levels[i] * (i == 0 ? 1.0 : s0);
        const double growth = i == 0 ? 1.0 : swellGrowth;
        partials[2 * i] = {m_rimPhaseA[std::size_t(i)] + stepA, stepA, level, growth};
        partials[2 * i + 1] = {m_rimPhaseB[std::size_t(i)] + stepB, stepB, level, growth};
    }
    float *sum = m_work[1];
    std::fill_n(sum + from, n, 0.0f);
    DSP::addPartials(n, sum + from, partials, 8);
    for (int i = 0; i < 4; ++i) {
        m_rimPhaseA[std::size_t(i)] = partials[2 * i].phase - partials[2 * i].step;
        m_rimPhaseB[std::size_t(i)] = partials[2 * i + 1].phase - partials[2 * i + 1].step;
    }
    // The rubbed rim: a band of noise that swells with the partials.
    const Ramp swell{float(s0), float((s1 - s0) / n)};
    const Ramp w = ramp([](double t) { return 0.055 * DSP::sine(twoPi * 0.023 * t); }, from, to);
    DSP::NoiseLanes noise = m_noise;
    DSP::FilterLanes rimBand = m_rimBand;
    for (int i = from; i < to; ++i) {
        const float k = float(i - from);
        const float rim = (swell.start + swell.step * k) * 0.026f * rimBand.step(noise.next())[0];
        const float wi = w.start + w.step * k;
        const float v = sum[i] + rim;
        m_left[i] = (1.0f + wi) * v;
        m_right[i] = (1.0f - wi) * v;
    }
    m_noise = noise;
    m_rimBand = rimBand;
}

void AmbienceVoice::waterJar(int from, int to)
{
    while (from < to) {
        // A drop strikes the jar before its frame is rendered.
        const int strike = frameOf(m_nextStrike, from, to);
        if (strike == from) {
            static constexpr double ratios[6] = {1.0, 1.125, 1.335, 1.5, 1.78, 2.0};
            const int index = int(std::floor(6.0 * u())) % 6;
            m_strikeFundamental = 720.0 * ratios[index];
            m_resonator.strike(0.45 + 0.55 * u());
            m_nextStrike = at(strike) + 1.6 + 4.2 * u();
            continue;
        }
        const int n = strike - from;
        float *ring = m_work[1];
        std::fill_n(ring + from, n, 0.0f);
        DSP::ringResonator(m_resonator, n, ring + from, m_strikeFundamental, m_sampleRate, 1.0);
        DSP::NoiseLanes noise = m_noise;
        Brown brown = m_brown;
        for (int i = from; i < strike; ++i) {
            const Lanes z = brown.step(noise.next(), 0.014f, 0.997f, 2.0f, 0.1f);
            m_left[i] = 0.2f * ring[i] + 0.16f * z[0];
            m_right[i] = 0.2f * 0.94f * ring[i] + 0.16f * z[1];
        }
        m_noise = noise;
        m_brown = brown;
        from = strike;
    }
}

void AmbienceVoice::windChime(int from, int to)
{
    auto gust = [](double t) {
        const double s = 0.5 + 0.5 * DSP::sine(twoPi * 0.037 * t);
        return s * s * 0.6 + 0.4;
    };
    while (from < to) {
        const int strike = frameOf(m_nextStrike, from, to);
        if (strike == from) {
            const double g = gust(at(strike));
            m_resonator.strike(0.6 * g * u() + 0.25);
            m_strikeFundamental = 1480.0 + 420.0 * u();
            m_nextStrike = at(strike) + 0.8 + 7.0 * (1.0 - g) * u() + 0.6;
            continue;
        }
        const int n = strike - from;
        float *ring = m_work[1];
        std::fill_n(ring + from, n, 0.0f);
        DSP::ringResonator(m_resonator, n, ring + from, m_strikeFundamental, m_sampleRate, 0.4);
        const Ramp g = ramp(gust, from, strike);
        DSP::NoiseLanes noise = m_noise;
        DSP::FilterLanes bands = m_airBands;
        for (int i = from; i < strike; ++i) {
            const Lanes b = bands.step(noise.next());
            const float gi = (g.start + g.step * float(i - from)) * 0.17f;
            m_left[i] = ring[i] + gi * b[0];
            m_right[i] = 0.9f * ring[i] + gi * b[1];
        }
        m_noise = noise;
        m_airBands = bands;
        from = strike;
    }
}
