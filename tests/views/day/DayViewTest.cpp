#include "DayFixture.h"

#include "sources/CalendarService.h"
#include "stores/DayNoteStore.h"
#include "stores/SessionStore.h"
#include "views/day/DayItem.h"
#include "views/day/DeedItem.h"
#include "views/day/PlanItem.h"
#include "views/ink/ElidedLabel.h"
#include "views/ink/PopupPanel.h"
#include "views/ink/TextBlock.h"
#include "views/reading/SanshinNote.h"
#include "core/Isshin.h"

#include <QApplication>
#include <QClipboard>
#include <QLineEdit>
#include <QMimeData>
#include <QPointer>
#include <QScrollArea>
#include <QScrollBar>

namespace {

struct DayViewTest : DayFixture
{
    QString title() const { return find<ElidedLabel>(QStringLiteral("day.title"))->text(); }
};

TEST_F(DayViewTest, ArrowsKeysAndTodayStepThroughDays)
{
    build();
    EXPECT_EQ(title(), QStringLiteral("3月5日(水)"));
    EXPECT_TRUE(find(QStringLiteral("day.keysHint"))->isVisible());
    EXPECT_FALSE(find(QStringLiteral("day.today"))->isVisible());

    click(QStringLiteral("day.previous"));
    EXPECT_EQ(view->day(), QDate(2025, 3, 4));
    EXPECT_TRUE(find(QStringLiteral("day.today"))->isVisible());
    EXPECT_FALSE(find(QStringLiteral("day.keysHint"))->isVisible());

    view->scrollArea()->setFocus();
    QTest::keyClick(view->scrollArea(), Qt::Key_Right);
    QTest::keyClick(view->scrollArea(), Qt::Key_Right);
    settle();
    EXPECT_EQ(view->day(), QDate(2025, 3, 6));
    QTest::keyClick(view->scrollArea(), Qt::Key_Left);
    EXPECT_EQ(view->day(), QDate(2025, 3, 5));
    click(QStringLiteral("day.next"));
    click(QStringLiteral("day.today"));
    EXPECT_EQ(view->day(), QDate(2025, 3, 5));
    EXPECT_FALSE(fileExists(DayNoteStore::fileName)) << "browsing days writes nothing";

    EXPECT_EQ(find<InkButton>(QStringLiteral("day.previous"))->accessibleName(), QStringLiteral("前の日へ"));
    EXPECT_EQ(find<InkButton>(QStringLiteral("day.next"))->accessibleName(), QStringLiteral("次の日へ"));
}

TEST_F(DayViewTest, EnglishTitleWhateverTheSystemLocale)
{
    Lang::setForTesting(false);
    QLocale::setDefault(QLocale(QStringLiteral("ja_JP")));
    build();
    EXPECT_EQ(title(), QStringLiteral("Wed, Mar 5"));
    QLocale::setDefault(QLocale::c());
}

// The line of the mind opens the footer's note, for the mind of the shown
// day (not today's), 320 × the text scale wide, below its line; anywhere
// on the row opens it, and the note's button closes it and asks for the
// glossary once.
TEST_F(DayViewTest, TheMindLineOpensTheThreeMindsNoteOfTheShownDay)
{
    rig->settings.setTextScale(1.5); // the model takes the scale from the settings
    build(620);
    ASSERT_EQ(Kiv::scale(), 1.5);
    click(QStringLiteral("day.previous"));
    ASSERT_NE(Isshin::of(QDate(2025, 3, 4)), Isshin::of(QDate(2025, 3, 5))) << "the days differ in their mind";
    auto *line = find<InkButton>(QStringLiteral("day.mind"));
    click(line);
    SanshinNotePresenter *presenter = view->mindNote();
    ASSERT_NE(presenter, nullptr);
    ASSERT_TRUE(presenter->isOpen());
    SanshinNote *note = presenter->note();
    ASSERT_NE(note, nullptr);
    const Isshin shownDay = Isshin::of(QDate(2025, 3, 4));
    EXPECT_EQ(find(QStringLiteral("sanshin.name"), note)->accessibleName(),
              shownDay.name() + QLatin1Char(' ') + shownDay.reading());
    EXPECT_EQ(find<TextBlock>(QStringLiteral("sanshin.line"), note)->text(), shownDay.line());
    EXPECT_EQ(note->width(), 480);
    EXPECT_NE(note->findChild<TextBlock *>(QStringLiteral("sanshin.detail")), nullptr) << "the whole note";
    QWidget *row = find(QStringLiteral("day.mindLine"));
    const QPoint under = row->mapToGlobal(QPoint(0, row->height()));
    // The popover's sheet, inside the room a see-through window keeps for its shadow.
    const int sheetTop = note->window()->y() + PopupPanel::room(note->window());
    EXPECT_GE(sheetTop, under.y() - 1) << "below its line";
    EXPECT_LT(sheetTop, under.y() + 24);

    const int before = model->glossaryRequest();
    QTest::mouseClick(note->glossaryButton(), Qt::LeftButton, {}, note->glossaryButton()->rect().center());
    settle();
    EXPECT_FALSE(presenter->isOpen());
    EXPECT_EQ(model->glossaryRequest(), before + 1);

    // The row's own room past the line opens it too.
    QTest::mouseClick(row, Qt::LeftButton, {}, QPoint(row->width() - 4, row->height() / 2));
    settle();
    EXPECT_TRUE(presenter->isOpen());
    presenter->close();
}

TEST_F(DayViewTest, CardsSaveWhatIsTypedIntoTheShownDay)
{
    build();
    click(QStringLiteral("day.previous"));
    auto *morning = find<DayCard>(QStringLiteral("day.morning"));
    click(morning->field());
    QTest::keyClicks(morning->field(), QStringLiteral("walk "));
    EXPECT_EQ(rig->days.note(QDateTime(QDate(2025, 3, 4), QTime(9, 0))).intention, QStringLiteral("walk"));
    EXPECT_TRUE(rig->days.note(QDateTime(QDate(2025, 3, 5), QTime(9, 0))).intention.isEmpty());
    EXPECT_EQ(morning->text(), QStringLiteral("walk ")) << "the screen keeps what was typed";
    const QJsonArray stored = file(DayNoteStore::fileName);
    ASSERT_EQ(stored.size(), 1);
    EXPECT_EQ(stored[0].toObject()[QStringLiteral("day")].toString(), QStringLiteral("2025-03-04"));

    // A reload while typing (the program becoming active) keeps the text.
    rig->days.setIntention(QStringLiteral("synced"), QDateTime(QDate(2025, 3, 4), QTime(9, 0)));
    view->setDay(view->day());
    EXPECT_EQ(morning->text(), QStringLiteral("walk "));

    // A pasted line break is dropped and ends the entry.
    QApplication::clipboard()->setText(QStringLiteral("a\nb"));
    morning->field()->selectAll();
    QTest::keySequence(morning->field(), QKeySequence::Paste);
    settle();
    EXPECT_EQ(morning->text(), QStringLiteral("ab"));
    EXPECT_FALSE(morning->field()->hasFocus());
    EXPECT_EQ(rig->days.note(QDateTime(QDate(2025, 3, 4), QTime(9, 0))).intention, QStringLiteral("ab"));

    // Return hands the keys back to the page.
    auto *evening = find<DayCard>(QStringLiteral("day.evening"));
    click(evening->field());
    QTest::keyClicks(evening->field(), QStringLiteral("   "));
    EXPECT_TRUE(rig->days.note(QDateTime(QDate(2025, 3, 4), QTime(9, 0))).reflection.isEmpty());
    QTest::keyClick(evening->field(), Qt::Key_Return);
    settle();
    EXPECT_TRUE(view->scrollArea()->hasFocus());
    QTest::keyClick(view->scrollArea(), Qt::Key_Right);
    EXPECT_EQ(view->day(), QDate(2025, 3, 5));
    EXPECT_TRUE(evening->text().isEmpty()) << "another day shows its own lines";
}

TEST_F(DayViewTest, TheTickRereadsAfterFiveMinutesAndBuildsOnlyWhatChanged)
{
    build();
    const QDateTime read = view->lastRead();
    const int builds = view->builds();
    rig->clock.advance(60 * 1000);
    settle();
    EXPECT_EQ(view->now(), rig->clock.now());
    EXPECT_EQ(view->lastRead(), read);
    EXPECT_EQ(view->builds(), builds + 1) << "the now line moved a minute";

    rig->clock.advance(239 * 1000);
    settle();
    EXPECT_EQ(view->lastRead(), read) << "299 s: only now advances";
    rig->clock.advance(61 * 1000);
    settle();
    EXPECT_EQ(view->lastRead(), read.addSecs(300)) << "the tick 300 s after the last read gathers again";

    // A calendar change that the day does not show builds nothing.
    view->setDay(QDate(2025, 3, 7));
    settle();
    const int quiet = view->builds();
    addEvent(QStringLiteral("Elsewhere"), QDateTime(QDate(2025, 3, 20), QTime(9, 0)), 30);
    settle();
    EXPECT_EQ(view->builds(), quiet);
    addEvent(QStringLiteral("Dentist"), QDateTime(QDate(2025, 3, 7), QTime(9, 0)), 30);
    settle();
    EXPECT_EQ(view->builds(), quiet + 1);
    ASSERT_EQ(view->events().size(), 1);
    ASSERT_EQ(row(9)->model().events.size(), 1);
}

TEST_F(DayViewTest, AnEventNamesItsCalendarAndItsMetaLineWrapsRatherThanLoseIt)
{
    build();
    addEvent(QStringLiteral("Dentist"), QDateTime(view->day(), QTime(9, 0)), 30);
    settle();
    DayItem *event = row(9)->findChild<DayItem *>(QStringLiteral("day.event"));
    ASSERT_NE(event, nullptr);
    EXPECT_EQ(event->meta(), QStringLiteral("予定　9:00　30分　Rounds")) << "a plan would name its kind instead";
    const int wide = event->heightForWidth(1000);
    EXPECT_EQ(event->metaLinesAt(1000), QStringList{event->meta()});
    // Narrow, the line wraps and the item grows: the calendar's name stays.
    const QStringList narrow = event->metaLinesAt(70);
    EXPECT_GT(narrow.size(), 1);
    EXPECT_TRUE(narrow.last().endsWith(QStringLiteral("Rounds"))) << narrow.join(u'/').toStdString();
    EXPECT_EQ(narrow.join(QString()).remove(u'　'), QString(event->meta()).remove(u'　'));
    EXPECT_GT(event->heightForWidth(70), wide);
}

// The hour before now stands at the middle of the page as it is finally
// laid out, also in the window's own width at the largest text scale with
// a morning line that wraps and tasks placed on the day without a time.
TEST_F(DayViewTest, TodayScrollsToTheHourBeforeNow)
{
    struct Case
    {
        int width;
        double scale;
        QString intention;
        int dayOnly;
    };
    const QList<Case> cases = {
        {480, 1.0, QString(), 0},
        {380, 1.6, QStringLiteral("Finish the second chapter and send the proofs to the printer before noon"), 2},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.width);
        Kiv::setScale(c.scale);
        if (!model)
            model = &rig->build();
        rig->days.setIntention(c.intention, rig->clock.now());
        for (int i = 0; i < c.dayOnly; ++i)
            model->placeOnDay(*rig->local.add(QStringLiteral("Letters %1").arg(i)), rig->clock.now());
        build(c.width);
        settle();
        QScrollArea *scroll = view->scrollArea();
        const int y = row(13)->mapTo(scroll->widget(), QPoint(0, row(13)->height() / 2)).y();
        EXPECT_NEAR(scroll->verticalScrollBar()->value(), y - scroll->viewport()->height() / 2, 2);
        EXPECT_GT(scroll->verticalScrollBar()->value(), 0);
        view.reset();
    }
}

TEST_F(DayViewTest, ABannerOnSweepDays)
{
    rig->clock.setNow(QDateTime(QDate(2025, 3, 4), QTime(9, 0)));
    build();
    auto *banner = find<InkButton>(QStringLiteral("day.sweepBanner"));
    ASSERT_TRUE(banner->isVisible());
    EXPECT_EQ(banner->text(), QStringLiteral("四九日です。四九日をしませんか"));
    EXPECT_EQ(banner->accessibleName(), QStringLiteral("四九日を始める"));
    click(QStringLiteral("day.previous"));
    EXPECT_FALSE(banner->isVisible()) << "never on another day";
    click(QStringLiteral("day.today"));
    click(banner);
    EXPECT_TRUE(model->sweeping());
}

TEST_F(DayViewTest, PlacingADeedInAnEndedHour)
{
    build();
    // 14:20 on a narrow page: the 13 o'clock row has ended, so a deed.
    click(QStringLiteral("day.opening"), row(13));
    QPointer<QDialog> picker = sheet();
    ASSERT_NE(picker, nullptr);
    EXPECT_EQ(picker->objectName(), QStringLiteral("day.placePicker"));
    auto *draft = find<QLineEdit>(QStringLiteral("place.draft"), picker);
    click(draft);
    QTest::keyClicks(draft, QStringLiteral("letters"));
    QTest::keyClick(draft, Qt::Key_Return);
    settle();
    EXPECT_TRUE(!picker || !picker->isVisible()) << "placing closes the picker";
    const QList<SessionRecord> records = rig->store.records();
    ASSERT_EQ(records.size(), 1);
    EXPECT_EQ(records[0].title, QStringLiteral("letters"));
    EXPECT_EQ(records[0].start, QDateTime(QDate(2025, 3, 5), QTime(13, 0)));
    EXPECT_EQ(records[0].end, QDateTime(QDate(2025, 3, 5), QTime(13, 30)));
    EXPECT_EQ(records[0].manual, true);
    EXPECT_TRUE(rig->local.tasks().isEmpty()) << "a typed deed adds no task";
    EXPECT_EQ(file(SessionStore::fileName).size(), 1);
    ASSERT_EQ(row(13)->model().deeds.size(), 1);
    EXPECT_NE(row(13)->findChild<DeedItem *>(QStringLiteral("day.deed")), nullptr);

    // The 14 o'clock row has not ended: a plan.
    click(QStringLiteral("day.opening"), row(15));
    picker = sheet();
    ASSERT_NE(picker, nullptr);
    click(QStringLiteral("place.cancel"), picker);
    EXPECT_EQ(rig->store.records().size(), 1);
}

TEST_F(DayViewTest, PlacingAPlanFromTheTaskList)
{
    const LocalTask task = *rig->local.add(QStringLiteral("Letters"), QDateTime(QDate(2025, 3, 5), QTime(18, 0)));
    build();
    click(QStringLiteral("day.opening"), row(16));
    QDialog *picker = sheet();
    ASSERT_NE(picker, nullptr);
    click(QStringLiteral("place.chip60"), picker);
    click(QStringLiteral("place.task"), picker);
    const QList<DayPlan> plans = rig->days.note(day()).plans;
    ASSERT_EQ(plans.size(), 1);
    EXPECT_EQ(plans[0].taskID, task.id);
    EXPECT_EQ(plans[0].startMinutes, 960);
    EXPECT_EQ(plans[0].minutes, 60);
    EXPECT_TRUE(plans[0].timed);
    EXPECT_TRUE(plans[0].eventID) << "a timed plan is written as an event";
    settle();
    EXPECT_NE(row(16)->findChild<PlanItem *>(QStringLiteral("day.plan")), nullptr);
}

TEST_F(DayViewTest, PlanEditorOkCancelRemove)
{
    build();
    DayPlan plan;
    plan.title = QStringLiteral("Sit");
    plan.startMinutes = 600;
    plan.minutes = 30;
    model->placePlan(plan, day());
    settle();
    auto *item = row(10)->findChild<PlanItem *>(QStringLiteral("day.plan"));
    ASSERT_NE(item, nullptr);
    click(item);
    ASSERT_NE(item->actions(), nullptr);
    click(QStringLiteral("day.plan.edit"), item->actions());
    QDialog *editor = sheet();
    ASSERT_NE(editor, nullptr);
    click(QStringLiteral("planEditor.startForward"), editor);
    click(QStringLiteral("day.planEditor.cancel"), editor);
    EXPECT_EQ(rig->days.note(day()).plans[0].startMinutes, 600) << "Cancel applies nothing";

    view->openPlanEditor(rig->days.note(day()).plans[0]);
    editor = sheet();
    click(QStringLiteral("planEditor.startForward"), editor);
    click(QStringLiteral("day.planEditor.ok"), editor);
    ASSERT_EQ(rig->days.note(day()).plans.size(), 1);
    EXPECT_EQ(rig->days.note(day()).plans[0].startMinutes, 615);

    view->openPlanEditor(rig->days.note(day()).plans[0]);
    click(QStringLiteral("day.planEditor.remove"), sheet());
    EXPECT_TRUE(rig->days.note(day()).plans.isEmpty());
}

TEST_F(DayViewTest, DeedEditorSavesOnReturnAndRemoves)
{
    build();
    const SessionRecord deed = model->writeDeed(QStringLiteral("walk"), 540, 30, day());
    settle();
    auto *item = row(9)->findChild<DeedItem *>(QStringLiteral("day.deed"));
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->toolTip(), QStringLiteral("押すと、直す・消す"));
    click(item);
    QDialog *editor = sheet();
    ASSERT_NE(editor, nullptr);
    auto *title = find<QLineEdit>(QStringLiteral("day.deedEditor.title"), editor);
    title->selectAll();
    QTest::keyClicks(title, QStringLiteral("run"));
    click(QStringLiteral("deedEditor.chip60"), editor);
    QTest::keyClick(title, Qt::Key_Return);
    settle();
    SessionRecord s = *rig->store.liveRecord(deed.id);
    EXPECT_EQ(s.title, QStringLiteral("run"));
    EXPECT_EQ(s.start.secsTo(s.end), 3600);

    view->openDeedEditor(view->deeds().first());
    click(QStringLiteral("deedEditor.startForward"), sheet());
    click(QStringLiteral("day.deedEditor.cancel"), sheet());
    EXPECT_EQ(*rig->store.liveRecord(deed.id), s) << "Cancel leaves the deed as it was";

    view->openDeedEditor(view->deeds().first());
    click(QStringLiteral("day.deedEditor.remove"), sheet());
    EXPECT_FALSE(rig->store.liveRecord(deed.id));
    settle();
    EXPECT_TRUE(row(9)->model().deeds.isEmpty());
}

TEST_F(DayViewTest, ARoundAsksBeforeItIsDeleted)
{
    SessionRecord round;
    round.id = QUuid::createUuid();
    round.title = QStringLiteral("round");
    round.start = QDateTime(QDate(2025, 3, 5), QTime(9, 0, 12));
    round.end = round.start.addSecs(1500);
    round.completed = true;
    rig->store.append(round);
    build();
    auto *item = row(9)->findChild<DeedItem *>(QStringLiteral("day.deed"));
    ASSERT_NE(item, nullptr);
    click(item);
    QDialog *ask = sheet();
    ASSERT_NE(ask, nullptr);
    EXPECT_EQ(ask->objectName(), QStringLiteral("day.removeDeed"));
    click(QStringLiteral("day.removeDeed.cancel"), ask);
    EXPECT_TRUE(rig->store.liveRecord(round.id));
    click(item);
    click(QStringLiteral("day.removeDeed.remove"), sheet());
    EXPECT_FALSE(rig->store.liveRecord(round.id));
}

TEST_F(DayViewTest, DroppingAPlanMovesItAndItsEvent)
{
    build();
    DayPlan plan;
    plan.title = QStringLiteral("Sit");
    plan.startMinutes = 600;
    plan.minutes = 45;
    model->placePlan(plan, day());
    settle();
    const QString oldEvent = *rig->days.note(day()).plans[0].eventID;

    auto drop = [&](SlotRow *target, const QString &text) {
        QMimeData mime;
        mime.setText(text);
        QDragEnterEvent enter(QPoint(40, 5), Qt::MoveAction, &mime, Qt::LeftButton, {});
        QCoreApplication::sendEvent(target, &enter);
        const bool accepted = enter.isAccepted();
        if (accepted) {
            QDropEvent dropped(QPointF(40, 5), Qt::MoveAction, &mime, Qt::LeftButton, {});
            QCoreApplication::sendEvent(target, &dropped);
        }
        settle();
        return accepted;
    };
    EXPECT_FALSE(drop(row(12), QStringLiteral("just text"))) << "foreign drops are refused";
    EXPECT_EQ(rig->days.note(day()).plans[0].startMinutes, 600);
    EXPECT_TRUE(drop(row(16), plan.id.toString(QUuid::WithoutBraces)));
    const DayPlan moved = rig->days.note(day()).plans[0];
    EXPECT_EQ(moved.startMinutes, 960);
    EXPECT_EQ(moved.minutes, 45);
    ASSERT_TRUE(moved.eventID);
    EXPECT_FALSE(rig->calendars.event(oldEvent));
    EXPECT_EQ(rig->calendars.event(*moved.eventID)->start, QDateTime(QDate(2025, 3, 5), QTime(16, 0)));
}

TEST_F(DayViewTest, WidePagesOfferAPlanAndADeedInEveryFreeHalf)
{
    build(519);
    EXPECT_FALSE(view->line()->wide());
    EXPECT_NE(row(16)->findChild<QWidget *>(QStringLiteral("day.opening")), nullptr);
    view->resize(600, 800);
    settle();
    ASSERT_TRUE(view->line()->wide());
    EXPECT_EQ(row(16)->findChild<QWidget *>(QStringLiteral("day.opening")), nullptr);
    EXPECT_EQ(row(16)->findChildren<QWidget *>(QStringLiteral("day.openingPlan")).size(), 2);
    // On a past day the left column still places a plan.
    click(QStringLiteral("day.previous"));
    click(row(9)->findChild<QWidget *>(QStringLiteral("day.openingPlan")));
    ASSERT_NE(sheet(), nullptr);
    EXPECT_EQ(find<QWidget>(QStringLiteral("place.timing"), sheet())->isVisible(), true) << "plan mode";
}

TEST_F(DayViewTest, StillPicturesTakeNoDrops)
{
    build(480, true);
    EXPECT_EQ(view->scrollArea(), nullptr);
    for (int h = 0; h < 24; ++h)
        EXPECT_FALSE(row(h)->acceptDrops());
}

} // namespace

// When a sheet closes, the arrow keys step the days again: the keyboard is
// back in the page's scroll area, also when the deed that opened the editor
// was drawn anew while the sheet was up.
TEST_F(DayViewTest, AClosedSheetGivesTheKeysBackToThePage)
{
    build();
    model->writeDeed(QStringLiteral("walk"), 540, 30, day());
    settle();
    view->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(view.get()));
    for (const char *end : {"day.deedEditor.ok", "day.deedEditor.cancel"}) {
        SCOPED_TRACE(end);
        auto *item = row(9)->findChild<DeedItem *>(QStringLiteral("day.deed"));
        ASSERT_NE(item, nullptr);
        click(item);
        QDialog *editor = sheet();
        ASSERT_NE(editor, nullptr);
        QTest::keyClicks(find<QLineEdit>(QStringLiteral("day.deedEditor.title"), editor), QStringLiteral("!"));
        click(QString::fromLatin1(end), editor);
        settle();
        view->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(view.get()));
        settle();
        QWidget *focus = QApplication::focusWidget();
        ASSERT_NE(focus, nullptr);
        EXPECT_TRUE(focus == view->scrollArea() || view->scrollArea()->isAncestorOf(focus))
            << focus->objectName().toStdString();
        const QDate shown = view->day();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right);
        EXPECT_EQ(view->day(), shown.addDays(1));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Left);
    }
}
