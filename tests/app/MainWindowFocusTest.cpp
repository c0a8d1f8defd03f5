// The main window walked with the keyboard: on each tab and on the running
// round's screen every control has a name and real Tab presses reach it
// without being caught anywhere.
#include "app/PaperWindow.h"
#include "app/QuillmereApp.h"
#include "app/RootView.h"
#include "core/AppSettings.h"
#include "core/PomodoroEngine.h"
#include "model/ModelRig.h"
#include "platform/fakes/FakeDesktop.h"
#include "support/FocusWalk.h"
#include "views/ViewTest.h"

#include <QApplication>
#include <QUuid>
#include <memory>

namespace {

using namespace ModelRigs;

struct MainWindowFocusTest : ViewTest
{
    std::unique_ptr<Rig> rig = std::make_unique<Rig>();
    FakeDesktop desk;
    std::unique_ptr<QuillmereApp> app;

    void SetUp() override
    {
        ViewTest::SetUp();
        rig->settings.setHasSeenIntro(true);
        // Something on every page: a task, a practice, a finished round and the day's note.
        rig->local.add(QStringLiteral("Mend the gate"));
        const LocalTask sit = *rig->local.add(QStringLiteral("Sit"));
        rig->local.setDaily(sit.id, true);
        SessionRecord round;
        round.id = QUuid::createUuid();
        round.title = QStringLiteral("Letters");
        round.start = at(5, 8);
        round.end = round.start.addSecs(1500);
        round.completed = true;
        rig->store.append(round);
        rig->days.setIntention(QStringLiteral("walk to the river"), at(5, 9));
        rig->build();

        ViewContext context;
        context.model = rig->model.get();
        context.desktop = &desk;
        app = std::make_unique<QuillmereApp>(context);
        app->openWindow(QStringLiteral("timer"));
        app->mainWindow()->resize(RootView::kIdealSize);
        settle();
    }
    void TearDown() override
    {
        app.reset();
        rig.reset();
        ViewTest::TearDown();
    }
    static void settle()
    {
        for (int i = 0; i < 3; ++i) {
            QCoreApplication::processEvents();
            QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        }
        QCoreApplication::processEvents();
    }
    // Walks the window; the page's own controls named here must be among
    // those Tab reached, so the walk went over the page meant.
    void expectClean(const char *where, const QStringList &pageControls)
    {
        SCOPED_TRACE(where);
        const FocusWalk::Report report = FocusWalk::walk(app->mainWindow());
        QStringList reached;
        for (const QPointer<QWidget> &w : report.reached)
            if (w)
                reached << w->objectName();
        for (const QString &name : pageControls)
            EXPECT_TRUE(reached.contains(name)) << name.toStdString() << " not reached";
        EXPECT_TRUE(report.clean()) << report.findings().join(QLatin1Char('\n')).toStdString();
    }
    void show(RootTab tab)
    {
        rig->model->setTab(tab);
        settle();
    }
};

TEST_F(MainWindowFocusTest, TheTimerTabIsWalkable)
{
    show(RootTab::pomodoro);
    expectClean("timer", {"root.tab.pomodoro", "timer.titleField.edit", "timer.mode.quick"});
}

TEST_F(MainWindowFocusTest, TheDayTabIsWalkable)
{
    show(RootTab::day);
    expectClean("day", {"day.previous", "day.morning.field", "day.evening.field", "day.deed"});
}

TEST_F(MainWindowFocusTest, TheTasksTabIsWalkable)
{
    show(RootTab::tasks);
    expectClean("tasks", {"tasks.composer", "tasks.row.complete", "tasks.row.name"});
}

TEST_F(MainWindowFocusTest, TheDailyTabIsWalkable)
{
    show(RootTab::daily);
    expectClean("daily", {"daily.add", "daily.card.today"});
}

TEST_F(MainWindowFocusTest, TheRunningRoundIsWalkable)
{
    rig->model->begin(Mode::quick);
    if (rig->model->preparing())
        rig->model->skipPreparation();
    settle();
    ASSERT_TRUE(rig->model->engine().mode());
    expectClean("running", {"timer.backButton", "timer.primaryButton", "ambience.picker"});
}

} // namespace
