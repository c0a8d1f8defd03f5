#pragma once

#include <QPoint>
#include <QString>
#include <Qt>
#include <functional>

class QWidget;

// Input as a desktop delivers it, for tests of a shown, active window: keys
// go to whoever holds the keyboard at that moment (an open popup, else the
// focused window's focus widget), never to a widget the test names, and
// the wheel arrives at the window under the pointer and is passed on by
// Qt's own rules (the widget under the pointer, its parents, focus by wheel).
namespace RealInput {

// Waits between keystrokes: the test moves its clock (and lets events run).
using Pause = std::function<void(int ms)>;

// Types each character of `text` (Latin-1) as a key press and release,
// with `pause` of `msPerKey` after each, as a person types.
void type(const QString &text, int msPerKey, const Pause &pause);
// One key with modifiers, to whoever holds the keyboard.
void key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);

// One notch of the wheel (angle 120 per notch, negative: towards the user,
// scrolling down) over `widget` at `local` (its centre when null), sent to
// its window as the windowing system sends it.
// Returns where the pointer was, in global coordinates.
QPoint wheel(QWidget *widget, int notches, QPoint local = QPoint(-1, -1));
// The same with the pointer at a point of the screen, over `window`.
void wheelAt(QWidget *window, QPoint global, int notches);

} // namespace RealInput
