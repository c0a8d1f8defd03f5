#include "ModelRig.h"

#include "model/DayClock.h"
#include "support/ScopedTimeZone.h"

#include <gtest/gtest.h>

namespace {

using namespace ModelRigs;

struct AppModelDeedsTest : ::testing::Test
{
    ScopedTimeZone berlin{"Europe/Berlin"};
    std::unique_ptr<Rig> rig = std::make_unique<Rig>(QDateTime(QDate(2025, 3, 5), QTime(9, 0)));
    AppModel *model = &rig->build();

    SessionRecord stored(const QUuid &id) const { return *rig->store.liveRecord(id); }
};

TEST_F(AppModelDeedsTest, ADeedStandsAtTheWallClockMinutesOfItsDay)
{
    struct Case
    {
        QDate day;
        int start, minutes;
        QTime from, to;
    };
    // 2025-03-30: clocks go from 2:00 to 3:00; 2025-10-26: from 3:00 back to 2:00.
    const Case cases[] = {
        {QDate(2025, 3, 30), 14 * 60, 45, QTime(14, 0), QTime(14, 45)},
        {QDate(2025, 10, 26), 14 * 60, 45, QTime(14, 0), QTime(14, 45)},
        {QDate(2025, 10, 26), 60, 30, QTime(1, 0), QTime(1, 30)},
        {QDate(2025, 3, 5), 23 * 60 + 30, 30, QTime(23, 30), QTime(0, 0)},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.day.toString(Qt::ISODate).toStdString() + " " + std::to_string(c.start));
        const SessionRecord r = model->writeDeed(QStringLiteral("walk"), c.start, c.minutes,
                                                 QDateTime(c.day, QTime(20, 0)));
        const SessionRecord s = stored(r.id);
        EXPECT_EQ(s.start.toLocalTime().time(), c.from);
        EXPECT_EQ(s.end.toLocalTime().time(), c.to);
        EXPECT_EQ(s.start.toLocalTime().date(), c.day);
        EXPECT_EQ(s.start.secsTo(s.end), c.minutes * 60);
        EXPECT_TRUE(s.isHandWritten());
        EXPECT_EQ(s.manual, true);
        EXPECT_TRUE(s.completed);
        EXPECT_EQ(s.phase, Phase::focus);
        EXPECT_FALSE(s.taskRef);
        EXPECT_FALSE(s.calendarEventID);
    }
}

TEST_F(AppModelDeedsTest, MinutesReadBackOnDaylightSavingDays)
{
    for (const QDate &day : {QDate(2025, 3, 30), QDate(2025, 10, 26)})
        for (int m : {0, 60, 179, 180, 600, 1439}) {
            const QDateTime at = DayClock::at(day, m);
            if (day.month() == 3 && m >= 120 && m < 180)
                continue; // those minutes do not exist that day
            EXPECT_EQ(DayClock::minutesOf(at), m) << day.toString().toStdString() << " " << m;
            EXPECT_EQ(at.date(), day);
        }
    EXPECT_EQ(DayClock::at(QDate(2025, 3, 30), 150).time(), QTime(3, 30)) << "a skipped minute lands after the gap";
    EXPECT_EQ(DayClock::at(QDate(2025, 3, 30), 1440), QDateTime(QDate(2025, 3, 31), QTime(0, 0)));
    EXPECT_EQ(DayClock::text(1440), QStringLiteral("24:00"));
    EXPECT_EQ(DayClock::text(545), QStringLiteral("9:05"));
}

TEST_F(AppModelDeedsTest, BlankOrBrokenTitlesAreStoredAsOneLine)
{
    EXPECT_EQ(model->writeDeed(QStringLiteral(" \n "), 600, 30, rig->clock.now()).title, QStringLiteral("只管"));
    EXPECT_EQ(model->writeDeed(QStringLiteral("a\r\nb\u2028c\u2029d"), 600, 30, rig->clock.now()).title,
              QStringLiteral("abcd"));
    EXPECT_EQ(rig->store.records().size(), 2);
}

TEST_F(AppModelDeedsTest, EditingMovesAHandWrittenDeedOnly)
{
    const QDateTime day(QDate(2025, 3, 30), QTime(12, 0));
    const SessionRecord deed = model->writeDeed(QStringLiteral("walk"), 600, 30, day);
    rig->clock.advance(60000);

    EXPECT_TRUE(model->editDeed(deed.id, QStringLiteral("  "), 14 * 60, 0, day));
    SessionRecord s = stored(deed.id);
    EXPECT_EQ(s.title, QStringLiteral("walk")) << "a blank title keeps the old one";
    EXPECT_EQ(s.start, QDateTime(QDate(2025, 3, 30), QTime(14, 0)));
    EXPECT_EQ(s.start.secsTo(s.end), 60) << "no deed shorter than a minute";
    EXPECT_EQ(s.editedAt, rig->clock.now());

    // Records of finished rounds never change.
    SessionRecord round;
    round.id = QUuid::createUuid();
    round.title = QStringLiteral("round");
    round.start = QDateTime(QDate(2025, 3, 30), QTime(9, 0, 12));
    round.end = round.start.addSecs(1500);
    round.completed = true;
    SessionRecord flagged = round;
    flagged.id = QUuid::createUuid();
    flagged.start = QDateTime(QDate(2025, 3, 30), QTime(9, 0));
    flagged.end = flagged.start.addSecs(1500);
    flagged.manual = false;
    SessionRecord withTask = flagged;
    withTask.id = QUuid::createUuid();
    withTask.manual.reset();
    withTask.taskRef = TaskRef{QStringLiteral("local"), QUuid::createUuid().toString(QUuid::WithoutBraces), {}};
    for (const SessionRecord &r : {round, flagged, withTask}) {
        rig->store.append(r);
        EXPECT_FALSE(model->editDeed(r.id, QStringLiteral("new"), 600, 30, day));
        EXPECT_EQ(stored(r.id), r);
    }
    EXPECT_FALSE(model->editDeed(QUuid::createUuid(), QStringLiteral("new"), 600, 30, day));
}

TEST_F(AppModelDeedsTest, EditingADeedMovesItsCalendarCopy)
{
    const QDateTime day(QDate(2025, 3, 5), QTime(12, 0));
    SessionRecord deed = model->writeDeed(QStringLiteral("walk"), 600, 30, day);
    rig->settings.setCalendarIdentifier(QStringLiteral("rounds"));
    model->exportToCalendar(deed);
    const std::optional<QString> oldID = stored(deed.id).calendarEventID;
    ASSERT_TRUE(oldID);

    ASSERT_TRUE(model->editDeed(deed.id, QStringLiteral("run"), 15 * 60, 45, day));
    const SessionRecord s = stored(deed.id);
    ASSERT_TRUE(s.calendarEventID);
    EXPECT_FALSE(rig->calendars.event(*oldID)) << "the copy at the old time is gone";
    const std::optional<CalendarEvent> copy = rig->calendars.event(*s.calendarEventID);
    ASSERT_TRUE(copy);
    EXPECT_EQ(copy->start, QDateTime(QDate(2025, 3, 5), QTime(15, 0)));
    EXPECT_EQ(copy->end, QDateTime(QDate(2025, 3, 5), QTime(15, 45)));
    EXPECT_EQ(rig->calendars.storedEvents().size(), 1);
}

} // namespace
