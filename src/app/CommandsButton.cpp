#include "app/CommandsButton.h"

#include "core/L.h"
#include "views/ink/LayoutRole.h"

#include <QAction>
#include <QKeyEvent>
#include <QMenu>
#include <QShortcut>

namespace {
constexpr double kSide = 26;
} // namespace

CommandsButton::CommandsButton(QWidget *parent)
    : InkButton(parent)
{
    setObjectName(QStringLiteral("root.commands"));
    LayoutRole::setOverlay(this); // floats in the corner, clear of the tab row's titles
    InkLook look = InkLook::icon(Symbol::line3Horizontal, 11 * Kiv::scale(), {Kiv::Colour::inkSoft},
                                 {Kiv::Colour::ink}, QSizeF(kSide, kSide));
    look.fill = Tone::clear();
    look.fillHover = {Kiv::Colour::paperRaised};
    look.stroke = Tone::clear();
    look.strokeHover = {Kiv::Colour::hairline};
    look.shape = InkLook::Shape::circle;
    look.circleHitArea = true;
    setLook(look);
    setName(L("メニュー"));
    connect(this, &QAbstractButton::clicked, this, [this] { openMenu(false); });
    // F10 opens the main menu of a window on the Linux desktops.
    auto *f10 = new QShortcut(QKeySequence(Qt::Key_F10), this, [this] { openMenu(true); });
    f10->setContext(Qt::WindowShortcut);
}

void CommandsButton::openMenu(bool fromKeyboard)
{
    if (!m_menu) {
        m_menu = new QMenu(this);
        m_menu->setObjectName(QStringLiteral("root.commandsMenu"));
        m_menu->setAccessibleName(L("メニュー"));
    }
    // The window's commands as they stand now (their titles and enabled
    // states follow the run by themselves).
    m_menu->clear();
    m_menu->addActions(window()->actions());
    if (m_menu->isEmpty())
        return;
    if (fromKeyboard) {
        for (QAction *action : m_menu->actions())
            if (!action->isSeparator() && action->isEnabled()) {
                m_menu->setActiveAction(action);
                break;
            }
    }
    m_menu->popup(mapToGlobal(QPoint(0, height() + 2)));
}

void CommandsButton::keyPressEvent(QKeyEvent *event)
{
    // Space and Return open the menu as the keyboard's press, so the first
    // command is ready for the arrows.
    if (!event->modifiers() && (event->key() == Qt::Key_Space || event->key() == Qt::Key_Return
                                || event->key() == Qt::Key_Enter || event->key() == Qt::Key_Down)) {
        openMenu(true);
        return;
    }
    InkButton::keyPressEvent(event);
}
