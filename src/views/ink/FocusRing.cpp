#include "views/ink/FocusRing.h"

#include "views/ink/FocusFrame.h"

#include <QApplication>
#include <QEvent>
#include <QFocusEvent>
#include <QObject>
#include <QAbstractScrollArea>

namespace {

bool g_keyboardLast = false;
int g_falling = 0;

class Watch : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        // Every scrolling page shows its focus too.
        if (event->type() == QEvent::Polish) {
            if (auto *area = qobject_cast<QAbstractScrollArea *>(watched))
                FocusFrame::attach(area);
            return false;
        }
        // Input from the desktop only; what the program sends itself is not the user.
        if (!event->spontaneous())
            return false;
        switch (event->type()) {
        case QEvent::KeyPress:
            g_keyboardLast = true;
            break;
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
        case QEvent::TouchBegin:
        case QEvent::TabletPress:
            g_keyboardLast = false;
            break;
        default:
            break;
        }
        return false;
    }
};

} // namespace

namespace FocusRing {

void watch()
{
    static Watch *watch = nullptr;
    if (watch || !qApp)
        return;
    watch = new Watch(qApp);
    qApp->installEventFilter(watch);
}

bool keyboardLast()
{
    return g_keyboardLast;
}

bool shows(const QFocusEvent *event)
{
    if (g_falling)
        return g_keyboardLast;
    switch (event->reason()) {
    case Qt::TabFocusReason:
    case Qt::BacktabFocusReason:
    case Qt::ShortcutFocusReason:
    case Qt::MenuBarFocusReason:
        return true;
    case Qt::MouseFocusReason:
        return false;
    default:
        return g_keyboardLast;
    }
}

bool shows(const QFocusEvent *event, bool before)
{
    if (event->reason() == Qt::ActiveWindowFocusReason || event->reason() == Qt::PopupFocusReason)
        return before;
    return shows(event);
}

bool givenByUser(const QFocusEvent *event)
{
    if (g_falling)
        return g_keyboardLast;
    switch (event->reason()) {
    case Qt::ActiveWindowFocusReason:
    case Qt::PopupFocusReason:
        return g_keyboardLast;
    default:
        return true;
    }
}

Falling::Falling()
{
    ++g_falling;
}

Falling::~Falling()
{
    --g_falling;
}

} // namespace FocusRing
