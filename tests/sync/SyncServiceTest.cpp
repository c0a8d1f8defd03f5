#include "support/FakeHttpServer.h"
#include "support/MemorySyncStore.h"
#include "support/ScopedDirs.h"
#include "SyncFixtures.h"
#include "core/AppSettings.h"
#include "core/KivJSON.h"
#include "core/L.h"
#include "platform/fakes/FakeClock.h"
#include "platform/files/DataFile.h"
#include "platform/files/Preferences.h"
#include "stores/DayNoteStore.h"
#include "stores/LocalTaskStore.h"
#include "stores/SessionStore.h"
#include "sync/SyncReport.h"
#include "sync/SyncService.h"

#include <QFile>
#include <gtest/gtest.h>

#include <limits>

using namespace SyncFixtures;

namespace {

// Installs a fake clock (local 9:00) for the life of the fixture.
struct ClockGuard
{
    FakeClock clock{QDateTime(QDate(2025, 3, 4), QTime(9, 0))};
    ClockGuard() { Clock::setCurrent(&clock); }
    ~ClockGuard() { Clock::setCurrent(nullptr); }
};

QByteArray bundleBytes(const QString &device, const QList<SessionRecord> &records,
                       const QList<LocalTask> &tasks = {}, const QList<DayNote> &days = {},
                       const std::optional<SharedSettings> &settings = std::nullopt)
{
    SyncBundle b;
    b.device = device;
    b.savedAt = at(0);
    b.records = records;
    b.tasks = tasks;
    b.days = days;
    b.settings = settings;
    return *b.encode();
}

} // namespace

class SyncServiceTest : public ::testing::Test
{
protected:
    ScopedDirs dirs;
    ClockGuard time;
    Preferences prefs{QStringLiteral("sync-service-test")};
    AppSettings settings{prefs};
    SessionStore sessions{dirs.dataDir()};
    LocalTaskStore tasks{dirs.dataDir()};
    DayNoteStore days{dirs.dataDir()};
    SyncService service{sessions, tasks, settings, &days};
    std::shared_ptr<MemorySyncStore> store = std::make_shared<MemorySyncStore>();
    int changes = 0;
    const QString me = SyncBundle::deviceName();

    void SetUp() override
    {
        Lang::setForTesting(true);
        sessions.onChanged = [this] { ++changes; };
        tasks.onChanged = [this] { ++changes; };
        days.onChanged = [this] { ++changes; };
    }

    // Runs a sync against the (answering at once) store and waits for its
    // work off the main thread; gives its result.
    std::optional<bool> runSync()
    {
        std::optional<bool> result;
        service.sync(store, [&](bool ok) { result = ok; });
        spinUntil([&] { return result.has_value(); });
        return result;
    }

    QByteArray file(const QString &name) const
    {
        return DataFile::read(dirs.dataDir() + QLatin1Char('/') + name).bytes;
    }

    SyncBundle lastUpload() const
    {
        return SyncBundle::decode(store->saved.last());
    }
};

TEST_F(SyncServiceTest, FirstSyncAgainstAnEmptyStoreUploadsTheLocalData)
{
    sessions.append(record(1, 0));
    tasks.setAllTasks({task(2, 0, QStringLiteral("掃除"), 0)});
    tasks.save();
    changes = 0;

    EXPECT_EQ(runSync(), true);
    EXPECT_EQ(service.stateKind(), SyncService::StateKind::done);
    EXPECT_EQ(service.doneAt(), time.clock.now());
    EXPECT_EQ(service.resultMessage(), QStringLiteral("合わせました（9:00）。\n向こうには、ほかの端末の控えがまだありません。"));
    EXPECT_EQ(changes, 0) << "writing synced data back must not schedule another sync";
    ASSERT_EQ(store->copies.size(), 1);
    const SyncBundle up = lastUpload();
    EXPECT_EQ(up.version, 1);
    EXPECT_EQ(up.device, me);
    EXPECT_EQ(up.records, sessions.allRecords());
    EXPECT_EQ(up.tasks, tasks.allTasks());
    EXPECT_EQ(settings.lastSyncedAt(), time.clock.now());
}

TEST_F(SyncServiceTest, MergesEveryCopyAndNamesThePeersOnce)
{
    sessions.append(record(1, 0));
    store->add(bundleBytes(QStringLiteral("Beta"), {record(2, 5)}));
    store->add(bundleBytes(QStringLiteral("Alpha"), {record(3, 10)}, {task(7, 0, QStringLiteral("写経"), 0)},
                           {day(QStringLiteral("2025-03-04"), 0, QStringLiteral("静かに"))}));
    store->add(bundleBytes(me, {record(4, 15)}));
    store->add(bundleBytes(QStringLiteral("Beta"), {record(2, 5, QStringLiteral("直した"), 3)}));
    changes = 0;

    EXPECT_EQ(runSync(), true);
    EXPECT_EQ(service.lastPeers(), (QStringList{QStringLiteral("Alpha"), QStringLiteral("Beta")}));
    EXPECT_EQ(service.resultMessage(), QStringLiteral("合わせました（9:00）。\nAlpha、Beta と突き合わせました。"));
    EXPECT_EQ(sessions.allRecords().size(), 4);
    EXPECT_EQ(sessions.allRecords()[1].title, QStringLiteral("直した"));
    EXPECT_EQ(tasks.allTasks().size(), 1);
    ASSERT_EQ(days.allNotes().size(), 1);
    EXPECT_EQ(days.allNotes()[0].intention, QStringLiteral("静かに"));
    EXPECT_EQ(changes, 0);
    EXPECT_FALSE(sessions.isApplyingRemote() || tasks.isApplyingRemote() || days.isApplyingRemote());
    // Every copy was read, so the merged bundle replaces them all.
    ASSERT_EQ(store->copies.size(), 1);
    EXPECT_EQ(lastUpload().records, sessions.allRecords());
}

TEST_F(SyncServiceTest, ACopyThatDoesNotDecodeIsNeitherMergedNorReplaced)
{
    const QByteArray garbage = R"({"device":"Gamma","savedAt":"never","records":[],"tasks":[]})";
    const QString bad = store->add(garbage);
    const QString good = store->add(bundleBytes(QStringLiteral("Beta"), {record(2, 5)}));

    EXPECT_EQ(runSync(), true);
    EXPECT_EQ(service.lastPeers(), QStringList{QStringLiteral("Beta")});
    EXPECT_EQ(store->lastReplaceable, QStringList{good});
    ASSERT_EQ(store->copies.size(), 2);
    EXPECT_EQ(store->copies[0].id, bad);
    EXPECT_EQ(store->copies[0].bytes, garbage);
    EXPECT_EQ(sessions.allRecords().size(), 1);
}

// Whatever goes wrong before the merge, nothing local changes and nothing is
// uploaded.
TEST_F(SyncServiceTest, FailuresBeforeTheMergeChangeNothing)
{
    const QString newer = QStringLiteral("向こうの控えが新しい形式です。アプリを更新してください。");
    struct Case
    {
        const char *name;
        std::function<void(MemorySyncStore &)> prepare;
        QString text;
    };
    const QByteArray v1 = bundleBytes(QStringLiteral("Beta"), {record(2, 5)});
    const Case cases[] = {
        {"listing failed", [](MemorySyncStore &s) { s.failListing = true; }, QStringLiteral("取ってこられませんでした")},
        {"one download failed",
         [&](MemorySyncStore &s) {
             s.add(v1);
             s.failDownloadOf = s.add(v1);
         },
         QStringLiteral("取ってこられませんでした")},
        {"no copy readable",
         [](MemorySyncStore &s) {
             s.add("{}");
             s.add("garbage");
         },
         QStringLiteral("向こうの控えが読めませんでした。")},
        {"version 2 after a readable copy",
         [&](MemorySyncStore &s) {
             s.add(v1);
             QJsonObject o = KivJSON::parse(v1).object();
             o.insert(QStringLiteral("version"), 2);
             s.add(KivJSON::encode(o));
         },
         newer},
        {"version 3 whose content this version cannot read",
         [&](MemorySyncStore &s) {
             s.add(v1);
             s.add(R"({"version":3,"device":"Delta","records":{"by":"shard"}})");
         },
         newer},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        sessions.append(record(1, 0));
        const QByteArray before = file(SessionStore::fileName);
        const QList<SessionRecord> records = sessions.allRecords();
        store = std::make_shared<MemorySyncStore>();
        c.prepare(*store);
        const QList<SyncCopy> copies = store->copies;
        changes = 0;

        EXPECT_EQ(runSync(), false);
        EXPECT_EQ(service.stateKind(), SyncService::StateKind::failed);
        EXPECT_EQ(service.resultMessage(), c.text);
        EXPECT_EQ(store->saveCount, 0);
        EXPECT_EQ(sessions.allRecords(), records);
        EXPECT_EQ(file(SessionStore::fileName), before);
        EXPECT_TRUE(tasks.allTasks().isEmpty());
        EXPECT_EQ(store->copies.size(), copies.size());
        EXPECT_EQ(changes, 0);
        EXPECT_EQ(settings.lastSyncedAt(), std::nullopt);
    }
}

TEST_F(SyncServiceTest, SettingsDecision)
{
    struct Case
    {
        const char *name;
        bool syncedBefore;
        bool unsent;
        int remoteOffsetSeconds; // remote change time relative to the local one
        int expectedFocus;
    };
    const Case cases[] = {
        {"never synced takes the remote even when older", false, true, -60, 45},
        {"unsent local change beats an older remote", true, true, -60, 30},
        {"unsent local change loses to a newer remote", true, true, 60, 45},
        {"nothing unsent takes the remote even when older", true, false, -60, 45},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        settings.setFocusMinutes(30); // stamps now and marks the settings unsent
        const QDateTime local = settings.settingsChangedAt();
        settings.setLastSyncedAt(c.syncedBefore ? std::optional<QDateTime>(at(-600)) : std::nullopt);
        prefs.setValue(QStringLiteral("settingsUnsent"), c.unsent);
        SharedSettings remote = settings.shared();
        remote.focusMinutes = 45;
        remote.updatedAt = local.addSecs(c.remoteOffsetSeconds);
        store = std::make_shared<MemorySyncStore>();
        store->add(bundleBytes(QStringLiteral("Beta"), {}, {}, {}, remote));

        EXPECT_EQ(runSync(), true);
        EXPECT_EQ(settings.focusMinutes(), c.expectedFocus);
        ASSERT_TRUE(lastUpload().settings.has_value());
        EXPECT_EQ(lastUpload().settings->focusMinutes, c.expectedFocus);
        EXPECT_EQ(prefs.boolean(QStringLiteral("settingsUnsent")), false);
        EXPECT_EQ(settings.lastSyncedAt(), time.clock.now());
        time.clock.advance(60000);
    }
}

TEST_F(SyncServiceTest, AFailedUploadKeepsTheWriteBackButNotTheBookkeeping)
{
    settings.setFocusMinutes(30);
    store->add(bundleBytes(QStringLiteral("Beta"), {record(2, 5)}));
    store->failSave = true;
    store->saveError = QStringLiteral("置けませんでした（503）。");

    EXPECT_EQ(runSync(), false);
    EXPECT_EQ(service.resultMessage(), QStringLiteral("置けませんでした（503）。"));
    EXPECT_EQ(sessions.allRecords().size(), 1) << "the merged data stays written back";
    EXPECT_EQ(prefs.boolean(QStringLiteral("settingsUnsent")), true);
    EXPECT_EQ(settings.lastSyncedAt(), std::nullopt);

    store->saveError.clear();
    EXPECT_EQ(runSync(), false);
    EXPECT_EQ(service.resultMessage(), QStringLiteral("書き戻せませんでした。"));
}

TEST_F(SyncServiceTest, OneSyncAtATimeAndChangesOnTheWayAreKept)
{
    store->deferred = true;
    store->add(bundleBytes(QStringLiteral("Beta"), {record(2, 5)}));
    std::optional<bool> first;
    EXPECT_TRUE(service.sync(store, [&](bool ok) { first = ok; }));
    EXPECT_EQ(service.stateKind(), SyncService::StateKind::working);
    EXPECT_EQ(service.resultMessage(), QStringLiteral("合わせています…"));

    std::optional<bool> second;
    EXPECT_FALSE(service.sync(store, [&](bool ok) { second = ok; }));
    EXPECT_EQ(second, false);
    EXPECT_EQ(service.stateKind(), SyncService::StateKind::working);
    EXPECT_EQ(store->loadCount, 1);

    // A round finished while the download was on its way is merged and sent.
    sessions.append(record(9, 30));
    ASSERT_TRUE(store->releaseLoad());
    ASSERT_TRUE(spinUntil([&] { return store->saveCount == 1; }));
    EXPECT_EQ(sessions.allRecords().size(), 2);
    // A settings change while the upload is on its way stays unsent.
    settings.setFocusMinutes(40);
    ASSERT_TRUE(store->releaseSave());
    EXPECT_EQ(first, true);
    EXPECT_EQ(lastUpload().records.size(), 2);
    EXPECT_EQ(prefs.boolean(QStringLiteral("settingsUnsent")), true);
}

// The copies are merged on a worker. What changes locally meanwhile is merged
// in by the same rules before anything is written back or uploaded.
TEST_F(SyncServiceTest, ALocalChangeWhileTheMergeRunsIsInTheResultAndTheUpload)
{
    sessions.append(record(1, 0));
    tasks.setAllTasks({task(2, 0, QStringLiteral("掃除"), 0)});
    tasks.save();
    const QDateTime today(QDate(2025, 3, 4), QTime(12, 0));
    // Beta edited record 1 and brings a record, a task and the day's intention.
    store->add(bundleBytes(QStringLiteral("Beta"), {record(1, 0, QStringLiteral("直した"), 5), record(3, 10)},
                           {task(4, 0, QStringLiteral("写経"), 0)},
                           {day(DayNote::key(today), 0, QStringLiteral("静かに"))}));
    store->deferred = true;
    std::optional<bool> result;
    ASSERT_TRUE(service.sync(store, [&](bool ok) { result = ok; }));
    ASSERT_TRUE(store->releaseLoad());

    // While the worker merges, a minute later: record 1 deleted here, a new
    // round, a task renamed and the day's reflection written.
    time.clock.advance(60000);
    sessions.deleteRecord(record(1, 0), at(20));
    sessions.append(record(9, 30));
    tasks.rename(uid(2), QStringLiteral("掃き掃除"));
    days.setReflection(QStringLiteral("坐った"), today);
    changes = 0;

    ASSERT_TRUE(spinUntil([&] { return store->saveCount == 1; }));
    ASSERT_TRUE(store->releaseSave());
    ASSERT_TRUE(spinUntil([&] { return result.has_value(); }));
    EXPECT_EQ(result, true);
    EXPECT_EQ(changes, 0);

    const QList<SessionRecord> records = sessions.allRecords();
    ASSERT_EQ(records.size(), 3);
    EXPECT_EQ(records[0].id, uid(1));
    EXPECT_EQ(records[0].deletedAt, at(20)) << "the deletion here wins over the edit there";
    EXPECT_EQ(records[1].id, uid(3));
    EXPECT_EQ(records[2].id, uid(9));
    ASSERT_EQ(tasks.allTasks().size(), 2);
    EXPECT_EQ(tasks.task(uid(2))->title, QStringLiteral("掃き掃除"));
    EXPECT_TRUE(tasks.task(uid(4)));
    EXPECT_EQ(days.note(today).intention, QStringLiteral("静かに"));
    EXPECT_EQ(days.note(today).reflection, QStringLiteral("坐った"));

    const SyncBundle up = lastUpload();
    EXPECT_EQ(up.records, records);
    EXPECT_EQ(up.tasks, tasks.allTasks());
    EXPECT_EQ(up.days, days.allNotes());
    // The files hold the result too.
    EXPECT_EQ(SessionStore(dirs.dataDir()).allRecords(), records);
    EXPECT_EQ(LocalTaskStore(dirs.dataDir()).allTasks(), tasks.allTasks());
    EXPECT_EQ(DayNoteStore(dirs.dataDir()).allNotes(), days.allNotes());
}

TEST_F(SyncServiceTest, ABundleThatCannotBeEncodedIsReportedAndNotUploaded)
{
    // The report log only ever grows: an earlier entry stays.
    QFile log(SyncReport::logPath());
    ASSERT_TRUE(log.open(QIODevice::WriteOnly));
    log.write("前の記録\n");
    log.close();

    LocalTask broken = task(1, 0, QStringLiteral("x"), 0);
    broken.order = std::numeric_limits<double>::quiet_NaN();
    tasks.setAllTasks({broken});
    tasks.save();

    EXPECT_EQ(runSync(), false);
    EXPECT_TRUE(service.resultMessage().startsWith(QStringLiteral("控えを包めませんでした（")));
    EXPECT_EQ(store->saveCount, 0);
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(log.readAll());
    EXPECT_TRUE(text.startsWith(QStringLiteral("前の記録\n")));
    EXPECT_TRUE(text.contains(service.resultMessage()));
}
