#include "views/ViewTest.h"

#include "core/Isshin.h"
#include "stores/DayNoteStore.h"
#include "support/ScopedDirs.h"
#include "views/day/DayPageRules.h"
#include "views/day/TimeAndLengthRules.h"

#include <gtest/gtest.h>

namespace {

using namespace DayPageRules;

struct DayPageRulesTest : ViewTest
{
};

TEST_F(DayPageRulesTest, StandingLinesShowWhatTheDayHolds)
{
    ScopedDirs dirs;
    DayNoteStore days(dirs.dataDir());
    const QDate day(2025, 3, 5);
    const QString mind = Isshin::of(day).dayLine();
    EXPECT_EQ(standing(day, days), (QList<StandingLine>{{QStringLiteral("心"), mind}}));

    days.setIntention(QStringLiteral("   "), QDateTime(day, QTime(8, 0)));
    EXPECT_EQ(standing(day, days).size(), 1) << "a blank morning line adds nothing";

    days.setGuide(QStringLiteral("ゆっくり"), QDateTime(QDate(2025, 3, 4), QTime(20, 0)));
    days.setIntention(QStringLiteral(" 歩く "), QDateTime(day, QTime(8, 0)));
    EXPECT_EQ(standing(day, days), (QList<StandingLine>{{QStringLiteral("心"), mind},
                                                        {QStringLiteral("標"), QStringLiteral("ゆっくり")},
                                                        {QStringLiteral("朝"), QStringLiteral("歩く")}}));
    EXPECT_EQ(standing(QDate(2025, 3, 9), days).size(), 1) << "the guide lapses on the next sweep day";
}

TEST_F(DayPageRulesTest, TitleInTheLanguageOfTheInterface)
{
    EXPECT_EQ(title(QDate(2025, 3, 5), true), QStringLiteral("3月5日(水)"));
    EXPECT_EQ(title(QDate(2025, 3, 5), false), QStringLiteral("Wed, Mar 5"));
}

TEST_F(DayPageRulesTest, BannerBySweepDay)
{
    for (int d = 1; d <= 31; ++d) {
        const bool sweepDay = d % 10 == 4 || d % 10 == 9;
        EXPECT_EQ(bannerText(d), sweepDay ? QStringLiteral("四九日です。四九日をしませんか")
                                          : QStringLiteral("標が外れました。四九日をしませんか"))
            << d;
    }
}

TEST_F(DayPageRulesTest, ScrollAndPlacement)
{
    EXPECT_EQ(scrollHour(0), 0);
    EXPECT_EQ(scrollHour(1), 0);
    EXPECT_EQ(scrollHour(2), 1);
    EXPECT_EQ(scrollHour(14), 13);

    // Narrow page, today at 14:20 (860).
    EXPECT_TRUE(placesDeed(std::nullopt, false, true, 14 * 60, 860)) << "13 o'clock has ended";
    EXPECT_FALSE(placesDeed(std::nullopt, false, true, 15 * 60, 860)) << "14 o'clock has not";
    EXPECT_TRUE(placesDeed(std::nullopt, true, false, 24 * 60, 0)) << "any row of a past day";
    EXPECT_FALSE(placesDeed(std::nullopt, false, false, 60, 860)) << "any row of a future day";
    // Wide page: the column decides.
    EXPECT_FALSE(placesDeed(false, true, false, 60, 0));
    EXPECT_TRUE(placesDeed(true, false, false, 60, 0));
}

TEST_F(DayPageRulesTest, PlanEditorStart)
{
    DayPlan untimed;
    untimed.timed = false;
    EXPECT_EQ(planEditorStart(untimed, std::nullopt), 540);
    EXPECT_EQ(planEditorStart(untimed, 600), 600);
    EXPECT_EQ(planEditorStart(untimed, 601), 630);
    EXPECT_EQ(planEditorStart(untimed, 23 * 60 + 31), 1410);
    EXPECT_EQ(planEditorStart(untimed, 23 * 60 + 45), 1410);
    DayPlan timed;
    timed.startMinutes = 725;
    EXPECT_EQ(planEditorStart(timed, 100), 725);
}

TEST_F(DayPageRulesTest, CardsTurnAtFive)
{
    EXPECT_EQ(morningCard(16), (CardLook{false, 1.0, 1.0}));
    EXPECT_EQ(eveningCard(16), (CardLook{true, 0.5, 0.72}));
    EXPECT_EQ(morningCard(17), (CardLook{true, 0.5, 0.72}));
    EXPECT_EQ(eveningCard(17), (CardLook{false, 1.0, 1.0}));
}

TEST_F(DayPageRulesTest, OneLineDropsEveryLineBreak)
{
    EXPECT_EQ(oneLine(QStringLiteral("a\nb\r\nc\u2028d\u2029e\rf")), QStringLiteral("abcdef"));
    EXPECT_FALSE(hasLineBreak(QStringLiteral("a b\tc")));
    for (const QString &s : {QStringLiteral("\n"), QStringLiteral("\r"), QStringLiteral("\u2028"), QStringLiteral("\u2029")})
        EXPECT_TRUE(hasLineBreak(QStringLiteral("x") + s));
}

// The chooser's rules, each case a starting state, one step and the result.
TEST_F(DayPageRulesTest, TimeAndLengthSteps)
{
    using R = TimeAndLengthRules;
    EXPECT_FALSE((R{0, 30, 1440}).canStartBack());
    EXPECT_FALSE((R{14, 30, 1440}).canStartBack());
    R r{15, 30, 1440};
    ASSERT_TRUE(r.canStartBack());
    r.startBack();
    EXPECT_EQ(r, (R{0, 30, 1440}));
    r = {20, 30, 1440};
    r.startBack();
    EXPECT_EQ(r.start, 5);

    r = {540, 45, 600};
    ASSERT_TRUE(r.canStartForward());
    r.startForward();
    EXPECT_EQ(r, (R{555, 45, 600}));
    EXPECT_FALSE((R{540, 50, 600}).canStartForward());

    EXPECT_FALSE((R{0, 15, 1440}).canEndBack());
    r = {0, 20, 1440};
    ASSERT_TRUE(r.canEndBack());
    r.shiftEnd(-15);
    EXPECT_EQ(r.minutes, 5);

    // An end already past the bound.
    r = {600, 60, 630};
    EXPECT_FALSE(r.canStartForward());
    EXPECT_FALSE(r.canEndForward());
    r.pickStart(610);
    EXPECT_EQ(r, (R{610, 20, 630}));

    r = {1380, 30, 1440};
    EXPECT_FALSE(r.chipEnabled(120));
    ASSERT_TRUE(r.chipEnabled(60));
    r.chooseChip(60);
    EXPECT_TRUE(r.chipChosen(60));
    EXPECT_EQ(r.minutes, 60);

    // Three minutes left: the least length wins over the bound.
    r = {600, 3, 603};
    for (int n : R::chips())
        EXPECT_FALSE(r.chipEnabled(n));
    EXPECT_FALSE(r.canStartForward());
    EXPECT_FALSE(r.canEndForward());
    r.pickEnd(700);
    EXPECT_EQ(r.minutes, 5);
    r.minutes = 3;
    r.shiftEnd(15);
    EXPECT_EQ(r.minutes, 5);

    r = {600, 30, 1440};
    r.pickEnd(500);
    EXPECT_EQ(r, (R{600, 5, 1440})) << "an end before the start gives the least length";
    r = {600, 30, 1440};
    r.pickStart(23 * 60 + 58);
    EXPECT_EQ(r, (R{1435, 5, 1440}));
    r = {600, 30, 1440};
    r.pickEnd(1440);
    EXPECT_EQ(r.end(), 1440) << "the end of the day can be picked";
}

TEST_F(DayPageRulesTest, TimeAndLengthTexts)
{
    EXPECT_EQ((TimeAndLengthRules{540, 45, 1440}).summary(), QStringLiteral("9:00 〜 9:45 ・ 45分"));
    EXPECT_EQ((TimeAndLengthRules{1380, 60, 1440}).summary(), QStringLiteral("23:00 〜 24:00 ・ 1時間"));
    QStringList ja;
    for (int n : TimeAndLengthRules::chips())
        ja << TimeAndLengthRules::chipText(n);
    EXPECT_EQ(ja, (QStringList{"10分", "30分", "1時間", "1時間30分", "2時間"}));
    Lang::setForTesting(false);
    QStringList en;
    for (int n : TimeAndLengthRules::chips())
        en << TimeAndLengthRules::chipText(n);
    EXPECT_EQ(en, (QStringList{"10 min", "30 min", "1 hr", "1 hr 30 min", "2 hr"}));
    EXPECT_EQ((TimeAndLengthRules{1380, 90, 1500}).summary(), QStringLiteral("23:00 〜 24:30 ・ 1 hr 30 min"));
}

} // namespace
