#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

// Where the program's other windows (settings, history, glossary) open: at
// the side of the main window, top edges level, to its right where the
// screen has room and else to its left; where neither side has room,
// centred on it. Always within the screen's available area (a window larger
// than that area keeps its top-left corner in it). All in global
// coordinates of window frames.
namespace WindowPlacement {

constexpr int kGap = 12;

QPoint beside(const QRect &main, const QSize &window, const QRect &available);

// The nearest top-left corner to `at` that keeps a window frame of `window`'s
// size within `available` (the corner itself, where the window is the larger).
QPoint within(QPoint at, const QSize &window, const QRect &available);

} // namespace WindowPlacement
