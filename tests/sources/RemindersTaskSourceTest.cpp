#include "SourcesFixture.h"

#include "platform/fakes/FakeCalendarStore.h"
#include "sources/LocalTaskSource.h"
#include "sources/RemindersTaskSource.h"
#include "support/LanguageFixtures.h"

#include <QSignalSpy>

namespace {

QList<TodoItem> openTasks(TaskSource &source, int limit = 40)
{
    QList<TodoItem> rows;
    bool called = false;
    source.openTasks(limit, [&](const QList<TodoItem> &r) {
        rows = r;
        called = true;
    });
    EXPECT_TRUE(called) << "answers before returning";
    return rows;
}

// Runs one write and returns its answer (false when it never answered).
bool answer(const std::function<void(TaskSource::Done)> &write)
{
    std::optional<bool> result;
    write([&](bool ok) { result = ok; });
    EXPECT_TRUE(result.has_value()) << "answers before returning";
    return result.value_or(false);
}

TaskRef reminderRef(const QString &id)
{
    return TaskRef{RemindersTaskSource::kSourceID, id, std::nullopt};
}

struct RemindersSource : ReminderFolders
{
    std::unique_ptr<RemindersTaskSource> source;
    void SetUp() override
    {
        ReminderFolders::SetUp();
        writeServerLists();
        source = std::make_unique<RemindersTaskSource>(open());
    }
    void TearDown() override
    {
        source.reset();
        ReminderFolders::TearDown();
    }
    QString notesOf(const QString &id) const { return calendars->reminder(id)->notes; }
};

} // namespace

TEST_F(RemindersSource, IncompleteRemindersOfEveryListBecomeOrderedRows)
{
    ASSERT_TRUE(source->isAuthorized());
    const QList<TodoItem> rows = openTasks(*source);
    ASSERT_EQ(rows.size(), 4) << "the completed and the untitled reminders give no row";

    EXPECT_EQ(rows[0].ref, (TaskRef{"reminders", "nc-milk", path("errands")}));
    EXPECT_EQ(rows[0].title, "Buy milk");
    EXPECT_EQ(rows[0].listName, "Errands");
    EXPECT_EQ(rows[0].due, at(3, 3, 0)) << "a due day is its local midnight";
    EXPECT_EQ(rows[0].notes, "Two litres, the blue one");
    EXPECT_EQ(rows[0].createdAt, at(3, 1, 9));

    EXPECT_EQ(rows[1].ref.id, "AB12-CD34");
    EXPECT_EQ(rows[1].listName, "仕事");
    EXPECT_EQ(rows[1].due, at(3, 4, 17)) << "due in the item's own zone";
    EXPECT_EQ(rows[1].notes, "Outline first\n⏱ 2025-03-03 集中2回 50分（Quillmere）");

    EXPECT_EQ(rows[2].ref.id, "tb-call@example.org");
    EXPECT_EQ(rows[2].due, at(3, 10, 9)) << "UTC due time, seen locally";
    EXPECT_EQ(rows[2].notes, std::nullopt);

    EXPECT_EQ(rows[3].ref.id, "someday");
    EXPECT_EQ(rows[3].listName, "inbox") << "a list without a display name is named by its folder";
    EXPECT_EQ(rows[3].due, std::nullopt);
    EXPECT_EQ(rows[3].createdAt, std::nullopt);

    for (const TodoItem &row : rows) {
        EXPECT_FALSE(row.isSomeday);
        EXPECT_EQ(row.estimateMinutes, std::nullopt);
        EXPECT_EQ(row.order, std::nullopt);
    }

    // The cut comes after the order: the most urgent rows stay.
    const QList<TodoItem> two = openTasks(*source, 2);
    ASSERT_EQ(two.size(), 2);
    EXPECT_EQ(two[0].ref.id, "nc-milk");
    EXPECT_EQ(two[1].ref.id, "AB12-CD34");
    EXPECT_TRUE(openTasks(*source, 0).isEmpty());
}

TEST_F(RemindersSource, ProgressAndNotesLandInTheDescriptionKeepingEveryOtherProperty)
{
    const TaskRef report = reminderRef("AB12-CD34");
    EXPECT_TRUE(answer([&](auto done) { source->logProgress({at(3, 4, 10), 1, 25}, report, done); }));
    EXPECT_TRUE(answer([&](auto done) { source->logProgress({at(3, 4, 15), 3, 75}, report, done); }));
    EXPECT_EQ(notesOf("AB12-CD34"), "Outline first\n⏱ 2025-03-03 集中2回 50分（Quillmere）\n"
                                    "⏱ 2025-03-04 集中3回 75分（Quillmere）")
        << "one line per day, replaced in place";

    EXPECT_TRUE(answer([&](auto done) { source->setNotes("  Send it to Aiko\n", report, done); }));
    EXPECT_EQ(notesOf("AB12-CD34"), "Send it to Aiko\n⏱ 2025-03-03 集中2回 50分（Quillmere）\n"
                                    "⏱ 2025-03-04 集中3回 75分（Quillmere）");

    const QString text = read("work", "AB12-CD34");
    for (const char *kept :
         {"DESCRIPTION:Send it to Aiko\\n⏱ 2025-03-03 集中2回 50分（Quillmere）\\n⏱ 2025-03-04 集中3回 75分（Quillmere）",
          "SUMMARY:Draft the report", "CREATED:20250302T090000Z", "DTSTART;TZID=Europe/Berlin:20250304T170000",
          "DUE;TZID=Europe/Berlin:20250304T170000", "X-APPLE-SORT-ORDER:734567890", "BEGIN:VTIMEZONE",
          "BEGIN:VALARM", "TRIGGER;VALUE=DATE-TIME:20250304T160000Z", "UID:ALARM-1", "DESCRIPTION:Reminder"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(kept))) << kept << "\n" << text.toStdString();
    EXPECT_FALSE(text.contains("STATUS:COMPLETED"));

    // Blank user text in notes without progress lines clears the notes.
    EXPECT_TRUE(answer([&](auto done) { source->setNotes(" \n ", reminderRef("nc-milk"), done); }));
    EXPECT_EQ(notesOf("nc-milk"), QString());
    const QString milk = read("errands", "nc-milk");
    EXPECT_FALSE(milk.contains("DESCRIPTION")) << milk.toStdString();
    // libical writes a list of categories as one property per value, which
    // means the same.
    for (const char *kept : {"CATEGORIES:home", "CATEGORIES:shopping", "PRIORITY:5", "X-OC-HIDESUBTASKS:0", "DUE;VALUE=DATE:20250303"})
        EXPECT_TRUE(milk.contains(QString::fromUtf8(kept))) << kept << "\n" << milk.toStdString();
    EXPECT_EQ(source->lastError(), QString());
}

TEST_F(RemindersSource, CompletingSetsStatusCompletionTimeAndPercent)
{
    EXPECT_TRUE(answer([&](auto done) { source->complete(reminderRef("nc-milk"), done); }));
    EXPECT_TRUE(answer([&](auto done) { source->complete(reminderRef("tb-call@example.org"), done); }));

    const QString milk = read("errands", "nc-milk");
    for (const char *kept : {"STATUS:COMPLETED", "COMPLETED:20250304T080000Z", "PERCENT-COMPLETE:100",
                             "CATEGORIES:home", "CATEGORIES:shopping", "X-OC-HIDESUBTASKS:0", "DESCRIPTION:Two litres\\, the blue one"})
        EXPECT_TRUE(milk.contains(QString::fromUtf8(kept))) << kept << "\n" << milk.toStdString();
    EXPECT_FALSE(milk.contains("NEEDS-ACTION"));
    EXPECT_EQ(milk.count("PERCENT-COMPLETE"), 1) << milk.toStdString();

    const QString call = read("work", "tb-call@example.org");
    for (const char *kept : {"STATUS:COMPLETED", "COMPLETED:20250304T080000Z", "PERCENT-COMPLETE:100",
                             "X-MOZ-GENERATION:2", "PRIORITY:1", "DUE:20250310T080000Z"})
        EXPECT_TRUE(call.contains(QString::fromUtf8(kept))) << kept << "\n" << call.toStdString();

    QStringList left;
    for (const TodoItem &row : openTasks(*source))
        left.append(row.ref.id);
    EXPECT_EQ(left, (QStringList{"AB12-CD34", "someday"}));
}

TEST_F(RemindersSource, RefusedWritesChangeNothing)
{
    const QString before = read("work", "AB12-CD34");
    struct Case
    {
        const char *what;
        TaskRef ref;
        CalendarAccess access;
    };
    const Case cases[] = {
        {"a local reference", TaskRef{"local", "AB12-CD34", std::nullopt}, CalendarAccess::FullAccess},
        {"an id that names no reminder", reminderRef("no-such-item"), CalendarAccess::FullAccess},
        {"write-only access", reminderRef("AB12-CD34"), CalendarAccess::WriteOnly},
        {"denied access", reminderRef("AB12-CD34"), CalendarAccess::Denied},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        source->setAuthorization(c.access);
        EXPECT_FALSE(answer([&](auto done) { source->logProgress({at(3, 4, 10), 1, 25}, c.ref, done); }));
        EXPECT_FALSE(answer([&](auto done) { source->complete(c.ref, done); }));
        EXPECT_FALSE(answer([&](auto done) { source->setNotes("x", c.ref, done); }));
        EXPECT_EQ(source->lastError(), QString());
        EXPECT_EQ(openTasks(*source).isEmpty(), !source->isAuthorized());
    }
    EXPECT_EQ(read("work", "AB12-CD34"), before);
}

TEST_F(ReminderFolders, AccessFollowsTheAccountFoldersAndRequestSetsUpTheDefault)
{
    // The listed account folder does not exist yet: the question is open.
    RemindersTaskSource source(open());
    EXPECT_EQ(source.authorization(), CalendarAccess::NotDetermined);
    EXPECT_FALSE(source.isAuthorized());
    EXPECT_TRUE(openTasks(source).isEmpty());

    QSignalSpy changed(&source, &RemindersTaskSource::authorizationChanged);
    EXPECT_TRUE(answer([&](auto done) { source.requestAccess(done); }));
    EXPECT_EQ(source.authorization(), CalendarAccess::FullAccess);
    EXPECT_EQ(changed.count(), 1);
    EXPECT_EQ(source.lastError(), QString());
    const QList<CalendarInfo> lists = calendars->calendars(CollectionKind::Reminders);
    ASSERT_EQ(lists.size(), 1);
    EXPECT_EQ(lists[0].title, "Quillmere");
}

namespace {

struct FakeReminders : InEnglish
{
    FakeCalendarStore store;
    QString listId = QStringLiteral("list-1");
    void SetUp() override
    {
        InEnglish::SetUp();
        store.addCalendar(CalendarInfo{listId, "Errands", {}, "Home", "home", CollectionKind::Reminders, true, true});
    }
};

} // namespace

TEST_F(FakeReminders, RefusedRequestsAndFailedSavesLeaveTheirMessage)
{
    // Already held: no question asked, the old message stays.
    {
        RemindersTaskSource source(store);
        Reminder r;
        r.listId = listId;
        r.title = "Tea";
        const QString id = store.addReminder(r);
        store.setWriteError("disk full");
        EXPECT_FALSE(answer([&](auto done) { source.complete(reminderRef(id), done); }));
        EXPECT_EQ(source.lastError(), "disk full");
        EXPECT_TRUE(answer([&](auto done) { source.requestAccess(done); }));
        EXPECT_EQ(store.requestCount(), 0);
        EXPECT_EQ(source.lastError(), "disk full");
        store.setWriteError(QString());
        EXPECT_TRUE(answer([&](auto done) { source.complete(reminderRef(id), done); }));
        EXPECT_EQ(source.lastError(), QString()) << "a good save clears the message";
        EXPECT_TRUE(store.storedReminders()[0].completed);
    }
    // A request that fails says why, and the status is read again.
    store.setAuthorization(CalendarAccess::Denied);
    store.setGrantsAccess(false);
    RemindersTaskSource refused(store);
    EXPECT_FALSE(answer([&](auto done) { refused.requestAccess(done); }));
    EXPECT_EQ(refused.authorization(), CalendarAccess::Denied);
    EXPECT_EQ(refused.lastError(), "access refused");
}

TEST_F(FakeReminders, AReminderInNoListIsNamedTheSameInBothLanguages)
{
    Reminder r;
    r.id = "loose";
    r.title = "Loose end";
    const std::optional<TodoItem> row = RemindersTaskSource::row(r);
    ASSERT_TRUE(row);
    EXPECT_EQ(row->listName, "リマインダー");
    EXPECT_EQ(row->ref.listID, std::nullopt);
    r.title.clear();
    r.due = at(3, 4, 9);
    EXPECT_FALSE(RemindersTaskSource::row(r)) << "no title, no row, even with a due date";
}
