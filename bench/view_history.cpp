// The history window's list over a heavy user's ten years: 40,000 session
// records. Opening: the list built, the window shown and its first rows
// painted. Adding one record: the list regrouped and the window painted
// again. The list lays its rows out in batches between events, so neither
// holds the window up for the whole history.
#include "model/HistoryModel.h"
#include "stores/SessionStore.h"
#include "views/reading/HistoryDelegate.h"
#include "views/reading/HistoryList.h"

#include <QApplication>
#include <QRandomGenerator>
#include <QSignalBlocker>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <memory>

namespace {

constexpr int kRecords = 40000;

QTemporaryDir &folder()
{
    static QTemporaryDir dir;
    return dir;
}

QList<SessionRecord> history()
{
    QRandomGenerator random(7);
    const QDateTime base(QDate(2016, 1, 1), QTime(0, 0), QTimeZone::utc());
    QList<SessionRecord> all;
    all.reserve(kRecords);
    for (int i = 0; i < kRecords; ++i) {
        const QDateTime start = base.addSecs(qint64(random.bounded(10 * 365 * 86400)));
        const Phase phase = i % 4 == 3 ? Phase::shortBreak : Phase::focus;
        all << SessionRecord{QUuid::createUuid(), phase, QStringLiteral("原稿を書く %1").arg(i % 50), start,
                             start.addSecs(phase == Phase::focus ? 1500 : 300), i % 9 != 0, std::nullopt,
                             std::nullopt, std::nullopt, std::nullopt, std::nullopt};
    }
    return all;
}

std::unique_ptr<SessionStore> filledStore()
{
    auto store = std::make_unique<SessionStore>(folder().path());
    store->setAllRecords(history());
    return store;
}

// Runs the event loop until the list has painted rows again.
void untilPainted(HistoryList &list)
{
    list.takePaintedRows();
    for (int i = 0; i < 1000 && list.takePaintedRows() == 0; ++i) {
        QCoreApplication::processEvents();
        list.viewport()->repaint();
    }
}

// Opening the window: the list built over the history, shown, first rows painted.
void BM_OpenToFirstPaint(benchmark::State &state)
{
    const auto store = filledStore();
    for (auto _ : state) {
        HistoryModel rows(*store);
        HistoryList list(&rows, nullptr, false);
        list.resize(460, 520);
        list.show();
        untilPainted(list);
    }
    state.SetLabel("40,000 records");
}
BENCHMARK(BM_OpenToFirstPaint)->Unit(benchmark::kMillisecond);

// One record added to an open window: the list regroups and paints again
// (the store's save is not part of it).
void BM_RegroupAfterOneRecord(benchmark::State &state)
{
    const auto store = filledStore();
    HistoryModel rows(*store);
    HistoryList list(&rows, nullptr, false);
    list.resize(460, 520);
    list.show();
    untilPainted(list);
    for (int i = 0; i < 200; ++i)
        QCoreApplication::processEvents(); // the first layout finished
    QList<SessionRecord> grown = store->allRecords();
    for (auto _ : state) {
        state.PauseTiming();
        SessionRecord r = grown.first();
        r.id = QUuid::createUuid();
        r.start = QDateTime(QDate(2026, 3, 1), QTime(9, 0), QTimeZone::utc()).addSecs(grown.size());
        r.end = r.start.addSecs(1500);
        grown.append(r);
        {
            QSignalBlocker quiet(store.get());
            store->setAllRecords(grown);
        }
        state.ResumeTiming();
        emit store->recordChanged(store->allRecords().size() - 1);
        untilPainted(list);
    }
}
BENCHMARK(BM_RegroupAfterOneRecord)->Iterations(50)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
