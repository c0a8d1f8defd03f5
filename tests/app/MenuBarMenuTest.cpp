#include "MenuTestHelpers.h"
#include "app/MenuBarMenu.h"
#include "model/ModelRig.h"
#include "support/LanguageFixtures.h"

#include <gtest/gtest.h>

namespace {

using namespace ModelRigs;
using namespace MenuTests;

struct MenuBarMenuTest : InEnglish
{
    QStringList calls;
    ShellActions shell()
    {
        return ShellActions{[this] { calls << QStringLiteral("activate"); },
                            [this](const QString &window) { calls << QStringLiteral("open ") + window; },
                            [this] { calls << QStringLiteral("quit"); }};
    }
};

const QStringList windows = {"-", "tray.openTimer|Open the timer", "tray.openHistory|Open History",
                             "tray.openGlossary|Open the Glossary", "-", "tray.quit|Quit|Ctrl+Q"};

TEST_F(MenuBarMenuTest, EntriesAndToolTipByRun)
{
    Rig rig;
    AppModel &model = rig.build();
    const ShellActions actions = shell();

    EXPECT_EQ(lines(MenuBarMenu::entries(model, actions)),
              QStringList({"tray.heading|How will you go?|off", "tray.begin.open|Ninnun", "tray.begin.chore|Shōza",
                           "tray.begin.quick|Ichiza", "tray.begin.hour|Itchū", "tray.begin.clock|Jōjū",
                           "tray.begin.rounds|Junkō"}) +
                  windows);
    EXPECT_EQ(MenuBarMenu::toolTip(model), QStringLiteral("◯"));

    // The status line keeps the full clock whatever the menu-bar title shows.
    rig.settings.setShowSecondsInMenuBar(false);
    rig.engine().begin(Mode::quick, false, {});
    rig.clock.advance(60250);
    const QStringList controls = {"tray.next|Next", "tray.reset|Back", "tray.chooseAgain|Choose again"};
    EXPECT_EQ(lines(MenuBarMenu::entries(model, actions)),
              QStringList({"tray.status|Ichiza　Savor　24:00|off", "tray.startPause|Pause|Ctrl+Return"}) + controls +
                  windows);
    EXPECT_EQ(MenuBarMenu::toolTip(model), model.menuBarTitle());
    EXPECT_EQ(MenuBarMenu::toolTip(model), QStringLiteral("◯ 24 min"));

    rig.engine().pause();
    EXPECT_EQ(lines(MenuBarMenu::entries(model, actions)).mid(0, 2),
              QStringList({"tray.status|Ichiza　Savor　24:00|off", "tray.startPause|Begin|Ctrl+Return"}));
    EXPECT_EQ(MenuBarMenu::toolTip(model), QStringLiteral("◯ 24 min ⏸"));

    // A finished run keeps its mode: status and controls stay; next and
    // begin leave it as it is.
    rig.engine().start();
    rig.finishPhase();
    rig.finishPhase();
    ASSERT_EQ(rig.engine().state(), RunState::finished);
    const QList<MenuEntry> finished = MenuBarMenu::entries(model, actions);
    EXPECT_EQ(lines(finished).mid(0, 2),
              QStringList({"tray.status|Ichiza　Kinhin (walking)　00:00|off", "tray.startPause|Begin|Ctrl+Return"}));
    trigger(finished, "tray.next");
    trigger(finished, "tray.startPause");
    EXPECT_EQ(rig.engine().state(), RunState::finished);
    EXPECT_EQ(MenuBarMenu::toolTip(model), QStringLiteral("◯ Done"));

    Lang::setForTesting(true);
    rig.engine().stop();
    EXPECT_EQ(MenuEntry::find(MenuBarMenu::entries(model, actions), "tray.heading")->text,
              QStringLiteral("どう進めますか"));
    EXPECT_EQ(MenuEntry::find(MenuBarMenu::entries(model, actions), "tray.begin.rounds")->text, QStringLiteral("巡香"));
    EXPECT_EQ(MenuEntry::find(MenuBarMenu::entries(model, actions), "tray.quit")->text, QStringLiteral("終了"));
}

TEST_F(MenuBarMenuTest, ModeItemsBeginAtOnceAndBringTheTimerForward)
{
    Rig rig;
    rig.settings.setPrepares(true);
    AppModel &model = rig.build();
    model.begin(Mode::hour);
    ASSERT_TRUE(model.preparing());
    ASSERT_FALSE(rig.engine().mode()); // the menu offers the modes meanwhile
    model.setTab(RootTab::tasks);

    trigger(MenuBarMenu::entries(model, shell()), "tray.begin.quick");
    EXPECT_EQ(rig.engine().mode(), Mode::quick);
    EXPECT_EQ(rig.engine().state(), RunState::running);
    EXPECT_FALSE(model.preparing());
    EXPECT_EQ(calls, (QStringList{"activate", "open timer"}));
    EXPECT_EQ(model.tab(), RootTab::pomodoro); // the window opens on the round
    rig.clock.advance(20000);
    EXPECT_EQ(rig.engine().mode(), Mode::quick); // no second run from the old preparation

    calls.clear();
    const QList<MenuEntry> running = MenuBarMenu::entries(model, shell());
    for (const char *id : {"tray.openHistory", "tray.openGlossary", "tray.openTimer", "tray.quit"})
        trigger(running, id);
    EXPECT_EQ(calls, (QStringList{"activate", "open history", "activate", "open glossary", "activate", "open timer",
                                  "quit"}));

    trigger(running, "tray.chooseAgain");
    EXPECT_FALSE(rig.engine().mode());
    EXPECT_EQ(rig.store.records().size(), 1); // the partial focus, as stop records it
}

} // namespace
