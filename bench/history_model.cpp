// The history window's list over a heavy user's ten years: 40,000 session
// records. Opening builds the whole list and reads the rows of a first
// screen; appending one record moves only that record's row and its day.
#include "model/HistoryModel.h"
#include "stores/SessionStore.h"

#include <QRandomGenerator>
#include <QSignalBlocker>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <memory>

namespace {

constexpr int kRecords = 40000;
// The rows of a window of 520 points, a little more than fit.
constexpr int kFirstScreen = 14;

QTemporaryDir &folder()
{
    static QTemporaryDir dir;
    return dir;
}

// Ten years of sits and breaks at scattered times, stored in no particular
// order (another device's history merged in), with a few tombstones.
QList<SessionRecord> history()
{
    QRandomGenerator random(7);
    const QDateTime base(QDate(2016, 1, 1), QTime(0, 0), QTimeZone::utc());
    QList<SessionRecord> all;
    all.reserve(kRecords);
    for (int i = 0; i < kRecords; ++i) {
        const QDateTime start = base.addSecs(qint64(random.bounded(10 * 365 * 86400)));
        const Phase phase = i % 4 == 3 ? Phase::shortBreak : Phase::focus;
        SessionRecord r{QUuid::createUuid(), phase, QStringLiteral("原稿を書く %1").arg(i % 50), start,
                        start.addSecs(phase == Phase::focus ? 1500 : 300), i % 9 != 0, std::nullopt, std::nullopt,
                        std::nullopt, std::nullopt, std::nullopt};
        if (i % 97 == 0)
            r.deletedAt = start.addDays(1);
        all << r;
    }
    return all;
}

std::unique_ptr<SessionStore> filledStore()
{
    auto store = std::make_unique<SessionStore>(folder().path());
    store->setAllRecords(history());
    store->save();
    return store;
}

void readFirstScreen(const HistoryModel &model)
{
    for (int row = 0; row < kFirstScreen && row < model.rowCount(); ++row) {
        const QModelIndex index = model.index(row);
        for (int role : {int(HistoryModel::KindRole), int(HistoryModel::DateTextRole),
                         int(HistoryModel::TotalsTextRole), int(HistoryModel::TitleRole),
                         int(HistoryModel::TimeRangeRole), int(HistoryModel::MinutesTextRole)})
            benchmark::DoNotOptimize(model.data(index, role));
    }
}

// Opening the window: the whole list built and a first screen of rows read.
void BM_OpenHistory(benchmark::State &state)
{
    const auto store = filledStore();
    for (auto _ : state) {
        HistoryModel model(*store);
        readFirstScreen(model);
        benchmark::DoNotOptimize(model.rowCount());
    }
    state.SetLabel("40,000 records");
}
BENCHMARK(BM_OpenHistory)->Unit(benchmark::kMillisecond);

SessionRecord freshRecord(const SessionStore &store)
{
    SessionRecord r = store.allRecords().first();
    r.id = QUuid::createUuid();
    r.start = QDateTime(QDate(2026, 3, 1), QTime(9, 0), QTimeZone::utc()).addSecs(store.allRecords().size());
    r.end = r.start.addSecs(1500);
    r.deletedAt = std::nullopt;
    return r;
}

// One finished sit appended to the history: the store saves its file and
// tells its followers. Run without and with the window's list following, so
// that the difference is the list's share.
void BM_AppendRecord(benchmark::State &state)
{
    const auto store = filledStore();
    std::unique_ptr<HistoryModel> model;
    if (state.range(0))
        model = std::make_unique<HistoryModel>(*store);
    for (auto _ : state) {
        store->append(freshRecord(*store));
        if (model)
            readFirstScreen(*model);
    }
    state.SetLabel(state.range(0) ? "store and history list" : "store alone");
}
BENCHMARK(BM_AppendRecord)->Arg(0)->Arg(1)->Iterations(200)->Unit(benchmark::kMillisecond);

// Only the list's share: the store's change signal for a record appended
// without saving (the store's file is not part of the list's work).
void BM_RegroupAfterAppend(benchmark::State &state)
{
    const auto store = filledStore();
    HistoryModel model(*store);
    QList<SessionRecord> grown = store->allRecords();
    for (auto _ : state) {
        state.PauseTiming();
        // Stands in for the store's own append, minus its save.
        grown.append(freshRecord(*store));
        QSignalBlocker quiet(store.get());
        store->setAllRecords(grown);
        quiet.unblock();
        state.ResumeTiming();
        emit store->recordChanged(store->allRecords().size() - 1);
        readFirstScreen(model);
    }
}
BENCHMARK(BM_RegroupAfterAppend)->Iterations(100)->Unit(benchmark::kMicrosecond);

// A sync that replaces the whole history: the list is built anew.
void BM_RebuildAfterSync(benchmark::State &state)
{
    const auto store = filledStore();
    HistoryModel model(*store);
    QList<SessionRecord> other = store->allRecords();
    for (auto _ : state) {
        state.PauseTiming();
        other.first().title += QLatin1Char('.');
        state.ResumeTiming();
        store->setAllRecords(other);
        readFirstScreen(model);
    }
}
BENCHMARK(BM_RebuildAfterSync)->Unit(benchmark::kMillisecond);

} // namespace

#include "QtBenchmarkMain.h"
