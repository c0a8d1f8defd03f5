#pragma once

#include "platform/audio/AudioClip.h"
#include "sound/ChimeBell.h"

#include <QObject>
#include <array>
#include <functional>
#include <memory>
#include <vector>

class AudioOutput;
class AudioMixer;
class BufferPlayer;
class ClockTimer;

// Rings the timer's bells. Each bell is synthesized once (a struck modal
// resonator with a noise attack), normalised and kept for the rest of the
// process; ringing hands the kept clip to a player on an output of its own,
// through a cathedral reverb. A new bell cuts off the one still ringing.
// Once a bell has rung out, and its echo with it, the output is closed, so
// that silence between bells costs nothing; the next bell opens it again.
class Chime : public QObject
{
    Q_OBJECT
public:
    using Bell = ChimeBell;

    // Time after a bell's last sample before the output is closed: the
    // reverb's echo has died away by then.
    static constexpr qint64 closeDelayMs = 7000;

    // The bell chosen in the settings; the settings store sets it.
    static inline Bell kind = Bell::temple;

    // Called instead of a bell when no output can be started; the GUI sets
    // it to the desktop's beep. Nothing is called while it is unset.
    static void setFallbackSound(std::function<void()> fallback);

    // The process-wide player on the default audio device, made on first use.
    static Chime &shared();

    explicit Chime(std::unique_ptr<AudioOutput> output, QObject *parent = nullptr);
    ~Chime() override;

    void play(Bell bell);

    // The bell's mono sound at sampleRate, in [-0.72, 0.72], peak exactly 0.72.
    static std::vector<double> render(Bell bell, double sampleRate);

    // The cached clip of a bell (rendered at the output's rate on first use).
    const AudioClip *buffer(Bell bell);

private:
    // Starts the output if need be, with clip playing from its first sample.
    bool ensureEngine(const AudioClip *clip);
    bool start();
    void buildGraph();

    std::array<std::unique_ptr<AudioClip>, Bell::count> m_buffers;
    std::unique_ptr<BufferPlayer> m_player;
    std::unique_ptr<AudioMixer> m_mixer;
    std::unique_ptr<ClockTimer> m_closeTimer;
    bool m_started = false;
    // Declared last so the audio thread stops before anything it reads goes.
    std::unique_ptr<AudioOutput> m_output;
};
