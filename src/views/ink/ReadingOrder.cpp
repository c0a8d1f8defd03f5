#include "views/ink/ReadingOrder.h"

#include "views/ink/FocusRing.h"

#include <QApplication>
#include <QScrollArea>
#include <QWidget>
#include <algorithm>

namespace {

bool isStop(const QWidget *w)
{
    return (w->focusPolicy() & Qt::TabFocus) == Qt::TabFocus && w->isEnabled() && !w->focusProxy();
}

struct Visit
{
    const QWidget *gone = nullptr; // the focus widget that was hidden, kept in place

    // Whether the child is walked: shown, or holding the widget that went.
    bool walks(const QWidget *child) const
    {
        if (child->isWindow())
            return false;
        return !child->isHidden() || (gone && (child == gone || child->isAncestorOf(gone)));
    }

    // The stops of one child's subtree (itself first). In a hidden branch
    // (walked only to find where the widget that went stood) that widget
    // alone counts.
    QList<QWidget *> of(QWidget *widget, bool hidden)
    {
        hidden = hidden || widget->isHidden();
        QList<QWidget *> found;
        if (widget == gone || (isStop(widget) && !hidden))
            found << widget;
        found << inside(widget, hidden);
        return found;
    }

    // The stops inside a widget, its children taken in reading order.
    QList<QWidget *> inside(QWidget *widget, bool hidden = false)
    {
        struct Part
        {
            QRect rect;
            QList<QWidget *> stops;
        };
        QList<Part> parts;
        for (QObject *object : widget->children()) {
            auto *child = qobject_cast<QWidget *>(object);
            if (!child || !walks(child))
                continue;
            QList<QWidget *> stops = of(child, hidden);
            if (!stops.isEmpty())
                parts.append({child->geometry(), stops});
        }
        // Top to bottom; a part whose middle lies within the height of the
        // first part of a line joins that line; each line left to right.
        std::stable_sort(parts.begin(), parts.end(),
                         [](const Part &a, const Part &b) { return a.rect.top() < b.rect.top(); });
        QList<QWidget *> result;
        for (qsizetype i = 0; i < parts.size();) {
            const QRect anchor = parts[i].rect;
            qsizetype end = i + 1;
            while (end < parts.size() && parts[end].rect.center().y() <= anchor.bottom())
                ++end;
            std::stable_sort(parts.begin() + i, parts.begin() + end, [](const Part &a, const Part &b) {
                return a.rect.center().x() < b.rect.center().x();
            });
            for (qsizetype k = i; k < end; ++k)
                result << parts[k].stops;
            i = end;
        }
        return result;
    }
};

void scrollIntoView(QWidget *widget)
{
    for (QWidget *w = widget->parentWidget(); w && !w->isWindow(); w = w->parentWidget())
        if (auto *area = qobject_cast<QScrollArea *>(w))
            area->ensureWidgetVisible(widget);
}

} // namespace

namespace ReadingOrder {

QList<QWidget *> stops(QWidget *root)
{
    Visit visit;
    return visit.inside(root);
}

bool focusNext(QWidget *window, bool forward)
{
    QWidget *current = QApplication::focusWidget();
    if (current && current->window() != window)
        current = nullptr;
    // A focused widget that was hidden or disabled (a button that turns
    // itself off when pressed) is no stop any more, but the focus goes on
    // from where it stands, not from the window's first control.
    const bool gone = current && (!current->isVisible() || !current->isEnabled());
    Visit visit;
    if (gone)
        visit.gone = current;
    QList<QWidget *> order = visit.inside(window);
    if (gone)
        forward = true; // the focus goes on from where the widget stood
    // The focus may sit inside a stop (a field's inner editor): that stop.
    qsizetype at = -1;
    for (QWidget *w = current; w && at < 0; w = w->parentWidget()) {
        at = order.indexOf(w);
        if (w == window)
            break;
    }
    if (gone && at >= 0)
        order.removeAt(at); // not a stop any more; its successor takes its index
    if (order.isEmpty())
        return false;
    qsizetype next = 0;
    if (at >= 0) {
        const qsizetype n = order.size();
        next = gone ? at % n : (forward ? (at + 1) % n : (at - 1 + n) % n);
    } else if (!forward) {
        next = order.size() - 1;
    }
    QWidget *target = order[next];
    if (gone) {
        const FocusRing::Falling falling; // nobody chose it
        target->setFocus(Qt::OtherFocusReason);
    } else {
        target->setFocus(forward ? Qt::TabFocusReason : Qt::BacktabFocusReason);
    }
    scrollIntoView(target);
    return true;
}

bool holdsFocus(const QWidget *widget)
{
    const QWidget *focus = QApplication::focusWidget();
    return widget && focus && (focus == widget || widget->isAncestorOf(focus));
}

void focusInto(QWidget *page)
{
    if (!page || holdsFocus(page) || !page->isVisible())
        return;
    const QList<QWidget *> order = stops(page);
    QWidget *target = order.value(0);
    for (QWidget *w : order)
        if (w->property("pageFocus").toBool()) {
            target = w;
            break;
        }
    if (!target)
        return;
    target->setFocus(Qt::OtherFocusReason);
    scrollIntoView(target);
}

} // namespace ReadingOrder
