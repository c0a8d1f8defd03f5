#include "views/day/UntimedPlanRow.h"

#include "core/L.h"
#include "views/day/DayStyle.h"
#include "views/ink/ElidedLabel.h"
#include "views/ink/InkButton.h"

#include <QHBoxLayout>
#include <QPainter>

UntimedPlanRow::UntimedPlanRow(const DayPlan &plan, std::function<void()> start, std::function<void()> edit,
                               QWidget *parent)
    : QWidget(parent)
    , m_plan(plan)
{
    setObjectName(QStringLiteral("day.untimedPlan"));
    auto *row = new QHBoxLayout(this);
    // 10 × 7 inside the card and 6 below it.
    row->setContentsMargins(10, 7, 10, 7 + 6);
    row->setSpacing(10);
    auto *title = new ElidedLabel(plan.title, Kiv::font(13, Kiv::Design::serif), Tone{Kiv::Colour::ink}, this);
    title->setMaxLines(2);
    row->addWidget(title, 1);
    row->addSpacing(8);
    const QMarginsF pad(10, 4, 10, 4);
    InkButton *begin = DayStyle::button(L(QStringLiteral("これで始める")),
                                        DayStyle::filled(12, Kiv::Colour::paper, Kiv::Colour::indigo, pad),
                                        QStringLiteral("day.untimedPlan.begin"), this);
    InkButton *setTime = DayStyle::button(L(QStringLiteral("時刻を決める")),
                                          DayStyle::outlined(12, Kiv::Colour::planned, Kiv::Colour::planned, 0.45, pad),
                                          QStringLiteral("day.untimedPlan.setTime"), this);
    begin->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setTime->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    row->addWidget(begin, 0, Qt::AlignVCenter);
    row->addWidget(setTime, 0, Qt::AlignVCenter);
    connect(begin, &InkButton::clicked, this, [start] { start(); });
    connect(setTime, &InkButton::clicked, this, [edit] { edit(); });
}

void UntimedPlanRow::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF card = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -6.5);
    p.setPen(Qt::NoPen);
    p.setBrush(Kiv::planned(0.05));
    p.drawRoundedRect(card, 8, 8);
    QPen dash(Kiv::planned(0.3), 1);
    dash.setDashPattern({3, 3});
    p.setPen(dash);
    p.setBrush(Qt::NoBrush);
    p.drawRoundedRect(card, 8, 8);
}
