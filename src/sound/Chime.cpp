#include "sound/Chime.h"

#include "core/L.h"
#include "platform/audio/AudioMixer.h"
#include "platform/audio/AudioModule.h"
#include "platform/audio/BufferPlayer.h"
#include "platform/audio/DenormalFlush.h"
#include "platform/time/Clock.h"
#include "sound/Dsp.h"

#include <QCoreApplication>
#include <algorithm>
#include <cmath>

namespace {

struct BellModel
{
    double fundamental;
    double length;
    double fade;
    double noiseCutoff;
    DSP::Resonator resonator;
};

BellModel modelOf(ChimeBell bell)
{
    using R = DSP::Resonator;
    switch (bell) {
    case ChimeBell::temple:
        return {92, 18, 6, 900,
                R::make({1, 2, 2.76, 4.08, 5.42, 7.3}, {1, 0.46, 0.3, 0.16, 0.09, 0.05}, {26, 17, 11, 6.5, 4, 2.4},
                        1.0042)};
    case ChimeBell::small:
        return {174, 10, 3.5, 1500,
                R::make({1, 2.04, 2.78, 4.16, 5.6}, {1, 0.4, 0.24, 0.12, 0.06}, {11, 7, 4.5, 2.8, 1.7}, 1.0029)};
    case ChimeBell::keisu:
        return {196, 20, 7, 1800, R::make({1, 2.74, 5.42, 8.61}, {1, 0.4, 0.16, 0.07}, {30, 16, 8, 4}, 1.0018)};
    case ChimeBell::inkin:
        return {880, 8, 3, 3200, R::make({1, 2.41, 4.12, 6.83}, {1, 0.34, 0.15, 0.06}, {6, 3.4, 2, 1.2}, 1.0035)};
    case ChimeBell::mokugyo:
        return {150, 1.2, 0.4, 600, R::make({1, 1.63, 2.31}, {0.55, 0.35, 0.18}, {0.28, 0.18, 0.12}, 1.0)};
    }
    return modelOf(ChimeBell::temple);
}

std::function<void()> &fallbackSound()
{
    static std::function<void()> fallback;
    return fallback;
}

} // namespace

void Chime::setFallbackSound(std::function<void()> fallback) { fallbackSound() = std::move(fallback); }

Chime &Chime::shared()
{
    // Parented to the application so the output closes before Qt goes down.
    static Chime *instance =
        new Chime(AudioModule::output(AudioUse::cue, L(QStringLiteral("鐘"))), QCoreApplication::instance());
    return *instance;
}

Chime::Chime(std::unique_ptr<AudioOutput> output, QObject *parent)
    : QObject(parent), m_closeTimer(std::make_unique<ClockTimer>()), m_output(std::move(output))
{
    m_closeTimer->setSingleShot(true);
    connect(m_closeTimer.get(), &ClockTimer::timeout, this, [this] { m_output->reset(); });
}

Chime::~Chime()
{
    // Stop the audio thread before the player and the clips go.
    m_output.reset();
}

std::vector<double> Chime::render(Bell bell, double sampleRate)
{
    clearUpperVectorState();
    BellModel model = modelOf(bell);
    model.resonator.strike(0.92);

    DSP::Noise noise{25214903917ull};
    DSP::StateVariable attack;
    const double attackF = DSP::svfCoefficient(std::min(0.45 * sampleRate, model.noiseCutoff), sampleRate);
    const double attackDecay = std::exp(-1.0 / (0.045 * sampleRate));
    double noiseLevel = 1.0;

    const auto n = std::size_t(std::floor(sampleRate * model.length));
    std::vector<double> out(n);
    for (std::size_t i = 0; i < n; ++i) {
        double s = model.resonator.next(model.fundamental, sampleRate);
        const double x = noise.next();
        if (noiseLevel > 0.0008) {
            s += noiseLevel * attack.step(x, attackF, 0.9) * 0.5;
            noiseLevel *= attackDecay;
        }
        out[i] = s;
    }

    const auto fade = std::size_t(std::floor(sampleRate * model.fade));
    if (fade >= 1 && n > fade) {
        const std::size_t from = n - fade;
        for (std::size_t j = 0; j < fade; ++j)
            out[from + j] *= (1.0 + std::cos(std::numbers::pi * double(j) / double(fade))) * 0.5;
    }

    double peak = 0.0;
    for (double v : out)
        peak = std::max(peak, std::abs(v));
    if (peak > 0.0) {
        const double scale = 0.72 / peak;
        for (double &v : out)
            v *= scale;
    }
    return out;
}

const AudioClip *Chime::buffer(Bell bell)
{
    std::unique_ptr<AudioClip> &slot = m_buffers[std::size_t(bell.rawValue())];
    if (!slot) {
        const double rate = m_output->sampleRate();
        const std::vector<double> samples = render(bell, rate);
        if (samples.empty())
            return nullptr;
        auto clip = std::make_unique<AudioClip>();
        clip->sampleRate = rate;
        clip->left.assign(samples.begin(), samples.end());
        slot = std::move(clip);
    }
    return slot.get();
}

void Chime::buildGraph()
{
    if (!m_player)
        m_player = std::make_unique<BufferPlayer>();
    if (!m_mixer) {
        m_mixer = std::make_unique<AudioMixer>(m_output->sampleRate());
        m_mixer->addInput(m_player.get());
    }
    m_mixer->reverb().loadPreset(Reverb::Preset::cathedral);
    m_mixer->reverb().setWetDryMix(42.0f);
    m_mixer->setOutputVolume(0.55f);
    m_output->setRenderer(m_mixer.get());
}

bool Chime::start() { return m_output->start(); }

bool Chime::ensureEngine(const AudioClip *clip)
{
    if (m_output->isRunning()) {
        // The server holds a little of what was rendered before: dropped, so
        // the new bell starts at once instead of after it.
        m_output->interrupt([this, clip] { m_player->play(clip, false); });
        return true;
    }
    if (!m_started) {
        buildGraph();
        m_started = true;
    }
    // Queued before the output opens, so its first sound is the bell's.
    m_player->stop();
    m_player->play(clip, false);
    if (!start()) {
        m_output->reset();
        buildGraph();
        if (!start()) {
            m_player->stop();
            return false;
        }
    }
    return true;
}

void Chime::play(Bell bell)
{
    const AudioClip *clip = buffer(bell);
    if (!clip)
        return;
    if (ensureEngine(clip)) {
        const double seconds = double(clip->frames()) / clip->sampleRate;
        m_closeTimer->start(qint64(std::ceil(seconds * 1000.0)) + closeDelayMs);
    } else if (fallbackSound()) {
        fallbackSound()();
    }
}
