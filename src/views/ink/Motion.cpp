#include "views/ink/Motion.h"

#include <QPointF>
#include <algorithm>

namespace {
bool g_instant = false;

QEasingCurve bezier(double x1, double y1, double x2, double y2)
{
    QEasingCurve curve(QEasingCurve::BezierSpline);
    curve.addCubicBezierSegment(QPointF(x1, y1), QPointF(x2, y2), QPointF(1, 1));
    return curve;
}
} // namespace

namespace Motion {
bool isInstant()
{
    return g_instant;
}

void setInstant(bool instant)
{
    g_instant = instant;
}

QEasingCurve easeInOut()
{
    return bezier(0.42, 0, 0.58, 1);
}

QEasingCurve easeOut()
{
    return bezier(0, 0, 0.58, 1);
}

QEasingCurve easeIn()
{
    return bezier(0.42, 0, 1, 1);
}

QEasingCurve linear()
{
    return QEasingCurve(QEasingCurve::Linear);
}

double mix(double from, double to, double t)
{
    return from + (to - from) * t;
}

QColor mix(const QColor &from, const QColor &to, double t)
{
    t = std::clamp(t, 0.0, 1.0);
    const double a0 = from.alphaF(), a1 = to.alphaF();
    const double a = mix(a0, a1, t);
    if (a <= 0)
        return QColor(0, 0, 0, 0);
    auto channel = [&](double c0, double c1) { return std::clamp(mix(c0 * a0, c1 * a1, t) / a, 0.0, 1.0); };
    return QColor::fromRgbF(float(channel(from.redF(), to.redF())), float(channel(from.greenF(), to.greenF())),
                            float(channel(from.blueF(), to.blueF())), float(a));
}
} // namespace Motion
