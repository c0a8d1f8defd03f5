#pragma once

#include "core/Mode.h"

#include <QString>
#include <optional>

// One button of the round's family as one state of the run shows it.
struct RoundButton
{
    bool visible = false;
    bool enabled = true;
    QString title;   // the label through L; the back button's is its accessible name
    QString toolTip; // empty when the button has none

    bool operator==(const RoundButton &) const = default;
};

// The seven round buttons of the running-round screen and the completion
// view, for one state of the run: which show, their titles and help texts,
// and which are enabled. The actions they run are RunControls' (and the
// engine's reset and stop).
struct RoundButtons
{
    enum class Tint { indigo, moss };

    RoundButton back;    // the header's chevron: always shown; leaves the run (engine stop)
    RoundButton reset;   // "Back": disabled at an idle phase with no progress
    RoundButton primary; // "Begin" / "Pause" / "Resume" by state
    Tint primaryTint = Tint::indigo; // indigo in focus, moss in either break
    RoundButton next;    // "Next": always enabled while shown
    RoundButton putDown; // "Let go": in the paused panel and on the completion view
    RoundButton complete; // "Mark done": beside put down while a task is linked
    RoundButton encore;   // "Keep sitting" / "Never mind": in a break that can take one more sitting
    bool encoreChosen = false;
    RoundButton again; // on the completion view

    struct Inputs
    {
        std::optional<Mode> mode;
        Phase phase = Phase::focus;
        RunState state = RunState::idle;
        double progress = 0;
        bool canEncore = false;
        bool encoreChosen = false; // a further step already follows the current one
        std::optional<QString> linkedTitle;
    };
    static RoundButtons of(const Inputs &in);

    bool operator==(const RoundButtons &) const = default;
};
