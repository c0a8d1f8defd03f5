#pragma once

#include "stores/DayPlan.h"

#include <QWidget>
#include <functional>

// A plan placed on the day without a time, above the hour rows: its title
// and, always in view, "これで始める" and "時刻を決める", on a faint dashed
// card in the plan colour (the buttons under the title in a narrow page).
// The row itself takes no clicks.
class ElidedLabel;
class QBoxLayout;
class QHBoxLayout;

class UntimedPlanRow : public QWidget
{
    Q_OBJECT
public:
    UntimedPlanRow(const DayPlan &plan, std::function<void()> start, std::function<void()> edit,
                   QWidget *parent = nullptr);

    const DayPlan &plan() const { return m_plan; }

    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    DayPlan m_plan;
    ElidedLabel *m_title = nullptr;
    QHBoxLayout *m_top = nullptr;
    QWidget *m_buttons = nullptr;
    QBoxLayout *m_buttonRow = nullptr;
    int m_inLine = 0; // the buttons side by side
    int m_alone = 0;  // the wider button
};
