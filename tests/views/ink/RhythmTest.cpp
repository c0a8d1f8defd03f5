#include "views/ManualMotion.h"
#include "views/ViewTest.h"
#include "views/ink/Rhythm.h"
#include "views/ink/RhythmView.h"

#include <QTest>

namespace {

using Rhythm::Mark;
using Rhythm::MarkState;
using C = Kiv::Colour;

bool isVermilion(const Mark &m)
{
    return m.fill.colour == C::vermilion && !m.fill.isClear();
}

TEST(RhythmMarks, EachPhaseAndStateHasItsMark)
{
    struct Case
    {
        Phase phase;
        MarkState state;
        bool openEnded;
        Mark expected;
    };
    const Case cases[] = {
        {Phase::focus, MarkState::done, false, {{8, 8}, {C::indigo, 0.75}}},
        {Phase::focus, MarkState::current, false, {{9, 9}, {C::vermilion}, Tone::clear(), 0, {C::vermilion, 0.5}}},
        {Phase::focus, MarkState::upcoming, false, {{8, 8}, Tone::clear(), {C::indigo, 0.9}, 1.2}},
        {Phase::focus, MarkState::unplaced, false, {{8, 8}, Tone::clear(), {C::indigo, 0.9}, 1.2}},
        {Phase::focus, MarkState::done, true, {{24, 8}, {C::indigo, 0.75}}},
        {Phase::focus, MarkState::current, true, {{25, 9}, {C::vermilion}, Tone::clear(), 0, {C::vermilion, 0.5}}},
        {Phase::shortBreak, MarkState::done, false, {{3, 3}, {C::inkSoft}}},
        {Phase::shortBreak, MarkState::current, false, {{4, 4}, {C::vermilion}}},
        {Phase::shortBreak, MarkState::upcoming, false, {{3, 3}, {C::inkGhost}}},
        {Phase::shortBreak, MarkState::unplaced, true, {{3, 3}, {C::inkSoft}}},
        {Phase::longBreak, MarkState::done, false, {{8, 3}, {C::moss, 0.85}}},
        {Phase::longBreak, MarkState::current, false, {{8, 3}, {C::vermilion}}},
        {Phase::longBreak, MarkState::upcoming, false, {{8, 3}, {C::inkGhost}}},
        {Phase::longBreak, MarkState::unplaced, false, {{8, 3}, {C::moss, 0.85}}},
    };
    for (const Case &c : cases)
        EXPECT_EQ(Rhythm::mark(c.phase, c.state, c.openEnded), c.expected)
            << int(c.phase) << " " << int(c.state) << " " << c.openEnded;
}

TEST(RhythmMarks, StatesFollowTheCurrentStep)
{
    const QList<Phase> clock = ModeInfo::rhythm(Mode::clock, 4);
    struct Case
    {
        std::optional<int> current;
        QList<MarkState> states;
    };
    const Case cases[] = {
        {std::nullopt, {MarkState::unplaced, MarkState::unplaced, MarkState::unplaced, MarkState::unplaced}},
        {1, {MarkState::done, MarkState::current, MarkState::upcoming, MarkState::upcoming}},
        {4, {MarkState::done, MarkState::done, MarkState::done, MarkState::done}},
        {9, {MarkState::done, MarkState::done, MarkState::done, MarkState::done}},
        {-1, {MarkState::upcoming, MarkState::upcoming, MarkState::upcoming, MarkState::upcoming}},
    };
    for (const Case &c : cases) {
        const QList<Mark> marks = Rhythm::marks(clock, c.current, false);
        ASSERT_EQ(marks.size(), 4);
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(marks[i], Rhythm::mark(clock[i], c.states[i], false)) << c.current.value_or(-99) << " " << i;
        const bool anyVermilion = std::any_of(marks.begin(), marks.end(), isVermilion);
        EXPECT_EQ(anyVermilion, c.current && *c.current >= 0 && *c.current < 4);
    }
}

// The step index of a run goes beyond the marks shown in the modes whose
// rhythm repeats; the current mark is always one of them, and of the same
// kind of phase as the step.
TEST(RhythmMarks, TheCurrentMarkIsAlwaysOneOfTheModesMarks)
{
    struct Case
    {
        Mode mode;
        int planIndex;
        std::optional<int> expected;
    };
    const Case cases[] = {
        {Mode::clock, 0, 0},  {Mode::clock, 3, 3},   {Mode::clock, 4, 0},  {Mode::clock, 5, 1},
        {Mode::clock, 7, 3},  {Mode::clock, 8, 0},   {Mode::clock, -1, 3}, {Mode::rounds, 4, 4},
        {Mode::rounds, 5, 0}, {Mode::rounds, 9, 4},  {Mode::quick, 1, 1},  {Mode::hour, 0, 0},
        {Mode::open, 0, 0},   {Mode::quick, -1, -1},
    };
    for (const Case &c : cases) {
        const auto current = Rhythm::currentMark(c.mode, c.planIndex);
        EXPECT_EQ(current, c.expected) << rawValue(c.mode).toStdString() << " " << c.planIndex;
    }
    for (int step = 0; step < 40; ++step) {
        const auto current = Rhythm::currentMark(Mode::clock, step);
        ASSERT_TRUE(current);
        EXPECT_GE(*current, 0);
        EXPECT_LT(*current, 4);
        // A clock run alternates focus and break: the mark is of the same kind.
        EXPECT_EQ(ModeInfo::rhythm(Mode::clock, 4)[*current], step % 2 == 0 ? Phase::focus : Phase::shortBreak);
    }
}

using RhythmViewTest = ViewTest;

TEST_F(RhythmViewTest, TheStripIsAsWideAsItsMarksAndEllipsis)
{
    RhythmView view;
    view.setRhythm(ModeInfo::rhythm(Mode::open, 4), false, true, 0, 7);
    EXPECT_EQ(view.marks().size(), 1);
    EXPECT_EQ(view.marks()[0].size, QSizeF(25, 9)) << "the open mode's single long capsule, current";
    EXPECT_NEAR(RhythmView::naturalSize(view.marks(), false, 7).width(), 25, 1e-9);

    view.setRhythm(ModeInfo::rhythm(Mode::quick, 4), false, false, std::nullopt, 7);
    EXPECT_NEAR(RhythmView::naturalSize(view.marks(), false, 7).width(), 8 + 7 + 3, 1e-9);
    const double withEllipsis = RhythmView::naturalSize(view.marks(), true, 7).width();
    EXPECT_GT(withEllipsis, 8 + 7 + 3 + 7);
}

TEST_F(RhythmViewTest, AMoveOfTheCurrentStepEases)
{
    ManualMotion motion;
    RhythmView view;
    view.show();
    view.setRhythm(ModeInfo::rhythm(Mode::clock, 4), true, false, 0, 7);
    EXPECT_FALSE(view.isMoving()) << "a new rhythm shows at once";
    view.setRhythm(ModeInfo::rhythm(Mode::clock, 4), true, false, 1, 7);
    EXPECT_TRUE(view.isMoving());
    EXPECT_EQ(view.current(), 1);
    EXPECT_EQ(view.marks()[1], Rhythm::mark(Phase::shortBreak, MarkState::current, false));
    EXPECT_TRUE(ManualMotion::lastsFor(300)) << "the marks ease over 0.3 s";
    EXPECT_FALSE(view.isMoving());
}

} // namespace
