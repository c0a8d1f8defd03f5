#include "sources/CalendarService.h"

#include "core/Background.h"
#include "core/KivJSON.h"
#include "core/L.h"
#include "platform/calendar/IcalFolderStore.h"
#include "platform/time/WallClock.h"
#include "stores/DayMath.h"

#include <QUuid>
#include <algorithm>
#include <cmath>
#include <limits>

namespace {

struct PhaseText
{
    const char *glyph;
    const char *word;
};

PhaseText phaseText(Phase phase)
{
    switch (phase) {
    case Phase::focus:
        return {"◯", "味わう"};
    case Phase::shortBreak:
        return {"·", "経行"};
    case Phase::longBreak:
        return {"‥", "茶礼"};
    }
    return {"◯", "味わう"};
}

// Seconds on the wall clock as whole minutes, held within int.
int minutesOf(qint64 seconds)
{
    constexpr qint64 limit = std::numeric_limits<qint64>::max() / 1000;
    return roundedMinutes(std::clamp(seconds, -limit, limit) * 1000);
}

} // namespace

CalendarService::CalendarService(QObject *parent)
    : CalendarService(new IcalFolderStore(nullptr), parent)
{
    m_store->setParent(this);
}

CalendarService::CalendarService(CalendarStore *store, QObject *parent)
    : QObject(parent)
    , m_store(store)
    , m_authorization(store ? store->authorization() : CalendarAccess::NotDetermined)
{
}

void CalendarService::setAuthorization(CalendarAccess access)
{
    if (m_authorization == access)
        return;
    m_authorization = access;
    emit authorizationChanged();
}

void CalendarService::setLastError(const QString &error)
{
    if (m_lastError == error && m_lastError.isNull() == error.isNull())
        return;
    m_lastError = error;
    emit lastErrorChanged();
}

bool CalendarService::requestAccess()
{
    if (!m_store)
        return false;
    setAuthorization(m_store->authorization());
    if (hasAccess())
        return true;
    QString error;
    const bool granted = m_store->requestAccess(&error);
    setAuthorization(m_store->authorization());
    if (!granted)
        setLastError(error.isEmpty() ? L("カレンダーへのアクセスが許可されませんでした。") : error);
    return granted && hasAccess();
}

CalendarAccess CalendarService::refreshAuthorization()
{
    if (m_store)
        setAuthorization(m_store->authorization());
    return m_authorization;
}

namespace {

// The store's events of a day as the day page sees them (on any thread).
QList<DayEvent> dayEventsOf(const QList<CalendarEvent> &events, const QDate &day, const QString &untitled)
{
    QList<DayEvent> out;
    out.reserve(events.size());
    for (const CalendarEvent &event : events) {
        // Minutes on the day's wall clock: 10:00 is 600 also on a day with a
        // daylight-saving change, and an event begun the evening before is negative.
        const qint64 startSeconds = WallClock::wallSecondsSince(day, event.start);
        const qint64 endSeconds = WallClock::wallSecondsSince(day, event.end);
        out << DayEvent{event.id.isEmpty() ? KivJSON::uuidString(QUuid::createUuid()) : event.id,
                        event.title.isEmpty() ? untitled : event.title,
                        minutesOf(startSeconds),
                        minutesOf(endSeconds - startSeconds),
                        event.calendarTitle,
                        event.notes,
                        event.allDay};
    }
    return out;
}

} // namespace

QList<DayEvent> CalendarService::events(const QDate &day, const QStringList &showing) const
{
    QList<DayEvent> out;
    readEvents(day, showing, nullptr, [&out](const QList<DayEvent> &events) { out = events; });
    return out;
}

void CalendarService::readEvents(const QDate &day, const QStringList &showing, QObject *context,
                                 std::function<void(const QList<DayEvent> &)> done) const
{
    // While the calendars are first read on a worker, the day shows none;
    // the store's changed() brings them.
    if (!hasAccess() || !m_store || !day.isValid() || m_store->isLoading()) {
        done({});
        return;
    }
    // An unknown or stale choice never blanks the day: then all calendars.
    QStringList chosen;
    for (const CalendarInfo &calendar : m_store->calendars(CollectionKind::Events))
        if (showing.contains(calendar.id))
            chosen << calendar.id;
    const CalendarStore::EventsReading reading = m_store->eventsReadingOnDay(day, chosen);
    // Looked up here: the text table is the main thread's.
    const QString untitled = L("（名前のない予定）");
    auto work = [reading, day, untitled] { return dayEventsOf(reading(), day, untitled); };
    if (context && m_store->readsWhenCalled())
        Background::run(context, std::move(work), std::move(done));
    else
        done(work());
}

QList<CalendarService::CalendarGroup> CalendarService::bySource(bool writableOnly) const
{
    if (!hasAccess() || !m_store)
        return {};
    QList<CalendarGroup> groups;
    for (const CalendarInfo &calendar : m_store->calendars(CollectionKind::Events)) {
        if (writableOnly && !calendar.writable)
            continue;
        const QString source = calendar.accountTitle.isEmpty() ? L("その他") : calendar.accountTitle;
        auto group = std::find_if(groups.begin(), groups.end(),
                                  [&](const CalendarGroup &g) { return g.source == source; });
        if (group == groups.end())
            groups << CalendarGroup{source, {calendar}};
        else
            group->calendars << calendar;
    }
    for (CalendarGroup &group : groups)
        std::stable_sort(group.calendars.begin(), group.calendars.end(),
                         [](const CalendarInfo &a, const CalendarInfo &b) { return DayMath::textLess(a.title, b.title); });
    std::stable_sort(groups.begin(), groups.end(),
                     [](const CalendarGroup &a, const CalendarGroup &b) { return DayMath::textLess(a.source, b.source); });
    return groups;
}

QList<CalendarService::CalendarGroup> CalendarService::allCalendarsBySource() const
{
    return bySource(false);
}

QList<CalendarService::CalendarGroup> CalendarService::writableCalendarsBySource() const
{
    return bySource(true);
}

std::optional<QString> CalendarService::title(const std::optional<QString> &calendarID) const
{
    if (!calendarID || !hasAccess() || !m_store)
        return std::nullopt;
    const std::optional<CalendarInfo> calendar = m_store->calendar(*calendarID);
    if (!calendar)
        return std::nullopt;
    return calendar->title;
}

std::optional<QString> CalendarService::writableIdentifier(const QString &name) const
{
    if (!hasAccess() || !m_store)
        return std::nullopt;
    QList<std::pair<QString, QString>> writable;
    for (const CalendarInfo &calendar : m_store->calendars(CollectionKind::Events))
        if (calendar.writable)
            writable << std::pair{calendar.id, calendar.title};
    return pick(name, writable);
}

std::optional<QString> CalendarService::pick(const QString &name, const QList<std::pair<QString, QString>> &among)
{
    for (const auto &[id, title] : among)
        if (title == name)
            return id;
    return std::nullopt;
}

std::optional<CalendarInfo> CalendarService::eventCalendar(const std::optional<QString> &id) const
{
    if (!id)
        return std::nullopt;
    std::optional<CalendarInfo> calendar = m_store->calendar(*id);
    if (calendar && calendar->kind != CollectionKind::Events)
        return std::nullopt;
    return calendar;
}

std::optional<QString> CalendarService::save(const CalendarEvent &event)
{
    QString error;
    const std::optional<QString> id = m_store->saveEvent(event, &error);
    if (!id) {
        setLastError(error.isEmpty() ? L("書き込めるカレンダーが見つかりませんでした。") : error);
        return std::nullopt;
    }
    setLastError(QString());
    if (id->isEmpty())
        return std::nullopt;
    return id;
}

std::optional<QString> CalendarService::write(const SessionRecord &record, const std::optional<QString> &calendarID,
                                              bool showsTitle)
{
    if (!hasAccess() || !m_store) {
        setLastError(L("カレンダーが未許可のため書き出しませんでした。"));
        return std::nullopt;
    }
    std::optional<CalendarInfo> calendar = eventCalendar(calendarID);
    if (!calendar)
        calendar = m_store->defaultCalendarForNewEvents();
    // A read-only calendar that was asked for does not fall back to the default.
    if (!calendar || !calendar->writable) {
        setLastError(L("書き込めるカレンダーが見つかりませんでした。"));
        return std::nullopt;
    }
    CalendarEvent event;
    event.calendarId = calendar->id;
    event.title = eventTitle(record, showsTitle);
    event.notes = eventNotes(record);
    event.start = record.start;
    event.end = record.end;
    event.allDay = false;
    if (calendar->supportsFreeAvailability)
        event.availability = EventAvailability::Free;
    return save(event);
}

std::optional<QString> CalendarService::writePlan(const DayPlan &plan, const QDate &day,
                                                  const std::optional<QString> &calendarID)
{
    if (!hasAccess() || !m_store || !day.isValid())
        return std::nullopt;
    const std::optional<CalendarInfo> calendar = eventCalendar(calendarID);
    if (!calendar || !calendar->writable)
        return std::nullopt;
    CalendarEvent event;
    event.calendarId = calendar->id;
    event.title = kPlanGlyph + QLatin1Char(' ') + plan.title;
    event.notes = DayEvent::planNote() + QLatin1Char('\n') + DayEvent::ownMark();
    // The plan's minutes are times on the day's wall clock, so a plan at 600
    // is written at 10:00 also on a day with a daylight-saving change.
    event.start = WallClock::atMinute(day, plan.startMinutes);
    event.end = WallClock::atMinute(day, plan.startMinutes + plan.minutes);
    return save(event);
}

void CalendarService::remove(const QString &eventID)
{
    if (!hasAccess() || !m_store || eventID.isEmpty())
        return;
    const std::optional<CalendarEvent> event = m_store->event(eventID);
    if (!event)
        return;
    // Of a repeating event only the occurrence looked up goes, never the series.
    m_store->removeEvent(eventID, event->recurring ? event->occurrenceDate : QDateTime());
}

QList<UnreadableItem> CalendarService::unreadableItems() const
{
    if (!hasAccess() || !m_store)
        return {};
    return m_store->unreadableItems();
}

QString CalendarService::eventTitle(const SessionRecord &record, bool showsTitle)
{
    const PhaseText text = phaseText(record.phase);
    return QString::fromUtf8(text.glyph) + QLatin1Char(' ')
           + (showsTitle ? record.title : L(QString::fromUtf8(text.word)));
}

QString CalendarService::eventNotes(const SessionRecord &record)
{
    const PhaseText text = phaseText(record.phase);
    QStringList lines{QString::fromUtf8(text.word) + QLatin1Char(' ')
                      + QString::number(roundedMinutes(record.start.msecsTo(record.end)))
                      + QStringLiteral("分")};
    if (!record.completed)
        lines << DayEvent::unfinishedMark();
    lines << DayEvent::ownMark();
    return lines.join(QLatin1Char('\n'));
}
