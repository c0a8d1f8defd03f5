#include "app/AppIcon.h"

#include "core/Kiv.h"
#include "views/ink/EnsoMark.h"

#include <QIconEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

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

class Engine : public QIconEngine
{
public:
    void paint(QPainter *painter, const QRect &rect, QIcon::Mode, QIcon::State) override
    {
        painter->save();
        painter->translate(rect.topLeft());
        drawIcon(*painter, rect.size());
        painter->restore();
    }
    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        QPixmap pixmap(size);
        pixmap.fill(Qt::transparent);
        QPainter painter(&pixmap);
        paint(&painter, QRect(QPoint(0, 0), size), mode, state);
        return pixmap;
    }
    QIconEngine *clone() const override { return new Engine; }
};
} // namespace

namespace AppIcon {

void draw(QPainter &painter, QSizeF size)
{
    drawIcon(painter, size);
}

QIcon icon()
{
    return QIcon(new Engine);
}

} // namespace AppIcon
