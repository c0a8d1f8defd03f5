#include "sound/AmbienceVoice.h"

#include "platform/audio/DenormalFlush.h"

#include <cmath>

using DSP::twoPi;

AmbienceVoice::AmbienceVoice(double sampleRate)
    : m_sampleRate(sampleRate > 0.0 ? sampleRate : 48000.0),
      m_f{DSP::svfCoefficient(2300.0, m_sampleRate),
          DSP::svfCoefficient(520.0, m_sampleRate),
          DSP::svfCoefficient(2800.0, m_sampleRate),
          DSP::svfCoefficient(5200.0, m_sampleRate),
          {DSP::svfCoefficient(420.0, m_sampleRate), DSP::svfCoefficient(1150.0, m_sampleRate),
           DSP::svfCoefficient(2600.0, m_sampleRate)},
          {twoPi * 98.0 / m_sampleRate, twoPi * 147.0 / m_sampleRate, twoPi * 196.0 / m_sampleRate}}
{
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

    const float k = float(1.0 - std::exp(-1.0 / (1.2 * m_sampleRate)));
    const float target = m_target.load(std::memory_order_relaxed);
    const double dt = 1.0 / m_sampleRate;
    for (int i = 0; i < frames; ++i) {
        m_gain += (target - m_gain) * k;
        float l = 0.0f;
        float r = 0.0f;
        if (target == 0.0f && m_gain < 0.004f) {
            m_gain = 0.0f;
        } else if (m_gain != 0.0f) {
            const Frame frame = renderScene();
            l = float(frame.first) * m_gain;
            r = float(frame.second) * m_gain;
        }
        left[i] = l;
        right[i] = r;
        m_t += dt;
    }
}

AmbienceVoice::Frame AmbienceVoice::renderScene()
{
    switch (m_scene) {
    case AmbienceScene::bell: return bellRoom();
    case AmbienceScene::singingBowl: return singingBowl();
    case AmbienceScene::waterJar: return waterJar();
    case AmbienceScene::chime: return windChime();
    case AmbienceScene::stream: return stream();
    case AmbienceScene::surf: return surf();
    case AmbienceScene::rain: return rain();
    case AmbienceScene::wind: return wind();
    case AmbienceScene::insects: return insects();
    case AmbienceScene::embers: return embers();
    case AmbienceScene::heartbeat: return heartbeat();
    case AmbienceScene::silent:
    case AmbienceScene::custom: break;
    }
    return {0.0, 0.0};
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
        m_insectNext[i] = 0.3 + 0.7 * i;
        m_insectUntil[i] = 0.0;
    }
    m_birdNextPhrase = 5.0 + 8.0 * u();
    m_birdNotesLeft = 0;
    m_beatAt = 0.6;
    m_dubAt = -1.0;
    m_thumpLevel = 0.0;
    m_slow.fill(Slow{});
}

AmbienceVoice::Frame AmbienceVoice::bellRoom()
{
    if (m_t >= m_nextStrike) {
        m_resonator.strike(0.55 + 0.45 * u());
        m_nextStrike = m_t + 22.0 + 26.0 * u();
    }
    const double ring = m_resonator.next(m_strikeFundamental, m_sampleRate);

    static constexpr double levels[3] = {0.055, 0.03, 0.018};
    double bed = 0.0;
    for (int i = 0; i < 3; ++i) {
        m_bedPhase[i] += m_f.bed[std::size_t(i)];
        if (m_bedPhase[i] > twoPi)
            m_bedPhase[i] -= twoPi;
        const double swell = slow(i, [i](double t) { return 0.6 + 0.4 * DSP::sine(twoPi * (0.021 + 0.013 * i) * t); });
        bed += DSP::sine(m_bedPhase[i]) * swell * levels[i];
    }
    const double w = slow(3, [](double t) { return 0.006 * DSP::sine(twoPi * 0.017 * t); });
    return {0.34 * ring + (1.0 + w) * bed, 0.34 * ring + (1.0 - w) * bed};
}

AmbienceVoice::Frame AmbienceVoice::singingBowl()
{
    const double swell =
        slow(0, [](double t) { return std::pow(0.5 + 0.5 * DSP::sine(twoPi * 0.041 * t), 1.3) * 0.48 + 0.52; });

    static constexpr double fundamental = 146.8;
    static constexpr double ratios[4] = {1.0, 2.74, 5.36, 8.91};
    static constexpr double offsets[4] = {0.62, 1.15, 1.9, 3.1};
    static constexpr double levels[4] = {0.26, 0.115, 0.055, 0.026};
    double sum = 0.0;
    for (int i = 0; i < 4; ++i) {
        m_rimPhaseA[i] += twoPi * fundamental * ratios[i] / m_sampleRate;
        m_rimPhaseB[i] += twoPi * (fundamental * ratios[i] + offsets[i]) / m_sampleRate;
        if (m_rimPhaseA[i] > twoPi)
            m_rimPhaseA[i] -= twoPi;
        if (m_rimPhaseB[i] > twoPi)
            m_rimPhaseB[i] -= twoPi;
        const double weight = i == 0 ? 1.0 : swell;
        sum += weight * levels[i] * 0.5 * (DSP::sine(m_rimPhaseA[i]) + DSP::sine(m_rimPhaseB[i]));
    }
    const double rim = swell * 0.026 * m_rimBand.step(m_noiseL.next(), m_f.rim, 1.2);
    const double w = slow(1, [](double t) { return 0.055 * DSP::sine(twoPi * 0.023 * t); });
    return {(1.0 + w) * (sum + rim), (1.0 - w) * (sum + rim)};
}

AmbienceVoice::Frame AmbienceVoice::waterJar()
{
    if (m_t >= m_nextStrike) {
        static constexpr double ratios[6] = {1.0, 1.125, 1.335, 1.5, 1.78, 2.0};
        const int index = int(std::floor(6.0 * u())) % 6;
        m_strikeFundamental = 720.0 * ratios[index];
        m_resonator.strike(0.45 + 0.55 * u());
        m_nextStrike = m_t + 1.6 + 4.2 * u();
    }
    const double ring = m_resonator.next(m_strikeFundamental, m_sampleRate);
    const double nL = m_noiseL.next();
    const double nR = m_noiseR.next();
    brown(nL, nR, 0.014, 0.997);
    smoothBrown(2.0, 0.1);
    return {0.2 * ring + 0.16 * m_smooth[0].z, 0.2 * 0.94 * ring + 0.16 * m_smooth[1].z};
}

AmbienceVoice::Frame AmbienceVoice::windChime()
{
    const double g = slow(0, [](double t) {
        const double s = 0.5 + 0.5 * DSP::sine(twoPi * 0.037 * t);
        return s * s * 0.6 + 0.4;
    });
    if (m_t >= m_nextStrike) {
        m_resonator.strike(0.6 * g * u() + 0.25);
        m_strikeFundamental = 1480.0 + 420.0 * u();
        m_nextStrike = m_t + 0.8 + 7.0 * (1.0 - g) * u() + 0.6;
    }
    const double ring = m_resonator.next(m_strikeFundamental, m_sampleRate);
    const double b0 = m_bands[0].step(m_noiseL.next(), m_f.air, 1.3);
    const double b3 = m_bands[3].step(m_noiseR.next(), m_f.air, 1.3);
    return {0.4 * ring + g * 0.17 * b0, 0.4 * 0.9 * ring + g * 0.17 * b3};
}
