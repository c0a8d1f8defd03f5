#pragma once

#include "stores/LocalTask.h"
#include "views/ink/ViewContext.h"

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QWidget>

class ElidedLabel;
class InkButton;
class MonthGrid;

// A month grid on which one local task is put on any number of days from
// today on, one click per day, and taken off again with a second click.
// It holds only the month shown (the current one at first; never a month
// before it); the placed days are read from the model at every refresh and
// every click goes to the model. Return or "閉じる" emits closeRequested();
// the host closes its popover.
class PlaceCalendar : public QWidget
{
    Q_OBJECT
public:
    PlaceCalendar(const ViewContext &context, const LocalTask &task, QWidget *parent = nullptr);

    void setTask(const LocalTask &task);
    QDateTime month() const;
    // Moves the month shown by n months (never before the current one).
    void shift(int n);
    void refresh();

    // The day button of a day of the month shown (tests).
    InkButton *cellOf(const QDate &day) const;
    // Where each day of the month stands in the grid: its row under the
    // weekday labels (0 is the first week) and its column (0 is Sunday).
    QPoint positionOf(const QDate &day) const;

signals:
    void closeRequested();

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void tap(const QDate &day);

    ViewContext m_context;
    LocalTask m_task;
    ElidedLabel *m_count = nullptr;
    MonthGrid *m_grid = nullptr;
};
