#include "ModelRig.h"
#include "platform/fakes/FakeClock.h"

#include "platform/files/DataFile.h"
#include "platform/net/Http.h"
#include "support/FakeDrive.h"
#include "support/LanguageFixtures.h"
#include "sync/SyncService.h"

#include <gtest/gtest.h>

namespace {

using namespace ModelRigs;

// Two machines, each with its own data and config folders, preferences and
// stores, on one clock, syncing through one fake Drive. (The secrets file
// lies in the folder made last; both machines use the same Google account.)
struct AppModelTwoMachinesTest : InEnglish
{
    FakeClock clock{QDateTime(QDate(2025, 3, 5), QTime(9, 0))};
    FakeDrive drive;
    std::unique_ptr<Rig> a;
    std::unique_ptr<Rig> b;

    void SetUp() override
    {
        InEnglish::SetUp();
        Clock::setCurrent(&clock);
        a = std::make_unique<Rig>(clock);
        b = std::make_unique<Rig>(clock);
        Rig::connectGoogle();
        for (Rig *rig : {a.get(), b.get()}) {
            rig->authConfig.tokenUrl = drive.url(QStringLiteral("/token"));
            rig->drive.host = drive.url();
            rig->build();
        }
        settle();
    }
    void TearDown() override
    {
        b.reset();
        a.reset();
        Clock::setCurrent(nullptr);
        InEnglish::TearDown();
    }

    bool idle() const
    {
        return Http::inFlight() == 0 && !a->model->sync().isWorking() && !b->model->sync().isWorking();
    }
    // Lets the requests on their way finish and the clock run on, a second
    // at a time, so that scheduled syncs start and end.
    void settle(int seconds = 20)
    {
        for (int i = 0; i < seconds; ++i) {
            ASSERT_TRUE(spinUntil([&] { return idle(); }));
            clock.advance(1000);
        }
        ASSERT_TRUE(spinUntil([&] { return idle(); }));
    }
    // A sync asked for on one machine, waited for.
    void syncNow(Rig &rig)
    {
        std::optional<QString> answer;
        rig.model->syncNow(false, [&](const QString &text) { answer = text; });
        ASSERT_TRUE(spinUntil([&] { return answer.has_value(); }));
        ASSERT_EQ(rig.model->sync().stateKind(), SyncService::StateKind::done) << answer->toStdString();
    }
    static QByteArray file(const Rig &rig, const QString &name)
    {
        return DataFile::read(rig.dirs.dataDir() + QLatin1Char('/') + name).bytes;
    }
};

TEST_F(AppModelTwoMachinesTest, ChangesOnBothConvergeAndDeletionsTravelAsTombstones)
{
    // Both launch syncs found nothing and created a copy each; the next sync
    // merges them into one.
    syncNow(*a);
    EXPECT_EQ(drive.live().size(), 1);

    const std::optional<LocalTask> letters = a->local.add(QStringLiteral("Letters"));
    const std::optional<LocalTask> old = a->local.add(QStringLiteral("Old"));
    settle(); // a's change syncs by itself
    syncNow(*b);
    ASSERT_TRUE(b->local.task(letters->id));
    ASSERT_TRUE(b->local.task(old->id));

    // A round on a, a task edited on b, the day's note written on both, a deletion on b.
    a->model->begin(Mode::quick);
    a->finishPhase();
    a->engine().stop();
    ASSERT_EQ(a->store.records().size(), 1);
    a->days.setIntention(QStringLiteral("Sit first"), clock.now());
    // a's changes sync before b's: two syncs at the same moment would race
    // to overwrite the one Drive file, and either might land last.
    settle();
    b->local.rename(letters->id, QStringLiteral("Letters to Jo"));
    b->days.setReflection(QStringLiteral("Sat"), clock.now().addDays(-1));
    b->local.deleteTask(old->id, clock.now());
    settle();
    syncNow(*a);
    syncNow(*b);

    for (const QString &name : {SessionStore::fileName, LocalTaskStore::fileName, DayNoteStore::fileName}) {
        SCOPED_TRACE(name.toStdString());
        EXPECT_FALSE(file(*a, name).isEmpty());
        EXPECT_EQ(file(*a, name), file(*b, name));
    }
    EXPECT_EQ(b->store.records(), a->store.records());
    EXPECT_EQ(b->local.task(letters->id)->title, QStringLiteral("Letters to Jo"));
    EXPECT_EQ(a->local.task(letters->id)->title, QStringLiteral("Letters to Jo"));
    EXPECT_EQ(a->days.note(clock.now()).intention, QStringLiteral("Sit first"));
    EXPECT_EQ(b->days.note(clock.now()).intention, QStringLiteral("Sit first"));
    EXPECT_EQ(a->days.note(clock.now().addDays(-1)).reflection, QStringLiteral("Sat"));

    // The deletion reached a as a tombstone, not as a missing task.
    const auto tombstone = std::find_if(a->local.allTasks().begin(), a->local.allTasks().end(),
                                        [&](const LocalTask &t) { return t.id == old->id; });
    ASSERT_NE(tombstone, a->local.allTasks().end());
    EXPECT_TRUE(tombstone->deletedAt);
    EXPECT_FALSE(a->local.task(old->id));
    EXPECT_EQ(drive.live().size(), 1);

    // The record's deletion on b travels the same way.
    b->model->removeDeed(b->store.records().first().id);
    settle();
    syncNow(*a);
    EXPECT_TRUE(a->store.records().isEmpty());
    ASSERT_EQ(a->store.allRecords().size(), 1);
    EXPECT_TRUE(a->store.allRecords().first().deletedAt);
}

} // namespace
