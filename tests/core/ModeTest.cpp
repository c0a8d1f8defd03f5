#include "core/L.h"
#include "core/Mode.h"

#include <gtest/gtest.h>

TEST(Modes, RawValuesAreExact)
{
    for (Mode m : allModes())
        EXPECT_EQ(modeFromRaw(rawValue(m)), m);
    EXPECT_FALSE(modeFromRaw(QStringLiteral("Clock")).has_value());
    EXPECT_FALSE(preparationFromRaw(QStringLiteral("Body")).has_value());
    EXPECT_EQ(allModes().size(), 6);
}

TEST(Modes, FixedDurations)
{
    struct Case
    {
        Mode mode;
        double focus, shortBreak, longBreak;
    };
    const Case cases[] = {
        {Mode::open, 1500, 300, 900},  {Mode::chore, 600, 300, 900}, {Mode::quick, 1500, 300, 900},
        {Mode::hour, 3000, 600, 900},  {Mode::clock, 1500, 300, 900}, {Mode::rounds, 600, 60, 900},
    };
    for (const Case &c : cases) {
        EXPECT_EQ(ModeInfo::fixedDuration(Phase::focus, c.mode), c.focus) << rawValue(c.mode).toStdString();
        EXPECT_EQ(ModeInfo::fixedDuration(Phase::shortBreak, c.mode), c.shortBreak) << rawValue(c.mode).toStdString();
        EXPECT_EQ(ModeInfo::fixedDuration(Phase::longBreak, c.mode), c.longBreak) << rawValue(c.mode).toStdString();
    }
}

TEST(Modes, RhythmsIgnoreTheLongBreakSetting)
{
    using P = Phase;
    EXPECT_EQ(ModeInfo::rhythm(Mode::clock, 2), (QList<P>{P::focus, P::shortBreak, P::focus, P::shortBreak}));
    EXPECT_EQ(ModeInfo::rhythm(Mode::clock, 12), ModeInfo::rhythm(Mode::clock, 2));
    EXPECT_EQ(ModeInfo::rhythm(Mode::rounds, 4).size(), 5);
    EXPECT_EQ(ModeInfo::rhythm(Mode::chore, 4), QList<P>{P::focus});
    for (Mode m : allModes())
        EXPECT_FALSE(ModeInfo::rhythm(m, 4).contains(P::longBreak));
}

TEST(Modes, DetailFillsFixedNumbers)
{
    Lang::setForTesting(true);
    EXPECT_EQ(ModeInfo::detail(Mode::quick, 9), QStringLiteral("いちざ ・ 腰を据えて、25分坐って 5分の経行"));
    EXPECT_EQ(ModeInfo::title(Mode::hour), QStringLiteral("一炷"));
    Lang::setForTesting(std::nullopt);
}

TEST(ClockRhythmRule, MinutesIntoTheHalfHourAndTheNextMark)
{
    struct Case
    {
        QTime time;
        double inCycle;
        Phase phase;
        double toMark;
    };
    const Case cases[] = {
        {QTime(10, 7, 30), 7.5, Phase::focus, 17.5 * 60},
        {QTime(10, 37, 30), 7.5, Phase::focus, 17.5 * 60},
        {QTime(10, 30, 0), 0.0, Phase::focus, 25 * 60},
        {QTime(10, 24, 59, 500), 24.0 + 59.5 / 60, Phase::focus, 0.5},
        {QTime(10, 25, 0), 25.0, Phase::shortBreak, 300},
        {QTime(10, 57, 0), 27.0, Phase::shortBreak, 180},
    };
    for (const Case &c : cases) {
        const double m = ClockRhythm::inCycle(QDateTime(QDate(2025, 3, 4), c.time));
        EXPECT_NEAR(m, c.inCycle, 1e-9) << c.time.toString().toStdString();
        EXPECT_EQ(ClockRhythm::phaseAt(m), c.phase) << c.time.toString().toStdString();
        EXPECT_NEAR(ClockRhythm::secondsToNextMark(m), c.toMark, 1e-6) << c.time.toString().toStdString();
    }
    const double justBefore = ClockRhythm::inCycle(QDateTime(QDate(2025, 3, 4), QTime(10, 29, 59, 999)));
    EXPECT_LT(justBefore, 30.0);
    EXPECT_GT(justBefore, 29.99);
}
