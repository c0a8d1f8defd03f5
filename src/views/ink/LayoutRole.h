#pragma once

class QWidget;

// How a widget stands among its neighbours. Most widgets are boxes of a
// layout: they never overlap a visible sibling and never leave their
// parent, and their texts fit or wrap. A few are meant otherwise, and say
// so here, so that the tests' layout check (and a reader of the tree)
// knows:
//  - an overlay lies over its siblings by design: the paper behind a page,
//    the notice pill, the banners, the pin in the corner, a popover;
//  - a painted face fills only part of its rectangle with its drawing: its
//    neighbours and the widgets placed on it are measured against what it
//    draws, not against its rectangle;
//  - a one-line text that may elide is cut with an ellipsis when it does
//    not fit (a task's own title); any other text must fit or wrap.
namespace LayoutRole {

void setOverlay(QWidget *widget, bool overlay = true);
bool isOverlay(const QWidget *widget);

void setPaintedFace(QWidget *widget, bool face = true);
bool isPaintedFace(const QWidget *widget);

void setMayElide(QWidget *widget, bool mayElide = true);
bool mayElide(const QWidget *widget);

} // namespace LayoutRole
