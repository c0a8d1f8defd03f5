#pragma once

#include "core/Mode.h"
#include "core/Models.h"

#include <QDateTime>
#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class ClockTimer;

// The timer state machine. It runs one run at a time: the steps (phases) a
// mode prescribes, from begin() until the last step ends or the run is
// stopped. Time is measured from wall-clock dates read from Clock::current();
// a 0.25 s ticker only notices when a phase is over (less often while
// nobody watches the clock closely; see setTicks). Every phase that ends
// with at least one second of running time becomes a SessionRecord.
//
// The owner learns of events through four callbacks, called synchronously
// inside the operation: onSessionFinished and onPhaseCompleted while the
// engine still stands at the ending step, onRunChanged and onPlanCompleted
// after it has moved.
class PomodoroEngine : public QObject
{
    Q_OBJECT
    Q_PROPERTY(std::optional<Mode> mode READ mode NOTIFY modeChanged)
    Q_PROPERTY(Phase phase READ phase NOTIFY phaseChanged)
    Q_PROPERTY(RunState state READ state NOTIFY stateChanged)
    Q_PROPERTY(double remaining READ remaining NOTIFY remainingChanged)
    Q_PROPERTY(int stepIndex READ stepIndex NOTIFY stepIndexChanged)
    Q_PROPERTY(bool leadsWithBreak READ leadsWithBreak NOTIFY leadsWithBreakChanged)
    Q_PROPERTY(QStringList rounds READ rounds NOTIFY roundsChanged)
    Q_PROPERTY(double focusSecondsInRun READ focusSecondsInRun NOTIFY focusSecondsInRunChanged)
    Q_PROPERTY(QString taskTitle READ taskTitle WRITE setTaskTitle NOTIFY taskTitleChanged)
    Q_PROPERTY(int encores READ encores NOTIFY encoresChanged)
    // Derived values follow changed(), emitted after any property above changed.
    Q_PROPERTY(int planIndex READ planIndex NOTIFY changed)
    Q_PROPERTY(bool isOpenEnded READ isOpenEnded NOTIFY changed)
    Q_PROPERTY(double progress READ progress NOTIFY changed)
    Q_PROPERTY(bool hasNextRound READ hasNextRound NOTIFY changed)
    Q_PROPERTY(std::optional<QString> nextRoundTitle READ nextRoundTitle NOTIFY changed)
    Q_PROPERTY(std::optional<QString> lastRoundTitle READ lastRoundTitle NOTIFY changed)
    Q_PROPERTY(bool canEncore READ canEncore NOTIFY changed)
    Q_PROPERTY(QString displayTitle READ displayTitle NOTIFY changed)

public:
    // settings must outlive the engine; durations are asked afresh each time.
    explicit PomodoroEngine(const PomodoroConfiguring &settings, QObject *parent = nullptr);
    ~PomodoroEngine() override;

    // Receives every record the engine makes.
    std::function<void(const SessionRecord &)> onSessionFinished;
    // Receives the phase that has just ended completed.
    std::function<void(Phase)> onPhaseCompleted;
    // Receives the mode when a run has no further step.
    std::function<void(Mode)> onPlanCompleted;
    // Receives the current phase and state after every change of step or state.
    std::function<void(Phase, RunState)> onRunChanged;

    std::optional<Mode> mode() const { return m_mode; }
    Phase phase() const { return m_phase; }
    RunState state() const { return m_state; }
    // Seconds left in a counting-down phase; seconds elapsed in an open-ended one.
    double remaining() const { return m_remaining; }
    int stepIndex() const { return m_stepIndex; }
    bool leadsWithBreak() const { return m_leadsWithBreak; }
    QStringList rounds() const { return m_rounds; }
    double focusSecondsInRun() const { return m_focusSecondsInRun; }
    QString taskTitle() const { return m_taskTitle; }
    void setTaskTitle(const QString &title);
    int encores() const { return m_encores; }

    int planIndex() const { return m_leadsWithBreak ? m_stepIndex - 1 : m_stepIndex; }
    bool isOpenEnded() const { return m_mode == Mode::open && m_phase == Phase::focus; }
    double progress() const;
    bool hasNextRound() const;
    std::optional<QString> nextRoundTitle() const;
    std::optional<QString> lastRoundTitle() const;
    bool canEncore() const;
    // The task title trimmed, or 味わう through L when empty.
    QString displayTitle() const;

    // Sets up a new run and starts its first step at once. The phase under
    // way, if any, is dropped without a record.
    void begin(Mode mode, bool afterBreak = false, const QStringList &rounds = {});
    void start();
    void pause();
    // Ends the run, recording the partial work, and clears it. The work is
    // recorded as completed when it ended because what it was for is done
    // (its task marked done), else as let go.
    void stop(bool completed = false);
    // Puts the current step back to its beginning, idle, recording nothing.
    void reset();
    // Ends the current step now; the ticker calls it with true when time is up.
    void finishPhase(bool completed);
    // Rounds mode: ends the current round (with its break) and starts the next.
    void nextRound(bool completed);
    // Adds one more repetition of the mode's rhythm, or takes one back.
    void toggleEncore();
    // Re-derives remaining of an idle step after the minutes settings changed.
    void applyDurationChangeIfIdle();
    // The phase of step i of the current run, or nothing past its end.
    std::optional<Phase> phaseAt(int index) const;

    // How often the ticker wakes while a phase runs:
    //  - fine (the default): every 0.25 s, for a clock and a face someone
    //    watches;
    //  - seconds: when the clock's whole seconds change (a countdown's
    //    falling to the second below, an open-ended phase's rising to the
    //    next), for what shows whole seconds alone (the tray's title, the
    //    timer screen with a face that draws its own frames);
    //  - stepEnd: only at the countdown's very end, while nothing shows
    //    the clock at all.
    // A phase ends on time in each. Turning to a finer cadence brings
    // remaining up to date at once.
    enum class Ticks { fine, seconds, stepEnd };
    void setTicks(Ticks ticks);
    Ticks ticks() const { return m_ticks; }

signals:
    void modeChanged();
    void phaseChanged();
    void stateChanged();
    void remainingChanged();
    void stepIndexChanged();
    void leadsWithBreakChanged();
    void roundsChanged();
    void focusSecondsInRunChanged();
    void taskTitleChanged();
    void encoresChanged();
    void changed();
    // Emitted after changed() when what the run shows apart from its clock
    // moved: its mode, phase, state, step, rounds, title, encores or what
    // follows from them. While a phase counts down changed() comes a few
    // times a second; this only at its steps, so what shows no clock can
    // follow this alone.
    void lookChanged();

private:
    void tick();
    void tickOnce();
    void armTicker();
    void startTicker();
    void stopTicker();
    void setEndDate(const std::optional<QDateTime> &date);
    void setRunningSince(const std::optional<QDateTime> &at);
    // Ends the current step. endedAt is when its time ran out (a tick that
    // finds it over); nothing means now.
    void endStep(bool completed, const std::optional<QDateTime> &endedAt);
    void advance(const QDateTime &reference);
    void finishRun(int index);
    void recordCurrentPhase(bool completed, const QDateTime &at);
    void accumulateRunning(const QDateTime &at);
    void clearStepTiming();
    void applyRoundTitle();
    double plannedDuration(Phase phase) const;
    double phaseStartRemaining() const;
    std::optional<Phase> phaseAt(int index, const QDateTime &at) const;
    double elapsed() const;
    void refreshRemainingFromEnd();
    void emitRunChanged();

    // Writes a property and notifies its observers, unless the value is equal.
    template<typename T>
    void assign(T &field, const T &value, void (PomodoroEngine::*notify)())
    {
        if (field == value)
            return;
        field = value;
        emit(this->*notify)();
        emit changed();
        followLook();
    }
    void followLook();
    void setMode(std::optional<Mode> mode);
    void setPhase(Phase phase);
    void setState(RunState state);
    void setRemaining(double seconds);
    void setStepIndex(int index);
    void setLeadsWithBreak(bool leads);
    void setRounds(const QStringList &rounds);
    void setFocusSecondsInRun(double seconds);
    void setEncores(int encores);

    const PomodoroConfiguring &m_settings;
    std::optional<Mode> m_mode;
    // The look last announced by lookChanged().
    struct Look
    {
        std::optional<Mode> mode;
        int phase = 0;
        int state = 0;
        int stepIndex = 0;
        bool leadsWithBreak = false;
        QStringList rounds;
        QString taskTitle;
        int encores = 0;
        bool started = false;
        bool canEncore = false;
        bool hasNextRound = false;
        bool encoreChosen = false;
        std::optional<QString> nextRoundTitle;
        std::optional<QString> lastRoundTitle;
        QString displayTitle;
        bool operator==(const Look &) const = default;
    };
    Look m_look;
    Phase m_phase = Phase::focus;
    RunState m_state = RunState::idle;
    double m_remaining = 0;
    int m_stepIndex = 0;
    bool m_leadsWithBreak = false;
    QStringList m_rounds;
    double m_focusSecondsInRun = 0;
    QString m_taskTitle;
    int m_encores = 0;

    // The end date and the running start are set through setEndDate and
    // setRunningSince, which keep them also as milliseconds since 1970 UTC
    // for the ticks to read.
    std::optional<QDateTime> m_endDate;
    qint64 m_endMSecs = 0;
    double m_workedSeconds = 0;
    std::optional<QDateTime> m_runningSince;
    qint64 m_runningSinceMSecs = 0;
    ClockTimer *m_ticker = nullptr;
    bool m_ticking = false; // between startTicker and stopTicker
    Ticks m_ticks = Ticks::fine;
    bool m_heldWhileClockTurned = false;
};
