// The timer's commands on every window of the program: titles and enabled
// states following the run and the pin, the shortcuts in the main,
// history, glossary and settings windows, and the mode items stopping a run
// (its worked part recorded in the sessions file) or abandoning a
// preparation before they begin.
#include "app/CommandActions.h"
#include "app/PaperWindow.h"
#include "app/QuillmereApp.h"
#include "core/AppSettings.h"
#include "core/PomodoroEngine.h"
#include "model/ModelRig.h"
#include "platform/fakes/FakeDesktop.h"
#include "stores/SessionStore.h"
#include "views/ViewTest.h"

#include <QAction>
#include <QApplication>
#include <QTest>

namespace {

using ModelRigs::Rig;

struct CommandActionsTest : ViewTest
{
    Rig rig;
    FakeDesktop desk;
    AppModel *model = nullptr;
    std::unique_ptr<QuillmereApp> app;

    QuillmereApp &build()
    {
        model = &rig.build();
        ViewContext context;
        context.model = model;
        context.desktop = &desk;
        app = std::make_unique<QuillmereApp>(context);
        return *app;
    }
    void TearDown() override
    {
        app.reset();
        ViewTest::TearDown();
    }
    PomodoroEngine &engine() { return model->engine(); }
    QAction *action(const char *id) { return app->commands()->action(QString::fromLatin1(id)); }
    // The records as the sessions file holds them.
    QList<SessionRecord> saved() const { return SessionStore(rig.dirs.dataDir()).records(); }

    static void press(QWidget *window, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::ControlModifier)
    {
        QApplication::setActiveWindow(window);
        QTest::keyClick(window, key, modifiers);
    }
};

TEST_F(CommandActionsTest, TitlesAndEnabledStatesFollowTheRunAndThePin)
{
    build();
    const QStringList controls = {"commands.startPause", "commands.next", "commands.reset", "commands.chooseAgain"};
    auto enabled = [&] {
        QStringList out;
        for (const QString &id : controls)
            out << (app->commands()->action(id)->isEnabled() ? id : QStringLiteral("off"));
        return out;
    };
    const QStringList off = {"off", "off", "off", "off"};

    EXPECT_EQ(enabled(), off);
    EXPECT_EQ(action("commands.startPause")->text(), QStringLiteral("はじめる"));
    EXPECT_TRUE(action("commands.begin.open")->isEnabled());
    EXPECT_EQ(action("commands.begin.rounds")->text(), QStringLiteral("巡香ではじめる"));

    engine().begin(Mode::hour, false, {});
    EXPECT_EQ(enabled(), controls);
    EXPECT_EQ(action("commands.startPause")->text(), QStringLiteral("とめる"));
    engine().pause();
    EXPECT_EQ(action("commands.startPause")->text(), QStringLiteral("はじめる"));
    engine().stop();
    EXPECT_EQ(enabled(), off);

    EXPECT_EQ(action("commands.alwaysOnTop")->text(), QStringLiteral("常に最前面に表示"));
    rig.settings.setAlwaysOnTop(true);
    EXPECT_EQ(action("commands.alwaysOnTop")->text(), QStringLiteral("最前面の固定を外す"));
    rig.settings.setAlwaysOnTop(false);

    // Quit closes the list; the whole list is each window's own menu.
    EXPECT_EQ(action("commands.quit")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Q));
    EXPECT_EQ(app->mainWindow()->actions(), app->commands()->actions());
    EXPECT_EQ(app->mainWindow()->contextMenuPolicy(), Qt::ActionsContextMenu);
}

TEST_F(CommandActionsTest, ShortcutsWorkInEveryWindow)
{
    build();
    app->openWindow(QStringLiteral("timer"));
    app->openWindow(QStringLiteral("history"));
    app->openWindow(QStringLiteral("glossary"));
    app->openSettings();

    for (const char *id : {"timer", "history", "glossary", "settings"}) {
        SCOPED_TRACE(id);
        QWidget *window = app->window(QString::fromLatin1(id));
        ASSERT_TRUE(window);

        // With no mode the run's keys do nothing; the pin's key flips it.
        engine().stop();
        for (Qt::Key key : {Qt::Key_Return, Qt::Key_Right, Qt::Key_R})
            press(window, key);
        EXPECT_FALSE(engine().mode());
        press(window, Qt::Key_T, Qt::ControlModifier | Qt::ShiftModifier);
        EXPECT_TRUE(rig.settings.alwaysOnTop());
        press(window, Qt::Key_T, Qt::ControlModifier | Qt::ShiftModifier);
        EXPECT_FALSE(rig.settings.alwaysOnTop());

        engine().begin(Mode::quick, false, {});
        press(window, Qt::Key_Return);
        EXPECT_EQ(engine().state(), RunState::paused);
        press(window, Qt::Key_Return);
        EXPECT_EQ(engine().state(), RunState::running);
        rig.clock.advance(30000);
        press(window, Qt::Key_R);
        EXPECT_EQ(engine().state(), RunState::idle);
        EXPECT_EQ(engine().remaining(), 25 * 60);
        press(window, Qt::Key_Right);
        EXPECT_EQ(engine().phase(), Phase::shortBreak);
        // A finished run stays as it is.
        press(window, Qt::Key_Right);
        ASSERT_EQ(engine().state(), RunState::finished);
        press(window, Qt::Key_Right);
        press(window, Qt::Key_Return);
        EXPECT_EQ(engine().state(), RunState::finished);
    }
}

TEST_F(CommandActionsTest, AModeItemDuringARunRecordsItsWorkedPartFirst)
{
    build();
    model->begin(Mode::hour);
    ASSERT_EQ(engine().mode(), Mode::hour);
    rig.bells.clear(); // the model's own start rings; the menu's does not
    rig.clock.advance(20000);

    action("commands.begin.chore")->trigger();
    EXPECT_EQ(engine().mode(), Mode::chore);
    EXPECT_EQ(engine().state(), RunState::running);
    const QList<SessionRecord> records = saved();
    ASSERT_EQ(records.size(), 1);
    EXPECT_EQ(records[0].phase, Phase::focus);
    EXPECT_FALSE(records[0].completed);
    EXPECT_EQ(records[0].start.secsTo(records[0].end), 20);
    EXPECT_EQ(records[0].end, rig.clock.now());

    // Paused with worked time: the worked part, not the pause, is kept.
    rig.clock.advance(15000);
    engine().pause();
    rig.clock.advance(60000);
    action("commands.begin.quick")->trigger();
    ASSERT_EQ(saved().size(), 2);
    EXPECT_EQ(engine().mode(), Mode::quick);
    EXPECT_TRUE(rig.bells.isEmpty());
}

TEST_F(CommandActionsTest, AModeItemDuringAPreparationAbandonsIt)
{
    rig.settings.setPrepares(true);
    build();
    model->begin(Mode::hour);
    ASSERT_TRUE(model->preparing());
    ASSERT_FALSE(engine().mode());
    rig.bells.clear();

    action("commands.begin.quick")->trigger();
    EXPECT_FALSE(model->preparing());
    EXPECT_EQ(engine().mode(), Mode::quick);
    EXPECT_TRUE(engine().rounds().isEmpty());

    // The abandoned steps never begin their own run later.
    rig.clock.advance(5 * 60 * 1000);
    EXPECT_EQ(engine().mode(), Mode::quick);
    EXPECT_EQ(engine().phase(), Phase::focus);
    EXPECT_EQ(engine().remaining(), 20 * 60);
    EXPECT_TRUE(rig.bells.isEmpty());
    EXPECT_TRUE(saved().isEmpty());
}

TEST_F(CommandActionsTest, QuitAsksTheShell)
{
    model = &rig.build();
    int quits = 0;
    CommandActions commands(*model, [&] { ++quits; });
    QWidget window;
    commands.attach(&window);
    window.show();
    press(&window, Qt::Key_Q);
    EXPECT_EQ(quits, 1);
}

} // namespace
