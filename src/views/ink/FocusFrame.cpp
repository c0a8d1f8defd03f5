#include "views/ink/FocusFrame.h"

#include "core/Kiv.h"
#include "views/ink/FocusRing.h"

#include <QFocusEvent>
#include <QPainter>
#include <QPainterPath>
#include <QPlainTextEdit>
#include <QTextEdit>

void FocusFrame::attach(QWidget *widget)
{
    if (!widget || qobject_cast<QTextEdit *>(widget) || qobject_cast<QPlainTextEdit *>(widget)
        || widget->property("ownFocusRing").toBool()
        || widget->findChild<FocusFrame *>(QString(), Qt::FindDirectChildrenOnly))
        return;
    new FocusFrame(widget);
}

FocusFrame::FocusFrame(QWidget *host)
    : QWidget(host)
    , m_host(host)
{
    setObjectName(QStringLiteral("focusFrame"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setFocusPolicy(Qt::NoFocus);
    hide();
    host->installEventFilter(this);
}

bool FocusFrame::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_host)
        return false;
    switch (event->type()) {
    case QEvent::FocusIn:
        m_shows = FocusRing::shows(static_cast<QFocusEvent *>(event), m_shows);
        if (m_shows) {
            setGeometry(m_host->rect());
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
            setGeometry(m_host->rect());
        break;
    default:
        break;
    }
    return false;
}

void FocusFrame::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath ring;
    ring.addRoundedRect(QRectF(rect()).adjusted(1.5, 1.5, -1.5, -1.5), 6, 6);
    painter.strokePath(ring, QPen(Kiv::indigo(0.6), 1.5));
}
