#include "views/daily/SweepFlow.h"

#include "core/L.h"
#include "stores/Totonoe.h"

#include <gtest/gtest.h>

namespace {

using Step = AppModel::SweepStep;
using Page = SweepFlow::Page;

SweepFlow::Sweeping sweep(Step step, int targets)
{
    AppModel::Sweeping s;
    s.step = step;
    for (int i = 0; i < targets; ++i)
        s.targets << LocalTask::create(QStringLiteral("task %1").arg(i));
    return s;
}

QDateTime dayOfYear(int ordinal)
{
    return QDateTime(QDate(2025, 1, 1).addDays(ordinal - 1), QTime(10, 0));
}

struct SweepFlowTest : ::testing::Test
{
    void SetUp() override { Lang::setForTesting(true); }
    void TearDown() override { Lang::setForTesting(std::nullopt); }
};

TEST_F(SweepFlowTest, StepsWalkForwardToTheGuideAndStayThere)
{
    struct Case
    {
        Step from;
        int targets;
        Step to;
        Page page; // the page of `to`
    };
    const Case cases[] = {
        {Step::opening(), 0, Step::looking(), Page::looking},
        {Step::looking(), 0, Step::tidying(), Page::tidying},
        {Step::looking(), 3, Step::asking(0), Page::asking},
        {Step::asking(1), 3, Step::asking(2), Page::asking},
        {Step::asking(2), 3, Step::tidying(), Page::tidying},
        {Step::tidying(), 3, Step::resting(), Page::resting},
        {Step::resting(), 0, Step::standing(), Page::standing},
        {Step::standing(), 0, Step::standing(), Page::standing},
    };
    for (const Case &c : cases) {
        const SweepFlow::Sweeping next = SweepFlow::advanced(sweep(c.from, c.targets));
        ASSERT_TRUE(next);
        EXPECT_EQ(next->step, c.to);
        EXPECT_EQ(next->targets.size(), c.targets) << "the quiet tasks stay";
        EXPECT_EQ(SweepFlow::pageOf(next), c.page);
    }
    EXPECT_FALSE(SweepFlow::advanced(std::nullopt));
    EXPECT_EQ(SweepFlow::pageOf(std::nullopt), Page::none);
    EXPECT_EQ(SweepFlow::pageOf(sweep(Step::opening(), 0)), Page::opening);
}

TEST_F(SweepFlowTest, TextsFollowTheQuietTasks)
{
    EXPECT_EQ(SweepFlow::countLine(sweep(Step::opening(), 0)), QStringLiteral("抱えているもので、払うものはありません"));
    EXPECT_EQ(SweepFlow::countLine(std::nullopt), QStringLiteral("抱えているもので、払うものはありません"));
    EXPECT_EQ(SweepFlow::countLine(sweep(Step::opening(), 3)), QStringLiteral("抱えているもの 3 件を、ひとつずつ"));
    EXPECT_EQ(SweepFlow::lookbackNext(sweep(Step::looking(), 0)), QStringLiteral("次へ"));
    EXPECT_EQ(SweepFlow::lookbackNext(sweep(Step::looking(), 2)), QStringLiteral("払いへ"));

    // The position keeps its total while tasks are answered; it is empty
    // outside a review and for an index beyond the tasks it still counts.
    EXPECT_EQ(SweepFlow::position(sweep(Step::asking(2), 7)), QStringLiteral("3 / 7"));
    EXPECT_EQ(SweepFlow::position(sweep(Step::tidying(), 7)), QString());
    EXPECT_EQ(SweepFlow::position(std::nullopt), QString());

    EXPECT_EQ(SweepFlow::heading(0), QStringLiteral("一 抱えているもの"));
    EXPECT_EQ(SweepFlow::heading(2), QStringLiteral("三 自分"));
    EXPECT_EQ(SweepFlow::heading(3), QString());

    EXPECT_EQ(SweepFlow::guideShown(QString()), QStringLiteral("\u3000"));
    EXPECT_EQ(SweepFlow::guideShown(QStringLiteral("歩く")), QStringLiteral("歩く"));

    Lang::setForTesting(false);
    EXPECT_EQ(SweepFlow::countLine(sweep(Step::opening(), 1)), QStringLiteral("1 thing you’re holding, one at a time"));
    EXPECT_EQ(SweepFlow::lookbackNext(sweep(Step::looking(), 1)), QStringLiteral("On to clearing"));
}

TEST_F(SweepFlowTest, BarsShareTheWidthAndNeverVanish)
{
    EXPECT_DOUBLE_EQ(SweepFlow::barWidth(120, 120, 300), 300);
    EXPECT_DOUBLE_EQ(SweepFlow::barWidth(30, 120, 300), 75);
    EXPECT_DOUBLE_EQ(SweepFlow::barWidth(0, 120, 300), 1);
    EXPECT_DOUBLE_EQ(SweepFlow::barWidth(5, 0, 300), 1) << "no minutes at all: the least bar";
}

// The suggestion moves on by one each day of the year and by one per ask
// for another, wrapping round its list.
TEST_F(SweepFlowTest, SuggestionsRotateByDayOfYearAndByAsks)
{
    const SweepFlow::Suggestions around = SweepFlow::surroundings();
    const SweepFlow::Suggestions self = SweepFlow::oneself();
    ASSERT_EQ(around.items, Totonoe::surroundings());
    ASSERT_EQ(self.items, Totonoe::oneself());
    EXPECT_EQ(around.current, 1);
    EXPECT_EQ(self.current, 2);
    EXPECT_EQ(around.next, QStringLiteral("次へ"));
    EXPECT_EQ(self.next, QStringLiteral("標へ"));

    struct Case
    {
        int day;
        int offset;
        int around;
        int self;
    };
    const Case cases[] = {
        {10, 0, 0, 2}, {1, 0, 1, 1}, {2, 0, 2, 2}, {8, 0, 8, 0}, {1, 1, 2, 2},
        {1, 9, 0, 2},  {1, 10, 1, 3}, {1, 8, 9, 1}, {365, 0, 5, 5}, {366, 0, 1, 1}, // the 366th: Jan 1 2026
    };
    for (const Case &c : cases) {
        const QDateTime on = dayOfYear(c.day);
        EXPECT_EQ(SweepFlow::shownIndex(10, on, c.offset), c.around) << c.day << " +" << c.offset;
        EXPECT_EQ(SweepFlow::shownIndex(8, on, c.offset), c.self) << c.day << " +" << c.offset;
    }
    EXPECT_EQ(SweepFlow::suggestionLine(around, dayOfYear(10), 0), QStringLiteral("今日は、机の上を、ひとつ整える。"));
    EXPECT_EQ(SweepFlow::suggestionLine(self, dayOfYear(1), 0), QStringLiteral("今日は、湯につかる。"));
    // Ten asks on the surroundings bring back the first one; eight on oneself.
    EXPECT_EQ(SweepFlow::suggestionLine(around, dayOfYear(1), 10), SweepFlow::suggestionLine(around, dayOfYear(1), 0));
    EXPECT_EQ(SweepFlow::suggestionLine(self, dayOfYear(1), 8), SweepFlow::suggestionLine(self, dayOfYear(1), 0));
    EXPECT_NE(SweepFlow::suggestionLine(self, dayOfYear(1), 7), SweepFlow::suggestionLine(self, dayOfYear(1), 0));
}

} // namespace
