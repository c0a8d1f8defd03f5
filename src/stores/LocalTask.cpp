#include "stores/LocalTask.h"

#include "core/KivJSON.h"
#include "platform/time/Clock.h"

#include <limits>

namespace {
const QString kId = QStringLiteral("id");
const QString kTitle = QStringLiteral("title");
const QString kDue = QStringLiteral("due");
const QString kCreatedAt = QStringLiteral("createdAt");
const QString kCompletedAt = QStringLiteral("completedAt");
const QString kNotes = QStringLiteral("notes");
const QString kEstimateMinutes = QStringLiteral("estimateMinutes");
const QString kEstimate = QStringLiteral("estimate");
const QString kIsSomeday = QStringLiteral("isSomeday");
const QString kAbandonedAt = QStringLiteral("abandonedAt");
const QString kIsDaily = QStringLiteral("isDaily");
const QString kIsOccasional = QStringLiteral("isOccasional");
const QString kDoneDays = QStringLiteral("doneDays");
const QString kUpdatedAt = QStringLiteral("updatedAt");
const QString kReviewedAt = QStringLiteral("reviewedAt");
const QString kDeletedAt = QStringLiteral("deletedAt");
const QString kOrder = QStringLiteral("order");
const QString kOrderedAt = QStringLiteral("orderedAt");
const QString kOrigin = QStringLiteral("origin");

// A whole number that an int holds; anything larger cannot be a length in
// minutes and is read as no estimate rather than failing the whole list.
std::optional<int> asMinutes(std::optional<qint64> value, qint64 factor = 1)
{
    if (!value)
        return std::nullopt;
    const qint64 limit = std::numeric_limits<int>::max() / factor;
    if (*value > limit || *value < -limit)
        return std::nullopt;
    return int(*value * factor);
}
} // namespace

LocalTask LocalTask::create(const QString &title, const std::optional<QDateTime> &due)
{
    LocalTask t;
    t.id = QUuid::createUuid();
    t.title = title;
    t.due = due;
    t.createdAt = Clock::current().now();
    t.updatedAt = t.createdAt;
    return t;
}

QJsonObject LocalTask::toJson() const
{
    using namespace KivJSON;
    QJsonArray days;
    for (const QString &d : doneDays)
        days.append(d);
    QJsonObject o{
        {kId, uuidString(id)},
        {kTitle, title},
        {kCreatedAt, dateString(createdAt)},
        {kIsSomeday, isSomeday},
        {kIsDaily, isDaily},
        {kIsOccasional, isOccasional},
        {kDoneDays, days},
        {kUpdatedAt, dateString(updatedAt)},
    };
    putOptional(o, kDue, due);
    putOptional(o, kCompletedAt, completedAt);
    putOptional(o, kNotes, notes);
    putOptional(o, kEstimateMinutes, estimateMinutes, [](int m) { return QJsonValue(m); });
    putOptional(o, kAbandonedAt, abandonedAt);
    putOptional(o, kDeletedAt, deletedAt);
    putOptional(o, kOrigin, origin, [](const TaskRef &r) { return r.toJson(); });
    putOptional(o, kReviewedAt, reviewedAt);
    putOptional(o, kOrder, order, [](double d) { return QJsonValue(d); });
    putOptional(o, kOrderedAt, orderedAt);
    return o;
}

LocalTask LocalTask::fromJson(const QJsonObject &json)
{
    using namespace KivJSON;
    LocalTask t;
    t.id = requireUuid(json, kId);
    t.title = requireString(json, kTitle);
    t.createdAt = requireDate(json, kCreatedAt);
    t.due = optDate(json, kDue);
    t.completedAt = optDate(json, kCompletedAt);
    t.notes = optString(json, kNotes);
    // The older key is read only when the newer one is missing or null.
    const std::optional<qint64> minutes = optInt(json, kEstimateMinutes);
    if (minutes)
        t.estimateMinutes = asMinutes(minutes);
    else
        t.estimateMinutes = asMinutes(optInt(json, kEstimate), 25);
    t.isSomeday = optBool(json, kIsSomeday).value_or(false);
    t.abandonedAt = optDate(json, kAbandonedAt);
    t.isDaily = optBool(json, kIsDaily).value_or(false);
    t.isOccasional = optBool(json, kIsOccasional).value_or(false);
    if (auto days = optArray(json, kDoneDays)) {
        for (const QJsonValue &v : *days) {
            if (!v.isString())
                throw DecodeError{QStringLiteral("「{0}」の型が違います（{1}）"),
                                 {QStringLiteral("doneDays"), QStringLiteral("string")}};
            t.doneDays.append(v.toString());
        }
    }
    t.updatedAt = optDate(json, kUpdatedAt).value_or(t.createdAt);
    t.reviewedAt = optDate(json, kReviewedAt);
    t.deletedAt = optDate(json, kDeletedAt);
    t.order = optNumber(json, kOrder);
    t.orderedAt = optDate(json, kOrderedAt);
    if (auto origin = optObject(json, kOrigin))
        t.origin = TaskRef::fromJson(*origin);
    return t;
}
