#include "model/ClockText.h"
#include "support/LanguageFixtures.h"

#include <cmath>
#include <gtest/gtest.h>
#include <limits>

TEST_F(InJapanese, ClockTextsRoundUpAndShowHoursFromTheFirstHour)
{
    struct Case
    {
        double seconds;
        const char *full;
        const char *compact;
    };
    constexpr double inf = std::numeric_limits<double>::infinity();
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
        // Nothing sensible to show of these: no time at all, and no
        // undefined conversion of a value no integer holds.
        {-1, "00:00", "0分"},
        {-1e300, "00:00", "0分"},
        {1e19, "00:00", "0分"},
        {1e300, "00:00", "0分"},
        {inf, "00:00", "0分"},
        {-inf, "00:00", "0分"},
        {std::nan(""), "00:00", "0分"},
        // A long time that an integer still holds is shown as it is.
        {9e18, "2500000000000000:00:00", "2500000000000000:00"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.seconds);
        EXPECT_EQ(ClockText::full(c.seconds), QString::fromUtf8(c.full));
        EXPECT_EQ(ClockText::compact(c.seconds), QString::fromUtf8(c.compact));
    }
}

TEST_F(InEnglish, CompactMinutesReadInEnglish)
{
    EXPECT_EQ(ClockText::compact(1499.5), QStringLiteral("25 min"));
}
