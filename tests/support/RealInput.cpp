#include "support/RealInput.h"

#include <QApplication>
#include <QTest>
#include <QWheelEvent>
#include <QWidget>
#include <QWindow>
#include <QtTest/qtestspontaneevent.h>

namespace RealInput {

void type(const QString &text, int msPerKey, const Pause &pause)
{
    for (const QChar c : text) {
        QTest::keyClick(static_cast<QWidget *>(nullptr), c.toLatin1());
        if (pause)
            pause(msPerKey);
    }
}

void key(Qt::Key key, Qt::KeyboardModifiers modifiers)
{
    QTest::keyClick(static_cast<QWidget *>(nullptr), key, modifiers);
}

QPoint wheel(QWidget *widget, int notches, QPoint local)
{
    if (local == QPoint(-1, -1))
        local = widget->rect().center();
    const QPoint global = widget->mapToGlobal(local);
    wheelAt(widget->window(), global, notches);
    return global;
}

void wheelAt(QWidget *top, QPoint global, int notches)
{
    QWindow *window = top->window()->windowHandle();
    Q_ASSERT(window);
    const QPoint inWindow = top->window()->mapFromGlobal(global);
    QWheelEvent event(inWindow, global, QPoint(), QPoint(0, 120 * notches), Qt::NoButton, Qt::NoModifier,
                      Qt::NoScrollPhase, false);
    // Spontaneous, as from the windowing system: Qt then picks the widget
    // under the pointer, gives wheel focus and passes the event up.
    QSpontaneKeyEvent::setSpontaneous(&event);
    qApp->notify(window, &event);
}

} // namespace RealInput
