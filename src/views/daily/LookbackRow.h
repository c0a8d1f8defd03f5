#pragma once

#include "stores/Lookback.h"

#include <QWidget>

// One title of the look-back: the title on one line over a thin bar in the
// colour of what was done, as long as the title's share of all the minutes.
class LookbackRow : public QWidget
{
    Q_OBJECT
public:
    LookbackRow(const Lookback::Line &line, int totalMinutes, QWidget *parent = nullptr);

    // The bar's width at the row's width.
    double barWidth() const;

private:
    Lookback::Line m_line;
    int m_total;
    QWidget *m_bar = nullptr;
};
