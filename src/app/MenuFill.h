#pragma once

#include "app/MenuEntry.h"

#include <QList>

class QMenu;

// Turns described menu entries into the menu's actions (object name from
// the entry's id), replacing what the menu held. The checked entry of a
// choice carries a check mark as its icon.
namespace MenuFill {
void fill(QMenu *menu, const QList<MenuEntry> &entries);
}
