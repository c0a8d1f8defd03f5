#include "platform/calendar/IcalDocument.h"

#include <QSet>
#include <QTimeZone>
#include <algorithm>
#include <libical/ical.h>

namespace {

// libical turns properties it does not know (and that lack the X- prefix) into
// parse errors and drops them. They are renamed to this prefix before parsing
// and back after writing, so they survive an edit.
const QByteArray kUnknownPrefix = QByteArrayLiteral("X-QUILLMERE-IANA-");

// Longest series walked from its start before giving up on reaching a range.
constexpr int kMaxOccurrences = 200000;

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

// ---- time zones ---------------------------------------------------------

// Where a stored time of day lives.
struct Zone
{
    enum Kind { Floating, Utc, Ical, Qt } kind = Floating;
    icaltimezone *ical = nullptr;
    QTimeZone qt;
    QByteArray tzid;
};

Zone zoneOf(icalcomponent *cal, icalproperty *prop, const icaltimetype &t)
{
    if (icaltime_is_utc(t))
        return {Zone::Utc, nullptr, {}, {}};
    icalparameter *param = icalproperty_get_first_parameter(prop, ICAL_TZID_PARAMETER);
    const char *tzid = param ? icalparameter_get_tzid(param) : nullptr;
    if (!tzid || !*tzid)
        return {};
    Zone zone;
    zone.tzid = tzid;
    // A zone known by its IANA name is taken from the system's zone data,
    // which is more current than a definition embedded in an old file (and
    // covers every year, where the definitions this program writes cover a
    // few); other names need the definition the file carries.
    if (QTimeZone qtz(zone.tzid); qtz.isValid()) {
        zone.kind = Zone::Qt;
        zone.qt = qtz;
    } else if (icaltimezone *tz = icalcomponent_get_timezone(cal, tzid)) {
        zone.kind = Zone::Ical;
        zone.ical = tz;
    } else if (icaltimezone *builtin = icaltimezone_get_builtin_timezone_from_tzid(tzid)) {
        zone.kind = Zone::Ical;
        zone.ical = builtin;
    } else if (icaltimezone *named = icaltimezone_get_builtin_timezone(tzid)) {
        zone.kind = Zone::Ical;
        zone.ical = named;
    } else {
        zone.kind = Zone::Floating; // an unknown zone reads as the local wall clock
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

// ---- properties -----------------------------------------------------------

icalproperty *first(icalcomponent *comp, icalproperty_kind kind)
{
    return icalcomponent_get_first_property(comp, kind);
}

void removeAll(icalcomponent *comp, icalproperty_kind kind)
{
    while (icalproperty *p = first(comp, kind)) {
        icalcomponent_remove_property(comp, p);
        icalproperty_free(p);
    }
}

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

Stamp stampOf(icalcomponent *cal, icalproperty *p)
{
    if (!p)
        return {};
    const icaltimetype t = timeValue(p);
    if (!usable(t))
        return {};
    Stamp s;
    s.zone = zoneOf(cal, p, t);
    s.isDate = t.is_date;
    s.local = toLocal(t, s.zone);
    s.valid = s.local.isValid();
    return s;
}

Stamp stampOf(icalcomponent *cal, icalcomponent *comp, icalproperty_kind kind)
{
    return stampOf(cal, first(comp, kind));
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
    icalcomponent *firstItem = icalcomponent_get_first_component(cal, ICAL_ANY_COMPONENT);
    icalcomponent_add_component(cal, vtz);
    if (firstItem && firstItem != vtz) {
        // libical appends; move the items after the zone definition.
        QList<icalcomponent *> items;
        for (icalcomponent *c = icalcomponent_get_first_component(cal, ICAL_ANY_COMPONENT); c;
             c = icalcomponent_get_next_component(cal, ICAL_ANY_COMPONENT))
            if (c != vtz)
                items.append(c);
        for (icalcomponent *c : std::as_const(items)) {
            icalcomponent_remove_component(cal, c);
            icalcomponent_add_component(cal, c);
        }
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

bool overlaps(const QDateTime &start, const QDateTime &end, const QDateTime &from, const QDateTime &to)
{
    if (start >= to)
        return false;
    if (start == end) // an instant counts when it lies inside the range
        return start >= from;
    return end > from;
}

icalcomponent_kind componentKind(IcalDocument::Kind kind)
{
    return kind == IcalDocument::Kind::Todo ? ICAL_VTODO_COMPONENT : ICAL_VEVENT_COMPONENT;
}

} // namespace

// ---- document -----------------------------------------------------------------

IcalDocument::IcalDocument(icalcomponent *calendar, Kind kind)
    : m_cal(calendar)
    , m_kind(kind)
{
}

IcalDocument::IcalDocument(IcalDocument &&other) noexcept
    : m_cal(std::exchange(other.m_cal, nullptr))
    , m_kind(other.m_kind)
{
}

IcalDocument &IcalDocument::operator=(IcalDocument &&other) noexcept
{
    if (this != &other) {
        if (m_cal)
            icalcomponent_free(m_cal);
        m_cal = std::exchange(other.m_cal, nullptr);
        m_kind = other.m_kind;
    }
    return *this;
}

IcalDocument::~IcalDocument()
{
    if (m_cal)
        icalcomponent_free(m_cal);
}

std::optional<IcalDocument> IcalDocument::parse(const QByteArray &bytes)
{
    setUpLibical();
    const QByteArray prepared = protectUnknownProperties(bytes);
    icalcomponent *root = icalparser_parse_string(prepared.constData());
    if (!root)
        return std::nullopt;
    if (icalcomponent_isa(root) != ICAL_VCALENDAR_COMPONENT) {
        icalcomponent *wrapper = icalcomponent_new_vcalendar();
        icalcomponent_add_component(wrapper, root);
        root = wrapper;
    }
    icalcomponent_strip_errors(root);
    Kind kind;
    if (icalcomponent_get_first_component(root, ICAL_VEVENT_COMPONENT))
        kind = Kind::Event;
    else if (icalcomponent_get_first_component(root, ICAL_VTODO_COMPONENT))
        kind = Kind::Todo;
    else {
        icalcomponent_free(root);
        return std::nullopt;
    }
    IcalDocument doc(root, kind);
    if (doc.uid().isEmpty())
        return std::nullopt;
    return doc;
}

IcalDocument IcalDocument::create(Kind kind, const QString &uid, const QDateTime &now)
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
    return IcalDocument(cal, kind);
}

QByteArray IcalDocument::serialize() const
{
    char *raw = icalcomponent_as_ical_string_r(m_cal);
    QByteArray out(raw);
    free(raw);
    return restoreUnknownProperties(out);
}

icalcomponent *IcalDocument::master() const
{
    const icalcomponent_kind kind = componentKind(m_kind);
    icalcomponent *firstFound = nullptr;
    for (icalcomponent *c = icalcomponent_get_first_component(m_cal, kind); c;
         c = icalcomponent_get_next_component(m_cal, kind)) {
        if (!first(c, ICAL_RECURRENCEID_PROPERTY))
            return c;
        if (!firstFound)
            firstFound = c;
    }
    return firstFound;
}

QString IcalDocument::uid() const
{
    icalcomponent *m = master();
    return m ? text(icalcomponent_get_uid(m)) : QString();
}

bool IcalDocument::isRecurring() const
{
    icalcomponent *m = master();
    return m && !first(m, ICAL_RECURRENCEID_PROPERTY)
           && (first(m, ICAL_RRULE_PROPERTY) || first(m, ICAL_RDATE_PROPERTY));
}

icalcomponent *IcalDocument::overrideFor(const QDateTime &occurrenceDate) const
{
    const icalcomponent_kind kind = componentKind(m_kind);
    for (icalcomponent *c = icalcomponent_get_first_component(m_cal, kind); c;
         c = icalcomponent_get_next_component(m_cal, kind)) {
        const Stamp rid = stampOf(m_cal, c, ICAL_RECURRENCEID_PROPERTY);
        if (rid.valid && sameInstant(rid.local, rid.isDate, occurrenceDate, false))
            return c;
    }
    return nullptr;
}

QList<CalendarEvent> IcalDocument::occurrences(const QDateTime &from, const QDateTime &to) const
{
    QList<CalendarEvent> out;
    if (m_kind != Kind::Event)
        return out;

    icalcomponent *m = master();
    const bool hasMaster = m && !first(m, ICAL_RECURRENCEID_PROPERTY);

    struct Override
    {
        icalcomponent *comp;
        Stamp rid;
        bool used = false;
    };
    QList<Override> overrides;
    for (icalcomponent *c = icalcomponent_get_first_component(m_cal, ICAL_VEVENT_COMPONENT); c;
         c = icalcomponent_get_next_component(m_cal, ICAL_VEVENT_COMPONENT)) {
        const Stamp rid = stampOf(m_cal, c, ICAL_RECURRENCEID_PROPERTY);
        if (rid.valid)
            overrides.append({c, rid});
    }

    // An item on its own: a master, or an override whose series is missing.
    auto addSingle = [&](icalcomponent *comp, const QDateTime &occurrence, bool recurring) {
        const Stamp start = stampOf(m_cal, comp, ICAL_DTSTART_PROPERTY);
        if (!start.valid || isCancelledComponent(comp))
            return;
        const QDateTime end = endOf(start.local, start.isDate, lengthOf(m_cal, comp, start));
        if (!overlaps(start.local, end, from, to))
            return;
        CalendarEvent e = eventFrom(comp, start.local, end, start.isDate);
        e.recurring = recurring;
        e.occurrenceDate = recurring ? occurrence : QDateTime();
        out.append(e);
    };

    if (!hasMaster) {
        for (const Override &o : std::as_const(overrides))
            addSingle(o.comp, o.rid.local, true);
        return out;
    }

    const Stamp start = stampOf(m_cal, m, ICAL_DTSTART_PROPERTY);
    if (!start.valid || isCancelledComponent(m))
        return out;
    if (!isRecurring()) {
        addSingle(m, start.local, false);
        return out;
    }

    const Length length = lengthOf(m_cal, m, start);
    QList<Stamp> excluded;
    for (icalproperty *p = first(m, ICAL_EXDATE_PROPERTY); p; p = icalcomponent_get_next_property(m, ICAL_EXDATE_PROPERTY)) {
        const Stamp s = stampOf(m_cal, p);
        if (s.valid)
            excluded.append(s);
    }
    QSet<qint64> seen;

    auto addOccurrence = [&](const QDateTime &occurrence) {
        if (!seen.contains(occurrence.toMSecsSinceEpoch()))
            seen.insert(occurrence.toMSecsSinceEpoch());
        else
            return;
        for (const Stamp &x : std::as_const(excluded))
            if (sameInstant(x.local, x.isDate, occurrence, start.isDate))
                return;
        for (Override &o : overrides) {
            if (!o.used && sameInstant(o.rid.local, o.rid.isDate, occurrence, start.isDate)) {
                o.used = true;
                addSingle(o.comp, occurrence, true);
                return;
            }
        }
        const QDateTime end = endOf(occurrence, start.isDate, length);
        if (!overlaps(occurrence, end, from, to))
            return;
        CalendarEvent e = eventFrom(m, occurrence, end, start.isDate);
        e.recurring = true;
        e.occurrenceDate = occurrence;
        out.append(e);
    };

    addOccurrence(start.local);
    icalproperty *startProp = first(m, ICAL_DTSTART_PROPERTY);
    icaltimetype wallStart = icalproperty_get_dtstart(startProp);
    if (wallStart.zone != icaltimezone_get_utc_timezone())
        wallStart.zone = nullptr;
    for (icalproperty *p = first(m, ICAL_RRULE_PROPERTY); p; p = icalcomponent_get_next_property(m, ICAL_RRULE_PROPERTY)) {
        icalrecur_iterator *it = icalrecur_iterator_new(icalproperty_get_rrule(p), wallStart);
        if (!it)
            continue;
        int count = 0;
        for (icaltimetype next = icalrecur_iterator_next(it); usable(next) && count < kMaxOccurrences;
             next = icalrecur_iterator_next(it), ++count) {
            const QDateTime occurrence = toLocal(next, start.zone);
            if (!occurrence.isValid())
                continue;
            if (occurrence >= to)
                break;
            addOccurrence(occurrence);
        }
        icalrecur_iterator_free(it);
    }
    for (icalproperty *p = first(m, ICAL_RDATE_PROPERTY); p; p = icalcomponent_get_next_property(m, ICAL_RDATE_PROPERTY)) {
        const icaldatetimeperiodtype value = icalproperty_get_rdate(p);
        icaltimetype t = icalperiodtype_is_null_period(value.period) ? value.time : value.period.start;
        if (!usable(t))
            continue;
        const QDateTime occurrence = toLocal(t, zoneOf(m_cal, p, t));
        if (occurrence.isValid())
            addOccurrence(occurrence);
    }
    // Moved occurrences whose original date the rules did not reach.
    for (const Override &o : std::as_const(overrides))
        if (!o.used)
            addSingle(o.comp, o.rid.local, true);

    std::stable_sort(out.begin(), out.end(),
                     [](const CalendarEvent &a, const CalendarEvent &b) { return a.start < b.start; });
    return out;
}

std::optional<CalendarEvent> IcalDocument::firstEvent() const
{
    icalcomponent *m = master();
    if (m_kind != Kind::Event || !m)
        return std::nullopt;
    const Stamp start = stampOf(m_cal, m, ICAL_DTSTART_PROPERTY);
    if (!start.valid)
        return std::nullopt;
    CalendarEvent e = eventFrom(m, start.local, endOf(start.local, start.isDate, lengthOf(m_cal, m, start)), start.isDate);
    e.recurring = isRecurring();
    if (e.recurring)
        e.occurrenceDate = start.local;
    return e;
}

void IcalDocument::applyEvent(const CalendarEvent &event, const QDateTime &now)
{
    icalcomponent *m = master();
    if (!m)
        return;
    icalcomponent *target = m;
    const Stamp masterStart = stampOf(m_cal, m, ICAL_DTSTART_PROPERTY);
    if (isRecurring() && event.occurrenceDate.isValid()) {
        target = overrideFor(event.occurrenceDate);
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
}

bool IcalDocument::removeOccurrence(const QDateTime &occurrenceDate, const QDateTime &now)
{
    if (!isRecurring())
        return false;
    icalcomponent *m = master();
    if (icalcomponent *o = overrideFor(occurrenceDate)) {
        icalcomponent_remove_component(m_cal, o);
        icalcomponent_free(o);
    }
    const Stamp start = stampOf(m_cal, m, ICAL_DTSTART_PROPERTY);
    setTime(m_cal, m, ICAL_EXDATE_PROPERTY, occurrenceDate, start.isDate, start.zone, true);
    touch(m, now);
    return true;
}

std::optional<Reminder> IcalDocument::reminder() const
{
    icalcomponent *m = master();
    if (m_kind != Kind::Todo || !m)
        return std::nullopt;
    Reminder r;
    r.id = text(icalcomponent_get_uid(m));
    r.title = textOf(m, ICAL_SUMMARY_PROPERTY);
    r.notes = textOf(m, ICAL_DESCRIPTION_PROPERTY);
    const Stamp due = stampOf(m_cal, m, ICAL_DUE_PROPERTY);
    if (due.valid) {
        r.due = due.local;
        r.dueIsDate = due.isDate;
    }
    const Stamp created = stampOf(m_cal, m, ICAL_CREATED_PROPERTY);
    if (created.valid)
        r.createdAt = created.local;
    const Stamp completed = stampOf(m_cal, m, ICAL_COMPLETED_PROPERTY);
    icalproperty *status = first(m, ICAL_STATUS_PROPERTY);
    r.completed = completed.valid || (status && icalproperty_get_status(status) == ICAL_STATUS_COMPLETED);
    if (completed.valid)
        r.completedAt = completed.local;
    return r;
}

bool IcalDocument::isCancelled() const
{
    icalcomponent *m = master();
    return m && isCancelledComponent(m);
}

void IcalDocument::applyReminder(const Reminder &reminder, const QDateTime &now)
{
    icalcomponent *m = master();
    if (!m)
        return;
    const std::optional<Reminder> old = this->reminder();
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
}
