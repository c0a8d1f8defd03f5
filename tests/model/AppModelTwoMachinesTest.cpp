#include "ModelRig.h"
#include "platform/fakes/FakeClock.h"

#include "platform/files/DataFile.h"
#include "platform/net/Http.h"
#include "sound/AmbienceVoice.h"
#include "support/FakeDrive.h"
#include "support/LanguageFixtures.h"
#include "sync/SyncService.h"

#include <QHash>
#include <QSet>
#include <gtest/gtest.h>
#include <random>

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
            rig->authConfig.revokeUrl = drive.url(QStringLiteral("/revoke"));
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
    // Both machines' files hold the same bytes. Synced data is written back
    // on a worker after the sync has ended, so the files may take a moment
    // to catch up with the content; they must agree once the writes are done.
    void expectSameFiles()
    {
        for (const QString &name : {SessionStore::fileName, LocalTaskStore::fileName, DayNoteStore::fileName}) {
            SCOPED_TRACE(name.toStdString());
            spinUntil([&] { return !file(*a, name).isEmpty() && file(*a, name) == file(*b, name); }, 10000);
            EXPECT_FALSE(file(*a, name).isEmpty());
            EXPECT_EQ(file(*a, name), file(*b, name));
        }
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

    expectSameFiles();
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

// What another machine changes reaches this one while it runs: an idle
// engine shows the new round length, a sitting's ambience changes its scene
// and volume, and a paused one stays quiet.
TEST_F(AppModelTwoMachinesTest, SyncedSettingsReachTheEngineAndTheAmbience)
{
    ASSERT_EQ(b->engine().state(), RunState::idle);
    ASSERT_EQ(b->engine().remaining(), 25 * 60);
    a->settings.setFocusMinutes(40);
    settle();
    syncNow(*b);
    EXPECT_EQ(b->settings.focusMinutes(), 40);
    EXPECT_EQ(b->engine().remaining(), 40 * 60);

    b->model->begin(Mode::hour);
    ASSERT_TRUE(b->ambience.isPlaying());
    ASSERT_NE(b->ambience.currentScene(), AmbienceScene::rain);
    const double left = b->engine().remaining();
    a->settings.setAmbienceScene(QStringLiteral("rain"));
    a->settings.setAmbienceVolume(0.8);
    a->settings.setFocusMinutes(30);
    settle();
    syncNow(*b);
    EXPECT_EQ(b->ambience.currentScene(), AmbienceScene::rain);
    ASSERT_TRUE(b->ambience.voice());
    EXPECT_FLOAT_EQ(b->ambience.voice()->target(), 0.8f * 0.55f);
    EXPECT_LT(b->engine().remaining(), left) << "a running round keeps its own length";

    b->engine().pause();
    EXPECT_FALSE(b->ambience.isPlaying());
    a->settings.setAmbienceScene(QStringLiteral("wind"));
    settle();
    syncNow(*b);
    EXPECT_EQ(b->settings.ambienceScene(), QStringLiteral("wind"));
    EXPECT_FALSE(b->ambience.isPlaying());
}

// Both machines edit at random for a few hundred steps, many of them within
// the same millisecond, syncing now and then. In the end both hold the same
// bytes in every file, and a deleted record is deleted on both.
TEST_F(AppModelTwoMachinesTest, RandomEditsOnBothConverge)
{
    for (const unsigned seed : {7u, 2025u, 31337u}) {
        SCOPED_TRACE(seed);
        std::mt19937 random(seed);
        auto chance = [&](int percent) { return int(random() % 100) < percent; };
        auto pick = [&](qsizetype count) { return qsizetype(random() % quint32(count)); };
        auto word = [&] {
            static const QStringList words = {QStringLiteral("tea"), QStringLiteral("letters"),
                                              QStringLiteral("walk"), QStringLiteral("sit"), QStringLiteral("雑巾"),
                                              QStringLiteral("写経"), QString()};
            return words[pick(words.size())];
        };

        QSet<QUuid> deletedRecords;
        // A task deleted on one machine may come back by a later edit on the
        // other (the later change is the base): only deletions that no later
        // edit followed must hold.
        QHash<QUuid, QDateTime> taskDeleted, taskEdited;
        int calendarIDs = 0;

        for (int step = 0; step < 300; ++step) {
            Rig &m = chance(50) ? *a : *b;
            const QDateTime now = clock.now();
            const QDateTime day = now.addDays(qint64(pick(3)) - 1);
            const QList<LocalTask> tasks = m.local.tasks();
            const QList<SessionRecord> records = m.store.records();
            switch (random() % 13) {
            case 0:
                m.local.add(word() + QStringLiteral(" %1").arg(step));
                break;
            case 1:
                if (!tasks.isEmpty()) {
                    const QUuid id = tasks[pick(tasks.size())].id;
                    m.local.rename(id, QStringLiteral("renamed %1").arg(step));
                    taskEdited[id] = now;
                }
                break;
            case 2:
                if (!tasks.isEmpty()) {
                    const QUuid id = tasks[pick(tasks.size())].id;
                    if (chance(50))
                        m.local.markDone(id, day);
                    else
                        m.local.complete(id, now);
                    taskEdited[id] = now;
                }
                break;
            case 3:
                if (!tasks.isEmpty()) {
                    const QUuid id = tasks[pick(tasks.size())].id;
                    m.local.deleteTask(id, now);
                    taskDeleted[id] = std::min(taskDeleted.value(id, now), now);
                }
                break;
            case 4: {
                QList<QUuid> order;
                for (const LocalTask &t : tasks)
                    order.insert(pick(order.size() + 1), t.id);
                m.local.reorder(order);
                break;
            }
            case 5: {
                // A deed written by hand, some carrying a calendar event.
                const QDateTime start = now.addSecs(-3600 * qint64(pick(30)));
                SessionRecord r{QUuid::createUuid(), Phase::focus, word(), start, start.addSecs(1500), true,
                                std::nullopt, std::nullopt, std::nullopt, true, std::nullopt};
                if (chance(50))
                    r.calendarEventID = QStringLiteral("EV-%1").arg(++calendarIDs);
                m.store.append(r);
                break;
            }
            case 6:
                if (!records.isEmpty()) {
                    SessionRecord r = records[pick(records.size())];
                    r.title = QStringLiteral("edited %1").arg(step);
                    r.editedAt = now;
                    if (chance(30))
                        r.calendarEventID = QStringLiteral("EV-%1").arg(++calendarIDs);
                    m.store.update(r);
                }
                break;
            case 7:
                if (!records.isEmpty()) {
                    const QUuid id = records[pick(records.size())].id;
                    m.model->removeDeed(id);
                    deletedRecords.insert(id);
                }
                break;
            case 8:
                m.days.setIntention(word(), day);
                break;
            case 9:
                m.days.setReflection(word(), day);
                break;
            case 10:
                if (chance(60)) {
                    DayPlan plan;
                    plan.title = word() + QStringLiteral(" plan");
                    plan.startMinutes = int(pick(24 * 60));
                    plan.minutes = 30;
                    plan.timed = chance(50);
                    m.days.addPlan(plan, day);
                } else if (const QList<DayPlan> plans = m.days.note(day).plans; !plans.isEmpty()) {
                    m.days.removePlan(plans[pick(plans.size())].id, day);
                }
                break;
            case 11:
                ASSERT_NO_FATAL_FAILURE(syncNow(m));
                break;
            case 12: {
                // The same element changed on both machines at once.
                const QString mine = QStringLiteral("a %1").arg(step), theirs = QStringLiteral("b %1").arg(step);
                const QList<SessionRecord> onA = a->store.records();
                const auto shared = std::find_if(onA.begin(), onA.end(), [&](const SessionRecord &r) {
                    return b->store.records().contains(r);
                });
                const QList<LocalTask> tasksOnA = a->local.tasks();
                const auto sharedTask = std::find_if(tasksOnA.begin(), tasksOnA.end(), [&](const LocalTask &t) {
                    return b->local.task(t.id).has_value();
                });
                switch (random() % 3) {
                case 0:
                    if (shared != onA.end()) {
                        for (Rig *machine : {a.get(), b.get()}) {
                            SessionRecord r = *shared;
                            r.title = machine == a.get() ? mine : theirs;
                            r.editedAt = now;
                            r.calendarEventID = QStringLiteral("EV-%1").arg(++calendarIDs);
                            machine->store.update(r);
                        }
                    }
                    break;
                case 1:
                    if (sharedTask != tasksOnA.end()) {
                        a->local.rename(sharedTask->id, mine);
                        b->local.rename(sharedTask->id, theirs);
                        taskEdited[sharedTask->id] = now;
                    }
                    break;
                case 2:
                    a->days.setIntention(mine, day);
                    b->days.setIntention(theirs, day);
                    break;
                }
                break;
            }
            }
            // Most steps stay within the same millisecond; some let the
            // scheduled syncs run.
            const int gap = int(random() % 10);
            clock.advance(gap < 5 ? 0 : gap < 6 ? 1 : gap < 9 ? qint64(random() % 3000) : 6000);
            ASSERT_TRUE(spinUntil([&] { return idle(); }));
        }

        ASSERT_NO_FATAL_FAILURE(settle());
        for (Rig *m : {a.get(), b.get(), a.get()})
            ASSERT_NO_FATAL_FAILURE(syncNow(*m));

        expectSameFiles();
        EXPECT_EQ(a->store.allRecords(), b->store.allRecords());
        EXPECT_EQ(a->local.allTasks(), b->local.allTasks());
        for (const Rig *m : {a.get(), b.get()}) {
            for (const SessionRecord &r : m->store.allRecords()) {
                if (deletedRecords.contains(r.id)) {
                    EXPECT_TRUE(r.deletedAt) << "record " << r.id.toString().toStdString() << " came back";
                }
            }
            for (const LocalTask &t : m->local.allTasks()) {
                if (taskDeleted.contains(t.id) && taskEdited.value(t.id) <= taskDeleted.value(t.id)) {
                    EXPECT_TRUE(t.deletedAt) << "task " << t.title.toStdString() << " came back";
                }
            }
        }
    }
}

} // namespace
