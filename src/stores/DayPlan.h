#pragma once

#include <QJsonObject>
#include <QString>
#include <QUuid>
#include <optional>

// A task (or a bare "作務" without one) placed on a day: at a start minute on
// the hour timeline when timed, on the day without a time otherwise. Minutes
// are carried as given, never checked.
struct DayPlan
{
    QUuid id = QUuid::createUuid();
    std::optional<QUuid> taskID = std::nullopt;
    bool isDaily = false;
    QString title = QString();
    int startMinutes = 0;
    int minutes = 0;
    bool timed = true;
    std::optional<QString> eventID = std::nullopt;

    bool operator==(const DayPlan &) const = default;

    QJsonObject toJson() const;
    // A missing "isDaily" reads as false and a missing "timed" as true.
    // Throws KivJSON::DecodeError.
    static DayPlan fromJson(const QJsonObject &json);
};
