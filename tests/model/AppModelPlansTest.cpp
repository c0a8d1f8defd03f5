#include "ModelRig.h"

#include "support/LanguageFixtures.h"
#include "support/ScopedTimeZone.h"

#include <gtest/gtest.h>

namespace {

using namespace ModelRigs;

// A writable calendar "Plans" chosen for timed plans.
void choosePlanCalendar(Rig &rig)
{
    CalendarInfo plans;
    plans.id = QStringLiteral("plans");
    plans.title = QStringLiteral("Plans");
    plans.writable = true;
    rig.calendars.addCalendar(plans);
    rig.settings.setPlanCalendarIdentifier(QStringLiteral("plans"));
}

struct AppModelPlansTest : InEnglish
{
    Rig rig;
    AppModel *model = nullptr;
    LocalTask task;

    void SetUp() override
    {
        InEnglish::SetUp();
        choosePlanCalendar(rig);
        task = *rig.local.add(QStringLiteral("Letters"));
        model = &rig.build();
    }

    QDateTime today() const { return rig.clock.now(); }
    QList<DayPlan> plansOn(const QDateTime &day) const { return rig.days.note(day).plans; }

    DayPlan timedPlan(int startMinutes, int minutes = 30) const
    {
        DayPlan plan;
        plan.taskID = task.id;
        plan.title = task.title;
        plan.startMinutes = startMinutes;
        plan.minutes = minutes;
        plan.timed = true;
        return plan;
    }

    std::optional<CalendarEvent> event(const std::optional<QString> &id) const
    {
        if (!id)
            return std::nullopt;
        return rig.calendars.event(*id);
    }
};

TEST_F(AppModelPlansTest, ATaskStandsOnceUntimedAndATimeTakesItsPlace)
{
    const DayPlan untimed = model->placeOnDay(task, today());
    EXPECT_FALSE(untimed.timed);
    EXPECT_EQ(untimed.minutes, 30);
    EXPECT_EQ(model->placeOnDay(task, today()).id, untimed.id); // the same plan the second time
    DayPlan again = untimed;
    again.id = QUuid::createUuid();
    model->placePlan(again, today());
    ASSERT_EQ(plansOn(today()).size(), 1);
    EXPECT_TRUE(rig.calendars.storedEvents().isEmpty()); // day-only plans never reach the calendar

    // A time for the task replaces its day-only plan and is mirrored as an event.
    model->placePlan(timedPlan(600), today());
    ASSERT_EQ(plansOn(today()).size(), 1);
    const DayPlan timed = plansOn(today()).first();
    EXPECT_TRUE(timed.timed);
    const std::optional<CalendarEvent> written = event(timed.eventID);
    ASSERT_TRUE(written);
    EXPECT_EQ(written->calendarId, QStringLiteral("plans"));
    EXPECT_EQ(written->title, QStringLiteral("○ Letters"));
    EXPECT_EQ(written->start, QDateTime(today().date(), QTime(10, 0)));
    EXPECT_EQ(written->end, QDateTime(today().date(), QTime(10, 30)));

    // A second time on the same day is a second plan; a day-only placement
    // of a task with a time adds nothing.
    model->placePlan(timedPlan(14 * 60), today());
    DayPlan dayOnly = untimed;
    dayOnly.id = QUuid::createUuid();
    model->placePlan(dayOnly, today());
    EXPECT_EQ(model->placeOnDay(task, today()).id, timed.id);
    EXPECT_EQ(plansOn(today()).size(), 2);
    EXPECT_EQ(rig.calendars.storedEvents().size(), 2);

    // Free plans (without a task) are never merged.
    DayPlan free = timedPlan(16 * 60);
    free.taskID.reset();
    model->placePlan(free, today());
    model->placePlan(free, today());
    EXPECT_EQ(plansOn(today()).size(), 4);
}

TEST_F(AppModelPlansTest, WithoutAWritablePlanCalendarTimedPlansAreKeptWithoutEvents)
{
    for (const std::optional<QString> &calendar : {std::optional<QString>(), std::optional<QString>("rounds-gone")}) {
        rig.settings.setPlanCalendarIdentifier(calendar);
        DayPlan plan = timedPlan(600);
        plan.eventID = QStringLiteral("stale"); // never kept: the calendar's answer is
        model->placePlan(plan, today());
        EXPECT_FALSE(plansOn(today()).last().eventID);
    }
    EXPECT_TRUE(rig.calendars.storedEvents().isEmpty());
    EXPECT_EQ(plansOn(today()).size(), 2);
}

TEST_F(AppModelPlansTest, MovingAPlanRewritesItsEvent)
{
    DayPlan other = timedPlan(8 * 60);
    other.taskID.reset();
    model->placePlan(other, today());
    model->placePlan(timedPlan(600), today());
    const DayPlan placed = plansOn(today()).last();
    ASSERT_TRUE(placed.eventID);

    model->movePlan(placed.id, 11 * 60, 45, today());
    ASSERT_EQ(plansOn(today()).size(), 2);
    const DayPlan moved = plansOn(today()).last(); // the order is kept
    EXPECT_EQ(moved.id, placed.id);
    EXPECT_EQ(moved.startMinutes, 11 * 60);
    EXPECT_EQ(moved.minutes, 45);
    ASSERT_TRUE(moved.eventID);
    EXPECT_NE(moved.eventID, placed.eventID);
    EXPECT_FALSE(event(placed.eventID)); // the old event is gone
    const std::optional<CalendarEvent> rewritten = event(moved.eventID);
    ASSERT_TRUE(rewritten);
    EXPECT_EQ(rewritten->start, QDateTime(today().date(), QTime(11, 0)));
    EXPECT_EQ(rewritten->end, QDateTime(today().date(), QTime(11, 45)));

    // A day-only plan moved into the day's hours gets a time and an event.
    const QDateTime tomorrow = today().addDays(1);
    const DayPlan untimed = model->placeOnDay(task, tomorrow);
    model->movePlan(untimed.id, 9 * 60, 30, tomorrow);
    const DayPlan nowTimed = plansOn(tomorrow).first();
    EXPECT_TRUE(nowTimed.timed);
    ASSERT_TRUE(event(nowTimed.eventID));
    EXPECT_EQ(event(nowTimed.eventID)->start, QDateTime(tomorrow.date(), QTime(9, 0)));

    // An unknown plan moves nothing.
    const int events = rig.calendars.storedEvents().size();
    model->movePlan(QUuid::createUuid(), 0, 30, today());
    EXPECT_EQ(rig.calendars.storedEvents().size(), events);
}

TEST_F(AppModelPlansTest, RemovingPlansRemovesTheirEvents)
{
    const QDateTime yesterday = today().addDays(-1);
    const QDateTime later = today().addDays(3);
    for (const QDateTime &day : {yesterday, today(), later}) {
        model->placePlan(timedPlan(600), day);
        model->placePlan(timedPlan(900), day);
    }
    ASSERT_EQ(rig.calendars.storedEvents().size(), 6);
    EXPECT_EQ(model->placedDays(task.id, today()),
              (QList<QDateTime>{today().date().startOfDay(), later.date().startOfDay()}));

    const DayPlan first = plansOn(today()).first();
    model->removePlan(first.id, today());
    EXPECT_FALSE(event(first.eventID));
    EXPECT_EQ(plansOn(today()).size(), 1);

    // From today on: today's and later plans go with their events, yesterday's stay.
    model->unplaceFrom(task.id, today());
    EXPECT_TRUE(plansOn(today()).isEmpty());
    EXPECT_TRUE(plansOn(later).isEmpty());
    EXPECT_EQ(plansOn(yesterday).size(), 2);
    EXPECT_EQ(rig.calendars.storedEvents().size(), 2);
    EXPECT_TRUE(model->placedDays(task.id, today()).isEmpty());

    model->unplace(task.id, yesterday);
    EXPECT_TRUE(plansOn(yesterday).isEmpty());
    EXPECT_TRUE(rig.calendars.storedEvents().isEmpty());
}

TEST_F(AppModelPlansTest, LocalTaskOfAReference)
{
    const QString id = task.id.toString(QUuid::WithoutBraces).toUpper();
    EXPECT_EQ(model->localTask(TaskRef{QStringLiteral("local"), id, {}}), task);
    EXPECT_FALSE(model->localTask(TaskRef{QStringLiteral("reminders"), id, {}}));
    EXPECT_FALSE(model->localTask(TaskRef{QStringLiteral("local"), QStringLiteral("not-a-uuid"), {}}));
    EXPECT_FALSE(model->localTask(
        TaskRef{QStringLiteral("local"), QUuid::createUuid().toString(QUuid::WithoutBraces), {}}));
}

TEST_F(AppModelPlansTest, RemovingAndExportingDeeds)
{
    SessionRecord record;
    record.title = QStringLiteral("Letters");
    record.start = QDateTime(today().date(), QTime(8, 0));
    record.end = record.start.addSecs(25 * 60);
    record.completed = true;
    rig.store.append(record);

    // Exporting writes the title whatever the setting says, once.
    rig.settings.setCalendarShowsTitle(false);
    rig.settings.setCalendarIdentifier(QStringLiteral("rounds"));
    model->exportToCalendar(record);
    EXPECT_EQ(model->notice(), QStringLiteral("Written to the calendar."));
    const SessionRecord exported = rig.store.records().first();
    ASSERT_TRUE(event(exported.calendarEventID));
    EXPECT_EQ(event(exported.calendarEventID)->title, QStringLiteral("◯ Letters"));
    model->setNotice(std::nullopt);
    model->exportToCalendar(exported);
    EXPECT_FALSE(model->notice());
    EXPECT_EQ(rig.calendars.storedEvents().size(), 1);

    // Removing the deed removes its event and leaves a tombstone.
    model->removeDeed(exported.id);
    EXPECT_TRUE(rig.calendars.storedEvents().isEmpty());
    EXPECT_TRUE(rig.store.records().isEmpty());
    ASSERT_EQ(rig.store.allRecords().size(), 1);
    EXPECT_EQ(rig.store.allRecords().first().deletedAt, today());
    model->removeDeed(QUuid::createUuid()); // unknown: nothing
    EXPECT_EQ(rig.store.allRecords().size(), 1);
}

// The history window may hand over a copy taken before the record was
// deleted or edited, here or on another device and synced since.
TEST_F(AppModelPlansTest, ExportingAStaleCopyWritesOnlyTheLiveStoredRecord)
{
    rig.settings.setCalendarIdentifier(QStringLiteral("rounds"));
    auto deed = [&](const QString &title, int hour) {
        SessionRecord r;
        r.id = QUuid::createUuid();
        r.title = title;
        r.start = QDateTime(today().date(), QTime(hour, 0));
        r.end = r.start.addSecs(25 * 60);
        r.completed = true;
        return r;
    };
    const SessionRecord edited = deed(QStringLiteral("Letters"), 8);
    const SessionRecord deleted = deed(QStringLiteral("Reading"), 10);
    const SessionRecord unknown = deed(QStringLiteral("Walking"), 12);
    rig.store.append(edited);
    rig.store.append(deleted);

    SessionRecord newer = edited;
    newer.title = QStringLiteral("Letters to Ann");
    newer.editedAt = today();
    rig.store.update(newer);
    rig.store.deleteRecord(deleted, today());
    const SessionRecord tombstone = rig.store.allRecords().at(1);

    // Gone: nothing written, no event, the tombstone stays as it was.
    for (const SessionRecord &gone : {deleted, unknown}) {
        SCOPED_TRACE(gone.title.toStdString());
        model->exportToCalendar(gone);
        EXPECT_TRUE(rig.calendars.storedEvents().isEmpty());
        EXPECT_FALSE(model->notice());
    }
    EXPECT_EQ(rig.store.allRecords().size(), 2);
    EXPECT_EQ(rig.store.allRecords().at(1), tombstone);

    // Edited: the stored title is written and kept; only the event id is new.
    model->exportToCalendar(edited);
    const SessionRecord exported = *rig.store.liveRecord(edited.id);
    ASSERT_TRUE(event(exported.calendarEventID));
    EXPECT_EQ(event(exported.calendarEventID)->title, QStringLiteral("◯ Letters to Ann"));
    SessionRecord expected = newer;
    expected.calendarEventID = exported.calendarEventID;
    EXPECT_EQ(exported, expected);

    // A stale copy without the event id does not write a second event.
    model->exportToCalendar(edited);
    EXPECT_EQ(rig.calendars.storedEvents().size(), 1);
}

TEST_F(AppModelPlansTest, ExportFailuresAreTold)
{
    SessionRecord record;
    record.title = QStringLiteral("Letters");
    record.start = today();
    record.end = today().addSecs(60 * 25);
    rig.store.append(record);

    rig.calendars.setWriteError(QStringLiteral("disk full"));
    model->exportToCalendar(record);
    EXPECT_EQ(model->notice(), QStringLiteral("disk full"));
    EXPECT_FALSE(rig.store.records().first().calendarEventID);

    rig.calendars.setAuthorization(CalendarAccess::Denied);
    rig.calendars.setGrantsAccess(false);
    rig.calendarService->requestAccess();
    model->exportToCalendar(record);
    EXPECT_EQ(model->notice(), QStringLiteral("Please allow calendar access in Settings first."));
}

// Plan minutes are wall-clock minutes of the day, also on the day the clocks
// go forward (2025-03-30 in Berlin has 23 hours).
TEST(AppModelPlanTimes, PlansLandOnTheWallClockOfADaylightSavingDay)
{
    ScopedTimeZone berlin("Europe/Berlin");
    Rig rig(QDateTime(QDate(2025, 3, 30), QTime(22, 30)));
    choosePlanCalendar(rig);
    AppModel &model = rig.build();

    DayPlan plan;
    plan.title = QStringLiteral("Walk");
    plan.startMinutes = 600;
    plan.minutes = 60;
    model.placePlan(plan, rig.clock.now());
    ASSERT_EQ(rig.calendars.storedEvents().size(), 1);
    const CalendarEvent written = rig.calendars.storedEvents().first();
    EXPECT_EQ(written.start, QDateTime(QDate(2025, 3, 30), QTime(10, 0)));
    EXPECT_EQ(written.end, QDateTime(QDate(2025, 3, 30), QTime(11, 0)));

    model.movePlan(plan.id, 23 * 60, 30, rig.clock.now());
    const CalendarEvent moved = rig.calendars.storedEvents().first();
    EXPECT_EQ(moved.start, QDateTime(QDate(2025, 3, 30), QTime(23, 0)));
}

} // namespace
