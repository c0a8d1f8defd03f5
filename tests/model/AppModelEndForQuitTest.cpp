// The program ending while a round runs: the round so far is recorded as
// letting it go records it, on disk and in its task, before anything else
// gets a turn (the program will not give it one).
#include "core/PomodoroEngine.h"
#include "model/AppModel.h"
#include "stores/LocalTaskStore.h"
#include "stores/SessionStore.h"
#include "sources/TaskHub.h"
#include "support/LanguageFixtures.h"
#include "ModelRig.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

namespace {

using namespace ModelRigs;

struct AppModelEndForQuitTest : InEnglish
{
};

TEST_F(AppModelEndForQuitTest, ARoundUnderWayIsRecordedSavedAndWrittenToItsTaskAtOnce)
{
    Rig rig;
    rig.settings.setCalendarEnabled(true);
    rig.settings.setCalendarIdentifier(QStringLiteral("rounds"));
    AppModel &model = rig.build();
    const TodoItem task = rig.addTask(QStringLiteral("Write letters"));
    model.take(task);
    model.begin(Mode::chore);
    const QDateTime began = rig.clock.now();
    rig.clock.advance(7 * 60 * 1000); // of its 10 minutes

    model.endForQuit(); // no event is processed after this
    const QList<SessionRecord> saved = SessionStore(rig.dirs.dataDir()).records();
    ASSERT_EQ(saved.size(), 1);
    EXPECT_EQ(saved[0].phase, Phase::focus);
    EXPECT_FALSE(saved[0].completed);
    EXPECT_EQ(saved[0].start, began);
    EXPECT_EQ(saved[0].end, began.addSecs(7 * 60));
    EXPECT_EQ(saved[0].taskRef, task.ref);
    EXPECT_TRUE(saved[0].calendarEventID) << "the calendar has it too";
    const std::optional<LocalTask> written =
        LocalTaskStore(rig.dirs.dataDir()).task(QUuid::fromString(task.ref.id));
    ASSERT_TRUE(written && written->notes);
    EXPECT_TRUE(written->notes->contains(QStringLiteral("2025-03-05 集中1回 7分"))) << written->notes->toStdString();
    EXPECT_FALSE(rig.engine().mode());

    // Asked again (the exit handler after aboutToQuit): nothing more.
    model.endForQuit();
    EXPECT_EQ(SessionStore(rig.dirs.dataDir()).records().size(), 1);
}

// From the exit handler, with the screens past use: the files get the round,
// and nothing that a screen listens to says a word.
TEST_F(AppModelEndForQuitTest, QuietlyTheFilesGetTheRoundAndNoScreenHearsOfIt)
{
    Rig rig;
    AppModel &model = rig.build();
    const TodoItem task = rig.addTask(QStringLiteral("Write letters"));
    model.take(task);
    model.begin(Mode::chore);
    rig.clock.advance(3 * 60 * 1000);
    QSignalSpy engine(&rig.engine(), &PomodoroEngine::modeChanged);
    QSignalSpy history(&rig.store, &StoreBase::changed);
    QSignalSpy tasks(&rig.local, &StoreBase::changed);
    QSignalSpy hub(rig.hub.get(), &TaskHub::itemsChanged);

    model.endForQuit(AppModel::Ending::quietly);
    ASSERT_EQ(SessionStore(rig.dirs.dataDir()).records().size(), 1);
    const std::optional<LocalTask> written =
        LocalTaskStore(rig.dirs.dataDir()).task(QUuid::fromString(task.ref.id));
    ASSERT_TRUE(written && written->notes);
    EXPECT_TRUE(written->notes->contains(QStringLiteral("集中1回 3分"))) << written->notes->toStdString();
    EXPECT_TRUE(engine.isEmpty());
    EXPECT_TRUE(history.isEmpty());
    EXPECT_TRUE(tasks.isEmpty());
    EXPECT_TRUE(hub.isEmpty());
    // Signals flow again afterwards (the blockers are gone).
    model.begin(Mode::quick);
    EXPECT_FALSE(engine.isEmpty());
}

TEST_F(AppModelEndForQuitTest, NothingIsRecordedWithoutWorkedTime)
{
    struct Case
    {
        const char *name;
        std::function<void(Rig &, AppModel &)> before;
    };
    const Case cases[] = {
        {"no run", [](Rig &, AppModel &) {}},
        {"a preparation", [](Rig &rig, AppModel &model) {
             rig.settings.setPrepares(true);
             model.begin(Mode::quick);
             ASSERT_TRUE(model.preparing());
         }},
        {"under a second", [](Rig &rig, AppModel &model) {
             model.begin(Mode::quick);
             rig.clock.advance(900);
         }},
        {"a finished run", [](Rig &rig, AppModel &model) {
             model.begin(Mode::quick);
             rig.finishPhase();
             rig.finishPhase();
             ASSERT_EQ(rig.engine().state(), RunState::finished);
         }},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        Rig rig;
        AppModel &model = rig.build();
        c.before(rig, model);
        const qsizetype before = rig.store.allRecords().size();
        model.endForQuit();
        EXPECT_EQ(rig.store.allRecords().size(), before);
        EXPECT_FALSE(model.preparing());
        // A preparation's timer never begins a run after the end.
        rig.clock.advance(60 * 1000);
        EXPECT_NE(rig.engine().state(), RunState::running);
    }
}

} // namespace
