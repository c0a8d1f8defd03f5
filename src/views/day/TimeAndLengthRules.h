#pragma once

#include <QList>
#include <QString>

// The rules of the start, end and length chooser: a start in minutes from
// midnight, a length in minutes and the latest end allowed. The end is
// always start + minutes. A length is never below 5 minutes, even where the
// bound would ask for less.
struct TimeAndLengthRules
{
    static constexpr int kStep = 15;
    static constexpr int kLeast = 5;
    static QList<int> chips() { return {10, 30, 60, 90, 120}; }

    int start = 0;
    int minutes = 25;
    int limit = 1440;

    int end() const { return start + minutes; }

    // The start row moves the whole block.
    bool canStartBack() const { return start >= kStep; }
    bool canStartForward() const { return start + minutes + kStep <= limit; }
    void startBack();
    void startForward();
    // The end row moves the end only.
    bool canEndBack() const { return minutes > kStep; }
    bool canEndForward() const { return start + minutes + kStep <= limit; }
    void shiftEnd(int by);

    // A time picked in the start or end picker (minutes from midnight).
    void pickStart(int minute);
    void pickEnd(int minute);

    bool chipEnabled(int n) const { return start + n <= limit; }
    bool chipChosen(int n) const { return minutes == n; }
    void chooseChip(int n);

    // "9:00 〜 9:45 ・ 45分": hours not wrapped, so an end at midnight reads 24:00.
    QString summary() const;
    // The length text of a chip.
    static QString chipText(int n);

    bool operator==(const TimeAndLengthRules &) const = default;
};
