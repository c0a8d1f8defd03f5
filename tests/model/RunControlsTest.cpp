#include "ModelRig.h"
#include "model/RunControls.h"
#include "support/LanguageFixtures.h"

#include <gtest/gtest.h>

namespace {

using namespace ModelRigs;

struct RunControlsTest : InEnglish
{
};

TEST_F(RunControlsTest, BeginningAtOnceRecordsTheInterruptedPhase)
{
    Rig rig;
    AppModel &model = rig.build();
    rig.engine().begin(Mode::hour, false, {});
    rig.clock.advance(10 * 60 * 1000);

    RunControls::beginAtOnce(model, Mode::quick);
    ASSERT_EQ(rig.store.records().size(), 1);
    const SessionRecord interrupted = rig.store.records().first();
    EXPECT_EQ(interrupted.phase, Phase::focus);
    EXPECT_FALSE(interrupted.completed);
    EXPECT_EQ(interrupted.start.secsTo(interrupted.end), 600);
    EXPECT_EQ(rig.engine().mode(), Mode::quick);
    EXPECT_EQ(rig.engine().state(), RunState::running);
    EXPECT_EQ(rig.engine().remaining(), 1500);
    EXPECT_TRUE(rig.bells.isEmpty()); // no start bell

    // A paused phase keeps its worked part too; an idle one has none.
    rig.clock.advance(60 * 1000);
    rig.engine().pause();
    RunControls::beginAtOnce(model, Mode::chore);
    EXPECT_EQ(rig.store.records().size(), 2);
    rig.engine().reset();
    RunControls::beginAtOnce(model, Mode::open);
    EXPECT_EQ(rig.store.records().size(), 2);
    EXPECT_EQ(rig.engine().mode(), Mode::open);
}

TEST_F(RunControlsTest, BeginningAtOnceAbandonsThePreparation)
{
    Rig rig;
    rig.settings.setPrepares(true);
    AppModel &model = rig.build();
    model.beginRounds({QStringLiteral("A"), QStringLiteral("B")});
    ASSERT_TRUE(model.preparing());
    rig.bells.clear();

    RunControls::beginAtOnce(model, Mode::rounds);
    EXPECT_FALSE(model.preparing());
    EXPECT_EQ(rig.engine().mode(), Mode::rounds);
    EXPECT_TRUE(rig.engine().rounds().isEmpty()); // the menu carries no round titles
    const int step = rig.engine().stepIndex();

    // The abandoned steps never begin a second run.
    rig.clock.advance(20000);
    EXPECT_EQ(rig.engine().mode(), Mode::rounds);
    EXPECT_TRUE(rig.engine().rounds().isEmpty());
    EXPECT_EQ(rig.engine().stepIndex(), step);
    EXPECT_TRUE(rig.bells.isEmpty());
    EXPECT_TRUE(rig.store.records().isEmpty());
}

TEST_F(RunControlsTest, StartPauseNextAndAgain)
{
    Rig rig;
    AppModel &model = rig.build();
    PomodoroEngine &engine = rig.engine();

    // Nothing to drive without a mode.
    RunControls::startOrPause(engine);
    RunControls::next(engine);
    RunControls::again(engine);
    EXPECT_FALSE(engine.mode());

    engine.begin(Mode::quick, false, {});
    RunControls::startOrPause(engine);
    EXPECT_EQ(engine.state(), RunState::paused);
    RunControls::startOrPause(engine);
    EXPECT_EQ(engine.state(), RunState::running);

    // A timed phase skipped is not completed; an open-ended one ended is.
    rig.clock.advance(5000);
    RunControls::next(engine);
    EXPECT_EQ(engine.phase(), Phase::shortBreak);
    engine.begin(Mode::open, false, {});
    rig.clock.advance(5000);
    RunControls::next(engine);
    ASSERT_EQ(rig.store.records().size(), 2);
    EXPECT_FALSE(rig.store.records().at(0).completed);
    EXPECT_TRUE(rig.store.records().at(1).completed);

    // A finished run: start, next and pause leave it; again begins its mode anew.
    ASSERT_EQ(engine.state(), RunState::finished);
    RunControls::startOrPause(engine);
    RunControls::next(engine);
    EXPECT_EQ(engine.state(), RunState::finished);
    EXPECT_EQ(rig.store.records().size(), 2);
    RunControls::again(engine);
    EXPECT_EQ(engine.mode(), Mode::open);
    EXPECT_EQ(engine.state(), RunState::running);
    (void)model;
}

TEST_F(RunControlsTest, PuttingDownAndCompletingMoveOnOrStop)
{
    struct Case
    {
        const char *name;
        bool complete;
        bool lastRound;
    };
    for (const Case &c : {Case{"put down, rounds left", false, false}, Case{"done, rounds left", true, false},
                          Case{"put down, last round", false, true}, Case{"done, last round", true, true}}) {
        SCOPED_TRACE(c.name);
        Rig rig;
        AppModel &model = rig.build();
        const TodoItem a = rig.addTask(QStringLiteral("A"));
        rig.addTask(QStringLiteral("B"));
        model.beginRounds({QStringLiteral("A"), QStringLiteral("B")});
        if (c.lastRound) {
            rig.finishPhase();
            rig.finishPhase();
        }
        const TodoItem current = c.lastRound ? rig.hub->items().at(1) : a;
        model.take(current);
        rig.clock.advance(30000);
        if (c.complete)
            RunControls::completeTask(model);
        else
            RunControls::putDown(model);
        rig.clock.advance(0);

        const SessionRecord last = rig.store.records().last();
        EXPECT_EQ(last.completed, c.complete) << "the history shows a round marked done without “let go”";
        EXPECT_EQ(rig.local.task(QUuid::fromString(current.ref.id))->completedAt.has_value(), c.complete);
        if (c.lastRound) {
            EXPECT_FALSE(rig.engine().mode());
            EXPECT_TRUE(rig.engine().taskTitle().isEmpty());
            EXPECT_FALSE(rig.hub->selected());
        } else {
            EXPECT_EQ(rig.engine().mode(), Mode::rounds);
            EXPECT_EQ(rig.engine().phase(), Phase::focus);
            EXPECT_EQ(rig.engine().taskTitle(), QStringLiteral("B"));
        }
    }
}

TEST_F(RunControlsTest, StayingLeavesTheRoundsForAQuickRunOnTheTask)
{
    Rig rig;
    AppModel &model = rig.build();
    rig.local.setAllTasks({LocalTask::create(QStringLiteral("A ")), LocalTask::create(QStringLiteral("B"))});
    rig.hub->reload();
    model.setTab(RootTab::day);
    model.beginRounds({QStringLiteral("A "), QStringLiteral("B")});
    rig.finishPhase();
    ASSERT_EQ(rig.engine().lastRoundTitle(), QStringLiteral("A"));

    RunControls::stay(model, *rig.engine().lastRoundTitle());
    EXPECT_EQ(rig.engine().mode(), Mode::quick);
    EXPECT_EQ(rig.engine().state(), RunState::running);
    EXPECT_EQ(rig.engine().taskTitle(), QStringLiteral("A"));
    ASSERT_TRUE(rig.hub->selected());
    EXPECT_EQ(rig.hub->selected()->title, QStringLiteral("A "));
    EXPECT_EQ(model.tab(), RootTab::pomodoro);
}

} // namespace
