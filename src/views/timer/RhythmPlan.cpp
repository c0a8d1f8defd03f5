#include "views/timer/RhythmPlan.h"

RhythmPlan RhythmPlan::of(Mode mode)
{
    RhythmPlan plan;
    plan.phases = ModeInfo::rhythm(mode, 0);
    plan.endless = mode == Mode::clock || mode == Mode::rounds;
    plan.openEnded = mode == Mode::open;
    return plan;
}

RhythmPlan RhythmPlan::of(Mode mode, int planIndex)
{
    RhythmPlan plan = of(mode);
    plan.current = plan.endless ? planIndex % 8 : planIndex;
    return plan;
}
