#include "core/L.h"
#include "core/Mode.h"
#include "support/LanguageFixtures.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>


TEST_F(InJapanese, ShowsThePartBeforeTheBarAndFillsPlaceholders)
{
    EXPECT_EQ(L("そのまま|払い"), QStringLiteral("そのまま"));
    EXPECT_EQ(L("|"), QStringLiteral("|"));
    EXPECT_EQ(L("{0} 日、触れていません", 1), QStringLiteral("1 日、触れていません"));
    EXPECT_EQ(monthDay(3, 5), QStringLiteral("3月5日"));
    EXPECT_EQ(stampShown(QStringLiteral("10月4日 10:06")), QStringLiteral("10月4日 10:06"));
}

TEST_F(InEnglish, LooksUpTheWholeKeyAndMendsOnlyAfterArguments)
{
    EXPECT_EQ(L("そのまま|払い"), QStringLiteral("Keep"));
    EXPECT_EQ(L("外す|予定"), QStringLiteral("Remove"));
    EXPECT_EQ(L("{0} 日、触れていません", 1), QStringLiteral("Untouched for 1 day"));
    EXPECT_EQ(L("{0} 日、触れていません", 11), QStringLiteral("Untouched for 11 days"));
    // Missing keys keep their Japanese text, still filled and mended.
    EXPECT_EQ(L("未訳 {0} days", 1), QStringLiteral("未訳 1 day"));
    // Without arguments nothing is mended.
    EXPECT_EQ(L("1 days"), QStringLiteral("1 days"));
}

TEST_F(InEnglish, SingularRuleOnlyForALoneOne)
{
    struct Case
    {
        QString argument;
        const char *expected;
    };
    const Case cases[] = {
        {QStringLiteral("1"), "x 1 day, 1 sit, 1 task, 1 record, 1 thing"},
        {QStringLiteral("11"), "x 11 days, 1 sit, 1 task, 1 record, 1 thing"},
        {QStringLiteral("0.1"), "x 0.1 days, 1 sit, 1 task, 1 record, 1 thing"},
        {QStringLiteral("21"), "x 21 days, 1 sit, 1 task, 1 record, 1 thing"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(L("x {0} days, 1 sits, 1 tasks, 1 records, 1 things", c.argument), QString::fromUtf8(c.expected));
    EXPECT_EQ(L("1 daysoff {0}", 1), QStringLiteral("1 daysoff 1")) << "only whole words";
}

TEST_F(InEnglish, ArgumentsFillInTurnAndNumbersUseTheirDefaultForm)
{
    EXPECT_EQ(L("{0} and {1}", QStringLiteral("{1}"), 7), QStringLiteral("7 and 7"));
    EXPECT_EQ(L("{0}/{1}/{2}", 2.5, 1.0, 3), QStringLiteral("2.5/1.0/3"));
    EXPECT_EQ(L("{1} only"), QStringLiteral("{1} only"));
}

TEST_F(InEnglish, MonthDayAndStamps)
{
    EXPECT_EQ(monthDay(3, 5), QStringLiteral("Mar 5"));
    EXPECT_EQ(monthDay(13, 5), QStringLiteral("13/5"));
    EXPECT_EQ(stampShown(QStringLiteral("10月4日 10:06")), QStringLiteral("Oct 4 10:06"));
    EXPECT_EQ(stampShown(QStringLiteral("10月4日")), QStringLiteral("10月4日"));
    EXPECT_EQ(stampShown(QStringLiteral("10月 10:06")), QStringLiteral("10月 10:06"));
}

TEST_F(InEnglish, SpansInBothLanguages)
{
    EXPECT_EQ(spanString(5400), QStringLiteral("1 hr 30 min"));
    Lang::setForTesting(true);
    struct Case
    {
        double seconds;
        const char *text;
    };
    constexpr double inf = std::numeric_limits<double>::infinity();
    const Case cases[] = {{1500, "25分"}, {29, "0分"},    {30, "1分"},          {3540, "59分"},
                          {3600, "1時間"}, {5400, "1時間30分"}, {7170, "2時間"}, {-90, "-2分"},
                          // Beyond a 64-bit count of minutes: the longest span it holds.
                          {1e19, "2777777777777777時間36分"}, {1e300, "153722867280912913時間4分"},
                          {inf, "153722867280912913時間4分"}, {-1e300, "-153722867280912913時間-4分"},
                          {std::nan(""), "0分"}};
    for (const Case &c : cases)
        EXPECT_EQ(spanString(c.seconds), QString::fromUtf8(c.text)) << c.seconds;
}
