#pragma once

// A heavy user's data, made up: ten years of history (40,000 session
// records), 2,000 tasks, 3,650 day notes and 20 calendars with a year of
// events each. The benchmarks load it; the heavy_data tool writes it into a
// data folder for start-up measurements. Everything is written through the
// program's own stores and calendar layer, so the files are exactly what the
// program reads.
#include "core/Models.h"
#include "stores/DayNote.h"
#include "stores/LocalTask.h"

#include <QDate>
#include <QList>
#include <QString>

class IcalFolderStore;

namespace HeavyUser {

constexpr int kRecords = 40000, kTasks = 2000, kDays = 3650, kCalendars = 20;

// The tasks: half of them done, each with notes holding a progress line and
// two marked days.
QList<LocalTask> tasks(const QDate &firstDay, int count = kTasks);
// The i-th record of the history: its start 7,890 s after the one before,
// from 8:00 on firstDay; on the task when one is given.
SessionRecord record(int i, const QDate &firstDay, const LocalTask *task = nullptr);
// The history from firstDay on, one record every 7,890 s (ten years for
// 40,000): every fourth a short break, every third on one of the tasks.
QList<SessionRecord> records(const QDate &firstDay, const QList<LocalTask> &tasks, int count = kRecords);
// One note a day from firstDay on, with an intention, a reflection and two plans.
QList<DayNote> dayNotes(const QDate &firstDay, const QList<LocalTask> &tasks, int count = kDays);

// Writes the history, the tasks and the day notes into a data folder through
// the stores; false (and error) when a store could not save.
bool writeStores(const QString &dataFolder, const QDate &firstDay, QString *error);

struct CalendarCount
{
    int calendars = 0;
    int events = 0; // files: single events and weekly series
};
// Adds calendars under accountFolder (made when missing), registers it with
// the store and writes the events through the calendar layer's own iCalendar
// writer: each calendar holds, for the year around `around`, a meeting on
// every weekday, a longer block on most days, two weekly series with some
// skipped and moved days, and a few all-day events.
CalendarCount writeCalendars(IcalFolderStore &store, const QString &accountFolder, const QDate &around,
                             QString *error, int calendars = kCalendars);

} // namespace HeavyUser
