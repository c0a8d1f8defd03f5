#include "SourcesFixture.h"

#include "sources/LocalTaskSource.h"
#include "sources/RemindersTaskSource.h"
#include "sources/TaskHub.h"
#include "sources/TodoOrder.h"
#include "stores/LocalTaskStore.h"

#include <QSignalSpy>

namespace {

struct Hub : ReminderFolders
{
    std::unique_ptr<LocalTaskStore> store;
    std::unique_ptr<TaskHub> hub;
    QList<int> adopted;

    void SetUp() override
    {
        ReminderFolders::SetUp();
        writeServerLists();
        open();
        store = std::make_unique<LocalTaskStore>();
    }
    void TearDown() override
    {
        hub.reset();
        store.reset();
        ReminderFolders::TearDown();
    }
    void start(const char *mode)
    {
        Preferences::standard().setValue("externalTaskMode", QString::fromUtf8(mode));
        hub = std::make_unique<TaskHub>(store.get(), &Preferences::standard(), calendars.get());
        hub->onAdopted = [this](int count) { adopted.append(count); };
    }

    QStringList titles() const
    {
        QStringList out;
        for (const TodoItem &item : hub->items())
            out.append(item.title);
        return out;
    }
    std::optional<TodoItem> row(const QString &title) const
    {
        for (const TodoItem &item : hub->items()) {
            if (item.title == title)
                return item;
        }
        return std::nullopt;
    }
    std::optional<LocalTask> copyOf(const QString &reminderId) const
    {
        for (const LocalTask &task : store->allTasks()) {
            if (task.origin && task.origin->id == reminderId)
                return task;
        }
        return std::nullopt;
    }
    bool run(const std::function<void(TaskSource::Done)> &operation)
    {
        std::optional<bool> result;
        operation([&](bool ok) { result = ok; });
        EXPECT_TRUE(result.has_value()) << "answers before returning";
        return result.value_or(false);
    }
    QString reminderNotes(const QString &id) const { return calendars->reminder(id)->notes; }
};

const QStringList kOpenReminders{"Buy milk", "Draft the report", "Call the plumber", "Learn the cello"};

} // namespace

TEST_F(Hub, AdoptsEachReminderOnceEvenAfterItsCopyIsDeleted)
{
    start("adopt");
    const LocalTask own = *store->add("Own task");
    hub->reload();
    hub->refresh();
    EXPECT_EQ(adopted, QList<int>{4});
    EXPECT_EQ(titles(), (QStringList{"Buy milk", "Draft the report", "Call the plumber", "Learn the cello", "Own task"}));
    for (const TodoItem &item : hub->items())
        EXPECT_EQ(item.ref.source, "local") << "adopted reminders are listed only as local tasks";

    const LocalTask milk = *copyOf("nc-milk");
    EXPECT_EQ(milk.origin, (TaskRef{"reminders", "nc-milk", path("errands")}));
    EXPECT_EQ(milk.due, at(3, 3, 0));
    EXPECT_EQ(milk.notes, "Two litres, the blue one");
    EXPECT_EQ(milk.createdAt, clock.now());

    hub->refresh();
    EXPECT_EQ(adopted, QList<int>{4}) << "nothing new, no call";
    EXPECT_EQ(store->tasks().size(), 5);

    hub->deleteTask(hub->items()[0].ref);
    hub->refresh();
    EXPECT_EQ(titles(), (QStringList{"Draft the report", "Call the plumber", "Learn the cello", "Own task"}));
    EXPECT_EQ(store->allTasks().size(), 5) << "the tombstone keeps the origin";
    EXPECT_EQ(adopted, QList<int>{4});
    Q_UNUSED(own);
}

TEST_F(Hub, MirrorShowsRemindersBesideLocalTasksUntilTheyAreCompleted)
{
    start("mirror");
    store->add("Own task", at(3, 4, 12));
    hub->reload();
    QSignalSpy loading(hub.get(), &TaskHub::isLoadingChanged);
    hub->refresh();
    EXPECT_EQ(loading.count(), 2) << "on, then off";
    EXPECT_FALSE(hub->isLoading());
    EXPECT_EQ(titles(), (QStringList{"Buy milk", "Draft the report", "Own task", "Call the plumber", "Learn the cello"}));
    EXPECT_TRUE(adopted.isEmpty());
    EXPECT_EQ(store->tasks().size(), 1) << "mirroring copies nothing";

    const TodoItem report = *row("Draft the report");
    EXPECT_EQ(report.ref.source, "reminders");
    EXPECT_EQ(report.listName, "仕事");

    // Progress goes to the reminder; its row shows it only after a fetch.
    EXPECT_TRUE(run([&](auto done) { hub->logProgress({clock.now(), 2, 50}, report.ref, done); }));
    EXPECT_EQ(row("Draft the report")->notes, report.notes);
    EXPECT_TRUE(reminderNotes("AB12-CD34").endsWith("⏱ 2025-03-04 集中2回 50分（Quillmere）"));

    const TodoItem milk = *row("Buy milk");
    hub->setSelected(milk);
    EXPECT_TRUE(run([&](auto done) { hub->complete(milk.ref, done); }));
    EXPECT_FALSE(row("Buy milk")) << "gone at once, before the next fetch";
    EXPECT_EQ(hub->selected(), std::nullopt);
    EXPECT_TRUE(read("errands", "nc-milk").contains("STATUS:COMPLETED"));
    hub->refresh();
    EXPECT_EQ(titles(), (QStringList{"Draft the report", "Own task", "Call the plumber", "Learn the cello"}));
    EXPECT_TRUE(row("Draft the report")->notes->endsWith("50分（Quillmere）"));

    // Off: one refresh empties the mirrored rows; the next changes nothing.
    Preferences::standard().setValue("externalTaskMode", "off");
    QSignalSpy items(hub.get(), &TaskHub::itemsChanged);
    hub->refresh();
    EXPECT_EQ(titles(), QStringList{"Own task"});
    hub->refresh();
    EXPECT_EQ(items.count(), 1);
}

TEST_F(Hub, EditsOfAnAdoptedTaskAreWrittenBackToItsReminder)
{
    start("adopt");
    hub->refresh();
    const TaskRef report = LocalTaskSource::row(*copyOf("AB12-CD34")).ref;
    const QString before = reminderNotes("AB12-CD34");

    EXPECT_TRUE(run([&](auto done) { hub->logProgress({clock.now(), 3, 75}, report, done); }));
    const QString line = "⏱ 2025-03-04 集中3回 75分（Quillmere）";
    EXPECT_EQ(reminderNotes("AB12-CD34"), before + "\n" + line);
    EXPECT_EQ(row("Draft the report")->notes, before + "\n" + line) << "the local row is reloaded";

    hub->setNotes(report, "Send it to Aiko");
    EXPECT_EQ(reminderNotes("AB12-CD34"), "Send it to Aiko\n⏱ 2025-03-03 集中2回 50分（Quillmere）\n" + line);
    EXPECT_EQ(row("Draft the report")->notes, reminderNotes("AB12-CD34"));

    EXPECT_TRUE(run([&](auto done) { hub->complete(report, done); }));
    EXPECT_FALSE(row("Draft the report"));
    EXPECT_TRUE(copyOf("AB12-CD34")->completedAt);
    const QString text = read("work", "AB12-CD34");
    for (const char *kept : {"STATUS:COMPLETED", "COMPLETED:20250304T080000Z", "PERCENT-COMPLETE:100",
                             "X-APPLE-SORT-ORDER:734567890", "BEGIN:VALARM"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(kept))) << kept << "\n" << text.toStdString();
}

TEST_F(Hub, NoWriteBackWhenTurnedOffOrWithoutAccess)
{
    start("adopt");
    hub->refresh();
    const TaskRef milk = LocalTaskSource::row(*copyOf("nc-milk")).ref;
    const TaskRef call = LocalTaskSource::row(*copyOf("tb-call@example.org")).ref;
    const QString milkFile = read("errands", "nc-milk");
    const QString callFile = read("work", "tb-call@example.org");

    Preferences::standard().setValue("writeBackToExternal", false);
    EXPECT_TRUE(run([&](auto done) { hub->logProgress({clock.now(), 1, 25}, milk, done); }));
    hub->setNotes(milk, "skimmed");
    EXPECT_TRUE(run([&](auto done) { hub->complete(milk, done); }));

    Preferences::standard().setValue("writeBackToExternal", true);
    hub->reminders().setAuthorization(CalendarAccess::WriteOnly);
    EXPECT_TRUE(run([&](auto done) { hub->logProgress({clock.now(), 1, 25}, call, done); }));
    EXPECT_TRUE(run([&](auto done) { hub->complete(call, done); }));

    EXPECT_EQ(read("errands", "nc-milk"), milkFile);
    EXPECT_EQ(read("work", "tb-call@example.org"), callFile);
    EXPECT_EQ(copyOf("nc-milk")->notes, "skimmed\n⏱ 2025-03-04 集中1回 25分（Quillmere）");

    // A reference no source owns.
    EXPECT_FALSE(run([&](auto done) { hub->complete(TaskRef{"elsewhere", "x", std::nullopt}, done); }));
    EXPECT_FALSE(run([&](auto done) { hub->logProgress({clock.now(), 1, 25}, TaskRef{"elsewhere", "x", {}}, done); }));
}

TEST_F(Hub, AChangeInTheCalendarFoldersRefreshesTheList)
{
    start("mirror");
    hub->refresh();
    Reminder fresh;
    fresh.listId = path("inbox");
    fresh.title = "Water the plants";
    ASSERT_TRUE(calendars->saveReminder(fresh)) << "written as another program would";
    EXPECT_FALSE(row("Water the plants"));
    clock.advance(IcalFolderStore::kChangeDelayMs + 100);
    EXPECT_TRUE(row("Water the plants"));
}

// The account folder appears after the start (made by a sync tool, not
// through the settings): the next refresh sees the access and the reminders.
TEST_F(ReminderFolders, ARefreshReadsTheRemindersAccessAgain)
{
    Preferences::standard().setValue("externalTaskMode", QStringLiteral("mirror"));
    open();
    LocalTaskStore store;
    TaskHub hub(&store, &Preferences::standard(), calendars.get());
    hub.refresh();
    EXPECT_EQ(hub.reminders().authorization(), CalendarAccess::NotDetermined);
    QSignalSpy changed(&hub.reminders(), &RemindersTaskSource::authorizationChanged);

    writeServerLists();
    hub.refresh();
    EXPECT_EQ(hub.reminders().authorization(), CalendarAccess::FullAccess);
    EXPECT_EQ(changed.count(), 1);
    QStringList titles;
    for (const TodoItem &item : hub.items())
        titles << item.title;
    EXPECT_EQ(titles, kOpenReminders);
}

TEST_F(Hub, OrderRanksMoveAtMidnight)
{
    start("off");
    clock.setNow(at(3, 4, 23, 59));
    hub->add("Undated");
    hub->add("Tomorrow", at(3, 5, 0));
    hub->add("Tonight", at(3, 4, 23));
    hub->add("Yesterday", at(3, 3, 20));
    auto ranks = [&] {
        QList<int> out;
        for (const TodoItem &item : hub->items())
            out.append(TodoOrder::rank(item, clock.now()));
        return out;
    };
    EXPECT_EQ(titles(), (QStringList{"Yesterday", "Tonight", "Tomorrow", "Undated"}));
    EXPECT_EQ(ranks(), (QList<int>{0, 1, 2, 3}));

    clock.advance(60 * 1000);
    hub->reload();
    EXPECT_EQ(titles(), (QStringList{"Yesterday", "Tonight", "Tomorrow", "Undated"}));
    EXPECT_EQ(ranks(), (QList<int>{0, 0, 1, 3}));
}

TEST_F(Hub, SelectionAndLocalEdits)
{
    start("off");
    QSignalSpy items(hub.get(), &TaskHub::itemsChanged);
    EXPECT_FALSE(hub->add("  \n "));
    EXPECT_EQ(items.count(), 0);

    const TodoItem tea = *hub->add(" Buy tea ");
    EXPECT_EQ(tea.title, "Buy tea");
    EXPECT_EQ(hub->items(), QList<TodoItem>{tea});
    const TodoItem walk = *hub->add("Walk");
    store->setDaily(QUuid::fromString(walk.ref.id), true);
    hub->reload();
    ASSERT_EQ(hub->dailyItems().size(), 1);

    QSignalSpy selected(hub.get(), &TaskHub::selectedChanged);
    hub->setSelected(tea);
    hub->setSelected(tea);
    EXPECT_EQ(selected.count(), 1) << "an equal value notifies no one";

    hub->logProgress({clock.now(), 1, 25}, tea.ref);
    EXPECT_EQ(hub->selected(), tea) << "a reload keeps the selection's own values";
    hub->rename(tea.ref, "Buy green tea");
    EXPECT_EQ(hub->selected()->title, "Buy green tea");
    EXPECT_EQ(hub->selected()->notes, hub->items()[0].notes);

    hub->toggleDone(hub->dailyItems()[0].ref);
    EXPECT_EQ(store->task(QUuid::fromString(walk.ref.id))->doneDays, QStringList{"2025-03-04"});
    hub->setSelected(hub->dailyItems()[0]);
    hub->reload();
    EXPECT_EQ(hub->selected(), std::nullopt) << "items hold no practices";

    int saves = 0;
    store->onChanged = [&] { ++saves; };
    hub->reorder({TaskRef{"reminders", "nc-milk", std::nullopt}, TaskRef{"local", "not-a-uuid", std::nullopt}});
    hub->rename(TaskRef{"reminders", "nc-milk", std::nullopt}, "x");
    hub->setAside(TaskRef{"local", "not-a-uuid", std::nullopt});
    EXPECT_EQ(saves, 0);
    hub->reorder({hub->items()[0].ref});
    EXPECT_EQ(saves, 1);
    EXPECT_EQ(hub->items()[0].order, 0.0);

    hub->setSelected(hub->items()[0]);
    hub->setAside(hub->items()[0].ref);
    EXPECT_TRUE(hub->items().isEmpty());
    EXPECT_EQ(hub->selected(), std::nullopt);
}
