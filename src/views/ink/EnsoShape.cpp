#include "views/ink/EnsoShape.h"

#include <QList>
#include <algorithm>
#include <cmath>

namespace {
struct Sample
{
    QPointF centre;
    double angle;
    double radius;
    double width;
};

template<typename F>
void forEachSample(const EnsoShape &shape, const QRectF &rect, F &&f)
{
    const QPointF c = rect.center();
    const double R = std::min(rect.width(), rect.height()) * 0.5 * 0.86;
    for (int i = 0; i < EnsoShape::samples; ++i) {
        const double t = double(i) / double(EnsoShape::samples - 1);
        const double a = (shape.startAngle + shape.sweep * t) * M_PI / 180.0;
        const double e = std::pow(std::sin(std::min(1.06 * t, 1.0) * M_PI), 0.55);
        const double p = t * M_PI;
        const double s1 = std::sin(3.1 * p), s2 = std::sin(7.3 * p), s3 = std::sin(2.3 * p + 0.7);
        const double w = shape.thickness * R * (0.74 * e + 0.26) * (1 + 0.06 * s1 + 0.03 * s2);
        const double r = R * (1 + shape.wobble * s3);
        f(Sample{c, a, r, w});
    }
}
} // namespace

QPainterPath EnsoShape::path(const QRectF &rect) const
{
    QList<QPointF> outer, inner;
    outer.reserve(samples);
    inner.reserve(samples);
    forEachSample(*this, rect, [&](const Sample &s) {
        const double ca = std::cos(s.angle), sa = std::sin(s.angle);
        outer.append({s.centre.x() + ca * (s.radius + s.width / 2), s.centre.y() + sa * (s.radius + s.width / 2)});
        inner.append({s.centre.x() + ca * (s.radius - s.width / 2), s.centre.y() + sa * (s.radius - s.width / 2)});
    });
    QPainterPath path;
    path.setFillRule(Qt::WindingFill);
    path.moveTo(outer.constFirst());
    for (qsizetype i = 1; i < outer.size(); ++i)
        path.lineTo(outer[i]);
    for (qsizetype i = inner.size() - 1; i >= 0; --i)
        path.lineTo(inner[i]);
    path.closeSubpath();
    return path;
}

QPolygonF EnsoShape::centreLine(const QRectF &rect) const
{
    QPolygonF line;
    line.reserve(samples);
    forEachSample(*this, rect, [&](const Sample &s) {
        line << QPointF(s.centre.x() + std::cos(s.angle) * s.radius, s.centre.y() + std::sin(s.angle) * s.radius);
    });
    return line;
}
