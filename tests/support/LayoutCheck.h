#pragma once

#include <QRect>
#include <QString>
#include <QStringList>

class QWidget;

// Walks the visible widgets of a window as it stands (shown, laid out) and
// lists what a user would see broken:
//  - two visible siblings whose rectangles overlap, unless one is a
//    declared overlay (LayoutRole::setOverlay: the paper, the notice pill,
//    the banners, the pin);
//  - a visible widget that reaches outside its parent, unless it is the
//    content of a scroll area (which scrolls it into view);
//  - a visible widget squeezed below the least size it asks for (a button
//    cut, a row pressed flat), a wrapping text shorter than its width needs,
//    a one-line text wider than it is, and a text cut with an ellipsis that
//    its screen did not declare as one that may elide;
//  - a painted face (LayoutRole::setPaintedFace) counts by what it draws,
//    not by its rectangle: its siblings must stay clear of its drawing, and
//    a widget placed on it (the clock on the ring) must cover none of it.
// Each finding is one line that names the widgets by their path of object
// names and their rectangles in the window.
class LayoutCheck
{
public:
    static QStringList findings(QWidget *window);

    // The drawing of a painted face, in its own coordinates: the pixels its
    // own paint event leaves different from the paper behind it (or not
    // transparent, where it stands on no paper), without its children.
    static QRect drawnBounds(QWidget *face);

    // "root.workspace/timer.running/timer.column/QLabel 'text'".
    static QString path(const QWidget *widget);
};
