#pragma once

#include "core/Mode.h"

#include <QString>

class AppModel;
class PomodoroEngine;

// The run's controls as the timer screen, the menu commands and the tray
// menu share them: each is the exact sequence of calls on the model and its
// engine that one button or menu item makes.
namespace RunControls {

// Pauses a running phase; starts or resumes one in any other state (a
// finished run stays as it is).
void startOrPause(PomodoroEngine &engine);

// Ends the current phase now and moves on. An open-ended phase (the open
// mode's focus, which never ends by itself) ends as completed, a timed one
// as not completed. Nothing happens once the run has finished.
void next(PomodoroEngine &engine);

// Begins a mode at once, as the menus do: no bell, no preparation and no
// round titles. A preparation under way is abandoned first, so its steps
// can never begin a second run later; a run under way is stopped first, so
// the worked part of its interrupted phase is recorded rather than lost.
void beginAtOnce(AppModel &model, Mode mode);

// The completion screen's again: the finished run's mode once more, straight
// on the engine; nothing when the engine has no mode.
void again(PomodoroEngine &engine);

// Lets go of the round. In a rounds run with a further round, moves on to
// it (this round not completed); otherwise stops the run and clears the
// round's title and the selected task, so the timer offers the choice again.
void putDown(AppModel &model);

// Marks the selected task done, then moves on as putDown does, except that
// a round left for the next one counts as completed.
void completeTask(AppModel &model);

// Leaves a rounds run to stay with one of its tasks: dwells on the title and
// begins the quick mode on it through the model (bell and preparation as
// the model's begin decides).
void stay(AppModel &model, const QString &title);

} // namespace RunControls
