#include "views/ink/PopupPanel.h"

#include "core/Kiv.h"
#include "platform/desktop/Compositing.h"
#include "views/ink/PaintCache.h"
#include "views/ink/SoftShadow.h"

#include <QPainter>
#include <QPainterPath>
#include <QWidget>

namespace {

const char *const kTranslucent = "inkPopupTranslucent";

QPainterPath sheet(const QRectF &rect)
{
    QPainterPath path;
    path.addRoundedRect(rect, PopupPanel::kRadius, PopupPanel::kRadius);
    return path;
}

// The shadow under the sheet: the ink's shadow on light paper; on dark
// paper a shade of the paper itself (a light ink would glow, not shade).
QColor shadowColour()
{
    return Kiv::appearance() == Kiv::Appearance::dark ? Kiv::paper(0.9) : Kiv::ink(0.16);
}

} // namespace

bool PopupPanel::isTranslucent(const QWidget *popup)
{
    const QVariant decided = popup->property(kTranslucent);
    if (decided.isValid())
        return decided.toBool();
    const bool translucent = Compositing::available();
    const_cast<QWidget *>(popup)->setProperty(kTranslucent, translucent);
    return translucent;
}

void PopupPanel::prepare(QWidget *popup)
{
    if (isTranslucent(popup) && !popup->testAttribute(Qt::WA_TranslucentBackground))
        popup->setAttribute(Qt::WA_TranslucentBackground);
}

int PopupPanel::room(const QWidget *popup)
{
    return popup && isTranslucent(popup) ? kShadowRoom : 0;
}

void PopupPanel::draw(QPainter &painter, QSizeF size, int room)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF full(QPointF(0, 0), size);
    const QRectF inner = full.adjusted(room, room, -room, -room);
    if (room > 0) {
        // The shadow is the same for every paint of a window of one size.
        static PaintCache shadow;
        const QImage &image = shadow.image(size.toSize(), PaintCache::deviceScale(painter), [inner](QPainter &p, QSizeF) {
            SoftShadow::draw(p, sheet(inner), shadowColour(), 8, QPointF(0, 2));
        });
        painter.drawImage(QPointF(0, 0), image);
    } else {
        // The corners outside the mask are never shown; fill them too, so
        // that a picture of the window has no gaps.
        painter.fillRect(full, Kiv::paper());
    }
    const QPainterPath path = sheet(inner.adjusted(0.5, 0.5, -0.5, -0.5));
    painter.fillPath(path, Kiv::paper());
    // Without room the mask cuts the outermost pixels: the hairline lies
    // one pixel inside them so that it stays whole.
    const QPainterPath edge = room > 0 ? path : sheet(inner.adjusted(1, 1, -1, -1));
    painter.strokePath(edge, QPen(Kiv::hairline(), 1));
    painter.restore();
}

QRegion PopupPanel::mask(QSize size)
{
    return QRegion(sheet(QRectF(QPointF(0, 0), QSizeF(size))).toFillPolygon().toPolygon());
}
