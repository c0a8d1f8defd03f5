#include "model/AppModel.h"

#include "core/AppSettings.h"
#include "sources/CalendarService.h"

#include <QSet>

namespace {

QSet<QString> asSet(const QStringList &ids)
{
    return QSet<QString>(ids.begin(), ids.end());
}

// The local identifier for a synced title: an empty title clears the choice,
// a title that is already the chosen calendar's keeps it, and otherwise the
// first writable calendar of that title is taken; a title this machine has
// no writable calendar of leaves the choice alone.
void resolveOne(const CalendarService &calendars, const QString &name, const std::optional<QString> &current,
                const std::function<void(const std::optional<QString> &)> &set)
{
    if (name.isEmpty()) {
        if (current)
            set(std::nullopt);
        return;
    }
    if (calendars.title(current) == name)
        return;
    if (const std::optional<QString> id = calendars.writableIdentifier(name))
        set(id);
}

} // namespace

void AppModel::rememberCalendarNames(bool fromUser)
{
    if (m_calendarService->authorization() != CalendarAccess::FullAccess)
        return;

    QStringList names;
    for (const QString &id : m_settings->visibleCalendarIDs())
        if (const std::optional<QString> title = m_calendarService->title(id))
            names << *title;
    if (fromUser && m_settings->visibleCalendarNames() != names)
        m_settings->setVisibleCalendarNames(names);

    if (const std::optional<QString> planID = m_settings->planCalendarIdentifier()) {
        const std::optional<QString> title = m_calendarService->title(planID);
        if (title && m_settings->planCalendarName() != title)
            m_settings->setPlanCalendarName(title);
    } else if (fromUser && m_settings->planCalendarName() != QString()) {
        m_settings->setPlanCalendarName(QString());
    }

    if (!m_settings->calendarEnabled())
        return;
    if (const std::optional<QString> recordID = m_settings->calendarIdentifier()) {
        const std::optional<QString> title = m_calendarService->title(recordID);
        if (title && m_settings->recordCalendarName() != title)
            m_settings->setRecordCalendarName(title);
    } else if (fromUser ? m_settings->recordCalendarName() != QString() : !m_settings->recordCalendarName()) {
        m_settings->setRecordCalendarName(QString());
    }
}

void AppModel::resolveCalendarNames()
{
    if (m_calendarService->authorization() != CalendarAccess::FullAccess)
        return;

    if (const std::optional<QStringList> names = m_settings->visibleCalendarNames()) {
        QStringList all;
        QStringList matched;
        for (const CalendarService::CalendarGroup &group : m_calendarService->allCalendarsBySource())
            for (const CalendarInfo &calendar : group.calendars) {
                all << calendar.id;
                if (names->contains(calendar.title))
                    matched << calendar.id;
            }
        std::optional<QStringList> ids;
        if (names->isEmpty())
            ids = QStringList();
        else if (!matched.isEmpty())
            ids = asSet(matched) == asSet(all) ? QStringList() : matched;
        // Order alone never rewrites the choice.
        if (ids && asSet(*ids) != asSet(m_settings->visibleCalendarIDs()))
            m_settings->setVisibleCalendarIDs(*ids);
    }

    if (const std::optional<QString> name = m_settings->planCalendarName())
        resolveOne(*m_calendarService, *name, m_settings->planCalendarIdentifier(),
                   [this](const std::optional<QString> &id) { m_settings->setPlanCalendarIdentifier(id); });

    if (!m_settings->calendarEnabled())
        return;
    if (const std::optional<QString> name = m_settings->recordCalendarName())
        resolveOne(*m_calendarService, *name, m_settings->calendarIdentifier(),
                   [this](const std::optional<QString> &id) { m_settings->setCalendarIdentifier(id); });
}
