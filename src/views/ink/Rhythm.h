#pragma once

#include "core/Mode.h"
#include "core/Models.h"
#include "views/ink/Tone.h"

#include <QList>
#include <QSizeF>
#include <optional>

// What the rhythm strip shows: one mark per step of a mode's rhythm of
// phases, done, current, upcoming, or unplaced when no step is under way.
namespace Rhythm {

enum class MarkState { done, current, upcoming, unplaced };

// done before `current`, current at it, upcoming after it; unplaced when
// there is no current step.
MarkState stateOf(int index, std::optional<int> current);

// A mark is a capsule of `size` (a dot when its sides are equal), filled,
// outlined, and, for the current focus step, glowing vermilion.
struct Mark
{
    QSizeF size;
    Tone fill = Tone::clear();
    Tone outline = Tone::clear();
    double outlineWidth = 0;
    Tone glow = Tone::clear();

    bool operator==(const Mark &) const = default;
};

// Focus marks are 8 × 8 capsules (24 wide for an open-ended focus), breaks
// small dots, long breaks short bars.
Mark mark(Phase phase, MarkState state, bool openEnded);
QList<Mark> marks(const QList<Phase> &phases, std::optional<int> current, bool openEnded);

// The current mark of a run: the engine's step index, taken round the
// mode's own marks for the modes whose rhythm repeats (clock, rounds), so
// that the current step is always one of the marks shown.
std::optional<int> currentMark(Mode mode, int planIndex);

} // namespace Rhythm
