// Drawing the static layers of the ink drawings: the paper behind every
// window (redrawn on each resize and appearance change) and the dry garden,
// at the sizes of a main window and at twice the pixel ratio.
#include "views/ink/KaresansuiView.h"
#include "views/ink/KivBackground.h"
#include "views/ink/PaintCache.h"
#include "views/ink/SoftShadow.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
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

// The paper as a window first shows it: a new layer the size of the main
// window, written pixel by pixel into the kept image.
void PaperLayer(benchmark::State &state)
{
    const double dpr = double(state.range(0));
    const QSize size(380, 740);
    for (auto _ : state) {
        PaintCache cache(true);
        benchmark::DoNotOptimize(cache.image(size, dpr, &KivBackground::write).constBits());
    }
}
BENCHMARK(PaperLayer)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

void Garden(benchmark::State &state)
{
    paint(state, QSize(560, 68), [](QPainter &p, QSizeF s) { KaresansuiView::draw(p, s, true); });
}
BENCHMARK(Garden)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond);

// The shadow under a card of the mode list at rest, the size of a
// one-line row in a main window: each row draws its own at first sight.
void CardShadow(benchmark::State &state)
{
    paint(state, QSize(356, 78), [](QPainter &p, QSizeF s) {
        QPainterPath card;
        card.addRoundedRect(QRectF(QPointF(0, 0), s).adjusted(7, 7, -7, -7), 10, 10);
        SoftShadow::draw(p, card, QColor(0, 0, 0, 5), 3, QPointF(0, 2));
    });
}
BENCHMARK(CardShadow)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

// Blurring a coverage mask of that size alone, at a wider radius (a card
// under the pointer).
void Blur(benchmark::State &state)
{
    QImage mask(QSize(370, 92) * int(state.range(0)), QImage::Format_Alpha8);
    mask.fill(0);
    {
        QPainter p(&mask);
        p.fillRect(mask.rect().adjusted(20, 20, -20, -20), Qt::black);
    }
    for (auto _ : state) {
        QImage copy = mask.copy();
        SoftShadow::blur(copy, 4.0 * double(state.range(0)));
        benchmark::DoNotOptimize(copy.constBits());
    }
}
BENCHMARK(Blur)->Arg(1)->Arg(2)->Unit(benchmark::kMicrosecond);

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
