// The task list of a heavy user: 2,000 open tasks and 5,000 closed ones.
// Opening builds and lays out the screen; after one task changes, the list
// reloads with every other row kept.
#include "model/ModelRig.h"
#include "sources/TaskHub.h"
#include "stores/LocalTaskStore.h"
#include "views/tasks/TodoListView.h"

#include <QApplication>
#include <benchmark/benchmark.h>
#include <memory>

namespace {

constexpr int kOpen = 2000;
constexpr int kClosed = 5000;

struct Heavy
{
    ModelRigs::Rig rig;
    AppModel *model = nullptr;
    Heavy()
    {
        QList<LocalTask> tasks;
        const QDateTime now = rig.clock.now();
        for (int i = 0; i < kOpen + kClosed; ++i) {
            LocalTask t = LocalTask::create(QStringLiteral("作務 %1").arg(i),
                                            i % 5 == 0 ? std::optional<QDateTime>(now.addDays(i % 40 - 10)) : std::nullopt);
            if (i >= kOpen) {
                if (i % 2)
                    t.completedAt = now.addSecs(-3600 * (i - kOpen));
                else
                    t.abandonedAt = now.addSecs(-3600 * (i - kOpen));
            }
            tasks << t;
        }
        rig.local.setAllTasks(tasks);
        model = &rig.build();
        model->taskHub().reload();
    }
};

Heavy &heavy()
{
    static Heavy h;
    return h;
}

void FirstShow(benchmark::State &state)
{
    Heavy &h = heavy();
    ViewContext context;
    context.model = h.model;
    for (auto _ : state) {
        auto list = std::make_unique<TodoListView>(context);
        list->resize(520, 700);
        list->show();
        QCoreApplication::processEvents();
        state.PauseTiming();
        list.reset();
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
}
BENCHMARK(FirstShow)->Unit(benchmark::kMillisecond)->Iterations(5);

void ReloadAfterOneChange(benchmark::State &state)
{
    Heavy &h = heavy();
    ViewContext context;
    context.model = h.model;
    TodoListView list(context);
    list.resize(520, 700);
    list.show();
    QCoreApplication::processEvents();
    int n = 0;
    for (auto _ : state) {
        state.PauseTiming();
        const TaskRef ref = h.model->taskHub().items()[kOpen / 2].ref;
        h.model->taskHub().rename(ref, QStringLiteral("改名 %1").arg(++n));
        state.ResumeTiming();
        list.reload();
        QCoreApplication::processEvents();
    }
}
BENCHMARK(ReloadAfterOneChange)->Unit(benchmark::kMillisecond)->Iterations(10);

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
