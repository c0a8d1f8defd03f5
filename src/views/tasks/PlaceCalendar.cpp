#include "views/tasks/PlaceCalendar.h"

#include "core/L.h"
#include "model/AppModel.h"
#include "platform/time/Clock.h"
#include "stores/DayMath.h"
#include "stores/DayNoteStore.h"
#include "views/ink/ElidedLabel.h"
#include "views/ink/InkButton.h"
#include "views/ink/TextBlock.h"
#include "views/tasks/MonthGrid.h"
#include "views/tasks/PlaceDay.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QVBoxLayout>


PlaceCalendar::PlaceCalendar(const ViewContext &context, const LocalTask &task, QWidget *parent)
    : QWidget(parent)
    , m_context(context)
    , m_task(task)
{
    setObjectName(QStringLiteral("tasks.placeCalendar"));
    setFocusPolicy(Qt::StrongFocus);
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(10);

    auto *heading = new QHBoxLayout;
    auto *title = new ElidedLabel(L(QStringLiteral("どの日に置く")), Kiv::tracked(Kiv::font(12), 2.0, 0.24),
                                  {Kiv::Colour::inkSoft});
    m_count = new ElidedLabel(QString(), Kiv::font(10), {Kiv::Colour::inkFaint});
    m_count->setObjectName(QStringLiteral("tasks.placeCalendar.count"));
    m_count->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    heading->addWidget(title, 1);
    heading->addWidget(m_count);
    column->addLayout(heading);

    m_grid = new MonthGrid(QStringLiteral("tasks.placeCalendar"));
    m_grid->setMarkedDescription(L(QStringLiteral("置いています")));
    m_grid->setMonth(DayMath::dateIn(Clock::current().now()));
    connect(m_grid, &MonthGrid::dayClicked, this, &PlaceCalendar::tap);
    connect(m_grid, &MonthGrid::monthChanged, this, &PlaceCalendar::refresh);
    column->addWidget(m_grid);

    auto *hint = new TextBlock(L(QStringLiteral("押すと置き、もう一度押すと外します。時刻は一日の頁で。")),
                               Kiv::font(10), {Kiv::Colour::inkFaint});
    column->addWidget(hint);

    auto *footer = new QHBoxLayout;
    footer->addStretch(1);
    auto *close = new InkButton(L(QStringLiteral("閉じる")),
                                InkLook::plain(Kiv::font(13, Kiv::Design::serif), {Kiv::Colour::indigo},
                                               {Kiv::Colour::indigo}));
    close->setObjectName(QStringLiteral("tasks.placeCalendar.close"));
    connect(close, &InkButton::clicked, this, &PlaceCalendar::closeRequested);
    footer->addWidget(close);
    column->addLayout(footer);

    if (m_context.model)
        connect(&m_context.model->days(), &DayNoteStore::changed, this, &PlaceCalendar::refresh);
    refresh();
}

void PlaceCalendar::setTask(const LocalTask &task)
{
    m_task = task;
    refresh();
}

QDateTime PlaceCalendar::month() const
{
    return m_grid->month().startOfDay();
}

void PlaceCalendar::shift(int n)
{
    m_grid->shift(n);
}

void PlaceCalendar::refresh()
{
    const QDateTime now = Clock::current().now();
    QList<QDate> placed;
    if (m_context.model)
        for (const QDateTime &d : m_context.model->placedDays(m_task.id, now))
            placed << DayMath::dateIn(d);
    m_count->setText(placed.isEmpty() ? QString() : L(QStringLiteral("{0}日に置いています"), placed.size()));
    const QDate today = DayMath::dateIn(now);
    // Never a month or a day before today's.
    m_grid->setEarliest(today);
    m_grid->setToday(today);
    m_grid->setMarked(placed);
}

void PlaceCalendar::tap(const QDate &day)
{
    if (!m_context.model || day < DayMath::dateIn(Clock::current().now()))
        return;
    const QDateTime time = PlaceDay::of(day.startOfDay());
    const QDateTime now = Clock::current().now();
    QList<QDate> placed;
    for (const QDateTime &d : m_context.model->placedDays(m_task.id, now))
        placed << DayMath::dateIn(d);
    if (placed.contains(day))
        m_context.model->unplace(m_task.id, time);
    else
        m_context.model->placeOnDay(m_task, time);
}

InkButton *PlaceCalendar::cellOf(const QDate &day) const
{
    return m_grid->cellOf(day);
}

QPoint PlaceCalendar::positionOf(const QDate &day) const
{
    return m_grid->positionOf(day);
}

void PlaceCalendar::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        emit closeRequested();
        return;
    }
    QWidget::keyPressEvent(event);
}
