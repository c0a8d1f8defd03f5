#pragma once

#include "core/Models.h"

#include <QDateTime>
#include <QJsonObject>
#include <QString>
#include <QStringList>
#include <QUuid>
#include <optional>

// One task of the program's own list: a one-off task, a daily practice or an
// occasional practice. Its state is read from which of its dates are set:
// open (neither completedAt nor abandonedAt, not daily), a practice on the
// shelf (daily, neither date), done, set aside, deleted (a tombstone).
struct LocalTask
{
    QUuid id;
    QString title;
    std::optional<QDateTime> due;
    QDateTime createdAt;
    std::optional<QDateTime> completedAt;
    std::optional<QString> notes;
    std::optional<int> estimateMinutes;
    bool isSomeday = false;
    std::optional<QDateTime> abandonedAt;
    bool isDaily = false;
    bool isOccasional = false;
    // "yyyy-MM-dd" keys of the days a practice was marked done, ascending.
    QStringList doneDays;
    QDateTime updatedAt;
    std::optional<QDateTime> reviewedAt;
    std::optional<QDateTime> deletedAt;
    // The position from the last manual reordering (0, 1, 2, ...).
    std::optional<double> order;
    std::optional<QDateTime> orderedAt;
    // The task this one was copied from in another source.
    std::optional<TaskRef> origin;

    bool operator==(const LocalTask &) const = default;

    bool isAbandoned() const { return abandonedAt.has_value(); }

    // A new task: a fresh id, made and changed now, everything else empty.
    static LocalTask create(const QString &title, const std::optional<QDateTime> &due = std::nullopt);

    QJsonObject toJson() const;
    // Reads leniently: flags, done days and updatedAt may be missing (older
    // files), and the older "estimate" in units of 25 minutes stands in for a
    // missing "estimateMinutes". Throws KivJSON::DecodeError on a missing id,
    // title or creation time and on any value of the wrong type.
    static LocalTask fromJson(const QJsonObject &json);
};
