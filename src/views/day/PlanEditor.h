#pragma once

#include "stores/DayPlan.h"
#include "views/day/DaySheet.h"

#include <functional>
#include <optional>

class TimeAndLength;

// The sheet that gives a plan of the day another time and length, or takes
// it off the day. It edits its own copy and hands the result over only on
// "これでよい"; Cancel changes nothing.
class PlanEditor : public DaySheet
{
    Q_OBJECT
public:
    using Move = std::function<void(int start, int minutes)>;
    PlanEditor(const DayPlan &plan, int limit, std::optional<int> now, Move move, std::function<void()> remove,
               QWidget *parent);

    int start() const;
    int minutes() const;

private:
    TimeAndLength *m_chooser = nullptr;
};
