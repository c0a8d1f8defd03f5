#include "core/Isshin.h"
#include "support/LanguageFixtures.h"

#include <gtest/gtest.h>

namespace {

const char *name(Isshin mind)
{
    switch (mind.value()) {
    case Isshin::kishin:
        return "kishin";
    case Isshin::roshin:
        return "roshin";
    case Isshin::daishin:
        return "daishin";
    }
    return "?";
}

TEST(Isshin, MindOfGivenDates)
{
    const struct
    {
        QDate date;
        Isshin mind;
    } cases[] = {
        {QDate(1970, 1, 1), Isshin::kishin},   // day 0
        {QDate(1970, 1, 2), Isshin::roshin},   // day 1
        {QDate(1970, 1, 3), Isshin::daishin},  // day 2
        {QDate(1969, 12, 31), Isshin::daishin}, // day -1
        {QDate(1969, 12, 29), Isshin::kishin},  // day -3
        {QDate(2000, 1, 1), Isshin::roshin},   // day 10957
        {QDate(2026, 1, 1), Isshin::kishin},   // day 20454
        {QDate(), Isshin::kishin},             // no date
    };
    for (const auto &c : cases)
        EXPECT_EQ(name(Isshin::of(c.date)), name(c.mind)) << c.date.toString(Qt::ISODate).toStdString();
}

TEST(Isshin, RunsOnWithoutABreakAcrossMonthsYearsAndLeapDays)
{
    Isshin expected = Isshin::of(QDate(2023, 12, 25));
    for (QDate d(2023, 12, 25); d <= QDate(2024, 3, 5); d = d.addDays(1)) {
        EXPECT_EQ(name(Isshin::of(d)), name(expected)) << d.toString(Qt::ISODate).toStdString();
        expected = Isshin::allCases()[(size_t(expected.value()) + 1) % 3];
    }
}

TEST(Isshin, ChangesAtLocalMidnightOfTheZoneGiven)
{
    const QTimeZone tokyo("Asia/Tokyo");
    const QTimeZone newYork("America/New_York");
    const QDateTime lastMinute(QDate(2026, 1, 1), QTime(23, 59, 59), tokyo);
    const QDateTime midnight(QDate(2026, 1, 2), QTime(0, 0), tokyo);
    EXPECT_EQ(name(Isshin::of(QDateTime(QDate(2026, 1, 1), QTime(0, 0), tokyo), tokyo)), "kishin");
    EXPECT_EQ(name(Isshin::of(lastMinute, tokyo)), "kishin");
    EXPECT_EQ(name(Isshin::of(midnight, tokyo)), "roshin");
    // The same instant is still 1 January in New York and in UTC.
    EXPECT_EQ(name(Isshin::of(midnight, newYork)), "kishin");
    EXPECT_EQ(name(Isshin::of(midnight, QTimeZone::utc())), "kishin");
}

TEST_F(InJapanese, IsshinTexts)
{
    const Isshin kishin = Isshin::kishin;
    EXPECT_EQ(kishin.dayLine(), QStringLiteral("喜心（きしん）　この一事に取りかかれる縁を、喜ぶ"));
    EXPECT_EQ(kishin.footerLine(), QStringLiteral("今日の三心：喜心 ・ この一事に取りかかれる縁を、喜ぶ"));
    EXPECT_EQ(Isshin(Isshin::roshin).reading(), QStringLiteral("ろうしん"));
}

TEST_F(InEnglish, IsshinTexts)
{
    const struct
    {
        Isshin mind;
        const char *name;
        const char *reading;
        const char *dayLine;
    } cases[] = {
        {Isshin::kishin, "Kishin", "joyful mind", "Kishin — glad for the chance to do this one thing"},
        {Isshin::roshin, "Rōshin", "parental mind", "Rōshin — care for it as a parent cares"},
        {Isshin::daishin, "Daishin", "great mind", "Daishin — steady, like a mountain or the sea"},
    };
    for (const auto &c : cases) {
        EXPECT_EQ(c.mind.name(), QString::fromUtf8(c.name));
        EXPECT_EQ(c.mind.reading(), QString::fromUtf8(c.reading));
        EXPECT_EQ(c.mind.dayLine(), QString::fromUtf8(c.dayLine));
    }
    EXPECT_EQ(Isshin(Isshin::kishin).footerLine(),
              QStringLiteral("Today’s mind: Kishin · glad for the chance to do this one thing"));
    EXPECT_EQ(Isshin::noteHeading(), QStringLiteral("The day’s mind"));
    EXPECT_EQ(Isshin::glossaryButton(), QStringLiteral("Open the Glossary"));
}

} // namespace
