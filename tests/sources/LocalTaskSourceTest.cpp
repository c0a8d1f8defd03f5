#include "platform/fakes/FakeClock.h"
#include "sources/LocalTaskSource.h"
#include "sources/RemindersTaskSource.h"
#include "stores/LocalTaskStore.h"
#include "support/ScopedDirs.h"

#include <gtest/gtest.h>

namespace {

struct LocalSource : ::testing::Test
{
    ScopedDirs dirs;
    FakeClock clock{QDateTime(QDate(2025, 3, 4), QTime(9, 0))};
    std::unique_ptr<LocalTaskStore> store;
    std::unique_ptr<LocalTaskSource> source;

    void SetUp() override
    {
        Clock::setCurrent(&clock);
        store = std::make_unique<LocalTaskStore>();
        source = std::make_unique<LocalTaskSource>(*store);
    }
    void TearDown() override
    {
        source.reset();
        store.reset();
        Clock::setCurrent(nullptr);
    }

    TaskRef ref(const LocalTask &task) const { return LocalTaskSource::row(task).ref; }
    LocalTask stored(const QUuid &id) const { return *store->task(id); }

    bool run(const std::function<void(TaskSource::Done)> &write)
    {
        std::optional<bool> result;
        write([&](bool ok) { result = ok; });
        EXPECT_TRUE(result.has_value()) << "answers before returning";
        return result.value_or(false);
    }
};

} // namespace

TEST_F(LocalSource, OpenTasksBecomeOrderedRowsAndPracticesStayApart)
{
    const LocalTask later = *store->add("Write letters", QDateTime(QDate(2025, 3, 7), QTime(10, 0)));
    clock.advance(1000);
    const LocalTask overdue = *store->add("Pay rent", QDateTime(QDate(2025, 3, 1), QTime(10, 0)));
    const LocalTask practice = *store->add("Sweep the garden");
    store->setDaily(practice.id, true);
    store->appendProgress({clock.now(), 2, 50}, later.id);

    const QList<TodoItem> rows = source->items();
    ASSERT_EQ(rows.size(), 2);
    EXPECT_EQ(rows[0].title, "Pay rent");
    const TodoItem &row = rows[1];
    EXPECT_EQ(row.ref, (TaskRef{"local", later.id.toString(QUuid::WithoutBraces).toUpper(), std::nullopt}));
    EXPECT_EQ(row.ref.id.size(), 36);
    EXPECT_EQ(row.listName, QString());
    EXPECT_EQ(row.due, later.due);
    EXPECT_EQ(row.notes, "⏱ 2025-03-04 集中2回 50分（Quillmere）");
    EXPECT_EQ(row.createdAt, later.createdAt);

    ASSERT_EQ(source->dailyItems().size(), 1);
    EXPECT_EQ(source->dailyItems()[0].title, "Sweep the garden");

    QList<TodoItem> limited;
    source->openTasks(1, [&](const QList<TodoItem> &r) { limited = r; });
    ASSERT_EQ(limited.size(), 1);
    EXPECT_EQ(limited[0].ref, ref(overdue));
    source->openTasks(0, [&](const QList<TodoItem> &r) { limited = r; });
    EXPECT_TRUE(limited.isEmpty());
}

TEST_F(LocalSource, WritesReachTheStoreAndEachReportsSuccess)
{
    const LocalTask task = *store->add("Read chapter two");
    EXPECT_TRUE(run([&](auto done) { source->setNotes("  pages 30 to 60 ", ref(task), done); }));
    EXPECT_TRUE(run([&](auto done) { source->logProgress({clock.now(), 1, 25}, ref(task), done); }));
    EXPECT_EQ(stored(task.id).notes, "pages 30 to 60\n⏱ 2025-03-04 集中1回 25分（Quillmere）");

    // Either case of the id text is read.
    TaskRef lower = ref(task);
    lower.id = lower.id.toLower();
    EXPECT_TRUE(run([&](auto done) { source->complete(lower, done); }));
    EXPECT_EQ(stored(task.id).completedAt, clock.now());
    EXPECT_TRUE(source->items().isEmpty());
}

TEST_F(LocalSource, WritesThatFindNoTaskReportFalseAndChangeNothing)
{
    const LocalTask task = *store->add("Kept");
    const LocalTask gone = *store->add("Gone");
    store->deleteTask(gone.id, clock.now());
    const QList<LocalTask> before = store->allTasks();
    struct Case
    {
        const char *what;
        TaskRef ref;
    };
    const Case cases[] = {
        {"a reminders reference", TaskRef{RemindersTaskSource::kSourceID, ref(task).id, std::nullopt}},
        {"an id that is not a UUID", TaskRef{"local", "milk", std::nullopt}},
        {"a task's id in braces", TaskRef{"local", "{" + ref(task).id + "}", std::nullopt}},
        {"a UUID that no task has", TaskRef{"local", QUuid::createUuid().toString(QUuid::WithoutBraces), std::nullopt}},
        {"a deleted task", ref(gone)},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_FALSE(run([&](auto done) { source->logProgress({clock.now(), 1, 25}, c.ref, done); }));
        EXPECT_FALSE(run([&](auto done) { source->complete(c.ref, done); }));
        EXPECT_FALSE(run([&](auto done) { source->setNotes("x", c.ref, done); }));
    }
    EXPECT_EQ(store->allTasks(), before);
}

TEST_F(LocalSource, CompletingAPracticeTicksTodayAndNeverUnticks)
{
    const LocalTask practice = *store->add("Stretch");
    store->setDaily(practice.id, true);
    EXPECT_TRUE(run([&](auto done) { source->complete(ref(practice), done); }));
    EXPECT_TRUE(run([&](auto done) { source->complete(ref(practice), done); }));
    EXPECT_EQ(stored(practice.id).doneDays, QStringList{"2025-03-04"});
    EXPECT_EQ(stored(practice.id).completedAt, std::nullopt) << "a practice stays on the shelf";

    clock.advance(24 * 3600 * 1000);
    EXPECT_TRUE(run([&](auto done) { source->complete(ref(practice), done); }));
    EXPECT_EQ(stored(practice.id).doneDays, (QStringList{"2025-03-04", "2025-03-05"}));
    EXPECT_EQ(source->dailyItems().size(), 1);
}
