// How long the main thread is held during one full sync of a heavy user's
// data (40,000 records, 2,000 tasks, 3,650 day notes, read from their files as
// after a launch) against a fake Drive on 127.0.0.1 that holds two other
// devices' copies. A 1 ms timer ticks on the main event loop throughout. The
// reported time is the largest gap between two ticks in one sync, averaged
// over the runs; worst_ms is the largest gap of all runs, sync_ms the length
// of a whole sync.
//
// The fake Drive serves from a thread of its own, so that its work is not
// counted as the program's. Everything runs in a temporary home folder.
#include "HeavyBundle.h"
#include "core/AppSettings.h"
#include "platform/files/DataFile.h"
#include "platform/files/Preferences.h"
#include "stores/DayNoteStore.h"
#include "stores/LocalTaskStore.h"
#include "stores/SessionStore.h"
#include "support/FakeDrive.h"
#include "support/ThrowAwayHome.h"
#include "sync/DriveBundleStore.h"
#include "sync/DriveSyncStore.h"
#include "sync/GoogleAuth.h"
#include "sync/Keychain.h"
#include "sync/SyncService.h"

#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QThread>
#include <QTimer>
#include <benchmark/benchmark.h>
#include <algorithm>
#include <memory>

namespace {

// A throw-away home, data and config folder for the whole program run.
QTemporaryDir &home()
{
    static QTemporaryDir dir(QDir::tempPath() + QStringLiteral("/quillmere-bench-XXXXXX"));
    static const bool pointed = [] {
        pointHomeAt(dir.path().toUtf8());
        return true;
    }();
    (void)pointed;
    return dir;
}

QString dataDir()
{
    return home().path() + QStringLiteral("/data/Quillmere");
}

QString baseDir()
{
    return home().path() + QStringLiteral("/base");
}

// The local device's three files, written once through the stores.
void writeBase()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    QDir().mkpath(baseDir());
    const SyncBundle local = HeavyBundle::make(0);
    SessionStore sessions(baseDir());
    sessions.setAllRecords(local.records);
    sessions.save();
    LocalTaskStore tasks(baseDir());
    tasks.setAllTasks(local.tasks);
    tasks.save();
    DayNoteStore days(baseDir());
    days.replaceAll(local.days);
}

// Puts the local files back as they were before any sync.
void restoreBase()
{
    QDir().mkpath(dataDir());
    for (const QString &name : {SessionStore::fileName, LocalTaskStore::fileName, DayNoteStore::fileName}) {
        const QByteArray bytes = DataFile::read(baseDir() + QLatin1Char('/') + name).bytes;
        DataFile::writeAtomically(dataDir() + QLatin1Char('/') + name, bytes);
    }
}

// A fake Drive living on a thread of its own.
class DriveThread
{
public:
    DriveThread()
    {
        m_thread.start();
        m_anchor.moveToThread(&m_thread);
        QMetaObject::invokeMethod(&m_anchor, [this] { m_drive = std::make_unique<FakeDrive>(); },
                                  Qt::BlockingQueuedConnection);
    }
    ~DriveThread()
    {
        QMetaObject::invokeMethod(&m_anchor, [this] { m_drive.reset(); }, Qt::BlockingQueuedConnection);
        m_thread.quit();
        m_thread.wait();
    }
    QUrl url(const QString &path = QString()) const { return m_drive->url(path); }

private:
    QThread m_thread;
    QObject m_anchor;
    std::unique_ptr<FakeDrive> m_drive;
};

void spin(const std::function<bool()> &done)
{
    QEventLoop loop;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (done())
            loop.quit();
    });
    poll.start(1);
    if (!done())
        loop.exec();
}

void BM_MainThreadStallDuringSync(benchmark::State &state)
{
    home();
    writeBase();
    Keychain::set(QStringLiteral("client"), QStringLiteral("googleClientID"));
    Keychain::set(QStringLiteral("refresh"), QStringLiteral("googleRefreshToken"));
    const QByteArray peers[] = {*HeavyBundle::make(1).encode(), *HeavyBundle::make(2).encode()};
    double worst = 0, syncMs = 0, ticks = 0;
    int run = 0;

    for (auto _ : state) {
        // A fresh Drive with the two other devices' copies, and the local
        // files as they were, read as at a launch.
        DriveThread drive;
        Preferences prefs(QStringLiteral("bench-sync-%1").arg(++run)); // a device that never synced
        GoogleAuthConfig authConfig;
        authConfig.tokenUrl = drive.url(QStringLiteral("/token"));
        GoogleAuth auth(prefs, authConfig);
        DriveSyncConfig config;
        config.host = drive.url();
        for (const QByteArray &copy : peers) {
            DriveSyncStore seeding(&auth, config);
            std::optional<bool> stored;
            seeding.save(copy, [&](bool ok) { stored = ok; });
            spin([&] { return stored.has_value(); });
            if (!*stored)
                state.SkipWithError("could not seed the fake Drive");
        }
        restoreBase();
        AppSettings settings(prefs);
        SessionStore sessions(dataDir());
        LocalTaskStore tasks(dataDir());
        DayNoteStore days(dataDir());
        SyncService service(sessions, tasks, settings, &days);
        DriveSyncStore driveStore(&auth, config);
        auto store = std::make_shared<DriveBundleStore>(driveStore);

        std::optional<bool> result;
        QElapsedTimer clock;
        qint64 last = 0, largest = 0, count = 0;
        QEventLoop loop;
        QTimer tick;
        tick.setTimerType(Qt::PreciseTimer);
        QObject::connect(&tick, &QTimer::timeout, &loop, [&] {
            const qint64 now = clock.nsecsElapsed();
            largest = std::max(largest, now - last);
            last = now;
            ++count;
            if (result)
                loop.quit();
        });
        clock.start();
        tick.start(1);
        QTimer::singleShot(0, &loop, [&] { service.sync(store, [&](bool ok) { result = ok; }); });
        loop.exec();
        const double syncNs = double(clock.nsecsElapsed());
        if (!*result)
            state.SkipWithError(service.failure().toStdString().c_str());

        state.SetIterationTime(double(largest) / 1e9);
        worst = std::max(worst, double(largest) / 1e6);
        syncMs += syncNs / 1e6;
        ticks += double(count);
    }
    state.counters["worst_ms"] = worst;
    state.counters["sync_ms"] = benchmark::Counter(syncMs, benchmark::Counter::kAvgIterations);
    state.counters["ticks"] = benchmark::Counter(ticks, benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_MainThreadStallDuringSync)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);

} // namespace

#include "QtBenchmarkMain.h"
