#pragma once

#include <QList>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QWidget>

// Walks a window the way a keyboard user does and lists what such a user,
// or a screen reader, cannot use:
//  - every control (visible and enabled, and either a button, field, box,
//    slider or anything else that takes Tab focus) without an accessible name;
//  - every such control that real Tab presses never reach.
// The walk presses Tab on the focused widget until the focus comes back to
// where it started, so a widget that swallows Tab shows up as a trap. A
// control that takes focus only by click, beside a control of its own kind
// that Tab reached (the segments of a segmented control, radio buttons),
// counts as reached: the arrow keys move within such a group.
// The window is shown and activated first; it keeps the focus where the
// walk left it.
class FocusWalk
{
public:
    struct Report
    {
        QList<QPointer<QWidget>> reached;     // in Tab order, each once
        QList<QPointer<QWidget>> unnamed;     // controls without an accessible name
        QList<QPointer<QWidget>> unreachable; // controls Tab never reached
        QPointer<QWidget> trap;               // kept the focus on Tab, if any

        bool clean() const { return unnamed.isEmpty() && unreachable.isEmpty() && !trap; }
        // One line per finding, for a test's failure message.
        QStringList findings() const;
    };

    static Report walk(QWidget *window, int maxSteps = 2000);

    // Whether a widget counts as a control (see above); visibility aside.
    static bool isControl(const QWidget *widget);
    // The accessible name a screen reader announces.
    static QString accessibleName(QWidget *widget);
    // "QPushButton timer.primaryButton 'Start'": class, object name, text.
    static QString describe(const QWidget *widget);
};
