#include "StoreFixture.h"

#include "stores/LocalTaskStore.h"

namespace {

class LocalTaskStoreTest : public StoreFixture
{
protected:
    LocalTaskStore store{QString()};
    int saves = 0;

    void SetUp() override
    {
        StoreFixture::SetUp();
        store.onChanged = [this] { ++saves; };
    }

    QUuid add(const QString &title)
    {
        return store.add(title)->id;
    }
    LocalTask stored(const QUuid &id) const
    {
        for (const LocalTask &t : store.allTasks())
            if (t.id == id)
                return t;
        ADD_FAILURE() << "no such task";
        return {};
    }
    static QStringList titles(const QList<LocalTask> &tasks)
    {
        QStringList out;
        for (const LocalTask &t : tasks)
            out << t.title;
        return out;
    }
    static TodoItem row(const QString &id, const QString &title)
    {
        TodoItem r;
        r.ref = TaskRef{"reminders", id, QStringLiteral("list")};
        r.title = title;
        return r;
    }
};

TEST_F(LocalTaskStoreTest, AddAndRenameTrimTitlesAndRefuseBlankOnes)
{
    struct Case
    {
        const char *name;
        QString title;
        std::optional<QString> stored;
    };
    const Case cases[] = {
        {"spaces and a line feed", QStringLiteral("  buy tea \n"), QStringLiteral("buy tea")},
        {"ideographic spaces", QStringLiteral("\u3000お茶を買う\u3000"), QStringLiteral("お茶を買う")},
        {"line and paragraph separators", QStringLiteral("\u2028tea\u2029\u0085"), QStringLiteral("tea")},
        {"spaces and line feeds only", QStringLiteral("  \n \n"), std::nullopt},
        {"ideographic space only", QStringLiteral("\u3000"), std::nullopt},
        {"empty", QString(), std::nullopt},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        freshFolder();
        LocalTaskStore tasks{QString()};
        int calls = 0;
        tasks.onChanged = [&] { ++calls; };
        const auto made = tasks.add(c.title);
        EXPECT_EQ(made ? std::optional(made->title) : std::nullopt, c.stored);
        EXPECT_EQ(calls, c.stored ? 1 : 0);
        EXPECT_EQ(exists(LocalTaskStore::fileName), c.stored.has_value());

        const QUuid id = tasks.add(QStringLiteral("old"))->id;
        const QDateTime before = tasks.task(id)->updatedAt;
        clock.advance(1000);
        tasks.rename(id, c.title);
        EXPECT_EQ(tasks.task(id)->title, c.stored.value_or(QStringLiteral("old")));
        EXPECT_EQ(tasks.task(id)->updatedAt, c.stored ? clock.now() : before) << "a blank rename changes nothing";
    }
}

TEST_F(LocalTaskStoreTest, TaskMovesBetweenOpenDoneAndSetAside)
{
    const QUuid id = add("write");
    const QDateTime today = at(2025, 3, 4, 15);
    store.complete(id, at(2025, 3, 4, 8));
    EXPECT_TRUE(store.open().isEmpty());
    EXPECT_EQ(titles(store.completed(today)), QStringList{"write"});
    EXPECT_TRUE(store.completedBefore(today).isEmpty());
    EXPECT_EQ(titles(store.completedBefore(at(2025, 3, 5, 9))), QStringList{"write"});

    store.setAside(id, at(2025, 3, 4, 10));
    EXPECT_FALSE(stored(id).completedAt) << "never both done and set aside";
    EXPECT_TRUE(store.completed(today).isEmpty());
    EXPECT_EQ(titles(store.setAside()), QStringList{"write"});

    store.complete(id, at(2025, 3, 4, 11));
    EXPECT_FALSE(stored(id).abandonedAt);

    store.revive(id);
    EXPECT_EQ(titles(store.open()), QStringList{"write"});
    EXPECT_EQ(saves, 5) << "the add and every change saved once";
}

TEST_F(LocalTaskStoreTest, DeleteLeavesATombstoneThatMutationsStillReach)
{
    const QUuid id = add("gone");
    store.complete(id, at(2025, 3, 4, 8));
    store.deleteTask(id, at(2025, 3, 1));
    const LocalTask t = stored(id);
    EXPECT_EQ(t.deletedAt, at(2025, 3, 1));
    EXPECT_EQ(t.updatedAt, at(2025, 3, 1));
    EXPECT_TRUE(store.tasks().isEmpty());
    EXPECT_TRUE(store.completed(at(2025, 3, 4)).isEmpty());
    EXPECT_TRUE(store.completedBefore(at(2025, 3, 10)).isEmpty());
    EXPECT_FALSE(store.task(id));

    store.rename(id, "renamed");
    EXPECT_EQ(stored(id).title, QStringLiteral("renamed"));
    EXPECT_EQ(LocalTaskStore(QString()).allTasks().size(), 1) << "the tombstone stays in the file";
}

TEST_F(LocalTaskStoreTest, WhichOperationsStampUpdatedAt)
{
    const QUuid other = add("other");
    struct Case
    {
        const char *name;
        std::function<void(const QUuid &)> op;
        bool stamps;
    };
    const Case cases[] = {
        {"rename to the same title", [&](const QUuid &id) { store.rename(id, "t"); }, true},
        {"complete in the past", [&](const QUuid &id) { store.complete(id, at(2025, 1, 1)); }, true},
        {"set due", [&](const QUuid &id) { store.setDue(id, at(2025, 3, 9)); }, true},
        {"set notes", [&](const QUuid &id) { store.setNotes(id, "n"); }, true},
        {"append progress",
         [&](const QUuid &id) { store.appendProgress(TaskProgress{at(2025, 3, 4), 1, 25}, id); }, true},
        {"mark done", [&](const QUuid &id) { store.markDone(id, at(2025, 3, 4)); }, true},
        {"mark reviewed", [&](const QUuid &id) { store.markReviewed(id, at(2025, 3, 4)); }, false},
        {"reorder", [&](const QUuid &id) { store.reorder({other, id}); }, false},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const QUuid id = add("t");
        const QDateTime made = clock.now();
        clock.advance(60000);
        c.op(id);
        EXPECT_EQ(stored(id).updatedAt, c.stamps ? clock.now() : made);
    }
    EXPECT_EQ(stored(store.allTasks()[2].id).completedAt, at(2025, 1, 1)) << "the date given, not the clock";
}

TEST_F(LocalTaskStoreTest, UnknownIdsDoNothing)
{
    add("a");
    const int before = saves;
    const QUuid stranger = QUuid::createUuid();
    store.rename(stranger, "x");
    store.complete(stranger, at(2025, 3, 4));
    store.deleteTask(stranger, at(2025, 3, 4));
    store.markDone(stranger, at(2025, 3, 4));
    store.markReviewed(stranger, at(2025, 3, 4));
    EXPECT_EQ(saves, before);
}

TEST_F(LocalTaskStoreTest, NotesKeepProgressLinesUnderTheUsersText)
{
    const QUuid id = add("a");
    store.appendProgress(TaskProgress{at(2025, 3, 4, 10), 2, 50}, id);
    store.setNotes(id, "  first thoughts \n");
    EXPECT_EQ(stored(id).notes, QStringLiteral("first thoughts\n⏱ 2025-03-04 集中2回 50分（Quillmere）"));
    store.appendProgress(TaskProgress{at(2025, 3, 4, 18), 3, 75}, id);
    EXPECT_EQ(stored(id).notes, QStringLiteral("first thoughts\n⏱ 2025-03-04 集中3回 75分（Quillmere）"));
}

TEST_F(LocalTaskStoreTest, MarkDoneTogglesDaysInOrder)
{
    const QUuid id = add("zazen");
    store.markDone(id, at(2025, 3, 5, 23, 59));
    store.markDone(id, at(2025, 3, 4, 0, 1));
    EXPECT_EQ(stored(id).doneDays, (QStringList{"2025-03-04", "2025-03-05"}));
    store.markDone(id, at(2025, 3, 5, 7));
    EXPECT_EQ(stored(id).doneDays, QStringList{"2025-03-04"});
    store.markDone(id, at(2025, 3, 5, 7));
    EXPECT_EQ(stored(id).doneDays, (QStringList{"2025-03-04", "2025-03-05"}));
}

TEST_F(LocalTaskStoreTest, LastDoneDay)
{
    LocalTask t = LocalTask::create("p");
    EXPECT_FALSE(LocalTaskStore::lastDoneDay(t));
    t.doneDays = {"2025-03-04", "not a day", "2025-02-30", "2025-01-09"};
    EXPECT_EQ(LocalTaskStore::lastDoneDay(t), at(2025, 3, 4));
}

TEST_F(LocalTaskStoreTest, DailyAndOccasionalFlags)
{
    const QUuid dated = store.add("dated", at(2025, 3, 9))->id;
    store.setDue(dated, at(2025, 3, 9));
    store.setDaily(dated, true);
    EXPECT_FALSE(stored(dated).due);
    EXPECT_TRUE(store.open().isEmpty());
    EXPECT_EQ(titles(store.daily()), QStringList{"dated"});

    const QUuid occasional = store.add("occasional", at(2025, 3, 9))->id;
    store.setOccasional(occasional, true);
    EXPECT_TRUE(stored(occasional).isDaily);
    EXPECT_EQ(stored(occasional).due, at(2025, 3, 9)) << "setting occasional keeps the due date";

    store.setOccasional(occasional, false);
    EXPECT_TRUE(stored(occasional).isDaily) << "clearing a flag undoes nothing else";
    store.setDaily(dated, false);
    EXPECT_FALSE(stored(dated).due);
}

TEST_F(LocalTaskStoreTest, ViewsSortStablyByTheirDates)
{
    clock.setNow(at(2025, 3, 3));
    const QUuid newer = add("newer practice");
    clock.setNow(at(2025, 3, 1));
    const QUuid older = add("older practice");
    store.setDaily(newer, true);
    store.setDaily(older, true);
    EXPECT_EQ(titles(store.daily()), (QStringList{"older practice", "newer practice"}));

    const QUuid a = add("a"), b = add("b"), c = add("c"), d = add("d");
    store.complete(a, at(2025, 3, 4, 8));
    store.complete(b, at(2025, 3, 4, 12));
    store.complete(c, at(2025, 3, 9, 12));
    EXPECT_EQ(titles(store.completed(at(2025, 3, 4))), (QStringList{"b", "a"}));
    EXPECT_EQ(titles(store.completedBefore(at(2025, 3, 4))), QStringList{"c"}) << "later days count too";

    store.setAside(a, at(2025, 3, 5));
    store.setAside(d, at(2025, 3, 5));
    store.setAside(b, at(2025, 3, 6));
    EXPECT_EQ(titles(store.setAside()), (QStringList{"b", "a", "d"}));
}

TEST_F(LocalTaskStoreTest, ReorderTouchesOnlyMovedTasksAndAlwaysSaves)
{
    const QUuid a = add("a"), b = add("b"), c = add("c");
    store.reorder({a, b});
    clock.advance(60000);
    const int before = saves;
    store.reorder({b, a, QUuid::createUuid()});
    EXPECT_EQ(stored(b).order, 0.0);
    EXPECT_EQ(stored(b).orderedAt, clock.now());
    EXPECT_EQ(stored(a).order, 1.0);
    EXPECT_EQ(stored(a).orderedAt, clock.now());
    EXPECT_FALSE(stored(c).order);
    EXPECT_EQ(saves, before + 1);

    clock.advance(60000);
    store.reorder({c, a});
    EXPECT_EQ(stored(a).orderedAt, clock.now().addSecs(-60)) << "already at position 1: untouched";
    EXPECT_EQ(stored(b).order, 0.0) << "tasks not listed keep their order";

    store.reorder({});
    EXPECT_EQ(saves, before + 3);
}

TEST_F(LocalTaskStoreTest, AdoptCopiesEachOriginOnce)
{
    TodoItem gone = row("R1", "deleted here");
    const QList<LocalTask> first = store.adopt({gone}, at(2025, 3, 1));
    ASSERT_EQ(first.size(), 1);
    store.deleteTask(first[0].id, at(2025, 3, 2));

    TodoItem fresh = row("R2", "  keep spaces ");
    fresh.due = at(2025, 3, 9);
    fresh.notes = QStringLiteral("notes");
    fresh.estimateMinutes = 50;
    fresh.isSomeday = true;
    fresh.order = 3;
    fresh.createdAt = at(2020, 1, 1);
    const int before = saves;
    const QList<LocalTask> made = store.adopt({gone, fresh, fresh}, at(2025, 3, 4, 12));
    EXPECT_EQ(saves, before + 1);
    ASSERT_EQ(made.size(), 1) << "a deleted origin and a repeated row are not copied";
    const LocalTask &t = made[0];
    EXPECT_EQ(t.title, QStringLiteral("  keep spaces "));
    EXPECT_EQ(t.due, at(2025, 3, 9));
    EXPECT_EQ(t.notes, QStringLiteral("notes"));
    EXPECT_EQ(t.estimateMinutes, 50);
    EXPECT_EQ(t.origin, fresh.ref);
    EXPECT_FALSE(t.isSomeday);
    EXPECT_FALSE(t.order);
    EXPECT_EQ(t.createdAt, at(2025, 3, 4, 12));
    EXPECT_EQ(t.updatedAt, at(2025, 3, 4, 12));
    EXPECT_EQ(store.allTasks().last(), t);

    EXPECT_TRUE(store.adopt({}, at(2025, 3, 4)).isEmpty());
    EXPECT_TRUE(store.adopt({fresh}, at(2025, 3, 4)).isEmpty());
    EXPECT_EQ(saves, before + 1);
}

} // namespace
