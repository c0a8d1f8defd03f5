#include "StoreFixture.h"

#include "core/KivJSON.h"
#include "stores/DayEvent.h"
#include "stores/Lookback.h"
#include "stores/SessionStore.h"

#include <QSignalSpy>
#include <limits>

namespace {

class SessionStoreTest : public StoreFixture
{
protected:
    static SessionRecord rec(const QDateTime &start, qint64 seconds, Phase phase = Phase::focus,
                             std::optional<TaskRef> ref = TaskRef{"local", "A", std::nullopt})
    {
        return SessionRecord{QUuid::createUuid(), phase, QStringLiteral("write"), start, start.addSecs(seconds),
                             true, std::nullopt, ref, std::nullopt, std::nullopt, std::nullopt};
    }

    QJsonArray fileArray() const { return KivJSON::parse(bytes(SessionStore::fileName)).array(); }
};

TEST_F(SessionStoreTest, DeleteKeepsATombstoneInTheFileAndDropsItFromRecords)
{
    SessionStore store(dir());
    const SessionRecord a = rec(at(2025, 3, 4, 9), 1500);
    const SessionRecord b = rec(at(2025, 3, 4, 10), 1500);
    store.append(a);
    store.append(b);
    ASSERT_EQ(fileArray().size(), 2);

    SessionRecord other = a;
    other.title = QStringLiteral("ignored");
    store.deleteRecord(other, at(2025, 3, 5, 8));

    ASSERT_EQ(store.allRecords().size(), 2);
    EXPECT_EQ(store.allRecords()[0].title, QStringLiteral("write")) << "only the deletion time changes";
    EXPECT_EQ(store.allRecords()[0].deletedAt, at(2025, 3, 5, 8));
    ASSERT_EQ(store.records().size(), 1);
    EXPECT_EQ(store.records()[0].id, b.id);

    const QJsonObject stored = fileArray()[0].toObject();
    EXPECT_EQ(stored.value("deletedAt").toString(), KivJSON::dateString(at(2025, 3, 5, 8)));
    SessionStore reread(dir());
    EXPECT_EQ(reread.allRecords(), store.allRecords());
}

TEST_F(SessionStoreTest, UnknownIdsChangeNothingAndSaveNothing)
{
    SessionStore store(dir());
    int calls = 0;
    store.onChanged = [&] { ++calls; };
    const SessionRecord stranger = rec(at(2025, 3, 4, 9), 60);
    store.update(stranger);
    store.deleteRecord(stranger, at(2025, 3, 4, 10));
    EXPECT_EQ(calls, 0);
    EXPECT_FALSE(exists(SessionStore::fileName));
}

TEST_F(SessionStoreTest, UpdateReplacesTheWholeRecord)
{
    SessionStore store(dir());
    SessionRecord r = rec(at(2025, 3, 4, 9), 1500);
    store.append(r);
    r.title = QStringLiteral("edited");
    r.editedAt = at(2025, 3, 4, 12);
    r.taskRef.reset();
    store.update(r);
    EXPECT_EQ(SessionStore(dir()).allRecords(), QList<SessionRecord>{r});
}

TEST_F(SessionStoreTest, AssigningAnEqualHistoryNotifiesNoOne)
{
    SessionStore store(dir());
    store.append(rec(at(2025, 3, 4, 9), 60));
    QSignalSpy changed(&store, &StoreBase::changed);
    store.setAllRecords(store.allRecords());
    EXPECT_EQ(changed.count(), 0);
    store.setAllRecords({});
    EXPECT_EQ(changed.count(), 1);
    EXPECT_EQ(SessionStore(dir()).allRecords().size(), 1) << "assigning does not save";
}

TEST_F(SessionStoreTest, FocusSummaryCountsTheTasksFocusRoundsOfTheDay)
{
    const TaskRef task{"local", "A", std::nullopt};
    const QDateTime day = at(2025, 3, 4, 15);
    struct Case
    {
        const char *name;
        QList<SessionRecord> records;
        SessionStore::FocusSummary expected;
    };
    SessionRecord deleted = rec(at(2025, 3, 4, 9), 600);
    deleted.deletedAt = at(2025, 3, 4, 10);
    SessionRecord unfinished = rec(at(2025, 3, 4, 9), 600);
    unfinished.completed = false;
    const Case cases[] = {
        {"two rounds round once: 12:20 + 12:10 = 24:30 -> 25",
         {rec(at(2025, 3, 4, 9), 740), rec(at(2025, 3, 4, 10), 730)},
         {2, 25}},
        {"29 s rounds down", {rec(at(2025, 3, 4, 9), 29)}, {1, 0}},
        {"30 s rounds up", {rec(at(2025, 3, 4, 9), 30)}, {1, 1}},
        {"an unfinished round counts", {unfinished}, {1, 10}},
        {"a break of the task does not count", {rec(at(2025, 3, 4, 9), 300, Phase::shortBreak)}, {0, 0}},
        {"a round that began the day before does not count", {rec(at(2025, 3, 3, 23, 50), 1200)}, {0, 0}},
        {"a deleted round does not count", {deleted}, {0, 0}},
        {"a round without a task does not count", {rec(at(2025, 3, 4, 9), 600, Phase::focus, std::nullopt)}, {0, 0}},
        {"a list id must match too",
         {rec(at(2025, 3, 4, 9), 600, Phase::focus, TaskRef{"local", "A", QStringLiteral("L")})},
         {0, 0}},
        {"another source does not count",
         {rec(at(2025, 3, 4, 9), 600, Phase::focus, TaskRef{"reminders", "A", std::nullopt})},
         {0, 0}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        SessionStore store(dir());
        store.setAllRecords(c.records);
        EXPECT_EQ(store.focusSummary(task, day), c.expected);
    }
}

// A record read from a file may end millennia after it began; every total of
// minutes built from it (the progress line, the look-back, the day's deeds)
// stays a sane number instead of overflowing.
TEST_F(SessionStoreTest, MinutesOfRecordsReachingFarAheadStayWithinRange)
{
    const QDateTime start = at(2025, 3, 4, 9);
    SessionRecord far = rec(start, 0);
    far.end = QDateTime(QDate(9999, 12, 31), QTime(23, 59), Qt::UTC);
    // Two records each lasting nearly the longest span a QDateTime holds:
    // their sum in milliseconds overflows, too.
    SessionRecord farthest = rec(start, 0);
    farthest.end = QDateTime::fromMSecsSinceEpoch(9'000'000'000'000'000'000LL, Qt::UTC);
    ASSERT_TRUE(farthest.end.isValid());
    const int most = std::numeric_limits<int>::max();

    SessionStore store(dir());
    store.setAllRecords({far});
    EXPECT_EQ(store.focusSummary(far.taskRef.value(), start), (SessionStore::FocusSummary{1, most}));
    SessionRecord again = farthest;
    again.id = QUuid::createUuid();
    store.setAllRecords({farthest, again});
    EXPECT_EQ(store.focusSummary(far.taskRef.value(), start), (SessionStore::FocusSummary{2, most}));

    const Lookback::Summary lookback = Lookback::summary({farthest, again}, std::nullopt, start);
    EXPECT_EQ(lookback.minutes, most);
    ASSERT_EQ(lookback.lines.size(), 1);
    EXPECT_EQ(lookback.lines[0].minutes, most);
    const QList<DayDeed> deeds = DayDeed::deeds({far}, start.date());
    ASSERT_EQ(deeds.size(), 1);
    EXPECT_EQ(deeds[0].minutes, most);
}

} // namespace
