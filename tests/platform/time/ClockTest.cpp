#include "platform/fakes/FakeClock.h"

#include <QTest>
#include <gtest/gtest.h>
#include <memory>
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

// The system clock keeps a timer whose wait is over for the next wait. The
// waits must stay apart all the same: a wait scheduled from inside the call
// of the one before (on the timer just freed) fires, a handle that is spent
// cancels nothing that came after it, and a cancelled wait lets go of what
// its call holds and never fires.
TEST(SystemClock, WaitsOnKeptTimersStayApart)
{
    SystemClock clock;
    std::vector<char> fired;
    Clock::Handle first = 0;
    first = clock.schedule(5, [&] {
        fired.push_back('a');
        clock.schedule(5, [&] { fired.push_back('b'); });
        clock.cancel(first); // spent: its timer now carries the wait for 'b'
    });
    auto held = std::make_shared<int>(0);
    std::weak_ptr<int> watch = held;
    const Clock::Handle dropped = clock.schedule(1, [&fired, held] { fired.push_back('x'); });
    held.reset();
    clock.cancel(dropped);
    EXPECT_TRUE(watch.expired()) << "the cancelled call still holds what it captured";
    clock.schedule(60, [&] { fired.push_back('d'); });
    clock.schedule(30, [&] { fired.push_back('c'); });

    EXPECT_TRUE(QTest::qWaitFor([&] { return fired.size() >= 4; }, 5000));
    QTest::qWait(20);
    EXPECT_EQ(std::string(fired.begin(), fired.end()), "abcd");

    // Many waits one after another, each from the call before, as a ticker does.
    int ticks = 0;
    std::function<void()> tick = [&] {
        if (++ticks < 50)
            clock.schedule(0, tick);
    };
    clock.schedule(0, tick);
    EXPECT_TRUE(QTest::qWaitFor([&] { return ticks == 50; }, 5000));
}
