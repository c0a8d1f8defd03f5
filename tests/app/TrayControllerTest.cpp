// The tray item without a tray: its menu as the run changes (built anew,
// also from its own items), the status line's clock, the tooltip equal to
// the menu-bar title, the icon drawn again only when its ring moves or the
// appearance changes, and nothing at all while no run is under way.
#include "app/TrayController.h"
#include "core/AppSettings.h"
#include "model/ModelRig.h"
#include "platform/fakes/FakeAppearance.h"
#include "views/ViewTest.h"
#include "views/ink/ThemeBinding.h"

#include <QAction>
#include <QCoreApplication>
#include <QMenu>

namespace {

using ModelRigs::Rig;

struct TrayControllerTest : ViewTest
{
    Rig rig;
    AppModel *model = nullptr;
    QStringList calls;
    std::unique_ptr<TrayController> tray;
    int iconChanges = 0;

    void SetUp() override
    {
        ViewTest::SetUp();
        Lang::setForTesting(false);
        rig.settings.setShowSecondsInMenuBar(true);
        model = &rig.build();
        ShellActions shell{[this] { calls << QStringLiteral("activate"); },
                           [this](const QString &id) { calls << QStringLiteral("open ") + id; },
                           [this] { calls << QStringLiteral("quit"); }};
        tray = std::make_unique<TrayController>(*model, shell);
        QObject::connect(tray.get(), &TrayController::iconChanged, [this] { ++iconChanges; });
    }
    void TearDown() override
    {
        tray.reset();
        ViewTest::TearDown();
    }
    QStringList items() const
    {
        QCoreApplication::processEvents();
        QStringList out;
        for (QAction *a : tray->menu()->actions())
            out << (a->isSeparator() ? QStringLiteral("-") : a->objectName());
        return out;
    }
    QAction *item(const QString &id) const
    {
        QCoreApplication::processEvents();
        for (QAction *a : tray->menu()->actions())
            if (a->objectName() == id)
                return a;
        return nullptr;
    }
    PomodoroEngine &engine() { return model->engine(); }
};

const QStringList kWindows = {"-", "tray.openTimer", "tray.openHistory", "tray.openGlossary", "-", "tray.quit"};

TEST_F(TrayControllerTest, MenuFollowsTheRunAndItsOwnItems)
{
    const QStringList modes = {"tray.heading",     "tray.begin.open",  "tray.begin.chore", "tray.begin.quick",
                               "tray.begin.hour",  "tray.begin.clock", "tray.begin.rounds"};
    const QStringList controls = {"tray.status", "tray.startPause", "tray.next", "tray.reset", "tray.chooseAgain"};
    EXPECT_EQ(items(), modes + kWindows);
    EXPECT_FALSE(item("tray.heading")->isEnabled());

    // A mode chosen from the menu itself: the menu turns to the run's
    // controls (its own clicked item is not pulled from under it).
    item("tray.begin.quick")->trigger();
    EXPECT_EQ(engine().mode(), Mode::quick);
    EXPECT_EQ(calls, (QStringList{"activate", "open timer"}));
    EXPECT_EQ(items(), controls + kWindows);
    EXPECT_EQ(item("tray.status")->text(), QStringLiteral("Ichiza　Savor　25:00"));
    EXPECT_EQ(item("tray.startPause")->text(), QStringLiteral("Pause"));
    EXPECT_EQ(item("tray.startPause")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Return));
    EXPECT_EQ(item("tray.quit")->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Q));

    // The open menu's status line runs with the phase.
    emit tray->menu()->aboutToShow();
    rig.clock.advance(61000);
    EXPECT_EQ(item("tray.status")->text(), QStringLiteral("Ichiza　Savor　23:59"));
    // A closed menu's line is not written at every second; opening the
    // menu shows the clock as it is.
    emit tray->menu()->aboutToHide();
    rig.clock.advance(2000);
    EXPECT_EQ(item("tray.status")->text(), QStringLiteral("Ichiza　Savor　23:59"));
    emit tray->menu()->aboutToShow();
    EXPECT_EQ(item("tray.status")->text(), QStringLiteral("Ichiza　Savor　23:57"));

    item("tray.startPause")->trigger();
    EXPECT_EQ(engine().state(), RunState::paused);
    EXPECT_EQ(item("tray.startPause")->text(), QStringLiteral("Begin"));
    EXPECT_EQ(item("tray.status")->text(), QStringLiteral("Ichiza　Savor　23:57"));

    item("tray.next")->trigger();
    EXPECT_EQ(engine().phase(), Phase::shortBreak);
    EXPECT_EQ(item("tray.status")->text(), QStringLiteral("Ichiza　Kinhin (walking)　05:00"));

    item("tray.chooseAgain")->trigger();
    EXPECT_FALSE(engine().mode());
    EXPECT_EQ(items(), modes + kWindows);

    calls.clear();
    item("tray.openHistory")->trigger();
    item("tray.quit")->trigger();
    EXPECT_EQ(calls, (QStringList{"activate", "open history", "quit"}));
}

TEST_F(TrayControllerTest, ToolTipIsTheMenuBarTitle)
{
    struct Step
    {
        std::function<void()> act;
        QString title;
    };
    const QList<Step> steps = {
        {[] {}, QStringLiteral("◯")},
        {[this] { engine().begin(Mode::quick, false, {}); }, QStringLiteral("◯ 25:00")},
        {[this] { rig.clock.advance(90000); }, QStringLiteral("◯ 23:30")},
        {[this] { engine().pause(); }, QStringLiteral("◯ 23:30 ⏸")},
        {[this] { rig.settings.setShowSecondsInMenuBar(false); }, QStringLiteral("◯ 23 min ⏸")},
        {[this] {
             engine().start();
             rig.finishPhase();
         },
         QStringLiteral("· 5 min")},
        {[this] { rig.finishPhase(); }, QStringLiteral("◯ Done")},
    };
    for (const Step &step : steps) {
        step.act();
        EXPECT_EQ(tray->toolTip(), step.title);
        EXPECT_EQ(tray->toolTip(), model->menuBarTitle());
    }
}

TEST_F(TrayControllerTest, IconMovesOnlyWithItsRingAndNothingRunsWithoutARun)
{
    EXPECT_EQ(tray->iconState(), TrayIconPainter::State{});
    rig.clock.advance(3600 * 1000);
    EXPECT_EQ(iconChanges, 0);
    EXPECT_EQ(tray->toolTip(), QStringLiteral("◯"));

    // A whole 25-minute focus ticks four times a second; the icon is drawn
    // once per step of its ring, not on every tick.
    engine().begin(Mode::quick, false, {});
    iconChanges = 0;
    rig.clock.advance(25 * 60 * 1000 - 100);
    EXPECT_EQ(engine().phase(), Phase::focus);
    EXPECT_GE(iconChanges, 100);
    EXPECT_LE(iconChanges, TrayIconPainter::kSteps);
    EXPECT_EQ(tray->iconState().sweep, 1);

    // A paused phase holds its icon; a new appearance draws it again.
    engine().pause();
    iconChanges = 0;
    rig.clock.advance(10 * 60 * 1000);
    EXPECT_EQ(iconChanges, 0);
    const QImage before = tray->icon().pixmap(32, 32).toImage();
    FakeAppearance appearance(Kiv::Appearance::light);
    ThemeBinding binding(&appearance);
    iconChanges = 0;
    appearance.set(Kiv::Appearance::dark);
    EXPECT_EQ(iconChanges, 1);
    EXPECT_NE(tray->icon().pixmap(32, 32).toImage(), before);
}

} // namespace
