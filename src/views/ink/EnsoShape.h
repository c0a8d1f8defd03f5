#pragma once

#include <QPainterPath>
#include <QRectF>

// The outline of an ink brush circle (ensō): an almost closed ring whose
// stroke swells and thins like a brush and whose line wavers slightly.
// Fill it with the non-zero winding rule.
struct EnsoShape
{
    double startAngle = 0; // degrees; 0 points right, angles grow clockwise on screen
    double sweep = 360;    // degrees covered from startAngle
    double thickness = 0.16; // the stroke at its fullest, as a fraction of the radius
    double wobble = 0;     // the slow variation of the radius, as a fraction of it

    static constexpr int samples = 261;

    // The outline for a rectangle: the circle fits the shorter side (its
    // radius is 43 % of it) and is centred.
    QPainterPath path(const QRectF &rect) const;
    // The centre line of the stroke (tests: its radius and end angles).
    QPolygonF centreLine(const QRectF &rect) const;
};
