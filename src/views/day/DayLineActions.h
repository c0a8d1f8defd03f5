#pragma once

#include "stores/DayEvent.h"
#include "stores/DayPlan.h"

#include <QUuid>
#include <functional>
#include <optional>

// What the timeline's rows may ask of the page: open the place picker for
// a free stretch (deed, plan, or nullopt to let the day decide), open the
// plan editor, begin a round on a plan, move a dropped plan, delete a deed
// and open the deed editor.
struct DayLineActions
{
    std::function<void(DayLine::Opening, std::optional<bool>, int slotEnd)> place;
    std::function<void(const DayPlan &)> edit;
    std::function<void(const DayPlan &)> start;
    std::function<void(const QUuid &, int)> moveTo;
    std::function<void(const QUuid &)> removeDeed;
    // An own deed that cannot be edited asks before it is deleted.
    std::function<void(const DayDeed &)> askToRemove;
    std::function<void(const DayDeed &)> editDeed;
};
