// The day page over a calendar file a careless tool left: one file of 200
// (or 1,000) items, each repeating every minute since year 1 (read naively,
// 288,000 occurrences a day). One day of it is read as the page reads it:
// the page asks, the calendars are expanded on a worker within their
// bounds, and the page takes the events and builds its timeline. Reported
// per read: the main thread's own CPU time ("main ms", target at most 100)
// and how much the resident memory grew over all reads ("more MB", target
// at most 50).
#include "model/ModelRig.h"
#include "platform/calendar/IcalFolderStore.h"
#include "platform/files/DataFile.h"
#include "support/RepeatingItems.h"
#include "views/day/DayView.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QJsonArray>
#include <benchmark/benchmark.h>
#include <ctime>
#include <memory>

namespace {

double threadCpuMs()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) * 1e3 + double(t.tv_nsec) / 1e6;
}

double residentMb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toDouble() / 1024.0;
    return 0;
}

void DayOfACarelessFile(benchmark::State &state)
{
    const int items = int(state.range(0));
    ModelRigs::Rig rig;
    const QString account = rig.dirs.root() + QStringLiteral("/accounts/home");
    QDir().mkpath(account + QStringLiteral("/office"));
    if (!DataFile::writeAtomically(account + QStringLiteral("/office/careless.ics"), everyMinuteSinceYearOne(items))) {
        state.SkipWithError("cannot write the calendar file");
        return;
    }
    rig.prefs.setValue(IcalFolderStore::accountsKey(), QJsonArray{account});
    IcalFolderStore folders(&rig.prefs);
    rig.calendarsOverride = &folders;
    AppModel &model = rig.build();
    ViewContext context;
    context.model = &model;
    DayView view(context);
    view.resize(380, 740);
    view.show();

    const QDate day(2025, 3, 4);
    auto readDay = [&](const QDate &d) {
        view.setDay(d);
        QElapsedTimer wait;
        wait.start();
        while (view.events().isEmpty() && wait.elapsed() < 10000)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
        QCoreApplication::processEvents(); // the refresh the events asked for
    };
    readDay(day.addDays(-1)); // the file read and indexed once, as after start-up
    const double before = residentMb();
    double mainMs = 0;
    qsizetype shown = 0;
    int reads = 0;
    for (auto _ : state) {
        state.PauseTiming();
        view.setDay(day.addDays(reads % 2 ? 1 : -1)); // a day with its own events, then back
        QCoreApplication::processEvents();
        state.ResumeTiming();
        const double cpu = threadCpuMs();
        readDay(day);
        mainMs += threadCpuMs() - cpu;
        shown = view.events().size();
        ++reads;
    }
    state.counters["main ms"] = mainMs / std::max(reads, 1);
    state.counters["more MB"] = residentMb() - before;
    state.SetLabel(std::to_string(items) + " items, " + std::to_string(shown) + " events shown");
}
BENCHMARK(DayOfACarelessFile)->Arg(200)->Arg(1000)->Unit(benchmark::kMillisecond)->Iterations(20);

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
