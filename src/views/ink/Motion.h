#pragma once

#include <QColor>
#include <QEasingCurve>

// The program's animation curves and its one switch that makes every
// animation jump to its end (tests, still pictures).
namespace Motion {

bool isInstant();
void setInstant(bool instant);

// The standard timing curves, as cubic Bézier curves from (0,0) to (1,1).
QEasingCurve easeInOut(); // control points (0.42, 0) and (0.58, 1)
QEasingCurve easeOut();   // (0, 0) and (0.58, 1)
QEasingCurve easeIn();    // (0.42, 0) and (1, 1)
QEasingCurve linear();

// The pointer-over fade of buttons and rows.
constexpr int hoverMs = 150;

// Linear interpolation, t from 0 (from) to 1 (to).
double mix(double from, double to, double t);
// Colours mix with premultiplied alpha, so a fade from a clear colour to a
// tint passes through lighter tints of it, never through grey.
QColor mix(const QColor &from, const QColor &to, double t);

} // namespace Motion
