#pragma once

#include <QList>

class QWidget;

// Tab and Shift+Tab in the order a reader's eye goes over a window: top to
// bottom, and left to right along a line, whatever order the widgets were
// made in (rows built as a list scrolls, overlays in the corners, a line
// that appears later). The order is worked out afresh at each press from
// the widgets as they stand: among the children of one widget, those side
// by side on a line (their middles within the first one's height) go left
// to right and the lines top to bottom; inside a child, its own children
// the same way. A stop is a visible, enabled widget that takes the focus by
// Tab and hands it to no other; a child with no stop inside does not count
// (a background, a label), so it cannot join lines.
//
// The program's windows, sheets and popovers call focusNext() from their
// focusNextPrevChild(), which every Tab press in them ends up in.
namespace ReadingOrder {

// The stops inside `root`, in reading order.
QList<QWidget *> stops(QWidget *root);

// Moves the focus from the focus widget to the next (forward) or previous
// stop of `window`, wrapping around, and scrolls it into view. A focus
// widget that has just gone (hidden with its page, or disabled) hands the
// focus to the stop that follows where it stood as a focus that fell there:
// nobody chose it, so it shows no focus ring and takes no Space after a
// click (FocusRing::Falling). False when the window has no stop.
bool focusNext(QWidget *window, bool forward);

// Whether the focus is on `widget` or a widget inside it.
bool holdsFocus(const QWidget *widget);

// Gives the focus to a page that has just replaced the one that held it:
// to the widget inside it whose "pageFocus" property is set, else to its
// first stop, as a move of the program's (Qt::OtherFocusReason: its ring
// shows to a keyboard user). A page that took the focus itself keeps it.
void focusInto(QWidget *page);

} // namespace ReadingOrder
