// The faces of a running phase (the incense stick, the ring, the walking
// figure), one frame each.
//
// - Incense, Ring, Walker: the whole drawing at 380 × 380 logical pixels
//   from the calling thread, as a still picture draws it. The time counted
//   is the process's, so the pieces Qt's raster engine hands its thread pool
//   for the larger fills (and the hand-overs) count too.
// - *Widget: a frame as the running-round screen paints it: the face at its
//   own size on the paper, drawn (FrameCanvas) with its cached layers, then
//   copied to the page. IncenseWidgetMoving: what one frame of the burning
//   incense repaints, its smoke and ember; IncenseWidgetSlowStep: a frame
//   where the slow parts have moved, their layer drawn again in the stick's
//   column; IncenseWidgetSwayStep: a frame where only the trace has swayed
//   on, early and late in a phase; RingWidgetBreathing: a frame of the
//   breathing ring, the band about its track.
//
// Measured on the 8-core build machine (quiet, load under 1), process CPU
// per frame at 1× and 2×: see the closing note of the change that added the
// widget cases; the figures move with the machine's load.
#include "core/Kiv.h"
#include "views/ink/KivBackground.h"
#include "views/ink/PaintCache.h"
#include "views/timer/FaceTime.h"
#include "views/timer/IncenseView.h"
#include "views/timer/KinhinView.h"
#include "views/timer/RingView.h"
#include "platform/fakes/FakeClock.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <benchmark/benchmark.h>
#include <functional>

namespace {

constexpr QSize kArea(380, 380);

void frame(benchmark::State &state, void (*draw)(QPainter &, QSizeF, double))
{
    const double dpr = double(state.range(0));
    QImage image(kArea * dpr, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(dpr);
    double t = 1000;
    for (auto _ : state) {
        image.fill(Qt::transparent);
        QPainter painter(&image);
        draw(painter, QSizeF(kArea), t);
        t += 0.05;
    }
}

void Incense(benchmark::State &state)
{
    frame(state, [](QPainter &p, QSizeF s, double t) { IncenseView::draw(p, s, t, 0.4, true); });
}
BENCHMARK(Incense)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond)->MeasureProcessCPUTime();

void Ring(benchmark::State &state)
{
    frame(state, [](QPainter &p, QSizeF s, double t) {
        RingView::draw(p, s, 0.4, Phase::focus, true, RingView::breath(t));
    });
}
BENCHMARK(Ring)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond)->MeasureProcessCPUTime();

void Walker(benchmark::State &state)
{
    frame(state, [](QPainter &p, QSizeF s, double t) { KinhinView::draw(p, s, t, 0.4, true); });
}
BENCHMARK(Walker)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond)->MeasureProcessCPUTime();

// A face widget standing on the paper of a page at its full size, as the
// running-round screen gives it room, and a picture of the page as the
// window's backing store receives it.
struct FacePage
{
    QWidget page;
    QWidget *face = nullptr;
    QImage image;

    FacePage(double dpr, const std::function<QWidget *(QWidget *)> &make)
    {
        page.resize(420, 520);
        auto *paper = new KivBackground(&page);
        paper->setGeometry(page.rect());
        face = make(&page);
        face->resize(face->sizeHint());
        face->move(40, 60);
        paper->lower();
        image = QImage(page.size() * dpr, QImage::Format_RGB32);
        image.setDevicePixelRatio(dpr);
    }

    // One frame that repaints `area` of the face.
    void paint(const QRegion &area)
    {
        face->render(&image, face->pos() + area.boundingRect().topLeft(), area, QWidget::DrawChildren);
    }
};

// A whole frame of a face, or what one frame of the incense moves.
void widgetFrame(benchmark::State &state, const std::function<QWidget *(QWidget *)> &make, bool movingOnly = false)
{
    FacePage on(double(state.range(0)), make);
    const QRegion area = movingOnly ? QRegion(IncenseView::movingArea(QSizeF(on.face->size()), 0.4))
                                    : QRegion(on.face->rect());
    for (auto _ : state)
        on.paint(area);
}

void incenseMoving(benchmark::State &state)
{
    widgetFrame(state, [](QWidget *parent) {
        auto *face = new IncenseView(parent);
        face->setInputs(0.4, Phase::focus, true);
        return face;
    }, true);
}
BENCHMARK(incenseMoving)->Name("IncenseWidgetMoving")->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond)->MeasureProcessCPUTime();

// A frame at a step of the slow parts: what the step changed besides the
// smoke (the trace, the stick's top, the ash), its layer drawn again there
// (the burn line a fifth of a pixel further down each time).
void IncenseWidgetSlowStep(benchmark::State &state)
{
    FacePage on(double(state.range(0)), [](QWidget *parent) { return new IncenseView(parent); });
    auto *face = static_cast<IncenseView *>(on.face);
    const QSizeF size(face->size());
    const double dpr = double(state.range(0));
    double progress = 0.3;
    for (auto _ : state) {
        const double before = progress;
        progress = progress < 0.6 ? progress + 0.001 : 0.3;
        face->setInputs(progress, Phase::focus, true);
        on.paint(IncenseView::frameArea(size, dpr, IncenseView::stillStep(size, 0, before, dpr),
                                        IncenseView::stillStep(size, 0, progress, dpr), progress));
    }
}
BENCHMARK(IncenseWidgetSlowStep)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond)->MeasureProcessCPUTime();

// A frame at a step of the trace's sway (four a second) with the burn line
// still: the spent trace drawn again down to the line, at a tenth and at
// seven tenths of the phase (the trace is longer, and costs more, as the
// phase goes on). Arguments: the device pixel ratio, the progress in tenths.
void IncenseWidgetSwayStep(benchmark::State &state)
{
    FakeClock clock;
    Clock::setCurrent(&clock);
    FacePage on(double(state.range(0)), [](QWidget *parent) { return new IncenseView(parent); });
    auto *face = static_cast<IncenseView *>(on.face);
    const QSizeF size(face->size());
    const double dpr = double(state.range(0));
    const double progress = double(state.range(1)) / 10;
    face->setInputs(progress, Phase::focus, true);
    on.paint(QRegion(face->rect()));
    for (auto _ : state) {
        const quint64 before = IncenseView::stillStep(size, FaceTime::now(), progress, dpr);
        clock.advance(250);
        on.paint(IncenseView::frameArea(size, dpr, before, IncenseView::stillStep(size, FaceTime::now(), progress, dpr),
                                        progress));
    }
    Clock::setCurrent(nullptr);
}
BENCHMARK(IncenseWidgetSwayStep)->Args({1, 1})->Args({1, 7})->Args({2, 7})->Unit(benchmark::kMicrosecond)->MeasureProcessCPUTime();

QWidget *incense(QWidget *parent)
{
    auto *face = new IncenseView(parent);
    face->setInputs(0.4, Phase::focus, true);
    return face;
}

QWidget *ring(QWidget *parent)
{
    auto *face = new RingView(parent);
    face->setInputs(0.4, Phase::focus, true);
    return face;
}

QWidget *walker(QWidget *parent)
{
    auto *face = new KinhinView(parent);
    face->setInputs(0.4, true);
    return face;
}

// A frame of the breathing ring: the band about its track.
void RingWidgetBreathing(benchmark::State &state)
{
    FacePage on(double(state.range(0)), &ring);
    auto *face = static_cast<RingView *>(on.face);
    const QRegion band = RingView::movingRegion(QSizeF(face->size()), face->drawnShare());
    for (auto _ : state)
        on.paint(band);
}
BENCHMARK(RingWidgetBreathing)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond)->MeasureProcessCPUTime();

BENCHMARK_CAPTURE(widgetFrame, IncenseWidget, &incense)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond)->MeasureProcessCPUTime();
BENCHMARK_CAPTURE(widgetFrame, RingWidget, &ring)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond)->MeasureProcessCPUTime();
BENCHMARK_CAPTURE(widgetFrame, WalkerWidget, &walker)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond)->MeasureProcessCPUTime();

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    Kiv::setAppearance(Kiv::Appearance::light);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
