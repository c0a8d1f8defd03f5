#include "views/day/PlanItem.h"

#include "core/L.h"
#include "views/day/DayItemTexts.h"
#include "views/day/DayStyle.h"
#include "views/ink/ElidedLabel.h"
#include "views/ink/InkButton.h"
#include "views/ink/Popover.h"

#include <QApplication>
#include <QDrag>
#include <QKeyEvent>
#include <QMimeData>
#include <QPainter>
#include <QVBoxLayout>

PlanItem::PlanItem(const DayPlan &plan, std::function<void()> start, std::function<void()> edit, QWidget *parent)
    : DayItem(Kiv::Colour::planned, plan.title, DayItemTexts::plan(plan), false, parent)
    , m_plan(plan)
    , m_start(std::move(start))
    , m_edit(std::move(edit))
{
    setObjectName(QStringLiteral("day.plan"));
    setFocusPolicy(Qt::StrongFocus);
    setCursor(Qt::PointingHandCursor);
    setAccessibleName(plan.title);
    setAccessibleDescription(DayItemTexts::plan(plan));
}

void PlanItem::openActions()
{
    if (m_popover)
        return;
    m_popover = new Popover(this);
    auto *content = new QWidget;
    const int pad = int(14 * Kiv::scale());
    auto *column = new QVBoxLayout(content);
    column->setContentsMargins(pad, pad, pad, pad);
    column->setSpacing(10);
    content->setMinimumWidth(int(220 * Kiv::scale()));
    auto *title = new ElidedLabel(m_plan.title, Kiv::font(14, Kiv::Design::serif), Tone{Kiv::Colour::ink}, content);
    title->setMaxLines(2);
    column->addWidget(title);
    InkButton *begin = DayStyle::button(L(QStringLiteral("これで始める")),
                                        DayStyle::filled(13, Kiv::Colour::paper, Kiv::Colour::indigo,
                                                         QMarginsF(16, 7, 16, 7), Kiv::Design::serif),
                                        QStringLiteral("day.plan.begin"), content);
    InkButton *edit = DayStyle::button(L(QStringLiteral("時刻を直す")),
                                       DayStyle::outlined(13, Kiv::Colour::planned, Kiv::Colour::planned, 0.45,
                                                          QMarginsF(16, 6, 16, 6), Kiv::Design::serif),
                                       QStringLiteral("day.plan.edit"), content);
    column->addWidget(begin);
    column->addWidget(edit);
    m_popover->setContent(content);
    // Close first, then act: the action may rebuild the row this item is in.
    connect(begin, &InkButton::clicked, this, [this] {
        m_popover->close();
        m_start();
    });
    connect(edit, &InkButton::clicked, this, [this] {
        m_popover->close();
        m_edit();
    });
    connect(m_popover, &Popover::dismissed, m_popover, &QObject::deleteLater);
    m_popover->open(Qt::BottomEdge);
}

void PlanItem::mousePressEvent(QMouseEvent *event)
{
    m_pressAt = event->position().toPoint();
    m_dragged = false;
    event->accept();
}

void PlanItem::mouseMoveEvent(QMouseEvent *event)
{
    if (!m_draggable || !(event->buttons() & Qt::LeftButton) || m_dragged)
        return;
    if ((event->position().toPoint() - m_pressAt).manhattanLength() < QApplication::startDragDistance())
        return;
    m_dragged = true;
    auto *drag = new QDrag(this);
    auto *mime = new QMimeData;
    mime->setText(m_plan.id.toString(QUuid::WithoutBraces));
    drag->setMimeData(mime);
    drag->setPixmap(grab());
    drag->exec(Qt::MoveAction);
}

void PlanItem::mouseReleaseEvent(QMouseEvent *event)
{
    if (!m_dragged && event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        openActions();
    m_dragged = false;
}

void PlanItem::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Space || event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        openActions();
        return;
    }
    DayItem::keyPressEvent(event);
}

void PlanItem::paintEvent(QPaintEvent *event)
{
    DayItem::paintEvent(event);
    if (hasFocus()) {
        QPainter p(this);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(Kiv::indigo(0.6), 1.5));
        p.drawRoundedRect(QRectF(rect()).adjusted(1, 1, -1, -1), 4, 4);
    }
}
