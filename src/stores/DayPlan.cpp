#include "stores/DayPlan.h"

#include "core/KivJSON.h"

#include <limits>

namespace {
int requireInt32(const QJsonObject &o, const QString &key)
{
    const qint64 v = KivJSON::requireInt(o, key);
    if (v < std::numeric_limits<int>::min() || v > std::numeric_limits<int>::max())
        throw KivJSON::DecodeError{QStringLiteral("「{0}」の値が大きすぎます"), {key}};
    return int(v);
}
} // namespace

QJsonObject DayPlan::toJson() const
{
    QJsonObject o{
        {QStringLiteral("id"), KivJSON::uuidString(id)},
        {QStringLiteral("isDaily"), isDaily},
        {QStringLiteral("title"), title},
        {QStringLiteral("startMinutes"), startMinutes},
        {QStringLiteral("minutes"), minutes},
        {QStringLiteral("timed"), timed},
    };
    KivJSON::putOptional(o, QStringLiteral("taskID"), taskID,
                         [](const QUuid &task) { return KivJSON::uuidString(task); });
    KivJSON::putOptional(o, QStringLiteral("eventID"), eventID);
    return o;
}

DayPlan DayPlan::fromJson(const QJsonObject &json)
{
    using namespace KivJSON;
    std::optional<QUuid> taskID;
    if (auto text = optString(json, QStringLiteral("taskID"))) {
        taskID = parseUuid(*text);
        if (!taskID)
            throw DecodeError{QStringLiteral("UUIDとして読めません: {0}"), {*text}};
    }
    return DayPlan{
        .id = requireUuid(json, QStringLiteral("id")),
        .taskID = taskID,
        .isDaily = optBool(json, QStringLiteral("isDaily")).value_or(false),
        .title = requireString(json, QStringLiteral("title")),
        .startMinutes = requireInt32(json, QStringLiteral("startMinutes")),
        .minutes = requireInt32(json, QStringLiteral("minutes")),
        .timed = optBool(json, QStringLiteral("timed")).value_or(true),
        .eventID = optString(json, QStringLiteral("eventID")),
    };
}
