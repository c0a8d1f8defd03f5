#pragma once

#include <QRegion>
#include <QSize>
#include <QSizeF>

class QPainter;
class QWidget;

// The paper of every popup window (menus, drop-down lists, popovers): a
// sheet of the page's paper with rounded corners and a hairline edge, lifted by the
// soft shadow the cards use. Where the desktop composes windows, the popup
// is a see-through window with room for the shadow around the sheet;
// where it does not (a see-through pixel would show black), the window is
// the sheet itself, cut to its rounded outline by a mask.
class PopupPanel
{
public:
    static constexpr double kRadius = 8;
    // The room kept around the sheet for the shadow in a see-through window.
    static constexpr int kShadowRoom = 12;

    // Whether `popup` is a see-through window. Decided once per window, the
    // first time it is asked (the native window must not exist yet), from
    // whether the desktop composes.
    static bool isTranslucent(const QWidget *popup);
    // Makes a popup see-through when the desktop composes; call before it
    // first shows.
    static void prepare(QWidget *popup);
    // The room around the sheet in this popup: kShadowRoom or 0.
    static int room(const QWidget *popup);

    // Draws the whole window of `size`: with room > 0 the shadow and the
    // sheet inset by room, else the sheet filling the window.
    static void draw(QPainter &painter, QSizeF size, int room);
    // The sheet's rounded outline in a window of `size` without room, for
    // the window's mask.
    static QRegion mask(QSize size);
};
