#pragma once

#include "core/Mode.h"

#include <QList>
#include <optional>

// What the rhythm strip of a mode draws: the mode's fixed pattern of
// phases, whether it repeats without end (clock and rounds), whether its
// focus is open-ended (open), and the step to mark, if any.
struct RhythmPlan
{
    QList<Phase> phases;
    bool endless = false;
    bool openEnded = false;
    std::optional<int> current;

    // The strip of a mode card: no step marked.
    static RhythmPlan of(Mode mode);
    // The strip of a run at the engine's plan index: a clock run marks the
    // index modulo 8 (the strip repeats), the others the index. A rounds run
    // with `rounds` titles shows its own rounds, one sit per chosen task
    // with a walk between, and no more to come.
    static RhythmPlan of(Mode mode, int planIndex, int rounds = 0);

    bool operator==(const RhythmPlan &) const = default;
};
