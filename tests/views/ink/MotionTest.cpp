#include "views/ManualMotion.h"
#include "views/ViewTest.h"
#include "views/ink/Animation.h"
#include "views/ink/AnimationDriver.h"
#include "views/ink/FrameTicker.h"

#include <QTest>
#include <algorithm>
#include <QWidget>

namespace {

struct MotionTest : ViewTest
{
    void SetUp() override
    {
        ViewTest::SetUp();
        Motion::setInstant(false);
    }
};

TEST_F(MotionTest, OneFrameTimerRunsOnlyWhileSomethingMoves)
{
    QWidget owner;
    owner.show();
    Animation a, b;
    int steps = 0;
    QList<double> seen;
    EXPECT_FALSE(AnimationDriver::instance().isTicking());

    a.start(&owner, [&] { ++steps; seen << a.value(); }, 0, 1, 300, Motion::linear());
    b.start(&owner, [] {}, 10, 20, 100, Motion::easeOut());
    EXPECT_TRUE(AnimationDriver::instance().isTicking());
    EXPECT_EQ(AnimationDriver::instance().runningCount(), 2);

    ASSERT_TRUE(QTest::qWaitFor([&] { return !AnimationDriver::instance().isTicking(); }, 2000));
    EXPECT_EQ(a.value(), 1);
    EXPECT_EQ(b.value(), 20);
    EXPECT_GT(steps, 2) << "the value moved in frames between start and end";
    EXPECT_TRUE(std::is_sorted(seen.begin(), seen.end()));
}

TEST_F(MotionTest, AnimationsJumpToTheirEndWhenInstantOrUnseen)
{
    struct Case
    {
        const char *what;
        bool instant;
        bool shown;
    };
    const Case cases[] = {{"instant switch", true, true}, {"hidden owner", false, false}};
    for (const Case &c : cases) {
        Motion::setInstant(c.instant);
        QWidget owner;
        if (c.shown)
            owner.show();
        Animation a;
        int steps = 0;
        a.start(&owner, [&] { ++steps; }, 0, 1, 500, Motion::easeInOut());
        EXPECT_EQ(a.value(), 1) << c.what;
        EXPECT_FALSE(a.isRunning()) << c.what;
        EXPECT_EQ(steps, 1) << c.what << ": one step, at the end";
        EXPECT_FALSE(AnimationDriver::instance().isTicking()) << c.what;
    }
}

TEST_F(MotionTest, HidingTheOwnerEndsARunningAnimation)
{
    QWidget owner;
    owner.show();
    Animation a;
    a.start(&owner, [] {}, 0, 1, 10000, Motion::linear());
    ASSERT_TRUE(a.isRunning());
    owner.hide();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !a.isRunning(); }, 1000));
    EXPECT_EQ(a.value(), 1);
    EXPECT_FALSE(AnimationDriver::instance().isTicking());
}

TEST_F(MotionTest, AReversedFadeContinuesFromWhereItStands)
{
    QWidget owner;
    owner.show();
    Animation a;
    a.start(&owner, [] {}, 0, 1, 5000, Motion::linear());
    QTest::qWait(300);
    const double midway = a.value();
    ASSERT_GT(midway, 0);
    ASSERT_LT(midway, 1);
    a.startTo(&owner, [] {}, 0, 100, Motion::linear());
    EXPECT_NEAR(a.value(), midway, 0.05);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !a.isRunning(); }, 2000));
    EXPECT_EQ(a.value(), 0);
}

TEST_F(MotionTest, DestroyingARunningAnimationStopsTheTimer)
{
    QWidget owner;
    owner.show();
    {
        Animation a;
        a.start(&owner, [] {}, 0, 1, 10000, Motion::linear());
        EXPECT_TRUE(AnimationDriver::instance().isTicking());
    }
    EXPECT_FALSE(AnimationDriver::instance().isTicking());
}

// A turn kept busy after the start (a phase's end writes and rings) holds
// the first frame back; the motion then starts from that frame and still
// shows its whole length.
TEST_F(MotionTest, ABusyTurnAfterTheStartTakesNothingFromTheMotion)
{
    ManualMotion motion;
    QWidget owner;
    owner.show();
    Animation a;
    a.start(&owner, [] {}, 0, 1, 300, Motion::linear());
    ManualMotion::driver().stall(500);
    ManualMotion::advance(AnimationDriver::frameMs);
    EXPECT_TRUE(a.isRunning());
    EXPECT_NEAR(a.value(), AnimationDriver::frameMs / 300.0, 0.01) << "one frame in, not at the end";
    EXPECT_TRUE(ManualMotion::lastsFor(300 - AnimationDriver::frameMs));
    EXPECT_EQ(a.value(), 1);
}

TEST_F(MotionTest, CurvesMatchTheStandardTimings)
{
    // Ease-in-out is symmetric and slow at both ends; ease-out fast at first.
    EXPECT_NEAR(Motion::easeInOut().valueForProgress(0.5), 0.5, 0.01);
    EXPECT_LT(Motion::easeInOut().valueForProgress(0.1), 0.05);
    EXPECT_GT(Motion::easeOut().valueForProgress(0.25), 0.35);
    EXPECT_LT(Motion::easeIn().valueForProgress(0.25), 0.15);
    EXPECT_DOUBLE_EQ(Motion::linear().valueForProgress(0.3), 0.3);
}

TEST_F(MotionTest, ColourFadesFromClearKeepTheTint)
{
    const QColor tint = Kiv::indigo(0.8);
    const QColor half = Motion::mix(QColor(0, 0, 0, 0), tint, 0.5);
    EXPECT_EQ(half.rgb() & 0xFFFFFF, tint.rgb() & 0xFFFFFF) << "no passage through grey";
    EXPECT_NEAR(half.alphaF(), 0.4, 0.01);
    EXPECT_EQ(Motion::mix(Kiv::ink(), Kiv::indigo(), 1.0), Kiv::indigo());
}

TEST_F(MotionTest, FrameTickerTicksOnlyWhileShownAndMoving)
{
    QWidget window;
    auto *face = new QWidget(&window);
    int ticks = 0;
    FrameTicker ticker(face, 10, [&] { ++ticks; });

    ticker.setMoving(true);
    EXPECT_FALSE(ticker.isTicking()) << "not shown yet";
    window.show();
    EXPECT_TRUE(ticker.isTicking());
    QTest::qWait(60);
    EXPECT_GT(ticks, 0);

    window.hide();
    EXPECT_FALSE(ticker.isTicking()) << "hidden with its window";
    window.show();
    EXPECT_TRUE(ticker.isTicking());
    ticker.setMoving(false);
    EXPECT_FALSE(ticker.isTicking()) << "a paused face costs nothing";

    Motion::setInstant(true);
    ticker.setMoving(true);
    EXPECT_FALSE(ticker.isTicking()) << "still pictures never tick";
}

// An outside beat draws the frame at once and puts the next one an interval
// after it; a ticker that does not run ignores beats.
TEST_F(MotionTest, ABeatDrawsTheFrameNowAndTheNextAnIntervalLater)
{
    QWidget window;
    auto *face = new QWidget(&window);
    int ticks = 0;
    FrameTicker ticker(face, 1000, [&] { ++ticks; });
    ticker.beat();
    EXPECT_EQ(ticks, 0) << "not running";
    window.show();
    ticker.setMoving(true);
    QTest::qWait(300);
    ticker.beat();
    EXPECT_EQ(ticks, 1);
    EXPECT_GT(ticker.untilNextFrame(), 900) << "the next frame is an interval after the beat";
}

} // namespace
