#include "model/ClockText.h"
#include "support/LanguageFixtures.h"

#include <gtest/gtest.h>

namespace {

using ClockTextJapanese = InJapanese;

TEST_F(ClockTextJapanese, SecondsRoundUpAndShowMinutesOrHours)
{
    struct Case
    {
        double seconds;
        const char *full;
        const char *compact;
    };
    const Case cases[] = {
        {0, "00:00", "0分"},
        {0.2, "00:01", "0分"},
        {59, "00:59", "0分"},
        {59.2, "01:00", "1分"},
        {119, "01:59", "1分"},
        {1499.5, "25:00", "25分"},
        {3599.5, "1:00:00", "1:00"},
        {5399, "1:29:59", "1:29"},
        {36000, "10:00:00", "10:00"},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(ClockText::full(c.seconds), QString::fromUtf8(c.full)) << c.seconds;
        EXPECT_EQ(ClockText::compact(c.seconds), QString::fromUtf8(c.compact)) << c.seconds;
    }
}

using ClockTextEnglish = InEnglish;

TEST_F(ClockTextEnglish, CompactMinutesReadInEnglish)
{
    EXPECT_EQ(ClockText::compact(1499.5), QStringLiteral("25 min"));
}

} // namespace
