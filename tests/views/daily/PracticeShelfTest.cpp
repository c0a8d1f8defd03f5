#include "views/daily/PracticeShelf.h"

#include "core/L.h"
#include "stores/LocalTaskStore.h"
#include "support/ScopedDirs.h"

#include <gtest/gtest.h>

namespace {

struct PracticeShelfTest : ::testing::Test
{
    ScopedDirs dirs;
    LocalTaskStore store{dirs.dataDir()};

    void SetUp() override { Lang::setForTesting(true); }
    void TearDown() override { Lang::setForTesting(std::nullopt); }

    TodoItem practice(const QString &title, bool occasional = false)
    {
        const std::optional<LocalTask> task = store.add(title);
        EXPECT_TRUE(task);
        store.setDaily(task->id, true);
        if (occasional)
            store.setOccasional(task->id, true);
        TodoItem item;
        item.ref = TaskRef{QStringLiteral("local"), task->id.toString(QUuid::WithoutBraces), std::nullopt};
        item.title = title;
        return item;
    }
    static SessionRecord round(const TaskRef &ref, const QDateTime &start, int minutes, Phase phase = Phase::focus)
    {
        SessionRecord r;
        r.id = QUuid::createUuid();
        r.phase = phase;
        r.start = start;
        r.end = start.addSecs(minutes * 60);
        r.taskRef = ref;
        return r;
    }
};

TEST_F(PracticeShelfTest, GroupsKeepTheHubsOrderAndUnknownTasksCountAsEveryDay)
{
    const TodoItem sit = practice(QStringLiteral("sit"));
    const TodoItem bath = practice(QStringLiteral("bath"), true);
    const TodoItem write = practice(QStringLiteral("write"));
    TodoItem foreign;
    foreign.ref = TaskRef{QStringLiteral("reminders"), QStringLiteral("x1"), QStringLiteral("list")};
    TodoItem notUuid;
    notUuid.ref = TaskRef{QStringLiteral("local"), QStringLiteral("not-a-uuid"), std::nullopt};
    TodoItem gone;
    gone.ref = TaskRef{QStringLiteral("local"), QUuid::createUuid().toString(QUuid::WithoutBraces), std::nullopt};

    const PracticeShelf::Groups g = PracticeShelf::groups({bath, sit, foreign, write, notUuid, gone}, store);
    QStringList everyDay;
    for (const TodoItem &i : g.everyDay)
        everyDay << i.ref.id;
    EXPECT_EQ(everyDay, (QStringList{sit.ref.id, foreign.ref.id, write.ref.id, notUuid.ref.id, gone.ref.id}));
    ASSERT_EQ(g.occasional.size(), 1);
    EXPECT_EQ(g.occasional.first().title, QStringLiteral("bath"));

    // The moves offered, and the today mark only off the occasional group.
    const auto bathTask = PracticeShelf::taskOf(bath, store);
    EXPECT_EQ(PracticeShelf::moveLabel(bathTask), QStringLiteral("日々に移す"));
    EXPECT_FALSE(PracticeShelf::moveMakesOccasional(bathTask));
    EXPECT_FALSE(PracticeShelf::showsTodayMark(bathTask));
    EXPECT_EQ(PracticeShelf::moveLabel(PracticeShelf::taskOf(sit, store)), QStringLiteral("折々に移す"));
    EXPECT_EQ(PracticeShelf::moveLabel(std::nullopt), QStringLiteral("折々に移す"));
    EXPECT_TRUE(PracticeShelf::showsTodayMark(std::nullopt));
}

// The latest of the task's focus rounds (by their start) and its done days.
TEST_F(PracticeShelfTest, LastWorkedComesFromRoundsAndDoneDays)
{
    const TodoItem item = practice(QStringLiteral("sit"));
    const QUuid id = QUuid::fromString(item.ref.id);
    const QDateTime day10(QDate(2025, 3, 10), QTime(0, 0));
    auto task = [&] { return PracticeShelf::taskOf(item, store); };

    EXPECT_FALSE(PracticeShelf::lastWorked(item, task(), {}));
    EXPECT_EQ(PracticeShelf::tally(std::nullopt), QStringLiteral("まだ手をつけていません"));

    // A round from 23:50 on the 9th to 00:15 on the 10th counts for the 9th.
    const SessionRecord acrossMidnight = round(item.ref, QDateTime(QDate(2025, 3, 9), QTime(23, 50)), 25);
    std::optional<QDateTime> last = PracticeShelf::lastWorked(item, task(), {acrossMidnight});
    EXPECT_EQ(last, acrossMidnight.start);
    EXPECT_EQ(PracticeShelf::tally(last), QStringLiteral("最後は3月9日"));

    // Rounds that do not count: a break, a deleted round, another list or
    // source with the same id, a round without a task.
    SessionRecord breakRound = round(item.ref, day10.addDays(2), 5, Phase::shortBreak);
    SessionRecord deleted = round(item.ref, day10.addDays(3), 25);
    deleted.deletedAt = day10.addDays(3);
    TaskRef otherList = item.ref;
    otherList.listID = QStringLiteral("L");
    TaskRef otherSource = item.ref;
    otherSource.source = QStringLiteral("reminders");
    SessionRecord untasked = round(item.ref, day10.addDays(5), 25);
    untasked.taskRef.reset();
    last = PracticeShelf::lastWorked(item, task(),
                                     {acrossMidnight, breakRound, deleted, round(otherList, day10.addDays(4), 25),
                                      round(otherSource, day10.addDays(4), 25), untasked});
    EXPECT_EQ(last, acrossMidnight.start);

    // A round let go before its end counts; a later done day wins over it.
    SessionRecord letGo = round(item.ref, day10.addSecs(9 * 3600), 10);
    letGo.completed = false;
    EXPECT_EQ(PracticeShelf::lastWorked(item, task(), {acrossMidnight, letGo}), letGo.start);
    store.markDone(id, QDateTime(QDate(2025, 3, 12), QTime(8, 0)));
    last = PracticeShelf::lastWorked(item, task(), {acrossMidnight, letGo});
    EXPECT_EQ(last, QDateTime(QDate(2025, 3, 12), QTime(0, 0)));
    EXPECT_TRUE(PracticeShelf::isDoneToday(task(), QDateTime(QDate(2025, 3, 12), QTime(21, 0))));
    EXPECT_FALSE(PracticeShelf::isDoneToday(task(), QDateTime(QDate(2025, 3, 13), QTime(0, 1))));
    EXPECT_FALSE(PracticeShelf::isDoneToday(std::nullopt, QDateTime(QDate(2025, 3, 12), QTime(21, 0))));

    // Only the date follows the language.
    Lang::setForTesting(false);
    EXPECT_EQ(PracticeShelf::tally(last), QStringLiteral("最後はMar 12"));
    EXPECT_EQ(PracticeShelf::tally(std::nullopt), QStringLiteral("まだ手をつけていません"));
}

} // namespace
