#pragma once

#include <QList>
#include <QPainterPath>
#include <QRectF>

// The geometry of the small dry garden: nine raked lines of sand parted
// around three stones, with ripples raked around two of them. Every length
// follows the strip's rectangle R: the scale length m = min(width,
// 5 × height) sizes the stones, so a wide strip spreads them without
// growing them.
namespace Karesansui {

struct Stone
{
    QPointF centre; // in unit coordinates of the strip
    double radius;  // a fraction of the scale length
    double seed;    // shapes the outline
    bool ripples;   // ripples raked around it
    double offset;  // moved right by this fraction of the scale length
};

const QList<Stone> &stones();
const QList<double> &rippleScales();

double scaleLength(const QRectF &rect);
QPointF centreOf(const Stone &stone, const QRectF &rect);
double radiusOf(const Stone &stone, const QRectF &rect);

// The ellipse around a stone inside which no sand line is drawn.
struct Clearance
{
    QPointF centre;
    double a; // horizontal semi-axis
    double b; // vertical semi-axis
    bool contains(QPointF point) const;
};
QList<Clearance> clearances(const QRectF &rect);

// The ripples and raked lines (open polylines and ellipses) to be stroked.
QPainterPath sandPath(const QRectF &rect, int lines = 9);
// The outlines of the three stones, each with a flat base.
QPainterPath stonesPath(const QRectF &rect);

} // namespace Karesansui
