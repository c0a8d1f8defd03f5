#include "views/day/UntimedPlanRow.h"

#include "core/L.h"
#include "views/day/DayStyle.h"
#include "views/ink/ElidedLabel.h"
#include "views/ink/InkButton.h"
#include "views/ink/LayoutRole.h"

#include <QBoxLayout>
#include <QHBoxLayout>
#include <QPainter>
#include <QResizeEvent>
#include <QVBoxLayout>
#include <algorithm>

UntimedPlanRow::UntimedPlanRow(const DayPlan &plan, std::function<void()> start, std::function<void()> edit,
                               QWidget *parent)
    : QWidget(parent)
    , m_plan(plan)
{
    setObjectName(QStringLiteral("day.untimedPlan"));
    // The title and the two buttons on one line where they fit; in a
    // narrow page the buttons go under the title, and one under the other
    // where even a line of their own is too short for both.
    auto *column = new QVBoxLayout(this);
    // 10 × 7 inside the card and 6 below it.
    column->setContentsMargins(10, 7, 10, 7 + 6);
    column->setSpacing(6);
    m_top = new QHBoxLayout;
    m_top->setSpacing(10);
    m_title = new ElidedLabel(plan.title, Kiv::font(13, Kiv::Design::serif), Tone{Kiv::Colour::ink}, this);
    m_title->setMaxLines(2);
    LayoutRole::setMayElide(m_title); // the task's own title, in two lines at most
    m_top->addWidget(m_title, 1);
    column->addLayout(m_top);

    m_buttons = new QWidget(this);
    m_buttonRow = new QBoxLayout(QBoxLayout::LeftToRight, m_buttons);
    m_buttonRow->setContentsMargins(0, 0, 0, 0);
    m_buttonRow->setSpacing(10);
    const QMarginsF pad(10, 4, 10, 4);
    InkButton *begin = DayStyle::button(L(QStringLiteral("これで始める")),
                                        DayStyle::filled(12, Kiv::Colour::paper, Kiv::Colour::indigo, pad),
                                        QStringLiteral("day.untimedPlan.begin"), m_buttons);
    InkButton *setTime = DayStyle::button(L(QStringLiteral("時刻を決める")),
                                          DayStyle::outlined(12, Kiv::Colour::planned, Kiv::Colour::planned, 0.45, pad),
                                          QStringLiteral("day.untimedPlan.setTime"), m_buttons);
    begin->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    setTime->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    m_buttonRow->addWidget(begin, 0, Qt::AlignRight | Qt::AlignVCenter);
    m_buttonRow->addWidget(setTime, 0, Qt::AlignRight | Qt::AlignVCenter);
    m_inLine = m_buttons->sizeHint().width();
    m_alone = std::max(begin->sizeHint().width(), setTime->sizeHint().width());
    m_top->addSpacing(8);
    m_top->addWidget(m_buttons, 0, Qt::AlignVCenter);
    connect(begin, &InkButton::clicked, this, [start] { start(); });
    connect(setTime, &InkButton::clicked, this, [edit] { edit(); });
}

QSize UntimedPlanRow::minimumSizeHint() const
{
    // Never narrower than the wider button alone.
    const QMargins m = layout()->contentsMargins();
    return {m.left() + m.right() + m_alone, QWidget::minimumSizeHint().height()};
}

void UntimedPlanRow::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    const QMargins m = layout()->contentsMargins();
    const int room = width() - m.left() - m.right();
    // Beside the title while the title keeps a third of the line.
    const bool beside = room - 18 - m_inLine >= room / 3;
    const QBoxLayout::Direction direction = !beside && room < m_inLine ? QBoxLayout::TopToBottom
                                                                        : QBoxLayout::LeftToRight;
    if (direction != m_buttonRow->direction())
        m_buttonRow->setDirection(direction);
    auto *column = static_cast<QVBoxLayout *>(layout());
    const bool isBeside = m_top->indexOf(m_buttons) >= 0;
    if (beside == isBeside)
        return;
    if (beside) {
        column->removeWidget(m_buttons);
        m_top->addSpacing(8);
        m_top->addWidget(m_buttons, 0, Qt::AlignVCenter);
    } else {
        m_top->removeWidget(m_buttons);
        delete m_top->takeAt(m_top->count() - 1); // the gap before the buttons
        column->addWidget(m_buttons, 0, Qt::AlignRight);
    }
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
