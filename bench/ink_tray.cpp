// The tray icon drawn anew: all six tray sizes of one state, as the tray
// item makes them each time its ring passes a step (at most 120 times a
// phase) or the appearance changes.
//
// Measured on the 8-core build machine under a load of about 45, one core
// (taskset): 0.44 ms CPU per set of six sizes, so a 25-minute focus spends
// about 50 ms on its icon in all.
#include "app/TrayIconPainter.h"
#include "core/Kiv.h"

#include <QGuiApplication>
#include <benchmark/benchmark.h>

namespace {

void TrayIcon(benchmark::State &state)
{
    int sweep = 0;
    for (auto _ : state) {
        const QIcon icon = TrayIconPainter::icon({TrayIconPainter::State::Mark::shortBreak, sweep, false});
        benchmark::DoNotOptimize(icon.cacheKey());
        sweep = (sweep + 1) % TrayIconPainter::kSteps;
    }
}
BENCHMARK(TrayIcon)->Unit(benchmark::kMicrosecond);

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
