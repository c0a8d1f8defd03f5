#include "platform/calendar/module/IcalFile.h"

#include "platform/calendar/module/RecurrenceRule.h"
#include "platform/calendar/module/ZoneLookup.h"

#include <QHash>
#include <QSet>
#include <QTimeZone>
#include <algorithm>
#include <limits>
#include <libical/ical.h>

namespace {

// libical turns properties it does not know (and that lack the X- prefix) into
// parse errors and drops them. They are renamed to this prefix before parsing
// and back after writing, so they survive an edit.
const QByteArray kUnknownPrefix = QByteArrayLiteral("X-QUILLMERE-IANA-");

void setUpLibical()
{
    static const bool done = [] {
        icalerror_set_errors_are_fatal(0);
        return true;
    }();
    Q_UNUSED(done);
}

QByteArray protectUnknownProperties(const QByteArray &in)
{
    QList<QByteArray> lines = in.split('\n');
    for (QByteArray &line : lines) {
        if (line.isEmpty() || line.at(0) == ' ' || line.at(0) == '\t')
            continue;
        qsizetype end = 0;
        while (end < line.size() && line.at(end) != ';' && line.at(end) != ':')
            ++end;
        const QByteArray name = line.left(end).trimmed().toUpper();
        if (name.isEmpty() || name == "BEGIN" || name == "END" || name.startsWith("X-"))
            continue;
        if (icalproperty_string_to_kind(name.constData()) != ICAL_NO_PROPERTY)
            continue;
        line.prepend(kUnknownPrefix);
    }
    return lines.join('\n');
}

QByteArray restoreUnknownProperties(QByteArray out)
{
    out.replace("\n" + kUnknownPrefix, "\n");
    return out;
}

QString text(const char *s)
{
    return s ? QString::fromUtf8(s) : QString();
}

// ---- components and properties --------------------------------------------

// The children of a component, collected before anything else walks them:
// libical keeps one iterator per component, and reading a property of a
// child (or of the component itself) inside a walk resets it.
QList<icalcomponent *> children(icalcomponent *comp, icalcomponent_kind kind)
{
    QList<icalcomponent *> out;
    for (icalcomponent *c = icalcomponent_get_first_component(comp, kind); c;
         c = icalcomponent_get_next_component(comp, kind))
        out.append(c);
    return out;
}

// The properties of one kind, collected first for the same reason.
QList<icalproperty *> properties(icalcomponent *comp, icalproperty_kind kind)
{
    QList<icalproperty *> out;
    for (icalproperty *p = icalcomponent_get_first_property(comp, kind); p;
         p = icalcomponent_get_next_property(comp, kind))
        out.append(p);
    return out;
}

icalproperty *first(icalcomponent *comp, icalproperty_kind kind)
{
    return icalcomponent_get_first_property(comp, kind);
}

void removeAll(icalcomponent *comp, icalproperty_kind kind)
{
    for (icalproperty *p : properties(comp, kind)) {
        icalcomponent_remove_property(comp, p);
        icalproperty_free(p);
    }
}

bool isItem(icalcomponent *comp)
{
    const icalcomponent_kind kind = icalcomponent_isa(comp);
    return kind == ICAL_VEVENT_COMPONENT || kind == ICAL_VTODO_COMPONENT;
}

QString uidOf(icalcomponent *comp)
{
    return text(icalcomponent_get_uid(comp));
}

// ---- time zones ---------------------------------------------------------

// Where a stored time of day lives.
struct Zone
{
    enum Kind { Floating, Utc, Ical, Qt } kind = Floating;
    icaltimezone *ical = nullptr;
    QTimeZone qt;
    QByteArray tzid;
};

// Whether a zone the file defines says what its offsets are: a VTIMEZONE
// with only its TZID would read every time as UTC.
bool definesOffsets(icaltimezone *tz)
{
    icalcomponent *vtz = icaltimezone_get_component(tz);
    if (!vtz)
        return false;
    for (icalcomponent_kind kind : {ICAL_XSTANDARD_COMPONENT, ICAL_XDAYLIGHT_COMPONENT})
        for (icalcomponent *part : children(vtz, kind))
            if (first(part, ICAL_TZOFFSETTO_PROPERTY))
                return true;
    return false;
}

// The zone of a time value. A time without TZID lives in `unnamed` (the
// local wall clock, or for the dates of a series the zone of its start); a
// named zone is the file's own definition, else the system's zone of that
// name, else (an unknown name) the local wall clock, never UTC.
Zone zoneOf(icalcomponent *cal, icalproperty *prop, const icaltimetype &t, const Zone &unnamed = {})
{
    if (icaltime_is_utc(t))
        return {Zone::Utc, nullptr, {}, {}};
    icalparameter *param = icalproperty_get_first_parameter(prop, ICAL_TZID_PARAMETER);
    const char *tzid = param ? icalparameter_get_tzid(param) : nullptr;
    if (!tzid || !*tzid)
        return unnamed;
    Zone zone;
    zone.tzid = tzid;
    if (icaltimezone *own = icalcomponent_get_timezone(cal, tzid); own && definesOffsets(own)) {
        zone.kind = Zone::Ical;
        zone.ical = own;
    } else if (const QTimeZone system = ZoneLookup::systemZone(zone.tzid); system.isValid()) {
        zone.kind = Zone::Qt;
        zone.qt = system;
    }
    return zone;
}

// The zone new times are written in: the system zone by its name, or UTC
// when the system has no named zone.
Zone localZone()
{
    const QByteArray id = QTimeZone::systemTimeZoneId();
    const QTimeZone tz(id);
    if (id.isEmpty() || !tz.isValid() || id == "UTC")
        return {Zone::Utc, nullptr, {}, {}};
    return {Zone::Qt, nullptr, tz, id};
}

icaltimetype makeTime(const QDate &date, const QTime &time, bool isDate)
{
    icaltimetype t = icaltime_null_time();
    t.year = date.year();
    t.month = date.month();
    t.day = date.day();
    if (!isDate) {
        t.hour = time.hour();
        t.minute = time.minute();
        t.second = time.second();
    }
    t.is_date = isDate ? 1 : 0;
    return t;
}

QDateTime toLocal(const icaltimetype &t, const Zone &zone)
{
    const QDate date(t.year, t.month, t.day);
    if (t.is_date)
        return QDateTime(date, QTime(0, 0));
    const QTime time(t.hour, t.minute, t.second);
    switch (zone.kind) {
    case Zone::Floating:
        return QDateTime(date, time);
    case Zone::Utc:
        return QDateTime(date, time, QTimeZone::utc()).toLocalTime();
    case Zone::Qt:
        return QDateTime(date, time, zone.qt).toLocalTime();
    case Zone::Ical: {
        icaltimetype wall = t;
        wall.zone = nullptr;
        return QDateTime::fromSecsSinceEpoch(qint64(icaltime_as_timet_with_zone(wall, zone.ical)));
    }
    }
    return {};
}

icaltimetype fromLocal(const QDateTime &local, const Zone &zone, bool isDate)
{
    if (isDate)
        return makeTime(local.date(), {}, true);
    switch (zone.kind) {
    case Zone::Floating: {
        const QDateTime l = local.toLocalTime();
        return makeTime(l.date(), l.time(), false);
    }
    case Zone::Utc: {
        const QDateTime u = local.toUTC();
        icaltimetype t = makeTime(u.date(), u.time(), false);
        t.zone = icaltimezone_get_utc_timezone();
        return t;
    }
    case Zone::Qt: {
        const QDateTime z = local.toTimeZone(zone.qt);
        return makeTime(z.date(), z.time(), false);
    }
    case Zone::Ical: {
        icaltimetype t = icaltime_from_timet_with_zone(time_t(local.toSecsSinceEpoch()), 0, zone.ical);
        t.zone = nullptr;
        t.is_date = 0;
        return t;
    }
    }
    return icaltime_null_time();
}

// A compact VTIMEZONE for a named zone, listing its real transitions from a
// year before to two years after the given time.
icalcomponent *vtimezoneFor(const QTimeZone &tz, const QByteArray &tzid, const QDateTime &around)
{
    icalcomponent *vtz = icalcomponent_new_vtimezone();
    icalcomponent_add_property(vtz, icalproperty_new_tzid(tzid.constData()));

    const QDateTime from = around.addYears(-1);
    const QDateTime to = around.addYears(2);
    QTimeZone::OffsetDataList list;
    const QTimeZone::OffsetData before = tz.previousTransition(from);
    if (before.atUtc.isValid())
        list.append(before);
    list.append(tz.transitions(from, to));
    if (list.isEmpty()) {
        QTimeZone::OffsetData fixed;
        fixed.atUtc = QDateTime(QDate(1970, 1, 1), QTime(0, 0), QTimeZone::utc());
        fixed.offsetFromUtc = tz.offsetFromUtc(around);
        fixed.daylightTimeOffset = 0;
        fixed.abbreviation = tz.abbreviation(around);
        list.append(fixed);
    }
    for (const QTimeZone::OffsetData &change : std::as_const(list)) {
        const int offsetFrom = tz.offsetFromUtc(change.atUtc.addSecs(-1));
        const bool daylight = change.daylightTimeOffset != 0;
        icalcomponent *part = icalcomponent_new(daylight ? ICAL_XDAYLIGHT_COMPONENT : ICAL_XSTANDARD_COMPONENT);
        const QDateTime wall = change.atUtc.toUTC().addSecs(offsetFrom);
        icalproperty *start = icalproperty_new_dtstart(makeTime(wall.date(), wall.time(), false));
        icalcomponent_add_property(part, start);
        icalcomponent_add_property(part, icalproperty_new_tzoffsetfrom(offsetFrom));
        icalcomponent_add_property(part, icalproperty_new_tzoffsetto(change.offsetFromUtc));
        if (!change.abbreviation.isEmpty())
            icalcomponent_add_property(part, icalproperty_new_tzname(change.abbreviation.toUtf8().constData()));
        icalcomponent_add_component(vtz, part);
    }
    return vtz;
}

// ---- times ----------------------------------------------------------------

icaltimetype timeValue(icalproperty *p)
{
    switch (icalproperty_isa(p)) {
    case ICAL_DTSTART_PROPERTY:
        return icalproperty_get_dtstart(p);
    case ICAL_DTEND_PROPERTY:
        return icalproperty_get_dtend(p);
    case ICAL_DUE_PROPERTY:
        return icalproperty_get_due(p);
    case ICAL_RECURRENCEID_PROPERTY:
        return icalproperty_get_recurrenceid(p);
    case ICAL_EXDATE_PROPERTY:
        return icalproperty_get_exdate(p);
    case ICAL_CREATED_PROPERTY:
        return icalproperty_get_created(p);
    case ICAL_COMPLETED_PROPERTY:
        return icalproperty_get_completed(p);
    default:
        return icaltime_null_time();
    }
}

bool usable(const icaltimetype &t)
{
    return !icaltime_is_null_time(t) && QDate(t.year, t.month, t.day).isValid();
}


// A stored time: its raw value, its zone and the local date-time it means.
struct Stamp
{
    bool valid = false;
    bool isDate = false;
    Zone zone;
    QDateTime local;
};

Stamp stampFrom(icalcomponent *cal, icalproperty *p, const icaltimetype &t, const Zone &unnamed)
{
    if (!usable(t))
        return {};
    Stamp s;
    s.zone = zoneOf(cal, p, t, unnamed);
    s.isDate = t.is_date;
    s.local = toLocal(t, s.zone);
    s.valid = s.local.isValid();
    return s;
}

Stamp stampOf(icalcomponent *cal, icalproperty *p, const Zone &unnamed = {})
{
    return p ? stampFrom(cal, p, timeValue(p), unnamed) : Stamp();
}

Stamp stampOf(icalcomponent *cal, icalcomponent *comp, icalproperty_kind kind, const Zone &unnamed = {})
{
    return stampOf(cal, first(comp, kind), unnamed);
}

// Wall-clock seconds (see RecurrenceRule) of a local date-time in a zone.
qint64 wallIn(const QDateTime &local, const Zone &zone, bool isDate)
{
    if (isDate)
        return RecurrenceRule::wall(local.toLocalTime().date());
    const icaltimetype t = fromLocal(local, zone, false);
    return RecurrenceRule::wall(QDate(t.year, t.month, t.day), QTime(t.hour, t.minute, t.second));
}

QDateTime localOfWall(qint64 wall, const Zone &zone, bool isDate)
{
    return toLocal(makeTime(RecurrenceRule::dateOf(wall), RecurrenceRule::timeOf(wall), isDate), zone);
}


QString textOf(icalcomponent *comp, icalproperty_kind kind)
{
    icalproperty *p = first(comp, kind);
    return p ? text(icalvalue_get_text(icalproperty_get_value(p))) : QString();
}

// Sets a text property where it differs; an empty text removes it.
void setText(icalcomponent *comp, icalproperty_kind kind, const QString &value)
{
    if (textOf(comp, kind) == value)
        return;
    if (value.isEmpty()) {
        removeAll(comp, kind);
        return;
    }
    icalproperty *p = first(comp, kind);
    if (!p) {
        p = icalproperty_new(kind);
        icalcomponent_add_property(comp, p);
    }
    icalproperty_set_value(p, icalvalue_new_text(value.toUtf8().constData()));
}

// Makes sure the calendar carries a definition of a zone it names.
void ensureZoneDefinition(icalcomponent *cal, const Zone &zone, const QDateTime &around)
{
    if (zone.kind != Zone::Qt || icalcomponent_get_timezone(cal, zone.tzid.constData()))
        return;
    icalcomponent *vtz = vtimezoneFor(zone.qt, zone.tzid, around);
    // Zone definitions go before the items, as most writers place them.
    const QList<icalcomponent *> before = children(cal, ICAL_ANY_COMPONENT);
    icalcomponent_add_component(cal, vtz);
    // libical appends; move the items after the zone definition.
    for (icalcomponent *c : before) {
        icalcomponent_remove_component(cal, c);
        icalcomponent_add_component(cal, c);
    }
}

// Writes a time property (DTSTART, DTEND, DUE, RECURRENCE-ID, a new EXDATE)
// in the given zone, keeping the property's other parameters.
icalproperty *setTime(icalcomponent *cal, icalcomponent *comp, icalproperty_kind kind, const QDateTime &local,
                      bool isDate, const Zone &zone, bool append = false)
{
    icalproperty *p = append ? nullptr : first(comp, kind);
    if (!p) {
        p = icalproperty_new(kind);
        icalcomponent_add_property(comp, p);
    }
    const icaltimetype t = fromLocal(local, zone, isDate);
    icalproperty_set_value(p, icalvalue_new_datetimedate(t));
    icalproperty_remove_parameter_by_kind(p, ICAL_TZID_PARAMETER);
    icalproperty_remove_parameter_by_kind(p, ICAL_VALUE_PARAMETER);
    if (isDate) {
        icalproperty_add_parameter(p, icalparameter_new_value(ICAL_VALUE_DATE));
    } else if (zone.kind == Zone::Qt || zone.kind == Zone::Ical) {
        icalproperty_add_parameter(p, icalparameter_new_tzid(zone.tzid.constData()));
        ensureZoneDefinition(cal, zone, local);
    }
    return p;
}

void setUtcStamp(icalcomponent *comp, icalproperty_kind kind, const QDateTime &when)
{
    const QDateTime u = when.toUTC();
    icaltimetype t = makeTime(u.date(), u.time(), false);
    t.zone = icaltimezone_get_utc_timezone();
    icalproperty *p = first(comp, kind);
    if (!p) {
        p = icalproperty_new(kind);
        icalcomponent_add_property(comp, p);
    }
    icalproperty_set_value(p, icalvalue_new_datetime(t));
}

void touch(icalcomponent *comp, const QDateTime &now)
{
    setUtcStamp(comp, ICAL_DTSTAMP_PROPERTY, now);
    setUtcStamp(comp, ICAL_LASTMODIFIED_PROPERTY, now);
}

bool isCancelledComponent(icalcomponent *comp)
{
    icalproperty *p = first(comp, ICAL_STATUS_PROPERTY);
    return p && icalproperty_get_status(p) == ICAL_STATUS_CANCELLED;
}

bool sameInstant(const QDateTime &a, bool aIsDate, const QDateTime &b, bool bIsDate)
{
    if (aIsDate || bIsDate)
        return a.date() == b.date();
    return a == b;
}

// ---- event shapes -----------------------------------------------------------

// How long each occurrence lasts: whole days for all-day items, seconds otherwise.
struct Length
{
    qint64 days = 0;
    qint64 seconds = 0;
};

Length lengthOf(icalcomponent *cal, icalcomponent *comp, const Stamp &start)
{
    Length length;
    const Stamp end = stampOf(cal, comp, ICAL_DTEND_PROPERTY);
    icalproperty *duration = first(comp, ICAL_DURATION_PROPERTY);
    if (start.isDate) {
        if (end.valid)
            length.days = start.local.date().daysTo(end.local.date());
        else if (duration)
            length.days = icaldurationtype_as_int(icalproperty_get_duration(duration)) / 86400;
        length.days = std::max<qint64>(length.days, 1);
    } else {
        if (end.valid)
            length.seconds = start.local.secsTo(end.local);
        else if (duration)
            length.seconds = icaldurationtype_as_int(icalproperty_get_duration(duration));
        length.seconds = std::max<qint64>(length.seconds, 0);
    }
    return length;
}

QDateTime endOf(const QDateTime &start, bool isDate, const Length &length)
{
    if (isDate)
        return QDateTime(start.date().addDays(length.days), QTime(0, 0));
    return start.addSecs(length.seconds);
}

CalendarEvent eventFrom(icalcomponent *comp, const QDateTime &start, const QDateTime &end, bool allDay)
{
    CalendarEvent e;
    e.id = text(icalcomponent_get_uid(comp));
    e.title = textOf(comp, ICAL_SUMMARY_PROPERTY);
    e.notes = textOf(comp, ICAL_DESCRIPTION_PROPERTY);
    e.start = start;
    e.end = end;
    e.allDay = allDay;
    icalproperty *transp = first(comp, ICAL_TRANSP_PROPERTY);
    const bool free = transp
                      && (icalproperty_get_transp(transp) == ICAL_TRANSP_TRANSPARENT
                          || icalproperty_get_transp(transp) == ICAL_TRANSP_TRANSPARENTNOCONFLICT);
    e.availability = free ? EventAvailability::Free : EventAvailability::Busy;
    return e;
}

icalcomponent_kind componentKind(IcalDocument::Kind kind)
{
    return kind == IcalDocument::Kind::Todo ? ICAL_VTODO_COMPONENT : ICAL_VEVENT_COMPONENT;
}


// ---- series -------------------------------------------------------------------

// An occurrence given by a component of its own (a single event, an
// override), with its instants in ms since the epoch.
struct OwnEvent
{
    CalendarEvent event;
    qint64 startKey = 0;
    qint64 endKey = 0;

    bool overlaps(qint64 from, qint64 to) const
    {
        // An instant counts when it lies inside the range.
        return startKey < to && (startKey == endKey ? startKey >= from : endKey > from);
    }
};

// An event item read once, ready to give its occurrences in any range.
struct Series
{
    bool readable = false; // it has a start and is not cancelled
    bool repeats = false;  // it has RRULE or RDATE lines
    Stamp start;
    Length length;
    CalendarEvent base; // the item's texts and availability
    QList<RecurrenceRule> rules;
    QList<QDateTime> extraStarts; // the RDATEs, ascending
    QSet<qint64> excludedInstants; // EXDATEs, in ms since the epoch
    QSet<qint64> excludedDays;     // EXDATE dates (Julian days) that exclude a whole day

    QSet<qint64> movedInstants; // the occurrences the overrides replace
    QSet<qint64> movedDays;

    // An occurrence, and its instant in ms since the epoch.
    bool excludes(const QDateTime &occurrence, qint64 key) const
    {
        return (!excludedDays.isEmpty() && excludedDays.contains(occurrence.date().toJulianDay()))
               || (!start.isDate && excludedInstants.contains(key));
    }
    bool isMoved(const QDateTime &occurrence, qint64 key) const
    {
        return (!movedDays.isEmpty() && movedDays.contains(occurrence.date().toJulianDay()))
               || (!start.isDate && movedInstants.contains(key));
    }
};

// The end of a rule in the wall clock of its series: UNTIL written as a
// date ends that day; a UTC time is moved into the series' zone.
qint64 untilWall(const icaltimetype &until, const Stamp &start)
{
    if (icaltime_is_null_time(until) || !QDate(until.year, until.month, until.day).isValid())
        return RecurrenceRule::kNoEnd;
    const QDate date(until.year, until.month, until.day);
    if (until.is_date)
        return RecurrenceRule::wall(date, start.isDate ? QTime(0, 0) : QTime(23, 59, 59));
    if (icaltime_is_utc(until))
        return wallIn(QDateTime(date, QTime(until.hour, until.minute, until.second), QTimeZone::utc()), start.zone,
                      start.isDate);
    return RecurrenceRule::wall(date, start.isDate ? QTime(0, 0) : QTime(until.hour, until.minute, until.second));
}

// The occurrence a component gives by itself: a single event, or an
// override (which, without a start of its own, keeps the time it replaces
// and the length of its series).
std::optional<OwnEvent> ownEvent(icalcomponent *cal, icalcomponent *comp, const Stamp &replaced,
                                 const Length *seriesLength, bool recurring)
{
    if (isCancelledComponent(comp))
        return std::nullopt;
    Stamp start = stampOf(cal, comp, ICAL_DTSTART_PROPERTY);
    Length length;
    if (start.valid) {
        length = lengthOf(cal, comp, start);
    } else if (replaced.valid && seriesLength) {
        start = replaced;
        length = *seriesLength;
    } else {
        return std::nullopt;
    }
    const QDateTime end = endOf(start.local, start.isDate, length);
    OwnEvent own{eventFrom(comp, start.local, end, start.isDate), start.local.toMSecsSinceEpoch(),
                 end.toMSecsSinceEpoch()};
    own.event.recurring = recurring;
    own.event.occurrenceDate = recurring ? replaced.local : QDateTime();
    return own;
}

Series seriesOf(icalcomponent *cal, icalcomponent *master, const QList<icalcomponent *> &overrides,
                QList<OwnEvent> &own)
{
    Series s;
    if (!master)
        return s;
    s.start = stampOf(cal, master, ICAL_DTSTART_PROPERTY);
    if (!s.start.valid || isCancelledComponent(master))
        return s;
    s.readable = true;
    s.length = lengthOf(cal, master, s.start);
    s.base = eventFrom(master, {}, {}, s.start.isDate);
    const QList<icalproperty *> rrules = properties(master, ICAL_RRULE_PROPERTY);
    const QList<icalproperty *> rdates = properties(master, ICAL_RDATE_PROPERTY);
    s.repeats = !rrules.isEmpty() || !rdates.isEmpty();
    if (!s.repeats) {
        // A single event is read from its own occurrence alone.
        if (std::optional<OwnEvent> single = ownEvent(cal, master, s.start, nullptr, false))
            own.append(*single);
        s.base = CalendarEvent();
        s.start.zone = Zone();
        return s;
    }

    // The dates of the series without a zone of their own live in the zone of its start.
    const Zone unnamed = s.start.isDate ? Zone() : s.start.zone;
    const qint64 startWall = wallIn(s.start.local, s.start.zone, s.start.isDate);
    QSet<QByteArray> seenRules;
    for (icalproperty *p : rrules) {
        if (s.rules.size() >= IcalDocument::kMaxRules)
            break;
        // The same rule written twice adds nothing.
        const char *raw = icalproperty_get_value_as_string(p);
        if (!raw || seenRules.contains(QByteArray(raw)))
            continue;
        seenRules.insert(QByteArray(raw));
        const icalrecurrencetype parsed = icalproperty_get_rrule(p);
        std::optional<RecurrenceRule> rule = RecurrenceRule::fromIcal(parsed);
        if (!rule)
            continue;
        rule->until = untilWall(parsed.until, s.start);
        if (!rule->isUsable(s.start.isDate))
            continue;
        s.rules.append(rule->counted(startWall, s.start.isDate, IcalDocument::kCountBudget));
    }
    for (icalproperty *p : rdates) {
        const icaldatetimeperiodtype value = icalproperty_get_rdate(p);
        const icaltimetype t = icalperiodtype_is_null_period(value.period) ? value.time : value.period.start;
        const Stamp extra = stampFrom(cal, p, t, unnamed);
        if (extra.valid)
            s.extraStarts.append(s.start.isDate ? QDateTime(extra.local.date(), QTime(0, 0)) : extra.local);
    }
    std::sort(s.extraStarts.begin(), s.extraStarts.end());
    for (icalproperty *p : properties(master, ICAL_EXDATE_PROPERTY)) {
        const Stamp x = stampOf(cal, p, unnamed);
        if (!x.valid)
            continue;
        if (x.isDate || s.start.isDate)
            s.excludedDays.insert(x.local.date().toJulianDay());
        else
            s.excludedInstants.insert(x.local.toMSecsSinceEpoch());
    }
    for (icalcomponent *o : overrides) {
        const Stamp rid = stampOf(cal, o, ICAL_RECURRENCEID_PROPERTY, unnamed);
        if (!rid.valid)
            continue;
        if (std::optional<OwnEvent> moved = ownEvent(cal, o, rid, &s.length, true))
            own.append(*moved);
        if (rid.isDate || s.start.isDate)
            s.movedDays.insert(rid.local.date().toJulianDay());
        else
            s.movedInstants.insert(rid.local.toMSecsSinceEpoch());
    }
    return s;
}


// The reminder a to-do component tells of.
Reminder reminderOf(icalcomponent *cal, icalcomponent *m, const QString &uid)
{
    Reminder r;
    r.id = uid;
    r.title = textOf(m, ICAL_SUMMARY_PROPERTY);
    r.notes = textOf(m, ICAL_DESCRIPTION_PROPERTY);
    const Stamp due = stampOf(cal, m, ICAL_DUE_PROPERTY);
    if (due.valid) {
        r.due = due.local;
        r.dueIsDate = due.isDate;
    }
    const Stamp created = stampOf(cal, m, ICAL_CREATED_PROPERTY);
    if (created.valid)
        r.createdAt = created.local;
    const Stamp completed = stampOf(cal, m, ICAL_COMPLETED_PROPERTY);
    icalproperty *status = first(m, ICAL_STATUS_PROPERTY);
    r.completed = completed.valid || (status && icalproperty_get_status(status) == ICAL_STATUS_COMPLETED);
    if (completed.valid)
        r.completedAt = completed.local;
    return r;
}

} // namespace

// ---- document -----------------------------------------------------------------

// What an event item gives for a reading of a range.
struct EventReading
{
    Series series;
    QList<OwnEvent> own; // events standing on their own: a single event, overrides
};

struct IcalFile::Index
{
    // Held apart from the item, so that an item keeps only what it uses: a
    // document kept for the index alone holds thousands of items.
    struct Item
    {
        QString uid;
        Kind kind = Kind::Event;
        icalcomponent *master = nullptr; // the component without RECURRENCE-ID, if any
        QList<icalcomponent *> overrides;
        std::shared_ptr<EventReading> events;     // events only; null once let go (see parseForIndex)
        bool recurring = false;                   // the series has RRULE or RDATE lines
        bool cancelled = false;                   // its main component (or first override) is cancelled
        std::shared_ptr<const Reminder> reminder; // to-dos only
    };
    QList<Item> items;
    QHash<QString, qsizetype> byUid;
    QStringList unidentified;
    // Set when the events' readings were let go: their span, as eventSpan()
    // gave it before.
    bool eventsLetGo = false;
    std::optional<std::pair<qint64, qint64>> span;

    // Files of a few items (nearly all: one) keep no table of them, which
    // would take more memory than the rest of what is kept.
    static constexpr qsizetype kLookedUpInATable = 8;

    const Item *find(const QString &uid) const
    {
        if (byUid.isEmpty()) {
            for (const Item &item : items)
                if (item.uid == uid)
                    return &item;
            return nullptr;
        }
        const auto it = byUid.constFind(uid);
        return it == byUid.constEnd() ? nullptr : &items[*it];
    }
};

IcalFile::IcalFile(icalcomponent *calendar, bool joined)
    : m_cal(calendar)
    , m_joined(joined)
{
    reindex();
}

IcalFile::~IcalFile()
{
    if (m_cal)
        icalcomponent_free(m_cal);
}

std::unique_ptr<IcalFile> IcalFile::parse(const QByteArray &bytes, Form form)
{
    setUpLibical();
    const QByteArray prepared = protectUnknownProperties(bytes);
    icalcomponent *root = icalparser_parse_string(prepared.constData());
    if (!root)
        return nullptr;
    bool joined = false;
    if (icalcomponent_isa(root) == ICAL_XROOT_COMPONENT) {
        // Several calendars in one file: their items and zones are read as one calendar.
        icalcomponent *calendar = nullptr;
        for (icalcomponent *part : children(root, ICAL_ANY_COMPONENT)) {
            icalcomponent_remove_component(root, part);
            if (icalcomponent_isa(part) != ICAL_VCALENDAR_COMPONENT) {
                if (!calendar)
                    calendar = icalcomponent_new_vcalendar();
                icalcomponent_add_component(calendar, part);
                continue;
            }
            if (!calendar) {
                calendar = part;
                continue;
            }
            joined = true;
            for (icalcomponent *c : children(part, ICAL_ANY_COMPONENT)) {
                icalcomponent_remove_component(part, c);
                icalcomponent_add_component(calendar, c);
            }
            icalcomponent_free(part);
        }
        icalcomponent_free(root);
        if (!calendar)
            return nullptr;
        root = calendar;
    } else if (icalcomponent_isa(root) != ICAL_VCALENDAR_COMPONENT) {
        icalcomponent *wrapper = icalcomponent_new_vcalendar();
        icalcomponent_add_component(wrapper, root);
        root = wrapper;
    }
    icalcomponent_strip_errors(root);
    if (!icalcomponent_get_first_component(root, ICAL_VEVENT_COMPONENT)
        && !icalcomponent_get_first_component(root, ICAL_VTODO_COMPONENT)) {
        icalcomponent_free(root);
        return nullptr;
    }
    auto doc = std::make_unique<IcalFile>(root, joined);
    if (form == Form::Index)
        doc->letEventsGo();
    if (form != Form::Whole)
        doc->releaseComponents();
    return doc;
}

void IcalFile::letEventsGo()
{
    // A repeating series is read for every range: it keeps its reading, as
    // a reading's parse keeps it.
    const std::optional<std::pair<qint64, qint64>> span = eventSpan();
    if (!span)
        return;
    for (Index::Item &item : m_index->items)
        item.events.reset();
    m_index->eventsLetGo = true;
    m_index->span = span;
}

void IcalFile::releaseComponents()
{
    // A repeating series whose zone the file itself defines walks that
    // zone's rules whenever it is read: such a document keeps its
    // components (every other reading works from the index).
    for (const Index::Item &item : m_index->items)
        if (item.events && item.events->series.readable && item.events->series.repeats
            && item.events->series.start.zone.kind == Zone::Ical)
            return;
    for (Index::Item &item : m_index->items) {
        item.master = nullptr;
        item.overrides.clear();
    }
    if (m_cal)
        icalcomponent_free(m_cal);
    m_cal = nullptr;
}

std::unique_ptr<IcalFile> IcalFile::create(Kind kind, const QString &uid, const QDateTime &now)
{
    setUpLibical();
    icalcomponent *cal = icalcomponent_new_vcalendar();
    icalcomponent_add_property(cal, icalproperty_new_version("2.0"));
    icalcomponent_add_property(cal, icalproperty_new_prodid("-//Quillmere//Quillmere//EN"));
    icalcomponent *item = icalcomponent_new(componentKind(kind));
    icalcomponent_add_property(item, icalproperty_new_uid(uid.toUtf8().constData()));
    setUtcStamp(item, ICAL_CREATED_PROPERTY, now);
    touch(item, now);
    icalcomponent_add_component(cal, item);
    return std::make_unique<IcalFile>(cal, false);
}

QByteArray IcalFile::serialize() const
{
    if (!m_cal)
        return {};
    char *raw = icalcomponent_as_ical_string_r(m_cal);
    QByteArray out(raw);
    free(raw);
    return restoreUnknownProperties(out);
}

void IcalFile::reindex()
{
    auto index = std::make_unique<Index>();
    for (icalcomponent *c : children(m_cal, ICAL_ANY_COMPONENT)) {
        if (!isItem(c))
            continue;
        const Kind kind = icalcomponent_isa(c) == ICAL_VTODO_COMPONENT ? Kind::Todo : Kind::Event;
        const QString uid = uidOf(c);
        const bool isOverride = first(c, ICAL_RECURRENCEID_PROPERTY) != nullptr;
        auto found = index->byUid.constFind(uid);
        if (!uid.isEmpty() && found == index->byUid.constEnd()) {
            found = index->byUid.insert(uid, index->items.size());
            index->items.append({uid, kind, nullptr, {}, nullptr, false, false, nullptr});
        }
        Index::Item *item = uid.isEmpty() ? nullptr : &index->items[*found];
        // Without a UID, or sharing the UID of an item of the other kind or a
        // second series of the same UID, a component cannot be told apart.
        if (!item || item->kind != kind || (!isOverride && item->master)) {
            index->unidentified.append(textOf(c, ICAL_SUMMARY_PROPERTY));
            continue;
        }
        if (isOverride)
            item->overrides.append(c);
        else
            item->master = c;
    }
    for (Index::Item &item : index->items) {
        // A series whose main item is missing is known by its first override.
        icalcomponent *main = item.master ? item.master : item.overrides.value(0);
        item.recurring = item.master && (first(item.master, ICAL_RRULE_PROPERTY) || first(item.master, ICAL_RDATE_PROPERTY));
        item.cancelled = main && isCancelledComponent(main);
        if (item.kind == Kind::Todo && main)
            item.reminder = std::make_shared<const Reminder>(reminderOf(m_cal, main, item.uid));
        if (item.kind != Kind::Event)
            continue;
        auto events = std::make_shared<EventReading>();
        if (item.master) {
            events->series = seriesOf(m_cal, item.master, item.overrides, events->own);
        } else {
            // Moved occurrences whose series is missing stand on their own.
            for (icalcomponent *o : item.overrides)
                if (std::optional<OwnEvent> own =
                        ownEvent(m_cal, o, stampOf(m_cal, o, ICAL_RECURRENCEID_PROPERTY), nullptr, true))
                    events->own.append(*own);
        }
        // One copy of each identifier.
        if (events->series.base.id == item.uid)
            events->series.base.id = item.uid;
        for (OwnEvent &own : events->own)
            if (own.event.id == item.uid)
                own.event.id = item.uid;
        item.events = std::move(events);
    }
    if (index->items.size() <= Index::kLookedUpInATable)
        index->byUid = QHash<QString, qsizetype>();
    m_index = std::move(index);
}

QStringList IcalFile::uids() const
{
    QStringList out;
    for (const Index::Item &item : m_index->items)
        out.append(item.uid);
    return out;
}

std::optional<IcalDocument::Kind> IcalFile::kindOf(const QString &uid) const
{
    const Index::Item *item = m_index->find(uid);
    return item ? std::optional<Kind>(item->kind) : std::nullopt;
}

bool IcalFile::keepsEvents() const
{
    return !m_index->eventsLetGo;
}

bool IcalFile::isTodoFile() const
{
    const auto is = [](Kind kind) { return [kind](const Index::Item &item) { return item.kind == kind; }; };
    return std::any_of(m_index->items.begin(), m_index->items.end(), is(Kind::Todo))
           && std::none_of(m_index->items.begin(), m_index->items.end(), is(Kind::Event));
}

QStringList IcalFile::unidentified() const
{
    return m_index->unidentified;
}

icalcomponent *IcalFile::master(const QString &uid) const
{
    const Index::Item *item = m_index->find(uid);
    if (!item)
        return nullptr;
    // A series whose main item is missing is known by its first override.
    return item->master ? item->master : item->overrides.value(0);
}

bool IcalFile::isRecurring(const QString &uid) const
{
    const Index::Item *item = m_index->find(uid);
    return item && item->recurring;
}

icalcomponent *IcalFile::overrideFor(const QString &uid, const QDateTime &occurrenceDate) const
{
    const Index::Item *item = m_index->find(uid);
    if (!item)
        return nullptr;
    const Stamp start = item->master ? stampOf(m_cal, item->master, ICAL_DTSTART_PROPERTY) : Stamp();
    const Zone unnamed = start.valid && !start.isDate ? start.zone : Zone();
    for (icalcomponent *c : item->overrides) {
        const Stamp rid = stampOf(m_cal, c, ICAL_RECURRENCEID_PROPERTY, unnamed);
        if (rid.valid && sameInstant(rid.local, rid.isDate, occurrenceDate, false))
            return c;
    }
    return nullptr;
}

std::optional<std::pair<qint64, qint64>> IcalFile::eventSpan() const
{
    if (m_index->eventsLetGo)
        return m_index->span;
    qint64 lo = std::numeric_limits<qint64>::max();
    qint64 hi = std::numeric_limits<qint64>::min();
    for (const Index::Item &item : m_index->items) {
        if (item.kind != Kind::Event || !item.events)
            continue;
        if (item.events->series.readable && item.events->series.repeats)
            return std::nullopt;
        for (const OwnEvent &own : item.events->own) {
            lo = std::min(lo, own.startKey);
            hi = std::max(hi, std::max(own.startKey, own.endKey));
        }
    }
    return std::pair{lo, hi};
}

QList<CalendarEvent> IcalFile::occurrences(const QDateTime &from, const QDateTime &to, ReadShare *share) const
{
    QList<CalendarEvent> out;
    const qint64 fromKey = from.toMSecsSinceEpoch();
    const qint64 toKey = to.toMSecsSinceEpoch();
    const qint64 days = daysOf(from, to);
    // This file's share of the reading.
    ReadShare left{qsizetype(kMostPerFilePerDay * days), kFileStepsPerDay * days};
    if (share) {
        left.occurrences = std::min(left.occurrences, share->occurrences);
        left.steps = std::min(left.steps, share->steps);
    }
    const ReadShare given = left;
    const qsizetype mostPerItem = qsizetype(kMostPerItemPerDay * days);
    for (const Index::Item &item : m_index->items) {
        if (left.occurrences <= 0)
            break;
        if (item.kind != Kind::Event || !item.events)
            continue;
        qsizetype taken = 0; // by this item
        auto full = [&] { return taken >= mostPerItem || left.occurrences <= 0; };
        auto take = [&](CalendarEvent e) {
            out.append(std::move(e));
            ++taken;
            --left.occurrences;
        };
        for (const OwnEvent &own : item.events->own)
            if (!full() && own.overlaps(fromKey, toKey))
                take(own.event);
        const Series &s = item.events->series;
        if (!s.readable || !s.repeats || full())
            continue;

        // Instants are compared as milliseconds: every comparison of two
        // local date-times asks the C library for the local offset again.
        QSet<qint64> seen;
        auto addOccurrence = [&](const QDateTime &occurrence) {
            if (!occurrence.isValid())
                return;
            const qint64 key = occurrence.toMSecsSinceEpoch();
            if (seen.contains(key))
                return;
            seen.insert(key);
            if (s.excludes(occurrence, key) || s.isMoved(occurrence, key) || key >= toKey)
                return;
            const QDateTime end = s.start.isDate ? endOf(occurrence, true, s.length) : QDateTime();
            const qint64 endKey = s.start.isDate ? end.toMSecsSinceEpoch() : key + s.length.seconds * 1000;
            // An instant counts when it lies inside the range.
            if (key == endKey ? key < fromKey : endKey <= fromKey)
                return;
            CalendarEvent e = s.base;
            e.start = occurrence;
            e.end = s.start.isDate ? end : QDateTime::fromMSecsSinceEpoch(endKey);
            e.recurring = true;
            e.occurrenceDate = occurrence;
            take(std::move(e));
        };

        addOccurrence(s.start.local);
        // The rules run on the wall clock of the series' zone. An occurrence
        // that begins before the range can still reach into it, and around a
        // change of the clocks wall time and local time part by up to a few
        // hours: the walk looks that much further either way.
        const qint64 margin = s.start.isDate ? 86400 : 3 * 3600;
        const qint64 reach = s.start.isDate ? s.length.days * 86400 : s.length.seconds;
        const qint64 wallFrom = wallIn(from, s.start.zone, s.start.isDate) - reach - margin;
        const qint64 wallTo = wallIn(to, s.start.zone, s.start.isDate) + margin;
        const qint64 startWall = wallIn(s.start.local, s.start.zone, s.start.isDate);
        if (!s.rules.isEmpty()) {
            const qint64 budget = std::min(kReadBudget, left.steps) / s.rules.size();
            for (const RecurrenceRule &rule : s.rules) {
                if (full() || budget <= 0)
                    break;
                const RecurrenceRule::Walk walk = rule.starts(startWall, s.start.isDate, wallFrom, wallTo, budget);
                left.steps -= walk.steps;
                for (qint64 wall : walk.starts) {
                    if (full())
                        break;
                    addOccurrence(localOfWall(wall, s.start.zone, s.start.isDate));
                }
            }
        }
        const QDateTime earliest = s.start.isDate ? from.addDays(-s.length.days - 1) : from.addSecs(-reach - margin);
        for (auto it = std::lower_bound(s.extraStarts.begin(), s.extraStarts.end(), earliest);
             it != s.extraStarts.end() && *it < to && !full(); ++it)
            addOccurrence(*it);
    }
    if (share) {
        share->occurrences -= given.occurrences - left.occurrences;
        share->steps -= given.steps - std::max<qint64>(left.steps, 0);
    }
    sortByStart(out);
    return out;
}

std::optional<CalendarEvent> IcalFile::firstEvent(const QString &uid) const
{
    icalcomponent *m = master(uid);
    if (kindOf(uid) != Kind::Event || !m)
        return std::nullopt;
    const Stamp start = stampOf(m_cal, m, ICAL_DTSTART_PROPERTY);
    if (!start.valid)
        return std::nullopt;
    CalendarEvent e = eventFrom(m, start.local, endOf(start.local, start.isDate, lengthOf(m_cal, m, start)), start.isDate);
    e.recurring = isRecurring(uid);
    if (e.recurring)
        e.occurrenceDate = start.local;
    return e;
}

void IcalFile::applyEvent(const QString &uid, const CalendarEvent &event, const QDateTime &now)
{
    icalcomponent *m = master(uid);
    if (!m)
        return;
    icalcomponent *target = m;
    const Stamp masterStart = stampOf(m_cal, m, ICAL_DTSTART_PROPERTY);
    if (isRecurring(uid) && event.occurrenceDate.isValid()) {
        target = overrideFor(uid, event.occurrenceDate);
        if (!target) {
            // A new override: the series' item without its rules, for that date.
            target = icalcomponent_new_clone(m);
            removeAll(target, ICAL_RRULE_PROPERTY);
            removeAll(target, ICAL_RDATE_PROPERTY);
            removeAll(target, ICAL_EXDATE_PROPERTY);
            removeAll(target, ICAL_EXRULE_PROPERTY);
            setTime(m_cal, target, ICAL_RECURRENCEID_PROPERTY, event.occurrenceDate, masterStart.isDate,
                    masterStart.zone);
            icalcomponent_add_component(m_cal, target);
        }
    }

    setText(target, ICAL_SUMMARY_PROPERTY, event.title);
    setText(target, ICAL_DESCRIPTION_PROPERTY, event.notes);

    const Stamp oldStart = stampOf(m_cal, target, ICAL_DTSTART_PROPERTY);
    const Stamp oldEnd = stampOf(m_cal, target, ICAL_DTEND_PROPERTY);
    QDateTime end = event.end;
    if (event.allDay) {
        QDate last = end.time() == QTime(0, 0) ? end.date() : end.date().addDays(1);
        if (last <= event.start.date())
            last = event.start.date().addDays(1);
        end = QDateTime(last, QTime(0, 0));
    }
    const bool timesSame = oldStart.valid && oldStart.isDate == event.allDay && oldStart.local == event.start
                           && endOf(oldStart.local, oldStart.isDate, lengthOf(m_cal, target, oldStart)) == end;
    if (!timesSame) {
        // Timed values stay in the zone the item already uses; a new or
        // formerly all-day item is written in the local zone.
        const Zone zone = (oldStart.valid && !oldStart.isDate) ? oldStart.zone : localZone();
        setTime(m_cal, target, ICAL_DTSTART_PROPERTY, event.start, event.allDay, zone);
        removeAll(target, ICAL_DURATION_PROPERTY);
        const Zone endZone = (oldEnd.valid && !oldEnd.isDate) ? oldEnd.zone : zone;
        setTime(m_cal, target, ICAL_DTEND_PROPERTY, end, event.allDay, endZone);
    }

    icalproperty *transp = first(target, ICAL_TRANSP_PROPERTY);
    const bool wasFree = eventFrom(target, {}, {}, false).availability == EventAvailability::Free;
    const bool free = event.availability == EventAvailability::Free;
    if (wasFree != free) {
        if (transp)
            icalproperty_set_transp(transp, free ? ICAL_TRANSP_TRANSPARENT : ICAL_TRANSP_OPAQUE);
        else
            icalcomponent_add_property(target, icalproperty_new_transp(free ? ICAL_TRANSP_TRANSPARENT : ICAL_TRANSP_OPAQUE));
    }
    touch(target, now);
    reindex();
}

bool IcalFile::removeOccurrence(const QString &uid, const QDateTime &occurrenceDate, const QDateTime &now)
{
    if (!m_cal || !isRecurring(uid))
        return false;
    icalcomponent *m = master(uid);
    if (icalcomponent *o = overrideFor(uid, occurrenceDate)) {
        icalcomponent_remove_component(m_cal, o);
        icalcomponent_free(o);
    }
    const Stamp start = stampOf(m_cal, m, ICAL_DTSTART_PROPERTY);
    setTime(m_cal, m, ICAL_EXDATE_PROPERTY, occurrenceDate, start.isDate, start.zone, true);
    touch(m, now);
    reindex();
    return true;
}

void IcalFile::removeItem(const QString &uid)
{
    if (!m_cal)
        return;
    for (icalcomponent *c : children(m_cal, ICAL_ANY_COMPONENT)) {
        if (isItem(c) && uidOf(c) == uid) {
            icalcomponent_remove_component(m_cal, c);
            icalcomponent_free(c);
        }
    }
    reindex();
}

QList<Reminder> IcalFile::reminders() const
{
    QList<Reminder> out;
    for (const Index::Item &item : m_index->items)
        if (item.kind == Kind::Todo)
            if (std::optional<Reminder> r = reminder(item.uid))
                out.append(*r);
    return out;
}

std::optional<Reminder> IcalFile::reminder(const QString &uid) const
{
    const Index::Item *item = m_index->find(uid);
    if (!item || item->kind != Kind::Todo || !item->reminder)
        return std::nullopt;
    return *item->reminder;
}

bool IcalFile::isCancelled(const QString &uid) const
{
    const Index::Item *item = m_index->find(uid);
    return item && item->cancelled;
}

void IcalFile::applyReminder(const QString &uid, const Reminder &reminder, const QDateTime &now)
{
    icalcomponent *m = master(uid);
    if (!m || kindOf(uid) != Kind::Todo)
        return;
    const std::optional<Reminder> old = this->reminder(uid);
    setText(m, ICAL_SUMMARY_PROPERTY, reminder.title);
    setText(m, ICAL_DESCRIPTION_PROPERTY, reminder.notes);

    const bool dueSame = old && old->due.isValid() == reminder.due.isValid()
                         && (!reminder.due.isValid()
                             || (old->dueIsDate == reminder.dueIsDate
                                 && (reminder.dueIsDate ? old->due.date() == reminder.due.date() : old->due == reminder.due)));
    if (!dueSame) {
        if (!reminder.due.isValid()) {
            removeAll(m, ICAL_DUE_PROPERTY);
        } else {
            const Stamp oldDue = stampOf(m_cal, m, ICAL_DUE_PROPERTY);
            const Zone zone = (oldDue.valid && !oldDue.isDate) ? oldDue.zone : localZone();
            setTime(m_cal, m, ICAL_DUE_PROPERTY, reminder.due, reminder.dueIsDate, zone);
        }
    }

    const bool wasCompleted = old && old->completed;
    if (reminder.completed && !wasCompleted) {
        removeAll(m, ICAL_STATUS_PROPERTY);
        icalcomponent_add_property(m, icalproperty_new_status(ICAL_STATUS_COMPLETED));
        setUtcStamp(m, ICAL_COMPLETED_PROPERTY, reminder.completedAt.isValid() ? reminder.completedAt : now);
        removeAll(m, ICAL_PERCENTCOMPLETE_PROPERTY);
        icalcomponent_add_property(m, icalproperty_new_percentcomplete(100));
    } else if (!reminder.completed && wasCompleted) {
        removeAll(m, ICAL_STATUS_PROPERTY);
        icalcomponent_add_property(m, icalproperty_new_status(ICAL_STATUS_NEEDSACTION));
        removeAll(m, ICAL_COMPLETED_PROPERTY);
        removeAll(m, ICAL_PERCENTCOMPLETE_PROPERTY);
    }
    touch(m, now);
    reindex();
}
