// Reading a heavy user's calendars: 20 calendar folders with a year of
// events each (about 10,000 item files), as the program meets them at start
// (a fresh store) and later (files already read). Written once into a
// temporary folder on /dev/shm where there is one, so the set-up does not
// wait for ten thousand disk syncs.
#include "HeavyUser.h"
#include "platform/calendar/IcalFolderStore.h"
#include "platform/files/Preferences.h"

#include <QDir>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <memory>

namespace {

const QDate kToday(2026, 6, 10);

struct Folder
{
    QTemporaryDir dir{QDir(QStringLiteral("/dev/shm")).exists() ? QStringLiteral("/dev/shm/quillmere-bench-XXXXXX")
                                                                : QDir::tempPath() + QStringLiteral("/quillmere-bench-XXXXXX")};
    std::unique_ptr<Preferences> prefs;
    int events = 0;

    Folder()
    {
        // The preferences file goes into the temporary folder, never the user's.
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(dir.filePath(QStringLiteral("config"))));
        prefs = std::make_unique<Preferences>(QStringLiteral("calendar-bench"));
        IcalFolderStore store(prefs.get());
        QString error;
        events = HeavyUser::writeCalendars(store, dir.filePath(QStringLiteral("calendars")), kToday, &error).events;
        if (!error.isEmpty())
            std::fprintf(stderr, "cannot write the calendars: %s\n", qPrintable(error));
    }
};

Folder &folder()
{
    static Folder f;
    return f;
}

QList<CalendarEvent> today(const IcalFolderStore &store)
{
    return store.events(QDateTime(kToday, QTime(0, 0)), QDateTime(kToday.addDays(1), QTime(0, 0)), {});
}

// A fresh store: the list of calendars, then the day's events.
void BM_FirstDay(benchmark::State &state)
{
    Folder &f = folder();
    qsizetype found = 0;
    for (auto _ : state) {
        IcalFolderStore store(f.prefs.get());
        benchmark::DoNotOptimize(store.calendars(CollectionKind::Events));
        found = today(store).size();
    }
    state.SetLabel(std::to_string(f.events) + " files, " + std::to_string(found) + " events that day");
}

// The same store again: every file already read.
void BM_NextDay(benchmark::State &state)
{
    Folder &f = folder();
    IcalFolderStore store(f.prefs.get());
    today(store);
    for (auto _ : state)
        benchmark::DoNotOptimize(today(store));
}

void BM_CalendarList(benchmark::State &state)
{
    Folder &f = folder();
    IcalFolderStore store(f.prefs.get());
    today(store);
    for (auto _ : state)
        benchmark::DoNotOptimize(store.calendars(CollectionKind::Events));
}

} // namespace

BENCHMARK(BM_FirstDay)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_NextDay)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_CalendarList)->Unit(benchmark::kMillisecond);

#include "QtBenchmarkMain.h"
