#include "ModelRig.h"

#include "support/LanguageFixtures.h"

#include <gtest/gtest.h>

namespace {

using namespace ModelRigs;
using Step = AppModel::SweepStep;

struct AppModelSweepTest : InEnglish
{
};

// Adds a task last touched the given number of days before the rig's start.
LocalTask oldTask(Rig &rig, const QString &title, int daysAgo)
{
    LocalTask task = *rig.local.add(title);
    QList<LocalTask> all = rig.local.allTasks();
    for (LocalTask &t : all)
        if (t.id == task.id) {
            t.createdAt = t.updatedAt = rig.clock.now().addDays(-daysAgo);
            task = t;
        }
    rig.local.setAllTasks(all);
    rig.local.save();
    return task;
}

TEST_F(AppModelSweepTest, StepsFollowTheNumberOfQuietTasks)
{
    struct Case
    {
        Step step;
        int targets;
        Step next;
    };
    const Case cases[] = {
        {Step::opening(), 0, Step::looking()},   {Step::looking(), 0, Step::tidying()},
        {Step::looking(), 3, Step::asking(0)},   {Step::asking(1), 3, Step::asking(2)},
        {Step::asking(2), 3, Step::tidying()},   {Step::tidying(), 3, Step::resting()},
        {Step::resting(), 0, Step::standing()},  {Step::standing(), 0, Step::standing()},
    };
    for (const Case &c : cases)
        EXPECT_EQ(Step::following(c.step, c.targets), c.next) << int(c.step.kind) << " " << c.step.index;
    EXPECT_NE(Step::asking(0), Step::asking(1));
    EXPECT_EQ((Step{Step::Kind::tidying, 4}), Step::tidying());
}

TEST_F(AppModelSweepTest, AWalkWithoutQuietTasks)
{
    Rig rig(QDateTime(QDate(2025, 3, 14), QTime(9, 0)));
    rig.local.add(QStringLiteral("Fresh"));
    AppModel &model = rig.build();
    EXPECT_TRUE(model.needsSweep());
    EXPECT_TRUE(model.invitesShikunichi());

    model.beginSweep();
    EXPECT_EQ(model.tab(), RootTab::tasks);
    ASSERT_TRUE(model.sweeping());
    EXPECT_TRUE(model.sweeping()->targets.isEmpty());
    EXPECT_FALSE(model.invitesShikunichi()); // not while a sweep is under way
    model.answerSweep(true); // not an asking step: nothing
    EXPECT_EQ(model.sweeping()->step, Step::opening());

    model.endSweep(QStringLiteral("  Sit first \n"));
    EXPECT_FALSE(model.sweeping());
    EXPECT_EQ(rig.days.note(rig.clock.now()).guide, QStringLiteral("Sit first"));
    EXPECT_TRUE(rig.days.isSwept(rig.clock.now()));
    EXPECT_FALSE(model.needsSweep());
    EXPECT_FALSE(model.invitesShikunichi());
}

TEST_F(AppModelSweepTest, AWalkThroughSeveralQuietTasks)
{
    Rig rig(QDateTime(QDate(2025, 3, 19), QTime(9, 0)));
    const LocalTask oldest = oldTask(rig, QStringLiteral("Oldest"), 40);
    const LocalTask middle = oldTask(rig, QStringLiteral("Middle"), 20);
    const LocalTask newer = oldTask(rig, QStringLiteral("Newer"), 12);
    oldTask(rig, QStringLiteral("Fresh"), 2);
    rig.days.setGuide(QStringLiteral("Earlier guide"), rig.clock.now().addDays(-5));
    AppModel &model = rig.build();
    model.setTab(RootTab::day);

    model.beginSweep();
    EXPECT_EQ(model.tab(), RootTab::tasks);
    ASSERT_TRUE(model.sweeping());
    ASSERT_EQ(model.sweeping()->targets.size(), 3);
    EXPECT_EQ(model.sweeping()->targets.first().id, oldest.id);
    EXPECT_FALSE(model.sweepingTask());

    // The screen steps through the opening and the look-back.
    AppModel::Sweeping s = *model.sweeping();
    s.step = Step::following(Step::following(s.step, 3), 3);
    model.setSweeping(s);
    ASSERT_EQ(model.sweepingTask()->id, oldest.id);

    rig.clock.advance(60000);
    model.answerSweep(false); // put down
    EXPECT_EQ(model.sweeping()->step, Step::asking(1));
    EXPECT_EQ(rig.local.task(oldest.id)->abandonedAt, rig.clock.now());
    for (const TodoItem &item : rig.hub->items())
        EXPECT_NE(item.title, QStringLiteral("Oldest"));
    EXPECT_EQ(model.sweepingTask()->id, middle.id);
    model.answerSweep(true); // kept
    EXPECT_EQ(rig.local.task(middle.id)->reviewedAt, rig.clock.now());
    model.answerSweep(true);
    EXPECT_EQ(rig.local.task(newer.id)->reviewedAt, rig.clock.now());
    EXPECT_EQ(model.sweeping()->step, Step::tidying());
    model.answerSweep(false); // on tidying: nothing
    EXPECT_EQ(model.sweeping()->step, Step::tidying());
    EXPECT_FALSE(rig.local.task(newer.id)->abandonedAt);

    // Beginning again starts from the opening with fresh targets.
    model.beginSweep();
    EXPECT_EQ(model.sweeping()->step, Step::opening());
    EXPECT_TRUE(model.sweeping()->targets.isEmpty());

    // A blank guide leaves the earlier one; the day is swept.
    model.endSweep(QStringLiteral(" \u3000\n"));
    EXPECT_FALSE(rig.days.note(rig.clock.now()).guide);
    EXPECT_EQ(rig.days.lastGuide(rig.clock.now())->text, QStringLiteral("Earlier guide"));
    EXPECT_TRUE(rig.days.isSwept(rig.clock.now()));
}

TEST_F(AppModelSweepTest, TheDayPageInvitationOutsideSweepDays)
{
    struct Case
    {
        const char *name;
        std::optional<int> guideDaysAgo;
        bool invites;
    };
    // On the 16th the last sweep day was the 14th, the next is the 19th.
    for (const Case &c : {Case{"never a guide", std::nullopt, false}, Case{"current guide", 2, false},
                          Case{"lapsed guide", 8, true}}) {
        SCOPED_TRACE(c.name);
        Rig rig(QDateTime(QDate(2025, 3, 16), QTime(9, 0)));
        rig.local.add(QStringLiteral("Task"));
        if (c.guideDaysAgo)
            rig.days.setGuide(QStringLiteral("Walk"), rig.clock.now().addDays(-*c.guideDaysAgo));
        AppModel &model = rig.build();
        EXPECT_FALSE(model.needsSweep());
        EXPECT_EQ(model.invitesShikunichi(), c.invites);
    }
    // A sweep day with no tasks needs no sweep but still invites one.
    Rig empty(QDateTime(QDate(2025, 3, 24), QTime(9, 0)));
    AppModel &model = empty.build();
    EXPECT_FALSE(model.needsSweep());
    EXPECT_TRUE(model.invitesShikunichi());
}

TEST_F(AppModelSweepTest, LookbackCountsFocusSinceTheLastSweep)
{
    Rig rig(QDateTime(QDate(2025, 3, 19), QTime(20, 0)));
    rig.days.markSwept(QDateTime(QDate(2025, 3, 14), QTime(9, 0)), QDateTime(QDate(2025, 3, 14), QTime(9, 0)));
    for (int day : {13, 15, 18}) {
        SessionRecord r;
        r.title = QStringLiteral("Letters");
        r.start = QDateTime(QDate(2025, 3, day), QTime(9, 0));
        r.end = r.start.addSecs(25 * 60);
        rig.store.append(r);
    }
    AppModel &model = rig.build();
    const Lookback::Summary summary = model.lookback();
    EXPECT_EQ(summary.sessions, 2);
    EXPECT_EQ(summary.minutes, 50);
    EXPECT_EQ(summary.from, QDateTime(QDate(2025, 3, 15), QTime(0, 0)));
}

} // namespace
