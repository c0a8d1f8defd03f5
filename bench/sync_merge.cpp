// The whole computation of one sync over a long history: decode the local and
// the downloaded bundle, merge records, tasks and day notes, encode the result.
#include "HeavyBundle.h"
#include "sync/SyncBundle.h"
#include "sync/SyncMerge.h"

#include <QCoreApplication>
#include <benchmark/benchmark.h>

namespace {

using HeavyBundle::make;

void BM_SyncComputation(benchmark::State &state)
{
    const QByteArray local = *make(0).encode();
    const QByteArray remote = *make(1).encode();
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
    const SyncBundle a = make(0), b = make(1);
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
    const QByteArray local = *make(0).encode();
    for (auto _ : state) {
        const SyncBundle a = SyncBundle::decode(local);
        benchmark::DoNotOptimize(a);
    }
}
BENCHMARK(BM_DecodeOne)->Unit(benchmark::kMillisecond);

void BM_EncodeOne(benchmark::State &state)
{
    const SyncBundle a = make(0);
    for (auto _ : state) {
        auto bytes = a.encode();
        benchmark::DoNotOptimize(bytes);
    }
}
BENCHMARK(BM_EncodeOne)->Unit(benchmark::kMillisecond);

} // namespace

#include "QtBenchmarkMain.h"
