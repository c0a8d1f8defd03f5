#include "ModelRig.h"

#include "support/FakeHttpServer.h"
#include "support/LanguageFixtures.h"
#include "support/MemorySyncStore.h"
#include "sync/SyncService.h"

#include <gtest/gtest.h>

namespace {

using namespace ModelRigs;

// A model connected to Google whose syncs run against a store in memory;
// every notice shown is kept.
struct SyncRig
{
    Rig rig;
    MemorySyncStore memory;
    AppModel *model = nullptr;
    QStringList notices;

    AppModel &build(bool connected = true)
    {
        if (connected)
            Rig::connectGoogle();
        rig.syncStore = [this] { return std::shared_ptr<SyncStore>(&memory, [](SyncStore *) {}); };
        model = &rig.build();
        QObject::connect(model, &AppModel::noticeChanged, [this] {
            if (model->notice())
                notices << *model->notice();
        });
        settle();
        return *model;
    }
    // Lets a sync under way do its work off the main thread, up to its end or
    // to an answer the store holds back.
    void settle()
    {
        ASSERT_TRUE(spinUntil([this] { return !model->sync().isWorking() || memory.holding(); }));
    }
    void advanceSeconds(double s)
    {
        rig.clock.advanceSeconds(s);
        settle();
    }
};

struct AppModelSyncTest : InEnglish, SyncRig
{
};

TEST_F(AppModelSyncTest, LaunchSyncsOnceQuietly)
{
    build();
    EXPECT_EQ(memory.loadCount, 1);
    EXPECT_EQ(memory.saveCount, 1);
    EXPECT_TRUE(rig.settings.lastSyncedAt());
    EXPECT_TRUE(notices.isEmpty());
}

TEST_F(AppModelSyncTest, ABurstOfChangesGivesOneSyncFiveSecondsAfterTheLast)
{
    build();
    memory.loadCount = 0;
    const std::optional<LocalTask> task = rig.local.add(QStringLiteral("Letters"));
    // Ten changes of every synced kind, a second apart.
    for (int i = 0; i < 10; ++i) {
        switch (i % 4) {
        case 0: rig.store.save(); break;
        case 1: rig.local.rename(task->id, QStringLiteral("Letters %1").arg(i)); break;
        case 2: rig.days.setIntention(QStringLiteral("Calm %1").arg(i), rig.clock.now()); break;
        case 3: rig.settings.setMorningHour(6 + i); break;
        }
        advanceSeconds(1);
    }
    EXPECT_EQ(memory.loadCount, 0);
    advanceSeconds(3.999);
    EXPECT_EQ(memory.loadCount, 0);
    advanceSeconds(0.001);
    EXPECT_EQ(memory.loadCount, 1);
    // The sync's own write-back schedules nothing more.
    advanceSeconds(60);
    EXPECT_EQ(memory.loadCount, 1);
    EXPECT_TRUE(notices.isEmpty());
}

TEST_F(AppModelSyncTest, ASyncDueDuringASyncIsPutOffByTenSeconds)
{
    build();
    memory.loadCount = 0;
    memory.deferred = true;
    rig.store.save();
    advanceSeconds(5);
    ASSERT_EQ(memory.loadCount, 1); // running, its download on the way

    rig.store.save();
    advanceSeconds(5); // due now, but a sync runs: put off
    std::optional<QString> answer;
    model->syncNow(false, [&](const QString &text) { answer = text; });
    EXPECT_EQ(answer, QStringLiteral("Syncing now."));
    advanceSeconds(10); // still running: put off again
    EXPECT_EQ(memory.loadCount, 1);

    ASSERT_TRUE(memory.releaseLoad());
    settle();
    ASSERT_TRUE(memory.releaseSave());
    settle();
    advanceSeconds(9.999);
    EXPECT_EQ(memory.loadCount, 1);
    advanceSeconds(0.001);
    EXPECT_EQ(memory.loadCount, 2); // not dropped
}

TEST_F(AppModelSyncTest, QuietFailuresAreToldAtMostEveryHalfHour)
{
    build();
    memory.failListing = true;
    notices.clear();
    const auto change = [&] {
        rig.store.save();
        advanceSeconds(5);
    };
    change();
    ASSERT_EQ(notices.size(), 1);
    const QString failure = notices.first();
    EXPECT_FALSE(failure.isEmpty());
    advanceSeconds(10 * 60);
    change();
    EXPECT_EQ(notices.size(), 1);
    advanceSeconds(20 * 60 - 10);
    change(); // 1800 s after the first: still quiet
    EXPECT_EQ(notices.size(), 1);
    advanceSeconds(0.5);
    model->syncNow(true); // half a second beyond the window: told
    EXPECT_EQ(notices.size(), 2);
    advanceSeconds(5); // the notice has cleared

    // Asked for, a failure is always told, and it starts the window again.
    std::optional<QString> answer;
    model->syncNow(false, [&](const QString &text) { answer = text; });
    EXPECT_EQ(notices.size(), 3);
    EXPECT_EQ(answer, model->sync().resultMessage());
    advanceSeconds(5);
    change();
    EXPECT_EQ(notices.size(), 3);

    memory.failListing = false;
    advanceSeconds(5);
    model->syncNow(false);
    settle();
    EXPECT_EQ(notices.last(), QStringLiteral("Synced."));
}

TEST_F(AppModelSyncTest, StaleSyncsRunAtMostOncePerInterval)
{
    build();
    memory.loadCount = 0;
    std::optional<bool> ran;
    model->syncIfStale(60, [&](bool r) { ran = r; });
    EXPECT_EQ(ran, false); // the launch sync counts
    advanceSeconds(60);
    model->syncIfStale(60, [&](bool r) { ran = r; });
    settle();
    EXPECT_EQ(ran, true);
    EXPECT_EQ(memory.loadCount, 1);
    advanceSeconds(30);
    model->syncNow(false); // a manual sync counts too
    settle();
    advanceSeconds(59);
    model->syncIfStale(60, [&](bool r) { ran = r; });
    EXPECT_EQ(ran, false);
    EXPECT_EQ(memory.loadCount, 2);
}

TEST_F(AppModelSyncTest, NoPlaceToSyncTo)
{
    struct Case
    {
        SyncPlace place;
        bool connected;
        QString told;
    };
    for (const Case &c : {Case{SyncPlace::none, true, QStringLiteral("Sync is turned off.")},
                          Case{SyncPlace::drive, false, QStringLiteral("Connect to Google first.")}}) {
        SCOPED_TRACE(c.told.toStdString());
        SyncRig t;
        t.rig.settings.setSyncPlace(c.place);
        t.build(c.connected);
        for (bool quiet : {true, false}) {
            std::optional<QString> answer;
            t.model->syncNow(quiet, [&](const QString &text) { answer = text; });
            EXPECT_EQ(answer, QStringLiteral("No place to sync to yet."));
            EXPECT_EQ(t.notices, quiet ? QStringList() : QStringList{c.told});
        }
        std::optional<bool> ran;
        t.model->syncIfStale(60, [&](bool r) { ran = r; });
        EXPECT_EQ(ran, false);
        t.rig.store.save();
        t.advanceSeconds(60);
        EXPECT_EQ(t.memory.loadCount, 0);
    }
}

TEST_F(AppModelSyncTest, ALapsedConnectionIsToldOnce)
{
    rig.settings.setLastSyncedAt(rig.clock.now().addDays(-1));
    build(false);
    advanceSeconds(1.499);
    EXPECT_TRUE(notices.isEmpty());
    advanceSeconds(0.001);
    EXPECT_EQ(notices, QStringList{QStringLiteral(
                           "Your Google connection has lapsed. Reconnect from “Across devices” in Settings.")});
    rig.store.save();
    advanceSeconds(10);
    EXPECT_EQ(notices.size(), 1);
}

TEST_F(AppModelSyncTest, NeverSyncedNeverToldOfALapse)
{
    build(false);
    rig.store.save();
    advanceSeconds(10);
    EXPECT_TRUE(notices.isEmpty());
}

} // namespace
