#pragma once

#include "platform/audio/AudioClip.h"
#include "sound/AmbienceScene.h"

#include <QObject>
#include <QString>
#include <QUrl>
#include <memory>
#include <optional>
#include <vector>

class AudioFileDecoder;
class AudioMixer;
class AudioOutput;
class AmbienceVoice;
class BufferPlayer;
class ClockTimer;

// The background-sound player of the sittings: one of the synthesized scenes,
// or for the custom scene a sound file of the user's looped from memory,
// always through one reverb whose mix depends on the scene. All calls come
// from the main thread; timed work (closing the output after a stop, the
// fade, a preview's end) runs on the program's clock.
class Ambience : public QObject
{
    Q_OBJECT
    Q_PROPERTY(bool isPlaying READ isPlaying NOTIFY isPlayingChanged)
    Q_PROPERTY(QString lastError READ lastErrorText NOTIFY lastErrorChanged)
public:
    // Time after a stop before the output is closed (the voice has glided to
    // silence by then), and the file fade.
    static constexpr qint64 closeDelayMs = 7000;
    static constexpr int fadeSteps = 16;
    static constexpr qint64 fadeStepMs = 50;

    // The process-wide player on the default audio device, made on first use.
    static Ambience &shared();

    Ambience(std::unique_ptr<AudioOutput> output, std::unique_ptr<AudioFileDecoder> decoder,
             QObject *parent = nullptr);
    ~Ambience() override;

    // Starts or changes the sound. volume is the user's setting in 0...1;
    // file (a local file) is used only for the custom scene.
    void start(AmbienceScene scene, double volume, const std::optional<QUrl> &file = std::nullopt);
    // Glides to silence, fades a file out, and closes the output 7 s later,
    // so that silence costs nothing; the next start opens it again.
    void stop();
    // start(), then stop() after seconds unless something else came first.
    void preview(AmbienceScene scene, double volume, const std::optional<QUrl> &file, double seconds);

    AmbienceScene currentScene() const { return m_currentScene; }
    bool isPlaying() const { return m_isPlaying; }
    // The text of the last start failure; nothing after a successful start.
    std::optional<QString> lastError() const { return m_lastError; }
    QString lastErrorText() const { return m_lastError.value_or(QString()); }

    // The synthesized voice, once the output has been prepared (for tests and tools).
    AmbienceVoice *voice() const { return m_voice.get(); }
    BufferPlayer *filePlayer() const { return m_player.get(); }
    AudioMixer *mixer() const { return m_mixer.get(); }

signals:
    void isPlayingChanged();
    void lastErrorChanged();
    void currentSceneChanged();

private:
    bool prepare();
    bool resume();
    bool startFile(const QUrl &url, double volume);
    void stopFile();
    void fadeOutFile();
    void playLoaded();
    void onDecoded(const QUrl &url, std::shared_ptr<AudioClip> clip);
    void retire(std::shared_ptr<AudioClip> clip);
    void collectRetired();
    void setPlaying(bool playing);
    void setLastError(std::optional<QString> error);
    void setCurrentScene(AmbienceScene scene);
    void armStopTimer(qint64 ms, bool closeOutput);

    std::unique_ptr<AudioFileDecoder> m_decoder;
    std::unique_ptr<AmbienceVoice> m_voice;
    std::unique_ptr<BufferPlayer> m_player;
    std::unique_ptr<AudioMixer> m_mixer;
    std::unique_ptr<ClockTimer> m_stopTimer;
    std::unique_ptr<ClockTimer> m_fadeTimer;
    bool m_stopClosesOutput = false;
    int m_fadeStep = 0;
    float m_fadeStartVolume = 1.0f;

    // The last opened user file, kept for reuse; a decode may still be running.
    std::shared_ptr<AudioClip> m_loadedClip;
    std::optional<QUrl> m_loadedUrl;
    bool m_decoding = false;
    float m_fileVolume = 1.0f;
    // Clips the audio thread may still read; freed once it lets go.
    std::vector<std::shared_ptr<AudioClip>> m_retired;

    AmbienceScene m_currentScene = AmbienceScene::silent;
    bool m_isPlaying = false;
    std::optional<QString> m_lastError;
    // Declared last so the audio thread stops before anything it reads goes.
    std::unique_ptr<AudioOutput> m_output;
};
