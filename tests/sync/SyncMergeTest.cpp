#include "SyncFixtures.h"
#include "core/KivJSON.h"
#include "sync/SyncMerge.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

using namespace SyncFixtures;

namespace {

QList<QUuid> ids(const QList<SessionRecord> &records)
{
    QList<QUuid> out;
    for (const SessionRecord &r : records)
        out.append(r.id);
    return out;
}

template<typename T>
QList<T> shuffled(QList<T> list, unsigned seed)
{
    std::mt19937 rng(seed);
    std::shuffle(list.begin(), list.end(), rng);
    return list;
}

} // namespace

TEST(SyncMergeTest, EmptyAndOneSidedListsComeThroughUnchanged)
{
    EXPECT_TRUE(SyncMerge::mergeRecords({}, {}).isEmpty());
    EXPECT_TRUE(SyncMerge::mergeTasks({}, {}).isEmpty());
    EXPECT_TRUE(SyncMerge::mergeDays({}, {}).isEmpty());

    const SessionRecord r = record(1, 0, QStringLiteral("読経"), 5, std::nullopt, QStringLiteral("ev"));
    EXPECT_EQ(SyncMerge::mergeRecords({r}, {}), QList<SessionRecord>{r});
    EXPECT_EQ(SyncMerge::mergeRecords({}, {r}), QList<SessionRecord>{r});
    const LocalTask t = task(1, 0, QStringLiteral("掃除"), 3);
    EXPECT_EQ(SyncMerge::mergeTasks({}, {t}), QList<LocalTask>{t});
    const DayNote d = day(QStringLiteral("2025-03-04"), 1, QStringLiteral("静かに"));
    EXPECT_EQ(SyncMerge::mergeDays({d}, {}), QList<DayNote>{d});
}

// One record id on both sides: which copy survives, with which calendar id.
TEST(SyncMergeTest, RecordRuleTable)
{
    struct Case
    {
        const char *name;
        SessionRecord a, b;
        QString title;                      // the winner's content
        std::optional<int> deletedAt;       // the winner's deletion
        std::optional<QString> calendarID;  // the result's calendar event id
    };
    const QString A = QStringLiteral("A"), B = QStringLiteral("B");
    const QString evA = QStringLiteral("evA"), evB = QStringLiteral("evB");
    const Case cases[] = {
        {"deleted on one side, edited later on the other: stays deleted",
         record(1, 0, A, 1, 2), record(1, 0, B, 50), A, 2, std::nullopt},
        {"the same, the other way round", record(1, 0, A, 50), record(1, 0, B, 1, 2), B, 2, std::nullopt},
        {"deleted on both: the earlier deletion", record(1, 0, A, {}, 9), record(1, 0, B, {}, 4), B, 4, std::nullopt},
        {"equal deletion times: the greater copy", record(1, 0, A, {}, 4), record(1, 0, B, {}, 4), B, 4,
         std::nullopt},
        {"later edit wins and keeps the earlier calendar id",
         record(1, 0, A, 10, {}, evA), record(1, 0, B, 20), B, {}, evA},
        {"later edit with its own calendar id keeps it",
         record(1, 0, A, 10, {}, evA), record(1, 0, B, 20, {}, evB), B, {}, evB},
        {"an edit beats no edit", record(1, 0, A, 3), record(1, 0, B, {}, {}, evB), A, {}, evB},
        {"no edit times, only the second has a calendar id: the second",
         record(1, 0, A), record(1, 0, B, {}, {}, evB), B, {}, evB},
        {"no edit times, both with calendar ids: the greater copy",
         record(1, 0, A, {}, {}, evA), record(1, 0, B, {}, {}, evB), B, {}, evB},
        {"no edit times, neither with a calendar id: the greater copy", record(1, 0, A), record(1, 0, B), B, {}, {}},
        {"edited at the same moment, both with calendar ids: the greater copy",
         record(1, 0, B, 6, {}, evA), record(1, 0, A, 6, {}, evB), A, {}, evB},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const QList<SessionRecord> out = SyncMerge::mergeRecords({c.a}, {c.b});
        ASSERT_EQ(out.size(), 1);
        EXPECT_EQ(out[0].title, c.title);
        EXPECT_EQ(out[0].deletedAt, maybeAt(c.deletedAt));
        EXPECT_EQ(out[0].calendarEventID, c.calendarID);
        // Every device reaches the same copy, whichever of the two is its own.
        EXPECT_EQ(SyncMerge::mergeRecords({c.b}, {c.a}), out);
    }
}

TEST(SyncMergeTest, DuplicatesInsideOneListMergeByTheSameRule)
{
    const SessionRecord older = record(1, 0, QStringLiteral("古い"), 1);
    const SessionRecord newer = record(1, 0, QStringLiteral("新しい"), 9);
    const QList<SessionRecord> out = SyncMerge::mergeRecords({newer, older}, {});
    ASSERT_EQ(out.size(), 1);
    EXPECT_EQ(out[0].title, QStringLiteral("新しい"));
}

TEST(SyncMergeTest, TaskRuleTable)
{
    struct Case
    {
        const char *name;
        LocalTask a, b;
        QString title; // the base's content
        std::optional<int> deletedAt;
    };
    const QString A = QStringLiteral("A"), B = QStringLiteral("B");
    const Case cases[] = {
        {"later change is the base", task(1, 0, A, 9), task(1, 0, B, 5), A, {}},
        {"later change on the second side", task(1, 0, A, 5), task(1, 0, B, 9), B, {}},
        {"same change time, neither deleted: the second", task(1, 0, A, 5), task(1, 0, B, 5), B, {}},
        {"same change time, the first deleted: the first", task(1, 0, A, 5, 5), task(1, 0, B, 5), A, 5},
        {"an older deletion loses to a later edit", task(1, 0, A, 5, 5), task(1, 0, B, 8), B, {}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const QList<LocalTask> out = SyncMerge::mergeTasks({c.a}, {c.b});
        ASSERT_EQ(out.size(), 1);
        EXPECT_EQ(out[0].title, c.title);
        EXPECT_EQ(out[0].deletedAt, maybeAt(c.deletedAt));
        EXPECT_EQ(out[0].updatedAt, std::max(c.a.updatedAt, c.b.updatedAt));
    }
}

TEST(SyncMergeTest, DoneDaysAreTheSortedUnionWhicheverSideIsTheBase)
{
    LocalTask one = task(1, 0, QStringLiteral("行持"), 9);
    one.doneDays = {QStringLiteral("2024-01-02")};
    LocalTask two = task(1, 0, QStringLiteral("行持"), 1);
    two.doneDays = {QStringLiteral("2024-01-02"), QStringLiteral("2024-01-01")};
    const QStringList expected{QStringLiteral("2024-01-01"), QStringLiteral("2024-01-02")};
    EXPECT_EQ(SyncMerge::mergeTasks({one}, {two})[0].doneDays, expected);
    EXPECT_EQ(SyncMerge::mergeTasks({two}, {one})[0].doneDays, expected);
    // The same unsorted list on both sides comes out sorted, each day once.
    two.doneDays.append(QStringLiteral("2024-01-01"));
    one.doneDays = two.doneDays;
    EXPECT_EQ(SyncMerge::mergeTasks({one}, {two})[0].doneDays, expected);
}

TEST(SyncMergeTest, ALaterReorderTravelsWithItsOrderEvenFromTheOlderCopy)
{
    LocalTask newer = task(1, 0, QStringLiteral("新"), 20);
    newer.order = 4;
    newer.orderedAt = at(3);
    LocalTask older = task(1, 0, QStringLiteral("旧"), 10);
    older.order = 1;
    older.orderedAt = at(15);
    for (bool newerFirst : {true, false}) {
        const LocalTask out = newerFirst ? SyncMerge::mergeTasks({newer}, {older})[0]
                                         : SyncMerge::mergeTasks({older}, {newer})[0];
        EXPECT_EQ(out.title, QStringLiteral("新"));
        EXPECT_EQ(out.order, 1.0);
        EXPECT_EQ(out.orderedAt, at(15));
    }
    // A later reorder that cleared the order clears it in the result too.
    older.order.reset();
    EXPECT_FALSE(SyncMerge::mergeTasks({newer}, {older})[0].order.has_value());
    // An earlier reorder does not travel.
    older.order = 1;
    older.orderedAt = at(1);
    EXPECT_EQ(SyncMerge::mergeTasks({newer}, {older})[0].order, 4.0);
}

TEST(SyncMergeTest, DayRuleFillsTheNewerNotesGapsFromTheOlder)
{
    const DayPlan p1 = plan(1, QStringLiteral("写経")), p2 = plan(2, QStringLiteral("作務")),
                  p3 = plan(3, QStringLiteral("坐禅"));
    const QString key = QStringLiteral("2025-03-04");

    DayNote older = day(key, 1, QStringLiteral("朝の一行"), {p1, p2});
    older.reflection = QStringLiteral("夜の一行");
    older.guide = QStringLiteral("整える");
    older.sweptAt = at(0);
    DayNote newer = day(key, 5);
    newer.guide = QString();

    DayNote out = SyncMerge::mergeDays({newer}, {older})[0];
    EXPECT_EQ(out.updatedAt, at(5));
    EXPECT_EQ(out.intention, QStringLiteral("朝の一行"));
    EXPECT_EQ(out.reflection, QStringLiteral("夜の一行"));
    EXPECT_EQ(out.plans, (QList<DayPlan>{p1, p2}));
    EXPECT_EQ(out.guide, QStringLiteral("整える"));
    EXPECT_EQ(out.sweptAt, at(0));

    // The newer note's own content, however short, is never mixed.
    newer.intention = QStringLiteral(" ");
    newer.plans = {p3};
    out = SyncMerge::mergeDays({older}, {newer})[0];
    EXPECT_EQ(out.intention, QStringLiteral(" "));
    EXPECT_EQ(out.plans, QList<DayPlan>{p3});

}

// Two devices that changed a day's note at the same moment must end with the
// same note, whichever copy each holds as its own.
TEST(SyncMergeTest, DayNotesChangedAtTheSameMomentConverge)
{
    const QString key = QStringLiteral("2025-03-04");
    DayNote withReflection = day(key, 3, QString(), {plan(1, QStringLiteral("写経"))});
    withReflection.reflection = QStringLiteral("夜");
    struct Case
    {
        const char *name;
        DayNote a, b;
    };
    const Case cases[] = {
        {"different intentions", day(key, 3, QStringLiteral("一")), day(key, 3, QStringLiteral("二"))},
        {"one fills the other's gaps", day(key, 3, QStringLiteral("朝")), withReflection},
        {"different plans", day(key, 3, QString(), {plan(1, QStringLiteral("写経"))}),
         day(key, 3, QString(), {plan(2, QStringLiteral("作務"))})},
        {"alike", day(key, 3, QStringLiteral("同")), day(key, 3, QStringLiteral("同"))},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const QList<DayNote> onA = SyncMerge::mergeDays({c.a}, {c.b});
        const QList<DayNote> onB = SyncMerge::mergeDays({c.b}, {c.a});
        EXPECT_EQ(KivJSON::encodeList(onA), KivJSON::encodeList(onB));
        // A device that merged once and one that takes in its upload agree too.
        EXPECT_EQ(SyncMerge::mergeDays({c.b}, onA), onA);
        EXPECT_EQ(SyncMerge::mergeDays(onA, {c.a}), onA);
    }
}

TEST(SyncMergeTest, ResultsAreSortedWithTiesBrokenOnIdentity)
{
    // Records by start, equal starts by id.
    const QList<SessionRecord> out = SyncMerge::mergeRecords({record(3, 10), record(2, 0)}, {record(1, 10), record(4, 5)});
    EXPECT_EQ(ids(out), (QList<QUuid>{uid(2), uid(4), uid(1), uid(3)}));

    // Tasks by creation, equal creation by id.
    const QList<LocalTask> tasks =
        SyncMerge::mergeTasks({task(9, 5, QStringLiteral("x"), 5)}, {task(7, 5, QStringLiteral("y"), 5), task(8, 1, QStringLiteral("z"), 1)});
    ASSERT_EQ(tasks.size(), 3);
    EXPECT_EQ(tasks[0].id, uid(8));
    EXPECT_EQ(tasks[1].id, uid(7));
    EXPECT_EQ(tasks[2].id, uid(9));

    // Day notes by key.
    const QList<DayNote> days = SyncMerge::mergeDays({day(QStringLiteral("2025-03-05"), 0)},
                                                     {day(QStringLiteral("2024-12-31"), 0), day(QStringLiteral("2025-01-01"), 0)});
    EXPECT_EQ(days[0].day, QStringLiteral("2024-12-31"));
    EXPECT_EQ(days[1].day, QStringLiteral("2025-01-01"));
    EXPECT_EQ(days[2].day, QStringLiteral("2025-03-05"));
}

// Devices hold the same elements in different stored orders; the merged
// lists, and so the uploaded bytes, must come out the same on each.
TEST(SyncMergeTest, SameElementsInAnyOrderGiveIdenticalBytes)
{
    QList<SessionRecord> a, b;
    QList<LocalTask> ta, tb;
    QList<DayNote> da, db;
    for (uint i = 1; i <= 60; ++i) {
        // Many equal start and creation times, so the tie-break decides.
        SessionRecord r = record(i, int(i % 4), QStringLiteral("r%1").arg(i), int(i % 3));
        LocalTask t = task(i, int(i % 3), QStringLiteral("t%1").arg(i), int(i % 5));
        DayNote d = day(QStringLiteral("2025-03-%1").arg(i % 28 + 1, 2, 10, QLatin1Char('0')), int(i));
        (i % 2 ? a : b).append(r);
        (i % 3 ? ta : tb).append(t);
        if (i <= 28)
            (i % 2 ? da : db).append(d);
    }
    auto bytes = [](const QList<SessionRecord> &r, const QList<LocalTask> &t, const QList<DayNote> &d) {
        QJsonObject o{{QStringLiteral("r"), KivJSON::encodeList(SyncMerge::mergeRecords(r, {}))},
                      {QStringLiteral("t"), KivJSON::encodeList(SyncMerge::mergeTasks(t, {}))},
                      {QStringLiteral("d"), KivJSON::encodeList(SyncMerge::mergeDays(d, {}))}};
        return KivJSON::encode(o);
    };
    const QByteArray reference = bytes(a + b, ta + tb, da + db);
    for (unsigned seed = 1; seed <= 5; ++seed) {
        SCOPED_TRACE(seed);
        EXPECT_EQ(bytes(shuffled(b + a, seed), shuffled(tb + ta, seed), shuffled(db + da, seed)), reference);
        // Split between the two arguments the other way round, too.
        const QByteArray swapped = KivJSON::encode(QJsonObject{
            {QStringLiteral("r"), KivJSON::encodeList(SyncMerge::mergeRecords(shuffled(b, seed), shuffled(a, seed)))},
            {QStringLiteral("t"), KivJSON::encodeList(SyncMerge::mergeTasks(shuffled(tb, seed), shuffled(ta, seed)))},
            {QStringLiteral("d"), KivJSON::encodeList(SyncMerge::mergeDays(shuffled(db, seed), shuffled(da, seed)))}});
        EXPECT_EQ(swapped, reference);
    }
}
