#pragma once

#include "core/Isshin.h"
#include "views/ink/ViewContext.h"

class QWidget;

// The screens the shell shows, one builder per place: the pages of the
// main window, the contents of the history and glossary windows and of the
// glossary sheet, and the footer's line of today's mind. Each is built
// afresh whenever its place comes back. A screen not built yet stands as a
// named placeholder; putting the real view in its place is one line here.
namespace Pages {

// The timer tab: the preparation steps, the choice of a mode, the running round.
QWidget *preparation(const ViewContext &context, QWidget *parent);
QWidget *modeSelection(const ViewContext &context, QWidget *parent);
QWidget *timer(const ViewContext &context, QWidget *parent);
// The day page, the task list, the sweep and the shelf of daily practices.
QWidget *day(const ViewContext &context, QWidget *parent);
QWidget *tasks(const ViewContext &context, QWidget *parent);
QWidget *sweep(const ViewContext &context, QWidget *parent);
QWidget *daily(const ViewContext &context, QWidget *parent);
// The history window's content (reads the model).
QWidget *history(const ViewContext &context, QWidget *parent);
// The glossary page: the glossary window and the main window's sheet (no
// model needed).
QWidget *glossary(const ViewContext &context, QWidget *parent);
// The footer's line naming today's mind, with its note.
QWidget *sanshinLine(const ViewContext &context, Isshin mind, QWidget *parent);

} // namespace Pages
