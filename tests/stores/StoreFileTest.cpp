// What the three stores share: restarts, files that cannot be read, a data
// folder that cannot be made, and when changes are reported.
#include "StoreFixture.h"

#include "stores/DayNoteStore.h"
#include "stores/LocalTaskStore.h"
#include "stores/SessionStore.h"

#include "support/FakeHttpServer.h"

#include <QSemaphore>
#include <QSignalSpy>
#include <QThreadPool>
#include "support/ScopedTmpfs.h"
#include <memory>

namespace {

struct Kind
{
    const char *name;
    QString file;
    std::function<std::unique_ptr<StoreBase>(const QString &folder)> make;
    // One change that saves.
    std::function<void(StoreBase &, int n)> change;
    std::function<qsizetype(StoreBase &)> count;
};

SessionRecord record(int n)
{
    const QDateTime start = QDateTime(QDate(2025, 3, 4), QTime(9, 0)).addSecs(n * 3600);
    return SessionRecord{QUuid::createUuid(), Phase::focus, QStringLiteral("round %1").arg(n), start,
                         start.addSecs(1500), true, std::nullopt, std::nullopt, std::nullopt, std::nullopt,
                         std::nullopt};
}

const Kind kinds[] = {
    {"sessions", SessionStore::fileName,
     [](const QString &f) { return std::make_unique<SessionStore>(f); },
     [](StoreBase &s, int n) { static_cast<SessionStore &>(s).append(record(n)); },
     [](StoreBase &s) { return static_cast<SessionStore &>(s).allRecords().size(); }},
    {"tasks", LocalTaskStore::fileName,
     [](const QString &f) { return std::make_unique<LocalTaskStore>(f); },
     [](StoreBase &s, int n) { static_cast<LocalTaskStore &>(s).add(QStringLiteral("task %1").arg(n)); },
     [](StoreBase &s) { return static_cast<LocalTaskStore &>(s).allTasks().size(); }},
    {"days", DayNoteStore::fileName,
     [](const QString &f) { return std::make_unique<DayNoteStore>(f); },
     [](StoreBase &s, int n) {
         static_cast<DayNoteStore &>(s).setIntention(QStringLiteral("line"),
                                                     QDateTime(QDate(2025, 3, 1 + n), QTime(8, 0)));
     },
     [](StoreBase &s) { return static_cast<DayNoteStore &>(s).allNotes().size(); }},
};

void PrintTo(const Kind &kind, std::ostream *os)
{
    *os << kind.name;
}

class StoreFileTest : public StoreFixture, public ::testing::WithParamInterface<Kind>
{
};

TEST_P(StoreFileTest, MissingFileStartsEmptyAndWritesNothingUntilTheFirstChange)
{
    const Kind &k = GetParam();
    auto store = k.make(dir());
    EXPECT_EQ(k.count(*store), 0);
    EXPECT_FALSE(exists(k.file));
    EXPECT_TRUE(store->lastError().isEmpty());
    k.change(*store, 1);
    EXPECT_TRUE(exists(k.file));
    EXPECT_EQ(store->filePath(), path(k.file));
}

TEST_P(StoreFileTest, RestartKeepsEveryElementAndTheBytes)
{
    const Kind &k = GetParam();
    QByteArray written;
    {
        auto store = k.make(dir());
        k.change(*store, 1);
        k.change(*store, 2);
        written = bytes(k.file);
    }
    auto again = k.make(dir());
    EXPECT_EQ(k.count(*again), 2);
    EXPECT_EQ(bytes(k.file), written) << "loading must not rewrite the file";
    again->save();
    EXPECT_EQ(bytes(k.file), written) << "saving unchanged content must give the same bytes";
}

TEST_P(StoreFileTest, OnChangedAfterEverySaveExceptWhileApplyingRemote)
{
    const Kind &k = GetParam();
    auto store = k.make(dir());
    int calls = 0;
    store->onChanged = [&] { ++calls; };
    QSignalSpy changed(store.get(), &StoreBase::changed);

    k.change(*store, 1);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(changed.count(), 1);

    store->setApplyingRemote(true);
    k.change(*store, 2);
    store->save();
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(changed.count(), 2) << "screens still follow remote content";
    store->setApplyingRemote(false);

    auto reread = k.make(dir());
    EXPECT_EQ(k.count(*reread), 2) << "applying remote data still writes the file";

    store->save();
    EXPECT_EQ(calls, 2);
}

// Synced data is written back in the background: the same bytes as a save,
// no change report, failures reported; and a save made meanwhile always
// lands last.
TEST_P(StoreFileTest, BackgroundSavesWriteTheSameBytesAndGiveWayToLaterSaves)
{
    const Kind &k = GetParam();
    auto store = k.make(dir());
    int calls = 0;
    store->onChanged = [&] { ++calls; };
    k.change(*store, 1);
    k.change(*store, 2);
    const QByteArray saved = bytes(k.file);
    calls = 0;
    const auto saveInBackground = [&] {
        bool done = false;
        store->saveInBackground([&] { done = true; });
        EXPECT_TRUE(spinUntil([&] { return done; }));
    };

    ASSERT_TRUE(QFile::remove(path(k.file)));
    saveInBackground();
    EXPECT_EQ(bytes(k.file), saved);
    EXPECT_EQ(calls, 0);
    EXPECT_TRUE(store->lastError().isEmpty());

    // A folder under the file's name: the write fails and says so, and the
    // next one that works clears it.
    ASSERT_TRUE(QFile::remove(path(k.file)));
    ASSERT_TRUE(QDir().mkpath(path(k.file)));
    saveInBackground();
    EXPECT_FALSE(store->lastError().isEmpty());
    ASSERT_TRUE(QDir(path(k.file)).removeRecursively());
    saveInBackground();
    EXPECT_TRUE(store->lastError().isEmpty());
    EXPECT_EQ(bytes(k.file), saved);

    // A change saved while the background write waits for a thread: the
    // older content must not land after it.
    QThreadPool &pool = *QThreadPool::globalInstance();
    QSemaphore busy;
    for (int i = 0; i < pool.maxThreadCount(); ++i)
        pool.start([&busy] { busy.acquire(); });
    bool done = false;
    store->saveInBackground([&] { done = true; });
    k.change(*store, 3);
    busy.release(pool.maxThreadCount());
    ASSERT_TRUE(spinUntil([&] { return done; }));
    EXPECT_EQ(k.count(*k.make(dir())), 3);

    // A store gone before its background write got a thread writes nothing
    // any more (its folder may be gone too).
    for (int i = 0; i < pool.maxThreadCount(); ++i)
        pool.start([&busy] { busy.acquire(); });
    store->saveInBackground();
    store.reset();
    ASSERT_TRUE(QDir(dir()).removeRecursively());
    busy.release(pool.maxThreadCount());
    pool.waitForDone();
    EXPECT_FALSE(QDir(dir()).exists());
}

struct BadFile
{
    const char *name;
    QByteArray content;
};

TEST_P(StoreFileTest, UnreadableFileIsKeptAsideAndNothingIsLost)
{
    const Kind &k = GetParam();
    const BadFile bad[] = {
        {"not JSON", "[{\"id\": "},
        {"an object, not an array", "{\"id\": 1}"},
        {"an element that does not decode", "[{\"title\": 5}]"},
        {"an array of numbers", "[1, 2]"},
    };
    for (const BadFile &b : bad) {
        SCOPED_TRACE(b.name);
        freshFolder();
        write(k.file, b.content);
        const QString aside = k.file + QStringLiteral(".unreadable-20250304-090000");

        auto store = k.make(dir());
        EXPECT_EQ(k.count(*store), 0);
        EXPECT_FALSE(exists(k.file));
        EXPECT_EQ(bytes(aside), b.content);
        EXPECT_TRUE(store->lastError().contains(aside)) << store->lastError().toStdString();

        k.change(*store, 1);
        EXPECT_TRUE(store->lastError().isEmpty());
        EXPECT_EQ(bytes(aside), b.content) << "the kept file is never overwritten";
        EXPECT_EQ(k.count(*k.make(dir())), 1) << "a fresh file stands beside the kept one";
    }
}

TEST_P(StoreFileTest, AFileThatCannotBeOpenedIsKeptAsideToo)
{
    const Kind &k = GetParam();
    // A folder under the file's name cannot be read as a file, even by root.
    ASSERT_TRUE(QDir().mkpath(path(k.file)));
    auto store = k.make(dir());
    EXPECT_EQ(k.count(*store), 0);
    EXPECT_FALSE(store->lastError().isEmpty());
    EXPECT_TRUE(QFileInfo(path(k.file + QStringLiteral(".unreadable-20250304-090000"))).isDir());
    k.change(*store, 1);
    EXPECT_TRUE(QFileInfo(path(k.file)).isFile());
}

TEST_P(StoreFileTest, DataFolderThatCannotBeMadeKeepsWorkingInMemory)
{
    const Kind &k = GetParam();
    write(QStringLiteral("blocker"), "a file where a folder should be");
    const QString folder = path(QStringLiteral("blocker/Quillmere"));

    auto store = k.make(folder);
    EXPECT_FALSE(store->lastError().isEmpty());
    int calls = 0;
    store->onChanged = [&] { ++calls; };
    k.change(*store, 1);
    k.change(*store, 2);
    EXPECT_EQ(k.count(*store), 2);
    EXPECT_EQ(calls, 2);
    EXPECT_FALSE(store->lastError().isEmpty());
}

TEST_P(StoreFileTest, AFullDiskKeepsTheOldFileWholeAndTheChangeInMemory)
{
    const Kind &k = GetParam();
    ScopedTmpfs disk(dir(), 256 * 1024);
    if (!disk.mounted())
        GTEST_SKIP() << disk.why().toStdString();
    auto store = k.make(dir());
    for (int n = 1; n <= 20; ++n)
        k.change(*store, n);
    const QByteArray before = bytes(k.file);
    disk.fill();

    QSignalSpy failed(store.get(), &StoreBase::saveFailed);
    k.change(*store, 21);
    EXPECT_EQ(failed.count(), 1);
    EXPECT_TRUE(store->lastError().contains(k.file)) << store->lastError().toStdString();
    EXPECT_EQ(k.count(*store), 21);
    EXPECT_EQ(bytes(k.file), before);
    EXPECT_EQ(k.count(*k.make(dir())), 20);

    QFile::remove(path(QStringLiteral("filler")));
    k.change(*store, 22);
    EXPECT_TRUE(store->lastError().isEmpty());
    EXPECT_EQ(k.count(*k.make(dir())), 22);
}

TEST_P(StoreFileTest, TemporaryFilesOfAKilledSaveGoAtTheNextStart)
{
    const Kind &k = GetParam();
    {
        auto store = k.make(dir());
        k.change(*store, 1);
    }
    const QByteArray saved = bytes(k.file);
    write(k.file + QStringLiteral(".Xq3Rt9"), saved.left(saved.size() / 2));
    write(k.file + QStringLiteral(".a1B2c3"), saved);

    auto store = k.make(dir());
    EXPECT_EQ(QDir(dir()).entryList(QDir::Files), QStringList{k.file});
    EXPECT_EQ(k.count(*store), 1);
}

INSTANTIATE_TEST_SUITE_P(Stores, StoreFileTest, ::testing::ValuesIn(kinds),
                         [](const ::testing::TestParamInfo<Kind> &info) { return std::string(info.param.name); });

} // namespace
