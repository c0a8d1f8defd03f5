#include "MenuTestHelpers.h"
#include "app/TimerCommands.h"
#include "model/ModelRig.h"
#include "support/LanguageFixtures.h"

#include <gtest/gtest.h>

namespace {

using namespace ModelRigs;
using namespace MenuTests;

struct TimerCommandsTest : InEnglish
{
};

TEST_F(TimerCommandsTest, ItemsTitlesShortcutsAndEnabledStatesByRun)
{
    Rig rig;
    AppModel &model = rig.build();
    const QStringList begins = {"commands.begin.open|Begin Ninnun",   "commands.begin.chore|Begin Shōza",
                                "commands.begin.quick|Begin Ichiza",  "commands.begin.hour|Begin Itchū",
                                "commands.begin.clock|Begin Jōjū",    "commands.begin.rounds|Begin Junkō",
                                "-"};
    auto controls = [](const QString &startPause, bool on) {
        const QString off = on ? QString() : QStringLiteral("|off");
        return QStringList{"commands.startPause|" + startPause + "|Ctrl+Return" + off,
                           "commands.next|Next|Ctrl+Right" + off, "commands.reset|Back|Ctrl+R" + off,
                           "commands.chooseAgain|Choose again" + off, "-"};
    };
    const QStringList onTop = {"commands.alwaysOnTop|Keep on top|Ctrl+Shift+T", "-"};

    EXPECT_EQ(lines(TimerCommands::entries(model)), begins + controls("Begin", false) + onTop);
    rig.engine().begin(Mode::quick, false, {});
    EXPECT_EQ(lines(TimerCommands::entries(model)), begins + controls("Pause", true) + onTop);
    rig.engine().pause();
    EXPECT_EQ(lines(TimerCommands::entries(model)), begins + controls("Begin", true) + onTop);
    rig.engine().start();
    rig.finishPhase();
    rig.finishPhase();
    ASSERT_EQ(rig.engine().state(), RunState::finished);
    EXPECT_EQ(lines(TimerCommands::entries(model)), begins + controls("Begin", true) + onTop);

    Lang::setForTesting(true);
    const QList<MenuEntry> japanese = TimerCommands::entries(model);
    EXPECT_EQ(MenuEntry::find(japanese, "commands.begin.rounds")->text, QStringLiteral("巡香ではじめる"));
    EXPECT_EQ(MenuEntry::find(japanese, "commands.startPause")->text, QStringLiteral("はじめる"));
    EXPECT_EQ(MenuEntry::find(japanese, "commands.alwaysOnTop")->text, QStringLiteral("常に最前面に表示"));
}

TEST_F(TimerCommandsTest, ControlsDriveTheEngine)
{
    Rig rig;
    AppModel &model = rig.build();
    rig.engine().begin(Mode::hour, false, {});

    trigger(TimerCommands::entries(model), "commands.startPause");
    EXPECT_EQ(rig.engine().state(), RunState::paused);
    EXPECT_EQ(MenuEntry::find(TimerCommands::entries(model), "commands.startPause")->text, QStringLiteral("Begin"));
    trigger(TimerCommands::entries(model), "commands.startPause");
    EXPECT_EQ(rig.engine().state(), RunState::running);

    rig.clock.advance(60000);
    trigger(TimerCommands::entries(model), "commands.reset");
    EXPECT_EQ(rig.engine().state(), RunState::idle);
    EXPECT_EQ(rig.engine().remaining(), 3000);
    trigger(TimerCommands::entries(model), "commands.next");
    EXPECT_EQ(rig.engine().phase(), Phase::shortBreak);
    trigger(TimerCommands::entries(model), "commands.chooseAgain");
    EXPECT_FALSE(rig.engine().mode());

    // The pin flips the setting and its own title each time.
    for (bool expected : {true, false}) {
        trigger(TimerCommands::entries(model), "commands.alwaysOnTop");
        EXPECT_EQ(rig.settings.alwaysOnTop(), expected);
        EXPECT_EQ(MenuEntry::find(TimerCommands::entries(model), "commands.alwaysOnTop")->text,
                  expected ? QStringLiteral("Stop keeping on top") : QStringLiteral("Keep on top"));
    }
}

TEST_F(TimerCommandsTest, ModeItemsStopTheRunAndCancelThePreparationFirst)
{
    Rig rig;
    rig.settings.setPrepares(true);
    AppModel &model = rig.build();

    // During a preparation: it is abandoned and never begins a second run.
    model.begin(Mode::hour);
    ASSERT_TRUE(model.preparing());
    rig.bells.clear();
    model.setTab(RootTab::day);
    trigger(TimerCommands::entries(model), "commands.begin.rounds");
    EXPECT_EQ(model.tab(), RootTab::pomodoro); // the round begun is in view
    EXPECT_FALSE(model.preparing());
    EXPECT_EQ(rig.engine().mode(), Mode::rounds);
    EXPECT_TRUE(rig.engine().rounds().isEmpty());

    // During a run: its worked part is recorded before the new one begins.
    rig.clock.advance(20000);
    EXPECT_EQ(rig.engine().mode(), Mode::rounds);
    trigger(TimerCommands::entries(model), "commands.begin.chore");
    ASSERT_EQ(rig.store.records().size(), 1);
    EXPECT_EQ(rig.store.records().first().start.secsTo(rig.store.records().first().end), 20);
    EXPECT_EQ(rig.engine().mode(), Mode::chore);
    EXPECT_TRUE(rig.bells.isEmpty());
}

} // namespace
