#include "views/tasks/DueChipLine.h"

#include "core/L.h"
#include "views/tasks/PlaceDay.h"

namespace DueChipLine {

std::vector<DueChip> of(const std::optional<QDateTime> &due, const QDateTime &now)
{
    // A due day that is neither today nor tomorrow gets a chip of its own,
    // before "today" when it has passed, after "tomorrow" when it is later.
    std::optional<QDateTime> other;
    if (due && !PlaceDay::isToday(*due, now) && !PlaceDay::isTomorrow(*due, now))
        other = due;
    const bool past = other && *other < PlaceDay::day(0, now);

    std::vector<DueChip> chips;
    if (other && past)
        chips.push_back({DueChip::Kind::earlier, PlaceDay::shortDate(*other), true});
    chips.push_back({DueChip::Kind::today, L(QStringLiteral("今日 {0}"), PlaceDay::shortDate(PlaceDay::day(0, now))),
                     due && PlaceDay::isToday(*due, now)});
    chips.push_back({DueChip::Kind::tomorrow,
                     L(QStringLiteral("明日 {0}"), PlaceDay::shortDate(PlaceDay::day(1, now))),
                     due && PlaceDay::isTomorrow(*due, now)});
    if (other && !past)
        chips.push_back({DueChip::Kind::later, PlaceDay::shortDate(*other), true});
    chips.push_back({DueChip::Kind::calendar, QString(), false});
    chips.push_back({DueChip::Kind::none, L(QStringLiteral("日を決めない")), !due});
    return chips;
}

} // namespace DueChipLine
