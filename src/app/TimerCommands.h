#pragma once

#include "app/MenuEntry.h"

#include <QList>

class AppModel;

// The timer's menu commands, reachable from every window: a start in each
// mode, then start or pause, next, reset and choose again for the run under
// way, and the always-on-top switch. Titles and enabled states follow the
// engine's mode and state and the "alwaysOnTop" setting: the shell applies
// entries(model) again whenever PomodoroEngine::modeChanged, stateChanged
// or AppSettings::alwaysOnTopChanged is emitted (ids and order never change).
namespace TimerCommands {

// Fourteen entries, top to bottom:
//   commands.begin.<mode> × 6 (open … rounds), "Begin {mode}", always enabled,
//     each showing the timer tab;
//   divider;
//   commands.startPause  Ctrl+Return  "Pause" while running, else "Begin";
//   commands.next        Ctrl+Right;
//   commands.reset       Ctrl+R;
//   commands.chooseAgain (the four enabled only while the engine has a mode);
//   divider;
//   commands.alwaysOnTop Ctrl+Shift+T, titled by the setting, always enabled;
//   divider.
QList<MenuEntry> entries(AppModel &model);

} // namespace TimerCommands
