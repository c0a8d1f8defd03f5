// The program's windows walked with the keyboard: on each tab of the main
// window, on the running round's screen, in the other windows and sheets,
// every control has a name, real Tab presses reach it in reading order
// without being caught anywhere, and the focus shows at every stop.
#include "app/FooterBar.h"
#include "app/PaperWindow.h"
#include "app/QuillmereApp.h"
#include "app/RootView.h"
#include "app/RootWorkspace.h"
#include "app/SheetDialog.h"
#include "core/AppSettings.h"
#include "core/PomodoroEngine.h"
#include "model/ModelRig.h"
#include "platform/fakes/FakeDesktop.h"
#include "support/FocusWalk.h"
#include "views/ViewTest.h"

#include <QApplication>
#include <QTest>
#include <QUuid>
#include <functional>
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

// Across the top, as it reads: the menu, the tabs, the pin, the line under
// them; the page; the footer's line, then its buttons.
TEST_F(MainWindowFocusTest, TabGoesAsTheWindowReads)
{
    show(RootTab::tasks);
    const FocusWalk::Report report = FocusWalk::walk(app->mainWindow());
    QStringList names;
    for (const QPointer<QWidget> &w : report.reached)
        if (w)
            names << w->objectName();
    // The walk starts anywhere; read it from the menu button round.
    const qsizetype first = names.indexOf(QStringLiteral("root.commands"));
    ASSERT_GE(first, 0);
    names = names.mid(first) + names.mid(0, first);
    EXPECT_EQ(names.mid(0, 8).join(QLatin1Char(' ')).toStdString(),
              "root.commands root.tab.pomodoro root.tab.day root.tab.tasks root.tab.daily root.pin "
              "root.meaning.hint tasks.composer");
    EXPECT_EQ(names.mid(names.size() - 5).join(QLatin1Char(' ')).toStdString(),
              "footer.sanshin footer.howTo footer.glossary footer.history footer.settings");
}

TEST_F(MainWindowFocusTest, TheDayTabIsWalkable)
{
    show(RootTab::day);
    expectClean("day", {"day.previous", "day.morning.field", "day.evening.field", "day.deed"});
}

// The day's free half hours are one stop; the arrows go along them and Tab
// goes on past the timeline.
TEST_F(MainWindowFocusTest, TheDaysFreeStretchesAreOneStopWithArrowsInside)
{
    show(RootTab::day);
    const FocusWalk::Report report = FocusWalk::walk(app->mainWindow());
    QList<QWidget *> openings;
    for (const QPointer<QWidget> &w : report.reached)
        if (w && w->objectName().startsWith(QLatin1String("day.opening")))
            openings << w;
    ASSERT_EQ(openings.size(), 1);
    QWidget *stop = openings.first();
    // Today at 9:00: the stop is the stretch of the present hour.
    EXPECT_EQ(stop->property("start").toInt(), 9 * 60);
    stop->setFocus(Qt::TabFocusReason);
    QTest::keyClick(stop, Qt::Key_Down);
    QWidget *next = QApplication::focusWidget();
    ASSERT_NE(next, stop);
    EXPECT_TRUE(next->objectName().startsWith(QLatin1String("day.opening")));
    EXPECT_GT(next->property("start").toInt(), stop->property("start").toInt());
    QTest::keyClick(next, Qt::Key_Up);
    EXPECT_EQ(QApplication::focusWidget(), stop);
    // The stop follows the user: Tab away and back lands where the arrows left it.
    QTest::keyClick(stop, Qt::Key_Down);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    EXPECT_FALSE(QApplication::focusWidget()->objectName().startsWith(QLatin1String("day.opening")));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
    EXPECT_EQ(QApplication::focusWidget(), next);
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

namespace {

// The other windows: settings, history and the glossary.
TEST_F(MainWindowFocusTest, TheOtherWindowsAreWalkable)
{
    app->openSettings();
    app->openWindow(QStringLiteral("history"));
    app->openWindow(QStringLiteral("glossary"));
    for (const char *id : {"settings", "history", "glossary"}) {
        SCOPED_TRACE(id);
        QWidget *window = app->window(QString::fromLatin1(id));
        ASSERT_TRUE(window);
        settle();
        const FocusWalk::Report report = FocusWalk::walk(window);
        EXPECT_FALSE(report.reached.isEmpty());
        EXPECT_TRUE(report.clean()) << report.findings().join(QLatin1Char('\n')).toStdString();
    }
}

} // namespace

namespace {

// The sheets over the main window and a row's panel: the same walk in each.
TEST_F(MainWindowFocusTest, TheSheetsAndPanelsAreWalkable)
{
    RootWorkspace *workspace = app->rootView()->workspace();
    struct Surface
    {
        const char *what;
        std::function<QWidget *()> open;
    };
    const Surface surfaces[] = {
        {"glossary sheet", [&] {
             workspace->showGlossary();
             return static_cast<QWidget *>(workspace->glossarySheet());
         }},
        {"how-to sheet", [&] {
             QTest::mouseClick(app->mainWindow()->findChild<QWidget *>(QStringLiteral("footer.howTo")), Qt::LeftButton);
             return static_cast<QWidget *>(workspace->footer()->howToSheet());
         }},
        {"place picker", [&] {
             show(RootTab::day);
             QTest::mouseClick(app->mainWindow()->findChild<QWidget *>(QStringLiteral("day.opening")), Qt::LeftButton);
             settle();
             return app->mainWindow()->findChild<QWidget *>(QStringLiteral("day.placePicker"));
         }},
        {"task panel", [&] {
             show(RootTab::tasks);
             QTest::mouseClick(app->mainWindow()->findChild<QWidget *>(QStringLiteral("tasks.row.name")), Qt::LeftButton);
             settle();
             return app->mainWindow()->findChild<QWidget *>(QStringLiteral("tasks.row.actionsPopover"));
         }},
    };
    for (const Surface &s : surfaces) {
        SCOPED_TRACE(s.what);
        QWidget *surface = s.open();
        ASSERT_TRUE(surface);
        settle();
        const FocusWalk::Report report = FocusWalk::walk(surface);
        EXPECT_FALSE(report.reached.isEmpty());
        EXPECT_TRUE(report.clean()) << report.findings().join(QLatin1Char('\n')).toStdString();
        surface->close();
        settle();
    }
}

// The first-run pages, the preparation, the completion and the sweep.
TEST_F(MainWindowFocusTest, TheIntroPreparationCompletionAndSweepAreWalkable)
{
    rig->settings.setHasSeenIntro(false);
    settle();
    expectClean("intro", {});
    rig->settings.setHasSeenIntro(true);
    settle();

    rig->settings.setPrepares(true);
    rig->model->begin(Mode::quick);
    settle();
    ASSERT_TRUE(rig->model->preparing());
    expectClean("preparation", {});
    rig->model->skipPreparation();
    settle();

    rig->finishPhase();
    rig->finishPhase();
    settle();
    ASSERT_EQ(rig->engine().state(), RunState::finished);
    expectClean("completion", {"timer.againButton"});

    // Each page of the sweep.
    show(RootTab::tasks);
    for (const AppModel::SweepStep step : {AppModel::SweepStep::opening(), AppModel::SweepStep::looking(),
                                           AppModel::SweepStep::tidying(), AppModel::SweepStep::resting(),
                                           AppModel::SweepStep::standing()}) {
        rig->model->setSweeping(AppModel::Sweeping{step, {}});
        settle();
        expectClean(("sweep " + std::to_string(int(step.kind))).c_str(), {});
    }
}

} // namespace
