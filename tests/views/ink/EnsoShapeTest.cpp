#include "views/ink/EnsoShape.h"

#include <QLineF>
#include <cmath>
#include <gtest/gtest.h>

namespace {

double angleOf(QPointF p, QPointF c)
{
    // Degrees, 0 pointing right, growing clockwise on screen.
    double a = std::atan2(p.y() - c.y(), p.x() - c.x()) * 180 / M_PI;
    return a < 0 ? a + 360 : a;
}

TEST(EnsoShape, TheCircleFitsTheShorterSideAndIsCentred)
{
    const EnsoShape shape{125, 333, 0.16, 0.0};
    const QRectF wide(10, 20, 300, 100);
    const QPolygonF centre = shape.centreLine(wide);
    ASSERT_EQ(centre.size(), EnsoShape::samples);
    // With no wobble the centre line is an exact arc of radius R = 43 % of
    // the shorter side.
    for (const QPointF &p : centre)
        EXPECT_NEAR(QLineF(wide.center(), p).length(), 43.0, 1e-9);
    const QRectF bounds = shape.path(wide).boundingRect();
    EXPECT_NEAR(bounds.center().x(), wide.center().x(), 8.0);
    EXPECT_LE(bounds.height(), 100.0);
    EXPECT_GT(bounds.height(), 80.0);
}

TEST(EnsoShape, TheStrokeRunsFromItsStartAngleThroughItsSweep)
{
    const EnsoShape shape{125, 333, 0.16, 0.012};
    const QRectF square(0, 0, 200, 200);
    const QPolygonF centre = shape.centreLine(square);
    EXPECT_NEAR(angleOf(centre.constFirst(), square.center()), 125, 1e-6);
    EXPECT_NEAR(angleOf(centre.constLast(), square.center()), std::fmod(125.0 + 333.0, 360.0), 1e-6);

    // The opening at the lower left: no part of the outline lies on the ray
    // at 111°, midway through the 27° gap.
    const QPainterPath outline = shape.path(square);
    const double gap = (98 + 27.0 / 2) * M_PI / 180;
    for (double r = 60; r <= 100; r += 2)
        EXPECT_FALSE(outline.contains(QPointF(100 + r * std::cos(gap), 100 + r * std::sin(gap)))) << r;
    // …while the top of the ring is solid ink.
    EXPECT_TRUE(outline.contains(QPointF(100, 100 - 86)));
}

TEST(EnsoShape, TheStrokeSwellsInTheMiddleAndThinsAtItsEnds)
{
    const EnsoShape shape{0, 300, 0.2, 0.0};
    const QRectF square(0, 0, 100, 100);
    const QPainterPath outline = shape.path(square);
    // The width across the ring along a ray, sampled finely.
    auto widthAt = [&](double degrees) {
        const double a = degrees * M_PI / 180;
        int inside = 0;
        for (double r = 20; r <= 50; r += 0.05)
            inside += outline.contains(QPointF(50 + r * std::cos(a), 50 + r * std::sin(a))) ? 1 : 0;
        return inside * 0.05;
    };
    const double R = 43, full = 0.2 * R;
    EXPECT_NEAR(widthAt(150), full, full * 0.12) << "full width around the middle";
    EXPECT_NEAR(widthAt(0.5), 0.26 * full, full * 0.1) << "26 % at the start";
    EXPECT_NEAR(widthAt(299.5), 0.26 * full, full * 0.1) << "26 % from t = 1/1.06 to the end";
}

TEST(EnsoShape, AnEmptyRectangleCollapsesToItsCentre)
{
    const QPainterPath outline = EnsoShape{125, 333, 0.16, 0.012}.path(QRectF(40, 30, 0, 0));
    const QRectF bounds = outline.boundingRect();
    EXPECT_EQ(bounds.width(), 0);
    EXPECT_EQ(bounds.height(), 0);
    EXPECT_EQ(bounds.topLeft(), QPointF(40, 30));
}

} // namespace
