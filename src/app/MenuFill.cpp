#include "app/MenuFill.h"

#include "views/ink/InkStyle.h"
#include "views/ink/SymbolPainter.h"

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
            // Drawn as plain text in soft ink, not as a greyed-out command.
            action->setProperty(InkStyle::kMenuLabel, true);
            break;
        }
        case MenuEntry::Kind::action: {
            QAction *action = menu->addAction(entry.text);
            action->setObjectName(entry.id);
            action->setShortcut(entry.shortcut);
            action->setEnabled(entry.enabled);
            // A choice among several shows a check beside the chosen title
            // and nothing beside the others (no empty boxes).
            if (entry.checkable && entry.checked) {
                action->setIcon(SymbolPainter::icon(Symbol::checkmark, {Kiv::Colour::ink}));
                action->setIconVisibleInMenu(true);
            }
            if (entry.trigger)
                QObject::connect(action, &QAction::triggered, menu, [trigger = entry.trigger] { trigger(); });
            break;
        }
        }
    }
}

} // namespace MenuFill
