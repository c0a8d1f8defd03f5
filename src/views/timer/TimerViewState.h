#pragma once

#include "core/AppSettings.h"
#include "core/Mode.h"
#include "views/timer/RhythmPlan.h"
#include "views/timer/RoundButtons.h"

#include <QString>
#include <optional>

class AppModel;

// What the running-round screen shows for one state and phase of the run:
// the header, the face and clock, the rounds line, the three-minds card, the
// rhythm strip, the controls, the paused panel, or the completion view
// instead of the running column. The screen refreshes from of(model) on
// PomodoroEngine::changed, TaskHub::selectedChanged and
// AppSettings::focusVisualChanged.
struct TimerViewState
{
    enum class Face { incense, ring, walking };

    // What the screen reads of the model at one moment.
    struct Inputs
    {
        std::optional<Mode> mode;
        Phase phase = Phase::focus;
        RunState state = RunState::idle;
        double progress = 0;
        int planIndex = 0;
        int rounds = 0; // the titles of a rounds run
        bool canEncore = false;
        bool encoreChosen = false; // a further step already follows the current one
        std::optional<QString> nextRoundTitle;
        std::optional<QString> lastRoundTitle;
        std::optional<QString> linkedTitle; // the linked task's title
        QString displayTitle;
        QString pausedHelp;
        FocusVisual focusVisual = FocusVisual::incense;

        static Inputs of(const AppModel &model);
    };

    static TimerViewState of(const Inputs &in);
    static TimerViewState of(const AppModel &model) { return of(Inputs::of(model)); }

    // Header: the phase's name centred (the mode's once the run has
    // finished, nothing without a mode) and, while the run goes on, the
    // mode's name beside the back control.
    QString title;
    std::optional<QString> modeName;

    // A finished run shows the completion view (for its mode, under the
    // display title) in place of the running column.
    bool showsColumn = true;
    bool showsCompletion = false;
    QString completionTitle;

    // Face and clock: the walking figure in a short break, else the focus
    // face of the setting; the clock is large in focus, small in a break
    // with the break's instruction and fallback note under it.
    Face face = Face::incense;
    // The ring breathes with the engine's ticks; the incense and the walking
    // figure draw their own frames and take the progress as it comes, so
    // with them in sight the clock is needed only in whole seconds.
    static bool drawsOwnFrames(Face f) { return f != Face::ring; }
    bool largeClock = true;
    QString breakInstruction;
    QString breakNote;

    // The rounds line: in a rounds break with a further round, the next
    // round's title (and the stay button for the round just ended) in place
    // of the title field.
    bool showsTitleField = true;
    std::optional<QString> nextRoundTitle;
    std::optional<QString> stayTitle;
    QString stayLabel;
    QString stayToolTip;

    bool showsIsshin = false;
    std::optional<RhythmPlan> strip;

    // The paused panel: while paused and through every break.
    bool showsPanel = false;
    QString pausedHelp;
    QString encoreLine; // under the encore button while it shows

    RoundButtons buttons;
};
