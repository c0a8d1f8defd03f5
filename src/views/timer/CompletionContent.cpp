#include "views/timer/CompletionContent.h"

#include "core/L.h"
#include "core/PomodoroEngine.h"
#include "model/AppModel.h"

CompletionContent CompletionContent::of(const Inputs &in)
{
    CompletionContent c;
    c.thanks = L(QStringLiteral("おつかれさまでした"));
    if (in.mode == Mode::rounds)
        c.showsRoundsList = true;
    else
        c.titleLine = L(QStringLiteral("「{0}」"), in.title);
    c.modeName = ModeInfo::title(in.mode);
    RoundButtons::Inputs buttons;
    buttons.mode = in.mode;
    buttons.state = RunState::finished;
    buttons.linkedTitle = in.linkedTitle;
    const RoundButtons b = RoundButtons::of(buttons);
    c.again = b.again;
    c.putDown = b.putDown;
    c.complete = b.complete;
    return c;
}

std::optional<CompletionContent> CompletionContent::of(const AppModel &model)
{
    const PomodoroEngine &engine = model.engine();
    if (!engine.mode())
        return std::nullopt;
    Inputs in;
    in.mode = *engine.mode();
    in.title = engine.displayTitle();
    if (const std::optional<TodoItem> linked = model.linkedTask())
        in.linkedTitle = linked->title;
    return of(in);
}
