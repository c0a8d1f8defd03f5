#pragma once

#include "core/Mode.h"
#include "views/timer/RhythmPlan.h"

#include <QList>
#include <QString>
#include <optional>

// One card of the mode selection: the mode's name, the span of a whole run,
// its one-line description and its rhythm strip. Tapping a card begins its
// mode through AppModel::begin, except the rounds card, which opens the
// rounds picker instead. No card is ever disabled or hidden.
struct ModeCard
{
    Mode mode = Mode::open;
    QString name;           // "Ninnun" …
    QString span;           // "Open", "10 min", "30 min", "1 hr", "Ongoing", "10 min each"
    QString detail;         // the description line
    RhythmPlan strip;       // no step marked
    bool setApart = false;  // the clock card stands apart from the first four (a gap above it)
    bool opensRoundsPicker = false;
    QString accessibleName; // "Begin Ninnun" …

    // The six cards in the order open, chore, quick, hour, clock, rounds.
    static QList<ModeCard> all(const PomodoroConfiguring &settings);

    // The planned seconds of a whole run from the modes' fixed lengths (the
    // user's minutes play no part): chore 600, quick 1800, hour 3600; none
    // for open (counts up), clock and rounds (no fixed pass).
    static std::optional<double> totalDuration(Mode mode, const PomodoroConfiguring &settings);
    // The card's span text, through L.
    static QString spanText(Mode mode, const PomodoroConfiguring &settings);
};
