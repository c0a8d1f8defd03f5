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
//  - every such control that real Tab presses never reach;
//  - every stop where the focus does not show: the window's picture around
//    the stop is the same with the focus there and with no focus at all;
//  - every step that goes back against reading order (up the window, or
//    leftwards along a line), beyond the one step that wraps round.
// The walk presses Tab on the focused widget until the focus comes back to
// where it started, so a widget that swallows Tab shows up as a trap. A
// control that takes focus only by click, beside a control of its own kind
// that Tab reached (the segments of a segmented control, radio buttons),
// counts as reached: the arrow keys move within such a group; so does one
// whose "focusGroup" property names the group of a reached control (a
// group spread over several parents, such as the day's free stretches).
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
        QList<QPointer<QWidget>> unseen;      // stops where the focus does not show
        QStringList backwards;                // steps against reading order, beyond the wrap

        bool clean() const
        {
            return unnamed.isEmpty() && unreachable.isEmpty() && !trap && unseen.isEmpty() && backwards.isEmpty();
        }
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
