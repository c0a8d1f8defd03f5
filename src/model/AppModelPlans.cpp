#include "model/AppModel.h"

#include "sources/LocalTaskSource.h"

#include "core/AppSettings.h"
#include "core/L.h"
#include "platform/time/Clock.h"
#include "sources/CalendarService.h"
#include "sources/TaskHub.h"
#include "stores/DayMath.h"
#include "stores/DayNote.h"
#include "stores/DayNoteStore.h"
#include "stores/LocalTaskStore.h"
#include "stores/SessionStore.h"

#include <algorithm>

namespace {

// The calendar date of the instant's day: plans are written at wall-clock
// minutes of that date, never at midnight plus a number of seconds.
QDate dateOf(const QDateTime &day)
{
    return DayMath::dateIn(day);
}

} // namespace

void AppModel::placePlan(DayPlan plan, const QDateTime &day)
{
    if (plan.taskID) {
        const QList<DayPlan> existing = m_days->note(day).plans;
        if (plan.timed) {
            // A time for the task takes the place of its day-only plan.
            const auto untimed = std::find_if(existing.begin(), existing.end(), [&](const DayPlan &p) {
                return p.taskID == plan.taskID && !p.timed;
            });
            if (untimed != existing.end())
                removePlan(untimed->id, day);
        } else if (std::any_of(existing.begin(), existing.end(),
                               [&](const DayPlan &p) { return p.taskID == plan.taskID; })) {
            return; // already on the day, with or without a time
        }
    }
    if (plan.timed)
        plan.eventID = m_calendarService->writePlan(plan, dateOf(day), m_settings->planCalendarIdentifier());
    m_days->addPlan(plan, day);
}

void AppModel::removePlan(const QUuid &planID, const QDateTime &day)
{
    for (const DayPlan &plan : m_days->note(day).plans) {
        if (plan.id == planID) {
            if (plan.eventID)
                m_calendarService->remove(*plan.eventID);
            break;
        }
    }
    m_days->removePlan(planID, day);
}

DayPlan AppModel::placeOnDay(const LocalTask &task, const QDateTime &day)
{
    for (const DayPlan &plan : m_days->note(day).plans)
        if (plan.taskID == task.id)
            return plan;
    DayPlan plan;
    plan.taskID = task.id;
    plan.isDaily = task.isDaily;
    plan.title = task.title;
    plan.startMinutes = 0;
    plan.minutes = 30;
    plan.timed = false;
    placePlan(plan, day);
    return plan;
}

void AppModel::unplace(const QUuid &taskID, const QDateTime &day)
{
    const QList<DayPlan> plans = m_days->note(day).plans;
    for (const DayPlan &plan : plans)
        if (plan.taskID == taskID)
            removePlan(plan.id, day);
}

void AppModel::unplaceFrom(const QUuid &taskID, const QDateTime &firstDay)
{
    for (const QDateTime &date : placedDays(taskID, firstDay))
        unplace(taskID, date);
}

QList<QDateTime> AppModel::placedDays(const QUuid &taskID, const QDateTime &firstDay) const
{
    const QDateTime floor = DayMath::startOfDay(firstDay);
    QList<QDateTime> dates;
    for (const DayNote &note : m_days->notes()) {
        if (std::none_of(note.plans.begin(), note.plans.end(), [&](const DayPlan &p) { return p.taskID == taskID; }))
            continue;
        const std::optional<QDateTime> date = DayNote::dateOfKey(note.day);
        if (date && *date >= floor)
            dates << *date;
    }
    std::stable_sort(dates.begin(), dates.end());
    return dates;
}

std::optional<LocalTask> AppModel::localTask(const TaskRef &ref) const
{
    const std::optional<QUuid> id = LocalTaskSource::localId(ref);
    if (!id)
        return std::nullopt;
    return m_taskHub->local().task(*id);
}

void AppModel::movePlan(const QUuid &planID, int startMinutes, int minutes, const QDateTime &day)
{
    QList<DayPlan> plans = m_days->note(day).plans;
    const auto it = std::find_if(plans.begin(), plans.end(), [&](const DayPlan &p) { return p.id == planID; });
    if (it == plans.end())
        return;
    if (it->eventID)
        m_calendarService->remove(*it->eventID);
    it->startMinutes = startMinutes;
    it->minutes = minutes;
    it->timed = true;
    it->eventID = m_calendarService->writePlan(*it, dateOf(day), m_settings->planCalendarIdentifier());
    m_days->replacePlans(plans, day);
}

void AppModel::removeDeed(const QUuid &recordID)
{
    const std::optional<SessionRecord> record = m_store->liveRecord(recordID);
    if (!record)
        return;
    if (record->calendarEventID)
        m_calendarService->remove(*record->calendarEventID);
    m_store->deleteRecord(*record, Clock::current().now());
}

void AppModel::exportToCalendar(const SessionRecord &record)
{
    if (m_calendarService->authorization() != CalendarAccess::FullAccess) {
        showNotice(L(QStringLiteral("先に設定でカレンダーを許可してください。")));
        return;
    }
    // The caller's copy may be stale: the record may have been deleted or
    // edited since (here or on another device). Only the live stored record
    // is written out, and only its event id changes.
    std::optional<SessionRecord> stored = m_store->liveRecord(record.id);
    if (!stored || stored->calendarEventID)
        return;
    // An export always carries the title, whatever the calendar setting says.
    const std::optional<QString> id = m_calendarService->write(*stored, m_settings->calendarIdentifier(), true);
    if (!id) {
        const QString error = m_calendarService->lastError();
        showNotice(error.isEmpty() ? L(QStringLiteral("書き出せませんでした。")) : error);
        return;
    }
    stored->calendarEventID = id;
    m_store->update(*stored);
    showNotice(L(QStringLiteral("カレンダーに書き出しました。")));
}
