#include "platform/time/WallClock.h"

#include <ctime>
#include "support/ScopedTimeZone.h"

#include <gtest/gtest.h>

namespace {

struct WallClockInBerlin : ::testing::Test
{
    ScopedTimeZone zone{"Europe/Berlin"};
};

} // namespace

TEST_F(WallClockInBerlin, MinutesCountByTheWallClockOnChangeDays)
{
    struct Case
    {
        QDate day;
        int minutes;
        QDateTime expected;
    };
    const QDate spring(2025, 3, 30); // 23 hours
    const QDate autumn(2025, 10, 26); // 25 hours
    const Case cases[] = {
        {spring, 600, QDateTime(spring, QTime(10, 0))},
        {autumn, 600, QDateTime(autumn, QTime(10, 0))},
        {spring, -30, QDateTime(spring.addDays(-1), QTime(23, 30))},
        {spring, 1440 + 15, QDateTime(spring.addDays(1), QTime(0, 15))},
        {spring, -1440, QDateTime(spring.addDays(-1), QTime(0, 0))},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(WallClock::atMinute(c.day, c.minutes), c.expected) << c.minutes;
        EXPECT_EQ(WallClock::wallSecondsSince(c.day, c.expected), qint64(c.minutes) * 60) << c.minutes;
    }
    // Plain seconds from midnight would put 10:00 at minute 540 or 660 on these days.
    EXPECT_EQ(QDateTime(spring, QTime(0, 0)).secsTo(QDateTime(spring, QTime(10, 0))), 540 * 60);
}

TEST_F(WallClockInBerlin, ATimeTheClocksSkipIsMovedPastTheGap)
{
    const QDate spring(2025, 3, 30); // 02:00 jumps to 03:00
    const QDateTime skipped = WallClock::atMinute(spring, 150); // 02:30 does not exist
    ASSERT_TRUE(skipped.isValid());
    EXPECT_EQ(skipped, QDateTime(spring, QTime(3, 30)));
    EXPECT_EQ(WallClock::atMinute(spring, 180), QDateTime(spring, QTime(3, 0))) << "just after the gap";
}
