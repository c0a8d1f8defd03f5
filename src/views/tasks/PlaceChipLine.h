#pragma once

#include <QDateTime>
#include <QList>
#include <QString>
#include <optional>

// What the chips that place a task on days show: a today and a tomorrow
// chip, lit when the task lies on that day, and one lit chip for the other
// days it lies on from the day after tomorrow on (the earliest, and how
// many more). Computed afresh from the placed days at every refresh.
struct PlaceChipLine
{
    QDateTime today;    // the placement value of today (09:00)
    QDateTime tomorrow; // and of tomorrow
    bool todayLit = false;
    bool tomorrowLit = false;
    QString todayText;    // "今日 3/7"
    QString tomorrowText; // "明日 3/8"
    // The earliest placed day that is neither today nor tomorrow, and how
    // many such days there are (0 when there is none).
    std::optional<QDateTime> firstOther;
    int otherCount = 0;
    QString otherText; // "3/14", or "3/14 ほか2日" with three of them

    // A tap on the other-days chip with several other days opens the
    // calendar; with one it takes the task off that day.
    bool otherOpensCalendar() const { return otherCount >= 2; }

    // placed: the task's placed days from the start of today on, ascending.
    static PlaceChipLine of(const QList<QDateTime> &placed, const QDateTime &now);
};
