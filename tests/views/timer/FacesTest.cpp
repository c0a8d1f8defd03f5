// The three faces of a running phase: pixel probes of the drawings at known
// inputs (in light and dark), and their redraw timers, which run only while
// the run runs and the face is shown.
#include "platform/fakes/FakeClock.h"
#include "views/ViewTest.h"
#include "views/ink/Motion.h"
#include "views/ink/PaintCache.h"
#include "views/ink/StillPicture.h"
#include "views/timer/FaceTime.h"
#include "views/timer/IncenseView.h"
#include "views/timer/KinhinView.h"
#include "views/timer/RingView.h"

#include <QPaintEvent>
#include <QPainter>
#include <QSemaphore>
#include <QThreadPool>
#include <QTest>
#include <cmath>
#include <numbers>

namespace {

QColor at(const QImage &image, QPointF logical)
{
    const double dpr = image.devicePixelRatio();
    return image.pixelColor(int(logical.x() * dpr), int(logical.y() * dpr));
}

// How far a pixel went from `base` towards `colour` (0: not at all, 1: the
// colour itself), from the channels that differ most between the two.
double level(QColor pixel, QColor base, QColor colour)
{
    const double dr = colour.redF() - base.redF(), dg = colour.greenF() - base.greenF(),
                 db = colour.blueF() - base.blueF();
    const double span = dr * dr + dg * dg + db * db;
    if (span <= 0)
        return 0;
    return ((pixel.redF() - base.redF()) * dr + (pixel.greenF() - base.greenF()) * dg
            + (pixel.blueF() - base.blueF()) * db)
           / span;
}

double distance(QColor a, QColor b)
{
    return std::abs(a.redF() - b.redF()) + std::abs(a.greenF() - b.greenF()) + std::abs(a.blueF() - b.blueF());
}

const Kiv::Appearance kAppearances[] = {Kiv::Appearance::light, Kiv::Appearance::dark};

const char *name(Kiv::Appearance a)
{
    return a == Kiv::Appearance::light ? "light" : "dark";
}

QImage incense(double progress, double t, bool running, double dpr = 1)
{
    return StillPicture::paint(QSize(IncenseView::kWidth, IncenseView::kHeight), dpr,
                               [&](QPainter &p, QSizeF s) { IncenseView::draw(p, s, t, progress, running); });
}

QImage ring(double progress, Phase phase, bool running, double scale = 1)
{
    const QSize size = RingView(nullptr).sizeHint();
    return StillPicture::paint(size, 1,
                               [&](QPainter &p, QSizeF s) { RingView::draw(p, s, progress, phase, running, scale); });
}

QImage kinhin(double progress, double t, bool running)
{
    return StillPicture::paint(QSize(KinhinView::kWidth, KinhinView::kHeight), 1,
                               [&](QPainter &p, QSizeF s) { KinhinView::draw(p, s, t, progress, running); });
}

using FacesTest = ViewTest;

TEST_F(FacesTest, IncenseBurnsDownFromTheTopAsThePhaseElapses)
{
    for (Kiv::Appearance appearance : kAppearances) {
        SCOPED_TRACE(name(appearance));
        Kiv::setAppearance(appearance);
        const QColor paper = Kiv::paper(), ink = Kiv::ink();
        const double t = 1000;

        // At the start the whole stick stands from 56 down to the bowl.
        const QImage fresh = incense(0, t, true);
        EXPECT_GT(level(at(fresh, {95, 70}), paper, ink), 0.55);
        EXPECT_GT(level(at(fresh, {95, 240}), paper, ink), 0.55);

        // Halfway: the burn line at 56 + 195 / 2; above it only the faint
        // trace and the smoke, below it the stick.
        const double half = 56 + 195 * 0.5;
        EXPECT_DOUBLE_EQ(IncenseView::burnLine(268, 0.5), half);
        const QImage midway = incense(0.5, t, true);
        EXPECT_GT(level(at(midway, {95, 200}), paper, ink), 0.55);
        EXPECT_LT(level(at(midway, {95, 90}), paper, ink), 0.3);
        EXPECT_LT(level(at(midway, {95, 120}), paper, ink), 0.3);

        // Burnt out: no stick at all; values past the end draw as the end.
        const QImage spent = incense(1, t, true);
        EXPECT_LT(level(at(spent, {95, 200}), paper, ink), 0.3);
        EXPECT_EQ(incense(1.7, t, true), spent);
        EXPECT_EQ(incense(-0.4, t, true), fresh);
    }
}

TEST_F(FacesTest, TheAshGrowsOnlyPastTheFirstFiftieth)
{
    for (Kiv::Appearance appearance : kAppearances) {
        SCOPED_TRACE(name(appearance));
        Kiv::setAppearance(appearance);
        const QColor rim = Kiv::paperRaised(), ink = Kiv::ink();
        // The ash lies on the rim at (95, 253): none up to 0.02, 10.7 px
        // wide just after, 32 px wide at the end.
        const QPointF centre(95, 253), aside(95 + 12, 253);
        EXPECT_LT(level(at(incense(0.02, 0, false), centre), rim, ink), 0.05);
        EXPECT_GT(level(at(incense(0.03, 0, false), centre), rim, ink), 0.18);
        EXPECT_LT(level(at(incense(0.03, 0, false), aside), rim, ink), 0.05);
        EXPECT_GT(level(at(incense(1, 0, false), aside), rim, ink), 0.18);
    }
}

TEST_F(FacesTest, TheEmberPulsesAndTheSmokeFadesWhenTheRunStops)
{
    for (Kiv::Appearance appearance : kAppearances) {
        SCOPED_TRACE(name(appearance));
        Kiv::setAppearance(appearance);
        const QColor paper = Kiv::paper(), ink = Kiv::ink(), ember = Kiv::vermilion();
        // At t = π / 3.2 the pulse is at its height: the ember at full
        // vermilion; paused it holds at 0.775.
        const double peak = std::numbers::pi / 3.2;
        const QPointF core(95, IncenseView::burnLine(268, 0.4));
        const QImage running = incense(0.4, peak, true, 2);
        const QImage paused = incense(0.4, peak, false, 2);
        EXPECT_LT(distance(at(running, core), ember), 0.08);
        EXPECT_GT(distance(at(paused, core), ember), distance(at(running, core), ember) + 0.05);
        EXPECT_LT(distance(at(paused, core), ember), distance(at(paused, core), ink));

        // The smoke above the burn line: 0.45 while running, 0.12 paused
        // (at the start, where no spent trace lies under it).
        auto smoke = [&](const QImage &image) {
            double sum = 0;
            for (double y = 6; y < 46; y += 1)
                for (double x = 70; x < 125; x += 1)
                    sum += std::max(0.0, level(at(image, {x, y}), paper, ink));
            return sum;
        };
        const double smokeRunning = smoke(incense(0, peak, true, 2));
        const double smokePaused = smoke(incense(0, peak, false, 2));
        EXPECT_NEAR(smokeRunning / smokePaused, 0.45 / 0.12, 0.6);
    }
    // No randomness: the same inputs give the same picture.
    EXPECT_EQ(incense(0.4, 12.5, true), incense(0.4, 12.5, true));
    EXPECT_NE(incense(0.4, 12.5, true), incense(0.4, 13.5, true));
}

TEST_F(FacesTest, RingArcGrowsClockwiseFromTwelveInThePhasesColour)
{
    const QPointF c(134, 134);
    auto onRing = [&c](double degreesFromTwelve) {
        const double a = degreesFromTwelve * std::numbers::pi / 180;
        return QPointF(c.x() + 124 * std::sin(a), c.y() - 124 * std::cos(a));
    };
    for (Kiv::Appearance appearance : kAppearances) {
        SCOPED_TRACE(name(appearance));
        Kiv::setAppearance(appearance);
        const QColor indigo = Kiv::indigo(), moss = Kiv::moss();
        // The ring without an arc, for what lies under it.
        const QImage bare = ring(0.0001, Phase::focus, false);
        auto arcLevel = [&](const QImage &image, double degrees, QColor colour) {
            return level(at(image, onRing(degrees)), at(bare, onRing(degrees)), colour);
        };

        // Half: the right side lit, the left side bare.
        const QImage half = ring(0.5, Phase::focus, true);
        EXPECT_NEAR(arcLevel(half, 90, indigo), 0.75, 0.1) << "three o'clock";
        EXPECT_NEAR(arcLevel(half, 225, indigo), 0, 0.05) << "not past the head";
        EXPECT_NEAR(arcLevel(half, 270, indigo), 0, 0.05);

        // Full: the colour deepens clockwise from nine o'clock round to nine.
        const QImage full = ring(1, Phase::focus, true);
        EXPECT_NEAR(arcLevel(full, 180, indigo), 0.875, 0.1) << "six o'clock";
        EXPECT_GT(arcLevel(full, 265, indigo), 0.9) << "just before nine";
        EXPECT_LT(arcLevel(full, 275, indigo), 0.45) << "just after nine";
        EXPECT_NEAR(arcLevel(full, 20, indigo), 0.35 + 0.4 * (110.0 / 180), 0.1);

        // Any phase but focus draws in moss.
        const QImage rest = ring(0.5, Phase::longBreak, true);
        const QColor restPixel = at(rest, onRing(90));
        const QColor under = at(bare, onRing(90));
        EXPECT_LT(distance(restPixel, Motion::mix(under, moss, 0.75)), distance(restPixel, Motion::mix(under, indigo, 0.75)));
        EXPECT_LT(distance(at(half, onRing(90)), Motion::mix(under, indigo, 0.75)),
                  distance(at(half, onRing(90)), Motion::mix(under, moss, 0.75)));
    }
}

TEST_F(FacesTest, RingDotRidesOnTheHeadAndDimsWhenPaused)
{
    for (Kiv::Appearance appearance : kAppearances) {
        SCOPED_TRACE(name(appearance));
        Kiv::setAppearance(appearance);
        const QColor red = Kiv::vermilion();
        const QPointF threeOClock(258, 134), twelve(134, 10);
        const QImage bare = ring(0.0001, Phase::focus, false);

        EXPECT_LT(distance(at(ring(0.25, Phase::focus, true), threeOClock), red), 0.08);
        // Paused, at half strength over the arc's end.
        const QColor arcEnd = at(ring(0.26, Phase::focus, false), threeOClock);
        EXPECT_NEAR(level(at(ring(0.25, Phase::focus, false), threeOClock), arcEnd, red), 0.5, 0.1);
        // A full turn brings it back to twelve; past it the dot turns on
        // while the arc stays full.
        EXPECT_LT(distance(at(ring(1, Phase::focus, true), twelve), red), 0.08);
        const QImage over = ring(1.25, Phase::focus, true);
        EXPECT_LT(distance(at(over, threeOClock), red), 0.08);
        EXPECT_GT(level(at(over, {10, 140}), at(bare, {10, 140}), Kiv::indigo()), 0.8);
        // At the start a sliver of arc lies under the dot at twelve.
        EXPECT_LT(distance(at(ring(0, Phase::focus, true), twelve), red), 0.08);
    }
}

TEST_F(FacesTest, StaticLayersAreDrawnOnceAndLookTheSame)
{
    // The ring's disc and track: the same picture at rest; breathing scales
    // the layer without drawing it again; a new appearance draws it anew.
    PaintCache base;
    const QSize ringSize = RingView(nullptr).sizeHint();
    auto ringFrame = [&](double scale, PaintCache *cache) {
        return StillPicture::paint(ringSize, 2, [&](QPainter &p, QSizeF s) {
            RingView::draw(p, s, 0.6, Phase::focus, true, scale, cache);
        });
    };
    EXPECT_LE(worstDifference(ringFrame(1.0, nullptr), ringFrame(1.0, &base)), 2);
    for (double t = 0; t < 8; t += 0.5)
        ringFrame(RingView::breath(t), &base);
    EXPECT_EQ(base.drawCount(), 1);

    // The incense's slow parts (trace, stick, bowl, ash), at a whole and a
    // fractional pixel ratio: the same picture as drawn whole, kept while
    // only the smoke and the ember move, drawn again once the trace has
    // swayed for a quarter second or the burn line has moved.
    for (double dpr : {2.0, 1.5}) {
        SCOPED_TRACE(dpr);
        PaintCache still;
        auto stickFrame = [&](double progress, double t, PaintCache *cache) {
            return StillPicture::paint(QSize(IncenseView::kWidth, IncenseView::kHeight), dpr, [&](QPainter &p, QSizeF s) {
                IncenseView::draw(p, s, t, progress, true, cache);
            });
        };
        for (double progress : {0.0, 0.5, 1.0})
            EXPECT_LE(worstDifference(stickFrame(progress, 40, nullptr), stickFrame(progress, 40, &still)), 2);
        const int drawn = still.drawCount();
        for (double t = 40; t < 40.25; t += 0.05)
            stickFrame(1.0, t, &still);
        EXPECT_EQ(still.drawCount(), drawn) << "the frames of one quarter second share the layer";
        stickFrame(1.0, 40.25, &still);
        EXPECT_EQ(still.drawCount(), drawn + 1);
        stickFrame(0.9, 40.25, &still);
        EXPECT_EQ(still.drawCount(), drawn + 2);
    }

    Kiv::setAppearance(Kiv::Appearance::dark);
    ringFrame(1.0, &base);
    EXPECT_EQ(base.drawCount(), 2);
}

TEST_F(FacesTest, WalkerCrossesTheGroundAndStandsStillWhenPaused)
{
    const double ground = 0.74 * 268;
    EXPECT_DOUBLE_EQ(KinhinView::walkerX(190, 0), 30);
    EXPECT_DOUBLE_EQ(KinhinView::walkerX(190, 1.3), 160);
    EXPECT_DOUBLE_EQ(KinhinView::walkerX(190, 0.5), 95);
    EXPECT_DOUBLE_EQ(KinhinView::stepAt(123.0, false), 0.3);
    EXPECT_NEAR(KinhinView::stepAt(5.0, true), 0.25, 1e-9);
    EXPECT_NEAR(KinhinView::stepAt(11.0, true), 0.75, 1e-9);

    for (Kiv::Appearance appearance : kAppearances) {
        SCOPED_TRACE(name(appearance));
        Kiv::setAppearance(appearance);
        const QColor paper = Kiv::paper(), ink = Kiv::ink();
        const QImage start = kinhin(0, 100, false);
        const QImage end = kinhin(1, 100, false);
        // The robe at the figure's place, nothing where it is not.
        EXPECT_GT(level(at(start, {31, ground - 30}), paper, ink), 0.55);
        EXPECT_LT(level(at(start, {161, ground - 30}), paper, ink), 0.05);
        EXPECT_GT(level(at(end, {161, ground - 30}), paper, ink), 0.55);
        EXPECT_LT(level(at(end, {31, ground - 30}), paper, ink), 0.05);
        // Head and neck are one shape, with no gap where they overlap.
        EXPECT_GT(level(at(start, {33, ground - 0.951 - 58}), paper, ink), 0.55);

        // Standing still (step 0.3): the front foot at x + 5.8, the back
        // one at x − 9.8, the ground showing between them.
        const double feet = ground - 0.951 - 0.8;
        EXPECT_GT(level(at(start, {30 + 9, feet}), paper, ink), 0.5);
        EXPECT_GT(level(at(start, {30 - 6, feet}), paper, ink), 0.5);
        EXPECT_LT(level(at(start, {30 + 1.5, feet}), paper, ink), 0.2);

        // The trail darkens the ground behind the figure; none at the start.
        const double trailAt100 = level(at(end, {100, ground}), paper, ink);
        const double groundAt100 = level(at(start, {100, ground}), paper, ink);
        EXPECT_GT(trailAt100, groundAt100 + 0.08);
    }
    // Paused, the pose does not depend on the time; walking, it does.
    EXPECT_EQ(kinhin(0.4, 100, false), kinhin(0.4, 4321, false));
    EXPECT_NE(kinhin(0.4, 100, true), kinhin(0.4, 101, true));
}

// The faces' timers, in real motion (not the tests' instant motion), on a
// clock the test moves.
struct FaceTimersTest : ViewTest
{
    FakeClock clock;
    QWidget window;

    void SetUp() override
    {
        ViewTest::SetUp();
        Motion::setInstant(false);
        Clock::setCurrent(&clock);
        window.resize(400, 400);
    }
    void TearDown() override
    {
        Clock::setCurrent(nullptr);
        ViewTest::TearDown();
    }
    QImage grab(QWidget *w) { return StillPicture::grab(w, 1); }
};

// The rectangles a widget is asked to paint, in order.
struct Paints : QObject
{
    QList<QRect> rects;
    QList<QRegion> regions;
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint) {
            rects.append(static_cast<QPaintEvent *>(event)->rect());
            regions.append(static_cast<QPaintEvent *>(event)->region());
        }
        return false;
    }
};

TEST_F(FaceTimersTest, IncenseAndWalkerRedrawOnlyWhileRunningAndShown)
{
    auto *stick = new IncenseView(&window);
    auto *walker = new KinhinView(&window);
    auto ticking = [&] { return std::pair(stick->isTicking(), walker->isTicking()); };

    stick->setInputs(0.3, Phase::focus, true);
    walker->setInputs(0.3, true);
    EXPECT_EQ(ticking(), std::pair(false, false)) << "not shown yet";
    window.show();
    EXPECT_EQ(ticking(), std::pair(true, true));
    window.hide();
    EXPECT_EQ(ticking(), std::pair(false, false));
    window.show();
    EXPECT_EQ(ticking(), std::pair(true, true));
    stick->hide();
    EXPECT_EQ(ticking(), std::pair(false, true));
    stick->show();

    // Paused: drawn once, and the same picture however long it waits.
    stick->setInputs(0.3, Phase::focus, false);
    walker->setInputs(0.3, false);
    EXPECT_EQ(ticking(), std::pair(false, false));
    const QImage stickStill = grab(stick), walkerStill = grab(walker);
    clock.advanceSeconds(37.3);
    EXPECT_EQ(grab(stick), stickStill);
    EXPECT_EQ(grab(walker), walkerStill);

    // Running, the picture moves with the time.
    stick->setInputs(0.3, Phase::focus, true);
    walker->setInputs(0.3, true);
    EXPECT_EQ(ticking(), std::pair(true, true));
    const QImage stickMoving = grab(stick), walkerMoving = grab(walker);
    clock.advanceSeconds(1.3);
    EXPECT_NE(grab(stick), stickMoving);
    EXPECT_NE(grab(walker), walkerMoving);
}

// Between two steps of the slow parts a frame redraws only the smoke and
// the ember: everything that changes lies in the moving area.
// The slow parts are drawn again in the stick's column alone: however the
// steps come (the trace swaying on, the line burning down, a new phase
// starting the stick anew), the kept layer shows what a whole drawing shows.
TEST_F(FacesTest, TheSlowPartsRedrawnInTheirColumnMatchAWholeDrawing)
{
    const QSize size(IncenseView::kWidth, IncenseView::kHeight);
    for (double dpr : {1.0, 1.5, 2.0, 0.75}) {
        SCOPED_TRACE(dpr);
        PaintCache still;
        auto frame = [&](double t, double progress, PaintCache *cache) {
            return StillPicture::paint(size, dpr, [&](QPainter &p, QSizeF s) {
                IncenseView::draw(p, s, t, progress, true, cache);
            });
        };
        const std::pair<double, double> steps[] = {{40, 0.3}, {40.25, 0.3}, {47, 0.31}, {47.5, 1.0}, {48, 0.0}, {60, 0.6}};
        for (auto [t, progress] : steps) {
            SCOPED_TRACE(testing::Message() << "t " << t << " progress " << progress);
            const int drawn = still.drawCount();
            const QImage kept = frame(t, progress, &still);
            EXPECT_EQ(still.drawCount(), drawn + 1);
            EXPECT_LE(worstDifference(kept, frame(t, progress, nullptr)), 2);
        }
    }
}

// On the painting thread the stick and its trace are drawn slice by slice,
// each slice with only the part of them that reaches it; the picture is the
// one a pool thread draws, where they are drawn whole.
TEST_F(FacesTest, TheIncenseDrawnInSlicesIsTheIncenseDrawnWhole)
{
    const QSize size(IncenseView::kWidth, IncenseView::kHeight);
    auto paint = [&](double dpr, double t, double progress) {
        QImage image(size * dpr, QImage::Format_ARGB32_Premultiplied);
        image.setDevicePixelRatio(dpr);
        image.fill(Kiv::paper());
        QPainter painter(&image);
        IncenseView::draw(painter, QSizeF(size), t, progress, true);
        return image;
    };
    for (double dpr : {1.0, 2.0}) {
        for (double progress : {0.004, 0.3, 0.7, 1.0}) {
            for (double t : {1000.0, 1003.7}) {
                SCOPED_TRACE(testing::Message() << "dpr " << dpr << " progress " << progress << " t " << t);
                const QImage sliced = paint(dpr, t, progress);
                QImage whole;
                QSemaphore done;
                ASSERT_TRUE(QThreadPool::globalInstance()->tryStart([&] {
                    whole = paint(dpr, t, progress);
                    done.release();
                }));
                done.acquire();
                EXPECT_LE(worstDifference(sliced, whole), 0);
            }
        }
    }
}

TEST_F(FacesTest, BetweenSlowStepsOnlyTheMovingAreaChanges)
{
    const QSizeF size(IncenseView::kWidth, IncenseView::kHeight);
    for (double dpr : {1.0, 2.0}) {
        for (double progress : {0.0, 0.004, 0.3, 0.9, 1.0}) {
            SCOPED_TRACE(testing::Message() << "dpr " << dpr << " progress " << progress);
            PaintCache still;
            auto frame = [&](double t) {
                return StillPicture::paint(size.toSize(), dpr, [&](QPainter &p, QSizeF s) {
                    IncenseView::draw(p, s, t, progress, true, &still);
                });
            };
            const QRect moving = IncenseView::movingArea(size, progress);
            const QImage first = frame(1000.0);
            for (double t : {1000.05, 1000.1, 1000.2}) {
                ASSERT_EQ(IncenseView::stillStep(size, t, progress, dpr), IncenseView::stillStep(size, 1000, progress, dpr));
                const QImage later = frame(t);
                QRect changed;
                for (int y = 0; y < later.height(); ++y)
                    for (int x = 0; x < later.width(); ++x)
                        if (later.pixel(x, y) != first.pixel(x, y))
                            changed |= QRect(int(x / dpr), int(y / dpr), 1, 1);
                EXPECT_FALSE(changed.isEmpty()) << t;
                EXPECT_TRUE(moving.contains(changed)) << t;
            }
        }
    }
}

// A step of the slow parts changes nothing outside what the step names: the
// trace and the stick's top when the trace sways a quarter second on, and
// the ash in the bowl besides when the burn line moves (down, or back up to
// the top for a new phase); the smoke and the ember move in their own area.
TEST_F(FacesTest, AcrossASlowStepOnlyWhatTheStepNamesChanges)
{
    const QSizeF size(IncenseView::kWidth, IncenseView::kHeight);
    for (double dpr : {1.0, 2.0}) {
        for (double progress : {0.004, 0.3, 0.9, 1.0}) {
            SCOPED_TRACE(testing::Message() << "dpr " << dpr << " progress " << progress);
            auto frame = [&](double t, double p) {
                return StillPicture::paint(size.toSize(), dpr,
                                           [&](QPainter &painter, QSizeF s) { IncenseView::draw(painter, s, t, p, true); });
            };
            const QImage first = frame(1000.0, progress);
            const quint64 from = IncenseView::stillStep(size, 1000, progress, dpr);
            for (auto [t, p] : {std::pair(1000.25, progress), std::pair(1003.0, progress),
                                std::pair(1000.0, progress - 0.002), std::pair(1000.0, 0.0)}) {
                SCOPED_TRACE(testing::Message() << "t " << t << " p " << p);
                const quint64 to = IncenseView::stillStep(size, t, p, dpr);
                ASSERT_NE(to, from);
                const QRegion named = IncenseView::stillChange(size, dpr, from, to) + IncenseView::movingArea(size, p)
                                      + IncenseView::movingArea(size, progress);
                const QImage later = frame(t, p);
                int changes = 0;
                QRect outside;
                for (int y = 0; y < later.height(); ++y)
                    for (int x = 0; x < later.width(); ++x)
                        if (later.pixel(x, y) != first.pixel(x, y)) {
                            ++changes;
                            if (!named.contains(QPoint(int(x / dpr), int(y / dpr))))
                                outside |= QRect(int(x / dpr), int(y / dpr), 1, 1);
                        }
                EXPECT_TRUE(outside.isEmpty()) << "changed outside what the step names: " << outside.x() << ","
                                               << outside.y() << " " << outside.width() << "x" << outside.height();
                EXPECT_GT(changes, 0);
            }
        }
    }
}

TEST_F(FaceTimersTest, TheIncenseRedrawsItsMovingAreaUntilTheSlowPartsMove)
{
    Paints paints;
    QList<QRegion> &painted = paints.regions;
    auto *stick = new IncenseView(&window);
    // Far enough down that the spent trace rises above the smoke.
    stick->setInputs(0.8, Phase::focus, true);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    stick->installEventFilter(&paints);
    const QSizeF size(stick->size());
    const QRegion moving(IncenseView::movingArea(size, 0.8));
    // The clock stands still: the frames redraw the smoke and the ember alone.
    painted.clear();
    ASSERT_TRUE(QTest::qWaitFor([&] { return painted.size() >= 3; }, 2000));
    EXPECT_EQ(painted.last(), moving);
    // A new progress waits for the next frame, not a whole repaint of its
    // own; the line burnt on, so that frame redraws the trace, the stick's
    // top and the ash besides the smoke, and nothing else of the bowl.
    stick->setInputs(0.81, Phase::focus, true);
    clock.advanceSeconds(0.25);
    painted.clear();
    const qreal dpr = stick->devicePixelRatioF();
    const QRegion step = IncenseView::frameArea(size, dpr, IncenseView::stillStep(size, 0, 0.8, dpr),
                                                IncenseView::stillStep(size, 0, 0.81, dpr), 0.81);
    // A frame asked for before the step may still be on its way: look for the
    // step's own repaint among the next ones, then for the moving area alone.
    ASSERT_TRUE(QTest::qWaitFor([&] { return painted.contains(step); }, 2000)) << "the line burnt a step";
    EXPECT_FALSE(step.contains(QPoint(int(size.width() / 2), int(size.height()) - 33))) << "the stick above the ash";
    const qsizetype at = painted.indexOf(step);
    ASSERT_TRUE(QTest::qWaitFor([&] { return painted.size() > at + 1; }, 2000));
    EXPECT_EQ(painted.last(), QRegion(IncenseView::movingArea(size, 0.81)));
    EXPECT_FALSE(std::any_of(painted.begin(), painted.end(), [&](const QRegion &r) { return r == QRegion(stick->rect()); }))
        << "no whole repaint of its own";
}

// While the ring breathes, a small step of the arc waits for the next frame;
// a new phase is drawn at once.
TEST_F(FaceTimersTest, TheBreathingRingDrawsASmallStepWithItsNextFrame)
{
    Paints filter;
    auto *face = new RingView(&window);
    face->setInputs(0.3, Phase::focus, true);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QCoreApplication::processEvents();
    face->installEventFilter(&filter);
    face->setInputs(0.30002, Phase::focus, true);
    QCoreApplication::processEvents();
    EXPECT_EQ(filter.rects.size(), 0);
    face->setInputs(0.0, Phase::shortBreak, true);
    QCoreApplication::processEvents();
    EXPECT_EQ(filter.rects.size(), 1);
}

TEST_F(FaceTimersTest, RingBreathesWhileRunningAndSettlesOnceWhenPaused)
{
    EXPECT_DOUBLE_EQ(RingView::breath(0), 1.0);
    EXPECT_NEAR(RingView::breath(4), 1.012, 1e-9);
    EXPECT_NEAR(RingView::breath(2), 1.006, 1e-4);
    EXPECT_NEAR(RingView::breath(8), 1.0, 1e-9);
    EXPECT_NEAR(RingView::breath(10), 1.006, 1e-4);

    auto *face = new RingView(&window);
    window.show();
    face->setInputs(0.2, Phase::focus, true);
    EXPECT_TRUE(face->isTicking());
    clock.advanceSeconds(3);
    const double swollen = face->scaleAt(FaceTime::now());
    EXPECT_GT(swollen, 1.005);

    // Paused: it settles back to its rest size (no longer breathing), then
    // its timer stops.
    face->setInputs(0.2, Phase::focus, false);
    double t = FaceTime::now();
    EXPECT_NEAR(face->scaleAt(t), swollen, 1e-9) << "no jump";
    EXPECT_TRUE(face->isTicking());
    clock.advanceSeconds(1);
    EXPECT_LT(face->scaleAt(FaceTime::now()), swollen);
    clock.advanceSeconds(4);
    EXPECT_DOUBLE_EQ(face->scaleAt(FaceTime::now()), 1.0);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !face->isTicking(); }, 2000));
    const QImage still = grab(face);
    clock.advanceSeconds(20);
    EXPECT_EQ(grab(face), still);
    EXPECT_FALSE(face->isTicking());

    // Resumed: it breathes on from its rest size.
    face->setInputs(0.2, Phase::focus, true);
    EXPECT_TRUE(face->isTicking());
    EXPECT_NEAR(face->scaleAt(FaceTime::now()), 1.0, 1e-6);
    clock.advanceSeconds(4);
    EXPECT_NEAR(face->scaleAt(FaceTime::now()), 1.012, 1e-4);

    // Hidden, nothing runs.
    window.hide();
    EXPECT_FALSE(face->isTicking());
}

TEST_F(FaceTimersTest, RingArcMovesForwardOverAQuarterSecondAndJumpsBack)
{
    auto *face = new RingView(&window);
    window.show();
    face->setInputs(0.9, Phase::focus, true);
    EXPECT_DOUBLE_EQ(face->shownProgress(FaceTime::now()), 0.9) << "the first inputs are drawn at once";

    // A new phase: drawn at once, never unwound backwards.
    face->setInputs(0.02, Phase::shortBreak, true);
    EXPECT_DOUBLE_EQ(face->shownProgress(FaceTime::now()), 0.02);

    // Growing: linearly over 0.25 s.
    face->setInputs(0.1, Phase::shortBreak, true);
    EXPECT_DOUBLE_EQ(face->shownProgress(FaceTime::now()), 0.02);
    clock.advance(125);
    EXPECT_NEAR(face->shownProgress(FaceTime::now()), 0.06, 1e-9);
    // A drop midway also lands at once.
    face->setInputs(0.01, Phase::focus, true);
    EXPECT_DOUBLE_EQ(face->shownProgress(FaceTime::now()), 0.01);
    face->setInputs(0.05, Phase::focus, true);
    EXPECT_EQ(face->frameInterval(), RingView::kFrameMs) << "10 frames a second while the arc moves";
    clock.advance(300);
    EXPECT_DOUBLE_EQ(face->shownProgress(FaceTime::now()), 0.05);

    // A long phase's quarter-second step is too small to see: drawn at once,
    // and the ring only breathes, at 4 frames a second.
    face->setInputs(0.05002, Phase::focus, true);
    EXPECT_DOUBLE_EQ(face->shownProgress(FaceTime::now()), 0.05002);
    EXPECT_EQ(face->frameInterval(), RingView::kBreathFrameMs);
    EXPECT_TRUE(face->isTicking());
}

} // namespace
