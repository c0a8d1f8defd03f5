#pragma once

#include "app/MenuEntry.h"

#include <QList>
#include <QString>
#include <functional>

class AppModel;

// What the tray menu asks of the shell: bringing the program forward,
// opening one of its windows by identifier ("timer", "history",
// "glossary") and quitting.
struct ShellActions
{
    std::function<void()> activate;
    std::function<void(const QString &window)> openWindow;
    std::function<void()> quit;
};

// The tray (menu-bar) item's menu and tooltip. While the engine has a mode
// the menu tells the mode, phase and time and offers the run's controls;
// without one it offers a start in each mode. The windows and Quit follow in
// both cases. The entries change with the run: the shell builds the menu
// anew from entries() when the engine changes (PomodoroEngine::changed),
// or when the menu is about to show.
namespace MenuBarMenu {

// With a mode:
//   tray.status (label) "{mode}　{phase}　{clock}", the clock always in full;
//   tray.startPause Ctrl+Return, tray.next, tray.reset, tray.chooseAgain.
// Without one:
//   tray.heading (label) "How will you go?";
//   tray.begin.<mode> × 6, each beginning the mode at once, then bringing
//   the program forward on the timer window, showing the timer tab.
// Then: divider; tray.openTimer, tray.openHistory, tray.openGlossary (each
// activating first); divider; tray.quit Ctrl+Q.
QList<MenuEntry> entries(AppModel &model, const ShellActions &shell);

// The status line of a run under way.
QString statusLine(const AppModel &model);

// The tray icon's tooltip: exactly the model's menu-bar title.
QString toolTip(const AppModel &model);

} // namespace MenuBarMenu
