#include "views/ink/Karesansui.h"

#include <algorithm>
#include <cmath>

namespace Karesansui {

const QList<Stone> &stones()
{
    static const QList<Stone> list{
        {{0.33, 0.58}, 0.072, 0.0, true, 0.0},
        {{0.33, 0.74}, 0.04, 1.7, false, 0.12},
        {{0.72, 0.52}, 0.03, 3.1, true, 0.0},
    };
    return list;
}

const QList<double> &rippleScales()
{
    static const QList<double> scales{1.7, 2.4, 3.2};
    return scales;
}

double scaleLength(const QRectF &rect)
{
    return std::min(rect.width(), 5 * rect.height());
}

QPointF centreOf(const Stone &stone, const QRectF &rect)
{
    const double m = scaleLength(rect);
    return {rect.x() + stone.centre.x() * rect.width() + stone.offset * m, rect.y() + stone.centre.y() * rect.height()};
}

double radiusOf(const Stone &stone, const QRectF &rect)
{
    return stone.radius * scaleLength(rect);
}

bool Clearance::contains(QPointF p) const
{
    if (a <= 0 || b <= 0)
        return false;
    const double dx = (p.x() - centre.x()) / a, dy = (p.y() - centre.y()) / b;
    return dx * dx + dy * dy < 1;
}

QList<Clearance> clearances(const QRectF &rect)
{
    QList<Clearance> list;
    for (const Stone &stone : stones()) {
        // Beyond the outermost ripple around a rippled stone; a little
        // beyond the stone itself around a plain one.
        const double a = (stone.ripples ? 3.648 : 1.425) * radiusOf(stone, rect);
        list.append({centreOf(stone, rect), a, 0.58 * a});
    }
    return list;
}

QPainterPath sandPath(const QRectF &rect, int lines)
{
    QPainterPath path;
    if (lines < 1 || rect.width() <= 0 || rect.height() <= 0)
        return path;
    for (const Stone &stone : stones()) {
        if (!stone.ripples)
            continue;
        const QPointF c = centreOf(stone, rect);
        const double r = radiusOf(stone, rect);
        for (double s : rippleScales())
            path.addEllipse(c, s * r, 0.58 * s * r);
    }
    const QList<Clearance> clear = clearances(rect);
    const double x0 = rect.x(), y0 = rect.y(), W = rect.width(), H = rect.height();
    const double d = H / (lines + 1);
    QList<QPointF> run;
    auto flush = [&] {
        if (run.size() >= 2) {
            path.moveTo(run.constFirst());
            for (qsizetype i = 1; i < run.size(); ++i)
                path.lineTo(run[i]);
        }
        run.clear();
    };
    for (int i = 1; i <= lines; ++i) {
        const double base = y0 + d * i;
        const double phase = 0.8 * i;
        for (double x = x0; x <= x0 + W; x += 2) {
            const QPointF p(x, base + 0.012 * H * std::sin(phase + (x / W) * 5.2));
            const bool inside = std::any_of(clear.begin(), clear.end(), [&](const Clearance &c) { return c.contains(p); });
            if (inside)
                flush();
            else
                run.append(p);
        }
        flush();
    }
    return path;
}

QPainterPath stonesPath(const QRectF &rect)
{
    // The first two stones overlap: the non-zero rule keeps them solid.
    QPainterPath path;
    path.setFillRule(Qt::WindingFill);
    for (const Stone &stone : stones()) {
        const QPointF c = centreOf(stone, rect);
        const double r = radiusOf(stone, rect);
        QPainterPath outline;
        for (int j = 0; j <= 120; ++j) {
            const double th = 2 * M_PI * j / 120;
            const double rho = r * (1 + 0.11 * std::sin(stone.seed + 2 * th) + 0.06 * std::sin(1.9 * stone.seed + 3 * th));
            const QPointF p(c.x() + 1.12 * rho * std::cos(th), std::min(c.y() + 0.52 * r, c.y() + 0.82 * rho * std::sin(th)));
            if (j == 0)
                outline.moveTo(p);
            else
                outline.lineTo(p);
        }
        outline.closeSubpath();
        path.addPath(outline);
    }
    return path;
}

} // namespace Karesansui
