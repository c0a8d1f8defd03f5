#include "model/RunControls.h"

#include "core/PomodoroEngine.h"
#include "model/AppModel.h"
#include "sources/TaskHub.h"

namespace RunControls {

void startOrPause(PomodoroEngine &engine)
{
    if (engine.state() == RunState::running)
        engine.pause();
    else
        engine.start();
}

void next(PomodoroEngine &engine)
{
    if (engine.state() != RunState::finished)
        engine.finishPhase(engine.isOpenEnded());
}

void beginAtOnce(AppModel &model, Mode mode)
{
    model.cancelPreparation();
    PomodoroEngine &engine = model.engine();
    if (engine.mode())
        engine.stop();
    engine.begin(mode, false, {});
}

void again(PomodoroEngine &engine)
{
    if (const std::optional<Mode> mode = engine.mode())
        engine.begin(*mode, false, {});
}

namespace {

void leaveRound(AppModel &model, bool completed)
{
    PomodoroEngine &engine = model.engine();
    if (engine.hasNextRound()) {
        engine.nextRound(completed);
        return;
    }
    // A round ended by marking its task done is a round completed, not one
    // let go of.
    engine.stop(completed);
    engine.setTaskTitle(QString());
    model.taskHub().setSelected(std::nullopt);
}

} // namespace

void putDown(AppModel &model)
{
    leaveRound(model, false);
}

void completeTask(AppModel &model)
{
    model.completeSelectedTask();
    leaveRound(model, true);
}

void stay(AppModel &model, const QString &title)
{
    model.dwell(title);
    model.begin(Mode::quick);
}

} // namespace RunControls
