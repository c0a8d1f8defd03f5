#include "views/tasks/PlaceCalendar.h"

#include "core/L.h"
#include "model/AppModel.h"
#include "platform/time/Clock.h"
#include "stores/DayMath.h"
#include "stores/DayNoteStore.h"
#include "views/ink/ElidedLabel.h"
#include "views/ink/InkButton.h"
#include "views/ink/SymbolPainter.h"
#include "views/ink/TextBlock.h"
#include "views/tasks/PlaceDay.h"
#include "views/tasks/PlaceMonth.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPainter>
#include <QVBoxLayout>

namespace {

// A day of the grid: its number on a filled indigo circle when the task
// lies on it, in a thin indigo ring when it is today, in ghost ink (and
// not clickable) when it has passed.
class DayCell : public InkButton
{
public:
    DayCell()
    {
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        setMinimumWidth(10);
    }
    void set(const QDate &day, bool placed, bool today, bool past)
    {
        m_day = day;
        m_placed = placed;
        m_today = today;
        setText(QString::number(day.day()));
        setEnabled(!past);
        setAccessibleName(PlaceDay::monthDay(day.startOfDay()));
        setAccessibleDescription(placed ? L(QStringLiteral("置いています")) : QString());
        update();
    }
    QDate day() const { return m_day; }
    bool isPlaced() const { return m_placed; }
    QSize sizeHint() const override { return QSize(32, int(std::ceil(32 * Kiv::scale()))); }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        const double d = 30 * Kiv::scale();
        const QRectF circle(width() / 2.0 - d / 2, height() / 2.0 - d / 2, d, d);
        if (m_placed)
            painter.setBrush(Kiv::indigo()), painter.setPen(Qt::NoPen), painter.drawEllipse(circle);
        else if (m_today)
            painter.setBrush(Qt::NoBrush), painter.setPen(QPen(Kiv::indigo(), 1)),
                painter.drawEllipse(circle.adjusted(0.5, 0.5, -0.5, -0.5));
        if (showsFocusRing()) {
            painter.setBrush(Qt::NoBrush);
            painter.setPen(QPen(Kiv::indigo(0.6), 2));
            painter.drawEllipse(circle.adjusted(-1, -1, 1, 1));
        }
        const QFont font = Kiv::font(13);
        painter.setFont(font);
        painter.setPen(m_placed ? Kiv::paper() : !isEnabled() ? Kiv::inkGhost() : Kiv::ink());
        const QFontMetricsF metrics(font);
        const QString text = QString::number(m_day.day());
        painter.drawText(QPointF(width() / 2.0 - metrics.horizontalAdvance(text) / 2,
                                 Kiv::baselineFor(font, height() / 2.0)),
                         text);
    }

private:
    QDate m_day;
    bool m_placed = false;
    bool m_today = false;
};

// A month arrow: a chevron in soft ink, ghost ink while it cannot be used.
class MonthArrow : public InkButton
{
public:
    explicit MonthArrow(Symbol symbol)
        : m_symbol(symbol)
    {
        setFixedSize(32, 28);
    }
    QSize sizeHint() const override { return QSize(32, 28); }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        const QSizeF side = SymbolPainter::size(12 * Kiv::scale());
        const QRectF r(width() / 2.0 - side.width() / 2, height() / 2.0 - side.height() / 2, side.width(),
                       side.height());
        SymbolPainter::paint(painter, r, m_symbol, isEnabled() ? Kiv::inkSoft() : Kiv::inkGhost());
        if (showsFocusRing()) {
            painter.setPen(QPen(Kiv::indigo(0.6), 2));
            painter.drawRoundedRect(QRectF(rect()).adjusted(1, 1, -1, -1), 6, 6);
        }
    }

private:
    Symbol m_symbol;
};

} // namespace

PlaceCalendar::PlaceCalendar(const ViewContext &context, const LocalTask &task, QWidget *parent)
    : QWidget(parent)
    , m_context(context)
    , m_task(task)
    , m_month(PlaceMonth::firstOfMonth(Clock::current().now()))
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

    auto *monthRow = new QHBoxLayout;
    m_back = new MonthArrow(Symbol::chevronLeft);
    m_back->setObjectName(QStringLiteral("tasks.placeCalendar.back"));
    m_back->setName(L(QStringLiteral("前の月")));
    m_forward = new MonthArrow(Symbol::chevronRight);
    m_forward->setObjectName(QStringLiteral("tasks.placeCalendar.forward"));
    m_forward->setName(L(QStringLiteral("次の月")));
    m_title = new ElidedLabel(QString(), Kiv::font(14, Kiv::Design::serif), {Kiv::Colour::ink});
    m_title->setObjectName(QStringLiteral("tasks.placeCalendar.month"));
    m_title->setAlignment(Qt::AlignCenter);
    monthRow->addWidget(m_back);
    monthRow->addWidget(m_title, 1);
    monthRow->addWidget(m_forward);
    column->addLayout(monthRow);
    connect(m_back, &InkButton::clicked, this, [this] { shift(-1); });
    connect(m_forward, &InkButton::clicked, this, [this] { shift(1); });

    m_grid = new QGridLayout;
    m_grid->setHorizontalSpacing(2);
    m_grid->setVerticalSpacing(4);
    const QStringList weekdays = PlaceMonth::weekdays();
    for (int i = 0; i < weekdays.size() && i < 7; ++i) {
        auto *label = new ElidedLabel(weekdays[i], Kiv::font(10), {Kiv::Colour::inkFaint});
        label->setAlignment(Qt::AlignCenter);
        label->setObjectName(QStringLiteral("tasks.placeCalendar.weekday"));
        m_grid->addWidget(label, 0, i);
        m_grid->setColumnStretch(i, 1);
    }
    for (int day = 1; day <= 31; ++day) {
        auto *cell = new DayCell;
        cell->setObjectName(QStringLiteral("tasks.placeCalendar.day%1").arg(day));
        connect(cell, &InkButton::clicked, this, [this, cell] { tap(cell->day()); });
        m_cells << cell;
    }
    column->addLayout(m_grid);

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

    place();
    if (m_context.model)
        connect(&m_context.model->days(), &DayNoteStore::changed, this, &PlaceCalendar::refresh);
    refresh();
}

void PlaceCalendar::setTask(const LocalTask &task)
{
    m_task = task;
    refresh();
}

void PlaceCalendar::shift(int n)
{
    const QDateTime next = PlaceMonth::shift(m_month, n);
    if (n < 0 && next < PlaceMonth::firstOfMonth(Clock::current().now()))
        return;
    m_month = next;
    place();
    refresh();
}

void PlaceCalendar::place()
{
    for (InkButton *cell : m_cells)
        m_grid->removeWidget(cell);
    const QList<std::optional<QDate>> cells = PlaceMonth::cells(m_month);
    int dayIndex = 0;
    for (int i = 0; i < cells.size(); ++i) {
        if (!cells[i])
            continue;
        auto *cell = static_cast<DayCell *>(m_cells[dayIndex++]);
        cell->set(*cells[i], false, false, false);
        m_grid->addWidget(cell, 1 + i / 7, i % 7);
        cell->show();
    }
    for (; dayIndex < m_cells.size(); ++dayIndex)
        m_cells[dayIndex]->hide();
    m_title->setText(PlaceMonth::title(m_month));
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
    for (InkButton *button : m_cells) {
        auto *cell = static_cast<DayCell *>(button);
        if (cell->isHidden())
            continue;
        const QDate day = cell->day();
        if (!day.isValid())
            continue;
        cell->set(day, placed.contains(day), day == today, day < today);
    }
    m_back->setEnabled(PlaceMonth::canGoBack(m_month, now));
}

void PlaceCalendar::tap(const QDate &day)
{
    if (!m_context.model || day < DayMath::dateIn(Clock::current().now()))
        return;
    const QDateTime time = PlaceDay::of(day.startOfDay());
    auto *cell = cellOf(day);
    if (cell && static_cast<DayCell *>(cell)->isPlaced())
        m_context.model->unplace(m_task.id, time);
    else
        m_context.model->placeOnDay(m_task, time);
}

InkButton *PlaceCalendar::cellOf(const QDate &day) const
{
    if (day.year() != DayMath::dateIn(m_month).year() || day.month() != DayMath::dateIn(m_month).month())
        return nullptr;
    return m_cells.value(day.day() - 1);
}

QPoint PlaceCalendar::positionOf(const QDate &day) const
{
    InkButton *cell = cellOf(day);
    int row = 0, column = 0, rowSpan = 0, columnSpan = 0;
    const int index = cell ? m_grid->indexOf(cell) : -1;
    if (index < 0)
        return {-1, -1};
    m_grid->getItemPosition(index, &row, &column, &rowSpan, &columnSpan);
    return {column, row - 1};
}

void PlaceCalendar::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        emit closeRequested();
        return;
    }
    QWidget::keyPressEvent(event);
}
