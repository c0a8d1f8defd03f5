#pragma once

#include "stores/DayEvent.h"

#include <ostream>

// Readable failure output for the day values.
inline void PrintTo(const DayEvent &e, std::ostream *os)
{
    *os << "{" << e.id.toStdString() << ", " << e.title.toStdString() << ", " << e.startMinutes << ", " << e.minutes
        << ", " << e.calendarName.toStdString() << ", " << e.notes.toStdString() << ", " << e.isAllDay << "}";
}

inline void PrintTo(const DayDeed &d, std::ostream *os)
{
    *os << "{" << d.id.toString().toStdString() << ", " << d.title.toStdString() << ", " << d.startMinutes << ", "
        << d.minutes << ", completed " << d.completed << ", fromCalendar " << d.fromCalendar << ", editable "
        << d.editable << "}";
}
