#include "views/tasks/TaskRowsFixture.h"

#include "core/AppSettings.h"
#include "sources/RemindersTaskSource.h"
#include "stores/DayNoteStore.h"
#include "views/ink/ChipButton.h"
#include "views/ink/ElidedLabel.h"
#include "views/ink/InkButton.h"
#include "views/ink/PlainLineEdit.h"
#include "views/ink/Popover.h"
#include "views/tasks/ClosedRow.h"
#include "views/tasks/EditingTask.h"
#include "views/tasks/MonthGrid.h"
#include "views/tasks/PlaceCalendar.h"

#include <QApplication>
#include <QCursor>
#include <QContextMenuEvent>
#include <QMenu>
#include <QPlainTextEdit>
#include <QSignalSpy>

namespace {

struct TodoRowTest : TaskRowsFixture
{
    // A reminder in a list folder, shown beside the local tasks.
    TodoItem addReminder(const QString &title, const std::optional<QDateTime> &due = std::nullopt)
    {
        rig->settings.setExternalTaskMode(ExternalTaskMode::mirror);
        CalendarInfo list;
        list.id = QStringLiteral("/home/sam/.calendars/home");
        list.title = QStringLiteral("Home");
        list.kind = CollectionKind::Reminders;
        list.writable = true;
        rig->calendars.addCalendar(list);
        Reminder reminder;
        reminder.listId = list.id;
        reminder.title = title;
        if (due)
            reminder.due = *due;
        const std::optional<QString> id = rig->calendars.saveReminder(reminder);
        EXPECT_TRUE(id);
        model->taskHub().reminders().setAuthorization(CalendarAccess::FullAccess);
        model->taskHub().refresh();
        for (const TodoItem &item : model->taskHub().items())
            if (item.title == title)
                return item;
        ADD_FAILURE() << "no reminder row";
        return {};
    }
    QStringList actionTexts(const QMenu *menu) const
    {
        QStringList texts;
        for (QAction *a : menu->actions())
            texts << (a->isSeparator() ? QStringLiteral("-") : a->text());
        return texts;
    }
    QAction *action(const QMenu *menu, const QString &text) const
    {
        for (QAction *a : menu->actions())
            if (a->text() == text)
                return a;
        ADD_FAILURE() << text.toStdString();
        return nullptr;
    }
    // The context menu as the row pops it up on a right click.
    QMenu *contextMenu(TodoRow *row)
    {
        QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(40, 10), row->mapToGlobal(QPoint(40, 10)));
        QApplication::sendEvent(row, &event);
        settle();
        return row->findChild<QMenu *>(QStringLiteral("tasks.row.menu"));
    }
    Popover *openPanel(TodoRow *row)
    {
        click(row, QStringLiteral("tasks.row.name"));
        EXPECT_TRUE(row->showsActions());
        return row->actionsPopover();
    }
};

} // namespace

TEST_F(TodoRowTest, SubtitleAndHelpFollowTheTaskAndItsPlacedDays)
{
    rig->addTask(QStringLiteral("Mend the gate"));
    const TodoItem due = *model->taskHub().add(QStringLiteral("Pay the rent"), at(3, 14, 9));
    show();
    TodoRow *plain = row(QStringLiteral("Mend the gate"));
    ASSERT_NE(plain, nullptr);
    EXPECT_EQ(plain->subtitle(), "");
    EXPECT_FALSE(child<ElidedLabel>(plain, "tasks.row.subtitle")->isVisible()) << "no second line";
    EXPECT_EQ(plain->helpText(), "押すと、始める・いつまでに・置く");
    EXPECT_EQ(child<QWidget>(plain, "tasks.row.name")->toolTip(), plain->helpText());

    TodoRow *rent = row(QStringLiteral("Pay the rent"));
    model->placeOnDay(*task(QStringLiteral("Pay the rent")), at(3, 6, 9));
    EXPECT_EQ(child<ElidedLabel>(rent, "tasks.row.subtitle")->text(), "3月14日まで ・ 明日に置いた")
        << "a placement shows at once";
    Q_UNUSED(due);

    const TodoItem reminder = addReminder(QStringLiteral("Buy milk"), at(3, 14, 9));
    settle();
    TodoRow *milk = row(QStringLiteral("Buy milk"));
    ASSERT_NE(milk, nullptr);
    EXPECT_EQ(milk->subtitle(), "Home ・ 3月14日まで");
    EXPECT_EQ(milk->helpText(), "押すと、始める・覚え書き（名前と期限は向こうで）");
    Q_UNUSED(reminder);
}

TEST_F(TodoRowTest, HoverShowsTheCheckAndTheQuickActions)
{
    rig->addTask(QStringLiteral("Mend the gate"));
    show();
    TodoRow *r = row(QStringLiteral("Mend the gate"));
    auto *note = child<InkButton>(r, "tasks.row.note");
    auto *begin = child<InkButton>(r, "tasks.row.begin");
    EXPECT_FALSE(r->isHovering());
    EXPECT_FALSE(begin->isVisible());
    hover(r); // the side margin, outside the card
    EXPECT_TRUE(r->isHovering());
    EXPECT_TRUE(note->isVisible());
    EXPECT_TRUE(begin->isVisible());
    EXPECT_EQ(note->accessibleName(), "覚え書き");
    EXPECT_EQ(note->toolTip(), "覚え書きを書く");

    QTest::mouseClick(begin, Qt::LeftButton, {}, begin->rect().center());
    ASSERT_TRUE(model->taskHub().selected());
    EXPECT_EQ(model->taskHub().selected()->title, "Mend the gate");
    settle();
    EXPECT_TRUE(child<QWidget>(r, "tasks.row.currentDot")->isVisible()) << "the current task's dot";
}

TEST_F(TodoRowTest, CompletionClosesTheTaskAndItsRowGoes)
{
    rig->addTask(QStringLiteral("Mend the gate"));
    rig->addTask(QStringLiteral("Oil the hinges"));
    show();
    TodoRow *r = row(QStringLiteral("Mend the gate"));
    auto *circle = child<InkButton>(r, "tasks.row.complete");
    EXPECT_EQ(circle->accessibleName(), "了とする");
    EXPECT_EQ(circle->accessibleDescription(), "Mend the gate を終えたことにします");
    QTest::mouseClick(circle, Qt::LeftButton, {}, circle->rect().center());
    settle();
    EXPECT_TRUE(rig->local.completed(rig->clock.now()).size() == 1);
    EXPECT_EQ(model->taskHub().items().size(), 1);
    EXPECT_EQ(host->pool().size(), 1) << "the row left with its task";
    EXPECT_FALSE(model->notice());
}

TEST_F(TodoRowTest, CompletionRefusedByTheSourceShowsTheNoticeForFourSeconds)
{
    addReminder(QStringLiteral("Buy milk"));
    show();
    TodoRow *r = row(QStringLiteral("Buy milk"));
    ASSERT_NE(r, nullptr);
    model->taskHub().reminders().setAuthorization(CalendarAccess::Denied);
    auto *circle = child<InkButton>(r, "tasks.row.complete");
    QTest::mouseClick(circle, Qt::LeftButton, {}, circle->rect().center());
    settle();
    EXPECT_EQ(model->notice(), "完了にできませんでした。");
    EXPECT_NE(row(QStringLiteral("Buy milk")), nullptr) << "the row stays";
    rig->clock.advance(4000);
    EXPECT_FALSE(model->notice());
}

TEST_F(TodoRowTest, DueChipsStoreNineOClockOrClearAndKeepThePanelOpen)
{
    rig->addTask(QStringLiteral("Mend the gate"));
    show();
    TodoRow *r = row(QStringLiteral("Mend the gate"));
    Popover *panel = openPanel(r);
    ASSERT_NE(panel, nullptr);
    EXPECT_TRUE(child<ChipButton>(panel, "tasks.due.none")->isLit()) << "no due date yet";
    EXPECT_EQ(child<ChipButton>(panel, "tasks.due.tomorrow")->text(), "明日 3/6");

    click(panel, QStringLiteral("tasks.due.tomorrow"));
    EXPECT_EQ(task(QStringLiteral("Mend the gate"))->due, at(3, 6, 9));
    EXPECT_EQ(row(QStringLiteral("Mend the gate")), r) << "the same row after the reload";
    EXPECT_TRUE(r->showsActions()) << "the panel stays open";
    EXPECT_TRUE(child<ChipButton>(panel, "tasks.due.tomorrow")->isLit());
    EXPECT_FALSE(child<ChipButton>(panel, "tasks.due.none")->isLit());

    click(panel, QStringLiteral("tasks.due.none"));
    EXPECT_FALSE(task(QStringLiteral("Mend the gate"))->due);

    // The context menu's due items write the same values.
    r->closeActions();
    QMenu *menu = contextMenu(r);
    ASSERT_NE(menu, nullptr);
    QMenu *due = action(menu, "いつまでに")->menu();
    EXPECT_EQ(actionTexts(due), (QStringList{"今日のうちに", "明日", "日を選ぶ…", "-", "日を決めない"}));
    action(due, "今日のうちに")->trigger();
    menu->close();
    settle();
    EXPECT_EQ(task(QStringLiteral("Mend the gate"))->due, at(3, 5, 9));
}

TEST_F(TodoRowTest, DueDatePopoverOpensAtTheDueDayAndStoresThePickedDay)
{
    rig->addTask(QStringLiteral("Mend the gate"));
    show();
    TodoRow *r = row(QStringLiteral("Mend the gate"));
    Popover *panel = openPanel(r);
    click(panel, QStringLiteral("tasks.due.calendar"));
    EXPECT_FALSE(r->showsActions()) << "the panel hands over to the due-date popover";
    ASSERT_TRUE(r->showsDatePicker());
    EXPECT_EQ(r->pickedDate(), at(3, 5, 9)) << "today 09:00 without a due date";
    auto *calendar = child<MonthGrid>(r->datePopover(), "tasks.row.dueCalendar");
    ASSERT_NE(calendar, nullptr);
    EXPECT_EQ(child<ElidedLabel>(calendar, "tasks.row.dueCalendar.month")->text(), "2025年3月")
        << "the month is named in the interface language";
    EXPECT_EQ(child<ElidedLabel>(calendar, "tasks.row.dueCalendar.weekday")->text(), "日") << "Sunday first";
    InkButton *day = calendar->cellOf(QDate(2025, 3, 20));
    ASSERT_NE(day, nullptr);
    QTest::mouseClick(day, Qt::LeftButton, {}, day->rect().center());
    EXPECT_EQ(r->pickedDate(), at(3, 20, 9)) << "a click chooses the day";
    click(r->datePopover(), QStringLiteral("tasks.row.dueDone"));
    EXPECT_FALSE(r->showsDatePicker());
    EXPECT_EQ(task(QStringLiteral("Mend the gate"))->due, at(3, 20, 9));

    // Opened again it starts at the due day; "no date" clears it.
    QMenu *menu = contextMenu(r);
    action(action(menu, "いつまでに")->menu(), "日を選ぶ…")->trigger();
    menu->close();
    settle();
    ASSERT_TRUE(r->showsDatePicker());
    EXPECT_EQ(r->pickedDate(), at(3, 20, 9));
    click(r->datePopover(), QStringLiteral("tasks.row.dueNone"));
    EXPECT_FALSE(task(QStringLiteral("Mend the gate"))->due);

    // By keyboard: the chosen day has the focus, the arrows walk the days
    // (a week down crosses into April) and Return picks and closes.
    menu = contextMenu(r);
    action(action(menu, "いつまでに")->menu(), "日を選ぶ…")->trigger();
    menu->close();
    settle();
    calendar = child<MonthGrid>(r->datePopover(), "tasks.row.dueCalendar");
    ASSERT_NE(calendar, nullptr);
    QWidget *focused = calendar->cellOf(QDate(2025, 3, 5));
    ASSERT_NE(focused, nullptr);
    focused->setFocus(Qt::TabFocusReason);
    for (Qt::Key key : {Qt::Key_Right, Qt::Key_Down, Qt::Key_Down, Qt::Key_Down, Qt::Key_Down})
        QTest::keyClick(r->datePopover()->focusWidget(), key);
    EXPECT_EQ(calendar->month(), QDate(2025, 4, 1));
    EXPECT_EQ(r->datePopover()->focusWidget(), calendar->cellOf(QDate(2025, 4, 3)));
    QTest::keyClick(r->datePopover()->focusWidget(), Qt::Key_Return);
    settle();
    EXPECT_FALSE(r->showsDatePicker());
    EXPECT_EQ(task(QStringLiteral("Mend the gate"))->due, at(4, 3, 9));
}

TEST_F(TodoRowTest, PlacementChipsWriteDayNotesAndTheOtherDaysChipFollows)
{
    rig->addTask(QStringLiteral("Mend the gate"));
    show();
    TodoRow *r = row(QStringLiteral("Mend the gate"));
    Popover *panel = openPanel(r);
    auto *today = child<ChipButton>(panel, "tasks.place.today");
    EXPECT_EQ(today->text(), "今日 3/5");
    EXPECT_FALSE(child<ChipButton>(panel, "tasks.place.other")->isVisible());

    click(panel, QStringLiteral("tasks.place.today"));
    EXPECT_EQ(placed(QStringLiteral("Mend the gate")), QList<QDateTime>{at(3, 5, 0)});
    ASSERT_EQ(rig->days.note(at(3, 5, 9)).plans.size(), 1);
    EXPECT_FALSE(rig->days.note(at(3, 5, 9)).plans.first().timed) << "an untimed plan";
    EXPECT_TRUE(today->isLit());
    EXPECT_TRUE(r->showsActions());
    click(panel, QStringLiteral("tasks.place.today"));
    EXPECT_TRUE(placed(QStringLiteral("Mend the gate")).isEmpty()) << "a second tap takes it off";
    EXPECT_FALSE(today->isLit());

    // One other day: the chip names it and a tap takes the task off it.
    model->placeOnDay(*task(QStringLiteral("Mend the gate")), at(3, 9, 9));
    auto *other = child<ChipButton>(panel, "tasks.place.other");
    EXPECT_TRUE(other->isVisible());
    EXPECT_TRUE(other->isLit());
    EXPECT_EQ(other->text(), "3/9");
    click(panel, QStringLiteral("tasks.place.other"));
    EXPECT_TRUE(placed(QStringLiteral("Mend the gate")).isEmpty());
    EXPECT_FALSE(other->isVisible());

    // Several: "ほか" and a tap opens the calendar instead.
    for (int day : {14, 20, 27})
        model->placeOnDay(*task(QStringLiteral("Mend the gate")), at(3, day, 9));
    EXPECT_EQ(other->text(), "3/14 ほか2日");
    click(panel, QStringLiteral("tasks.place.other"));
    EXPECT_EQ(placed(QStringLiteral("Mend the gate")).size(), 3) << "nothing removed";
    EXPECT_FALSE(r->showsActions());
    EXPECT_TRUE(r->showsPlacePicker());
}

TEST_F(TodoRowTest, MenuPlacesWithoutTogglingAndUnplacesFromToday)
{
    rig->addTask(QStringLiteral("Mend the gate"));
    show();
    TodoRow *r = row(QStringLiteral("Mend the gate"));
    model->placeOnDay(*task(QStringLiteral("Mend the gate")), at(3, 1, 9)); // a day gone by
    QMenu *menu = contextMenu(r);
    QMenu *place = action(menu, "置く")->menu();
    EXPECT_EQ(actionTexts(place), (QStringList{"今日に置く", "明日に置く", "日を選んで置く…"}))
        << "nothing to unplace from today on";
    action(place, "今日に置く")->trigger();
    action(place, "今日に置く")->trigger();
    menu->close();
    settle();
    EXPECT_EQ(placed(QStringLiteral("Mend the gate")), QList<QDateTime>{at(3, 5, 0)}) << "placing twice places once";

    menu = contextMenu(r);
    place = action(menu, "置く")->menu();
    EXPECT_EQ(actionTexts(place).last(), "置いたのを外す");
    action(place, "置いたのを外す")->trigger();
    menu->close();
    settle();
    EXPECT_TRUE(placed(QStringLiteral("Mend the gate")).isEmpty());
    EXPECT_EQ(rig->days.note(at(3, 1, 9)).plans.size(), 1) << "earlier days keep theirs";
}

TEST_F(TodoRowTest, CalendarShowsTheMonthGridAndPlacesFutureDaysOnly)
{
    rig->addTask(QStringLiteral("Mend the gate"));
    show();
    TodoRow *r = row(QStringLiteral("Mend the gate"));
    model->placeOnDay(*task(QStringLiteral("Mend the gate")), at(4, 2, 9));
    Popover *panel = openPanel(r);
    click(panel, QStringLiteral("tasks.place.calendar"));
    ASSERT_TRUE(r->showsPlacePicker());
    auto *calendar = child<PlaceCalendar>(r->placePopover(), "tasks.placeCalendar");
    ASSERT_NE(calendar, nullptr);

    EXPECT_EQ(child<ElidedLabel>(calendar, "tasks.placeCalendar.month")->text(), "2025年3月");
    EXPECT_EQ(calendar->positionOf(QDate(2025, 3, 1)), QPoint(6, 0)) << "March 2025 begins on a Saturday";
    EXPECT_EQ(calendar->positionOf(QDate(2025, 3, 2)), QPoint(0, 1));
    EXPECT_EQ(child<ElidedLabel>(calendar, "tasks.placeCalendar.count")->text(), "1日に置いています")
        << "a day of another month counts";
    auto *back = child<InkButton>(calendar, "tasks.placeCalendar.back");
    EXPECT_FALSE(back->isEnabled());

    InkButton *yesterday = calendar->cellOf(QDate(2025, 3, 4));
    EXPECT_FALSE(yesterday->isEnabled());
    QTest::mouseClick(yesterday, Qt::LeftButton, {}, yesterday->rect().center());
    EXPECT_EQ(placed(QStringLiteral("Mend the gate")).size(), 1) << "a past day ignores the click";

    InkButton *day = calendar->cellOf(QDate(2025, 3, 12));
    EXPECT_EQ(day->accessibleName(), "3月12日");
    QTest::mouseClick(day, Qt::LeftButton, {}, day->rect().center());
    EXPECT_EQ(placed(QStringLiteral("Mend the gate")), (QList<QDateTime>{at(3, 12, 0), at(4, 2, 0)}));
    EXPECT_EQ(rig->days.note(at(3, 12, 12)).plans.size(), 1);
    EXPECT_EQ(day->accessibleDescription(), "置いています");
    EXPECT_EQ(child<ElidedLabel>(calendar, "tasks.placeCalendar.count")->text(), "2日に置いています");
    QTest::mouseClick(day, Qt::LeftButton, {}, day->rect().center());
    EXPECT_EQ(placed(QStringLiteral("Mend the gate")), QList<QDateTime>{at(4, 2, 0)});

    // Forward to June (begins on a Sunday), back to March, where back is off again.
    auto *forward = child<InkButton>(calendar, "tasks.placeCalendar.forward");
    for (int i = 0; i < 3; ++i)
        QTest::mouseClick(forward, Qt::LeftButton, {}, forward->rect().center());
    EXPECT_EQ(child<ElidedLabel>(calendar, "tasks.placeCalendar.month")->text(), "2025年6月");
    EXPECT_EQ(calendar->positionOf(QDate(2025, 6, 1)), QPoint(0, 0));
    EXPECT_TRUE(back->isEnabled());
    for (int i = 0; i < 3; ++i)
        QTest::mouseClick(back, Qt::LeftButton, {}, back->rect().center());
    EXPECT_EQ(calendar->month(), QDateTime(QDate(2025, 3, 1), QTime(0, 0)));
    EXPECT_FALSE(back->isEnabled());

    // Return closes.
    QTest::keyClick(calendar, Qt::Key_Return);
    settle();
    EXPECT_FALSE(r->showsPlacePicker());
}

TEST_F(TodoRowTest, RenameCommitsOnceOnReturnOrOnFocusLoss)
{
    rig->addTask(QStringLiteral("Mend the gate"));
    rig->addTask(QStringLiteral("Oil the hinges"));
    show();
    host->activateWindow();
    TodoRow *r = row(QStringLiteral("Mend the gate"));
    Popover *panel = openPanel(r);
    click(panel, QStringLiteral("tasks.row.panel.rename"));
    EXPECT_FALSE(r->showsActions());
    EXPECT_TRUE(r->isEditing());
    auto *field = child<PlainLineEdit>(r, "tasks.row.renameField");
    EXPECT_EQ(field->text(), "Mend the gate");
    EXPECT_TRUE(field->hasFocus());
    EXPECT_FALSE(child<InkButton>(r, "tasks.row.begin")->isVisible()) << "no quick actions while editing";

    // A click on the name does not open the panel while editing.
    QTest::mouseClick(child<QWidget>(r, "tasks.row.name"), Qt::LeftButton, {}, QPoint(300, 4));
    EXPECT_FALSE(r->showsActions());

    QSignalSpy saves(&rig->local, &LocalTaskStore::changed);
    field->selectAll();
    QTest::keyClicks(field, QStringLiteral("Mend the east gate"));
    QTest::keyClick(field, Qt::Key_Return);
    settle();
    EXPECT_EQ(saves.count(), 1);
    EXPECT_FALSE(r->isEditing());
    EXPECT_TRUE(task(QStringLiteral("Mend the east gate")));
    EXPECT_FALSE(field->isVisible());
    EXPECT_EQ(saves.count(), 1) << "the focus loss after Return commits nothing";

    // The focus leaving the field commits too.
    r->beginEdit();
    settle();
    field->selectAll();
    QTest::keyClicks(field, QStringLiteral("Gate"));
    child<QWidget>(row(QStringLiteral("Oil the hinges")), "tasks.row.name")->setFocus(Qt::MouseFocusReason);
    settle();
    EXPECT_TRUE(task(QStringLiteral("Gate")));
    EXPECT_EQ(saves.count(), 2);
}

TEST_F(TodoRowTest, ViewStateSurvivesAReloadOfTheList)
{
    rig->addTask(QStringLiteral("Mend the gate"));
    show();
    TodoRow *r = row(QStringLiteral("Mend the gate"));
    r->beginEdit();
    settle();
    auto *field = child<PlainLineEdit>(r, "tasks.row.renameField");
    field->setText(QStringLiteral("Mend the g"));
    const int before = host->rebuilds;
    rig->addTask(QStringLiteral("Another"));
    settle();
    EXPECT_GT(host->rebuilds, before);
    EXPECT_EQ(row(QStringLiteral("Mend the gate")), r);
    EXPECT_TRUE(r->isEditing());
    EXPECT_EQ(field->text(), "Mend the g") << "the draft is kept";
    r->commitEdit();
    settle();

    Popover *panel = openPanel(r);
    rig->addTask(QStringLiteral("And another"));
    settle();
    EXPECT_TRUE(r->showsActions()) << "the panel stays open";
    EXPECT_EQ(r->actionsPopover(), panel);
}

TEST_F(TodoRowTest, ARowThatDeletesOrSetsDownItsTaskGoesWithoutHarm)
{
    rig->addTask(QStringLiteral("Mend the gate"));
    rig->addTask(QStringLiteral("Learn the cello"));
    show();
    QPointer<TodoRow> r = row(QStringLiteral("Mend the gate"));
    Popover *panel = openPanel(r);
    auto *more = child<InkButton>(panel, "tasks.row.panel.more");
    QTest::mouseClick(more, Qt::LeftButton, {}, more->rect().center());
    settle();
    auto *menu = panel->findChild<QMenu *>(QStringLiteral("tasks.row.panel.moreMenu"));
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(actionTexts(menu), (QStringList{"行持（日々）に移す", "行持（折々）に移す", "-",
                                              "放下する（やらないと決める）", "消す"}));
    action(menu, "消す")->trigger(); // no question asked
    settle();
    EXPECT_FALSE(task(QStringLiteral("Mend the gate")));
    EXPECT_TRUE(r.isNull()) << "deleted from a later turn of the event loop";

    QPointer<TodoRow> cello = row(QStringLiteral("Learn the cello"));
    QMenu *context = contextMenu(cello);
    action(action(context, "直す")->menu(), "放下する（やらないと決める）")->trigger();
    settle();
    EXPECT_TRUE(cello.isNull());
    ASSERT_EQ(rig->local.setAside().size(), 1);
    EXPECT_EQ(rig->local.setAside().first().title, "Learn the cello");
}

TEST_F(TodoRowTest, PracticeMovesTakeTheTaskToTheShelf)
{
    rig->addTask(QStringLiteral("Stretch"));
    rig->addTask(QStringLiteral("Water the plants"));
    show();
    QMenu *menu = contextMenu(row(QStringLiteral("Stretch")));
    action(action(menu, "直す")->menu(), "行持（日々）に移す")->trigger();
    menu = contextMenu(row(QStringLiteral("Water the plants")));
    action(action(menu, "直す")->menu(), "行持（折々）に移す")->trigger();
    settle();
    EXPECT_TRUE(task(QStringLiteral("Stretch"))->isDaily);
    EXPECT_FALSE(task(QStringLiteral("Stretch"))->isOccasional);
    EXPECT_TRUE(task(QStringLiteral("Water the plants"))->isOccasional);
    EXPECT_TRUE(model->taskHub().items().isEmpty());
}

TEST_F(TodoRowTest, NotePopoverSavesTheUserPartOfTheNotes)
{
    rig->addTask(QStringLiteral("Mend the gate"));
    show();
    TodoRow *r = row(QStringLiteral("Mend the gate"));
    hover(r);
    click(r, QStringLiteral("tasks.row.note"));
    ASSERT_TRUE(r->showsNote());
    auto *editor = child<QPlainTextEdit>(r->notePopover(), "tasks.row.noteEditor");
    EXPECT_EQ(editor->toPlainText(), "");
    QTest::keyClicks(editor, QStringLiteral("Ask Dana for the key"));
    click(r->notePopover(), QStringLiteral("tasks.row.noteDone"));
    EXPECT_FALSE(r->showsNote());
    settle();
    EXPECT_EQ(task(QStringLiteral("Mend the gate"))->notes, "Ask Dana for the key");
    EXPECT_EQ(child<InkButton>(r, "tasks.row.note")->toolTip(), "覚え書きを直す");
}

TEST_F(TodoRowTest, ReminderRowsOfferOnlyBeginNoteAndOpeningTheirList)
{
    addReminder(QStringLiteral("Buy milk"));
    show();
    TodoRow *r = row(QStringLiteral("Buy milk"));
    ASSERT_NE(r, nullptr);
    Popover *panel = openPanel(r);
    EXPECT_FALSE(child<QWidget>(panel, "tasks.due.today")->isVisible()) << "no due section";
    EXPECT_EQ(panel->findChild<QWidget *>(QStringLiteral("tasks.place.today")), nullptr) << "no placement section";
    EXPECT_FALSE(child<QWidget>(panel, "tasks.row.panel.rename")->isVisible());
    EXPECT_FALSE(child<QWidget>(panel, "tasks.row.panel.more")->isVisible());
    auto *open = child<InkButton>(panel, "tasks.row.panel.open");
    EXPECT_EQ(open->text(), "リマインダーで開く");
    click(panel, QStringLiteral("tasks.row.panel.open"));
    EXPECT_EQ(desk.openedFolders(), QStringList{"/home/sam/.calendars/home"}) << "the list's folder";
    EXPECT_FALSE(r->showsActions());

    QMenu *menu = contextMenu(r);
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(actionTexts(menu), (QStringList{"これで始める", "-", "覚え書き…", "-", "リマインダーで開いて直す",
                                              "名前と期限はリマインダー側で"}));
    EXPECT_FALSE(action(menu, "名前と期限はリマインダー側で")->isEnabled());
    menu->close();

    r->beginEdit();
    EXPECT_FALSE(r->isEditing()) << "renamed in its own app";
}

TEST_F(TodoRowTest, ALocalTaskWhoseIdIsNotAUuidChangesNothing)
{
    EditingTask editing;
    TodoRow r(context(), &editing);
    TodoItem item;
    item.ref = {"local", "not-a-uuid", std::nullopt};
    item.title = "Odd";
    r.set(item, false, false);
    r.show();
    settle();
    QMenu *menu = r.buildMenu();
    EXPECT_EQ(actionTexts(menu), (QStringList{"これで始める", "-", "いつまでに", "-", "直す"}))
        << "no placement submenu";
    action(action(menu, "いつまでに")->menu(), "明日")->trigger();
    action(action(menu, "直す")->menu(), "行持（日々）に移す")->trigger();
    delete menu;
    EXPECT_TRUE(rig->local.tasks().isEmpty());
}

TEST_F(TodoRowTest, AJustAddedRowOpensItsPanelAfterHalfASecond)
{
    const TodoItem fresh = *model->taskHub().add(QStringLiteral("Write to Aunt May"));
    rig->addTask(QStringLiteral("Older"));
    host = std::make_unique<RowsHost>(context());
    host->justAdded = fresh.ref;
    host->rebuild();
    host->show();
    settle();
    TodoRow *r = row(QStringLiteral("Write to Aunt May"));
    EXPECT_FALSE(r->showsActions());
    rig->clock.advance(499);
    EXPECT_FALSE(r->showsActions());
    rig->clock.advance(1);
    EXPECT_TRUE(r->showsActions());
    EXPECT_FALSE(row(QStringLiteral("Older"))->showsActions()) << "an ordinary row never does";
}

TEST_F(TodoRowTest, ClosedRowShowsBringBackOnHoverAndRevivesTheTask)
{
    const TodoItem item = rig->addTask(QStringLiteral("Paint the fence"));
    model->taskHub().complete(item.ref);
    const LocalTask done = rig->local.completed(rig->clock.now()).first();
    ClosedRow line(context(), done);
    line.setGeometry(300, 300, 420, 40);
    QCursor::setPos(QPoint(0, 0)); // the pointer starts away from the line
    line.show();
    settle();
    auto *revive = child<InkButton>(&line, "tasks.closedRow.revive");
    EXPECT_FALSE(revive->isVisible());
    EXPECT_EQ(child<ElidedLabel>(&line, "tasks.closedRow.date")->text(), "3月5日");
    hover(&line);
    EXPECT_TRUE(revive->isVisible());
    EXPECT_EQ(revive->text(), "手元へ戻す");
    QTest::mouseClick(revive, Qt::LeftButton, {}, revive->rect().center());
    EXPECT_TRUE(rig->local.completed(rig->clock.now()).isEmpty());
    ASSERT_EQ(model->taskHub().items().size(), 1) << "open again";
    EXPECT_EQ(model->taskHub().items().first().title, "Paint the fence");
    QTest::mouseMove(&line, QPoint(-20, -20));
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(&line, &leave);
    EXPECT_FALSE(revive->isVisible());
}
