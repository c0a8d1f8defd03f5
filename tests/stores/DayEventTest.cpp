#include "core/KivJSON.h"
#include "stores/DayEvent.h"
#include "support/DayPrinters.h"

#include <gtest/gtest.h>

namespace {

DayEvent event(const QString &id, const QString &title, int start, int minutes, const QString &notes = {},
               bool allDay = false)
{
    return DayEvent{id, title, start, minutes, QStringLiteral("Work"), notes, allDay};
}

SessionRecord written(const QDateTime &start, int minutes, const QString &eventID)
{
    SessionRecord r;
    r.id = QUuid::createUuid();
    r.phase = Phase::focus;
    r.start = start;
    r.end = start.addSecs(minutes * 60);
    r.completed = true;
    r.calendarEventID = eventID;
    return r;
}

DayPlan timedPlan(const QString &title, int start, int minutes)
{
    DayPlan p;
    p.id = QUuid::createUuid();
    p.title = title;
    p.startMinutes = start;
    p.minutes = minutes;
    p.timed = true;
    return p;
}

const QString kRoundNotes = QStringLiteral("味わう 25分\nOndrevel");
const QString kPlanNotes = QStringLiteral("作務の予定\nOndrevel");

} // namespace

TEST(DayEventIdentity, StableIdsAndPlainTitles)
{
    EXPECT_EQ(KivJSON::uuidString(DayEvent::stableID(QString())), QStringLiteral("00000000-0000-0000-0000-000000000000"));
    EXPECT_EQ(KivJSON::uuidString(DayEvent::stableID(QStringLiteral("abc"))),
              QStringLiteral("86B50500-0000-0000-0000-000000000000"));
    const QString longId = QStringLiteral("0123456789abcdefX");
    EXPECT_EQ(DayEvent::stableID(longId), DayEvent::stableID(longId));
    EXPECT_NE(DayEvent::stableID(longId), DayEvent::stableID(longId.left(16)))
        << "byte 17 folds back into position 0";

    struct Case
    {
        QString title, plain;
    };
    const Case cases[] = {
        {QStringLiteral("◯"), QString()},
        {QStringLiteral(" ◯ x"), QStringLiteral(" ◯ x")},
        {QStringLiteral("·  word "), QStringLiteral("word")},
        {QStringLiteral("○ 見積書"), QStringLiteral("見積書")},
        {QStringLiteral("Lunch"), QStringLiteral("Lunch")},
    };
    for (const Case &c : cases)
        EXPECT_EQ(DayEvent::plainTitle(c.title), c.plain) << c.title.toStdString();
}

TEST(DayEventOwn, RoundsAndPlansOfTheProgramAreToldApart)
{
    const QDate day(2025, 3, 4);
    const QList<SessionRecord> records{
        written(QDateTime(day.addDays(-1), QTime(14, 0)), 25, QStringLiteral("known")),
        written(QDateTime(day, QTime(14, 0)), 25, QStringLiteral("today-14")),
        written(QDateTime(day.addDays(-1), QTime(15, 0)), 25, QStringLiteral("yesterday-15")),
        written(QDateTime(day.addDays(-1), QTime(23, 30)), 25, QStringLiteral("late")),
    };
    const QList<DayPlan> plans{timedPlan(QStringLiteral("見積書"), 600, 45)};
    const QList<DayEvent> events{
        event(QStringLiteral("known"), QStringLiteral("◯ a"), 300, 25, kRoundNotes),
        event(QStringLiteral("round-unmatched"), QStringLiteral("◯ b"), 420, 25, kRoundNotes),
        event(QStringLiteral("plan-near"), QStringLiteral("○ 見積書"), 601, 45, kPlanNotes),
        event(QStringLiteral("plan-far"), QStringLiteral("○ 見積書"), 602, 45, kPlanNotes),
        event(QStringLiteral("glyph-at-record-time"), QStringLiteral("◯ c"), 841, 25),
        event(QStringLiteral("glyph-at-yesterdays-record-time"), QStringLiteral("◯ d"), 900, 25),
        event(QStringLiteral("glyph-before-midnight"), QStringLiteral("◯ e"), -30, 25),
        event(QStringLiteral("allday-own"), QStringLiteral("x"), 0, 1440, kRoundNotes, true),
        event(QStringLiteral("meeting"), QStringLiteral("Meeting"), 660, 60),
    };
    QStringList shown;
    for (const DayEvent &e : DayEvent::withoutOwn(events, records, plans, day))
        shown << e.id;
    EXPECT_EQ(shown, (QStringList{"plan-far", "glyph-at-yesterdays-record-time", "meeting"}));

    // Only a record of the same day within a minute accounts for a round copy;
    // one of another day at the same clock time is a different round.
    const QList<DayEvent> rounds{
        event(QStringLiteral("same-day"), QStringLiteral("◯ 読む"), 841, 25, kRoundNotes),
        event(QStringLiteral("other-day"), QStringLiteral("◯ 書く"), 900, 0, kRoundNotes),
        event(QStringLiteral("stopped"), QStringLiteral("· 経行"), 200, 5,
              QStringLiteral("経行 5分\n（途中で終了）\nOndrevel")),
        event(QStringLiteral("across-midnight"), QStringLiteral("◯ x"), -29, 75, kRoundNotes),
        event(QStringLiteral("all-day"), QStringLiteral("◯ x"), 100, 25, kRoundNotes, true),
        event(QStringLiteral("plan"), QStringLiteral("○ 見積書"), 300, 45, kPlanNotes),
    };
    const QList<DayDeed> copies = DayEvent::recordCopies(rounds, records, day);
    ASSERT_EQ(copies.size(), 2);
    EXPECT_EQ(copies[0], (DayDeed{DayEvent::stableID(QStringLiteral("stopped")), QStringLiteral("経行"), 200, 5,
                                  false, true, false}));
    EXPECT_EQ(copies[1].id, DayEvent::stableID(QStringLiteral("other-day")));
    EXPECT_EQ(copies[1].title, QStringLiteral("書く"));
    EXPECT_EQ(copies[1].minutes, 1) << "a zero-minute event is a one-minute deed";
    EXPECT_TRUE(copies[1].completed);

    const QList<DayDeed> noRecords = DayEvent::recordCopies(rounds, {}, day);
    QList<int> starts;
    for (const DayDeed &d : noRecords)
        starts << d.startMinutes;
    EXPECT_EQ(starts, (QList<int>{-29, 200, 841, 900})) << "sorted by start";
}

TEST(DayDeeds, FromLiveFocusRecordsOfTheDay)
{
    const QDate day(2025, 3, 4);
    auto record = [&](QTime start, int seconds, Phase phase = Phase::focus, int dayOffset = 0) {
        SessionRecord r;
        r.id = QUuid::createUuid();
        r.phase = phase;
        r.title = QStringLiteral("t");
        r.start = QDateTime(day.addDays(dayOffset), start);
        r.end = r.start.addSecs(seconds);
        r.completed = true;
        r.taskRef = TaskRef{QStringLiteral("local"), QStringLiteral("x"), std::nullopt};
        return r;
    };
    SessionRecord tomb = record(QTime(8, 0), 600);
    tomb.deletedAt = QDateTime(day, QTime(9, 0));
    const QList<SessionRecord> records{record(QTime(11, 0), 89),  record(QTime(10, 0), 90),
                                       record(QTime(9, 0), 10),   record(QTime(9, 30), 300, Phase::shortBreak),
                                       record(QTime(9, 0), 600, Phase::focus, -1), tomb};
    const QList<DayDeed> deeds = DayDeed::deeds(records, day);
    ASSERT_EQ(deeds.size(), 3);
    EXPECT_EQ(deeds[0].startMinutes, 540);
    EXPECT_EQ(deeds[0].minutes, 1);
    EXPECT_EQ(deeds[1].minutes, 2) << "1.5 minutes round away from zero";
    EXPECT_EQ(deeds[2].minutes, 1);
    EXPECT_FALSE(deeds[0].editable);
}

TEST(DayLineOpenings, CursorJumpsPastBusyItems)
{
    const QList<DayPlan> none;
    struct Case
    {
        const char *name;
        QList<DayEvent> events;
        int slot, from, least;
        std::optional<DayLine::Opening> expected;
    };
    const Case cases[] = {
        {"free row from 70 starts at 60", {}, 1, 70, 10, DayLine::Opening{60, 1380}},
        {"event 60-80 moves the cursor to 90", {event("a", "A", 60, 20)}, 1, 70, 10, DayLine::Opening{90, 1350}},
        {"event 60-95 moves it to 95", {event("a", "A", 60, 35)}, 1, 70, 10, DayLine::Opening{95, 1345}},
        {"gap ends at the next start", {event("a", "A", 60, 20), event("b", "B", 100, 10)}, 1, 60, 10,
         DayLine::Opening{90, 10}},
        {"gap shorter than least", {event("a", "A", 60, 20), event("b", "B", 95, 10)}, 1, 60, 10, std::nullopt},
        {"whole row busy", {event("a", "A", 50, 80)}, 1, 60, 10, std::nullopt},
        {"from past the row", {}, 1, 120, 10, std::nullopt},
    };
    for (const Case &c : cases)
        EXPECT_EQ(DayLine::opening(c.slot, c.events, none, c.from, c.least), c.expected) << c.name;

    EXPECT_TRUE(DayLine::isBusy(1, {}, {timedPlan(QStringLiteral("p"), 110, 20)}));
    EXPECT_FALSE(DayLine::isBusy(1, {event("a", "A", 120, 30)}, {}));

    EXPECT_EQ(DayLine::inHalf({{0.25, 0.75}}, true), (QList<DayLine::Span>{{0.5, 1.0}}));
    EXPECT_EQ(DayLine::inHalf({{0.25, 0.75}}, false), (QList<DayLine::Span>{{0.0, 0.5}}));
    EXPECT_TRUE(DayLine::inHalf({{0.5, 0.5}}, false).isEmpty());
}
