#include "platform/fakes/FakeClock.h"

#include <gtest/gtest.h>
#include <vector>

namespace {

struct FakeClockInstalled : ::testing::Test
{
    FakeClock clock;
    void SetUp() override { Clock::setCurrent(&clock); }
    void TearDown() override { Clock::setCurrent(nullptr); }
};

} // namespace

TEST_F(FakeClockInstalled, FiresDueCallbacksInTimeOrderWithTheirOwnNow)
{
    const QDateTime start = clock.now();
    std::vector<std::pair<int, qint64>> fired;
    clock.schedule(3000, [&] { fired.push_back({3, start.msecsTo(clock.now())}); });
    clock.schedule(1000, [&] { fired.push_back({1, start.msecsTo(clock.now())}); });
    const auto cancelled = clock.schedule(2000, [&] { fired.push_back({2, 0}); });
    clock.cancel(cancelled);

    clock.advance(2500);
    ASSERT_EQ(fired.size(), 1u);
    EXPECT_EQ(fired[0], std::make_pair(1, qint64(1000)));
    EXPECT_EQ(start.msecsTo(clock.now()), 2500);

    clock.advance(500);
    ASSERT_EQ(fired.size(), 2u);
    EXPECT_EQ(fired[1], std::make_pair(3, qint64(3000)));
}

TEST_F(FakeClockInstalled, RepeatingTimerTicksUntilStopped)
{
    ClockTimer timer;
    int ticks = 0;
    QObject::connect(&timer, &ClockTimer::timeout, [&] {
        if (++ticks == 4)
            timer.stop();
    });
    timer.setInterval(250);
    timer.start();
    clock.advance(10'000);
    EXPECT_EQ(ticks, 4);
    EXPECT_FALSE(timer.isActive());
    EXPECT_EQ(clock.pendingCount(), 0);
}

TEST_F(FakeClockInstalled, SingleShotIsDroppedWhenItsContextIsGone)
{
    int calls = 0;
    {
        QObject context;
        ClockTimer::singleShot(100, &context, [&] { ++calls; });
    }
    auto *alive = new QObject;
    ClockTimer::singleShot(100, alive, [&] { ++calls; });
    clock.advance(200);
    EXPECT_EQ(calls, 1);
    delete alive;
}
