#include "app/AppIcon.h"

#include "core/Kiv.h"
#include "views/ink/DrawnIcon.h"
#include "views/ink/EnsoMark.h"

#include <QPainter>
#include <QPainterPath>

namespace {
// The icon keeps the light paper and ink whatever the appearance, as a
// printed mark would.
void drawIcon(QPainter &painter, QSizeF size)
{
    const double side = std::min(size.width(), size.height());
    const QRectF square((size.width() - side) / 2, (size.height() - side) / 2, side, side);
    const QRectF tile = square.adjusted(side * 0.06, side * 0.06, -side * 0.06, -side * 0.06);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath path;
    path.addRoundedRect(tile, tile.width() * 0.22, tile.width() * 0.22);
    painter.fillPath(path, Kiv::colour(Kiv::Colour::paper, Kiv::Appearance::light));
    painter.strokePath(path, QPen(Kiv::colour(Kiv::Colour::hairline, Kiv::Appearance::light), std::max(1.0, side / 128)));
    const double mark = tile.width() * 0.68;
    painter.save();
    painter.translate(tile.center() - QPointF(mark / 2, mark / 2));
    const Kiv::Appearance was = Kiv::appearance();
    Kiv::setAppearance(Kiv::Appearance::light);
    EnsoMark::draw(painter, mark, 1.0, Kiv::colour(Kiv::Colour::vermilion, Kiv::Appearance::light));
    Kiv::setAppearance(was);
    painter.restore();
}

} // namespace

namespace AppIcon {

void draw(QPainter &painter, QSizeF size)
{
    drawIcon(painter, size);
}

QIcon icon()
{
    // One icon for the whole run: every window shares its pictures, each
    // size drawn once.
    static const QIcon shared = DrawnIcon::make(&drawIcon, {16, 24, 32, 48, 64});
    return shared;
}

} // namespace AppIcon
