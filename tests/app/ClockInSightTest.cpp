// The engine ticks every quarter second only while someone can see the
// clock's fractions: the timer screen in a window that is shown and not
// minimised, or the tray's menu open. Otherwise it wakes once a second for
// a tray item's title, or towards the phase's end when there is none.
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
    // The tests' desktop has no tray: nothing shows the clock away from sight.
    static constexpr PomodoroEngine::Ticks Away = PomodoroEngine::Ticks::stepEnd;
    QMenu *trayMenu() { return app->trayController()->menu(); }
};

TEST_F(ClockInSightTest, FineTicksFollowWhatShowsTheClock)
{
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

} // namespace
