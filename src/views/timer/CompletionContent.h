#pragma once

#include "core/Mode.h"
#include "views/timer/RoundButtons.h"

#include <QString>
#include <optional>

class AppModel;

// What the completion view of a finished run says and offers: the thanks
// (kept in Japanese in every language), the run's title in corner quotes
// or, after a rounds run, the list of its tasks to stay with, the mode's
// name, and the again, let-go and (for a linked task) mark-done buttons.
struct CompletionContent
{
    QString thanks;
    std::optional<QString> titleLine; // every mode but rounds
    bool showsRoundsList = false;     // rounds only
    QString modeName;
    RoundButton again;
    RoundButton putDown;
    RoundButton complete; // shown only while a task is linked

    struct Inputs
    {
        Mode mode = Mode::quick;
        QString title;                      // the engine's display title
        std::optional<QString> linkedTitle; // the linked task's title
    };
    static CompletionContent of(const Inputs &in);
    // Nothing while the engine has no mode (the view is not shown then).
    static std::optional<CompletionContent> of(const AppModel &model);
};
