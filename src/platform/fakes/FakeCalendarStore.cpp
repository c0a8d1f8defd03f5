#include "platform/fakes/FakeCalendarStore.h"

#include <QUuid>
#include <algorithm>

namespace {

QString freshId()
{
    return QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper();
}

void setError(QString *error, const QString &text)
{
    if (error)
        *error = text;
}

} // namespace

QString FakeCalendarStore::addEvent(const CalendarEvent &event)
{
    CalendarEvent stored = event;
    if (stored.id.isEmpty())
        stored.id = freshId();
    m_events.append(stored);
    return stored.id;
}

QString FakeCalendarStore::addReminder(const Reminder &reminder)
{
    Reminder stored = reminder;
    if (stored.id.isEmpty())
        stored.id = freshId();
    m_reminders.append(stored);
    return stored.id;
}

bool FakeCalendarStore::requestAccess(QString *error)
{
    ++m_requests;
    if (hasAccess())
        return true;
    if (!m_grants) {
        setError(error, QStringLiteral("access refused"));
        return false;
    }
    m_access = CalendarAccess::FullAccess;
    return true;
}

bool FakeCalendarStore::addAccountFolder(const QString &path, QString *)
{
    if (!m_accounts.contains(path))
        m_accounts.append(path);
    return true;
}

QList<CalendarInfo> FakeCalendarStore::calendars(CollectionKind kind) const
{
    QList<CalendarInfo> out;
    if (hasAccess())
        std::copy_if(m_calendars.begin(), m_calendars.end(), std::back_inserter(out),
                     [&](const CalendarInfo &c) { return c.kind == kind; });
    return out;
}

std::optional<CalendarInfo> FakeCalendarStore::calendar(const QString &id) const
{
    if (hasAccess())
        for (const CalendarInfo &c : m_calendars)
            if (c.id == id)
                return c;
    return std::nullopt;
}

std::optional<CalendarInfo> FakeCalendarStore::defaultCalendarForNewEvents() const
{
    for (const CalendarInfo &c : calendars(CollectionKind::Events))
        if (c.writable)
            return c;
    return std::nullopt;
}

void FakeCalendarStore::fillCollection(CalendarEvent &event) const
{
    const std::optional<CalendarInfo> c = calendar(event.calendarId);
    event.calendarTitle = c ? c->title : QString();
    event.calendarColor = c ? c->color : QColor();
}

void FakeCalendarStore::fillCollection(Reminder &reminder) const
{
    const std::optional<CalendarInfo> c = calendar(reminder.listId);
    reminder.listTitle = c ? c->title : QString();
}

QList<CalendarEvent> FakeCalendarStore::events(const QDateTime &from, const QDateTime &to,
                                               const QStringList &calendarIds) const
{
    QList<CalendarEvent> out;
    if (!hasAccess())
        return out;
    for (CalendarEvent e : m_events) {
        if (!calendarIds.isEmpty() && !calendarIds.contains(e.calendarId))
            continue;
        const bool inside = e.start < to && (e.end > from || (e.start == e.end && e.start >= from));
        if (!inside)
            continue;
        fillCollection(e);
        out.append(e);
    }
    std::stable_sort(out.begin(), out.end(), [](const CalendarEvent &a, const CalendarEvent &b) { return a.start < b.start; });
    return out;
}

std::optional<CalendarEvent> FakeCalendarStore::event(const QString &id) const
{
    if (hasAccess())
        for (CalendarEvent e : m_events)
            if (e.id == id) {
                fillCollection(e);
                return e;
            }
    return std::nullopt;
}

bool FakeCalendarStore::canWrite(const QString &collectionId, CollectionKind kind, QString *error) const
{
    if (!hasAccess()) {
        setError(error, QStringLiteral("no access"));
        return false;
    }
    if (!m_writeError.isEmpty()) {
        setError(error, m_writeError);
        return false;
    }
    const std::optional<CalendarInfo> c = calendar(collectionId);
    if (!c || c->kind != kind || !c->writable) {
        setError(error, QStringLiteral("no writable collection %1").arg(collectionId));
        return false;
    }
    return true;
}

std::optional<QString> FakeCalendarStore::saveEvent(const CalendarEvent &event, QString *error)
{
    auto it = std::find_if(m_events.begin(), m_events.end(), [&](const CalendarEvent &e) { return e.id == event.id; });
    if (!event.id.isEmpty() && it == m_events.end()) {
        setError(error, QStringLiteral("no event %1").arg(event.id));
        return std::nullopt;
    }
    if (!canWrite(it == m_events.end() ? event.calendarId : it->calendarId, CollectionKind::Events, error))
        return std::nullopt;
    CalendarEvent stored = event;
    if (it == m_events.end()) {
        stored.id = freshId();
        m_events.append(stored);
    } else {
        stored.calendarId = it->calendarId;
        *it = stored;
    }
    emit changed();
    return stored.id;
}

bool FakeCalendarStore::removeEvent(const QString &id, const QDateTime &, QString *error)
{
    auto it = std::find_if(m_events.begin(), m_events.end(), [&](const CalendarEvent &e) { return e.id == id; });
    if (it == m_events.end()) {
        setError(error, QStringLiteral("no event %1").arg(id));
        return false;
    }
    if (!canWrite(it->calendarId, CollectionKind::Events, error))
        return false;
    m_events.erase(it);
    emit changed();
    return true;
}

QList<Reminder> FakeCalendarStore::incompleteReminders(const QStringList &listIds) const
{
    QList<Reminder> out;
    if (!hasAccess())
        return out;
    for (Reminder r : m_reminders) {
        if (r.completed || (!listIds.isEmpty() && !listIds.contains(r.listId)))
            continue;
        fillCollection(r);
        out.append(r);
    }
    return out;
}

std::optional<Reminder> FakeCalendarStore::reminder(const QString &id) const
{
    if (hasAccess())
        for (Reminder r : m_reminders)
            if (r.id == id) {
                fillCollection(r);
                return r;
            }
    return std::nullopt;
}

std::optional<QString> FakeCalendarStore::saveReminder(const Reminder &reminder, QString *error)
{
    auto it = std::find_if(m_reminders.begin(), m_reminders.end(), [&](const Reminder &r) { return r.id == reminder.id; });
    if (!reminder.id.isEmpty() && it == m_reminders.end()) {
        setError(error, QStringLiteral("no reminder %1").arg(reminder.id));
        return std::nullopt;
    }
    if (!canWrite(it == m_reminders.end() ? reminder.listId : it->listId, CollectionKind::Reminders, error))
        return std::nullopt;
    Reminder stored = reminder;
    if (it == m_reminders.end()) {
        stored.id = freshId();
        m_reminders.append(stored);
    } else {
        stored.listId = it->listId;
        *it = stored;
    }
    emit changed();
    return stored.id;
}
