#include "views/daily/LookbackRow.h"

#include "views/daily/SweepFlow.h"
#include "views/ink/ElidedLabel.h"

#include <QPainter>
#include <QVBoxLayout>

namespace {
// The bar: a 2-point strip filled from the leading edge.
class Bar : public QWidget
{
public:
    Bar(const LookbackRow *row, QWidget *parent)
        : QWidget(parent)
        , m_row(row)
    {
        setFixedHeight(2);
        setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        const double w = m_row->barWidth();
        const bool rtl = layoutDirection() == Qt::RightToLeft;
        painter.fillRect(QRectF(rtl ? width() - w : 0, 0, w, height()), Kiv::actual(0.55));
    }

private:
    const LookbackRow *m_row;
};
} // namespace

LookbackRow::LookbackRow(const Lookback::Line &line, int totalMinutes, QWidget *parent)
    : QWidget(parent)
    , m_line(line)
    , m_total(totalMinutes)
{
    setObjectName(QStringLiteral("sweep.lookbackRow"));
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(4);
    auto *title = new ElidedLabel(line.title, Kiv::font(13, Kiv::Design::serif), {Kiv::Colour::ink}, this);
    column->addWidget(title);
    m_bar = new Bar(this, this);
    column->addWidget(m_bar);
}

double LookbackRow::barWidth() const
{
    return SweepFlow::barWidth(m_line.minutes, m_total, m_bar->width());
}
