// Laying out a busy day on the day page: 60 events, 60 plans and 60 deeds
// spread over the day. "Rows" works out the 24 hour rows (entries, openings,
// spine marks); "Timeline" hands a new day to the timeline widget and lets
// its layout place everything, as a reload does. Target: 20 ms.
#include "views/day/DayTimeline.h"
#include "views/day/DayLineRules.h"

#include <QApplication>
#include <QLayout>
#include <QScrollArea>
#include <benchmark/benchmark.h>

namespace {

struct BusyDay
{
    QList<DayEvent> events;
    QList<DayPlan> plans;
    QList<DayDeed> deeds;
};

BusyDay busyDay(int shift)
{
    BusyDay d;
    for (int i = 0; i < 60; ++i) {
        DayEvent e;
        e.id = QStringLiteral("e%1").arg(i);
        e.title = QStringLiteral("Event %1").arg(i);
        e.startMinutes = (i * 23 + shift) % 1400;
        e.minutes = 10 + i % 50;
        e.calendarName = QStringLiteral("Work");
        d.events << e;
        DayPlan p;
        p.title = QStringLiteral("Plan %1").arg(i);
        p.startMinutes = (i * 19 + 7 + shift) % 1400;
        p.minutes = 15 + i % 40;
        p.timed = i % 6 != 0;
        d.plans << p;
        DayDeed deed{QUuid::createUuid(), QStringLiteral("Deed %1").arg(i), (i * 17 + 3 + shift) % 1400, 25, true,
                     i % 5 == 0, i % 5 != 0};
        d.deeds << deed;
    }
    return d;
}

void Rows(benchmark::State &state)
{
    const BusyDay d = busyDay(0);
    QList<DayPlan> timed;
    for (const DayPlan &p : d.plans)
        if (p.timed)
            timed << p;
    for (auto _ : state)
        benchmark::DoNotOptimize(DayLineRules::rows(d.events, timed, d.deeds, {}, true, 860));
}
BENCHMARK(Rows)->Unit(benchmark::kMillisecond);

void Timeline(benchmark::State &state)
{
    const bool wide = state.range(0) != 0;
    // In a scroll area, as on the page: the timeline takes the height it needs.
    QScrollArea scroll;
    scroll.setWidgetResizable(true);
    auto *line = new DayTimeline(false);
    scroll.setWidget(line);
    DayLineActions actions;
    scroll.resize(wide ? 640 : 440, 800);
    scroll.show();
    QCoreApplication::processEvents();
    int shift = 0;
    for (auto _ : state) {
        const BusyDay d = busyDay(shift++ % 30);
        DayTimeline::Input input;
        input.events = d.events;
        input.plans = d.plans;
        input.deeds = d.deeds;
        input.today = true;
        input.nowMinute = 860;
        input.access = CalendarAccess::FullAccess;
        line->set(input, &actions);
        QCoreApplication::sendPostedEvents(); // the layout requests: every row placed
    }
}
BENCHMARK(Timeline)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// Handing the day over only (the widgets built, not yet laid out).
void TimelineBuild(benchmark::State &state)
{
    DayTimeline line(false);
    DayLineActions actions;
    line.resize(440, 3000);
    line.show();
    int shift = 0;
    for (auto _ : state) {
        const BusyDay d = busyDay(shift++ % 30);
        DayTimeline::Input input;
        input.events = d.events;
        input.plans = d.plans;
        input.deeds = d.deeds;
        input.today = true;
        input.nowMinute = 860;
        input.access = CalendarAccess::FullAccess;
        line.set(input, &actions);
    }
}
BENCHMARK(TimelineBuild)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
