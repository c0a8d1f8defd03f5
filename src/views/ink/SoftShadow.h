#pragma once

#include <QColor>
#include <QPainterPath>
#include <QPointF>

class QImage;
class QPainter;

// Soft shadows and blurred shapes (a stone's shadow, the glow of the
// current step), drawn at the painter's own resolution.
namespace SoftShadow {

// Draws `shape` filled with `colour`, blurred by `radius` logical pixels
// (a Gaussian of standard deviation radius / 2) and moved by `offset`.
void draw(QPainter &painter, const QPainterPath &shape, const QColor &colour, double radius,
          QPointF offset = QPointF());

// Blurs a coverage mask (QImage::Format_Alpha8) in place: three box passes
// approximating a Gaussian of standard deviation `sigma` pixels.
void blur(QImage &mask, double sigma);

} // namespace SoftShadow
