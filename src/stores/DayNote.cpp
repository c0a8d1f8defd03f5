#include "stores/DayNote.h"

#include "core/KivJSON.h"
#include "platform/time/Clock.h"
#include "stores/DayMath.h"

#include <QHash>
#include <QSet>

DayNote DayNote::empty(const QString &day)
{
    DayNote note;
    note.day = day;
    note.updatedAt = Clock::current().now();
    return note;
}

QString DayNote::key(const QDateTime &date)
{
    return DayMath::dayKey(date);
}

std::optional<QDateTime> DayNote::dateOfKey(const QString &key)
{
    const auto date = DayMath::parseDayKey(key);
    if (!date)
        return std::nullopt;
    return date->startOfDay();
}

QList<DayPlan> DayNote::timedPlans() const
{
    QList<DayPlan> out;
    for (const DayPlan &p : plans)
        if (p.timed)
            out.append(p);
    return out;
}

QList<DayPlan> DayNote::untimedPlans() const
{
    QList<DayPlan> out;
    for (const DayPlan &p : plans)
        if (!p.timed)
            out.append(p);
    return out;
}

std::optional<DayNote> DayNote::withoutDuplicatePlans() const
{
    QSet<QUuid> timedTasks;
    for (const DayPlan &p : plans)
        if (p.timed && p.taskID)
            timedTasks.insert(*p.taskID);

    QHash<QString, QUuid> winners;
    for (const DayPlan &p : plans) {
        if (!p.taskID)
            continue;
        QString placing;
        if (p.timed)
            placing = QString::number(p.startMinutes);
        else if (timedTasks.contains(*p.taskID))
            continue;
        else
            placing = QStringLiteral("日だけ");
        const QString key = KivJSON::uuidString(*p.taskID) + QLatin1Char('@') + placing;
        if (!winners.contains(key))
            winners.insert(key, p.id);
    }

    const QList<QUuid> kept = winners.values();
    const QSet<QUuid> keptIds(kept.begin(), kept.end());
    QList<DayPlan> remaining;
    for (const DayPlan &p : plans)
        if (!p.taskID || keptIds.contains(p.id))
            remaining.append(p);
    if (remaining.size() == plans.size())
        return std::nullopt;
    DayNote out = *this;
    out.plans = remaining;
    out.updatedAt = Clock::current().now();
    return out;
}

QJsonObject DayNote::toJson() const
{
    QJsonObject o{
        {QStringLiteral("day"), day},
        {QStringLiteral("intention"), intention},
        {QStringLiteral("reflection"), reflection},
        {QStringLiteral("plans"), KivJSON::encodeList(plans)},
        {QStringLiteral("updatedAt"), KivJSON::dateString(updatedAt)},
    };
    KivJSON::putOptional(o, QStringLiteral("guide"), guide);
    KivJSON::putOptional(o, QStringLiteral("sweptAt"), sweptAt);
    KivJSON::putOptional(o, QStringLiteral("deletedAt"), deletedAt);
    return o;
}

DayNote DayNote::fromJson(const QJsonObject &json)
{
    using namespace KivJSON;
    DayNote note;
    note.day = requireString(json, QStringLiteral("day"));
    note.intention = requireString(json, QStringLiteral("intention"));
    note.reflection = requireString(json, QStringLiteral("reflection"));
    note.plans = decodeList<DayPlan>(requireArray(json, QStringLiteral("plans")), &DayPlan::fromJson);
    note.guide = optString(json, QStringLiteral("guide"));
    note.sweptAt = optDate(json, QStringLiteral("sweptAt"));
    note.updatedAt = requireDate(json, QStringLiteral("updatedAt"));
    note.deletedAt = optDate(json, QStringLiteral("deletedAt"));
    return note;
}
