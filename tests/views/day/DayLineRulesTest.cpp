#include "views/ViewTest.h"

#include "views/day/DayItemTexts.h"
#include "views/day/DayLineRules.h"
#include "views/day/PlacePickerRules.h"
#include "views/day/SlotRow.h"

#include <gtest/gtest.h>

namespace {

using DayLine::Opening;

DayEvent event(int start, int minutes, const QString &title = QStringLiteral("e"))
{
    DayEvent e;
    e.id = title + QString::number(start);
    e.title = title;
    e.startMinutes = start;
    e.minutes = minutes;
    return e;
}

struct DayLineRulesTest : ViewTest
{
};

TEST_F(DayLineRulesTest, OpeningsOfEachHalf)
{
    struct Case
    {
        const char *name;
        QList<DayEvent> events;
        int hour;
        std::optional<Opening> upper, lower;
    };
    const Case cases[] = {
        {"an empty hour runs to the end of the day", {}, 9, Opening{540, 900}, Opening{570, 870}},
        {"9:00–9:05 leaves the upper half nothing", {event(540, 5)}, 9, std::nullopt, Opening{570, 870}},
        {"9:10–9:50: ten minutes, then 9:50 by fives", {event(550, 40)}, 9, Opening{540, 10}, Opening{590, 850}},
        {"a free stretch under ten minutes is never offered", {event(548, 82)}, 9, std::nullopt, std::nullopt},
        {"9:45–11:30 skipped in the 10 o'clock row", {event(585, 105)}, 10, std::nullopt, std::nullopt},
        {"an hour packed with short events offers nothing",
         {event(600, 7), event(607, 7), event(614, 7), event(621, 7), event(628, 7), event(635, 7), event(642, 7),
          event(649, 7), event(656, 7)},
         10, std::nullopt, std::nullopt},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const SlotRowModel r = DayLineRules::row(c.hour, c.events, {}, {}, {}, false, 0);
        EXPECT_EQ(r.openingOf(true), c.upper);
        EXPECT_EQ(r.openingOf(false), c.lower);
    }
}

TEST_F(DayLineRulesTest, EntriesBelongToTheHourTheyBeginIn)
{
    DayDeed own{QUuid::createUuid(), QStringLiteral("own"), 480, 25, true, false, true};
    DayDeed copy{QUuid::createUuid(), QStringLiteral("copy"), 480, 25, true, true, false};
    const QList<SlotRowModel> rows =
        DayLineRules::rows({event(585, 105)}, {}, {own}, {copy}, true, 10 * 60 + 45);
    EXPECT_EQ(rows[9].events.size(), 1);
    EXPECT_TRUE(rows[10].events.isEmpty());
    EXPECT_TRUE(rows[10].busy) << "a stretch running on marks the later hours busy";
    EXPECT_EQ(rows[10].plannedSpans, (QList<DayLine::Span>{{0, 1}}));
    EXPECT_EQ(rows[11].plannedSpans, (QList<DayLine::Span>{{0, 0.5}}));
    ASSERT_EQ(rows[8].deeds.size(), 2);
    EXPECT_EQ(rows[8].deeds[0].title, QStringLiteral("own")) << "own deeds before calendar copies";
    EXPECT_TRUE(rows[10].isNow);
    EXPECT_DOUBLE_EQ(rows[10].nowFraction, 0.75);
    EXPECT_FALSE(rows[9].isNow);
    EXPECT_FALSE(DayLineRules::rows({}, {}, {}, {}, false, 645)[10].isNow) << "only today has a now line";
}

TEST_F(DayLineRulesTest, DroppedTextsYieldTheirUUIDs)
{
    const QUuid a = QUuid::createUuid(), b = QUuid::createUuid();
    EXPECT_TRUE(SlotRow::droppedIDs({QStringLiteral("plain text")}).isEmpty());
    EXPECT_EQ(SlotRow::droppedIDs({QStringLiteral("x"), a.toString(QUuid::WithoutBraces), b.toString()}),
              (QList<QUuid>{a, b}));
}

TEST_F(DayLineRulesTest, MetaLines)
{
    DayPlan daily;
    daily.isDaily = true;
    daily.timed = false;
    daily.minutes = 30;
    DayPlan task;
    task.startMinutes = 545;
    task.minutes = 45;
    EXPECT_EQ(DayItemTexts::plan(daily), QStringLiteral("予定　行持　時刻はまだ　30分"));
    EXPECT_EQ(DayItemTexts::plan(task), QStringLiteral("予定　作務　9:05　45分"));
    task.startMinutes = 1439;
    EXPECT_EQ(DayItemTexts::plan(task), QStringLiteral("予定　作務　23:59　45分"));
    Lang::setForTesting(false);
    EXPECT_EQ(DayItemTexts::plan(daily), QStringLiteral("Planned  Gyōji  No time yet  30 min"));
}

TEST_F(DayLineRulesTest, PickerStartsWhereTheGapAndTheTimeAllow)
{
    using PlacePickerRules::Choice;
    using PlacePickerRules::initial;
    EXPECT_EQ(initial({600, 60}, 617, false), (Choice{600, 30}));
    EXPECT_EQ(initial({540, 180}, 647, false), (Choice{630, 30}));
    EXPECT_EQ(initial({480, 60}, 617, false), (Choice{535, 5}));
    EXPECT_EQ(initial({840, 20}, std::nullopt, false), (Choice{840, 20}));
    EXPECT_EQ(initial({480, 60}, 617, true), (Choice{480, 30})) << "a deed starts at the gap";
    EXPECT_EQ(PlacePickerRules::toPlan({480, 30}, {480, 60}, 617), (Choice{535, 5}));
    EXPECT_EQ(PlacePickerRules::toPlan({480, 30}, {480, 60}, std::nullopt), (Choice{480, 30}));
}

TEST_F(DayLineRulesTest, TasksPlannedOnTheDayComeFirstAndUndatedOnesFold)
{
    const QDateTime now(QDate(2025, 3, 5), QTime(9, 0));
    LocalTask dated = LocalTask::create(QStringLiteral("dated"), now.addDays(2));
    LocalTask undated = LocalTask::create(QStringLiteral("undated"));
    LocalTask planned = LocalTask::create(QStringLiteral("planned"));
    LocalTask overdue = LocalTask::create(QStringLiteral("overdue"), now.addDays(-3));
    const QList<LocalTask> open{undated, planned, dated, overdue};

    const QList<LocalTask> none = PlacePickerRules::samu(open, {}, now);
    ASSERT_EQ(none.size(), 4);
    EXPECT_EQ(none[0].title, QStringLiteral("overdue"));
    EXPECT_EQ(none[1].title, QStringLiteral("dated"));

    const QList<LocalTask> samu = PlacePickerRules::samu(open, {planned.id}, now);
    ASSERT_EQ(samu.size(), 4);
    EXPECT_EQ(samu[0].title, QStringLiteral("planned"));
    const PlacePickerRules::Split split = PlacePickerRules::split(samu, {planned.id});
    QStringList shown, folded;
    for (const LocalTask &t : split.shown)
        shown << t.title;
    for (const LocalTask &t : split.folded)
        folded << t.title;
    EXPECT_EQ(shown, (QStringList{"planned", "overdue", "dated"}));
    EXPECT_EQ(folded, QStringList{"undated"});

    const PlacePickerRules::Split allUndated = PlacePickerRules::split({undated, planned}, {});
    EXPECT_EQ(allUndated.shown.size(), 2) << "nothing is folded when nothing would show";
    EXPECT_TRUE(allUndated.folded.isEmpty());
}

} // namespace
