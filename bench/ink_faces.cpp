// One frame of each face of a running phase (the incense stick, the ring,
// the walking figure) at 380 × 380 logical pixels and twice the pixel ratio,
// as the running-round screen redraws them while a phase runs.
//
// Measured on the 8-core build machine under a load of about 25, one core
// (taskset), CPU time per frame at 2×: incense 0.34–0.55 ms with its cached
// bowl (0.8–1.2 ms drawn whole), ring 0.30 ms with its cached disc and track
// (0.8–1.3 ms whole), walker 0.13 ms. At their redraw rates (20, 10 and 12
// a second) that is under 1 %, 0.3 % and 0.2 % of a core.
#include "core/Kiv.h"
#include "views/ink/PaintCache.h"
#include "views/timer/IncenseView.h"
#include "views/timer/KinhinView.h"
#include "views/timer/RingView.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <benchmark/benchmark.h>

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
BENCHMARK(Incense)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

// The incense as its widget redraws it: the bowl and rim from a cached layer.
void IncenseCached(benchmark::State &state)
{
    static PaintCache bowl;
    frame(state, [](QPainter &p, QSizeF s, double t) { IncenseView::draw(p, s, t, 0.4, true, &bowl); });
}
BENCHMARK(IncenseCached)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

void Ring(benchmark::State &state)
{
    frame(state, [](QPainter &p, QSizeF s, double t) {
        RingView::draw(p, s, 0.4, Phase::focus, true, RingView::breath(t));
    });
}
BENCHMARK(Ring)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

// The ring as its widget redraws it: the disc and the track from a cached
// layer, scaled by the breathing.
void RingCached(benchmark::State &state)
{
    static PaintCache base;
    frame(state, [](QPainter &p, QSizeF s, double t) {
        RingView::draw(p, s, 0.4, Phase::focus, true, RingView::breath(t), &base);
    });
}
BENCHMARK(RingCached)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

void Walker(benchmark::State &state)
{
    frame(state, [](QPainter &p, QSizeF s, double t) { KinhinView::draw(p, s, t, 0.4, true); });
}
BENCHMARK(Walker)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

// What every frame above costs besides the face: clearing the picture.
void Clear(benchmark::State &state)
{
    frame(state, [](QPainter &, QSizeF, double) {});
}
BENCHMARK(Clear)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    Kiv::setAppearance(Kiv::Appearance::light);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
