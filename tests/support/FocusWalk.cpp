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

// A click-focus control whose group Tab entered: a sibling of its own class was reached.
bool reachedThroughGroup(const QWidget *widget, const QSet<const QWidget *> &reached)
{
    if (tabFocus(widget) || (widget->focusPolicy() & Qt::ClickFocus) == 0 || !widget->parentWidget())
        return false;
    for (const QObject *child : widget->parentWidget()->children()) {
        const auto *sibling = qobject_cast<const QWidget *>(child);
        if (sibling && sibling != widget && reached.contains(sibling)
            && sibling->metaObject() == widget->metaObject())
            return true;
    }
    return false;
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
    return out;
}

FocusWalk::Report FocusWalk::walk(QWidget *window, int maxSteps)
{
    Report report;
    window->show();
    window->activateWindow();
    if (!QTest::qWaitForWindowActive(window))
        QApplication::setActiveWindow(window);

    QSet<const QWidget *> reached;
    if (QWidget *start = firstStop(window)) {
        start->setFocus(Qt::TabFocusReason);
        QWidget *first = QApplication::focusWidget();
        QWidget *current = first;
        for (int step = 0; current && step < maxSteps; ++step) {
            if (reached.contains(current))
                break;
            reached.insert(current);
            report.reached << current;
            QTest::keyClick(current, Qt::Key_Tab);
            QWidget *next = QApplication::focusWidget();
            if (next == current) {
                report.trap = current;
                break;
            }
            current = next;
        }
    }

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
