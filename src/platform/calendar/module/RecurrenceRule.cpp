#include "platform/calendar/module/RecurrenceRule.h"

#include <algorithm>
#include <atomic>
#include <libical/ical.h>

namespace {

using Frequency = RecurrenceRule::Frequency;
using Weekday = RecurrenceRule::Weekday;

constexpr qint64 kDay = 86400;

std::atomic<quint64> g_steps{0};

// The last wall second a rule is walked to: the end of year 9999.
qint64 lastWall()
{
    static const qint64 last = RecurrenceRule::wall(QDate(9999, 12, 31), QTime(23, 59, 59));
    return last;
}

int weekdayOf(qint64 julianDay)
{
    return int(julianDay % 7) + 1; // day 0 of the Julian period was a Monday
}

bool inRange(const QList<int> &values, int low, int high)
{
    return std::all_of(values.begin(), values.end(), [&](int v) { return v >= low && v <= high; });
}

bool signedInRange(const QList<int> &values, int high)
{
    return std::all_of(values.begin(), values.end(), [&](int v) { return v != 0 && std::abs(v) <= high; });
}

QList<int> sortedUnique(QList<int> values)
{
    std::sort(values.begin(), values.end());
    values.erase(std::unique(values.begin(), values.end()), values.end());
    return values;
}

int daysInMonth(int year, int month)
{
    return QDate(year, month, 1).daysInMonth();
}

// The first day of week one of a year: the week (beginning on weekStart)
// that holds 4 January, and so at least four days of the year.
qint64 weekOneStart(int year, int weekStart)
{
    const qint64 jan4 = QDate(year, 1, 4).toJulianDay();
    return jan4 - (weekdayOf(jan4) - weekStart + 7) % 7;
}

// The rule with the values its start supplies, ready to walk.
struct Plan
{
    Frequency frequency = Frequency::Daily;
    qint64 step = 1; // period indexes from one period of the rule to the next
    int weekStart = 1;
    int monthMask = 0; // bit m: month m may hold starts; 0: every month
    QList<int> months; // the months a yearly period looks at, ascending
    QList<int> weekNumbers;
    QList<int> yearDays;
    QList<int> monthDays;
    int plainDays = 0; // bit d: every such day of the week
    QList<Weekday> nthDays;
    bool nthInMonth = false;
    bool anyDayFilter = false;
    quint32 hourMask = 0; // limits of rules finer than a day; 0: none
    quint64 minuteMask = 0;
    quint64 secondMask = 0;
    QList<int> minutes; // expansions of hourly and minutely rules
    QList<int> seconds;
    QList<int> times; // seconds of the day of daily and longer rules
    QList<int> setPositions;
};

std::optional<Plan> planFor(const RecurrenceRule &rule, qint64 start, bool allDay)
{
    if (!rule.isUsable(allDay))
        return std::nullopt;
    Plan p;
    p.frequency = rule.frequency;
    p.weekStart = rule.weekStart;
    switch (rule.frequency) {
    case Frequency::Weekly:
        p.step = 7 * qint64(rule.interval);
        break;
    default:
        p.step = rule.interval;
        break;
    }

    const QDate startDate = RecurrenceRule::dateOf(start);
    const QTime startTime = RecurrenceRule::timeOf(start);

    QList<int> hours = rule.hours;
    QList<int> minutes = rule.minutes;
    QList<int> seconds = rule.seconds;
    if (allDay) {
        hours = {0};
        minutes = {0};
        seconds = {0};
    } else {
        // Parts of the time the rule leaves open come from the start.
        if (hours.isEmpty() && rule.frequency >= Frequency::Daily)
            hours = {startTime.hour()};
        if (minutes.isEmpty() && rule.frequency >= Frequency::Hourly)
            minutes = {startTime.minute()};
        if (seconds.isEmpty() && rule.frequency >= Frequency::Minutely)
            seconds = {startTime.second()};
    }
    // A leap second cannot be kept on this clock.
    seconds.removeAll(60);

    QList<int> months = rule.months;
    QList<int> monthDays = rule.monthDays;
    QList<Weekday> weekdays = rule.weekdays;
    if (rule.weekNumbers.isEmpty() && rule.yearDays.isEmpty() && monthDays.isEmpty() && weekdays.isEmpty()) {
        // Without any day part the start's own day repeats.
        if (rule.frequency == Frequency::Yearly) {
            if (months.isEmpty())
                months = {startDate.month()};
            monthDays = {startDate.day()};
        } else if (rule.frequency == Frequency::Monthly) {
            monthDays = {startDate.day()};
        } else if (rule.frequency == Frequency::Weekly) {
            weekdays = {{startDate.dayOfWeek(), 0}};
        }
    }

    p.months = months.isEmpty() ? QList<int>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12} : sortedUnique(months);
    for (int m : std::as_const(months))
        p.monthMask |= 1 << m;
    p.weekNumbers = rule.weekNumbers;
    p.yearDays = rule.yearDays;
    p.monthDays = monthDays;
    // Which one of the month or year a day is counts only in monthly and
    // yearly rules; elsewhere an ordinal is read as every such day.
    const bool ordinals = rule.frequency == Frequency::Monthly || rule.frequency == Frequency::Yearly;
    for (const Weekday &w : std::as_const(weekdays)) {
        if (w.ordinal == 0 || !ordinals)
            p.plainDays |= 1 << w.day;
        else
            p.nthDays.append(w);
    }
    p.nthInMonth = rule.frequency == Frequency::Monthly || !months.isEmpty();
    p.anyDayFilter = p.monthMask || !p.weekNumbers.isEmpty() || !p.yearDays.isEmpty() || !p.monthDays.isEmpty()
                     || p.plainDays || !p.nthDays.isEmpty();

    hours = sortedUnique(hours);
    minutes = sortedUnique(minutes);
    seconds = sortedUnique(seconds);
    if (rule.frequency >= Frequency::Daily) {
        for (int h : std::as_const(hours))
            for (int m : std::as_const(minutes))
                for (int s : std::as_const(seconds))
                    p.times.append(h * 3600 + m * 60 + s);
    } else {
        for (int h : std::as_const(hours))
            p.hourMask |= quint32(1) << h;
        if (rule.frequency <= Frequency::Minutely)
            for (int m : std::as_const(minutes))
                p.minuteMask |= quint64(1) << m;
        if (rule.frequency == Frequency::Secondly)
            for (int s : std::as_const(seconds))
                p.secondMask |= quint64(1) << s;
        p.minutes = minutes;
        p.seconds = seconds;
    }
    p.setPositions = rule.setPositions;
    return p;
}

bool dayMatches(const Plan &p, qint64 julianDay)
{
    if (!p.anyDayFilter)
        return true;
    int year = 0;
    int month = 0;
    int day = 0;
    QDate::fromJulianDay(julianDay).getDate(&year, &month, &day);
    if (p.monthMask && !(p.monthMask & (1 << month)))
        return false;
    const int monthLength = daysInMonth(year, month);
    if (!p.monthDays.isEmpty()
        && std::none_of(p.monthDays.begin(), p.monthDays.end(),
                        [&](int d) { return d == day || d == day - monthLength - 1; }))
        return false;
    const int yearLength = QDate::isLeapYear(year) ? 366 : 365;
    const int yearDay = int(julianDay - QDate(year, 1, 1).toJulianDay()) + 1;
    if (!p.yearDays.isEmpty()
        && std::none_of(p.yearDays.begin(), p.yearDays.end(),
                        [&](int d) { return d == yearDay || d == yearDay - yearLength - 1; }))
        return false;
    if (!p.weekNumbers.isEmpty()) {
        int weekYear = year;
        if (julianDay < weekOneStart(year, p.weekStart))
            weekYear = year - 1;
        else if (julianDay >= weekOneStart(year + 1, p.weekStart))
            weekYear = year + 1;
        const qint64 first = weekOneStart(weekYear, p.weekStart);
        const int week = int((julianDay - first) / 7) + 1;
        const int weeks = int((weekOneStart(weekYear + 1, p.weekStart) - first) / 7);
        if (std::none_of(p.weekNumbers.begin(), p.weekNumbers.end(),
                         [&](int w) { return w == week || w == week - weeks - 1; }))
            return false;
    }
    if (p.plainDays || !p.nthDays.isEmpty()) {
        const int weekday = weekdayOf(julianDay);
        if (!(p.plainDays & (1 << weekday))) {
            const int position = p.nthInMonth ? day : yearDay;
            const int length = p.nthInMonth ? monthLength : yearLength;
            const int fromStart = (position - 1) / 7 + 1;
            const int fromEnd = -((length - position) / 7 + 1);
            if (std::none_of(p.nthDays.begin(), p.nthDays.end(), [&](const Weekday &w) {
                    return w.day == weekday && (w.ordinal == fromStart || w.ordinal == fromEnd);
                }))
                return false;
        }
    }
    return true;
}

// The days of a month that can hold starts, ascending: the days of the month
// the rule names, or all of them.
void monthCandidates(const Plan &p, int year, int month, QList<qint64> &days)
{
    const qint64 first = QDate(year, month, 1).toJulianDay();
    const int length = daysInMonth(year, month);
    if (p.monthDays.isEmpty()) {
        for (int d = 0; d < length; ++d)
            days.append(first + d);
        return;
    }
    QList<int> resolved;
    for (int d : p.monthDays) {
        const int day = d > 0 ? d : length + d + 1;
        if (day >= 1 && day <= length)
            resolved.append(day);
    }
    for (int day : sortedUnique(resolved))
        days.append(first + day - 1);
}

// The days of a period of a daily or longer rule that can hold starts, ascending.
void dayCandidates(const Plan &p, qint64 index, QList<qint64> &days)
{
    switch (p.frequency) {
    case Frequency::Yearly: {
        const int year = int(index);
        if (p.monthDays.isEmpty() && !p.yearDays.isEmpty() && !p.monthMask) {
            const qint64 first = QDate(year, 1, 1).toJulianDay();
            const int length = QDate::isLeapYear(year) ? 366 : 365;
            QList<int> resolved;
            for (int d : p.yearDays) {
                const int day = d > 0 ? d : length + d + 1;
                if (day >= 1 && day <= length)
                    resolved.append(day);
            }
            for (int day : sortedUnique(resolved))
                days.append(first + day - 1);
            return;
        }
        for (int month : p.months)
            monthCandidates(p, year, month, days);
        return;
    }
    case Frequency::Monthly: {
        const int year = int(index / 12);
        const int month = int(index % 12) + 1;
        if (!p.monthMask || (p.monthMask & (1 << month)))
            monthCandidates(p, year, month, days);
        return;
    }
    case Frequency::Weekly:
        for (int d = 0; d < 7; ++d)
            days.append(index + d);
        return;
    default:
        days.append(index);
        return;
    }
}

qint64 unitSeconds(Frequency f)
{
    switch (f) {
    case Frequency::Hourly:
        return 3600;
    case Frequency::Minutely:
        return 60;
    default:
        return 1;
    }
}

qint64 periodIndexOf(const Plan &p, qint64 wall)
{
    const qint64 julianDay = wall / kDay;
    switch (p.frequency) {
    case Frequency::Yearly:
        return QDate::fromJulianDay(julianDay).year();
    case Frequency::Monthly: {
        const QDate date = QDate::fromJulianDay(julianDay);
        return qint64(date.year()) * 12 + date.month() - 1;
    }
    case Frequency::Weekly:
        return julianDay - (weekdayOf(julianDay) - p.weekStart + 7) % 7;
    case Frequency::Daily:
        return julianDay;
    default:
        return wall / unitSeconds(p.frequency);
    }
}

// The first wall second of a period; past the end of the walkable range
// when the period lies beyond year 9999.
qint64 periodBegin(const Plan &p, qint64 index)
{
    switch (p.frequency) {
    case Frequency::Yearly:
        return index > 9999 ? RecurrenceRule::kNoEnd : RecurrenceRule::wall(QDate(int(index), 1, 1));
    case Frequency::Monthly:
        return index / 12 > 9999 ? RecurrenceRule::kNoEnd
                                 : RecurrenceRule::wall(QDate(int(index / 12), int(index % 12) + 1, 1));
    case Frequency::Weekly:
    case Frequency::Daily:
        return index * kDay;
    default:
        return index * unitSeconds(p.frequency);
    }
}

// The starts of one period of an hourly, minutely or secondly rule, whose
// day is already known to be allowed.
void unitCandidates(const Plan &p, qint64 begin, QList<qint64> &out)
{
    const qint64 ofDay = begin % kDay;
    const int hour = int(ofDay / 3600);
    const int minute = int(ofDay / 60 % 60);
    const int second = int(ofDay % 60);
    if (p.hourMask && !(p.hourMask & (quint32(1) << hour)))
        return;
    if (p.minuteMask && !(p.minuteMask & (quint64(1) << minute)))
        return;
    if (p.secondMask && !(p.secondMask & (quint64(1) << second)))
        return;
    switch (p.frequency) {
    case Frequency::Hourly:
        for (int m : p.minutes)
            for (int s : p.seconds)
                out.append(begin + m * 60 + s);
        return;
    case Frequency::Minutely:
        for (int s : p.seconds)
            out.append(begin + s);
        return;
    default:
        out.append(begin);
        return;
    }
}

void keepSetPositions(const Plan &p, QList<qint64> &candidates)
{
    if (p.setPositions.isEmpty() || candidates.isEmpty())
        return;
    QList<qint64> kept;
    const qsizetype size = candidates.size();
    for (int position : p.setPositions) {
        const qsizetype i = position > 0 ? position - 1 : size + position;
        if (i >= 0 && i < size)
            kept.append(candidates[i]);
    }
    std::sort(kept.begin(), kept.end());
    kept.erase(std::unique(kept.begin(), kept.end()), kept.end());
    candidates = kept;
}

// Walks the rule from the period that holds jumpTo (or the series start,
// whichever is later) and hands each start at or after the series start to
// sink, in order, until sink says stop, a start passes `last`, or the budget
// runs out.
template <typename Sink>
void walk(const Plan &p, qint64 start, qint64 jumpTo, qint64 last, qint64 budget, RecurrenceRule::Walk &w,
          Sink &&sink)
{
    const qint64 first = periodIndexOf(p, start);
    qint64 index = first;
    if (jumpTo > start)
        index = first + (periodIndexOf(p, jumpTo) - first) / p.step * p.step;

    QList<qint64> days;
    QList<qint64> candidates;
    qint64 knownDay = -1;
    bool knownDayMatches = false;
    for (;;) {
        if (w.steps >= budget) {
            w.cut = true;
            return;
        }
        const qint64 begin = periodBegin(p, index);
        if (begin > last)
            return;
        ++w.steps;
        candidates.clear();
        if (p.frequency >= Frequency::Daily) {
            days.clear();
            dayCandidates(p, index, days);
            w.steps += days.size();
            for (qint64 day : std::as_const(days))
                if (dayMatches(p, day))
                    for (int time : p.times)
                        candidates.append(day * kDay + time);
        } else {
            const qint64 day = begin / kDay;
            if (day != knownDay) {
                knownDay = day;
                knownDayMatches = dayMatches(p, day);
            }
            if (!knownDayMatches) {
                // Straight on to the first period of the next day.
                const qint64 unit = unitSeconds(p.frequency);
                const qint64 next = ((day + 1) * kDay + unit - 1) / unit;
                index = first + (next - first + p.step - 1) / p.step * p.step;
                continue;
            }
            unitCandidates(p, begin, candidates);
        }
        w.steps += candidates.size();
        keepSetPositions(p, candidates);
        for (qint64 t : std::as_const(candidates)) {
            if (t < start)
                continue;
            if (t > last || !sink(t))
                return;
        }
        index += p.step;
    }
}

} // namespace

std::optional<RecurrenceRule> RecurrenceRule::fromIcal(const icalrecurrencetype &in)
{
    RecurrenceRule r;
    switch (in.freq) {
    case ICAL_SECONDLY_RECURRENCE:
        r.frequency = Frequency::Secondly;
        break;
    case ICAL_MINUTELY_RECURRENCE:
        r.frequency = Frequency::Minutely;
        break;
    case ICAL_HOURLY_RECURRENCE:
        r.frequency = Frequency::Hourly;
        break;
    case ICAL_DAILY_RECURRENCE:
        r.frequency = Frequency::Daily;
        break;
    case ICAL_WEEKLY_RECURRENCE:
        r.frequency = Frequency::Weekly;
        break;
    case ICAL_MONTHLY_RECURRENCE:
        r.frequency = Frequency::Monthly;
        break;
    case ICAL_YEARLY_RECURRENCE:
        r.frequency = Frequency::Yearly;
        break;
    default:
        return std::nullopt;
    }
    r.interval = in.interval;
    r.count = in.count;
    // libical counts the days of the week from Sunday (1); here from Monday.
    const auto fromSunday = [](int day) { return (day + 5) % 7 + 1; };
    if (in.week_start != ICAL_NO_WEEKDAY)
        r.weekStart = fromSunday(in.week_start);
    const auto list = [](const short *values, int size) {
        QList<int> out;
        for (int i = 0; i < size && values[i] != ICAL_RECURRENCE_ARRAY_MAX; ++i)
            out.append(values[i]);
        return out;
    };
    r.seconds = list(in.by_second, ICAL_BY_SECOND_SIZE);
    r.minutes = list(in.by_minute, ICAL_BY_MINUTE_SIZE);
    r.hours = list(in.by_hour, ICAL_BY_HOUR_SIZE);
    r.monthDays = list(in.by_month_day, ICAL_BY_MONTHDAY_SIZE);
    r.yearDays = list(in.by_year_day, ICAL_BY_YEARDAY_SIZE);
    r.weekNumbers = list(in.by_week_no, ICAL_BY_WEEKNO_SIZE);
    for (int month : list(in.by_month, ICAL_BY_MONTH_SIZE))
        r.months.append(icalrecurrencetype_month_month(short(month)));
    r.setPositions = list(in.by_set_pos, ICAL_BY_SETPOS_SIZE);
    for (int day : list(in.by_day, ICAL_BY_DAY_SIZE))
        r.weekdays.append({fromSunday(icalrecurrencetype_day_day_of_week(short(day))),
                           icalrecurrencetype_day_position(short(day))});
    return r;
}

qint64 RecurrenceRule::wall(const QDate &date, const QTime &time)
{
    return date.toJulianDay() * kDay + time.msecsSinceStartOfDay() / 1000;
}

QDate RecurrenceRule::dateOf(qint64 wall)
{
    return QDate::fromJulianDay(wall / kDay);
}

QTime RecurrenceRule::timeOf(qint64 wall)
{
    return QTime::fromMSecsSinceStartOfDay(int(wall % kDay) * 1000);
}

bool RecurrenceRule::isUsable(bool allDay) const
{
    if (interval < 1 || count < 0 || weekStart < 1 || weekStart > 7)
        return false;
    if (allDay && frequency < Frequency::Daily)
        return false;
    if (!weekNumbers.isEmpty() && frequency != Frequency::Yearly)
        return false;
    if (!yearDays.isEmpty()
        && (frequency == Frequency::Daily || frequency == Frequency::Weekly || frequency == Frequency::Monthly))
        return false;
    if (!monthDays.isEmpty() && frequency == Frequency::Weekly)
        return false;
    const bool weekdaysValid = std::all_of(weekdays.begin(), weekdays.end(), [](const Weekday &w) {
        return w.day >= 1 && w.day <= 7 && std::abs(w.ordinal) <= 53;
    });
    return weekdaysValid && inRange(months, 1, 12) && signedInRange(weekNumbers, 53)
           && signedInRange(yearDays, 366) && signedInRange(monthDays, 31) && inRange(hours, 0, 23)
           && inRange(minutes, 0, 59) && inRange(seconds, 0, 60) && signedInRange(setPositions, 366);
}

RecurrenceRule::Walk RecurrenceRule::starts(qint64 start, bool allDay, qint64 from, qint64 to, qint64 budget) const
{
    Walk w;
    const std::optional<Plan> plan = planFor(*this, start, allDay);
    if (!plan)
        return w;
    const bool counting = count > 0;
    int counted = 0;
    walk(*plan, start, counting ? start : from, std::min({to, until, lastWall()}), budget, w, [&](qint64 t) {
        if (counting && ++counted > count)
            return false;
        if (t >= from)
            w.starts.append(t);
        return true;
    });
    g_steps += quint64(w.steps);
    return w;
}

RecurrenceRule RecurrenceRule::counted(qint64 start, bool allDay, qint64 budget) const
{
    RecurrenceRule out = *this;
    if (count <= 0)
        return out;
    out.count = 0;
    const std::optional<Plan> plan = planFor(*this, start, allDay);
    if (!plan)
        return out;
    Walk w;
    qint64 lastSeen = start - 1;
    int counted = 0;
    walk(*plan, start, start, std::min(until, lastWall()), budget, w, [&](qint64 t) {
        lastSeen = t;
        return ++counted < count;
    });
    g_steps += quint64(w.steps);
    if (counted >= count || w.cut)
        out.until = std::min(until, lastSeen);
    return out;
}

quint64 RecurrenceRule::totalSteps()
{
    return g_steps.load();
}
