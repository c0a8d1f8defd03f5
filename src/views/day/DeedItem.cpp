#include "views/day/DeedItem.h"

#include "core/L.h"
#include "views/day/DayItemTexts.h"
#include "views/ink/FocusRing.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

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

void DeedItem::focusInEvent(QFocusEvent *event)
{
    DayItem::focusInEvent(event);
    m_keyboardFocus = FocusRing::shows(event, m_keyboardFocus);
    update();
}

void DeedItem::focusOutEvent(QFocusEvent *event)
{
    DayItem::focusOutEvent(event);
    if (event->reason() != Qt::ActiveWindowFocusReason && event->reason() != Qt::PopupFocusReason)
        m_keyboardFocus = false;
    update();
}

void DeedItem::paintEvent(QPaintEvent *event)
{
    DayItem::paintEvent(event);
    if (!m_keyboardFocus || !hasFocus())
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(Kiv::indigo(0.6), 1.5));
    painter.setBrush(Qt::NoBrush);
    painter.drawRoundedRect(QRectF(rect()).adjusted(1, 1, -1, -1), 4, 4);
}
