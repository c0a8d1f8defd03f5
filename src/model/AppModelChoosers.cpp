#include "model/AppModel.h"

#include "core/L.h"
#include "platform/time/Clock.h"
#include "stores/DayMath.h"
#include "stores/LocalTask.h"

QString AppModel::nearDayLabel(const QDateTime &date)
{
    const QDateTime now = Clock::current().now();
    if (DayMath::sameDay(date, now))
        return L(QStringLiteral("今日"));
    if (DayMath::sameDay(date, DayMath::addDays(now, 1)))
        return L(QStringLiteral("明日"));
    const QDate day = DayMath::dateIn(date);
    return monthDay(day.month(), day.day());
}

std::optional<QString> AppModel::pickerNote(const TodoItem &item) const
{
    QStringList parts;
    if (item.due)
        parts << L(QStringLiteral("{0}まで"), nearDayLabel(*item.due));
    if (const std::optional<LocalTask> task = localTask(item.ref)) {
        const QList<QDateTime> days = placedDays(task->id, Clock::current().now());
        if (!days.isEmpty())
            parts << L(QStringLiteral("{0}に置いた"), nearDayLabel(days.first()));
    }
    if (parts.isEmpty())
        return std::nullopt;
    return parts.join(QStringLiteral(" ・ "));
}
