#include "model/AppModel.h"

#include "core/AppSettings.h"
#include "model/DayClock.h"
#include "platform/time/Clock.h"
#include "sources/CalendarService.h"
#include "stores/DayMath.h"
#include "stores/SessionStore.h"

#include <algorithm>

namespace {

// The title as one trimmed line.
QString deedTitle(const QString &title)
{
    QString line = title;
    line.remove(QLatin1Char('\n')).remove(QLatin1Char('\r')).remove(QChar(0x2028)).remove(QChar(0x2029));
    return line.trimmed();
}

} // namespace

SessionRecord AppModel::writeDeed(const QString &title, int startMinutes, int minutes, const QDateTime &day)
{
    const QDate date = DayMath::dateIn(day);
    SessionRecord record;
    record.id = QUuid::createUuid();
    record.phase = Phase::focus;
    const QString line = deedTitle(title);
    record.title = line.isEmpty() ? QStringLiteral("只管") : line;
    record.start = DayClock::at(date, startMinutes);
    record.end = record.start.addSecs(qint64(std::max(minutes, 1)) * 60);
    record.completed = true;
    record.manual = true;
    m_store->append(record);
    return record;
}

bool AppModel::editDeed(const QUuid &recordID, const QString &title, int startMinutes, int minutes,
                        const QDateTime &day)
{
    std::optional<SessionRecord> record = m_store->liveRecord(recordID);
    if (!record || !record->isHandWritten())
        return false;
    const QDate date = DayMath::dateIn(day);
    record->start = DayClock::at(date, startMinutes);
    record->end = record->start.addSecs(qint64(std::max(minutes, 1)) * 60);
    const QString line = deedTitle(title);
    if (!line.isEmpty())
        record->title = line;
    record->manual = true;
    record->editedAt = Clock::current().now();
    if (record->calendarEventID) {
        // Its calendar copy moves with it; left behind it would show as a
        // second deed at the old time.
        m_calendarService->remove(*record->calendarEventID);
        record->calendarEventID =
            m_calendarService->write(*record, m_settings->calendarIdentifier(), m_settings->calendarShowsTitle());
    }
    m_store->update(*record);
    return true;
}
