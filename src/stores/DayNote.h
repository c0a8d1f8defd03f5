#pragma once

#include "stores/DayPlan.h"

#include <QDateTime>
#include <QJsonObject>
#include <QList>
#include <QString>
#include <optional>

// One day's page: the morning line (intention), the evening line
// (reflection), the plans placed on the day, the guide set at a sweep done
// that day and when that sweep was finished. Named by its day key
// "yyyy-MM-dd" in the device's time zone; keys compare as days.
struct DayNote
{
    QString day;
    QString intention;
    QString reflection;
    QList<DayPlan> plans;
    std::optional<QString> guide;
    std::optional<QDateTime> sweptAt;
    QDateTime updatedAt;
    std::optional<QDateTime> deletedAt;

    bool operator==(const DayNote &) const = default;

    // An empty page for the day key, changed now.
    static DayNote empty(const QString &day);

    // The key of the instant's day in the device's time zone.
    static QString key(const QDateTime &date);
    // The start of the day a key names (device time zone); nothing for a text
    // that is no key.
    static std::optional<QDateTime> dateOfKey(const QString &key);

    QList<DayPlan> timedPlans() const;
    QList<DayPlan> untimedPlans() const;

    // A copy with duplicate plans removed and updatedAt set to now, or
    // nothing when there is none to remove. A task stands at most once at a
    // start minute, at most once as a day-only plan, and not at all as a
    // day-only plan once it has a time that day; the first in stored order
    // wins. Plans without a task always stay.
    std::optional<DayNote> withoutDuplicatePlans() const;

    QJsonObject toJson() const;
    // Throws KivJSON::DecodeError.
    static DayNote fromJson(const QJsonObject &json);
};
