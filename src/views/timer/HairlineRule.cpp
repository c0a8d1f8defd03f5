#include "views/timer/HairlineRule.h"

#include "core/Kiv.h"

#include <QPainter>

HairlineRule::HairlineRule(QWidget *parent)
    : QWidget(parent)
{
    setFixedHeight(1);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

void HairlineRule::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), Kiv::hairline());
}
