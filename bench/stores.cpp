// Loading and saving a heavy user's ten years: 40,000 session records,
// 2,000 tasks and 3,650 day notes, in a temporary data folder.
#include "HeavyUser.h"
#include "stores/DayNoteStore.h"
#include "stores/LocalTaskStore.h"
#include "stores/SessionStore.h"

#include "platform/files/DataFile.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <memory>

namespace {

QTemporaryDir &folder()
{
    static QTemporaryDir dir;
    return dir;
}

const QDate kFirstDay(2015, 1, 1);

// Writes the three files once, through the stores themselves.
void fill()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    QString error;
    if (!HeavyUser::writeStores(folder().path(), kFirstDay, &error))
        std::fprintf(stderr, "cannot write the heavy user's data: %s\n", qPrintable(error));
}

template<typename Store>
void BM_Load(benchmark::State &state)
{
    fill();
    for (auto _ : state) {
        Store store(folder().path());
        benchmark::DoNotOptimize(store.lastError());
    }
}

void BM_SessionAppendAndSave(benchmark::State &state)
{
    fill();
    SessionStore store(folder().path());
    // The first save after loading encodes every record once (measured by
    // FirstSave below); later saves reuse the text of unchanged records.
    store.save();
    int i = HeavyUser::kRecords;
    for (auto _ : state)
        store.append(HeavyUser::record(i++, kFirstDay));
}

void BM_SessionFirstSave(benchmark::State &state)
{
    fill();
    for (auto _ : state) {
        state.PauseTiming();
        auto store = std::make_unique<SessionStore>(folder().path());
        state.ResumeTiming();
        store->save();
        state.PauseTiming();
        store.reset();
        state.ResumeTiming();
    }
}

void BM_TaskChangeAndSave(benchmark::State &state)
{
    fill();
    LocalTaskStore store(folder().path());
    const QUuid id = store.allTasks().first().id;
    int i = 0;
    for (auto _ : state)
        store.rename(id, QStringLiteral("作務 %1").arg(i++));
}

void BM_DayNoteChangeAndSave(benchmark::State &state)
{
    fill();
    DayNoteStore store(folder().path());
    const QDateTime day(QDate(2020, 6, 9), QTime(9, 0));
    int i = 0;
    for (auto _ : state)
        store.setIntention(QStringLiteral("line %1").arg(i++), day);
}

// What syncing the new file to disk before it replaces the old one costs a
// save of the whole history: the same bytes written through the program's
// atomic write, and written and renamed without any sync, for comparison.
QByteArray historyBytes()
{
    fill();
    return DataFile::read(QDir(folder().path()).filePath(SessionStore::fileName)).bytes;
}

void BM_HistoryWriteSynced(benchmark::State &state)
{
    const QByteArray bytes = historyBytes();
    const QString path = QDir(folder().path()).filePath(QStringLiteral("synced.json"));
    for (auto _ : state)
        benchmark::DoNotOptimize(DataFile::writeAtomically(path, bytes));
    state.SetBytesProcessed(state.iterations() * bytes.size());
}

void BM_HistoryWriteUnsynced(benchmark::State &state)
{
    const QByteArray bytes = historyBytes();
    const QString path = QDir(folder().path()).filePath(QStringLiteral("unsynced.json"));
    for (auto _ : state) {
        QFile file(path + QStringLiteral(".tmp"));
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size())
            state.SkipWithError("cannot write");
        file.close();
        benchmark::DoNotOptimize(std::rename(QFile::encodeName(file.fileName()).constData(),
                                             QFile::encodeName(path).constData()));
    }
    state.SetBytesProcessed(state.iterations() * bytes.size());
}

} // namespace

BENCHMARK(BM_HistoryWriteSynced)->Name("WriteSynced/sessions-40000")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_HistoryWriteUnsynced)->Name("WriteUnsynced/sessions-40000")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Load<SessionStore>)->Name("Load/sessions-40000")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Load<LocalTaskStore>)->Name("Load/tasks-2000")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Load<DayNoteStore>)->Name("Load/days-3650")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SessionAppendAndSave)->Name("AppendAndSave/sessions-40000")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_SessionFirstSave)->Name("FirstSaveAfterLoad/sessions-40000")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_TaskChangeAndSave)->Name("ChangeAndSave/tasks-2000")->Unit(benchmark::kMillisecond);
BENCHMARK(BM_DayNoteChangeAndSave)->Name("ChangeAndSave/days-3650")->Unit(benchmark::kMillisecond);

#include "QtBenchmarkMain.h"
