#include "views/ViewTest.h"
#include "views/ink/EnsoMark.h"
#include "views/ink/KaresansuiView.h"
#include "views/ink/KivBackground.h"
#include "views/ink/PaintCache.h"
#include "views/ink/PoolStarts.h"
#include "views/ink/StillPicture.h"

#include <QPainter>

namespace {

using PaperTest = ViewTest;

// The paper is drawn once per size, pixel ratio and appearance, however
// often the window repaints, and at the resolution it is shown at.
TEST_F(PaperTest, TheStaticLayerIsDrawnOnlyWhenItsKeyChanges)
{
    KivBackground paper;
    paper.resize(300, 200);
    const QImage light = StillPicture::grab(&paper, 1.0);
    StillPicture::grab(&paper, 1.0);
    EXPECT_EQ(paper.cache().drawCount(), 1);
    EXPECT_GT(light.pixelColor(10, 10).lightness(), 200);

    Kiv::setAppearance(Kiv::Appearance::dark);
    const QImage dark = StillPicture::grab(&paper, 1.0);
    EXPECT_EQ(paper.cache().drawCount(), 2);
    EXPECT_LT(dark.pixelColor(10, 10).lightness(), 60);

    const QImage sharp = StillPicture::grab(&paper, 2.0);
    EXPECT_EQ(paper.cache().drawCount(), 3);
    EXPECT_EQ(sharp.size(), QSize(600, 400));

    paper.resize(300, 250);
    StillPicture::grab(&paper, 2.0);
    EXPECT_EQ(paper.cache().drawCount(), 4);
}

// The paper a window keeps is written pixel by pixel into the kept image;
// it is the paper as drawn anywhere else (a picture, a sheet), in either
// appearance and at either pixel ratio.
TEST_F(PaperTest, TheKeptPaperIsThePaperAsDrawn)
{
    KivBackground paper;
    paper.resize(380, 740);
    for (Kiv::Appearance appearance : {Kiv::Appearance::light, Kiv::Appearance::dark}) {
        Kiv::setAppearance(appearance);
        for (qreal dpr : {1.0, 2.0}) {
            SCOPED_TRACE(testing::Message() << int(appearance) << " at " << dpr);
            const QImage drawn = StillPicture::paint(paper.size(), dpr, &KivBackground::draw);
            const QImage &kept = paper.layer(dpr);
            ASSERT_EQ(kept.size(), drawn.size());
            EXPECT_EQ(kept.devicePixelRatio(), dpr);
            EXPECT_EQ(kept, drawn.convertToFormat(kept.format()));
        }
    }
}

// A layer for a drawing shown smaller than its size (a ring drawn at three
// quarters in a short window) holds the whole drawing, scaled down, not
// its top-left part at full size.
// Every repaint over the paper draws its part of the paper again, at every
// frame of something that moves on it. Under a clip of several rectangles (a
// breathing circle's square and a step mark beside it) the raster engine
// splits a copy of more than a few dozen lines into pieces for Qt's pool:
// the paper is copied a few dozen device lines at a time, on the painting
// thread alone, with the same pixels, at 1x and 2x.
TEST_F(PaperTest, ATallPartOfThePaperIsDrawnWithoutWakingThePool)
{
    KivBackground paper;
    paper.resize(380, 400);
    const QRegion part = QRegion(140, 100, 104, 104) + QRegion(20, 300, 40, 6);
    for (qreal dpr : {1.0, 2.0}) {
        SCOPED_TRACE(dpr);
        const QImage &layer = paper.layer(dpr);
        // One copy under that clip splits: the count below is not blind.
        QImage whole(layer.size(), QImage::Format_RGB32);
        whole.setDevicePixelRatio(dpr);
        whole.fill(Qt::black);
        PoolStarts::reset();
        {
            QPainter p(&whole);
            p.setClipRegion(part);
            p.drawImage(QRectF(0, 0, 380, 400), layer, QRectF(QPointF(0, 0), QSizeF(layer.size())));
        }
        ASSERT_GT(PoolStarts::count(), 0);

        QImage image(layer.size(), QImage::Format_RGB32);
        image.setDevicePixelRatio(dpr);
        image.fill(Qt::black);
        PoolStarts::reset();
        paper.render(&image, part.boundingRect().topLeft(), part);
        EXPECT_EQ(PoolStarts::count(), 0);
        EXPECT_EQ(image, whole);
    }
}

TEST_F(PaperTest, ALayerBelowOnePixelPerPointHoldsTheWholeDrawing)
{
    for (double ratio : {0.75, 1.0, 2.0}) {
        PaintCache cache;
        const QImage &layer = cache.image(QSize(200, 100), ratio, [](QPainter &p, QSizeF size) {
            p.fillRect(QRectF(QPointF(0, 0), size), Qt::red);
        });
        EXPECT_EQ(layer.size(), QSize(int(200 * ratio), int(100 * ratio))) << ratio;
        // Its last pixel is painted: the drawing reaches the layer's far corner.
        EXPECT_EQ(layer.pixelColor(layer.width() - 1, layer.height() - 1), QColor(Qt::red)) << ratio;
        // And no further: a square of 100 fills half the layer.
        PaintCache half;
        const QImage &left = half.image(QSize(200, 100), ratio, [](QPainter &p, QSizeF) {
            p.fillRect(QRectF(0, 0, 100, 100), Qt::red);
        });
        EXPECT_EQ(left.pixelColor(int(150 * ratio), int(50 * ratio)).alpha(), 0) << ratio;
    }
}

TEST_F(PaperTest, TheGardenWidgetShowsWhatItsDrawFunctionDraws)
{
    KaresansuiView garden(68, true);
    garden.resize(480, 68);
    const QImage widget = StillPicture::grab(&garden, 1.0);
    const QImage drawn = StillPicture::paint(QSize(480, 68), 1.0, [](QPainter &p, QSizeF s) {
        KaresansuiView::draw(p, s, true);
    });
    ASSERT_EQ(widget.size(), drawn.size());
    EXPECT_LE(worstDifference(widget, drawn), 2) << "the same picture, up to rounding through the cached layer";
    EXPECT_EQ(garden.height(), 68);
}

TEST_F(PaperTest, TheBrushMarkKeepsItsSquareWithOrWithoutItsDot)
{
    EnsoMark plain(120);
    EnsoMark dotted(120, 0.5, Tone{Kiv::Colour::vermilion});
    EXPECT_EQ(plain.size(), QSize(120, 120));
    EXPECT_EQ(dotted.size(), QSize(120, 120));
    // Without a dot, the top of the ring's inside is paper; with one, vermilion.
    const QPointF dot(60, 60 - 0.3698 * 120);
    const QImage a = StillPicture::grab(&plain, 1.0), b = StillPicture::grab(&dotted, 1.0);
    EXPECT_EQ(a.pixelColor(dot.toPoint()), Kiv::paper());
    EXPECT_NE(b.pixelColor(dot.toPoint()), Kiv::paper());
}

} // namespace
