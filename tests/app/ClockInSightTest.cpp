// The engine ticks every quarter second only while someone can see the
// clock's fractions: the timer screen in a window that is shown and not
// minimised, or the tray's menu open. Otherwise it wakes once a second.
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
    QMenu *trayMenu() { return app->trayController()->menu(); }
};

TEST_F(ClockInSightTest, FineTicksFollowWhatShowsTheClock)
{
    engine().begin(Mode::quick);
    settle();
    EXPECT_TRUE(engine().hasFineTicks()) << "the timer screen is in sight";

    QWidget *window = app->mainWindow();
    window->showMinimized();
    settle();
    EXPECT_FALSE(engine().hasFineTicks()) << "minimised";

    emit trayMenu()->aboutToShow();
    EXPECT_TRUE(engine().hasFineTicks()) << "the tray's menu shows the seconds";
    emit trayMenu()->aboutToHide();
    EXPECT_FALSE(engine().hasFineTicks()) << "the menu closed";

    window->showNormal();
    activate(window);
    EXPECT_TRUE(engine().hasFineTicks()) << "restored";

    window->hide();
    settle();
    EXPECT_FALSE(engine().hasFineTicks()) << "closed to the tray";
}

} // namespace
