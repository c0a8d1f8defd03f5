#pragma once

#include "stores/DayPlan.h"
#include "views/day/DayItem.h"
#include "views/ink/Popover.h"

#include <QPointer>
#include <functional>


// A timed plan on the timeline. A click (or Space, Return) opens a small
// popover with "これで始める" and "時刻を直す"; either closes it before its
// action runs. Changes no data itself.
class PlanItem : public DayItem
{
    Q_OBJECT
public:
    PlanItem(const DayPlan &plan, std::function<void()> start, std::function<void()> edit, QWidget *parent = nullptr);

    const DayPlan &plan() const { return m_plan; }
    // The open popover, if any.
    Popover *actions() const { return m_popover; }
    void openActions();
    // Dragged, it carries the plan's id as text (not in still pictures).
    void setDraggable(bool on) { m_draggable = on; }

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    DayPlan m_plan;
    std::function<void()> m_start;
    std::function<void()> m_edit;
    QPointer<Popover> m_popover;
    bool m_draggable = false;
    QPoint m_pressAt;
    bool m_dragged = false;
};
