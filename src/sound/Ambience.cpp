#include "sound/Ambience.h"

#include "core/L.h"
#include "platform/audio/AudioMixer.h"
#include "platform/audio/AudioModule.h"
#include "platform/audio/BufferPlayer.h"
#include "platform/time/Clock.h"
#include "sound/AmbienceVoice.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <algorithm>
#include <cmath>

Ambience &Ambience::shared()
{
    // Parented to the application so the output closes before Qt goes down.
    static Ambience *instance = new Ambience(AudioModule::output(AudioUse::background, L(QStringLiteral("音の景色"))),
                                             AudioModule::decoder(), QCoreApplication::instance());
    return *instance;
}

Ambience::Ambience(std::unique_ptr<AudioOutput> output, std::unique_ptr<AudioFileDecoder> decoder, QObject *parent)
    : QObject(parent),
      m_decoder(std::move(decoder)),
      m_stopTimer(std::make_unique<ClockTimer>()),
      m_fadeTimer(std::make_unique<ClockTimer>()),
      m_output(std::move(output))
{
    m_stopTimer->setSingleShot(true);
    connect(m_stopTimer.get(), &ClockTimer::timeout, this, [this] {
        if (!m_stopClosesOutput) {
            stop();
        } else if (!m_isPlaying && m_output->isRunning()) {
            m_output->reset();
            collectRetired();
        }
    });
    m_fadeTimer->setInterval(fadeStepMs);
    connect(m_fadeTimer.get(), &ClockTimer::timeout, this, [this] {
        ++m_fadeStep;
        m_player->setVolume(m_fadeStartVolume * float(1.0 - 0.0625 * m_fadeStep));
        if (m_fadeStep >= fadeSteps) {
            m_fadeTimer->stop();
            stopFile();
        }
    });
}

Ambience::~Ambience()
{
    // Stop the audio thread before the voice, the player and the clips go.
    m_output.reset();
    if (m_decoder)
        m_decoder->cancel();
}

void Ambience::start(AmbienceScene scene, double volume, const std::optional<QUrl> &file)
{
    m_stopTimer->stop();
    m_fadeTimer->stop();
    // A volume that is no number is treated as none, so it never reaches the voice.
    if (scene == AmbienceScene::silent || !(volume > 0.0)) {
        stop();
        return;
    }
    if (!prepare())
        return;

    setCurrentScene(scene);
    m_mixer->reverb().setWetDryMix(AmbienceScenes::reverbMix(scene));

    if (scene == AmbienceScene::custom) {
        m_voice->setTarget(0.0f);
        if (!file || !startFile(*file, volume)) {
            setLastError(file ? L(QStringLiteral("この音源は読み込めませんでした。"))
                              : L(QStringLiteral("音源が選ばれていません。")));
            stopFile();
            setPlaying(false);
            return;
        }
    } else {
        stopFile();
        m_voice->setPendingScene(scene);
        m_voice->setTarget(float(std::min(volume, 1.0)) * 0.55f);
    }
    setLastError(std::nullopt);
    setPlaying(true);
}

void Ambience::stop()
{
    if (m_voice)
        m_voice->setTarget(0.0f);
    fadeOutFile();
    setPlaying(false);
    armStopTimer(closeDelayMs, true);
}

void Ambience::preview(AmbienceScene scene, double volume, const std::optional<QUrl> &file, double seconds)
{
    start(scene, volume, file);
    armStopTimer(qint64(std::llround(std::max(0.0, seconds) * 1000.0)), false);
}

void Ambience::armStopTimer(qint64 ms, bool closeOutput)
{
    m_stopTimer->stop();
    m_stopClosesOutput = closeOutput;
    m_stopTimer->start(ms);
}

bool Ambience::prepare()
{
    if (m_mixer)
        return resume();
    double rate = m_output->sampleRate();
    if (!(rate > 0.0))
        rate = 44100.0;
    m_voice = std::make_unique<AmbienceVoice>(rate);
    m_player = std::make_unique<BufferPlayer>();
    m_mixer = std::make_unique<AudioMixer>(rate);
    m_mixer->addInput(m_voice.get());
    m_mixer->addInput(m_player.get());
    m_mixer->reverb().loadPreset(Reverb::Preset::largeHall2);
    m_mixer->reverb().setWetDryMix(30.0f);
    m_output->setRenderer(m_mixer.get());
    return resume();
}

bool Ambience::resume() { return m_output->isRunning() || m_output->start(); }

bool Ambience::startFile(const QUrl &url, double volume)
{
    const bool reuse = m_loadedUrl == url && (m_loadedClip || m_decoding);
    if (!reuse) {
        if (!url.isLocalFile())
            return false;
        const QString path = url.toLocalFile();
        const QFileInfo info(path);
        if (!info.isFile() || !info.isReadable())
            return false;
        retire(std::move(m_loadedClip));
        m_loadedClip.reset();
        m_loadedUrl = url;
        m_decoding = true;
        m_decoder->decode(path, m_voice->sampleRate(),
                          [this, url](std::shared_ptr<AudioClip> clip) { onDecoded(url, std::move(clip)); });
    }
    if (!m_mixer)
        return false;
    m_player->stop();
    m_fileVolume = float(std::clamp(volume, 0.0, 1.0));
    m_player->setVolume(m_fileVolume);
    if (m_loadedClip)
        m_player->play(m_loadedClip.get(), true);
    return true;
}

void Ambience::onDecoded(const QUrl &url, std::shared_ptr<AudioClip> clip)
{
    if (m_loadedUrl != url)
        return;
    m_decoding = false;
    const bool wanted = m_isPlaying && m_currentScene == AmbienceScene::custom;
    if (!clip) {
        m_loadedUrl.reset();
        if (wanted) {
            setLastError(L(QStringLiteral("この音源は読み込めませんでした。")));
            stopFile();
            setPlaying(false);
        }
        return;
    }
    m_loadedClip = std::move(clip);
    if (wanted) {
        m_player->setVolume(m_fileVolume);
        m_player->play(m_loadedClip.get(), true);
    }
}

void Ambience::stopFile()
{
    m_fadeTimer->stop();
    if (m_player) {
        m_player->stop();
        m_player->setVolume(1.0f);
    }
    collectRetired();
}

void Ambience::fadeOutFile()
{
    if (!m_player || !m_player->isPlaying())
        return;
    m_fadeTimer->stop();
    m_fadeStartVolume = m_player->volume();
    m_fadeStep = 0;
    m_fadeTimer->start();
}

void Ambience::retire(std::shared_ptr<AudioClip> clip)
{
    if (clip && m_player && !m_player->released(clip.get()))
        m_retired.push_back(std::move(clip));
    collectRetired();
}

void Ambience::collectRetired()
{
    if (!m_player)
        return;
    std::erase_if(m_retired, [this](const std::shared_ptr<AudioClip> &clip) { return m_player->released(clip.get()); });
}

void Ambience::setPlaying(bool playing)
{
    if (m_isPlaying == playing)
        return;
    m_isPlaying = playing;
    emit isPlayingChanged();
}

void Ambience::setLastError(std::optional<QString> error)
{
    if (m_lastError == error)
        return;
    m_lastError = std::move(error);
    emit lastErrorChanged();
}

void Ambience::setCurrentScene(AmbienceScene scene)
{
    if (m_currentScene == scene)
        return;
    m_currentScene = scene;
    emit currentSceneChanged();
}
