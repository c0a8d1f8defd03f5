#include "views/timer/ChoosingFixture.h"
#include "views/ManualMotion.h"

#include "core/PomodoroEngine.h"
#include "views/ink/PlainLineEdit.h"
#include "views/ink/Popover.h"
#include "views/timer/TaskPicker.h"
#include "views/timer/TaskTitleField.h"
#include "views/ink/InkButton.h"

#include <QSignalSpy>
#include <QTest>

namespace {

using TaskPickerTest = ChoosingFixture;

struct Shown
{
    std::unique_ptr<TaskPicker> picker;
    explicit Shown(const ViewContext &context)
        : picker(std::make_unique<TaskPicker>(context))
    {
        picker->show();
        QCoreApplication::processEvents();
    }
    TaskChooserView *list() const { return picker->list(); }
};

TEST_F(TaskPickerTest, WithNothingToChooseItSaysWhereTasksAreWritten)
{
    Shown shown(context());
    EXPECT_TRUE(shown.picker->findChild<QWidget *>(QStringLiteral("timer.taskPicker.empty"))->isVisible());
    EXPECT_FALSE(shown.list()->isVisible());
    EXPECT_TRUE(shown.picker->findChild<QWidget *>(QStringLiteral("timer.taskPicker.openTasks"))->isVisible());
}

TEST_F(TaskPickerTest, GroupsFoldAndNotes)
{
    const QDateTime now = rig->clock.now();
    task(QStringLiteral("Yesterday"), now.addDays(-1));
    task(QStringLiteral("Today"), now.addSecs(3600));
    task(QStringLiteral("Loose"));
    practice(QStringLiteral("Sweep"));
    Shown shown(context());
    EXPECT_EQ(ChoosingFixture::rowTexts(shown.list()),
              (QStringList{"# 作務", "Yesterday", "Today", "> 日を決めない　1", "# 行持", "Sweep"}));
    clickRow(shown.list(), shown.list()->foldRow());
    EXPECT_EQ(ChoosingFixture::rowTexts(shown.list()),
              (QStringList{"# 作務", "Yesterday", "Today", "v 日を決めない　1", "Loose", "# 行持", "Sweep"}));

    const int yesterday = shown.list()->rowOf(QStringLiteral("Yesterday"));
    const int today = shown.list()->rowOf(QStringLiteral("Today"));
    EXPECT_TRUE(shown.list()->rows().at(yesterday).overdue);
    EXPECT_FALSE(shown.list()->rows().at(today).overdue); // due later today
    EXPECT_EQ(shown.list()->noteOf(today), QStringLiteral("今日まで"));
    EXPECT_FALSE(shown.list()->noteOf(shown.list()->rowOf(QStringLiteral("Loose")))); // title line only
    // A note line makes its row taller.
    EXPECT_GT(shown.list()->rowRect(today).height(),
              shown.list()->rowRect(shown.list()->rowOf(QStringLiteral("Loose"))).height());
}

// The undated rows grow in over 0.15 s (what stands below them slides down)
// and shrink away as long when the fold closes; then they are gone.
TEST_F(TaskPickerTest, TheFoldMovesItsRowsOverASixthOfASecond)
{
    const QDateTime now = rig->clock.now();
    task(QStringLiteral("Today"), now.addSecs(3600));
    task(QStringLiteral("Loose"));
    task(QStringLiteral("Looser"));
    practice(QStringLiteral("Sweep"));
    Shown shown(context());
    ManualMotion motion;
    TaskChooserView *list = shown.list();
    const auto sweepTop = [&] { return list->rowRect(list->rowOf(QStringLiteral("Sweep"))).top(); };
    const int closedTop = sweepTop();

    clickRow(list, list->foldRow());
    ASSERT_TRUE(list->showsUndated());
    ManualMotion::advance(48);
    QCoreApplication::processEvents();
    const int loose = list->rowOf(QStringLiteral("Loose"));
    ASSERT_GE(loose, 0) << "listed from the start";
    EXPECT_GT(list->foldLevel(), 0);
    EXPECT_LT(list->foldLevel(), 1);
    EXPECT_GT(sweepTop(), closedTop) << "what stands below slides";
    EXPECT_TRUE(ManualMotion::lastsFor(150 - 48));
    QCoreApplication::processEvents();
    const int openTop = sweepTop();
    EXPECT_GT(openTop, closedTop);

    clickRow(list, list->foldRow());
    EXPECT_FALSE(list->showsUndated());
    ManualMotion::advance(48);
    QCoreApplication::processEvents();
    EXPECT_GE(list->rowOf(QStringLiteral("Loose")), 0) << "still there while it closes";
    EXPECT_LT(sweepTop(), openTop);
    EXPECT_TRUE(ManualMotion::lastsFor(150 - 48));
    QCoreApplication::processEvents();
    EXPECT_EQ(list->rowOf(QStringLiteral("Loose")), -1) << "gone once closed";
    EXPECT_EQ(sweepTop(), closedTop);
}

TEST_F(TaskPickerTest, ChoosingARowTakesTheTaskAndCloses)
{
    const TodoItem draft = task(QStringLiteral("Draft"));
    model->setTab(RootTab::day);
    // A finished run is stopped before the task is taken.
    rig->engine().begin(Mode::chore);
    rig->finishPhase();
    ASSERT_EQ(rig->engine().state(), RunState::finished);

    Shown shown(context());
    QSignalSpy dismissed(shown.picker.get(), &TaskPicker::dismissRequested);
    clickRow(shown.list(), shown.list()->rowOf(QStringLiteral("Draft")));
    EXPECT_EQ(dismissed.size(), 1);
    ASSERT_TRUE(rig->hub->selected());
    EXPECT_EQ(rig->hub->selected()->ref, draft.ref);
    EXPECT_EQ(rig->engine().taskTitle(), QStringLiteral("Draft"));
    EXPECT_EQ(model->tab(), RootTab::pomodoro);
    EXPECT_FALSE(rig->engine().mode());
}

TEST_F(TaskPickerTest, TheFooterOpensTheTaskListOnce)
{
    task(QStringLiteral("Draft"));
    Shown shown(context());
    QSignalSpy dismissed(shown.picker.get(), &TaskPicker::dismissRequested);
    QSignalSpy tabs(model, &AppModel::tabChanged);
    auto *footer = shown.picker->findChild<QAbstractButton *>(QStringLiteral("timer.taskPicker.openTasks"));
    click(footer);
    EXPECT_EQ(dismissed.size(), 1);
    EXPECT_EQ(model->tab(), RootTab::tasks);
    EXPECT_EQ(tabs.size(), 1);
    // Already on the task list: closes, and the tab is not written again.
    click(footer);
    EXPECT_EQ(dismissed.size(), 2);
    EXPECT_EQ(tabs.size(), 1);
}

TEST_F(TaskPickerTest, TheKeyboardChoosesARow)
{
    task(QStringLiteral("A"));
    task(QStringLiteral("B"));
    Shown shown(context());
    shown.picker->activateWindow();
    shown.list()->setFocus(Qt::TabFocusReason); // the first task (the header is skipped)
    QTest::keyClick(shown.list(), Qt::Key_Down);
    QTest::keyClick(shown.list(), Qt::Key_Return);
    EXPECT_EQ(rig->engine().taskTitle(), QStringLiteral("B"));
}

TEST_F(TaskPickerTest, AHubReloadUpdatesTheOpenList)
{
    task(QStringLiteral("A"));
    Shown shown(context());
    task(QStringLiteral("B"));
    EXPECT_EQ(ChoosingFixture::rowTexts(shown.list()), (QStringList{"# 作務", "A", "B"}));
}

using TaskTitleFieldTest = ChoosingFixture;

TEST_F(TaskTitleFieldTest, TypingSetsTheTitleAndTheListButtonOpensThePicker)
{
    task(QStringLiteral("Draft"));
    TaskTitleField field(context(), QStringLiteral("たとえば、原稿を書く"), true);
    field.resize(300, 40);
    field.show();
    QCoreApplication::processEvents();
    field.activateWindow();
    EXPECT_TRUE(field.edit()->hasFocus());
    QTest::keyClicks(field.edit(), QStringLiteral("Dra"));
    EXPECT_EQ(rig->engine().taskTitle(), QStringLiteral("Dra"));
    EXPECT_FALSE(field.showsLinkDot());

    click(field.listButton());
    EXPECT_FALSE(field.edit()->hasFocus());
    ASSERT_NE(field.pickerPopover(), nullptr);
    auto *picker = field.pickerPopover()->findChild<TaskPicker *>();
    ASSERT_NE(picker, nullptr);
    clickRow(picker->list(), picker->list()->rowOf(QStringLiteral("Draft")));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(field.pickerPopover(), nullptr);
    EXPECT_EQ(field.edit()->text(), QStringLiteral("Draft"));
    EXPECT_TRUE(field.showsLinkDot());

    // Blanks at the ends still name the task; another title does not.
    rig->engine().setTaskTitle(QStringLiteral(" Draft "));
    EXPECT_TRUE(field.showsLinkDot());
    rig->engine().setTaskTitle(QStringLiteral("Drafts"));
    EXPECT_FALSE(field.showsLinkDot());
}

} // namespace
