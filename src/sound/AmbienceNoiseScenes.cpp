// The ambience scenes built from filtered noise rather than a struck
// resonator: stream (with bird song), surf, rain, wind, insects, embers and
// heartbeat. Each returns one stereo frame before the voice's gain.
#include "sound/AmbienceVoice.h"

#include <cmath>

using DSP::twoPi;

const std::array<AmbienceVoice::InsectKind, 4> AmbienceVoice::insectKinds = {{
    {4200.0, 0.14, 46.0, 0.36, 1.9, 1, 0.0, 0.26, 0.3},
    {3400.0, 0.18, 0.0, 0.44, 3.4, 3, 0.06, 0.24, 0.72},
    {2750.0, 0.24, 0.0, 0.32, 1.3, 4, 0.0, 0.17, 0.52},
    {4700.0, 0.11, 26.0, 1.7, 5.6, 1, 0.0, 0.1, 0.18},
}};

void AmbienceVoice::triggerCrackle(double fc, double q, double level, double decaySeconds)
{
    m_crackles[m_crackleTurn].trigger(std::min(fc, 0.45 * m_sampleRate), q, level, decaySeconds, m_sampleRate);
    m_crackleTurn = (m_crackleTurn + 1) % int(m_crackles.size());
}

double AmbienceVoice::crackleSum(double noise)
{
    double sum = 0.0;
    for (DSP::Crackle &crackle : m_crackles)
        sum += crackle.step(noise);
    return sum;
}

AmbienceVoice::Frame AmbienceVoice::stream()
{
    const double nL = m_noiseL.next();
    const double nR = m_noiseR.next();
    brown(nL, nR, 0.02, 0.996);

    static constexpr double cutoffs[3] = {420.0, 1150.0, 2600.0};
    static constexpr double levels[3] = {0.3, 0.2, 0.11};
    double left = 0.0;
    double right = 0.0;
    for (int i = 0; i < 3; ++i) {
        const double m = 0.45 * std::sin(twoPi * (0.043 + 0.031 * i) * m_t + i) + 0.55;
        const double f = DSP::svfCoefficient(cutoffs[i], m_sampleRate);
        left += m_bands[i].step(nL, f, 0.7) * m * levels[i];
        right += m_bands[i + 3].step(nR, f, 0.7) * m * levels[i];
    }
    smoothBrown(2.6, 0.25);
    const double s = 0.82 + 0.18 * std::sin(twoPi * 0.028 * m_t);
    const double bird = birdsong();
    return {s * (left + 0.34 * m_smooth[0].z) + 0.55 * bird, s * (right + 0.34 * m_smooth[1].z) + 0.85 * bird};
}

double AmbienceVoice::birdsong()
{
    if (m_birdNotesLeft == 0 && m_t >= m_birdNextPhrase) {
        m_birdKind = int(std::floor(3.0 * u())) % 3;
        m_birdNotesLeft = int(std::floor(3.0 * u())) + 2;
        m_birdPitch = 2500.0 + 1500.0 * u();
        m_birdNextNote = m_t;
    }
    if (m_birdNotesLeft >= 1 && m_t >= m_birdNextNote) {
        DSP::Warble &w = m_warbles[m_warbleTurn];
        const double draw = u();
        double gap = 0.0;
        w = DSP::Warble{};
        switch (m_birdKind) {
        case 0:
            w.frequency = m_birdPitch;
            w.target = 1.45 * m_birdPitch;
            w.span = 0.1 + 0.05 * draw;
            w.level = 0.32;
            gap = 0.22 + 0.2 * u();
            break;
        case 1:
            w.frequency = 1.4 * m_birdPitch;
            w.target = m_birdPitch;
            w.span = 0.13 + 0.06 * draw;
            w.level = 0.28;
            gap = 0.26 + 0.24 * u();
            break;
        default:
            w.frequency = m_birdPitch;
            w.target = 1.06 * m_birdPitch;
            w.span = 0.16 + 0.08 * draw;
            w.level = 0.26;
            w.vibratoRate = 58.0;
            w.vibratoDepth = 0.045;
            gap = 0.2 + 0.16 * u();
            break;
        }
        w.glide = w.span > 0.0 ? 1.0 / w.span : 0.0;
        m_birdNextNote = m_t + gap;
        m_warbleTurn = (m_warbleTurn + 1) % 3;
        m_birdNotesLeft -= 1;
        if (m_birdNotesLeft == 0)
            m_birdNextPhrase = m_t + 5.0 + 13.0 * u();
    }
    const double dt = 1.0 / m_sampleRate;
    double sum = 0.0;
    for (DSP::Warble &w : m_warbles) {
        if (w.sounding())
            sum += w.step(dt);
    }
    return sum;
}

AmbienceVoice::Frame AmbienceVoice::surf()
{
    auto shape = [](double p) {
        return p < 0.32 ? std::pow(p / 0.32, 1.4) : std::pow(1.0 - (p - 0.32) / 0.68, 2.2);
    };
    auto frac = [](double x) { return x - std::floor(x); };
    const double w = 0.58 * shape(frac(m_t / 11.3)) + 0.42 * shape(frac(m_t / 7.9 + 0.37));
    const double f = DSP::svfCoefficient(320.0 + 1600.0 * w, m_sampleRate);
    const double b0 = m_bands[0].step(m_noiseL.next(), f, 1.5);
    const double b3 = m_bands[3].step(m_noiseR.next(), f, 1.5);
    const double nL = m_noiseL.next();
    const double nR = m_noiseR.next();
    brown(nL, nR, 0.02, 0.9975);
    smoothBrown(2.4, 0.12);
    return {0.34 * w * b0 + 0.3 * m_smooth[0].z, 0.34 * w * b3 + 0.3 * m_smooth[1].z};
}

AmbienceVoice::Frame AmbienceVoice::rain()
{
    const double nL = m_noiseL.next();
    const double nR = m_noiseR.next();
    const double f = DSP::svfCoefficient(2800.0, m_sampleRate);
    const double b0 = m_bands[0].step(nL, f, 1.4);
    const double b3 = m_bands[3].step(nR, f, 1.4);
    brown(nL, nR, 0.02, 0.994);
    smoothBrown(2.2, 0.3);
    if (u() > 0.9994) {
        const double u1 = u();
        const double u2 = u();
        const double u3 = u();
        triggerCrackle(320.0 + 700.0 * u1, 1.1, 0.1 + 0.1 * u2, 0.012 + 0.02 * u3);
    }
    const double drops = crackleSum(nL);
    const double s = 0.7 + 0.3 * std::sin(twoPi * 0.019 * m_t) * std::sin(twoPi * 0.007 * m_t);
    return {s * (0.21 * b0 + 0.32 * m_smooth[0].z + 0.45 * drops), s * (0.21 * b3 + 0.32 * m_smooth[1].z + 0.38 * drops)};
}

AmbienceVoice::Frame AmbienceVoice::wind()
{
    const double nL = m_noiseL.next();
    const double nR = m_noiseR.next();
    const double g = (std::pow(0.5 + 0.5 * std::sin(twoPi * 0.021 * m_t), 1.6) * 0.55 + 0.45)
                     * (0.6 + 0.4 * std::sin(twoPi * 0.0083 * m_t + 1.1));
    const double f = DSP::svfCoefficient(480.0 + 900.0 * g, m_sampleRate);
    const double b0 = m_bands[0].step(nL, f, 1.1);
    const double b3 = m_bands[3].step(nR, f, 1.1);
    brown(nL, nR, 0.018, 0.997);
    smoothBrown(2.4, 0.2);
    return {g * (0.42 * b0 + 0.26 * m_smooth[0].z), g * (0.42 * b3 + 0.26 * m_smooth[1].z)};
}

AmbienceVoice::Frame AmbienceVoice::insects()
{
    double left = 0.0;
    double right = 0.0;
    for (int k = 0; k < 4; ++k) {
        const InsectKind &kind = insectKinds[k];
        if (m_t >= m_insectNext[k]) {
            m_insectNext[k] = m_t + kind.period * (0.7 + 0.6 * u());
            m_insectUntil[k] = m_t + kind.burst;
        }
        if (m_t >= m_insectUntil[k])
            continue;
        const double p = 1.0 - (m_insectUntil[k] - m_t) / kind.burst;
        double env = 0.0;
        int j = 0;
        if (kind.pulses < 2) {
            env = std::sin(std::numbers::pi * p);
        } else {
            const double width = 1.0 / kind.pulses;
            j = std::min(kind.pulses - 1, int(std::floor(p / width)));
            const double local = (p - width * j) / width;
            if (local >= 0.72)
                continue;
            env = std::sin(std::numbers::pi * local / 0.72);
        }
        if (env <= 0.0001)
            continue;
        const double freq = kind.pitch * (1.0 - kind.descent * j);
        const double noise = k % 2 == 0 ? m_noiseL.next() : m_noiseR.next();
        const double b = svf(m_insectBands[k], noise, freq, kind.resonance);
        const double trem = kind.tremolo == 0.0 ? 1.0 : 0.55 + 0.45 * std::sin(twoPi * kind.tremolo * m_t);
        const double v = kind.level * env * b * trem;
        left += (1.0 - kind.pan) * v;
        right += kind.pan * v;
    }
    const double c = (0.6 + 0.4 * std::sin(twoPi * 0.19 * m_t) * std::sin(twoPi * 0.07 * m_t)) * 0.045
                     * svf(m_chorusBand, m_noiseL.next(), 5200.0, 0.9);
    return {left + c, right + 0.9 * c};
}

AmbienceVoice::Frame AmbienceVoice::embers()
{
    const double nL = m_noiseL.next();
    const double nR = m_noiseR.next();
    brown(nL, nR, 0.02, 0.9965);
    smoothBrown(2.2, 0.09);
    if (u() > 0.99955) {
        const bool big = u() > 0.88;
        const double u2 = u();
        const double u3 = u();
        const double u4 = u();
        if (big)
            triggerCrackle(700.0 + 900.0 * u2, 0.5, 0.22 + 0.16 * u3, 0.02 + 0.03 * u4);
        else
            triggerCrackle(1600.0 + 2200.0 * u2, 0.9, 0.06 + 0.08 * u3, 0.004 + 0.008 * u4);
    }
    const double crack = crackleSum(nR);
    const double s = 0.75 + 0.25 * std::sin(twoPi * 0.031 * m_t);
    const double p = 0.35 * std::sin(twoPi * 0.09 * m_t);
    return {0.34 * s * m_smooth[0].z + crack * (0.5 + p), 0.34 * s * m_smooth[1].z + crack * (0.5 - p)};
}

AmbienceVoice::Frame AmbienceVoice::heartbeat()
{
    if (m_t >= m_beatAt) {
        m_beatPeriod = 1.0 + 0.055 * std::sin(-twoPi * 0.19 * m_t);
        m_thumpFrequency = 51.0 + 3.0 * u();
        m_thumpLevel = 0.62;
        m_thumpDecay = std::exp(-1.0 / (0.115 * m_sampleRate));
        m_thumpPhase = 0.0;
        m_thumpBurst.trigger(std::min(0.45 * m_sampleRate, 165.0), 1.5, 0.3, 0.05175, m_sampleRate);
        m_dubAt = m_t + (0.45 * m_beatPeriod + 0.55) * 0.3;
        m_beatAt = m_t + m_beatPeriod;
    }
    bool dub = false;
    if (m_dubAt >= 0.0 && m_t >= m_dubAt) {
        m_thumpFrequency = 66.0 + 4.0 * u();
        m_thumpDecay = std::exp(-1.0 / (0.075 * m_sampleRate));
        m_thumpPhase = 0.0;
        m_thumpBurst.trigger(std::min(0.45 * m_sampleRate, 215.0), 1.5, 0.2, 0.03375, m_sampleRate);
        m_dubAt = -1.0;
        dub = true;
    }
    const double a = dub ? 0.4 : m_thumpLevel;
    double thump = 0.0;
    if (dub || a > 0.0004) {
        m_thumpPhase += twoPi * m_thumpFrequency / m_sampleRate;
        if (m_thumpPhase > twoPi)
            m_thumpPhase -= twoPi;
        thump = 0.72 * a * std::sin(m_thumpPhase);
        m_thumpLevel = a * m_thumpDecay;
        m_thumpFrequency *= 0.99997;
    }
    const double burst = m_thumpBurst.step(m_noiseL.next()) * 0.55;
    const double nL = m_noiseL.next();
    const double nR = m_noiseR.next();
    brown(nL, nR, 0.02, 0.9975);
    smoothBrown(2.0, 0.05);
    const double amp = 0.7 + 0.3 * std::sin(twoPi * 0.19 * m_t);
    const double w = 0.02 * std::sin(twoPi * 0.013 * m_t);
    const double beat = thump + burst;
    return {beat * (1.0 + w) + 0.16 * amp * m_smooth[0].z, beat * (1.0 - w) + 0.16 * amp * m_smooth[1].z};
}
