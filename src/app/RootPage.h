#pragma once

#include "model/RootTab.h"

#include <QString>

class AppModel;

// Which screen fills the main window's page area: the one place that maps
// the application's state to a page. On the timer tab a preparation under
// way shows its steps, else the engine's mode decides between the choice
// of a mode and the running round; on the tasks tab a sweep under way
// shows the sweep; the day and practice tabs always show their page.
namespace RootPage {

enum class Kind { preparation, modeSelection, running, day, tasks, sweep, daily };

Kind of(RootTab tab, bool preparing, bool hasMode, bool sweeping);
Kind of(const AppModel &model);

// The page's object name ("page.modeSelection").
QString objectName(Kind kind);

// The first-run introduction fills the window until it has been seen;
// never in still pictures.
bool showsIntro(bool hasSeenIntro, bool snapshot);

} // namespace RootPage
