// Faces that move by themselves paint each frame without handing pieces of
// it to other threads: a small part in place, a whole face in one piece on a
// pool thread, over the paper they stand on.
#include "platform/fakes/FakeClock.h"
#include "views/ViewTest.h"
#include "views/ink/FrameCanvas.h"
#include "views/ink/KivBackground.h"
#include "views/ink/Motion.h"
#include "views/ink/PoolStarts.h"
#include "views/ink/StillPicture.h"
#include "views/timer/FaceTime.h"
#include "views/timer/IncenseView.h"
#include "views/timer/KinhinView.h"
#include "views/timer/RingView.h"

#include <QApplication>
#include <QLabel>
#include <QPaintEvent>
#include <QPainter>
#include <QScreen>
#include <QTest>
#include <functional>
#include <memory>

namespace {

// The faces read the time from the program's clock; a still one is drawn
// at the time it was made.
struct FrameCanvasTest : ViewTest
{
    FakeClock clock;

    void SetUp() override
    {
        ViewTest::SetUp();
        Clock::setCurrent(&clock);
    }
    void TearDown() override
    {
        Clock::setCurrent(nullptr);
        ViewTest::TearDown();
    }
};

// A page of paper with one face on it, as the running-round screen holds it.
struct Page
{
    QWidget window;
    KivBackground *paper = new KivBackground(&window);
    QWidget *face = nullptr;

    explicit Page(const std::function<QWidget *(QWidget *)> &make)
    {
        window.resize(420, 520);
        paper->setGeometry(window.rect());
        face = make(&window);
        face->move(37, 61);
        paper->lower();
    }
};

struct Face
{
    const char *name;
    std::function<QWidget *(QWidget *)> make;
    // The static drawing the widget's frame must show.
    std::function<void(QPainter &, QSizeF)> still;
    // A whole frame at one device pixel per pixel goes to a pool thread; the
    // incense, which slices its tall shapes, is drawn in place.
    bool pooled;
};

const Face kFaces[] = {
    {"incense",
     [](QWidget *parent) {
         auto *face = new IncenseView(parent);
         face->setInputs(0.4, Phase::focus, false);
         return face;
     },
     [](QPainter &p, QSizeF s) { IncenseView::draw(p, s, FaceTime::now(), 0.4, false); }, false},
    {"ring",
     [](QWidget *parent) {
         auto *face = new RingView(parent);
         face->setInputs(0.4, Phase::focus, false);
         return face;
     },
     [](QPainter &p, QSizeF s) { RingView::draw(p, s, 0.4, Phase::focus, false); }, true},
    {"walker",
     [](QWidget *parent) {
         auto *face = new KinhinView(parent);
         face->setInputs(0.4, false);
         return face;
     },
     [](QPainter &p, QSizeF s) { KinhinView::draw(p, s, FaceTime::now(), 0.4, false); }, true},
};

TEST_F(FrameCanvasTest, AFrameIsOneTaskForThePoolNotOnePerLargeFill)
{
    // Drawn from the main thread, the raster engine hands the pool pieces of
    // the larger fills: the count below is not blind.
    PoolStarts::reset();
    StillPicture::paint(QSize(IncenseView::kWidth, IncenseView::kHeight), 2, kFaces[0].still);
    EXPECT_GT(PoolStarts::count(), 0);

    for (const Face &face : kFaces) {
        SCOPED_TRACE(face.name);
        Page page(face.make);
        page.window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&page.window));
        QApplication::processEvents();
        auto *canvas = page.face->findChild<FrameCanvas *>();
        ASSERT_NE(canvas, nullptr);
        PoolStarts::reset();
        for (int i = 0; i < 5; ++i) {
            page.face->repaint();
            EXPECT_EQ(canvas->lastFrameWasPooled(), face.pooled) << "frame " << i;
        }
        EXPECT_EQ(PoolStarts::count(), 0);
    }
}

// What a frame of the burning incense moves (its smoke and ember) is drawn
// on the painting thread itself, and so is a step of its slow parts at 1x;
// no fill of either is split.
TEST_F(FrameCanvasTest, AFrameOfTheIncenseIsDrawnInPlaceWithNoPoolTask)
{
    IncenseView *face = nullptr;
    Page page([&face](QWidget *parent) {
        face = new IncenseView(parent);
        face->setInputs(0.4, Phase::focus, true);
        return face;
    });
    page.window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&page.window));
    auto *canvas = page.face->findChild<FrameCanvas *>();
    ASSERT_NE(canvas, nullptr);
    const QRect moving = IncenseView::movingArea(QSizeF(page.face->size()), 0.4);
    for (double dpr : {1.0, 1.5, 2.0}) {
        SCOPED_TRACE(dpr);
        QImage image(page.face->size() * dpr, QImage::Format_RGB32);
        image.setDevicePixelRatio(dpr);
        page.face->render(&image);
        PoolStarts::reset();
        // Frames within one step of the slow parts, whose layer stays as it is.
        for (int i = 0; i < 5; ++i) {
            clock.advance(IncenseView::kFrameMs / 5);
            page.face->render(&image, moving.topLeft(), QRegion(moving));
            EXPECT_FALSE(canvas->lastFrameWasPooled());
        }
        EXPECT_EQ(PoolStarts::count(), 0);

        // A step of the slow parts (a quarter second on, the line burnt a
        // little further) redraws what the step changed and its layer there:
        // in place at 1x, rectangle by rectangle; on a pool thread in one
        // piece at higher ratios.
        for (int i = 1; i <= 3; ++i) {
            const QSizeF size(page.face->size());
            const quint64 from = IncenseView::stillStep(size, FaceTime::now(), face->progress(), dpr);
            clock.advance(250);
            face->setInputs(face->progress() + 0.002, Phase::focus, true);
            const QRegion step = IncenseView::frameArea(
                size, dpr, from, IncenseView::stillStep(size, FaceTime::now(), face->progress(), dpr), face->progress());
            const QRect column = step.boundingRect();
            page.face->render(&image, column.topLeft(), step);
            EXPECT_EQ(canvas->lastFrameWasPooled(), dpr > 1);
        }
        EXPECT_EQ(PoolStarts::count(), 0);
        // Drawn onto the picture in place, the frames leave it as a whole
        // frame of the same moment draws it: the paper and the still parts
        // under the moving ones, nothing outside them touched.
        QImage whole(image.size(), QImage::Format_RGB32);
        whole.setDevicePixelRatio(dpr);
        page.face->render(&whole);
        EXPECT_LE(worstDifference(image, whole), 2);
    }
}

// A breathing ring repaints the band about its track alone, frame after
// frame over a whole breath, and the window then shows what a whole frame
// of that moment shows; the clock's place in its hole is left alone. Each
// frame is one task for the pool, at the ring's full size and in a short
// window, where it is drawn smaller.
TEST_F(FrameCanvasTest, ABreathingRingRepaintsItsBandAndShowsAWholeFrame)
{
    Motion::setInstant(false);
    // As on the running-round screen: the ring in a column that stands on the
    // paper, with a clock laid over its hole that changes as it breathes.
    RingView *face = nullptr;
    QLabel *clockText = nullptr;
    Page page([&face, &clockText](QWidget *parent) {
        auto *column = new QWidget(parent);
        column->resize(parent->size());
        face = new RingView(column);
        face->setInputs(0.4, Phase::focus, true);
        clockText = new QLabel(QStringLiteral("25:00"), column);
        return face;
    });
    page.window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&page.window));
    QApplication::processEvents();
    struct Regions : QObject
    {
        QList<QRegion> painted;
        bool eventFilter(QObject *, QEvent *event) override
        {
            if (event->type() == QEvent::Paint)
                painted.append(static_cast<QPaintEvent *>(event)->region());
            return false;
        }
    } regions;
    face->installEventFilter(&regions);
    for (int height : {face->sizeHint().height(), face->minimumSizeHint().height()}) {
        SCOPED_TRACE(height);
        if (face->height() != height) {
            // The whole repaint of the new size first.
            face->resize(face->width(), height);
            ASSERT_TRUE(QTest::qWaitFor([&] { return regions.painted.contains(QRegion(face->rect())); }));
        }
        regions.painted.clear();
        const QPoint middle = face->rect().center();
        clockText->move(face->geometry().center() - QPoint(20, 8));
        PoolStarts::reset();
        for (int i = 0; i < 20; ++i) {
            clock.advance(RingView::kBreathFrameMs);
            face->setInputs(face->progress() + 0.01, Phase::focus, true);
            if (i % 4 == 0)
                clockText->setText(QStringLiteral("24:%1").arg(59 - i));
            face->beat();
            QApplication::processEvents();
        }
        ASSERT_GE(regions.painted.size(), 10);
        EXPECT_EQ(PoolStarts::count(), 0) << "no fill of a frame is split: drawn, copied, or the paper under the clock";
        // The clock's own repaints aside, only the band is painted.
        const QRect clockArea(clockText->geometry().translated(-face->pos()));
        const QRect hole(middle - QPoint(30, 30), QSize(60, 60));
        for (const QRegion &region : regions.painted) {
            EXPECT_TRUE(region.rectCount() > 1 || clockArea.contains(region.boundingRect()));
            EXPECT_TRUE((region - clockArea).intersected(hole).isEmpty()) << "the hole is left alone";
        }
        const QRect area(face->pos(), face->size());
        const QImage shown = page.window.screen()->grabWindow(page.window.winId()).toImage().copy(area);
        const QImage whole = StillPicture::grab(&page.window, 1).copy(area);
        EXPECT_LE(worstDifference(shown.convertToFormat(QImage::Format_RGB32), whole.convertToFormat(QImage::Format_RGB32)),
                  2);
    }
}

TEST_F(FrameCanvasTest, AFaceOnPaperPaintsThePaperUnderItAndIsOpaque)
{
    for (Kiv::Appearance appearance : {Kiv::Appearance::light, Kiv::Appearance::dark}) {
        Kiv::setAppearance(appearance);
        for (const Face &face : kFaces) {
            SCOPED_TRACE(face.name);
            Page page(face.make);
            page.window.show();
            ASSERT_TRUE(QTest::qWaitForWindowExposed(&page.window));
            EXPECT_TRUE(page.face->testAttribute(Qt::WA_OpaquePaintEvent));

            // What the window shows where the face stands: the paper there
            // with the face drawn over it.
            const QRect area(page.face->pos(), page.face->size());
            const QImage shown = StillPicture::grab(&page.window, 2).copy(QRect(area.topLeft() * 2, area.size() * 2));
            const QImage paper = StillPicture::grab(page.paper, 2).copy(QRect(area.topLeft() * 2, area.size() * 2));
            QImage expected = paper.convertToFormat(QImage::Format_ARGB32_Premultiplied);
            expected.setDevicePixelRatio(2);
            {
                QPainter p(&expected);
                p.setRenderHint(QPainter::Antialiasing);
                face.still(p, QSizeF(area.size()));
            }
            EXPECT_LE(worstDifference(shown, expected), 2);
        }
    }
}

TEST_F(FrameCanvasTest, AFaceOnNoPaperLetsItsParentShowThrough)
{
    QWidget plain;
    plain.resize(300, 320);
    auto *face = new IncenseView(&plain);
    plain.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&plain));
    EXPECT_FALSE(face->testAttribute(Qt::WA_OpaquePaintEvent));
    const QImage alone = StillPicture::grab(face, 1);
    EXPECT_EQ(alone.pixelColor(3, 3), Kiv::paper()) << "the still picture's paper behind a transparent frame";

    // Moved onto paper, it paints the paper itself.
    auto *paper = new KivBackground(&plain);
    paper->setGeometry(plain.rect());
    paper->lower();
    paper->show();
    face->hide();
    face->show();
    EXPECT_TRUE(face->testAttribute(Qt::WA_OpaquePaintEvent));
}

} // namespace
