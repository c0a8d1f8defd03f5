// The ambience scenes built from filtered noise rather than a struck
// resonator: stream (with bird song), surf, rain, wind, insects, embers and
// heartbeat. Each renders a stretch of frames of the block, before the
// voice's gain, into m_left and m_right; the left side's noise and filters
// are in lane 0 of their vectors, the right side's in lane 1.
#include "sound/AmbienceVoice.h"

#include <algorithm>
#include <cmath>

using DSP::Lanes;
using DSP::splat;
using DSP::twoPi;

const std::array<AmbienceVoice::InsectKind, 4> AmbienceVoice::insectKinds = {{
    {4200.0, 0.14, 46.0, 0.36, 1.9, 1, 0.0, 0.26, 0.3},
    {3400.0, 0.18, 0.0, 0.44, 3.4, 3, 0.06, 0.24, 0.72},
    {2750.0, 0.24, 0.0, 0.32, 1.3, 4, 0.0, 0.17, 0.52},
    {4700.0, 0.11, 26.0, 1.7, 5.6, 1, 0.0, 0.1, 0.18},
}};

namespace {

// Frames until a crackle of level falls to the quiet floor.
long long framesToQuiet(double level, double decay)
{
    if (level <= 0.0008 || decay >= 1.0)
        return 0;
    return (long long)std::ceil(std::log(0.0008 / level) / std::log(decay)) + 1;
}

} // namespace

long long AmbienceVoice::framesToChance(double p)
{
    // A chance of p on every frame: the frames before the next success are
    // geometrically distributed, so one draw stands for all of them.
    const double draw = 1.0 - u();
    return (long long)std::floor(std::log(draw) / std::log1p(-p));
}

void AmbienceVoice::Crackles::trigger(double fc, double q, double startLevel, double decaySeconds, double sampleRate)
{
    const int lane = turn;
    const double d = std::exp(-1.0 / (sampleRate * decaySeconds));
    lanes[lane / 4].set(lane % 4, DSP::svfCoefficient(std::min(fc, 0.45 * sampleRate), sampleRate), q);
    level[lane / 4][lane % 4] = float(startLevel);
    decay[lane / 4][lane % 4] = float(d);
    turn = (lane + 1) % 6;
    framesLeft = std::max(framesLeft, framesToQuiet(startLevel, d));
}

// ---- Stream and its birds -------------------------------------------------

void AmbienceVoice::stream(int from, int to)
{
    while (from < to) {
        const double due = m_birdNotesLeft == 0 ? m_birdNextPhrase : m_birdNextNote;
        const int event = frameOf(due, from, to);
        if (event == from) {
            birdEvent(from);
            continue;
        }
        static constexpr float levels[3] = {0.3f, 0.2f, 0.11f};
        Lanes weight{};
        Lanes weightStep{};
        for (int i = 0; i < 3; ++i) {
            const Ramp m = ramp([i](double t) { return 0.45 * DSP::sine(twoPi * (0.043 + 0.031 * i) * t + i) + 0.55; },
                                from, event);
            weight[i] = m.start * levels[i];
            weightStep[i] = m.step * levels[i];
        }
        const Ramp s = ramp([](double t) { return 0.82 + 0.18 * DSP::sine(twoPi * 0.028 * t); }, from, event);
        // The state in locals: stores to the output could otherwise alias it.
        DSP::NoiseLanes noise = m_noise;
        DSP::FilterLanes bandsL = m_streamBands[0];
        DSP::FilterLanes bandsR = m_streamBands[1];
        Brown brown = m_brown;
        for (int i = from; i < event; ++i) {
            const float k = float(i - from);
            const Lanes n = noise.next();
            const Lanes w = weight + weightStep * k;
            const float left = DSP::sum(bandsL.step(splat(n[0])) * w);
            const float right = DSP::sum(bandsR.step(splat(n[1])) * w);
            const Lanes z = brown.step(n, 0.02f, 0.996f, 2.6f, 0.25f);
            const float si = s.start + s.step * k;
            m_left[i] = si * (left + 0.34f * z[0]);
            m_right[i] = si * (right + 0.34f * z[1]);
        }
        m_noise = noise;
        m_streamBands[0] = bandsL;
        m_streamBands[1] = bandsR;
        m_brown = brown;
        addBirdsong(from, event);
        from = event;
    }
}

void AmbienceVoice::birdEvent(int frame)
{
    const double t = at(frame);
    if (m_birdNotesLeft == 0 && t >= m_birdNextPhrase) {
        m_birdKind = int(std::floor(3.0 * u())) % 3;
        m_birdNotesLeft = int(std::floor(3.0 * u())) + 2;
        m_birdPitch = 2500.0 + 1500.0 * u();
        m_birdNextNote = t;
        return;
    }
    if (m_birdNotesLeft < 1 || t < m_birdNextNote)
        return;
    DSP::Warble &w = m_warbles[std::size_t(m_warbleTurn)];
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
    m_birdNextNote = t + gap;
    m_warbleTurn = (m_warbleTurn + 1) % 3;
    m_birdNotesLeft -= 1;
    if (m_birdNotesLeft == 0)
        m_birdNextPhrase = t + 5.0 + 13.0 * u();
}

void AmbienceVoice::addBirdsong(int from, int to)
{
    if (std::none_of(m_warbles.begin(), m_warbles.end(), [](const DSP::Warble &w) { return w.sounding(); }))
        return;
    for (int i = from; i < to; ++i) {
        double sum = 0.0;
        for (DSP::Warble &w : m_warbles) {
            if (w.sounding())
                sum += w.step(m_dt);
        }
        m_left[i] += float(0.55 * sum);
        m_right[i] += float(0.85 * sum);
    }
}

// ---- Surf, rain, wind -----------------------------------------------------

void AmbienceVoice::surf(int from, int to)
{
    if (to <= from)
        return;
    auto wave = [](double t) {
        auto shape = [](double p) {
            return p < 0.32 ? std::pow(p / 0.32, 1.4) : std::pow(1.0 - (p - 0.32) / 0.68, 2.2);
        };
        auto frac = [](double x) { return x - std::floor(x); };
        return 0.58 * shape(frac(t / 11.3)) + 0.42 * shape(frac(t / 7.9 + 0.37));
    };
    const Ramp w = ramp(wave, from, to);
    // The bands' cutoff follows the swell, gliding straight across the stretch.
    auto cutoff = [&](double t) { return float(DSP::svfCoefficient(320.0 + 1600.0 * wave(t), m_sampleRate)); };
    DSP::NoiseLanes noise = m_noise;
    DSP::FilterLanes bands = m_surfBands;
    DSP::FilterLanes end = bands;
    bands.setAll(splat(cutoff(at(from))), splat(1.5f));
    end.setAll(splat(cutoff(at(to))), splat(1.5f));
    const DSP::FilterLanes::Glide glide = bands.glideTo(end, to - from);
    Brown brown = m_brown;
    for (int i = from; i < to; ++i) {
        const float k = float(i - from);
        // Lanes 0 and 1 feed the swell's bands, 2 and 3 the brown noise.
        const Lanes n = noise.next();
        const Lanes b = bands.step(n);
        bands.glide(glide);
        const Lanes z = brown.step(Lanes{n[2], n[3], n[2], n[3]}, 0.02f, 0.9975f, 2.4f, 0.12f);
        const float wi = 0.34f * (w.start + w.step * k);
        m_left[i] = wi * b[0] + 0.3f * z[0];
        m_right[i] = wi * b[1] + 0.3f * z[1];
    }
    m_noise = noise;
    m_surfBands = bands;
    m_brown = brown;
}

void AmbienceVoice::rain(int from, int to)
{
    if (to <= from)
        return;
    const Ramp s = ramp(
        [](double t) { return 0.7 + 0.3 * DSP::sine(twoPi * 0.019 * t) * DSP::sine(twoPi * 0.007 * t); }, from, to);
    DSP::NoiseLanes noise = m_noise;
    DSP::FilterLanes bands = m_rainBands;
    Brown brown = m_brown;
    Crackles drops = m_crackles;
    for (int i = from; i < to; ++i) {
        const Lanes n = noise.next();
        const Lanes b = bands.step(n);
        const Lanes z = brown.step(n, 0.02f, 0.994f, 2.2f, 0.3f);
        if (m_framesToDrop == 0) {
            const double u1 = u();
            const double u2 = u();
            const double u3 = u();
            drops.trigger(320.0 + 700.0 * u1, 1.1, 0.1 + 0.1 * u2, 0.012 + 0.02 * u3, m_sampleRate);
            m_framesToDrop = framesToChance(0.0006);
        } else {
            --m_framesToDrop;
        }
        const float d = drops.step(n[0]);
        const float si = s.start + s.step * float(i - from);
        m_left[i] = si * (0.21f * b[0] + 0.32f * z[0] + 0.45f * d);
        m_right[i] = si * (0.21f * b[1] + 0.32f * z[1] + 0.38f * d);
    }
    m_noise = noise;
    m_rainBands = bands;
    m_brown = brown;
    m_crackles = drops;
}

void AmbienceVoice::wind(int from, int to)
{
    if (to <= from)
        return;
    auto gust = [](double t) {
        return (std::pow(0.5 + 0.5 * DSP::sine(twoPi * 0.021 * t), 1.6) * 0.55 + 0.45)
               * (0.6 + 0.4 * DSP::sine(twoPi * 0.0083 * t + 1.1));
    };
    const Ramp g = ramp(gust, from, to);
    auto cutoff = [&](double t) { return float(DSP::svfCoefficient(480.0 + 900.0 * gust(t), m_sampleRate)); };
    DSP::NoiseLanes noise = m_noise;
    DSP::FilterLanes bands = m_windBands;
    DSP::FilterLanes end = bands;
    bands.setAll(splat(cutoff(at(from))), splat(1.1f));
    end.setAll(splat(cutoff(at(to))), splat(1.1f));
    const DSP::FilterLanes::Glide glide = bands.glideTo(end, to - from);
    Brown brown = m_brown;
    for (int i = from; i < to; ++i) {
        const float k = float(i - from);
        const Lanes n = noise.next();
        const Lanes b = bands.step(n);
        bands.glide(glide);
        const Lanes z = brown.step(n, 0.018f, 0.997f, 2.4f, 0.2f);
        const float gi = g.start + g.step * k;
        m_left[i] = gi * (0.42f * b[0] + 0.26f * z[0]);
        m_right[i] = gi * (0.42f * b[1] + 0.26f * z[1]);
    }
    m_noise = noise;
    m_windBands = bands;
    m_brown = brown;
}

// ---- Insects --------------------------------------------------------------

void AmbienceVoice::insects(int from, int to)
{
    const double pi = std::numbers::pi;
    int i = from;
    while (i < to) {
        const double t = at(i);
        for (int k = 0; k < 4; ++k) {
            const InsectKind &kind = insectKinds[std::size_t(k)];
            if (t >= m_insectNext[std::size_t(k)]) {
                m_insectNext[std::size_t(k)] = t + kind.period * (0.7 + 0.6 * u());
                m_insectUntil[std::size_t(k)] = t + kind.burst;
            }
        }
        // Each cricket's state from here to its next change: silent, or
        // sounding under a sine envelope that rises and falls over its burst
        // (or over each of its pulses, which rest for the last 28 %).
        int end = to;
        Lanes on{}, envAngle{}, envStep{}, tremAngle{}, tremStep{}, tremDepth{}, toLeft{}, toRight{};
        Lanes tremOffset = splat(1.0f);
        for (int k = 0; k < 4; ++k) {
            const InsectKind &kind = insectKinds[std::size_t(k)];
            const double until = m_insectUntil[std::size_t(k)];
            end = std::min(end, frameOf(m_insectNext[std::size_t(k)], i + 1, to));
            if (t >= until)
                continue;
            const double p = 1.0 - (until - t) / kind.burst;
            double change = until;
            int j = 0;
            double angle = pi * p;
            double step = pi * m_dt / kind.burst;
            if (kind.pulses >= 2) {
                const double width = 1.0 / kind.pulses;
                j = std::min(kind.pulses - 1, int(std::floor(p / width)));
                const double local = (p - width * j) / width;
                const double pulseStart = until - kind.burst + width * j * kind.burst;
                if (local >= 0.72) {
                    end = std::min(end, frameOf(std::min(until, pulseStart + width * kind.burst), i + 1, to));
                    continue;
                }
                change = std::min(change, pulseStart + 0.72 * width * kind.burst);
                angle = pi * local / 0.72;
                step = pi * m_dt / (width * kind.burst * 0.72);
            }
            end = std::min(end, frameOf(change, i + 1, to));
            const double frequency = kind.pitch * (1.0 - kind.descent * j);
            m_insectBands.set(k, DSP::svfCoefficient(frequency, m_sampleRate), kind.resonance);
            on[k] = 1.0f;
            envAngle[k] = float(angle);
            envStep[k] = float(step);
            if (kind.tremolo != 0.0) {
                const double turns = kind.tremolo * t;
                tremAngle[k] = float(twoPi * (turns - std::floor(turns)));
                tremStep[k] = float(twoPi * kind.tremolo * m_dt);
                tremDepth[k] = 0.45f;
                tremOffset[k] = 0.55f;
            }
            toLeft[k] = float(kind.level * (1.0 - kind.pan));
            toRight[k] = float(kind.level * kind.pan);
        }

        const Ramp c = ramp(
            [](double t) { return 0.6 + 0.4 * DSP::sine(twoPi * 0.19 * t) * DSP::sine(twoPi * 0.07 * t); }, i, end);
        const auto active = on > 0.0f;
        const bool anyOn = on[0] + on[1] + on[2] + on[3] > 0.0f;
        // The envelopes and tremolos as turning unit vectors, started from
        // their exact angles.
        Lanes envRe, envIm, envTurnRe, envTurnIm, tremRe, tremIm, tremTurnRe, tremTurnIm;
        for (int k = 0; k < 4; ++k) {
            envRe[k] = float(std::cos(double(envAngle[k])));
            envIm[k] = float(std::sin(double(envAngle[k])));
            envTurnRe[k] = float(std::cos(double(envStep[k])));
            envTurnIm[k] = float(std::sin(double(envStep[k])));
            tremRe[k] = float(std::cos(double(tremAngle[k])));
            tremIm[k] = float(std::sin(double(tremAngle[k])));
            tremTurnRe[k] = float(std::cos(double(tremStep[k])));
            tremTurnIm[k] = float(std::sin(double(tremStep[k])));
        }
        DSP::NoiseLanes noise = m_noise;
        DSP::NoiseLanes insectNoise = m_insectNoise;
        DSP::FilterLanes bands = m_insectBands;
        DSP::FilterLanes chorusBand = m_chorusBand;
        for (int f = i; f < end; ++f) {
            const float k = float(f - i);
            float left = 0.0f;
            float right = 0.0f;
            if (anyOn) {
                const Lanes band = bands.step(insectNoise.next(), active);
                const Lanes trem = tremOffset + tremDepth * tremIm;
                const Lanes v = envIm * band * trem;
                left = DSP::sum(v * toLeft);
                right = DSP::sum(v * toRight);
                const Lanes er = envRe * envTurnRe - envIm * envTurnIm;
                envIm = envRe * envTurnIm + envIm * envTurnRe;
                envRe = er;
                const Lanes tr = tremRe * tremTurnRe - tremIm * tremTurnIm;
                tremIm = tremRe * tremTurnIm + tremIm * tremTurnRe;
                tremRe = tr;
            }
            const float chorus = (c.start + c.step * k) * 0.045f * chorusBand.step(noise.next())[0];
            m_left[f] = left + chorus;
            m_right[f] = right + 0.9f * chorus;
        }
        m_noise = noise;
        m_insectNoise = insectNoise;
        m_insectBands = bands;
        m_chorusBand = chorusBand;
        i = end;
    }
}

// ---- Embers and heartbeat -------------------------------------------------

void AmbienceVoice::embers(int from, int to)
{
    if (to <= from)
        return;
    const Ramp s = ramp([](double t) { return 0.75 + 0.25 * DSP::sine(twoPi * 0.031 * t); }, from, to);
    const Ramp p = ramp([](double t) { return 0.35 * DSP::sine(twoPi * 0.09 * t); }, from, to);
    DSP::NoiseLanes noise = m_noise;
    Brown brown = m_brown;
    Crackles crackles = m_crackles;
    for (int i = from; i < to; ++i) {
        const float k = float(i - from);
        const Lanes n = noise.next();
        const Lanes z = brown.step(n, 0.02f, 0.9965f, 2.2f, 0.09f);
        if (m_framesToDrop == 0) {
            const bool big = u() > 0.88;
            const double u2 = u();
            const double u3 = u();
            const double u4 = u();
            if (big)
                crackles.trigger(700.0 + 900.0 * u2, 0.5, 0.22 + 0.16 * u3, 0.02 + 0.03 * u4, m_sampleRate);
            else
                crackles.trigger(1600.0 + 2200.0 * u2, 0.9, 0.06 + 0.08 * u3, 0.004 + 0.008 * u4, m_sampleRate);
            m_framesToDrop = framesToChance(0.00045);
        } else {
            --m_framesToDrop;
        }
        const float crack = crackles.step(n[1]);
        const float si = 0.34f * (s.start + s.step * k);
        const float pi = p.start + p.step * k;
        m_left[i] = si * z[0] + crack * (0.5f + pi);
        m_right[i] = si * z[1] + crack * (0.5f - pi);
    }
    m_noise = noise;
    m_brown = brown;
    m_crackles = crackles;
}

void AmbienceVoice::heartbeat(int from, int to)
{
    while (from < to) {
        const double due = m_dubAt >= 0.0 ? std::min(m_beatAt, m_dubAt) : m_beatAt;
        const int event = frameOf(due, from, to);
        if (event == from) {
            const double t = at(from);
            if (t >= m_beatAt) {
                m_beatPeriod = 1.0 + 0.055 * DSP::sine(-twoPi * 0.19 * t);
                m_thumpFrequency = 51.0 + 3.0 * u();
                m_thumpLevel = 0.62;
                m_thumpDecay = std::exp(-1.0 / (0.115 * m_sampleRate));
                m_thumpPhase = 0.0;
                m_thumpBand.set(0, DSP::svfCoefficient(std::min(0.45 * m_sampleRate, 165.0), m_sampleRate), 1.5);
                m_thumpBurstLevel = 0.3f;
                m_thumpBurstDecay = float(std::exp(-1.0 / (m_sampleRate * 0.05175)));
                m_dubAt = t + (0.45 * m_beatPeriod + 0.55) * 0.3;
                m_beatAt = t + m_beatPeriod;
            }
            if (m_dubAt >= 0.0 && t >= m_dubAt) {
                m_thumpFrequency = 66.0 + 4.0 * u();
                m_thumpDecay = std::exp(-1.0 / (0.075 * m_sampleRate));
                m_thumpPhase = 0.0;
                m_thumpBand.set(0, DSP::svfCoefficient(std::min(0.45 * m_sampleRate, 215.0), m_sampleRate), 1.5);
                m_thumpBurstLevel = 0.2f;
                m_thumpBurstDecay = float(std::exp(-1.0 / (m_sampleRate * 0.03375)));
                m_dubAt = -1.0;
                m_thumpLevel = 0.4;
            }
            continue;
        }
        heartbeatStretch(from, event);
        from = event;
    }
}

void AmbienceVoice::heartbeatStretch(int from, int to)
{
    const int n = to - from;
    float *beat = m_work[1];
    std::fill_n(beat + from, n, 0.0f);
    // The thump: a sine that dies away while its pitch sinks by a factor r
    // each frame. After frame k its phase has moved on by
    // c (1 + r + ... + r^k) = A (1 - r^(k+1)), A = c / (1 - r).
    const double a0 = m_thumpLevel;
    if (a0 > 0.0004) {
        const double d = m_thumpDecay;
        int count = n;
        if (d < 1.0) {
            const double k = std::log(0.0004 / a0) / std::log(d);
            count = std::clamp(int(std::ceil(k)), 1, n);
            while (count < n && a0 * std::pow(d, count) > 0.0004)
                ++count;
            while (count > 1 && a0 * std::pow(d, count - 1) <= 0.0004)
                --count;
        }
        constexpr double r = 0.99997;
        const double c = twoPi * m_thumpFrequency / m_sampleRate;
        const double big = c / (1.0 - r);
        const float phase0 = float(m_thumpPhase);
        const float bigF = float(big);
        const double r4 = std::pow(r, 4.0);
        const double d4 = std::pow(d, 4.0);
        // 1 - r^(k+1) and 0.72 a0 d^k for four frames at a time.
        Lanes moved{}, level{};
        for (int l = 0; l < 4; ++l) {
            moved[l] = float(1.0 - std::pow(r, l + 1));
            level[l] = float(0.72 * a0 * std::pow(d, l));
        }
        const float keepR4 = float(r4);
        const float gainR4 = float(1.0 - r4);
        const float keepD4 = float(d4);
        int i = 0;
        for (; i + 4 <= count; i += 4) {
            const Lanes v = level * DSP::sine(phase0 + bigF * moved);
            for (int l = 0; l < 4; ++l)
                beat[from + i + l] = v[l];
            moved = moved * keepR4 + gainR4;
            level *= keepD4;
        }
        if (i < count) {
            const Lanes v = level * DSP::sine(phase0 + bigF * moved);
            for (int l = 0; i < count; ++i, ++l)
                beat[from + i] = v[l];
        }
        const double phase = m_thumpPhase + big * (1.0 - std::pow(r, count));
        m_thumpPhase = phase - twoPi * std::floor(phase / twoPi);
        m_thumpFrequency *= std::pow(r, count);
        m_thumpLevel = a0 * std::pow(d, count);
    }
    const Ramp amp = ramp([](double t) { return 0.7 + 0.3 * DSP::sine(twoPi * 0.19 * t); }, from, to);
    const Ramp w = ramp([](double t) { return 0.02 * DSP::sine(twoPi * 0.013 * t); }, from, to);
    DSP::NoiseLanes noise = m_noise;
    DSP::FilterLanes burst = m_thumpBand;
    Brown brown = m_brown;
    float burstLevel = m_thumpBurstLevel;
    const float burstDecay = m_thumpBurstDecay;
    for (int i = from; i < to; ++i) {
        const float k = float(i - from);
        // Lanes 0 and 1 feed the brown noise, lane 2 the burst of the beat.
        const Lanes n = noise.next();
        float total = beat[i];
        if (burstLevel > 0.0008f) {
            total += burstLevel * burst.step(splat(n[2]))[0] * 0.55f;
            burstLevel *= burstDecay;
        }
        const Lanes z = brown.step(n, 0.02f, 0.9975f, 2.0f, 0.05f);
        const float wi = w.start + w.step * k;
        const float ai = 0.16f * (amp.start + amp.step * k);
        m_left[i] = total * (1.0f + wi) + ai * z[0];
        m_right[i] = total * (1.0f - wi) + ai * z[1];
    }
    m_noise = noise;
    m_thumpBand = burst;
    m_brown = brown;
    m_thumpBurstLevel = burstLevel;
}
