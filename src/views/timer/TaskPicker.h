#pragma once

#include "views/ink/ViewContext.h"

#include <QWidget>

class InkButton;
class TaskChooserView;

// The small chooser of what the next round is about, shown in a popover
// from the round's title field: the open tasks of the hub (dated ones
// first, the undated behind the fold) and the daily practices. A click on a
// row takes that task for the round (AppModel::take) and asks to close;
// the footer asks to close and shows the task list. With nothing to choose
// it says where tasks are written. 268 wide (times the text scale), on
// raised paper; the list scrolls beyond 240 (times the text scale).
class TaskPicker : public QWidget
{
    Q_OBJECT
public:
    TaskPicker(const ViewContext &context, QWidget *parent = nullptr);

    TaskChooserView *list() const { return m_list; }

signals:
    // The presentation closes the chooser (after a choice, or from the footer).
    void dismissRequested();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void refresh();
    void openTasks();

    ViewContext m_context;
    QWidget *m_empty = nullptr;
    TaskChooserView *m_list = nullptr;
    InkButton *m_footer = nullptr;
};
