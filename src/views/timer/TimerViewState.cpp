#include "views/timer/TimerViewState.h"

#include "core/L.h"
#include "core/PomodoroEngine.h"
#include "model/AppModel.h"

TimerViewState::Inputs TimerViewState::Inputs::of(const AppModel &model)
{
    const PomodoroEngine &engine = model.engine();
    Inputs in;
    in.mode = engine.mode();
    in.phase = engine.phase();
    in.state = engine.state();
    in.progress = engine.progress();
    in.planIndex = engine.planIndex();
    in.rounds = int(engine.rounds().size());
    in.canEncore = engine.canEncore();
    in.encoreChosen = engine.phaseAt(engine.stepIndex() + 1).has_value();
    in.nextRoundTitle = engine.nextRoundTitle();
    in.lastRoundTitle = engine.lastRoundTitle();
    if (const std::optional<TodoItem> linked = model.linkedTask())
        in.linkedTitle = linked->title;
    in.displayTitle = engine.displayTitle();
    in.pausedHelp = model.pausedHelp();
    in.focusVisual = model.settings().focusVisual();
    return in;
}

TimerViewState TimerViewState::of(const Inputs &in)
{
    TimerViewState s;
    s.buttons = RoundButtons::of(RoundButtons::Inputs{in.mode, in.phase, in.state, in.progress, in.canEncore,
                                                      in.encoreChosen, in.linkedTitle});

    if (in.state == RunState::finished) {
        s.title = in.mode ? ModeInfo::title(*in.mode) : QString();
        s.showsColumn = false;
        s.showsCompletion = in.mode.has_value();
        if (s.showsCompletion)
            s.completionTitle = in.displayTitle;
        s.showsTitleField = false;
        return s;
    }

    s.title = phaseTitle(in.phase);
    if (in.mode) {
        s.modeName = ModeInfo::title(*in.mode);
        s.strip = RhythmPlan::of(*in.mode, in.planIndex, in.rounds);
    }

    if (in.phase == Phase::shortBreak)
        s.face = Face::walking;
    else
        s.face = in.focusVisual == FocusVisual::ring ? Face::ring : Face::incense;
    s.largeClock = in.phase == Phase::focus;
    if (in.phase == Phase::shortBreak) {
        s.breakInstruction = L(QStringLiteral("立って、ゆっくり歩いてください"));
        s.breakNote = L(QStringLiteral("歩けないところなら、坐ったまま、背を伸ばして息を数えるだけでよい"));
    } else if (in.phase == Phase::longBreak) {
        s.breakInstruction = L(QStringLiteral("座を離れて、ひと息いれてください"));
        s.breakNote = L(QStringLiteral("離れられないなら、目を閉じるだけでよい"));
    }

    if (in.nextRoundTitle) {
        s.showsTitleField = false;
        s.nextRoundTitle = in.nextRoundTitle;
        if (in.lastRoundTitle) {
            s.stayTitle = in.lastRoundTitle;
            s.stayLabel = L(QStringLiteral("「{0}」に留まる"), *in.lastRoundTitle);
            s.stayToolTip = L(QStringLiteral("巡香を抜けて、この作務のまま一坐を始める"));
        }
    }

    s.showsIsshin = in.phase == Phase::focus;
    s.showsPanel = in.state == RunState::paused || in.phase != Phase::focus;
    if (s.showsPanel)
        s.pausedHelp = in.pausedHelp;
    if (s.buttons.encore.visible)
        s.encoreLine = in.encoreChosen ? L(QStringLiteral("歩き終えたら、そのまま次の坐へ入ります"))
                                       : L(QStringLiteral("いま決めれば、止まらずに続けられます"));
    return s;
}
