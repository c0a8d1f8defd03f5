#include "ModelRig.h"
#include "core/TaskTitle.h"
#include "sound/AmbienceLibrary.h"
#include "sources/LocalTaskSource.h"
#include "support/LanguageFixtures.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>

// A task's title may carry blanks at its ends (a reminder, a synced task),
// while the round's title and the titles of a rounds run are kept trimmed.
// Every match between them compares both sides trimmed.

namespace {

using namespace ModelRigs;

struct TaskTitlesTest : InEnglish
{
    // Stores tasks under exactly these titles (the store's own add trims).
    static QList<TodoItem> storeTasks(Rig &rig, const QStringList &titles)
    {
        QList<LocalTask> tasks;
        for (const QString &title : titles)
            tasks << LocalTask::create(title);
        rig.local.setAllTasks(tasks);
        rig.hub->reload();
        return rig.hub->items();
    }
};

TEST(TaskTitle, SameWhenEqualOnceTrimmedOnBothSides)
{
    struct Case
    {
        const char *a;
        const char *b;
        bool same;
    };
    for (const Case &c : {Case{" Letters ", "Letters", true}, Case{"Letters", "\tLetters\n", true},
                          Case{"　Letters", "Letters ", true}, Case{"Letters", "letters", false},
                          Case{"Let ters", "Letters", false}, Case{"", "  ", true}}) {
        SCOPED_TRACE(c.a);
        EXPECT_EQ(TaskTitle::same(QString::fromUtf8(c.a), QString::fromUtf8(c.b)), c.same);
    }
}

TEST_F(TaskTitlesTest, TakenTaskIsLinkedCreditedAndMarkedDone)
{
    Rig rig;
    AppModel &model = rig.build();
    const TodoItem letters = storeTasks(rig, {QStringLiteral(" Letters ")}).first();
    ASSERT_EQ(letters.title, QStringLiteral(" Letters "));

    model.take(letters);
    EXPECT_EQ(model.linkedTask(), letters);
    EXPECT_EQ(model.pausedHelp(), QStringLiteral("Let go = stop here for now  /  Mark done = finish this task"));
    // The title as the user would type it again still links.
    rig.engine().setTaskTitle(QStringLiteral("Letters"));
    EXPECT_EQ(model.linkedTask(), letters);

    // The finished focus is credited to the task and its progress written back.
    model.begin(Mode::quick);
    rig.finishPhase();
    rig.clock.advance(0);
    ASSERT_EQ(rig.store.records().size(), 1);
    EXPECT_EQ(rig.store.records().first().taskRef, letters.ref);
    const std::optional<LocalTask> stored = rig.local.task(*LocalTaskSource::localId(letters.ref));
    ASSERT_TRUE(stored && stored->notes);
    EXPECT_TRUE(stored->notes->contains(QStringLiteral("⏱")));

    model.completeSelectedTask();
    rig.clock.advance(0);
    EXPECT_TRUE(rig.local.task(*LocalTaskSource::localId(letters.ref))->completedAt);
}

TEST_F(TaskTitlesTest, RoundsFindTheirTasksAtTheBreakAndAtTheEnd)
{
    Rig rig;
    AppModel &model = rig.build();
    const QList<TodoItem> items = storeTasks(rig, {QStringLiteral(" A "), QStringLiteral("B\n")});
    model.beginRounds({QStringLiteral(" A "), QStringLiteral("B\n")});
    ASSERT_EQ(rig.engine().rounds(), (QStringList{QStringLiteral("A"), QStringLiteral("B")}));

    // The rounds' own titles credit the round to the task, and dwelling on
    // one selects it.
    rig.finishPhase();
    rig.clock.advance(0);
    ASSERT_EQ(rig.store.records().size(), 1);
    ASSERT_EQ(rig.engine().lastRoundTitle(), QStringLiteral("A"));
    model.dwell(*rig.engine().lastRoundTitle());
    EXPECT_EQ(rig.hub->selected()->ref, items.at(0).ref);
    EXPECT_EQ(model.linkedTask()->ref, items.at(0).ref);

    // At the end of a run every round's task is offered again.
    model.beginRounds({QStringLiteral("A"), QStringLiteral("B")});
    for (int step = 0; step < 3; ++step)
        rig.finishPhase();
    ASSERT_EQ(rig.engine().state(), RunState::finished);
    EXPECT_EQ(model.roundsToDwell(), (QStringList{QStringLiteral("A"), QStringLiteral("B")}));
    model.dwell(QStringLiteral("B"));
    EXPECT_EQ(rig.hub->selected()->ref, items.at(1).ref);
}

TEST_F(TaskTitlesTest, AmbienceTitleNamesTheSoundThatPlays)
{
    Rig rig;
    AppModel &model = rig.build();
    const QString folder = AmbienceLibrary::folderPath();
    for (const char *name : {"rain.wav", "wind.wav"}) {
        QFile file(folder + QLatin1Char('/') + QLatin1String(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("x");
    }

    struct Case
    {
        QString scene;
        std::optional<QString> stored;
        QString title;
    };
    const QList<Case> cases = {
        {QStringLiteral("rain"), std::nullopt, QStringLiteral("Rain")},
        {QStringLiteral("custom"), QStringLiteral("wind"), QStringLiteral("wind")},
        // The chosen file is gone: the first of the library plays and is named.
        {QStringLiteral("custom"), QStringLiteral("gone"), QStringLiteral("rain")},
        {QStringLiteral("custom"), std::nullopt, QStringLiteral("rain")},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE((c.scene + QLatin1Char('/') + c.stored.value_or(QStringLiteral("-"))).toStdString());
        rig.settings.setAmbienceScene(c.scene);
        rig.settings.setCustomSoundName(c.stored);
        EXPECT_EQ(model.ambienceTitle(), c.title);
        if (c.scene == QLatin1String("custom")) {
            EXPECT_EQ(QFileInfo(rig.settings.customSoundURL()->toLocalFile()).completeBaseName(), c.title);
        }
    }

    // With the library emptied nothing plays.
    QDir(folder).removeRecursively();
    rig.settings.setCustomSoundName(QStringLiteral("wind"));
    EXPECT_EQ(model.ambienceTitle(), QStringLiteral("No sound chosen"));
}

struct PickerNoteTest : TaskTitlesTest
{
};

TEST_F(PickerNoteTest, DueDayThenFirstPlacedDayFromToday)
{
    Rig rig(at(5, 9)); // Wednesday 5 March 2025
    AppModel &model = rig.build();
    const QDateTime today = at(5, 9);
    const LocalTask due = *rig.local.add(QStringLiteral("Letters"), at(5, 18));
    for (int day : {4, 9, 6, 7})
        model.placeOnDay(due, at(day, 9));
    const LocalTask pastOnly = *rig.local.add(QStringLiteral("Old"));
    model.placeOnDay(pastOnly, at(3, 9));
    const LocalTask plain = *rig.local.add(QStringLiteral("Plain"));

    TodoItem reminder;
    reminder.ref = TaskRef{QStringLiteral("reminders"), QStringLiteral("r1"), QStringLiteral("list")};
    reminder.due = at(8, 9);
    TodoItem yesterday = reminder;
    yesterday.due = at(4, 9);
    // A local reference that names no stored task tells its due day only.
    TodoItem stray = LocalTaskSource::row(due);
    stray.ref.id = QStringLiteral("not-a-uuid");

    struct Case
    {
        const char *name;
        TodoItem item;
        std::optional<QString> english;
        std::optional<QString> japanese;
    };
    const QList<Case> cases = {
        {"due today, placed from tomorrow", LocalTaskSource::row(due), QStringLiteral("Due Today ・ Placed: Tomorrow"),
         QStringLiteral("今日まで ・ 明日に置いた")},
        {"placed only in the past", LocalTaskSource::row(pastOnly), std::nullopt, std::nullopt},
        {"neither", LocalTaskSource::row(plain), std::nullopt, std::nullopt},
        {"reminder due in three days", reminder, QStringLiteral("Due Mar 8"), QStringLiteral("3月8日まで")},
        {"due yesterday", yesterday, QStringLiteral("Due Mar 4"), QStringLiteral("3月4日まで")},
        {"stray local reference", stray, QStringLiteral("Due Today"), QStringLiteral("今日まで")},
    };
    for (bool japanese : {false, true}) {
        Lang::setForTesting(japanese);
        for (const Case &c : cases) {
            SCOPED_TRACE(c.name);
            EXPECT_EQ(model.pickerNote(c.item), japanese ? c.japanese : c.english);
        }
    }
    EXPECT_EQ(AppModel::nearDayLabel(today.addDays(1)), QStringLiteral("明日"));
}

} // namespace
