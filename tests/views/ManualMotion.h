#pragma once

#include "views/ink/AnimationDriver.h"
#include "views/ink/Motion.h"

#include <QString>
#include <functional>
#include <gtest/gtest.h>

// Motion on, with the one animation driver's clock moved by hand: tests
// step through a motion frame by frame and see when the frame timer would
// run. Put back (motion instant, real time) when it goes out of scope.
struct ManualMotion
{
    // Starts from rest: whatever moved before is run to its end.
    ManualMotion()
    {
        Motion::setInstant(false);
        driver().setManualTime(true);
        advance(5000);
    }
    ~ManualMotion()
    {
        driver().setManualTime(false);
        Motion::setInstant(true);
    }
    ManualMotion(const ManualMotion &) = delete;
    ManualMotion &operator=(const ManualMotion &) = delete;

    static AnimationDriver &driver() { return AnimationDriver::instance(); }
    static bool moving() { return driver().runningCount() > 0; }
    static void advance(int ms) { driver().advance(ms); }

    // Whatever moves now runs for `ms` (to within a frame) and no longer:
    // still moving a frame before, at rest a frame after, the frame timer
    // stopped with the last step, and no frame follows it.
    static ::testing::AssertionResult lastsFor(int ms)
    {
        if (!moving())
            return ::testing::AssertionFailure() << "nothing moves";
        const qint64 start = driver().now();
        advance(ms - 2 * AnimationDriver::frameMs);
        if (!moving())
            return ::testing::AssertionFailure() << "ended early, before " << (driver().now() - start) << " ms";
        advance(3 * AnimationDriver::frameMs);
        if (moving())
            return ::testing::AssertionFailure() << "still moving after " << (driver().now() - start) << " ms";
        if (driver().isTicking())
            return ::testing::AssertionFailure() << "the frame timer still runs after the last step";
        const qint64 frames = driver().frames();
        advance(1000);
        if (driver().frames() != frames || driver().isTicking())
            return ::testing::AssertionFailure() << "frames after the last step";
        return ::testing::AssertionSuccess();
    }
};
