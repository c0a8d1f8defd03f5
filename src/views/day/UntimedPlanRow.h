#pragma once

#include "stores/DayPlan.h"

#include <QWidget>
#include <functional>

// A plan placed on the day without a time, above the hour rows: its title
// and, always in view, "これで始める" and "時刻を決める", on a faint dashed
// card in the plan colour. The row itself takes no clicks.
class UntimedPlanRow : public QWidget
{
    Q_OBJECT
public:
    UntimedPlanRow(const DayPlan &plan, std::function<void()> start, std::function<void()> edit,
                   QWidget *parent = nullptr);

    const DayPlan &plan() const { return m_plan; }

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    DayPlan m_plan;
};
