// The first click after a page takes the main window's place reaches the
// new page: through the real window, with motion on and the old look still
// dissolving into the new one (its picture laid over the page).
#include "ShownApp.h"
#include "core/PomodoroEngine.h"
#include "stores/LocalTaskStore.h"
#include "views/ManualMotion.h"

namespace {

struct PageChangeClickTest : ShownApp
{
    // A press and a release at the widget's centre, sent to its window as
    // the desktop sends them: the window finds the receiver.
    static void click(QWidget *widget)
    {
        ASSERT_TRUE(widget);
        ASSERT_TRUE(widget->isVisible()) << widget->objectName().toStdString();
        QWidget *window = widget->window();
        const QPoint at = widget->mapTo(window, widget->rect().center());
        QTest::mouseClick(window->windowHandle(), Qt::LeftButton, {}, at);
    }
    // A click on a widget of the main window found by name, at once.
    void click(const char *name) { click(find(name)); }
    // The page's changes run (its deferred deletions too), and the motion
    // that came with it goes a third of its way: the next click lands
    // while the screens still cross.
    void midway()
    {
        settle();
        ManualMotion::advance(100);
        EXPECT_TRUE(ManualMotion::moving());
    }
    void SetUp() override
    {
        ShownApp::SetUp();
        rig->local.add(QStringLiteral("Mend the gate"));
    }
};

TEST_F(PageChangeClickTest, EachPageOfTheTimerTabTakesTheFirstClick)
{
    open();
    ManualMotion motion;

    // A mode's card gives way to the running round: one click pauses it.
    click("timer.mode.quick");
    midway();
    ASSERT_EQ(rig->engine().state(), RunState::running);
    click("timer.primaryButton");
    EXPECT_EQ(rig->engine().state(), RunState::paused);

    // The round's end gives way to the completion, whose buttons take one
    // click each; again begins the same mode, and the pause takes one too.
    click("timer.primaryButton");
    rig->finishPhase();
    rig->finishPhase();
    midway();
    ASSERT_TRUE(find("timer.completion")->isVisible());
    click("timer.againButton");
    midway();
    ASSERT_EQ(rig->engine().state(), RunState::running);
    click("timer.primaryButton");
    EXPECT_EQ(rig->engine().state(), RunState::paused);

    // Back to the choice: its cards take one click too.
    click("timer.backButton");
    midway();
    ASSERT_FALSE(rig->engine().mode());
    click("timer.mode.chore");
    midway();
    EXPECT_EQ(rig->engine().mode(), Mode::chore);
}

TEST_F(PageChangeClickTest, TheRoundAfterThePreparationTakesTheFirstClick)
{
    rig->settings.setPrepares(true);
    open();
    ManualMotion motion;

    click("timer.mode.quick");
    midway();
    QWidget *preparation = find("timer.preparation");
    ASSERT_TRUE(preparation && preparation->isVisible());
    ASSERT_FALSE(rig->engine().mode());

    // A click anywhere begins at once; the next click pauses.
    click(preparation);
    midway();
    ASSERT_EQ(rig->engine().state(), RunState::running);
    click("timer.primaryButton");
    EXPECT_EQ(rig->engine().state(), RunState::paused);
}

TEST_F(PageChangeClickTest, TheTaskListAfterATabChangeTakesTheFirstClick)
{
    open();
    ManualMotion motion;

    click("root.tab.tasks");
    midway();
    ASSERT_EQ(rig->model->tab(), RootTab::tasks);
    click("tasks.row.complete");
    settle();
    EXPECT_TRUE(rig->local.open().isEmpty());

    // And back: the timer tab's card takes its first click too.
    click("root.tab.pomodoro");
    midway();
    click("timer.mode.chore");
    midway();
    EXPECT_EQ(rig->engine().mode(), Mode::chore);
}

} // namespace
