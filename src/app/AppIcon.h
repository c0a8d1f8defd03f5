#pragma once

#include <QIcon>
#include <QSizeF>

class QPainter;

// The program's icon, drawn by the program: an ink brush circle on a
// square of warm paper with rounded corners. The window icon and the tray
// icon come from here; the icon files installed with the program are
// pictures of this drawing.
namespace AppIcon {

void draw(QPainter &painter, QSizeF size);
QIcon icon();

} // namespace AppIcon
