#include "views/ink/Popover.h"

#include "views/ink/PopupPanel.h"
#include "views/ink/ReadingOrder.h"

#include <QApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QScreen>
#include <QVBoxLayout>

Popover::Popover(QWidget *anchor)
    : QFrame(anchor, Qt::Popup | Qt::FramelessWindowHint)
    , m_anchor(anchor)
{
    // A sheet of paper with rounded corners and the cards' soft shadow
    // where the desktop composes windows; cut to its outline where not.
    PopupPanel::prepare(this);
    const int edge = 1 + PopupPanel::room(this);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(edge, edge, edge, edge);
    layout->setSpacing(0);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void Popover::setContent(QWidget *content)
{
    if (m_content)
        m_content->deleteLater();
    m_content = content;
    layout()->addWidget(content);
}

QPoint Popover::placement(const QRect &anchor, const QSize &size, const QRect &screen, Qt::Edge edge, int gap)
{
    const int w = size.width(), h = size.height();
    int x = 0, y = 0;
    switch (edge) {
    case Qt::BottomEdge:
    case Qt::TopEdge: {
        x = anchor.left() + anchor.width() / 2 - w / 2;
        const int below = anchor.bottom() + 1 + gap;
        const int above = anchor.top() - gap - h;
        const bool roomBelow = below + h <= screen.bottom() + 1;
        const bool roomAbove = above >= screen.top();
        if (edge == Qt::BottomEdge)
            y = roomBelow || !roomAbove ? below : above;
        else
            y = roomAbove || !roomBelow ? above : below;
        break;
    }
    case Qt::LeftEdge:
    case Qt::RightEdge: {
        y = anchor.top() + anchor.height() / 2 - h / 2;
        const int right = anchor.right() + 1 + gap;
        const int left = anchor.left() - gap - w;
        const bool roomRight = right + w <= screen.right() + 1;
        const bool roomLeft = left >= screen.left();
        if (edge == Qt::RightEdge)
            x = roomRight || !roomLeft ? right : left;
        else
            x = roomLeft || !roomRight ? left : right;
        break;
    }
    }
    x = std::max(screen.left(), std::min(x, screen.right() + 1 - w));
    y = std::max(screen.top(), std::min(y, screen.bottom() + 1 - h));
    return {x, y};
}

namespace {
// The one popover open aside, if any.
QPointer<Popover> g_aside;
} // namespace

void Popover::open(Qt::Edge edge)
{
    if (m_aside) {
        // Shown aside already: shown again as a popover that takes the keys.
        m_switching = true;
        hide();
        setAside(false);
        m_switching = false;
    }
    place(edge);
    show();
    if (m_content)
        m_content->setFocus(Qt::PopupFocusReason);
}

void Popover::openAside(Qt::Edge edge)
{
    if (isVisible())
        return;
    if (g_aside && g_aside != this)
        g_aside->close();
    setAside(true);
    place(edge);
    qApp->installEventFilter(this);
    show();
}

void Popover::setAside(bool aside)
{
    if (aside == m_aside)
        return;
    m_aside = aside;
    // A tool-tip window is never made active, by this program or by the
    // window manager, so the keyboard stays with the window beneath.
    setWindowFlags(aside ? Qt::ToolTip | Qt::FramelessWindowHint : Qt::Popup | Qt::FramelessWindowHint);
    setAttribute(Qt::WA_ShowWithoutActivating, aside);
    if (aside)
        g_aside = this;
    else if (g_aside == this)
        g_aside = nullptr;
}

bool Popover::eventFilter(QObject *watched, QEvent *event)
{
    // Installed on the application only while shown aside.
    if (!m_aside || !isVisible())
        return false;
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::Wheel: {
        // A menu opened from the popover's own buttons is its own popup.
        auto *widget = qobject_cast<QWidget *>(watched);
        if (widget && widget->window() != this && !QApplication::activePopupWidget())
            close();
        return false;
    }
    case QEvent::KeyPress: {
        auto *widget = qobject_cast<QWidget *>(watched);
        if (static_cast<QKeyEvent *>(event)->key() == Qt::Key_Escape && widget && m_anchor
            && widget->window() == m_anchor->window() && !QApplication::activePopupWidget()) {
            close();
            return true;
        }
        return false;
    }
    case QEvent::ApplicationStateChange:
        if (watched == qApp && QGuiApplication::applicationState() != Qt::ApplicationActive)
            close();
        return false;
    default:
        return false;
    }
}

void Popover::place(Qt::Edge edge)
{
    adjustSize();
    QRect anchorRect;
    QScreen *screen = nullptr;
    if (m_anchor) {
        anchorRect = QRect(m_anchor->mapToGlobal(QPoint(0, 0)), m_anchor->size());
        screen = m_anchor->screen();
    }
    const QRect area = screen ? screen->availableGeometry() : QRect(0, 0, 1 << 16, 1 << 16);
    // The sheet is placed; the window around it keeps room for the shadow.
    const int room = PopupPanel::room(this);
    const QSize sheet = size() - QSize(2 * room, 2 * room);
    move(placement(anchorRect, sheet, area, edge) - QPoint(room, room));
}

void Popover::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    PopupPanel::draw(painter, QSizeF(size()), PopupPanel::room(this));
}

void Popover::resizeEvent(QResizeEvent *event)
{
    QFrame::resizeEvent(event);
    if (!PopupPanel::isTranslucent(this))
        setMask(PopupPanel::mask(size()));
}

bool Popover::focusNextPrevChild(bool next)
{
    return ReadingOrder::focusNext(this, next);
}

void Popover::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Escape || event->matches(QKeySequence::Close)) {
        close();
        return;
    }
    QFrame::keyPressEvent(event);
}

void Popover::hideEvent(QHideEvent *event)
{
    QFrame::hideEvent(event);
    if (m_aside)
        qApp->removeEventFilter(this);
    if (!m_switching)
        emit dismissed();
}
