#include "core/PomodoroEngine.h"

#include "core/L.h"
#include "platform/time/Clock.h"

#include <QUuid>
#include <algorithm>
#include <cmath>

namespace {

constexpr qint64 kTickMs = 250;
constexpr qint64 kCoarseSlackMs = 50;
constexpr double kStepEndMostSeconds = 10;
constexpr qint64 kMsPerHalfHour = 30 * 60 * 1000;
constexpr qint64 kMsToBreakMark = 25 * 60 * 1000;

QDateTime now()
{
    return Clock::current().now();
}

double secondsBetween(const QDateTime &from, const QDateTime &to)
{
    return from.msecsTo(to) / 1000.0;
}

// Seconds from the millisecond `from` (since 1970 UTC) to the clock's now.
// What ticks reads the time this way: a local QDateTime converts through the
// C library's local time, which looks at the system's time zone file on
// every conversion, several times a tick.
double secondsSinceMSecs(qint64 from)
{
    return double(Clock::current().nowMSecs() - from) / 1000.0;
}

// Milliseconds into the current half hour of local time.
qint64 msIntoHalfHour(const QDateTime &at)
{
    const QTime t = at.toLocalTime().time();
    return (qint64(t.minute() % 30) * 60 + t.second()) * 1000 + t.msec();
}

// The phase the clock calls for: focus from :00 to :25 and :30 to :55.
Phase clockPhase(const QDateTime &at)
{
    return msIntoHalfHour(at) < kMsToBreakMark ? Phase::focus : Phase::shortBreak;
}

// The next mark (minute 25, 30, 55 or 0) strictly after the start of the
// current clock phase, in whole milliseconds so that a phase ending there
// always lands on the mark itself.
QDateTime clockMark(const QDateTime &at)
{
    const qint64 into = msIntoHalfHour(at);
    const QDateTime halfHourStart = at.addMSecs(-into);
    return halfHourStart.addMSecs(into < kMsToBreakMark ? kMsToBreakMark : kMsPerHalfHour);
}

} // namespace

PomodoroEngine::PomodoroEngine(const PomodoroConfiguring &settings, QObject *parent)
    : QObject(parent)
    , m_settings(settings)
    , m_ticker(new ClockTimer(this))
{
    connect(m_ticker, &ClockTimer::timeout, this, &PomodoroEngine::tick);
    m_remaining = m_settings.duration(Phase::focus);
}

PomodoroEngine::~PomodoroEngine() = default;

// Observable properties: a write of an equal value notifies nobody.

void PomodoroEngine::followLook()
{
    Look look{m_mode,
              int(m_phase),
              int(m_state),
              m_stepIndex,
              m_leadsWithBreak,
              m_rounds,
              m_taskTitle,
              m_encores,
              progress() != 0,
              canEncore(),
              hasNextRound(),
              phaseAt(m_stepIndex + 1).has_value(),
              nextRoundTitle(),
              lastRoundTitle(),
              displayTitle()};
    if (look == m_look)
        return;
    m_look = std::move(look);
    emit lookChanged();
}

void PomodoroEngine::setTaskTitle(const QString &title)
{
    assign(m_taskTitle, title, &PomodoroEngine::taskTitleChanged);
}
void PomodoroEngine::setMode(std::optional<Mode> mode) { assign(m_mode, mode, &PomodoroEngine::modeChanged); }
void PomodoroEngine::setPhase(Phase phase) { assign(m_phase, phase, &PomodoroEngine::phaseChanged); }
void PomodoroEngine::setState(RunState state) { assign(m_state, state, &PomodoroEngine::stateChanged); }
void PomodoroEngine::setRemaining(double seconds) { assign(m_remaining, seconds, &PomodoroEngine::remainingChanged); }
void PomodoroEngine::setStepIndex(int index) { assign(m_stepIndex, index, &PomodoroEngine::stepIndexChanged); }
void PomodoroEngine::setLeadsWithBreak(bool leads)
{
    assign(m_leadsWithBreak, leads, &PomodoroEngine::leadsWithBreakChanged);
}
void PomodoroEngine::setRounds(const QStringList &rounds) { assign(m_rounds, rounds, &PomodoroEngine::roundsChanged); }
void PomodoroEngine::setFocusSecondsInRun(double seconds)
{
    assign(m_focusSecondsInRun, seconds, &PomodoroEngine::focusSecondsInRunChanged);
}
void PomodoroEngine::setEncores(int encores) { assign(m_encores, encores, &PomodoroEngine::encoresChanged); }

// Derived values -------------------------------------------------------------

double PomodoroEngine::progress() const
{
    if (isOpenEnded()) {
        const double cycle = m_settings.duration(Phase::focus);
        if (cycle <= 0)
            return 0;
        const double turns = m_remaining / cycle;
        return turns - std::floor(turns);
    }
    // A clock phase is measured against the fixed length of its phase, so
    // the indicator shows where the clock stands in the half hour.
    const double planned = m_mode == Mode::clock ? m_settings.fixedDuration(m_phase, Mode::clock)
                                                 : plannedDuration(m_phase);
    if (planned <= 0)
        return 0;
    return std::clamp(1.0 - m_remaining / planned, 0.0, 1.0);
}

bool PomodoroEngine::hasNextRound() const
{
    return m_mode == Mode::rounds && planIndex() / 2 + 1 < m_rounds.size();
}

std::optional<QString> PomodoroEngine::nextRoundTitle() const
{
    if (m_mode != Mode::rounds || m_phase != Phase::shortBreak)
        return std::nullopt;
    const int r = planIndex() / 2 + 1;
    if (r < 0 || r >= m_rounds.size())
        return std::nullopt;
    return m_rounds.at(r);
}

std::optional<QString> PomodoroEngine::lastRoundTitle() const
{
    if (m_mode != Mode::rounds || m_phase != Phase::shortBreak)
        return std::nullopt;
    const int r = planIndex() / 2;
    if (r < 0 || r >= m_rounds.size())
        return std::nullopt;
    return m_rounds.at(r);
}

bool PomodoroEngine::canEncore() const
{
    if (!m_mode || *m_mode == Mode::clock || *m_mode == Mode::rounds)
        return false;
    if (m_phase == Phase::focus)
        return false;
    return m_state != RunState::finished;
}

QString PomodoroEngine::displayTitle() const
{
    const QString title = m_taskTitle.trimmed();
    return title.isEmpty() ? L(QStringLiteral("味わう")) : title;
}

// Step plan --------------------------------------------------------------------

std::optional<Phase> PomodoroEngine::phaseAt(int index) const
{
    // Only the clock's phases follow the time of day, and its look is asked
    // for on every tick: the local time is read for the clock alone.
    return phaseAt(index, m_mode == Mode::clock ? now() : QDateTime());
}

std::optional<Phase> PomodoroEngine::phaseAt(int index, const QDateTime &at) const
{
    if (!m_mode)
        return std::nullopt;
    if (m_leadsWithBreak) {
        if (index == 0)
            return Phase::shortBreak;
        index -= 1;
    }
    switch (*m_mode) {
    case Mode::clock:
        return clockPhase(at);
    case Mode::open:
    case Mode::chore:
    case Mode::quick:
    case Mode::hour: {
        const QList<Phase> pattern = ModeInfo::rhythm(*m_mode, 0);
        const int steps = int(pattern.size()) * (m_encores + 1);
        if (index < 0 || index >= steps)
            return std::nullopt;
        return pattern.at(index % pattern.size());
    }
    case Mode::rounds: {
        const int n = int(m_rounds.size());
        const int steps = n > 1 ? 2 * n - 1 : 1;
        if (index < 0 || index >= steps)
            return std::nullopt;
        return index % 2 == 0 ? Phase::focus : Phase::shortBreak;
    }
    }
    return std::nullopt;
}

double PomodoroEngine::plannedDuration(Phase phase) const
{
    if (!m_mode)
        return m_settings.duration(phase);
    if (*m_mode == Mode::clock) {
        const QDateTime at = now();
        return secondsBetween(at, clockMark(at));
    }
    return m_settings.fixedDuration(phase, *m_mode);
}

double PomodoroEngine::phaseStartRemaining() const
{
    return isOpenEnded() ? 0.0 : plannedDuration(m_phase);
}

double PomodoroEngine::elapsed() const
{
    double seconds = m_workedSeconds;
    if (m_runningSince)
        seconds += std::max(0.0, secondsSinceMSecs(m_runningSinceMSecs));
    return seconds;
}

void PomodoroEngine::refreshRemainingFromEnd()
{
    if (m_endDate)
        setRemaining(std::max(0.0, -secondsSinceMSecs(m_endMSecs)));
}

void PomodoroEngine::setEndDate(const std::optional<QDateTime> &date)
{
    m_endDate = date;
    m_endMSecs = date ? date->toMSecsSinceEpoch() : 0;
}

void PomodoroEngine::setRunningSince(const std::optional<QDateTime> &at)
{
    m_runningSince = at;
    m_runningSinceMSecs = at ? at->toMSecsSinceEpoch() : 0;
}

void PomodoroEngine::applyRoundTitle()
{
    if (m_mode != Mode::rounds || m_phase != Phase::focus)
        return;
    const int r = planIndex() / 2;
    if (r >= 0 && r < m_rounds.size())
        setTaskTitle(m_rounds.at(r));
}

void PomodoroEngine::clearStepTiming()
{
    setEndDate(std::nullopt);
    m_workedSeconds = 0;
    setRunningSince(std::nullopt);
}

void PomodoroEngine::emitRunChanged()
{
    if (onRunChanged)
        onRunChanged(m_phase, m_state);
}

// Ticker -------------------------------------------------------------------------

void PomodoroEngine::startTicker()
{
    m_ticking = true;
    armTicker();
}

void PomodoroEngine::stopTicker()
{
    m_ticking = false;
    m_ticker->stop();
}

void PomodoroEngine::armTicker()
{
    if (m_ticks == Ticks::fine) {
        m_ticker->setSingleShot(false);
        m_ticker->start(kTickMs);
        return;
    }
    // The wait until remaining, as the last tick left it, next crosses a
    // whole second, and a little more so that the tick finds it crossed: the
    // system's timers may fire up to a twentieth of their wait early. The
    // countdown's end is waited for exactly, so the next step starts on
    // time; a tick that comes early there waits again for what is left.
    const double fraction = m_remaining - std::floor(m_remaining);
    double wait = fraction > 0 ? fraction : 1.0;
    qint64 slack = kCoarseSlackMs;
    if (isOpenEnded()) {
        // Counting up, it has no end to wait for.
        if (m_ticks == Ticks::stepEnd) {
            m_ticker->stop();
            return;
        }
        wait = 1.0 - fraction;
    } else if (m_remaining <= 1.0 || m_ticks == Ticks::stepEnd) {
        // Waits on the system's timers stop while the machine sleeps: a
        // long wait is cut into pieces, so a phase whose end passed during
        // a sleep ends soon after waking.
        wait = std::min(m_remaining, kStepEndMostSeconds);
        slack = 0;
    }
    m_ticker->setSingleShot(true);
    m_ticker->start(std::max<qint64>(1, qint64(std::ceil(wait * 1000.0)) + slack));
}

void PomodoroEngine::setTicks(Ticks ticks)
{
    if (m_ticks == ticks)
        return;
    m_ticks = ticks;
    if (!m_ticking)
        return;
    // A tick now: the clock is up to date for whoever looks, and the next
    // wait is measured from it.
    m_ticker->stop();
    tick();
}

void PomodoroEngine::tick()
{
    tickOnce();
    // A step that ended in this tick may have started the ticker anew.
    if (m_ticking && !m_ticker->isActive())
        armTicker();
}

void PomodoroEngine::tickOnce()
{
    if (isOpenEnded()) {
        setRemaining(elapsed());
        return;
    }
    if (m_state == RunState::paused && m_mode == Mode::clock) {
        const QDateTime at = now();
        // A paused clock phase still ends at its mark; the next phase then
        // begins paused.
        if (m_endDate) {
            setRemaining(std::max(0.0, secondsBetween(at, *m_endDate)));
            if (at < *m_endDate)
                return;
        } else {
            setRemaining(secondsBetween(at, clockMark(at)));
            if (clockPhase(at) == m_phase)
                return;
        }
        m_heldWhileClockTurned = true;
        endStep(true, m_endDate);
        return;
    }
    if (m_state != RunState::running)
        return;
    refreshRemainingFromEnd();
    if (m_remaining <= 0)
        endStep(true, m_endDate);
}

// Operations ---------------------------------------------------------------------

void PomodoroEngine::begin(Mode mode, bool afterBreak, const QStringList &rounds)
{
    stopTicker();
    setMode(mode);
    setRounds(rounds);
    setLeadsWithBreak(afterBreak);
    setStepIndex(0);
    setEncores(0);
    setFocusSecondsInRun(0);
    setPhase(phaseAt(0).value_or(Phase::focus));
    clearStepTiming();
    m_heldWhileClockTurned = false;
    applyRoundTitle();
    setRemaining(phaseStartRemaining());
    setState(RunState::idle);
    start();
}

void PomodoroEngine::start()
{
    if (!m_mode || (m_state != RunState::idle && m_state != RunState::paused))
        return;
    const QDateTime at = now();
    setRunningSince(at);
    m_heldWhileClockTurned = false;
    if (*m_mode == Mode::clock) {
        // A resumed clock phase runs to the next mark, not for what was left.
        setEndDate(clockMark(at));
        setRemaining(secondsBetween(at, *m_endDate));
    } else if (isOpenEnded()) {
        setEndDate(std::nullopt);
    } else {
        setEndDate(at.addMSecs(qRound64(m_remaining * 1000.0)));
    }
    setState(RunState::running);
    startTicker();
    emitRunChanged();
}

void PomodoroEngine::pause()
{
    if (m_state != RunState::running)
        return;
    const QDateTime at = now();
    if (!isOpenEnded())
        refreshRemainingFromEnd();
    accumulateRunning(at);
    if (isOpenEnded())
        setRemaining(m_workedSeconds);
    setState(RunState::paused);
    if (m_mode != Mode::clock) {
        setEndDate(std::nullopt);
        stopTicker();
    }
    emitRunChanged();
}

void PomodoroEngine::stop(bool completed)
{
    stopTicker();
    recordCurrentPhase(completed, now());
    setMode(std::nullopt);
    setRounds({});
    setLeadsWithBreak(false);
    setState(RunState::idle);
    setStepIndex(0);
    setEncores(0);
    setFocusSecondsInRun(0);
    setPhase(Phase::focus);
    clearStepTiming();
    m_heldWhileClockTurned = false;
    setRemaining(m_settings.duration(Phase::focus));
    if (onRunChanged)
        onRunChanged(Phase::focus, RunState::idle);
}

void PomodoroEngine::reset()
{
    if (m_state == RunState::finished)
        return;
    stopTicker();
    setState(RunState::idle);
    clearStepTiming();
    m_heldWhileClockTurned = false;
    setRemaining(phaseStartRemaining());
    emitRunChanged();
}

void PomodoroEngine::finishPhase(bool completed)
{
    endStep(completed, std::nullopt);
}

void PomodoroEngine::endStep(bool completed, const std::optional<QDateTime> &endedAt)
{
    // A finished run, or no run at all, has no step to end.
    if (!m_mode || m_state == RunState::finished)
        return;
    const QDateTime at = now();
    // A phase whose time ran out ends at its end date, even when the tick
    // that notices comes later (a machine that slept through it).
    const QDateTime endedWhen = endedAt && *endedAt < at ? *endedAt : at;
    stopTicker();
    const Phase ending = m_phase;
    recordCurrentPhase(completed, endedWhen);
    if (completed && onPhaseCompleted)
        onPhaseCompleted(ending);
    // The clock is asked no earlier than the end date, so a phase that ends
    // at its mark is followed by the phase after the mark.
    advance(endedAt && *endedAt > at ? *endedAt : at);
}

void PomodoroEngine::advance(const QDateTime &reference)
{
    if (!m_mode)
        return;
    const int next = m_stepIndex + 1;
    const std::optional<Phase> p = phaseAt(next, reference);
    if (!p) {
        finishRun(next);
        return;
    }
    setStepIndex(next);
    setPhase(*p);
    clearStepTiming();
    applyRoundTitle();
    if (*m_mode == Mode::clock)
        setRemaining(secondsBetween(reference, clockMark(reference)));
    else
        setRemaining(phaseStartRemaining());
    setState(RunState::idle);
    emitRunChanged();
    if (m_heldWhileClockTurned) {
        m_heldWhileClockTurned = false;
        // The clock turned while paused: the next phase waits, paused, with
        // its own mark kept so it too ends there if left alone.
        setState(RunState::paused);
        setEndDate(clockMark(reference));
        setRemaining(std::max(0.0, secondsBetween(now(), *m_endDate)));
        startTicker();
        emitRunChanged();
        return;
    }
    start();
}

void PomodoroEngine::finishRun(int index)
{
    const Mode ended = *m_mode;
    setStepIndex(index);
    setState(RunState::finished);
    setRemaining(0);
    clearStepTiming();
    m_heldWhileClockTurned = false;
    emitRunChanged();
    if (onPlanCompleted)
        onPlanCompleted(ended);
}

void PomodoroEngine::nextRound(bool completed)
{
    if (m_mode != Mode::rounds || m_state == RunState::finished)
        return;
    stopTicker();
    recordCurrentPhase(completed, now());
    const int target = 2 * (planIndex() / 2) + (m_leadsWithBreak ? 1 : 0) + 2;
    const std::optional<Phase> p = phaseAt(target);
    if (!p) {
        finishRun(target);
        return;
    }
    setStepIndex(target);
    setPhase(*p);
    clearStepTiming();
    applyRoundTitle();
    setRemaining(plannedDuration(m_phase));
    setState(RunState::idle);
    emitRunChanged();
    start();
}

void PomodoroEngine::toggleEncore()
{
    if (!canEncore())
        return;
    if (phaseAt(m_stepIndex + 1))
        setEncores(std::max(m_encores - 1, 0));
    else
        setEncores(m_encores + 1);
    emitRunChanged();
}

void PomodoroEngine::applyDurationChangeIfIdle()
{
    if (m_state == RunState::idle)
        setRemaining(phaseStartRemaining());
}

// Records ------------------------------------------------------------------------

void PomodoroEngine::accumulateRunning(const QDateTime &at)
{
    if (!m_runningSince)
        return;
    // A countdown never runs past its end date, even when noticed later.
    const QDateTime until = m_endDate && *m_endDate < at ? *m_endDate : at;
    m_workedSeconds += std::max(0.0, secondsBetween(*m_runningSince, until));
    setRunningSince(std::nullopt);
}

void PomodoroEngine::recordCurrentPhase(bool completed, const QDateTime &at)
{
    // A running countdown that ran out before anyone noticed (a machine that
    // slept through it, then stopped or skipped on waking) ended at its end date.
    const QDateTime end = m_runningSince && m_endDate && *m_endDate < at ? *m_endDate : at;
    accumulateRunning(at);
    const double worked = m_workedSeconds;
    if (worked < 1.0)
        return;
    SessionRecord record;
    record.id = QUuid::createUuid();
    record.phase = m_phase;
    switch (m_phase) {
    case Phase::focus: {
        // Stored as they are, whatever the interface language.
        const QString title = m_taskTitle.trimmed();
        record.title = title.isEmpty() ? QStringLiteral("味わう") : title;
        break;
    }
    case Phase::shortBreak:
        record.title = QStringLiteral("経行");
        break;
    case Phase::longBreak:
        record.title = QStringLiteral("茶礼");
        break;
    }
    record.end = end;
    record.start = end.addMSecs(-qRound64(worked * 1000.0));
    record.completed = completed;
    if (m_phase == Phase::focus)
        setFocusSecondsInRun(m_focusSecondsInRun + worked);
    m_workedSeconds = 0;
    if (onSessionFinished)
        onSessionFinished(record);
}
