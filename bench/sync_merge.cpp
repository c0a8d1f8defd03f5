// The whole computation of one sync over a long history: decode the local and
// the downloaded bundle, merge records, tasks and day notes, encode the result.
#include "sync/SyncBundle.h"
#include "sync/SyncMerge.h"

#include <QCoreApplication>
#include <QTimeZone>
#include <benchmark/benchmark.h>

namespace {

constexpr int kRecords = 40000, kTasks = 2000, kDays = 3650;

// Two devices' bundles over the same history: half the elements are shared
// (some edited on one side), the rest each device's own.
SyncBundle makeBundle(int device)
{
    const QDateTime origin(QDate(2016, 1, 1), QTime(8, 0), Qt::UTC);
    SyncBundle b;
    b.device = QStringLiteral("device-%1").arg(device);
    b.savedAt = origin.addYears(10);
    b.records.reserve(kRecords);
    for (int i = 0; i < kRecords; ++i) {
        const bool shared = i % 2 == 0;
        SessionRecord r;
        r.id = QUuid(uint(shared ? i : i + device * 1000000), 0, 0, 0, 0, 0, 0, 0, 0, 0, 0);
        r.title = QStringLiteral("写経 %1").arg(i % 300);
        r.start = origin.addSecs(qint64(i) * 2400);
        r.end = r.start.addSecs(1500);
        r.completed = true;
        if (shared && i % 10 == device)
            r.editedAt = r.end.addSecs(60);
        b.records.append(r);
    }
    for (int i = 0; i < kTasks; ++i) {
        LocalTask t;
        t.id = QUuid(uint(i % 2 == 0 ? i : i + device * 1000000), 1, 0, 0, 0, 0, 0, 0, 0, 0, 0);
        t.title = QStringLiteral("作務 %1").arg(i);
        t.createdAt = origin.addSecs(qint64(i) * 86400);
        t.updatedAt = t.createdAt.addSecs(device * 60);
        t.doneDays = {QStringLiteral("2024-01-0%1").arg(device + 1)};
        b.tasks.append(t);
    }
    for (int i = 0; i < kDays; ++i) {
        DayNote n;
        n.day = origin.date().addDays(i).toString(Qt::ISODate);
        n.intention = device == 0 ? QStringLiteral("静かに") : QString();
        n.updatedAt = origin.addDays(i).addSecs(device * 60);
        b.days.append(n);
    }
    return b;
}

void BM_SyncComputation(benchmark::State &state)
{
    const QByteArray local = *makeBundle(0).encode();
    const QByteArray remote = *makeBundle(1).encode();
    for (auto _ : state) {
        const SyncBundle a = SyncBundle::decode(local);
        const SyncBundle b = SyncBundle::decode(remote);
        SyncBundle merged = a;
        merged.records = SyncMerge::mergeRecords(a.records, b.records);
        merged.tasks = SyncMerge::mergeTasks(a.tasks, b.tasks);
        merged.days = SyncMerge::mergeDays(a.days, b.days);
        const auto bytes = merged.encode();
        benchmark::DoNotOptimize(bytes);
    }
}
BENCHMARK(BM_SyncComputation)->Unit(benchmark::kMillisecond);

void BM_MergeOnly(benchmark::State &state)
{
    const SyncBundle a = makeBundle(0), b = makeBundle(1);
    for (auto _ : state) {
        auto records = SyncMerge::mergeRecords(a.records, b.records);
        auto tasks = SyncMerge::mergeTasks(a.tasks, b.tasks);
        auto days = SyncMerge::mergeDays(a.days, b.days);
        benchmark::DoNotOptimize(records);
        benchmark::DoNotOptimize(tasks);
        benchmark::DoNotOptimize(days);
    }
}
BENCHMARK(BM_MergeOnly)->Unit(benchmark::kMillisecond);

void BM_DecodeOne(benchmark::State &state)
{
    const QByteArray local = *makeBundle(0).encode();
    for (auto _ : state) {
        const SyncBundle a = SyncBundle::decode(local);
        benchmark::DoNotOptimize(a);
    }
}
BENCHMARK(BM_DecodeOne)->Unit(benchmark::kMillisecond);

void BM_EncodeOne(benchmark::State &state)
{
    const SyncBundle a = makeBundle(0);
    for (auto _ : state) {
        auto bytes = a.encode();
        benchmark::DoNotOptimize(bytes);
    }
}
BENCHMARK(BM_EncodeOne)->Unit(benchmark::kMillisecond);

} // namespace

#include "QtBenchmarkMain.h"
