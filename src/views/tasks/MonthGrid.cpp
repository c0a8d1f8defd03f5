#include "views/tasks/MonthGrid.h"

#include "core/L.h"
#include "views/ink/ElidedLabel.h"
#include "views/ink/InkButton.h"
#include "views/ink/SymbolPainter.h"
#include "views/tasks/PlaceDay.h"
#include "views/tasks/PlaceMonth.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPainter>
#include <QVBoxLayout>
#include <cmath>

namespace {

// A day of the grid: its number on a filled indigo circle when marked, in a
// thin indigo ring when it is today, in ghost ink (and not clickable) when
// it cannot be picked.
class DayCell : public InkButton
{
public:
    DayCell()
    {
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        setMinimumWidth(10);
    }
    void set(const QDate &day, bool marked, bool today, bool allowed, const QString &markedDescription = {})
    {
        m_day = day;
        m_marked = marked;
        m_today = today;
        setText(QString::number(day.day()));
        setEnabled(allowed);
        setAccessibleName(PlaceDay::monthDay(day.startOfDay()));
        setAccessibleDescription(marked ? markedDescription : QString());
        update();
    }
    QDate day() const { return m_day; }
    bool isMarked() const { return m_marked; }
    QSize sizeHint() const override { return QSize(32, int(std::ceil(32 * Kiv::scale()))); }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.setRenderHint(QPainter::Antialiasing);
        const double d = 30 * Kiv::scale();
        const QRectF circle(width() / 2.0 - d / 2, height() / 2.0 - d / 2, d, d);
        if (m_marked)
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
        painter.setPen(m_marked ? Kiv::paper() : !isEnabled() ? Kiv::inkGhost() : Kiv::ink());
        const QFontMetricsF metrics(font);
        const QString text = QString::number(m_day.day());
        painter.drawText(QPointF(width() / 2.0 - metrics.horizontalAdvance(text) / 2,
                                 Kiv::baselineFor(font, height() / 2.0)),
                         text);
    }

private:
    QDate m_day;
    bool m_marked = false;
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

QDate firstOf(const QDate &day)
{
    return day.isValid() ? QDate(day.year(), day.month(), 1) : day;
}

} // namespace

MonthGrid::MonthGrid(const QString &name, QWidget *parent)
    : QWidget(parent)
    , m_month(firstOf(QDate::currentDate()))
{
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(10);

    auto *monthRow = new QHBoxLayout;
    m_back = new MonthArrow(Symbol::chevronLeft);
    m_back->setObjectName(name + QStringLiteral(".back"));
    m_back->setName(L(QStringLiteral("前の月")));
    m_forward = new MonthArrow(Symbol::chevronRight);
    m_forward->setObjectName(name + QStringLiteral(".forward"));
    m_forward->setName(L(QStringLiteral("次の月")));
    m_title = new ElidedLabel(QString(), Kiv::font(14, Kiv::Design::serif), {Kiv::Colour::ink});
    m_title->setObjectName(name + QStringLiteral(".month"));
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
        label->setObjectName(name + QStringLiteral(".weekday"));
        m_grid->addWidget(label, 0, i);
        m_grid->setColumnStretch(i, 1);
    }
    for (int day = 1; day <= 31; ++day) {
        auto *cell = new DayCell;
        cell->setObjectName(name + QStringLiteral(".day%1").arg(day));
        cell->installEventFilter(this);
        connect(cell, &InkButton::clicked, this, [this, cell] { emit dayClicked(cell->day()); });
        m_cells << cell;
    }
    column->addLayout(m_grid);
    place();
}

void MonthGrid::setEarliest(std::optional<QDate> day)
{
    m_earliest = day;
    if (m_earliest && m_month < firstOf(*m_earliest))
        setMonth(*m_earliest);
    else
        refresh();
}

void MonthGrid::setToday(const QDate &today)
{
    m_today = today;
    refresh();
}

void MonthGrid::setMarked(const QList<QDate> &days)
{
    m_marked = days;
    refresh();
}

void MonthGrid::setMarkedDescription(const QString &text)
{
    m_markedDescription = text;
    refresh();
}

void MonthGrid::setMonth(const QDate &day)
{
    QDate first = firstOf(day);
    if (!first.isValid())
        return;
    if (m_earliest && first < firstOf(*m_earliest))
        first = firstOf(*m_earliest);
    if (first == m_month)
        return;
    m_month = first;
    place();
    emit monthChanged(m_month);
}

void MonthGrid::shift(int n)
{
    setMonth(m_month.addMonths(n));
}

void MonthGrid::place()
{
    for (InkButton *cell : m_cells)
        m_grid->removeWidget(cell);
    const QList<std::optional<QDate>> cells = PlaceMonth::cells(m_month.startOfDay());
    int dayIndex = 0;
    for (int i = 0; i < cells.size(); ++i) {
        if (!cells[i])
            continue;
        auto *cell = static_cast<DayCell *>(m_cells[dayIndex++]);
        cell->set(*cells[i], false, false, true);
        m_grid->addWidget(cell, 1 + i / 7, i % 7);
        cell->show();
    }
    for (; dayIndex < m_cells.size(); ++dayIndex)
        m_cells[dayIndex]->hide();
    m_title->setText(PlaceMonth::title(m_month.startOfDay()));
    refresh();
}

void MonthGrid::refresh()
{
    for (InkButton *button : m_cells) {
        auto *cell = static_cast<DayCell *>(button);
        if (cell->isHidden())
            continue;
        const QDate day = cell->day();
        if (!day.isValid())
            continue;
        cell->set(day, m_marked.contains(day), day == m_today, !m_earliest || day >= *m_earliest, m_markedDescription);
    }
    m_back->setEnabled(!m_earliest || m_month > firstOf(*m_earliest));
}

InkButton *MonthGrid::cellOf(const QDate &day) const
{
    if (day.year() != m_month.year() || day.month() != m_month.month())
        return nullptr;
    return m_cells.value(day.day() - 1);
}

QPoint MonthGrid::positionOf(const QDate &day) const
{
    InkButton *cell = cellOf(day);
    int row = 0, column = 0, rowSpan = 0, columnSpan = 0;
    const int index = cell ? m_grid->indexOf(cell) : -1;
    if (index < 0)
        return {-1, -1};
    m_grid->getItemPosition(index, &row, &column, &rowSpan, &columnSpan);
    return {column, row - 1};
}

void MonthGrid::moveFocus(const QDate &from, int days)
{
    const QDate to = from.addDays(days);
    if (!to.isValid() || (m_earliest && to < *m_earliest))
        return;
    setMonth(to);
    if (InkButton *cell = cellOf(to))
        cell->setFocus(Qt::TabFocusReason);
}

bool MonthGrid::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    auto *cell = dynamic_cast<DayCell *>(watched);
    if (!cell || !m_cells.contains(cell))
        return false;
    auto *key = static_cast<QKeyEvent *>(event);
    if (key->modifiers() & ~Qt::KeypadModifier)
        return false;
    switch (key->key()) {
    case Qt::Key_Left: moveFocus(cell->day(), -1); return true;
    case Qt::Key_Right: moveFocus(cell->day(), 1); return true;
    case Qt::Key_Up: moveFocus(cell->day(), -7); return true;
    case Qt::Key_Down: moveFocus(cell->day(), 7); return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (cell->isEnabled()) {
            const QDate day = cell->day();
            emit dayClicked(day);
            emit dayActivated(day);
        }
        return true;
    default:
        return false;
    }
}
