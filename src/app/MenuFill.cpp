#include "app/MenuFill.h"

#include <QMenu>

namespace MenuFill {

void fill(QMenu *menu, const QList<MenuEntry> &entries)
{
    menu->clear();
    for (const MenuEntry &entry : entries) {
        switch (entry.kind) {
        case MenuEntry::Kind::divider:
            menu->addSeparator();
            break;
        case MenuEntry::Kind::section:
            menu->addSection(entry.text)->setObjectName(entry.id);
            break;
        case MenuEntry::Kind::label: {
            QAction *action = menu->addAction(entry.text);
            action->setObjectName(entry.id);
            action->setEnabled(false);
            break;
        }
        case MenuEntry::Kind::action: {
            QAction *action = menu->addAction(entry.text);
            action->setObjectName(entry.id);
            action->setShortcut(entry.shortcut);
            action->setEnabled(entry.enabled);
            action->setCheckable(entry.checkable);
            action->setChecked(entry.checked);
            if (entry.trigger)
                QObject::connect(action, &QAction::triggered, menu, [trigger = entry.trigger] { trigger(); });
            break;
        }
        }
    }
}

} // namespace MenuFill
