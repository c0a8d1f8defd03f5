#include "platform/notify/NotificationTrigger.h"

#include <algorithm>
#include <cmath>

NotificationTrigger NotificationTrigger::immediate()
{
    return NotificationTrigger();
}

NotificationTrigger NotificationTrigger::interval(double seconds)
{
    NotificationTrigger trigger;
    trigger.m_kind = Kind::Interval;
    // Far beyond any real wait, and small enough to count in milliseconds.
    constexpr double kLongest = 100.0 * 366 * 24 * 3600;
    trigger.m_seconds = std::isfinite(seconds) ? std::min(seconds, kLongest) : 0.0;
    return trigger;
}

NotificationTrigger NotificationTrigger::timeOfDay(int hour, int minute, bool repeats)
{
    NotificationTrigger trigger;
    trigger.m_kind = Kind::TimeOfDay;
    trigger.m_hour = std::clamp(hour, 0, 23);
    trigger.m_minute = std::clamp(minute, 0, 59);
    trigger.m_repeats = repeats;
    return trigger;
}

QDateTime NotificationTrigger::firstDue(const QDateTime &now) const
{
    switch (m_kind) {
    case Kind::Immediate:
        return now;
    case Kind::Interval:
        return m_seconds > 0 ? now.addMSecs(qint64(std::llround(m_seconds * 1000.0))) : now;
    case Kind::TimeOfDay:
        return nextTimeOfDay(now);
    }
    return now;
}

namespace {

// hour:minute on a day in local time; a time skipped by a daylight-saving
// change becomes the first minute after the gap.
QDateTime localTimeOfDay(const QDate &day, QTime time)
{
    QDateTime result(day, time);
    for (int step = 0; !result.isValid() && step < 24 * 60 && time.addSecs(60) > time; ++step) {
        time = time.addSecs(60);
        result = QDateTime(day, time);
    }
    return result;
}

} // namespace

QDateTime NotificationTrigger::nextTimeOfDay(const QDateTime &after) const
{
    // Wall-clock arithmetic: the same hour and minute on each calendar day, so
    // days with a daylight-saving change keep the time of day.
    const QTime time(m_hour, m_minute);
    QDate day = after.toLocalTime().date();
    for (int i = 0; i < 3; ++i, day = day.addDays(1)) {
        const QDateTime candidate = localTimeOfDay(day, time);
        if (candidate.isValid() && candidate > after)
            return candidate;
    }
    return after.addDays(1);
}
