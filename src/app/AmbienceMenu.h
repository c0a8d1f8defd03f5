#pragma once

#include "app/MenuEntry.h"

#include <QList>
#include <QString>

class AppModel;

// The ambience picker at the foot of the timer screen: its face names the
// sound that plays behind focus phases, and its menu offers the scenes and
// the user's own sounds. A choice is stored in the settings and brought in
// line with the run at once (heard now during a running focus, else at the
// next one).
namespace AmbienceMenu {

struct Face
{
    bool silent = false; // speaker with a slash; any other scene a speaker with waves
    QString text;        // AppModel::ambienceTitle
    QString iconName;    // the icon's accessible name: "Soundscape"
    QString toolTip;     // "The sound now playing. Click to change it"
};

// Follows AppSettings::ambienceSceneChanged and AppModel::ambienceTitleChanged.
Face face(const AppModel &model);

// Read anew from the settings and the sound library each time the menu
// opens: ambience.scene.<name> for the twelve scenes, silent first and
// heartbeat last, the chosen one checked; then, only when the library holds
// sounds, a divider, the section "Imported sounds" and ambience.sound.<name>
// per sound in library order, checked when it is the chosen custom sound.
QList<MenuEntry> entries(AppModel &model);

} // namespace AmbienceMenu
