// Drawing the static layers of the ink drawings: the paper behind every
// window (redrawn on each resize and appearance change) and the dry garden,
// at the sizes of a main window and at twice the pixel ratio.
#include "views/ink/KaresansuiView.h"
#include "views/ink/KivBackground.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <benchmark/benchmark.h>

namespace {

void paint(benchmark::State &state, QSize size, void (*draw)(QPainter &, QSizeF))
{
    const double dpr = double(state.range(0));
    QImage image(size * dpr, QImage::Format_ARGB32_Premultiplied);
    image.setDevicePixelRatio(dpr);
    for (auto _ : state) {
        QPainter painter(&image);
        draw(painter, QSizeF(size));
    }
    state.counters["Mpixels"] = double(image.width()) * image.height() / 1e6;
}

void Paper(benchmark::State &state)
{
    paint(state, QSize(1000, 700), &KivBackground::draw);
}
BENCHMARK(Paper)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

void Garden(benchmark::State &state)
{
    paint(state, QSize(560, 68), [](QPainter &p, QSizeF s) { KaresansuiView::draw(p, s, true); });
}
BENCHMARK(Garden)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
