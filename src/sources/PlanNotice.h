#pragma once

#include "stores/DayPlan.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QUuid>

// The notices of the day's timed plans: a silent one five minutes before a
// plan starts and a sounding one at its start. Pure computations; Notifier
// turns the items into requests.
class PlanNotice
{
public:
    // How long before its start a plan's advance notice is due.
    static constexpr int kAdvanceSeconds = 300;

    struct Item
    {
        QUuid planID;
        QString title; // the notice body
        QDateTime start;
        QDateTime at; // when the notice is due

        bool operator==(const Item &) const = default;
    };

    // The advance notices of the timed plans of the day of `on`, due strictly
    // after `now`, earliest first (stable). None while a round runs.
    static QList<Item> upcoming(const QList<DayPlan> &plans, const QDateTime &on, const QDateTime &now, bool running);
    // The same for the notices at the plans' starts.
    static QList<Item> arrivals(const QList<DayPlan> &plans, const QDateTime &on, const QDateTime &now, bool running);

private:
    static QList<Item> items(const QList<DayPlan> &plans, const QDateTime &on, const QDateTime &now, bool running,
                             int secondsBefore);
};
