#include "core/PomodoroEngine.h"
#include "platform/fakes/FakeClock.h"

#include <QSignalSpy>
#include <cmath>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

// The user's minutes: 25, 5 and 15, as the settings give them by default.
class FixedSettings : public PomodoroConfiguring
{
public:
    double focusMinutes = 25;
    double duration(Phase phase) const override
    {
        switch (phase) {
        case Phase::focus:
            return focusMinutes * 60;
        case Phase::shortBreak:
            return 300;
        case Phase::longBreak:
            return 900;
        }
        return 0;
    }
    bool autoStartBreak() const override { return true; }
    bool autoStartFocus() const override { return false; }
};

QString timeText(const QDateTime &at)
{
    const QDateTime local = at.toLocalTime();
    return local.time().msec() ? local.toString(QStringLiteral("HH:mm:ss.zzz")) : local.toString(QStringLiteral("HH:mm:ss"));
}

const char *stateName(RunState state)
{
    switch (state) {
    case RunState::idle:
        return "idle";
    case RunState::running:
        return "running";
    case RunState::paused:
        return "paused";
    case RunState::finished:
        return "finished";
    }
    return "";
}

QDateTime at(int h, int m, int s = 0, int ms = 0)
{
    return QDateTime(QDate(2025, 3, 4), QTime(h, m, s, ms));
}

// Drives an engine on a fake clock and writes every callback into one log,
// each with the step the engine stands at when it is called.
struct EngineTest : ::testing::Test
{
    FakeClock clock{at(9, 0)};
    FixedSettings settings;
    std::unique_ptr<PomodoroEngine> engine;
    std::vector<std::string> log;
    std::vector<SessionRecord> records;

    void SetUp() override
    {
        Clock::setCurrent(&clock);
        engine = std::make_unique<PomodoroEngine>(settings);
        engine->onSessionFinished = [this](const SessionRecord &r) {
            records.push_back(r);
            log.push_back(QStringLiteral("record %1 %2 %3-%4 %5 @%6")
                              .arg(rawValue(r.phase), r.title, timeText(r.start), timeText(r.end),
                                   r.completed ? QStringLiteral("done") : QStringLiteral("cut"))
                              .arg(engine->stepIndex())
                              .toStdString());
        };
        engine->onPhaseCompleted = [this](Phase p) {
            log.push_back(QStringLiteral("completed %1 @%2").arg(rawValue(p)).arg(engine->stepIndex()).toStdString());
        };
        engine->onRunChanged = [this](Phase p, RunState s) {
            log.push_back(QStringLiteral("run %1 %2 @%3")
                              .arg(rawValue(p), QLatin1String(stateName(s)))
                              .arg(engine->stepIndex())
                              .toStdString());
        };
        engine->onPlanCompleted = [this](Mode m) {
            log.push_back(QStringLiteral("plan %1").arg(rawValue(m)).toStdString());
        };
    }
    void TearDown() override
    {
        engine.reset();
        Clock::setCurrent(nullptr);
    }
    void advanceTo(const QDateTime &when) { clock.advance(clock.now().msecsTo(when)); }
    std::vector<std::string> takeLog() { return std::exchange(log, {}); }
};

using Log = std::vector<std::string>;

// Each timed mode, begun at 09:00 and left alone until well past its end.
struct ModeCase
{
    const char *name;
    Mode mode;
    QStringList rounds;
    Log expected;
};

// Test names carry the case name; printing the case itself adds nothing.
void PrintTo(const ModeCase &c, std::ostream *out)
{
    *out << c.name;
}

class ModeSequence : public EngineTest, public ::testing::WithParamInterface<ModeCase>
{
};

TEST_P(ModeSequence, RunsItsStepsAndReportsInOrder)
{
    const ModeCase &c = GetParam();
    engine->setTaskTitle(QStringLiteral("  書く\n"));
    engine->begin(c.mode, false, c.rounds);
    clock.advance(4LL * 3600 * 1000);
    EXPECT_EQ(log, c.expected);
    EXPECT_EQ(engine->state(), RunState::finished);
    EXPECT_EQ(engine->mode(), c.mode);
    EXPECT_EQ(engine->remaining(), 0.0);
    EXPECT_EQ(clock.pendingCount(), 0) << "the ticker stops with the run";
}

INSTANTIATE_TEST_SUITE_P(
    Modes, ModeSequence,
    ::testing::Values(
        ModeCase{"chore", Mode::chore, {}, {"run focus running @0", "record focus 書く 09:00:00-09:10:00 done @0",
                                            "completed focus @0", "run focus finished @1", "plan chore"}},
        ModeCase{"quick",
                 Mode::quick,
                 {},
                 {"run focus running @0", "record focus 書く 09:00:00-09:25:00 done @0", "completed focus @0",
                  "run shortBreak idle @1", "run shortBreak running @1", "record shortBreak 経行 09:25:00-09:30:00 done @1",
                  "completed shortBreak @1", "run shortBreak finished @2", "plan quick"}},
        ModeCase{"hour",
                 Mode::hour,
                 {},
                 {"run focus running @0", "record focus 書く 09:00:00-09:50:00 done @0", "completed focus @0",
                  "run shortBreak idle @1", "run shortBreak running @1", "record shortBreak 経行 09:50:00-10:00:00 done @1",
                  "completed shortBreak @1", "run shortBreak finished @2", "plan hour"}},
        ModeCase{"roundsOfThree",
                 Mode::rounds,
                 {QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")},
                 {"run focus running @0", "record focus A 09:00:00-09:10:00 done @0", "completed focus @0",
                  "run shortBreak idle @1", "run shortBreak running @1", "record shortBreak 経行 09:10:00-09:11:00 done @1",
                  "completed shortBreak @1", "run focus idle @2", "run focus running @2",
                  "record focus B 09:11:00-09:21:00 done @2", "completed focus @2", "run shortBreak idle @3",
                  "run shortBreak running @3", "record shortBreak 経行 09:21:00-09:22:00 done @3",
                  "completed shortBreak @3", "run focus idle @4", "run focus running @4",
                  "record focus C 09:22:00-09:32:00 done @4", "completed focus @4", "run focus finished @5",
                  "plan rounds"}},
        ModeCase{"roundsWithoutTitlesKeepsTheTitle",
                 Mode::rounds,
                 {},
                 {"run focus running @0", "record focus 書く 09:00:00-09:10:00 done @0", "completed focus @0",
                  "run focus finished @1", "plan rounds"}}),
    [](const auto &info) { return std::string(info.param.name); });

// Away from sight the ticker wakes only at the clock's whole seconds, or
// only towards a phase's end: the steps, their records and their order are
// the same to the millisecond.
TEST_P(ModeSequence, RunsTheSameStepsOnFewerTicks)
{
    const ModeCase &c = GetParam();
    for (PomodoroEngine::Ticks ticks : {PomodoroEngine::Ticks::seconds, PomodoroEngine::Ticks::stepEnd}) {
        SCOPED_TRACE(int(ticks));
        clock.setNow(at(9, 0));
        log.clear();
        engine->setTicks(ticks);
        engine->setTaskTitle(QStringLiteral("  書く\n"));
        engine->begin(c.mode, false, c.rounds);
        clock.advance(4LL * 3600 * 1000);
        EXPECT_EQ(log, c.expected);
        EXPECT_EQ(engine->state(), RunState::finished);
        EXPECT_EQ(clock.pendingCount(), 0) << "the ticker stops with the run";
        engine->stop();
    }
}

TEST_F(EngineTest, AwayFromSightTheClockTicksOncePerShownSecondAndCatchesUpWhenSeen)
{
    engine->begin(Mode::quick);
    clock.advance(300);
    EXPECT_DOUBLE_EQ(engine->remaining(), 1499.75) << "fine ticks every quarter second";

    engine->setTicks(PomodoroEngine::Ticks::seconds);
    EXPECT_DOUBLE_EQ(engine->remaining(), 1499.7) << "turning coarse ticks at once";
    std::vector<double> seen;
    QObject::connect(engine.get(), &PomodoroEngine::remainingChanged, [&] { seen.push_back(engine->remaining()); });
    clock.advance(10'000);
    // One tick for each whole second the countdown falls to, none skipped,
    // each found a little after its second has begun.
    ASSERT_EQ(seen.size(), 10u);
    for (size_t i = 0; i < seen.size(); ++i) {
        EXPECT_EQ(std::ceil(seen[i]), 1499.0 - double(i)) << i;
        EXPECT_GT(seen[i], 1498.9 - double(i)) << i;
    }

    // Seen again between two whole seconds: up to date at once, then every
    // quarter second.
    clock.advance(500);
    seen.clear();
    engine->setTicks(PomodoroEngine::Ticks::fine);
    EXPECT_DOUBLE_EQ(engine->remaining(), 1489.2);
    clock.advance(1000);
    EXPECT_EQ(seen.size(), 5u);

    // With nothing showing the clock, a few ticks a minute until the end,
    // and the clock up to date once something shows it again.
    engine->setTicks(PomodoroEngine::Ticks::stepEnd);
    seen.clear();
    clock.advance(60'000);
    EXPECT_LE(seen.size(), 7u);
    clock.advance(300);
    engine->setTicks(PomodoroEngine::Ticks::seconds);
    EXPECT_DOUBLE_EQ(engine->remaining(), 1427.9);

    // Paused, nothing ticks; an open-ended phase counts up a second at a
    // time, and not at all with nothing showing it.
    engine->setTicks(PomodoroEngine::Ticks::seconds);
    engine->pause();
    EXPECT_EQ(clock.pendingCount(), 0);
    engine->begin(Mode::open);
    seen.clear();
    clock.advance(3'500);
    ASSERT_EQ(seen.size(), 3u);
    EXPECT_EQ(std::floor(seen.back()), 3.0);
    engine->setTicks(PomodoroEngine::Ticks::stepEnd);
    seen.clear();
    clock.advance(60'000);
    EXPECT_TRUE(seen.empty()) << "an open-ended phase has no end to wait for";
    EXPECT_EQ(clock.pendingCount(), 0);
}

TEST_F(EngineTest, OpenFocusCountsUpAndEndsWhenFinished)
{
    engine->begin(Mode::open);
    EXPECT_EQ(engine->remaining(), 0.0);
    EXPECT_TRUE(engine->isOpenEnded());
    clock.advance(250);
    EXPECT_DOUBLE_EQ(engine->remaining(), 0.25);
    clock.advance(750'000 - 250);
    EXPECT_DOUBLE_EQ(engine->progress(), 0.5);
    clock.advance(1'050'000);
    EXPECT_NEAR(engine->progress(), 0.2, 1e-9);
    EXPECT_EQ(engine->state(), RunState::running) << "an open focus never ends by itself";

    takeLog();
    engine->finishPhase(engine->isOpenEnded());
    EXPECT_EQ(takeLog(), (Log{"record focus 味わう 09:00:00-09:30:00 done @0", "completed focus @0",
                              "run focus finished @1", "plan open"}));
    EXPECT_DOUBLE_EQ(engine->focusSecondsInRun(), 1800);
}

TEST_F(EngineTest, PauseInsideFocusKeepsOnlyTheRunningTime)
{
    engine->begin(Mode::quick);
    clock.advance(600'000);
    engine->pause();
    EXPECT_DOUBLE_EQ(engine->remaining(), 900);
    EXPECT_EQ(clock.pendingCount(), 0) << "no ticks while paused outside clock mode";
    clock.advance(600'000);
    EXPECT_DOUBLE_EQ(engine->remaining(), 900);
    engine->start();
    clock.advance(900'000);
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(timeText(records[0].start), "09:10:00");
    EXPECT_EQ(timeText(records[0].end), "09:35:00");
    EXPECT_EQ(records[0].duration(), 1500);
    EXPECT_EQ(engine->phase(), Phase::shortBreak);
}

TEST_F(EngineTest, SleptThroughPhaseCountsItsPlannedLengthEndingAtItsEndDate)
{
    engine->begin(Mode::quick);
    clock.advance(60'000);
    clock.setNow(at(11, 0)); // the machine slept through 09:25
    clock.fireDue();
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(timeText(records[0].start), "09:00:00");
    EXPECT_EQ(timeText(records[0].end), "09:25:00");
    EXPECT_TRUE(records[0].completed);
    EXPECT_DOUBLE_EQ(engine->focusSecondsInRun(), 1500);
    // The break starts when the machine woke and runs its full length.
    EXPECT_EQ(engine->phase(), Phase::shortBreak);
    EXPECT_EQ(engine->state(), RunState::running);
    EXPECT_DOUBLE_EQ(engine->remaining(), 300);
}

// A focus slept through and ended by hand on waking, before any tick noticed
// it: the record still spans the planned length and ends at the end date.
struct WakingCase
{
    const char *name;
    std::function<void(PomodoroEngine &)> end;
    bool completed;
};

void PrintTo(const WakingCase &c, std::ostream *out)
{
    *out << c.name;
}

class EndedOnWaking : public EngineTest, public ::testing::WithParamInterface<WakingCase>
{
};

TEST_P(EndedOnWaking, CountsNoMoreThanThePlannedLength)
{
    engine->begin(Mode::rounds, false, {QStringLiteral("A"), QStringLiteral("B")});
    clock.setNow(at(10, 0)); // asleep through 09:10
    GetParam().end(*engine);
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(records[0].duration(), 600);
    EXPECT_EQ(timeText(records[0].start), "09:00:00");
    EXPECT_EQ(timeText(records[0].end), "09:10:00");
    EXPECT_EQ(records[0].completed, GetParam().completed);
}

INSTANTIATE_TEST_SUITE_P(
    Ends, EndedOnWaking,
    ::testing::Values(WakingCase{"stop", [](PomodoroEngine &e) { e.stop(); }, false},
                      WakingCase{"skip", [](PomodoroEngine &e) { e.finishPhase(false); }, false},
                      WakingCase{"nextRound", [](PomodoroEngine &e) { e.nextRound(true); }, true}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(EngineTest, EncoreRepeatsTheRhythmAndCanBeTakenBack)
{
    engine->begin(Mode::quick);
    EXPECT_FALSE(engine->canEncore()) << "no encore during a focus";
    clock.advance(1'500'000);
    ASSERT_EQ(engine->phase(), Phase::shortBreak);
    EXPECT_TRUE(engine->canEncore());
    EXPECT_EQ(engine->phaseAt(engine->stepIndex() + 1), std::nullopt);

    takeLog();
    engine->toggleEncore();
    EXPECT_EQ(engine->encores(), 1);
    EXPECT_EQ(engine->phaseAt(engine->stepIndex() + 1), Phase::focus);
    engine->toggleEncore();
    EXPECT_EQ(engine->encores(), 0);
    EXPECT_EQ(engine->phaseAt(engine->stepIndex() + 1), std::nullopt);
    EXPECT_EQ(takeLog(), (Log{"run shortBreak running @1", "run shortBreak running @1"}));

    engine->toggleEncore();
    clock.advance(300'000 + 1'500'000 + 300'000);
    std::vector<Phase> phases;
    for (const SessionRecord &r : records)
        phases.push_back(r.phase);
    EXPECT_EQ(phases, (std::vector<Phase>{Phase::focus, Phase::shortBreak, Phase::focus, Phase::shortBreak}));
    EXPECT_EQ(engine->state(), RunState::finished);
    EXPECT_FALSE(engine->canEncore()) << "no encore once the run is over";
}

// Stretches under a second never become records, however the step ends.
struct ShortCase
{
    const char *name;
    std::function<void(PomodoroEngine &)> end;
};

void PrintTo(const ShortCase &c, std::ostream *out)
{
    *out << c.name;
}

class ShortPhase : public EngineTest, public ::testing::WithParamInterface<ShortCase>
{
};

TEST_P(ShortPhase, MakesNoRecord)
{
    engine->begin(Mode::quick);
    clock.advance(400);
    engine->pause();
    engine->start();
    clock.advance(500);
    GetParam().end(*engine);
    EXPECT_TRUE(records.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Ends, ShortPhase,
    ::testing::Values(ShortCase{"stop", [](PomodoroEngine &e) { e.stop(); }},
                      ShortCase{"skip", [](PomodoroEngine &e) { e.finishPhase(false); }},
                      ShortCase{"reset", [](PomodoroEngine &e) { e.reset(); }},
                      ShortCase{"beginAgain", [](PomodoroEngine &e) { e.begin(Mode::chore); }}),
    [](const auto &info) { return std::string(info.param.name); });

TEST_F(EngineTest, BeginDropsThePhaseUnderWayAndStopRecordsIt)
{
    engine->begin(Mode::quick);
    clock.advance(300'000);
    engine->begin(Mode::hour);
    EXPECT_TRUE(records.empty()) << "begin drops the worked time";
    EXPECT_EQ(engine->mode(), Mode::hour);
    EXPECT_DOUBLE_EQ(engine->remaining(), 3000);

    clock.advance(120'000);
    takeLog();
    engine->stop();
    EXPECT_EQ(takeLog(), (Log{"record focus 味わう 09:05:00-09:07:00 cut @0", "run focus idle @0"}));
    EXPECT_EQ(engine->mode(), std::nullopt);
    EXPECT_EQ(engine->phase(), Phase::focus);
    EXPECT_EQ(engine->state(), RunState::idle);
    EXPECT_DOUBLE_EQ(engine->focusSecondsInRun(), 0);
    settings.focusMinutes = 40;
    engine->applyDurationChangeIfIdle();
    EXPECT_DOUBLE_EQ(engine->remaining(), 2400) << "with no mode the user's minutes apply";
}

TEST_F(EngineTest, ResetKeepsTheStepAndStartRunsItInFull)
{
    engine->begin(Mode::quick);
    clock.advance(1'500'000 + 100'000); // 100 s into the break
    takeLog();
    engine->reset();
    EXPECT_EQ(takeLog(), (Log{"run shortBreak idle @1"}));
    EXPECT_EQ(records.size(), 1u) << "the break's worked time is dropped";
    EXPECT_DOUBLE_EQ(engine->remaining(), 300);
    clock.advance(1'000'000);
    EXPECT_EQ(engine->state(), RunState::idle);
    engine->start();
    clock.advance(299'000);
    EXPECT_EQ(engine->state(), RunState::running);
    clock.advance(1'000);
    EXPECT_EQ(engine->state(), RunState::finished);
    EXPECT_EQ(records.back().duration(), 300);
}

TEST_F(EngineTest, EndingAFinishedRunOrNoRunDoesNothing)
{
    engine->finishPhase(true);
    engine->nextRound(true);
    EXPECT_TRUE(log.empty());

    engine->begin(Mode::chore);
    clock.advance(600'000);
    ASSERT_EQ(engine->state(), RunState::finished);
    takeLog();
    engine->finishPhase(true);
    engine->reset();
    engine->start();
    engine->pause();
    EXPECT_TRUE(log.empty()) << "no second bell, record or end of run";

    engine->begin(Mode::rounds, false, {QStringLiteral("A")});
    clock.advance(600'000);
    takeLog();
    engine->nextRound(true);
    EXPECT_TRUE(log.empty());
}

TEST_F(EngineTest, RoundsTitlesFollowTheRoundsAndNextRoundSkipsAhead)
{
    engine->begin(Mode::rounds, false, {QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("C")});
    EXPECT_EQ(engine->taskTitle(), "A");
    EXPECT_TRUE(engine->hasNextRound());
    clock.advance(600'000);
    ASSERT_EQ(engine->phase(), Phase::shortBreak);
    EXPECT_EQ(engine->lastRoundTitle(), "A");
    EXPECT_EQ(engine->nextRoundTitle(), "B");

    // Putting the break's round down goes to B's focus at once.
    clock.advance(30'000);
    takeLog();
    engine->nextRound(false);
    EXPECT_EQ(takeLog(), (Log{"record shortBreak 経行 09:10:00-09:10:30 cut @1", "run focus idle @2",
                              "run focus running @2"}));
    EXPECT_EQ(engine->taskTitle(), "B");

    clock.advance(120'000);
    engine->nextRound(true);
    EXPECT_EQ(takeLog(), (Log{"record focus B 09:10:30-09:12:30 done @2", "run focus idle @4",
                              "run focus running @4"}))
        << "no phase-completed call, and B's break is skipped";
    EXPECT_EQ(engine->taskTitle(), "C");
    EXPECT_FALSE(engine->hasNextRound());

    clock.advance(60'000);
    engine->nextRound(false);
    EXPECT_EQ(takeLog(), (Log{"record focus C 09:12:30-09:13:30 cut @4", "run focus finished @6", "plan rounds"}));
    EXPECT_EQ(engine->state(), RunState::finished);
}

// Clock mode ---------------------------------------------------------------------

TEST_F(EngineTest, ClockFollowsTheHalfHourWithoutEnd)
{
    advanceTo(at(10, 10));
    engine->begin(Mode::clock);
    EXPECT_DOUBLE_EQ(engine->remaining(), 900);
    EXPECT_NEAR(engine->progress(), 0.4, 1e-9);
    advanceTo(at(11, 0));
    EXPECT_EQ(log, (Log{"run focus running @0", "record focus 味わう 10:10:00-10:25:00 done @0", "completed focus @0",
                        "run shortBreak idle @1", "run shortBreak running @1",
                        "record shortBreak 経行 10:25:00-10:30:00 done @1", "completed shortBreak @1",
                        "run focus idle @2", "run focus running @2", "record focus 味わう 10:30:00-10:55:00 done @2",
                        "completed focus @2", "run shortBreak idle @3", "run shortBreak running @3",
                        "record shortBreak 経行 10:55:00-11:00:00 done @3", "completed shortBreak @3",
                        "run focus idle @4", "run focus running @4"}));
}

TEST_F(EngineTest, ClockBegunAnywhereStartsWithTheRestOfThePhaseTheClockCallsFor)
{
    struct Case
    {
        QDateTime begun;
        Phase phase;
        double remaining;
    };
    const Case cases[] = {
        {at(10, 27, 30), Phase::shortBreak, 150}, {at(10, 0), Phase::focus, 1500},
        {at(10, 30), Phase::focus, 1500},         {at(10, 25), Phase::shortBreak, 300},
        {at(10, 55), Phase::shortBreak, 300},     {at(10, 54, 59, 750), Phase::focus, 0.25},
    };
    for (const Case &c : cases) {
        clock.setNow(c.begun);
        engine->begin(Mode::clock);
        const std::string when = timeText(c.begun).toStdString();
        EXPECT_EQ(engine->phase(), c.phase) << when;
        EXPECT_DOUBLE_EQ(engine->remaining(), c.remaining) << when;
        engine->stop();
    }
}

TEST_F(EngineTest, ClockPhaseEndsExactlyAtItsMarkWhenTicksFallBetween)
{
    // Begun a third of a tick past the minute, so no tick lands on a mark.
    advanceTo(at(10, 24, 0, 80));
    engine->begin(Mode::clock);
    advanceTo(at(10, 31));
    ASSERT_EQ(records.size(), 2u);
    EXPECT_EQ(timeText(records[0].end), "10:25:00");
    EXPECT_EQ(records[1].phase, Phase::shortBreak);
    EXPECT_EQ(timeText(records[1].end), "10:30:00");
    EXPECT_EQ(engine->phase(), Phase::focus);
    EXPECT_EQ(engine->stepIndex(), 2) << "each phase ran once";
}

TEST_F(EngineTest, ClockSleptThroughMarksEndsAtTheFirstAndFollowsTheClockOnWaking)
{
    advanceTo(at(10, 10));
    engine->begin(Mode::clock);
    clock.setNow(at(11, 40));
    clock.fireDue();
    ASSERT_EQ(records.size(), 1u);
    EXPECT_EQ(timeText(records[0].end), "10:25:00");
    EXPECT_EQ(records[0].duration(), 900);
    EXPECT_EQ(engine->phase(), Phase::focus) << "11:40 is focus time";
    EXPECT_DOUBLE_EQ(engine->remaining(), 900);
}

TEST_F(EngineTest, ClockPausedAcrossAMarkTurnsPausedThenResumesToTheNextMark)
{
    advanceTo(at(10, 10));
    engine->begin(Mode::clock);
    advanceTo(at(10, 20));
    engine->pause();
    takeLog();
    advanceTo(at(10, 26));
    EXPECT_EQ(takeLog(), (Log{"record focus 味わう 10:15:00-10:25:00 done @0", "completed focus @0",
                              "run shortBreak idle @1", "run shortBreak paused @1"}));
    EXPECT_EQ(engine->state(), RunState::paused);
    EXPECT_DOUBLE_EQ(engine->remaining(), 240) << "the paused break counts down to 10:30";

    advanceTo(at(10, 28));
    engine->start();
    advanceTo(at(10, 30, 1));
    EXPECT_EQ(takeLog(), (Log{"run shortBreak running @1", "record shortBreak 経行 10:28:00-10:30:00 done @1",
                              "completed shortBreak @1", "run focus idle @2", "run focus running @2"}));
}

TEST_F(EngineTest, ClockLeftPausedTurnsEachPhaseWithoutRecords)
{
    advanceTo(at(10, 20));
    engine->begin(Mode::clock);
    engine->pause();
    advanceTo(at(10, 25, 0, 500));
    takeLog();
    advanceTo(at(10, 31));
    EXPECT_EQ(takeLog(), (Log{"completed shortBreak @1", "run focus idle @2", "run focus paused @2"}));
    EXPECT_EQ(engine->state(), RunState::paused);
    EXPECT_DOUBLE_EQ(engine->remaining(), 24 * 60);
}

TEST_F(EngineTest, ObservablePropertiesSignalOnlyRealChanges)
{
    engine->begin(Mode::quick);
    QSignalSpy remaining(engine.get(), &PomodoroEngine::remainingChanged);
    QSignalSpy phase(engine.get(), &PomodoroEngine::phaseChanged);
    QSignalSpy title(engine.get(), &PomodoroEngine::taskTitleChanged);
    clock.advance(1000);
    EXPECT_EQ(remaining.count(), 4) << "one per tick while the time moves";
    engine->setTaskTitle(QStringLiteral("x"));
    engine->setTaskTitle(QStringLiteral("x"));
    EXPECT_EQ(title.count(), 1);
    engine->pause();
    engine->pause();
    EXPECT_EQ(phase.count(), 0);
    EXPECT_EQ(engine->displayTitle(), "x");
}

} // namespace

// A counting-down phase changes a few times a second, its look only at its
// steps: beginning, its first second (it can be reset), pausing, a new
// title, a new phase.
TEST_F(EngineTest, TheLookChangesAtTheRunsStepsNotWithItsClock)
{
    int changes = 0;
    int looks = 0;
    QObject::connect(engine.get(), &PomodoroEngine::changed, [&] { ++changes; });
    QObject::connect(engine.get(), &PomodoroEngine::lookChanged, [&] { ++looks; });
    engine->begin(Mode::quick);
    EXPECT_GT(looks, 0);
    clock.advance(1'000);
    looks = 0;
    changes = 0;
    clock.advance(60'000);
    EXPECT_GE(changes, 200);
    EXPECT_EQ(looks, 0) << "a minute of the clock alone";

    engine->pause();
    EXPECT_GT(looks, 0);
    looks = 0;
    engine->start();
    EXPECT_GT(looks, 0);
    looks = 0;
    engine->setTaskTitle(QStringLiteral("Letters"));
    EXPECT_GT(looks, 0);
    looks = 0;
    clock.advance(1500'000);
    EXPECT_EQ(engine->phase(), Phase::shortBreak);
    EXPECT_GT(looks, 0) << "the focus ended";
}
