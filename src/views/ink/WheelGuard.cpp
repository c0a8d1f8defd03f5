#include "views/ink/WheelGuard.h"

#include <QAbstractScrollArea>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QCalendarWidget>
#include <QComboBox>
#include <QScrollBar>
#include <QTabBar>
#include <QWheelEvent>

namespace {

// The scroll area whose viewport or frame this widget is, if any.
QAbstractScrollArea *scrollAreaOf(QWidget *widget)
{
    if (auto *area = qobject_cast<QAbstractScrollArea *>(widget))
        return area;
    if (auto *area = qobject_cast<QAbstractScrollArea *>(widget->parentWidget()); area && area->viewport() == widget)
        return area;
    return nullptr;
}

} // namespace

void WheelGuard::install()
{
    static WheelGuard *guard = nullptr;
    if (guard || !qApp)
        return;
    guard = new WheelGuard(qApp);
    qApp->installEventFilter(guard);
}

bool WheelGuard::takesValue(const QWidget *widget)
{
    if (qobject_cast<const QScrollBar *>(widget))
        return false;
    return qobject_cast<const QComboBox *>(widget) || qobject_cast<const QAbstractSpinBox *>(widget)
           || qobject_cast<const QAbstractSlider *>(widget) || qobject_cast<const QTabBar *>(widget)
           || qobject_cast<const QCalendarWidget *>(widget);
}

bool WheelGuard::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Polish) {
        if (auto *widget = qobject_cast<QWidget *>(watched);
            widget && (widget->focusPolicy() & Qt::WheelFocus) == Qt::WheelFocus)
            widget->setFocusPolicy(Qt::StrongFocus);
        return false;
    }
    // Only the wheel as it comes from the desktop, at the widget under the
    // pointer: what Qt passes on, or what this guard sends, goes its way.
    if (event->type() != QEvent::Wheel || !event->spontaneous())
        return false;
    auto *target = qobject_cast<QWidget *>(watched);
    if (!target)
        return false;

    bool valueControl = false;
    for (QWidget *w = target; w; w = w->parentWidget()) {
        if (QAbstractScrollArea *area = scrollAreaOf(w)) {
            if (w == target)
                return false; // over the page itself (or a list, an editor)
            // Over something in the page that does not have the focus: the
            // page scrolls, as if the wheel had passed straight through.
            auto *wheel = static_cast<QWheelEvent *>(event);
            QWidget *viewport = area->viewport();
            const QPointF at = viewport->mapFromGlobal(wheel->globalPosition());
            QWheelEvent passed(at, wheel->globalPosition(), wheel->pixelDelta(), wheel->angleDelta(),
                               wheel->buttons(), wheel->modifiers(), wheel->phase(), wheel->inverted(),
                               wheel->source(), wheel->pointingDevice());
            QCoreApplication::sendEvent(viewport, &passed);
            return true;
        }
        if (w->hasFocus()) // (or the widget it hands its focus to)
            return false; // the focused control takes the wheel
        if (qobject_cast<QScrollBar *>(w))
            return false;
        valueControl = valueControl || takesValue(w);
        if (w->isWindow())
            break;
    }
    // No page around it: a value control lets the wheel go by unchanged.
    return valueControl;
}
