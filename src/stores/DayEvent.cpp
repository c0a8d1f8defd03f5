#include "stores/DayEvent.h"

#include <QSet>
#include <QTextBoundaryFinder>
#include <algorithm>
#include <array>
#include <cmath>

namespace {

QString firstGrapheme(const QString &text)
{
    if (text.isEmpty())
        return {};
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    const qsizetype end = finder.toNextBoundary();
    return text.left(end > 0 ? end : 1);
}

// Minutes after midnight of the instant on the local clock.
int clockMinute(const QDateTime &date)
{
    const QTime t = date.toLocalTime().time();
    return t.hour() * 60 + t.minute();
}

// A wall-clock minute counted across days: the day's number times 1440 plus
// the minute of the day. Two such values differ by the minutes the clock
// face shows between them, so a minute before midnight sits next to the
// first minute of the next day, and a daylight-saving change moves nothing.
qint64 wallMinute(const QDate &day, qint64 minuteOfDay)
{
    return day.toJulianDay() * 1440 + minuteOfDay;
}

// A calendar copy of a round is recognised only by a record that starts
// within a minute of it on the same day: a record of another day at the same
// clock time is another round.
bool writtenRecordMatches(const DayEvent &event, const QDate &day, const QList<const SessionRecord *> &written)
{
    const qint64 at = wallMinute(day, event.startMinutes);
    return std::any_of(written.begin(), written.end(), [&](const SessionRecord *r) {
        const qint64 recordAt = wallMinute(r->start.toLocalTime().date(), clockMinute(r->start));
        return std::abs(at - recordAt) <= 1;
    });
}

QList<const SessionRecord *> writtenRecords(const QList<SessionRecord> &records)
{
    QList<const SessionRecord *> out;
    for (const SessionRecord &r : records)
        if (r.calendarEventID)
            out << &r;
    return out;
}

QString trimSpacesAndTabs(const QString &text)
{
    qsizetype from = 0, to = text.size();
    auto isBlank = [](QChar c) { return c == QLatin1Char(' ') || c == QLatin1Char('\t'); };
    while (from < to && isBlank(text[from]))
        ++from;
    while (to > from && isBlank(text[to - 1]))
        --to;
    return text.mid(from, to - from);
}

int roundUp(int value, int step)
{
    return (value + step - 1) / step * step;
}

} // namespace

const QString &DayEvent::ownMark()
{
    static const QString mark = QStringLiteral("Ondrevel");
    return mark;
}

const QString &DayEvent::planNote()
{
    static const QString note = QStringLiteral("作務の予定");
    return note;
}

const QString &DayEvent::unfinishedMark()
{
    static const QString mark = QStringLiteral("（途中で終了）");
    return mark;
}

bool DayEvent::startsWithOwnGlyph(const QString &title)
{
    static const QSet<QString> glyphs{QStringLiteral("◯"), QStringLiteral("·"), QStringLiteral("‥"),
                                      QStringLiteral("◉"), QStringLiteral("○"), QStringLiteral("◎")};
    return !title.isEmpty() && glyphs.contains(firstGrapheme(title));
}

QUuid DayEvent::stableID(const QString &eventID)
{
    std::array<quint8, 16> bytes{};
    quint64 h = 0xcbf29ce484222325ULL;
    const QByteArray utf8 = eventID.toUtf8();
    for (qsizetype i = 0; i < utf8.size(); ++i) {
        h = (h ^ quint8(utf8[i])) * 0x100000001b3ULL;
        bytes[size_t(i % 16)] ^= quint8((h >> 24) & 0xFF);
    }
    return QUuid::fromRfc4122(QByteArrayView(reinterpret_cast<const char *>(bytes.data()), 16));
}

QString DayEvent::plainTitle(const QString &title)
{
    if (!startsWithOwnGlyph(title))
        return title;
    return trimSpacesAndTabs(title.mid(firstGrapheme(title).size()));
}

QList<DayEvent> DayEvent::withoutOwn(const QList<DayEvent> &events, const QList<SessionRecord> &records,
                                     const QList<DayPlan> &plans, const QDate &day)
{
    QSet<QString> known;
    for (const SessionRecord &r : records)
        if (r.calendarEventID)
            known.insert(*r.calendarEventID);
    for (const DayPlan &p : plans)
        if (p.eventID)
            known.insert(*p.eventID);
    const QList<const SessionRecord *> written = writtenRecords(records);

    QList<DayEvent> kept;
    for (const DayEvent &e : events) {
        if (known.contains(e.id))
            continue;
        const bool own = e.notes.contains(ownMark());
        const bool plan = e.notes.contains(planNote());
        if (own && !plan)
            continue;
        if (own && plan) {
            const bool placed = std::any_of(plans.begin(), plans.end(), [&](const DayPlan &p) {
                return p.timed && std::abs(e.startMinutes - p.startMinutes) <= 1 && e.title.endsWith(p.title);
            });
            if (placed || writtenRecordMatches(e, day, written))
                continue;
            kept << e;
            continue;
        }
        if (startsWithOwnGlyph(e.title) && writtenRecordMatches(e, day, written))
            continue;
        kept << e;
    }
    return kept;
}

QList<DayDeed> DayEvent::recordCopies(const QList<DayEvent> &events, const QList<SessionRecord> &records,
                                      const QDate &day)
{
    const QList<const SessionRecord *> written = writtenRecords(records);
    QList<DayDeed> deeds;
    for (const DayEvent &e : events) {
        if (e.isAllDay || !e.notes.contains(ownMark()) || e.notes.contains(planNote()))
            continue;
        if (writtenRecordMatches(e, day, written))
            continue;
        deeds << DayDeed{stableID(e.id), plainTitle(e.title), e.startMinutes, std::max(e.minutes, 1),
                         !e.notes.contains(unfinishedMark()), true, false};
    }
    std::stable_sort(deeds.begin(), deeds.end(),
                     [](const DayDeed &a, const DayDeed &b) { return a.startMinutes < b.startMinutes; });
    return deeds;
}

QList<DayDeed> DayDeed::deeds(const QList<SessionRecord> &records, const QDate &day)
{
    QList<DayDeed> out;
    for (const SessionRecord &r : records) {
        if (r.deletedAt || r.phase != Phase::focus || r.start.toLocalTime().date() != day)
            continue;
        const int minutes = roundedMinutes(r.start.msecsTo(r.end));
        out << DayDeed{r.id, r.title, clockMinute(r.start), std::max(minutes, 1), r.completed, false, r.isHandWritten()};
    }
    std::stable_sort(out.begin(), out.end(),
                     [](const DayDeed &a, const DayDeed &b) { return a.startMinutes < b.startMinutes; });
    return out;
}

namespace DayLine {

bool isBusy(int slot, const QList<DayEvent> &events, const QList<DayPlan> &plans)
{
    const int s = slot * 60, e = s + 60;
    return std::any_of(events.begin(), events.end(),
                       [&](const DayEvent &ev) { return ev.startMinutes < e && s < ev.startMinutes + ev.minutes; })
           || std::any_of(plans.begin(), plans.end(),
                          [&](const DayPlan &p) { return p.startMinutes < e && s < p.startMinutes + p.minutes; });
}

std::optional<Opening> opening(int slot, const QList<DayEvent> &events, const QList<DayPlan> &plans, int from,
                               int least)
{
    const int s = slot * 60, e = s + 60;
    int c = std::max(from / 30 * 30, s);
    if (c >= e)
        return std::nullopt;
    struct Interval
    {
        int start, end;
    };
    QList<Interval> busy;
    for (const DayEvent &ev : events)
        busy << Interval{ev.startMinutes, ev.startMinutes + ev.minutes};
    for (const DayPlan &p : plans)
        busy << Interval{p.startMinutes, p.startMinutes + p.minutes};

    for (;;) {
        auto hit = std::find_if(busy.begin(), busy.end(),
                                [&](const Interval &iv) { return iv.start <= c && c < iv.end; });
        if (hit == busy.end())
            break;
        const int u30 = roundUp(hit->end, 30);
        c = u30 < e ? u30 : roundUp(hit->end, 5);
        if (c >= e)
            return std::nullopt;
    }
    int gapEnd = 1440;
    for (const Interval &iv : busy)
        if (iv.start > c && iv.start < gapEnd)
            gapEnd = iv.start;
    if (gapEnd - c < least)
        return std::nullopt;
    return Opening{c, gapEnd - c};
}

QList<Span> inHalf(const QList<Span> &spans, bool upper)
{
    const double b = upper ? 0.0 : 0.5;
    QList<Span> out;
    for (const Span &sp : spans) {
        const double lo = std::max(sp.from, b), hi = std::min(sp.to, b + 0.5);
        if (lo < hi)
            out << Span{(lo - b) * 2, (hi - b) * 2};
    }
    return out;
}

} // namespace DayLine
