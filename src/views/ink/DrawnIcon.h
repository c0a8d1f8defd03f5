#pragma once

#include <QIcon>
#include <QList>
#include <QSizeF>
#include <functional>

class QPainter;

// An icon the program draws itself, at the sizes it is asked for and only
// then: each size is drawn once (for each device ratio and appearance) and
// kept, so a window system that asks for its sizes again, or a tray that
// repaints, costs no drawing. The icon reports the sizes it is meant for,
// so that nothing asks for sizes nobody shows.
namespace DrawnIcon {

using Draw = std::function<void(QPainter &, QSizeF)>;

QIcon make(Draw draw, QList<int> sides);

} // namespace DrawnIcon
