// The engine ticks every quarter second only while someone can see the
// clock's fractions: the timer screen in a window that is shown and not
// minimised with the ring (which breathes with the ticks), or the tray's
// menu open. With the incense or the walker in sight, which draw their own
// frames, and for a tray item's title it wakes once a second; towards the
// phase's end when nothing shows the clock.
#include "ShownApp.h"
#include "app/TrayController.h"
#include "core/PomodoroEngine.h"

#include <QMenu>

namespace {

struct ClockInSightTest : ShownApp
{
    void SetUp() override
    {
        ShownApp::SetUp();
        open();
        app->showTray(); // the tray's menu is made with it, tray or not
    }
    PomodoroEngine &engine() { return rig->model->engine(); }
    static constexpr PomodoroEngine::Ticks Fine = PomodoroEngine::Ticks::fine;
    static constexpr PomodoroEngine::Ticks Seconds = PomodoroEngine::Ticks::seconds;
    // The tests' desktop has no tray: nothing shows the clock away from sight.
    static constexpr PomodoroEngine::Ticks Away = PomodoroEngine::Ticks::stepEnd;
    QMenu *trayMenu() { return app->trayController()->menu(); }
};

TEST_F(ClockInSightTest, FineTicksFollowWhatShowsTheClock)
{
    rig->model->settings().setFocusVisual(FocusVisual::ring);
    engine().begin(Mode::quick);
    settle();
    EXPECT_EQ(engine().ticks(), Fine) << "the timer screen is in sight";

    QWidget *window = app->mainWindow();
    window->showMinimized();
    settle();
    EXPECT_EQ(engine().ticks(), Away) << "minimised";

    emit trayMenu()->aboutToShow();
    EXPECT_EQ(engine().ticks(), Fine) << "the tray's menu shows the seconds";
    emit trayMenu()->aboutToHide();
    EXPECT_EQ(engine().ticks(), Away) << "the menu closed";

    window->showNormal();
    activate(window);
    EXPECT_EQ(engine().ticks(), Fine) << "restored";

    window->hide();
    settle();
    EXPECT_EQ(engine().ticks(), Away) << "closed to the tray";

    // Where the desktop has a tray, its item's title wants whole seconds.
    rig->model->setClockInSight(AppModel::ClockViewer::trayItem, true);
    EXPECT_EQ(engine().ticks(), PomodoroEngine::Ticks::seconds);
    window->showNormal();
    activate(window);
    EXPECT_EQ(engine().ticks(), Fine);
}

// The face in sight sets how finely: the ring's breath goes with the
// ticks; the incense and the walker need only the turning seconds, and a
// change of face while the screen shows changes the cadence at once.
TEST_F(ClockInSightTest, AFaceThatDrawsItsOwnFramesNeedsOnlyWholeSeconds)
{
    rig->model->settings().setFocusVisual(FocusVisual::incense);
    engine().begin(Mode::quick);
    settle();
    EXPECT_EQ(engine().ticks(), Seconds) << "the incense";

    rig->model->settings().setFocusVisual(FocusVisual::ring);
    settle();
    EXPECT_EQ(engine().ticks(), Fine) << "the ring";

    engine().finishPhase(true); // on to the short break, the walker
    settle();
    ASSERT_EQ(engine().phase(), Phase::shortBreak);
    EXPECT_EQ(engine().ticks(), Seconds) << "the walker";

    emit trayMenu()->aboutToShow();
    EXPECT_EQ(engine().ticks(), Fine) << "the tray's menu shows the seconds";
    emit trayMenu()->aboutToHide();

    app->mainWindow()->showMinimized();
    settle();
    EXPECT_EQ(engine().ticks(), Away) << "minimised";
    app->mainWindow()->showNormal();
    activate(app->mainWindow());
    EXPECT_EQ(engine().ticks(), Seconds) << "restored, with the walker";
}

} // namespace
