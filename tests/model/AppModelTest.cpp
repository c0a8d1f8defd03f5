#include "core/AppSettings.h"
#include "core/PomodoroEngine.h"
#include "model/AppModel.h"
#include "platform/audio/AudioFileDecoder.h"
#include "platform/time/Clock.h"
#include "platform/fakes/FakeAudioOutput.h"
#include "platform/fakes/FakeCalendarStore.h"
#include "platform/fakes/FakeNotificationCenter.h"
#include "platform/files/Preferences.h"
#include "sound/Ambience.h"
#include "sound/Chime.h"
#include "sources/CalendarService.h"
#include "sources/NoticeRoute.h"
#include "sources/Notifier.h"
#include "sources/TaskHub.h"
#include "stores/DayNoteStore.h"
#include "stores/LocalTaskStore.h"
#include "stores/SessionStore.h"
#include "support/LanguageFixtures.h"
#include "support/ScopedDirs.h"
#include "sync/Archive.h"
#include "sync/SyncBundle.h"
#include "platform/files/DataFile.h"
#include "ModelRig.h"

#include <QFile>
#include <gtest/gtest.h>
#include <memory>

namespace {

using namespace ModelRigs;

struct AppModelTest : InEnglish
{
};

TEST_F(AppModelTest, QuickRoundEndToEnd)
{
    Rig rig;
    rig.settings.setCalendarEnabled(true);
    rig.settings.setCalendarIdentifier(QStringLiteral("rounds"));
    AppModel &model = rig.build();
    const TodoItem task = rig.addTask(QStringLiteral("Write letters"));
    model.take(task);

    model.begin(Mode::quick);
    ASSERT_EQ(rig.engine().state(), RunState::running);
    EXPECT_EQ(rig.engine().taskTitle(), QStringLiteral("Write letters"));
    rig.center.answerAuthorization(true);
    ASSERT_TRUE(rig.notifier.authorized());
    EXPECT_TRUE(rig.ambience.isPlaying());
    ASSERT_TRUE(model.scheduledEnd());
    EXPECT_TRUE(rig.pendingIDs().contains(Notifier::kPhaseEnd));

    rig.finishPhase(); // focus ends, the walking break begins
    rig.clock.advance(0);
    ASSERT_EQ(rig.store.records().size(), 1);
    const SessionRecord focus = rig.store.records().first();
    EXPECT_EQ(focus.phase, Phase::focus);
    EXPECT_EQ(focus.taskRef, task.ref);
    ASSERT_TRUE(focus.calendarEventID);
    ASSERT_EQ(rig.calendars.storedEvents().size(), 1);
    EXPECT_EQ(rig.calendars.storedEvents().first().calendarId, QStringLiteral("rounds"));
    EXPECT_EQ(model.lastRunEnded(), focus.end);

    // The task's notes carry the day's progress line.
    const std::optional<LocalTask> stored = rig.local.task(QUuid::fromString(task.ref.id));
    ASSERT_TRUE(stored && stored->notes);
    EXPECT_TRUE(stored->notes->contains(QStringLiteral("⏱"))) << stored->notes->toStdString();
    // The file holds the record.
    QFile file(rig.store.filePath());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().contains(focus.id.toString(QUuid::WithoutBraces).toUpper().toUtf8()));

    EXPECT_EQ(rig.engine().phase(), Phase::shortBreak);
    EXPECT_FALSE(rig.ambience.isPlaying()); // the ambience follows the run

    rig.finishPhase(); // the walking break ends the run
    EXPECT_EQ(rig.engine().state(), RunState::finished);
    EXPECT_EQ(rig.bells, (QList<ChimeBell>{ChimeBell::temple, ChimeBell::temple, ChimeBell::small}));
    // The walk's end is the run's end: the run's notice tells it.
    EXPECT_EQ(rig.onScreen(), (QStringList{QStringLiteral("Ichiza finished / You spent 25 min with it.")}));
    EXPECT_FALSE(model.scheduledEnd());
    EXPECT_FALSE(rig.pendingIDs().contains(Notifier::kPhaseEnd));
    EXPECT_EQ(model.menuBarTitle(), QStringLiteral("◯ Done"));
    // Breaks are kept in the history but not sent to the calendar.
    EXPECT_EQ(rig.store.records().size(), 2);
    EXPECT_EQ(rig.calendars.storedEvents().size(), 1);
}

TEST_F(AppModelTest, EachEndingShowsOneNoticeAndOnlyAWalkAheadSendsTheUserWalking)
{
    const QString walk = QStringLiteral("Savor finished / A sit has ended. Stand, and walk a little.");
    {
        SCOPED_TRACE("Shōza: one sit, no walk");
        Rig rig;
        AppModel &model = rig.build();
        model.begin(Mode::chore);
        rig.center.answerAuthorization(true);
        const qsizetype bells = rig.bells.size();
        rig.finishPhase();
        ASSERT_EQ(rig.engine().state(), RunState::finished);
        EXPECT_EQ(rig.onScreen(), (QStringList{QStringLiteral("Shōza finished / You spent 10 min with it.")}));
        EXPECT_FALSE(rig.shownSoFar().contains(walk)) << rig.shownSoFar().join(u'\n').toStdString();
        EXPECT_EQ(rig.bells.size(), bells + 1) << "the bell still rings";
    }
    {
        SCOPED_TRACE("Ninnun: ended by the user");
        Rig rig;
        AppModel &model = rig.build();
        model.begin(Mode::open);
        rig.center.answerAuthorization(true);
        rig.clock.advance(120 * 1000);
        rig.engine().finishPhase(true);
        rig.clock.advance(0);
        EXPECT_EQ(rig.onScreen(), (QStringList{QStringLiteral("Ninnun finished / You spent 2 min with it.")}));
        EXPECT_FALSE(rig.shownSoFar().contains(walk));
    }
    {
        SCOPED_TRACE("Ichiza: a sit, then a walk");
        Rig rig;
        AppModel &model = rig.build();
        model.begin(Mode::quick);
        rig.center.answerAuthorization(true);
        rig.finishPhase();
        ASSERT_EQ(rig.engine().phase(), Phase::shortBreak);
        // The walk prompt takes the place of the phase-end notice due then.
        EXPECT_EQ(rig.onScreen(), (QStringList{walk}));
        EXPECT_TRUE(rig.pendingIDs().contains(Notifier::kPhaseEnd)) << "the walk's own end is scheduled";
    }
}

TEST_F(AppModelTest, BreaksReachTheCalendarOnlyWhenAsked)
{
    for (bool recordBreaks : {false, true}) {
        SCOPED_TRACE(recordBreaks);
        Rig rig;
        rig.settings.setCalendarEnabled(true);
        rig.settings.setRecordBreaks(recordBreaks);
        rig.build().begin(Mode::quick);
        rig.finishPhase();
        rig.finishPhase();
        EXPECT_EQ(rig.store.records().size(), 2);
        EXPECT_EQ(rig.calendars.storedEvents().size(), recordBreaks ? 2 : 1);
        EXPECT_EQ(rig.store.records().last().calendarEventID.has_value(), recordBreaks);
    }
}

TEST_F(AppModelTest, MissingCalendarAccessWarnsOnce)
{
    Rig rig;
    rig.calendars.setAuthorization(CalendarAccess::Denied);
    rig.settings.setCalendarEnabled(true);
    AppModel &model = rig.build();
    model.begin(Mode::quick);
    rig.finishPhase();
    EXPECT_EQ(model.notice(), QStringLiteral("Couldn’t write to the calendar — access isn’t allowed. You can allow "
                                             "it in Settings."));
    model.setNotice(std::nullopt);
    rig.finishPhase();
    EXPECT_FALSE(model.notice());
    EXPECT_EQ(rig.store.records().size(), 2);
}

TEST_F(AppModelTest, PreparationStepsAndTheirBells)
{
    Rig rig;
    rig.settings.setPrepares(true);
    AppModel &model = rig.build();
    model.begin(Mode::hour);
    using P = AppModel::Preparing;
    EXPECT_EQ(model.preparing(), (P{Mode::hour, Preparation::body}));
    EXPECT_EQ(rig.bells, QList<ChimeBell>{ChimeBell::temple});
    rig.clock.advance(3999);
    EXPECT_EQ(model.preparing(), (P{Mode::hour, Preparation::body}));
    rig.clock.advance(1);
    EXPECT_EQ(model.preparing(), (P{Mode::hour, Preparation::breath}));
    rig.clock.advance(5999);
    EXPECT_EQ(model.preparing()->step, Preparation::breath);
    rig.clock.advance(1);
    EXPECT_EQ(model.preparing(), (P{Mode::hour, Preparation::mind}));
    EXPECT_EQ(rig.bells, (QList<ChimeBell>{ChimeBell::temple, ChimeBell::inkin, ChimeBell::inkin}));
    EXPECT_EQ(rig.engine().state(), RunState::idle);
    rig.clock.advance(4000);
    EXPECT_FALSE(model.preparing());
    EXPECT_EQ(rig.engine().state(), RunState::running);
    EXPECT_EQ(rig.engine().mode(), Mode::hour);
    EXPECT_EQ(rig.bells.size(), 3); // no bell as the run begins
}

TEST_F(AppModelTest, PreparationFollowsTheLastRecordedPhaseBy300Seconds)
{
    // Gaps in milliseconds: a preparation only beyond 300 s, a fraction counting.
    for (qint64 gap : {300000, 300500, 301000}) {
        SCOPED_TRACE(gap);
        Rig rig;
        AppModel &model = rig.build();
        model.begin(Mode::quick);
        rig.clock.advance(60000);
        rig.engine().stop(); // records the partial phase
        ASSERT_TRUE(model.lastRunEnded());
        rig.settings.setPrepares(true);
        rig.clock.advance(gap);
        model.begin(Mode::hour);
        EXPECT_EQ(model.preparing().has_value(), gap > 300000);
        EXPECT_EQ(rig.engine().state() == RunState::running, gap == 300000);
    }
}

TEST_F(AppModelTest, SkipCancelAndANewBeginEndThePreparation)
{
    Rig rig;
    rig.settings.setPrepares(true);
    AppModel &model = rig.build();
    int begins = 0;
    QObject::connect(&rig.engine(), &PomodoroEngine::modeChanged, [&] { ++begins; });

    // Skipping during the breath step begins once; the woken flow begins nothing more.
    model.begin(Mode::hour);
    rig.clock.advance(5000);
    model.skipPreparation();
    EXPECT_EQ(rig.engine().mode(), Mode::hour);
    rig.clock.advance(20000);
    EXPECT_EQ(begins, 1);
    rig.engine().stop();

    // Cancelling keeps the engine as it is; a later beginRounds replaces the titles.
    rig.clock.advance(400000);
    model.beginRounds({QStringLiteral("old")});
    model.cancelPreparation();
    rig.clock.advance(20000);
    EXPECT_FALSE(model.preparing());
    EXPECT_EQ(rig.engine().state(), RunState::idle);
    model.beginRounds({QStringLiteral("  A "), QString(), QStringLiteral(" ")});
    model.skipPreparation();
    EXPECT_EQ(rig.engine().rounds(), QStringList{QStringLiteral("A")});
    const int bellsBefore = int(rig.bells.size());
    model.beginRounds({QStringLiteral(" "), QStringLiteral("\u3000")});
    EXPECT_EQ(rig.bells.size(), bellsBefore); // nothing begins, no bell
    rig.engine().stop();

    // A begin that needs no preparation abandons the one still running, so
    // the old preparation never starts a second run.
    rig.clock.advance(400000);
    model.begin(Mode::hour);
    ASSERT_TRUE(model.preparing());
    rig.settings.setPrepares(false);
    model.begin(Mode::quick);
    EXPECT_FALSE(model.preparing());
    EXPECT_EQ(rig.engine().mode(), Mode::quick);
    const int beginsNow = begins;
    rig.clock.advance(20000);
    EXPECT_EQ(rig.engine().mode(), Mode::quick);
    EXPECT_EQ(begins, beginsNow);
}

TEST_F(AppModelTest, TakingDwellingAndTheLinkedTask)
{
    Rig rig;
    AppModel &model = rig.build();
    const TodoItem a = rig.addTask(QStringLiteral("A"));
    rig.addTask(QStringLiteral("C"));
    model.setTab(RootTab::day);

    model.take(a);
    EXPECT_EQ(rig.hub->selected(), a);
    EXPECT_EQ(model.tab(), RootTab::pomodoro);

    // Only a trailing blank may differ between the title and the task.
    rig.engine().setTaskTitle(QStringLiteral("A "));
    EXPECT_EQ(model.linkedTask(), a);
    EXPECT_EQ(model.pausedHelp(), QStringLiteral("Let go = stop here for now  /  Mark done = finish this task"));
    rig.engine().setTaskTitle(QStringLiteral("a"));
    EXPECT_FALSE(model.linkedTask());
    EXPECT_EQ(model.pausedHelp(), QStringLiteral("Let go = stop here for now"));

    model.beginRounds({QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("A"), QStringLiteral("C")});
    EXPECT_EQ(model.roundsToDwell(), (QStringList{QStringLiteral("A"), QStringLiteral("C")}));

    // Taking a task while running changes only the title and the selection.
    const TodoItem c = rig.hub->items().last();
    model.take(c);
    EXPECT_EQ(rig.engine().state(), RunState::running);
    EXPECT_EQ(rig.engine().taskTitle(), QStringLiteral("C"));

    model.dwell(QStringLiteral("nothing like it"));
    EXPECT_EQ(rig.engine().state(), RunState::idle);
    EXPECT_FALSE(rig.hub->selected());
    EXPECT_EQ(rig.engine().taskTitle(), QStringLiteral("nothing like it"));

    model.dwell(QStringLiteral("A"));
    EXPECT_EQ(rig.hub->selected(), a);
}

TEST_F(AppModelTest, CompletingTheSelectedTask)
{
    Rig rig;
    AppModel &model = rig.build();
    const TodoItem a = rig.addTask(QStringLiteral("A"));
    model.take(a);
    rig.engine().setTaskTitle(QStringLiteral("something else")); // not the linked task any more
    model.completeSelectedTask();
    rig.clock.advance(0);
    EXPECT_EQ(model.notice(), QStringLiteral("Marked “A” as done."));
    EXPECT_FALSE(rig.hub->selected());
    EXPECT_TRUE(rig.local.task(QUuid::fromString(a.ref.id))->completedAt);

    // A task its source no longer knows cannot be completed.
    TodoItem ghost = a;
    ghost.ref.id = QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper();
    rig.hub->setSelected(ghost);
    model.completeSelectedTask();
    rig.clock.advance(0);
    EXPECT_EQ(model.notice(), QStringLiteral("Couldn’t mark it done."));
}

TEST_F(AppModelTest, PlanNoticesAndTheirTap)
{
    Rig rig(at(5, 8, 56));
    const LocalTask task = *rig.local.add(QStringLiteral("Letters"));
    DayPlan nine;
    nine.taskID = task.id;
    nine.title = QStringLiteral("Letters");
    nine.startMinutes = 9 * 60;
    nine.minutes = 30;
    DayPlan ten;
    ten.title = QStringLiteral("Walk");
    ten.startMinutes = 10 * 60;
    ten.minutes = 30;
    DayPlan untimed;
    untimed.title = QStringLiteral("Someday");
    untimed.timed = false;
    rig.days.replacePlans({nine, ten, untimed}, rig.clock.now());
    AppModel &model = rig.build();

    // 08:55 has passed: no advance notice for 9:00, but its arrival.
    ASSERT_EQ(model.planNotices().size(), 1);
    EXPECT_EQ(model.planNotices().first().planID, ten.id);
    EXPECT_EQ(model.planNotices().first().at, at(5, 9, 55));
    ASSERT_EQ(model.planArrivals().size(), 2);
    EXPECT_EQ(model.planArrivals().first().start, at(5, 9));
    const QString arrival = Notifier::kArrivalPrefix + nine.id.toString(QUuid::WithoutBraces).toUpper();
    EXPECT_TRUE(rig.pendingIDs().contains(arrival));

    // Turning the setting off withdraws both kinds; on brings them back.
    rig.settings.setPlanNotices(false);
    EXPECT_TRUE(model.planNotices().isEmpty());
    EXPECT_TRUE(model.planArrivals().isEmpty());
    EXPECT_FALSE(rig.pendingIDs().join(' ').contains(QStringLiteral("kiv.plan.")));
    rig.settings.setPlanNotices(true);
    EXPECT_EQ(rig.pendingIDs().filter(QStringLiteral("kiv.plan.")).size(), 3);

    // Nothing is scheduled while a run runs; they come back when it stops.
    model.begin(Mode::quick);
    EXPECT_TRUE(rig.pendingIDs().filter(QStringLiteral("kiv.plan.")).isEmpty());
    rig.engine().stop();
    EXPECT_EQ(rig.pendingIDs().filter(QStringLiteral("kiv.plan.")).size(), 3);

    // A day-note change recomputes them.
    rig.days.removePlan(ten.id, rig.clock.now());
    rig.clock.advance(0);
    EXPECT_EQ(model.planArrivals().size(), 1);

    // The tap takes the plan's task and shows the timer.
    model.setTab(RootTab::tasks);
    rig.clock.advance(4 * 60 * 1000);
    ASSERT_TRUE(rig.center.tap(arrival));
    EXPECT_EQ(model.tab(), RootTab::pomodoro);
    EXPECT_EQ(rig.engine().taskTitle(), QStringLiteral("Letters"));
    ASSERT_TRUE(rig.hub->selected());
    EXPECT_EQ(rig.hub->selected()->ref.id, task.id.toString(QUuid::WithoutBraces).toUpper());

    // A key that is no day, or a plan that is gone, changes nothing.
    rig.engine().setTaskTitle(QString());
    model.takePlan(nine.id, QStringLiteral("yesterday"));
    model.takePlan(QUuid::createUuid(), QStringLiteral("2025-03-05"));
    EXPECT_EQ(rig.engine().taskTitle(), QString());
}

TEST_F(AppModelTest, DayPromptsFollowTheirSettings)
{
    Rig rig;
    rig.build();
    EXPECT_FALSE(rig.pendingIDs().contains(Notifier::kMorning));
    rig.settings.setDayPrompts(true);
    EXPECT_TRUE(rig.pendingIDs().contains(Notifier::kMorning));
    EXPECT_TRUE(rig.pendingIDs().contains(Notifier::kEvening));
    rig.settings.setDayPrompts(false);
    EXPECT_FALSE(rig.pendingIDs().contains(Notifier::kEvening));
}

TEST_F(AppModelTest, MenuBarTitles)
{
    Rig rig;
    AppModel &model = rig.build();
    EXPECT_EQ(model.menuBarTitle(), QStringLiteral("◯"));

    model.begin(Mode::hour);
    rig.clock.advance(qint64(rig.engine().remaining() * 1000) - 61500); // 61.5 s left
    rig.clock.advance(250);
    struct Case
    {
        bool seconds;
        QString text;
    };
    for (const Case &c : {Case{true, QStringLiteral("◯ 01:02")}, Case{false, QStringLiteral("◯ 1 min")}}) {
        rig.settings.setShowSecondsInMenuBar(c.seconds);
        EXPECT_EQ(model.menuBarTitle(), c.text);
    }
    rig.finishPhase();
    rig.clock.advance(250);
    rig.engine().pause();
    rig.settings.setShowSecondsInMenuBar(true);
    const double left = rig.engine().remaining();
    EXPECT_EQ(model.menuBarTitle(), QStringLiteral("· %1:%2 ⏸")
                                        .arg(int(std::ceil(left)) / 60, 2, 10, QLatin1Char('0'))
                                        .arg(int(std::ceil(left)) % 60, 2, 10, QLatin1Char('0')));
    EXPECT_FALSE(model.scheduledEnd()); // pausing withdraws the phase-end notice
    EXPECT_FALSE(rig.pendingIDs().contains(Notifier::kPhaseEnd));
}

TEST_F(AppModelTest, ImportingAnArchiveTellsWhatIsThereNowOrWhyNot)
{
    Rig rig;
    AppModel &model = rig.build();
    SyncBundle file;
    file.device = QStringLiteral("Beta");
    file.savedAt = rig.clock.now();
    SessionRecord sat;
    sat.id = QUuid::createUuid();
    sat.title = QStringLiteral("Letters");
    sat.start = rig.clock.now().addSecs(-3600);
    sat.end = sat.start.addSecs(1500);
    file.records = {sat};
    LocalTask kept, deleted;
    kept.id = QUuid::createUuid();
    kept.title = QStringLiteral("Sweep the hall");
    kept.createdAt = kept.updatedAt = rig.clock.now();
    deleted = kept;
    deleted.id = QUuid::createUuid();
    deleted.title = QStringLiteral("Gone");
    deleted.deletedAt = rig.clock.now();
    file.tasks = {kept, deleted};
    auto write = [&](const QString &name, const QByteArray &bytes) {
        const QString path = rig.dirs.root() + QLatin1Char('/') + name;
        EXPECT_TRUE(DataFile::writeAtomically(path, bytes));
        return path;
    };

    EXPECT_TRUE(model.importArchive(write(QStringLiteral("export.json"), *file.encode())));
    EXPECT_EQ(model.notice(), QStringLiteral("Now 1 record · 1 task and practices · 0 days."));
    ASSERT_EQ(rig.hub->items().size(), 1) << "the merged task shows at once";
    EXPECT_EQ(rig.hub->items().first().title, QStringLiteral("Sweep the hall"));

    const QList<SessionRecord> records = rig.store.allRecords();
    file.version = 2;
    EXPECT_FALSE(model.importArchive(write(QStringLiteral("newer.json"), *file.encode())));
    EXPECT_EQ(model.notice(), QStringLiteral("The data there is in a newer format. Please update the app."));

    QFile huge(rig.dirs.root() + QStringLiteral("/huge.json"));
    ASSERT_TRUE(huge.open(QIODevice::WriteOnly) && huge.resize(Archive::maxImportBytes + 1));
    huge.close();
    EXPECT_FALSE(model.importArchive(huge.fileName()));
    EXPECT_EQ(model.notice(), QStringLiteral("Files larger than 64 MB can’t be imported."));
    EXPECT_EQ(rig.store.allRecords(), records);
}

TEST_F(AppModelTest, NoticeClearsAfterFourSecondsUnlessReplaced)
{
    Rig rig;
    AppModel &model = rig.build();

    model.showNotice(QStringLiteral("one"));
    rig.clock.advance(3999);
    EXPECT_EQ(model.notice(), QStringLiteral("one"));
    rig.clock.advance(1);
    EXPECT_FALSE(model.notice());

    model.showNotice(QStringLiteral("one"));
    rig.clock.advance(2000);
    model.showNotice(QStringLiteral("two")); // stays its full 4 s
    rig.clock.advance(3000);
    EXPECT_EQ(model.notice(), QStringLiteral("two"));
    rig.clock.advance(1000);
    EXPECT_FALSE(model.notice());

    model.showNotice(QStringLiteral("same"));
    rig.clock.advance(3000);
    model.showNotice(QStringLiteral("same")); // cleared by the first showing
    rig.clock.advance(1000);
    EXPECT_FALSE(model.notice());
}

TEST_F(AppModelTest, PreviewGivesTheAmbienceBackToTheSitting)
{
    for (bool byHand : {true, false}) {
        SCOPED_TRACE(byHand);
        Rig rig;
        AppModel &model = rig.build();
        model.begin(Mode::hour);
        ASSERT_TRUE(rig.ambience.isPlaying());
        rig.settings.setAmbienceScene(QStringLiteral("rain"));
        model.previewAmbience();
        EXPECT_TRUE(model.previewingAmbience());
        EXPECT_EQ(rig.ambience.currentScene(), AmbienceScene::rain);
        if (byHand)
            model.previewAmbience();
        else
            rig.clock.advance(14000);
        EXPECT_FALSE(model.previewingAmbience());
        EXPECT_TRUE(rig.ambience.isPlaying());
        rig.clock.advance(10000);
        EXPECT_TRUE(rig.ambience.isPlaying());
    }

    Rig idle;
    AppModel &model = idle.build();
    idle.settings.setAmbienceScene(QStringLiteral("silent"));
    model.previewAmbience();
    EXPECT_FALSE(model.previewingAmbience());
    EXPECT_FALSE(idle.ambience.isPlaying());
    idle.settings.setAmbienceScene(QStringLiteral("wind"));
    model.previewAmbience();
    idle.clock.advance(14000);
    EXPECT_FALSE(model.previewingAmbience());
    EXPECT_FALSE(idle.ambience.isPlaying()); // no sitting to give it back to
}

TEST_F(AppModelTest, StartTabStartModeAndSweepDayNotice)
{
    {
        Rig rig(at(14, 9));
        rig.prefs.setValue(QStringLiteral("startTab"), QStringLiteral("tasks"));
        rig.prefs.setValue(QStringLiteral("startMode"), QStringLiteral("quick"));
        rig.local.add(QStringLiteral("old task"));
        AppModel &model = rig.build();
        EXPECT_EQ(model.tab(), RootTab::tasks);
        EXPECT_EQ(rig.engine().state(), RunState::running);
        EXPECT_EQ(rig.engine().mode(), Mode::quick);
        EXPECT_FALSE(model.preparing());
        EXPECT_TRUE(rig.bells.isEmpty());
        EXPECT_FALSE(model.notice());
        rig.clock.advance(1000);
        EXPECT_EQ(model.notice(), QStringLiteral("Today is Shikunichi — a day to clear your tasks."));
    }
    for (const QDateTime &start : {at(15, 9), at(9, 9)}) {
        Rig rig(start);
        rig.prefs.setValue(QStringLiteral("startTab"), QStringLiteral("garden"));
        rig.prefs.setValue(QStringLiteral("startMode"), QStringLiteral("nap"));
        rig.local.add(QStringLiteral("old task"));
        rig.days.markSwept(start, start);
        AppModel &model = rig.build();
        EXPECT_EQ(model.tab(), RootTab::pomodoro);
        EXPECT_EQ(rig.engine().state(), RunState::idle);
        rig.clock.advance(2000);
        EXPECT_FALSE(model.notice());
    }
}

} // namespace
