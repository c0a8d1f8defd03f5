#include "views/timer/RhythmPlan.h"

RhythmPlan RhythmPlan::of(Mode mode)
{
    RhythmPlan plan;
    plan.phases = ModeInfo::rhythm(mode, 0);
    plan.endless = mode == Mode::clock || mode == Mode::rounds;
    plan.openEnded = mode == Mode::open;
    return plan;
}

RhythmPlan RhythmPlan::of(Mode mode, int planIndex, int rounds)
{
    RhythmPlan plan = of(mode);
    if (mode == Mode::rounds) {
        plan.phases = {Phase::focus};
        for (int i = 1; i < rounds; ++i)
            plan.phases << Phase::shortBreak << Phase::focus;
        plan.endless = false;
    }
    plan.current = plan.endless ? planIndex % 8 : planIndex;
    return plan;
}
