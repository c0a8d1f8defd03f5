#pragma once

#include "views/ink/ViewContext.h"

#include <QWidget>

class AgainButton;
class CompleteTaskButton;
class ElidedLabel;
class EnsoMark;
class PutDownButton;
class RoundsDwellList;

// The close of a finished run, in place of the face and controls: the
// brush circle, a word of thanks, what was worked on (after a rounds run,
// the tasks one may stay with), the mode's name, and the ways on: again
// (the same mode at once, RunControls::again), let go (RunControls::putDown)
// and, while a task is linked, mark it done (AppModel::completeSelectedTask
// alone). It follows the engine and the task hub; its host shows it while
// the engine is finished with a mode.
class CompletionView : public QWidget
{
    Q_OBJECT
public:
    CompletionView(const ViewContext &context, QWidget *parent = nullptr);

    void refresh();

private:
    ViewContext m_context;
    EnsoMark *m_mark;
    ElidedLabel *m_thanks;
    ElidedLabel *m_title;
    QWidget *m_titleRow = nullptr;
    RoundsDwellList *m_rounds;
    ElidedLabel *m_mode;
    AgainButton *m_again;
    PutDownButton *m_putDown;
    CompleteTaskButton *m_complete;
};
