#include "views/day/DeedItem.h"

#include "core/L.h"
#include "views/day/DayItemTexts.h"

#include <QKeyEvent>
#include <QMouseEvent>

DeedItem::DeedItem(const DayDeed &deed, bool enabled, std::function<void()> open, QWidget *parent)
    : DayItem(Kiv::Colour::actual, deed.title, DayItemTexts::deed(deed), false, parent)
    , m_deed(deed)
    , m_enabled(enabled)
    , m_open(std::move(open))
{
    setObjectName(deed.fromCalendar ? QStringLiteral("day.calendarDeed") : QStringLiteral("day.deed"));
    setAccessibleName(deed.title);
    setAccessibleDescription(DayItemTexts::deed(deed));
    if (enabled) {
        setToolTip(L(QStringLiteral("押すと、直す・消す")));
        setCursor(Qt::PointingHandCursor);
        setFocusPolicy(Qt::StrongFocus);
    }
}

void DeedItem::mousePressEvent(QMouseEvent *event)
{
    if (m_enabled)
        event->accept();
    else
        DayItem::mousePressEvent(event);
}

void DeedItem::mouseReleaseEvent(QMouseEvent *event)
{
    if (m_enabled && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        m_open();
    else
        DayItem::mouseReleaseEvent(event);
}

void DeedItem::keyPressEvent(QKeyEvent *event)
{
    if (m_enabled && (event->key() == Qt::Key_Space || event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)) {
        m_open();
        return;
    }
    DayItem::keyPressEvent(event);
}
