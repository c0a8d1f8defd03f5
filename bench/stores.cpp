// Loading and saving a heavy user's ten years: 40,000 session records,
// 2,000 tasks and 3,650 day notes, in a temporary data folder.
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

SessionRecord record(int i, const QDateTime &base)
{
    const QDateTime start = base.addSecs(qint64(i) * 7890);
    SessionRecord r{QUuid::createUuid(), i % 4 == 3 ? Phase::shortBreak : Phase::focus,
                    QStringLiteral("原稿を書く %1").arg(i % 50), start, start.addSecs(1500), true,
                    QStringLiteral("EV-%1").arg(i), std::nullopt, std::nullopt, std::nullopt, std::nullopt};
    if (i % 3 == 0)
        r.taskRef = TaskRef{QStringLiteral("local"), QUuid::createUuid().toString(QUuid::WithoutBraces), std::nullopt};
    return r;
}

// Writes the three files once, through the stores themselves.
void fill()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    const QDateTime base(QDate(2015, 1, 1), QTime(8, 0));
    {
        SessionStore sessions(folder().path());
        QList<SessionRecord> all;
        for (int i = 0; i < 40000; ++i)
            all << record(i, base);
        sessions.setAllRecords(all);
        sessions.save();
    }
    {
        LocalTaskStore tasks(folder().path());
        QList<LocalTask> all;
        for (int i = 0; i < 2000; ++i) {
            LocalTask t = LocalTask::create(QStringLiteral("作務 %1").arg(i), base.addDays(i));
            t.notes = QStringLiteral("notes\n⏱ 2025-03-04 集中3回 75分（Quillmere）");
            t.doneDays = {QStringLiteral("2025-03-04"), QStringLiteral("2025-03-05")};
            if (i % 2)
                t.completedAt = base.addDays(i + 1);
            all << t;
        }
        tasks.setAllTasks(all);
        tasks.save();
    }
    {
        QList<DayNote> all;
        for (int i = 0; i < 3650; ++i) {
            DayNote n = DayNote::empty(DayNote::key(base.addDays(i)));
            n.intention = QStringLiteral("今日、大切にすること");
            n.reflection = QStringLiteral("今日、心に残ったこと");
            n.plans = {DayPlan{.taskID = QUuid::createUuid(), .title = QStringLiteral("a"), .startMinutes = 540},
                       DayPlan{.title = QStringLiteral("b"), .startMinutes = 600, .minutes = 30}};
            all << n;
        }
        DayNoteStore days(folder().path());
        days.replaceAll(all);
    }
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
    const QDateTime base(QDate(2025, 1, 1), QTime(8, 0));
    int i = 0;
    for (auto _ : state)
        store.append(record(i++, base));
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
