#pragma once

#include <QDateTime>

// When a notification request is shown: at once, after a time interval, or at
// a wall-clock time of day (hour and minute), once or again every day.
class NotificationTrigger
{
public:
    enum class Kind { Immediate, Interval, TimeOfDay };

    // Shown as soon as it is added.
    static NotificationTrigger immediate();
    // Shown once, seconds after it is added (zero or less: at once).
    static NotificationTrigger interval(double seconds);
    // Shown at the next hour:minute of the local wall clock; with repeats, again
    // at that time every following day. Hour and minute are clamped into range.
    static NotificationTrigger timeOfDay(int hour, int minute, bool repeats);

    Kind kind() const { return m_kind; }
    double seconds() const { return m_seconds; }
    int hour() const { return m_hour; }
    int minute() const { return m_minute; }
    bool repeats() const { return m_repeats; }

    // The first time the request falls due when added at `now`.
    QDateTime firstDue(const QDateTime &now) const;
    // For a time of day: the first such wall-clock time strictly after `after`.
    QDateTime nextTimeOfDay(const QDateTime &after) const;

    friend bool operator==(const NotificationTrigger &, const NotificationTrigger &) = default;

private:
    Kind m_kind = Kind::Immediate;
    double m_seconds = 0;
    int m_hour = 0;
    int m_minute = 0;
    bool m_repeats = false;
};
