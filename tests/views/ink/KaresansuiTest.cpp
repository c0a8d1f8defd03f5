#include "views/ink/Karesansui.h"

#include <gtest/gtest.h>

namespace {

// Every point of every raked line, as the path holds them.
QList<QPolygonF> rakedRuns(const QPainterPath &sand)
{
    QList<QPolygonF> runs;
    for (int i = 0; i < sand.elementCount(); ++i) {
        const QPainterPath::Element e = sand.elementAt(i);
        if (e.isMoveTo())
            runs.append(QPolygonF());
        if (e.isMoveTo() || e.isLineTo())
            runs.last() << QPointF(e.x, e.y);
    }
    // Ellipses (the ripples) are curves; keep only the straight runs.
    QList<QPolygonF> lines;
    for (const QPolygonF &run : runs)
        if (run.size() >= 2)
            lines.append(run);
    return lines;
}

TEST(Karesansui, RakedLinesStopShortOfEveryStone)
{
    for (const QRectF &strip : {QRectF(0, 0, 480, 68), QRectF(0, 0, 200, 68), QRectF(12, 30, 900, 40)}) {
        const QList<Karesansui::Clearance> clear = Karesansui::clearances(strip);
        ASSERT_EQ(clear.size(), 3);
        int points = 0;
        for (const QPolygonF &run : rakedRuns(Karesansui::sandPath(strip))) {
            for (const QPointF &p : run) {
                ++points;
                for (const Karesansui::Clearance &c : clear)
                    EXPECT_FALSE(c.contains(p)) << p.x() << "," << p.y();
            }
        }
        EXPECT_GT(points, 100);
    }
}

TEST(Karesansui, ClearancesLieBeyondTheRipples)
{
    const QRectF strip(0, 0, 480, 68);
    const QList<Karesansui::Clearance> clear = Karesansui::clearances(strip);
    const QList<Karesansui::Stone> &stones = Karesansui::stones();
    for (int i = 0; i < stones.size(); ++i) {
        const double r = Karesansui::radiusOf(stones[i], strip);
        const double k = stones[i].ripples ? 3.648 : 1.425;
        EXPECT_NEAR(clear[i].a, k * r, 1e-9);
        EXPECT_NEAR(clear[i].b, 0.58 * k * r, 1e-9);
        if (stones[i].ripples) {
            EXPECT_GT(clear[i].a, Karesansui::rippleScales().last() * r);
        }
    }
}

TEST(Karesansui, StonesKeepTheirSizeOnAWideStripAndSpreadWithIt)
{
    struct Case
    {
        QRectF strip;
        double m;
    };
    const Case cases[] = {{QRectF(0, 0, 340, 68), 340}, {QRectF(0, 0, 1200, 68), 340}, {QRectF(0, 0, 200, 68), 200}};
    for (const Case &c : cases) {
        EXPECT_DOUBLE_EQ(Karesansui::scaleLength(c.strip), c.m);
        const Karesansui::Stone &first = Karesansui::stones()[0];
        const Karesansui::Stone &second = Karesansui::stones()[1];
        EXPECT_DOUBLE_EQ(Karesansui::radiusOf(first, c.strip), 0.072 * c.m);
        EXPECT_DOUBLE_EQ(Karesansui::centreOf(first, c.strip).x(), 0.33 * c.strip.width());
        // The second stone: 0.12·m right of the first one's centre line, lower.
        EXPECT_DOUBLE_EQ(Karesansui::centreOf(second, c.strip).x() - Karesansui::centreOf(first, c.strip).x(),
                         0.12 * c.m);
        EXPECT_GT(Karesansui::centreOf(second, c.strip).y(), Karesansui::centreOf(first, c.strip).y());
    }
}

TEST(Karesansui, StonesSitOnAFlatBaseAndTheGardenNeverChanges)
{
    const QRectF strip(0, 0, 480, 68);
    const QPainterPath stones = Karesansui::stonesPath(strip);
    for (const Karesansui::Stone &stone : Karesansui::stones()) {
        const QPointF c = Karesansui::centreOf(stone, strip);
        const double r = Karesansui::radiusOf(stone, strip);
        EXPECT_TRUE(stones.contains(c));
        EXPECT_FALSE(stones.contains(QPointF(c.x(), c.y() + 0.52 * r + 0.5))) << "nothing below the base";
    }
    EXPECT_EQ(Karesansui::sandPath(strip), Karesansui::sandPath(strip));
    EXPECT_EQ(stones, Karesansui::stonesPath(strip));
    // Overlapping stones stay solid where they overlap.
    EXPECT_EQ(stones.fillRule(), Qt::WindingFill);
}

} // namespace
