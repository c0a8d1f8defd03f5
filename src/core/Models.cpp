#include "core/Models.h"

#include "core/JsonWriter.h"
#include "core/KivJSON.h"
#include "core/L.h"

#include <QHash>
#include <QtNumeric>
#include <algorithm>
#include <cmath>
#include <limits>

int roundedMinutes(qint64 msecs)
{
    const double minutes = std::round(double(msecs) / 60000.0);
    return int(std::clamp(minutes, double(std::numeric_limits<int>::min()), double(std::numeric_limits<int>::max())));
}

qint64 addMsecs(qint64 a, qint64 b)
{
    qint64 sum = 0;
    if (qAddOverflow(a, b, &sum))
        return b > 0 ? std::numeric_limits<qint64>::max() : std::numeric_limits<qint64>::min();
    return sum;
}

QString phaseTitle(Phase phase)
{
    switch (phase) {
    case Phase::focus:
        return L(QStringLiteral("味わう"));
    case Phase::shortBreak:
        return L(QStringLiteral("経行"));
    case Phase::longBreak:
        return L(QStringLiteral("茶礼"));
    }
    return {};
}

QString rawValue(Phase phase)
{
    switch (phase) {
    case Phase::focus:
        return QStringLiteral("focus");
    case Phase::shortBreak:
        return QStringLiteral("shortBreak");
    case Phase::longBreak:
        return QStringLiteral("longBreak");
    }
    return {};
}

std::optional<Phase> phaseFromRaw(const QString &raw)
{
    for (Phase p : {Phase::focus, Phase::shortBreak, Phase::longBreak})
        if (rawValue(p) == raw)
            return p;
    return std::nullopt;
}

QJsonObject TaskRef::toJson() const
{
    QJsonObject o{{QStringLiteral("source"), source}, {QStringLiteral("id"), id}};
    KivJSON::putOptional(o, QStringLiteral("listID"), listID);
    return o;
}

TaskRef TaskRef::fromJson(const QJsonObject &json)
{
    return TaskRef{KivJSON::requireString(json, QStringLiteral("source")),
                   KivJSON::requireString(json, QStringLiteral("id")),
                   KivJSON::optString(json, QStringLiteral("listID"))};
}

size_t qHash(const TaskRef &ref, size_t seed)
{
    return qHashMulti(seed, ref.source, ref.id, ref.listID.value_or(QString()), ref.listID.has_value());
}

bool SessionRecord::isHandWritten() const
{
    if (manual)
        return *manual;
    if (taskRef)
        return false;
    return start.toMSecsSinceEpoch() % 60000 == 0 && end.toMSecsSinceEpoch() % 60000 == 0;
}

QJsonObject SessionRecord::toJson() const
{
    QJsonObject o{
        {QStringLiteral("id"), KivJSON::uuidString(id)},
        {QStringLiteral("phase"), rawValue(phase)},
        {QStringLiteral("title"), title},
        {QStringLiteral("start"), KivJSON::dateString(start)},
        {QStringLiteral("end"), KivJSON::dateString(end)},
        {QStringLiteral("completed"), completed},
    };
    KivJSON::putOptional(o, QStringLiteral("calendarEventID"), calendarEventID);
    KivJSON::putOptional(o, QStringLiteral("taskRef"), taskRef, [](const TaskRef &r) { return r.toJson(); });
    KivJSON::putOptional(o, QStringLiteral("deletedAt"), deletedAt);
    KivJSON::putOptional(o, QStringLiteral("manual"), manual);
    KivJSON::putOptional(o, QStringLiteral("editedAt"), editedAt);
    return o;
}

void SessionRecord::writeJson(JsonWriter &w, int level) const
{
    // Keys in sorted order, optionals only when present, as toJson() gives them.
    const int inner = level + 1;
    w.beginObject();
    if (calendarEventID) {
        w.key("calendarEventID", inner);
        w.string(*calendarEventID);
    }
    w.key("completed", inner);
    w.boolean(completed);
    if (deletedAt) {
        w.key("deletedAt", inner);
        w.string(KivJSON::dateString(*deletedAt));
    }
    if (editedAt) {
        w.key("editedAt", inner);
        w.string(KivJSON::dateString(*editedAt));
    }
    w.key("end", inner);
    w.string(KivJSON::dateString(end));
    w.key("id", inner);
    w.string(KivJSON::uuidString(id));
    if (manual) {
        w.key("manual", inner);
        w.boolean(*manual);
    }
    w.key("phase", inner);
    w.string(rawValue(phase));
    w.key("start", inner);
    w.string(KivJSON::dateString(start));
    if (taskRef) {
        w.key("taskRef", inner);
        w.object(taskRef->toJson(), inner);
    }
    w.key("title", inner);
    w.string(title);
    w.endObject(level);
}

SessionRecord SessionRecord::fromJson(const QJsonObject &json)
{
    using namespace KivJSON;
    SessionRecord r;
    r.id = requireUuid(json, QStringLiteral("id"));
    const QString phase = requireString(json, QStringLiteral("phase"));
    const auto p = phaseFromRaw(phase);
    if (!p)
        throw DecodeError{QStringLiteral("知らない phase です: {0}"), {phase}};
    r.phase = *p;
    r.title = requireString(json, QStringLiteral("title"));
    r.start = requireDate(json, QStringLiteral("start"));
    r.end = requireDate(json, QStringLiteral("end"));
    r.completed = requireBool(json, QStringLiteral("completed"));
    r.calendarEventID = optString(json, QStringLiteral("calendarEventID"));
    if (auto ref = optObject(json, QStringLiteral("taskRef")))
        r.taskRef = TaskRef::fromJson(*ref);
    r.deletedAt = optDate(json, QStringLiteral("deletedAt"));
    r.manual = optBool(json, QStringLiteral("manual"));
    r.editedAt = optDate(json, QStringLiteral("editedAt"));
    return r;
}
