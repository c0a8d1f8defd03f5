#pragma once

#include "stores/LocalTask.h"
#include "views/ink/ViewContext.h"

#include <QWidget>

class ChipButton;
class ElidedLabel;

// Puts one local task on today, tomorrow or its other days, or takes it
// off again: a heading with a hint, then the today and tomorrow chips (lit
// when the task lies on that day), one lit chip for its later days and a
// calendar chip. It keeps no state: it reads the placed days from the model
// at every refresh (on every change of the day notes) and sends each tap
// to the model. The calendar is its host's: the calendar chip, and the
// other-days chip when there are several other days, emit
// calendarRequested().
class PlaceDayChips : public QWidget
{
    Q_OBJECT
public:
    // hint: the small text beside the heading; empty: the standard one.
    PlaceDayChips(const ViewContext &context, const LocalTask &task, const QString &hint = QString(),
                  QWidget *parent = nullptr);

    void setTask(const LocalTask &task);
    const LocalTask &task() const { return m_task; }
    void refresh();

signals:
    void calendarRequested();

private:
    void tapToday(bool tomorrow);
    void tapOther();

    ViewContext m_context;
    LocalTask m_task;
    ChipButton *m_today = nullptr;
    ChipButton *m_tomorrow = nullptr;
    ChipButton *m_other = nullptr;
    ChipButton *m_calendar = nullptr;
};
