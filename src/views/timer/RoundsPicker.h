#pragma once

#include "views/ink/ViewContext.h"
#include "views/timer/RoundsChoice.h"

#include <QWidget>

class ElidedLabel;
class InkButton;
class TaskChooserView;

// The sheet in which the tasks of a rounds run are chosen, in order: the
// hub's open tasks (dated first, the undated behind the fold) and the daily
// practices. A click on a row adds its title to the end of the order or
// takes it out; chosen rows show their place. The bottom bar tells how many
// are chosen and about how long the run takes; confirm hands the titles to
// AppModel::beginRounds and asks to close, cancel only asks to close. The
// choice starts empty each time the sheet is built. 420 wide (times the
// text scale), on paper; the list scrolls beyond 300 (times the text scale).
class RoundsPicker : public QWidget
{
    Q_OBJECT
public:
    RoundsPicker(const ViewContext &context, QWidget *parent = nullptr);

    const RoundsChoice &choice() const { return m_choice; }
    TaskChooserView *list() const { return m_list; }

signals:
    // The presentation closes the sheet (after confirm or cancel).
    void dismissRequested();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void refresh();
    void refreshChoice();
    void confirm();

    ViewContext m_context;
    RoundsChoice m_choice;
    QWidget *m_empty = nullptr;
    TaskChooserView *m_list = nullptr;
    ElidedLabel *m_summary = nullptr;
    InkButton *m_cancel = nullptr;
    InkButton *m_confirm = nullptr;
};
