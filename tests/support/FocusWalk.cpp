#include "support/FocusWalk.h"

#include <QAbstractButton>
#include <QAbstractSlider>
#include <QAbstractSpinBox>
#include <QAccessible>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QSet>
#include <QTabBar>
#include <QTest>
#include <QTextEdit>
#include <QImage>

namespace {

bool usable(const QWidget *widget, const QWidget *window)
{
    return widget->window() == window && widget->isVisibleTo(window) && widget->isEnabled();
}

bool tabFocus(const QWidget *widget)
{
    return (widget->focusPolicy() & Qt::TabFocus) == Qt::TabFocus;
}

// The first widget of the window's focus chain that Tab may stop at.
QWidget *firstStop(QWidget *window)
{
    QWidget *w = window;
    do {
        if (usable(w, window) && tabFocus(w) && w->focusProxy() == nullptr)
            return w;
        w = w->nextInFocusChain();
    } while (w && w != window);
    return nullptr;
}

// Whether the window has a stop other than `stop`.
bool otherStop(QWidget *window, const QWidget *stop)
{
    for (QWidget *w : window->findChildren<QWidget *>())
        if (w != stop && usable(w, window) && tabFocus(w) && !w->focusProxy())
            return true;
    return false;
}

// A click-focus control whose group Tab entered: a sibling of its own class
// was reached, or a control of the same named group.
bool reachedThroughGroup(const QWidget *widget, const QSet<const QWidget *> &reached)
{
    if (tabFocus(widget) || (widget->focusPolicy() & Qt::ClickFocus) == 0 || !widget->parentWidget())
        return false;
    const QString group = widget->property("focusGroup").toString();
    if (!group.isEmpty())
        for (const QWidget *r : reached)
            if (r->property("focusGroup").toString() == group)
                return true;
    for (const QObject *child : widget->parentWidget()->children()) {
        const auto *sibling = qobject_cast<const QWidget *>(child);
        if (sibling && sibling != widget && reached.contains(sibling)
            && sibling->metaObject() == widget->metaObject())
            return true;
    }
    return false;
}

// Whether the focus shows at `stop`: the window's picture around it differs
// between the focus on it and no focus at all. The focus is put back as a
// Tab put it.
bool focusShows(QWidget *window, QWidget *stop)
{
    const QRect around = QRect(stop->mapTo(window, QPoint(0, 0)), stop->size()).adjusted(-4, -4, 4, 4)
                             .intersected(window->rect());
    const QImage focused = window->grab(around).toImage();
    stop->clearFocus();
    const QImage plain = window->grab(around).toImage();
    stop->setFocus(Qt::TabFocusReason);
    return focused != plain;
}

// The child of `ancestor` that holds `widget` (or the widget itself).
const QWidget *branch(const QWidget *ancestor, const QWidget *widget)
{
    const QWidget *w = widget;
    while (w && w->parentWidget() != ancestor)
        w = w->parentWidget();
    return w;
}

// Whether `b` comes before `a` in reading order: in the widget both lie in,
// the part holding b stands above the part holding a, or on its line and to
// its left.
bool before(const QWidget *b, const QWidget *a)
{
    if (a->isAncestorOf(b))
        return false;
    if (b->isAncestorOf(a))
        return true;
    const QWidget *common = a->parentWidget();
    while (common && !common->isAncestorOf(b))
        common = common->parentWidget();
    if (!common)
        return false;
    const QRect ra = branch(common, a)->geometry(), rb = branch(common, b)->geometry();
    const bool sameLine = (rb.center().y() >= ra.top() && rb.center().y() <= ra.bottom())
        || (ra.center().y() >= rb.top() && ra.center().y() <= rb.bottom());
    if (sameLine)
        return rb.center().x() < ra.center().x();
    return rb.center().y() < ra.top();
}

} // namespace

bool FocusWalk::isControl(const QWidget *widget)
{
    if (qobject_cast<const QScrollBar *>(widget))
        return false; // the scroll area itself takes the keys
    if (const auto *edit = qobject_cast<const QTextEdit *>(widget))
        return !edit->isReadOnly() || tabFocus(widget);
    if (const auto *edit = qobject_cast<const QPlainTextEdit *>(widget))
        return !edit->isReadOnly() || tabFocus(widget);
    return qobject_cast<const QAbstractButton *>(widget) || qobject_cast<const QAbstractSlider *>(widget)
           || qobject_cast<const QAbstractSpinBox *>(widget) || qobject_cast<const QComboBox *>(widget)
           || qobject_cast<const QLineEdit *>(widget) || qobject_cast<const QTabBar *>(widget) || tabFocus(widget);
}

QString FocusWalk::accessibleName(QWidget *widget)
{
    QAccessibleInterface *face = QAccessible::queryAccessibleInterface(widget);
    return face ? face->text(QAccessible::Name).trimmed() : QString();
}

QString FocusWalk::describe(const QWidget *widget)
{
    if (!widget)
        return QStringLiteral("(gone)");
    QString text = QString::fromLatin1(widget->metaObject()->className());
    if (!widget->objectName().isEmpty())
        text += QLatin1Char(' ') + widget->objectName();
    if (const auto *button = qobject_cast<const QAbstractButton *>(widget); button && !button->text().isEmpty())
        text += QStringLiteral(" '%1'").arg(button->text());
    QStringList path;
    for (const QWidget *p = widget->parentWidget(); p && !p->isWindow(); p = p->parentWidget())
        if (!p->objectName().isEmpty())
            path.prepend(p->objectName());
    if (!path.isEmpty())
        text += QStringLiteral(" in ") + path.join(QLatin1Char('/'));
    return text;
}

QStringList FocusWalk::Report::findings() const
{
    QStringList out;
    for (const QPointer<QWidget> &w : unnamed)
        out << QStringLiteral("no accessible name: ") + describe(w);
    for (const QPointer<QWidget> &w : unreachable)
        out << QStringLiteral("not reached by Tab: ") + describe(w);
    if (trap)
        out << QStringLiteral("keeps the focus on Tab: ") + describe(trap);
    for (const QPointer<QWidget> &w : unseen)
        out << QStringLiteral("focus not visible: ") + describe(w);
    for (const QString &step : backwards)
        out << QStringLiteral("against reading order: ") + step;
    return out;
}

FocusWalk::Report FocusWalk::walk(QWidget *window, int maxSteps)
{
    Report report;
    window->show();
    window->activateWindow();
    if (!QTest::qWaitForWindowActive(window))
        QApplication::setActiveWindow(window);

    // As after a Tab press: the desktop's own controls draw their focus
    // frames only once the focus has moved by the keyboard.
    window->setAttribute(Qt::WA_KeyboardFocusChange);
    QSet<const QWidget *> reached;
    if (QWidget *start = firstStop(window)) {
        // Arrived at as by Tab, even where the window put its focus already.
        if (QWidget *focus = QApplication::focusWidget())
            focus->clearFocus();
        start->setFocus(Qt::TabFocusReason);
        QWidget *first = QApplication::focusWidget();
        QWidget *current = first;
        for (int step = 0; current && step < maxSteps; ++step) {
            if (reached.contains(current))
                break;
            reached.insert(current);
            report.reached << current;
            if (!focusShows(window, current))
                report.unseen << current;
            QTest::keyClick(current, Qt::Key_Tab);
            QWidget *next = QApplication::focusWidget();
            if (next == current) {
                // The only stop of its window keeps the focus, as it should.
                if (firstStop(window) != current || report.reached.size() > 1 || otherStop(window, current))
                    report.trap = current;
                break;
            }
            current = next;
        }
    }

    // Reading order: one step back is the wrap from the last stop to the first.
    QStringList back;
    for (qsizetype i = 0; i < report.reached.size(); ++i) {
        const QWidget *a = report.reached[i];
        const QWidget *b = report.reached[(i + 1) % report.reached.size()];
        if (a && b && a != b && before(b, a))
            back << describe(a) + QStringLiteral(" → ") + describe(b);
    }
    if (back.size() > 1)
        report.backwards = back;

    const QList<QWidget *> all = window->findChildren<QWidget *>();
    for (QWidget *w : all) {
        if (!usable(w, window) || !isControl(w))
            continue;
        // A widget that hands its focus to another is reached through it.
        QWidget *target = w;
        while (target->focusProxy())
            target = target->focusProxy();
        if (accessibleName(w).isEmpty() && accessibleName(target).isEmpty())
            report.unnamed << w;
        if (!reached.contains(target) && !reachedThroughGroup(target, reached))
            report.unreachable << w;
    }
    return report;
}
