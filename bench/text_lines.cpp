// Setting a wrapped text into lines: the line breaker that every caption,
// note and reading page goes through, against Qt's own breaker on the same
// paragraph. A settings caption, a glossary detail and an English paragraph,
// at a caption's width and at a narrow one (where a nearly empty last line
// sends the breaker looking for a narrower measure).
#include "core/Kiv.h"
#include "core/LineBreaker.h"

#include <QGuiApplication>
#include <QTextLayout>
#include <benchmark/benchmark.h>

namespace {

const char *const kTexts[] = {
    "進み方を選んだあと、調身・調息・調心を順に踏んでから走り出します。",
    "寺の台所を預かる役に向けた古い教えの結びに、三つの心が説かれています。料理もまた修行そのものです。",
    "Begin looking back and clearing. It needn't be Shikunichi. Shikunichi itself still comes by the "
    "calendar, as always.",
};

void Breaker(benchmark::State &state)
{
    const QString text = QString::fromUtf8(kTexts[state.range(0)]);
    const QFont font = Kiv::font(12);
    const double width = double(state.range(1));
    for (auto _ : state)
        benchmark::DoNotOptimize(LineBreaker::wrap(text, font, width));
}
BENCHMARK(Breaker)->ArgsProduct({{0, 1, 2}, {120, 300}})->Unit(benchmark::kMicrosecond);

void QtLayout(benchmark::State &state)
{
    const QString text = QString::fromUtf8(kTexts[state.range(0)]);
    const QFont font = Kiv::font(12);
    const double width = double(state.range(1));
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    for (auto _ : state) {
        QTextLayout layout(text, font);
        layout.setTextOption(option);
        layout.beginLayout();
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine())
            line.setLineWidth(width);
        layout.endLayout();
        benchmark::DoNotOptimize(layout.lineCount());
    }
}
BENCHMARK(QtLayout)->ArgsProduct({{0, 1, 2}, {120, 300}})->Unit(benchmark::kMicrosecond);

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
