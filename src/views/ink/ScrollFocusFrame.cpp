#include "views/ink/ScrollFocusFrame.h"

#include "core/Kiv.h"
#include "views/ink/FocusRing.h"

#include <QFocusEvent>
#include <QPainter>
#include <QPainterPath>
#include <QAbstractScrollArea>
#include <QPlainTextEdit>
#include <QTextEdit>

void ScrollFocusFrame::attach(QAbstractScrollArea *area)
{
    if (!area || qobject_cast<QTextEdit *>(area) || qobject_cast<QPlainTextEdit *>(area)
        || area->property("ownFocusRing").toBool()
        || area->findChild<ScrollFocusFrame *>(QString(), Qt::FindDirectChildrenOnly))
        return;
    new ScrollFocusFrame(area);
}

ScrollFocusFrame::ScrollFocusFrame(QAbstractScrollArea *area)
    : QWidget(area)
    , m_area(area)
{
    setObjectName(QStringLiteral("scrollFocusFrame"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::NoFocus);
    hide();
    area->installEventFilter(this);
}

bool ScrollFocusFrame::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_area)
        return false;
    switch (event->type()) {
    case QEvent::FocusIn:
        m_shows = FocusRing::shows(static_cast<QFocusEvent *>(event), m_shows);
        if (m_shows) {
            setGeometry(m_area->rect());
            raise();
        }
        setVisible(m_shows);
        break;
    case QEvent::FocusOut: {
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            m_shows = false;
        hide();
        break;
    }
    case QEvent::Resize:
        if (isVisible())
            setGeometry(m_area->rect());
        break;
    default:
        break;
    }
    return false;
}

void ScrollFocusFrame::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath ring;
    ring.addRoundedRect(QRectF(rect()).adjusted(1.5, 1.5, -1.5, -1.5), 6, 6);
    painter.strokePath(ring, QPen(Kiv::indigo(0.6), 1.5));
}
