#include "model/ModelRig.h"
#include "support/LanguageFixtures.h"
#include "views/timer/TaskChooserList.h"

#include <gtest/gtest.h>

namespace {

using namespace ModelRigs;

struct TaskChooserListTest : InEnglish
{
    // "# Samu", "Letters", "Overdue!" (overdue), "> No date  2" / "v No date  2" (fold).
    static QStringList lines(const TaskChooserList &list, bool open, const QDateTime &now)
    {
        QStringList out;
        for (const TaskChooserList::Row &row : list.rows(open, now)) {
            switch (row.kind) {
            case TaskChooserList::Row::Kind::header:
                out << QStringLiteral("# ") + row.header;
                break;
            case TaskChooserList::Row::Kind::task:
                out << row.item.title + (row.overdue ? QStringLiteral("!") : QString());
                break;
            case TaskChooserList::Row::Kind::fold:
                out << (row.fold.open ? QStringLiteral("v ") : QStringLiteral("> ")) + row.fold.text;
                break;
            }
        }
        return out;
    }
};

TEST_F(TaskChooserListTest, DatedFirstUndatedBehindTheFoldThenPractices)
{
    Rig rig(at(5, 9));
    AppModel &model = rig.build();
    const QDateTime now = rig.clock.now();
    auto list = [&] { return TaskChooserList::of(model.taskHub()); };

    EXPECT_TRUE(list().isEmpty());
    EXPECT_TRUE(list().rows(true, now).isEmpty());

    // Only undated tasks: all listed openly, no fold.
    rig.local.add(QStringLiteral("Letters"));
    rig.local.add(QStringLiteral("Garden"));
    rig.hub->reload();
    EXPECT_FALSE(list().isEmpty());
    EXPECT_EQ(lines(list(), false, now), QStringList({"# Samu", "Garden", "Letters"}));

    // Dated ones come first; a task due later today is not overdue.
    rig.local.add(QStringLiteral("Tax"), at(4, 9));
    rig.local.add(QStringLiteral("Call"), at(5, 18));
    const LocalTask practice = *rig.local.add(QStringLiteral("Sweep"));
    rig.local.setDaily(practice.id, true);
    rig.hub->reload();
    EXPECT_EQ(lines(list(), false, now), QStringList({"# Samu", "Tax!", "Call", "> No date  2", "# Gyōji", "Sweep"}));
    EXPECT_EQ(lines(list(), true, now),
              QStringList({"# Samu", "Tax!", "Call", "v No date  2", "Garden", "Letters", "# Gyōji", "Sweep"}));

    Lang::setForTesting(true);
    EXPECT_EQ(lines(list(), false, now), QStringList({"# 作務", "Tax!", "Call", "> 日を決めない　2", "# 行持", "Sweep"}));
}

TEST_F(TaskChooserListTest, EveryTaskDatedOrOnlyPractices)
{
    const QDateTime now = at(5, 9);
    TodoItem dated;
    dated.title = QStringLiteral("Tax");
    dated.due = at(6, 9);
    TodoItem practice;
    practice.title = QStringLiteral("Sweep");

    TaskChooserList all = TaskChooserList::of({dated}, {});
    EXPECT_TRUE(all.folded.isEmpty());
    EXPECT_EQ(lines(all, true, now), QStringList({"# Samu", "Tax"}));

    TaskChooserList shelf = TaskChooserList::of({}, {practice});
    EXPECT_FALSE(shelf.isEmpty());
    EXPECT_EQ(lines(shelf, false, now), QStringList({"# Gyōji", "Sweep"}));

    // Overdue is decided by the day, not the hour.
    TodoItem lateYesterday = dated;
    lateYesterday.due = QDateTime(QDate(2025, 3, 4), QTime(23, 59));
    TodoItem earlyToday = dated;
    earlyToday.due = QDateTime(QDate(2025, 3, 5), QTime(0, 0));
    EXPECT_TRUE(TaskChooserList::isOverdue(lateYesterday, now));
    EXPECT_FALSE(TaskChooserList::isOverdue(earlyToday, now));
    EXPECT_FALSE(TaskChooserList::isOverdue(practice, now));
}

} // namespace
