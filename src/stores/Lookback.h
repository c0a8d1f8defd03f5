#pragma once

#include "core/Models.h"
#include "stores/DayNote.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QTimeZone>
#include <optional>

// The look-back of a sweep: the focused time since the previous sweep, by
// title, and the morning and evening lines of those days.
namespace Lookback {

struct Line
{
    QString title; // trimmed round title
    int minutes = 0;
    int sessions = 0;
    bool operator==(const Line &) const = default;
};

struct Summary
{
    QDateTime from; // start of the first day of the span
    QDateTime to;   // start of the last day (the day looked back from)
    int days = 1;
    int minutes = 0;
    int sessions = 0;
    QList<Line> lines; // at most six, most minutes first
    bool operator==(const Summary &) const = default;
};

struct DayWords
{
    QString day; // day key
    std::optional<QString> morning;
    std::optional<QString> evening;
    bool operator==(const DayWords &) const = default;
    // The day as month and day in the interface language; the key itself
    // when it is not made of three numbers.
    QString label() const;
};

// The span runs from the day after the last sweep (never earlier than the day
// after the previous sweep day, never later than tomorrow) to the end of the
// date's day. Deleted records and breaks are left out.
Summary summary(const QList<SessionRecord> &records, const std::optional<QDateTime> &lastSwept,
                const QDateTime &date, const QTimeZone &zone = QTimeZone::systemTimeZone());

// The written lines of the live notes whose day lies between from and to
// (both included), by day.
QList<DayWords> words(const QList<DayNote> &notes, const QDateTime &from, const QDateTime &to,
                      const QTimeZone &zone = QTimeZone::systemTimeZone());

} // namespace Lookback
