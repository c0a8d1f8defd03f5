// The tray icon drawn from the run: which ring and glyph each state of the
// engine gives, and pixel probes of the drawing (the ring's drawn part, the
// glyph inside it, the dimmed pause, the finished check, dark panels).
#include "app/TrayIconPainter.h"
#include "model/ModelRig.h"
#include "views/ViewTest.h"
#include "views/ink/StillPicture.h"

#include <QPainter>
#include <cmath>

namespace {

using State = TrayIconPainter::State;
using Mark = State::Mark;
using ModelRigs::Rig;

constexpr int kSide = 32;

struct TrayIconPainterTest : ViewTest
{
    static QImage drawn(const State &state)
    {
        return StillPicture::paint(
            QSize(kSide, kSide), 1.0, [&](QPainter &p, QSizeF size) { TrayIconPainter::draw(p, size, state); },
            QColor(Qt::transparent));
    }
    // The pixel on the ring's middle line at a clock angle (0 at twelve,
    // clockwise, degrees).
    static QColor onRing(const QImage &image, double degrees)
    {
        const double a = degrees * M_PI / 180.0;
        const double r = 13.0;
        return image.pixelColor(int(std::floor(16 + r * std::sin(a))), int(std::floor(16 - r * std::cos(a))));
    }
    static QColor at(const QImage &image, int x, int y) { return image.pixelColor(x, y); }
};

TEST_F(TrayIconPainterTest, StateFollowsTheRun)
{
    Rig rig;
    rig.settings.setShowSecondsInMenuBar(true);
    AppModel &model = rig.build();
    PomodoroEngine &engine = model.engine();
    auto state = [&] { return TrayIconPainter::stateOf(engine); };

    EXPECT_EQ(state(), State{});
    engine.begin(Mode::quick, false, {}); // 25 min focus, 5 min break
    EXPECT_EQ(state(), (State{Mark::focus, 120, false}));
    // The ring drains in whole steps and is full until the first has passed.
    rig.clock.advance(1000);
    EXPECT_EQ(state().sweep, 120);
    rig.clock.advance(12500);
    EXPECT_EQ(state().sweep, 119);
    rig.clock.advance(qint64(12.5 * 60 * 1000) - 13500);
    EXPECT_EQ(state().sweep, 60);
    engine.pause();
    EXPECT_EQ(state(), (State{Mark::focus, 60, true}));
    engine.start();
    rig.finishPhase();
    EXPECT_EQ(state(), (State{Mark::shortBreak, 120, false}));
    rig.finishPhase();
    ASSERT_EQ(engine.state(), RunState::finished);
    EXPECT_EQ(state(), (State{Mark::done, 120, false}));

    // An open-ended focus fills its ring as it counts up, a turn per focus length.
    engine.begin(Mode::open, false, {});
    EXPECT_EQ(state(), (State{Mark::focus, 0, false}));
    rig.clock.advance(qint64(rig.settings.duration(Phase::focus) * 1000 / 4) + 300);
    EXPECT_EQ(state().sweep, 30);
    engine.stop();
    EXPECT_EQ(state(), State{});
}

TEST_F(TrayIconPainterTest, TheRingHoldsWhatIsLeftAndTheGlyphNamesThePhase)
{
    const QColor ink = Kiv::ink();
    auto inked = [&](const QColor &c) { return c.alpha() > 200 && std::abs(c.red() - ink.red()) < 40; };
    auto track = [](const QColor &c) { return c.alpha() > 30 && c.alpha() < 110; };
    auto clear = [](const QColor &c) { return c.alpha() == 0; };

    // A quarter left: inked from twelve to three, the faint track beyond.
    const QImage quarter = drawn({Mark::focus, 30, false});
    EXPECT_TRUE(inked(onRing(quarter, 10)));
    EXPECT_TRUE(inked(onRing(quarter, 80)));
    EXPECT_TRUE(track(onRing(quarter, 100)));
    EXPECT_TRUE(track(onRing(quarter, 270)));
    EXPECT_TRUE(track(onRing(quarter, 350)));
    EXPECT_TRUE(clear(at(quarter, 16, 16))); // a focus has no glyph: the ring is its ◯
    // Nothing left: only the track.
    EXPECT_TRUE(track(onRing(drawn({Mark::focus, 0, false}), 10)));
    for (double degrees : {0.0, 90.0, 180.0, 270.0, 359.0})
        EXPECT_TRUE(inked(onRing(drawn({Mark::focus, 120, false}), degrees))) << degrees;

    // One dot for a short break, two apart for a long one.
    const QImage shortBreak = drawn({Mark::shortBreak, 120, false});
    EXPECT_TRUE(inked(at(shortBreak, 16, 16)));
    const QImage longBreak = drawn({Mark::longBreak, 120, false});
    EXPECT_TRUE(clear(at(longBreak, 16, 16)));
    EXPECT_TRUE(inked(at(longBreak, 11, 16)));
    EXPECT_TRUE(inked(at(longBreak, 20, 16)));

    // Paused: two bars in place of the glyph, the ring dimmed.
    const QImage paused = drawn({Mark::shortBreak, 120, true});
    EXPECT_TRUE(clear(at(paused, 16, 15)));
    EXPECT_TRUE(inked(at(paused, 13, 15)));
    EXPECT_TRUE(inked(at(paused, 18, 15)));
    const QColor dim = onRing(paused, 45);
    EXPECT_LT(dim.alpha(), 200);
    EXPECT_GT(dim.alpha(), 110);

    // No mode: the bare ring, nothing inside.
    const QImage idle = drawn(State{});
    EXPECT_TRUE(inked(onRing(idle, 200)));
    EXPECT_TRUE(clear(at(idle, 16, 16)));
    EXPECT_TRUE(clear(at(idle, 0, 0)));
}

TEST_F(TrayIconPainterTest, FinishedIsAMossRingWithACheckAndDarkPanelsGetLightInk)
{
    const QImage done = drawn({Mark::done, 120, false});
    const QColor moss = Kiv::moss();
    for (double degrees : {0.0, 120.0, 240.0}) {
        const QColor c = onRing(done, degrees);
        EXPECT_GT(c.alpha(), 200);
        EXPECT_LT(std::abs(c.green() - moss.green()) + std::abs(c.red() - moss.red()), 40) << degrees;
    }
    int checkPixels = 0;
    for (int y = 10; y < 22; ++y)
        for (int x = 10; x < 22; ++x)
            checkPixels += done.pixelColor(x, y).alpha() > 128;
    EXPECT_GT(checkPixels, 8);

    Kiv::setAppearance(Kiv::Appearance::dark);
    const QColor light = onRing(drawn({Mark::focus, 120, false}), 0);
    EXPECT_GT(light.lightness(), 150);
    EXPECT_GT(light.alpha(), 200);
}

TEST_F(TrayIconPainterTest, IconCarriesEveryTraySize)
{
    const QIcon icon = TrayIconPainter::icon({Mark::focus, 60, false});
    const QList<QSize> sizes = icon.availableSizes();
    for (int side : {16, 22, 24, 32, 48, 64})
        EXPECT_TRUE(sizes.contains(QSize(side, side))) << side;
    // The small size is drawn for itself, not scaled down from a large one.
    const QImage small = icon.pixmap(QSize(16, 16)).toImage();
    EXPECT_GT(small.pixelColor(8, 1).alpha(), 150); // the ring's top at 16 px
}

} // namespace
