#pragma once

#include <QWidget>

// The timeline's legend: a bar in the plan colour with "予定", a bar in the
// deed colour with "したこと".
class DayLegend : public QWidget
{
    Q_OBJECT
public:
    explicit DayLegend(QWidget *parent = nullptr);
};
