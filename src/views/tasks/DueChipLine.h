#pragma once

#include <QDateTime>
#include <QList>
#include <QString>
#include <optional>
#include <vector>

// The chips that give a local task its due date, in their order: a past
// due day first, then today and tomorrow, a later due day, the calendar
// chip and "no date". Exactly one of them is lit for any due date; none of
// them toggles (the lit today chip stores today again).
struct DueChip
{
    enum class Kind { earlier, today, tomorrow, later, calendar, none };
    Kind kind = Kind::today;
    QString text; // empty for the calendar chip (a symbol)
    bool lit = false;

    bool operator==(const DueChip &) const = default;
};

namespace DueChipLine {
std::vector<DueChip> of(const std::optional<QDateTime> &due, const QDateTime &now);
}
