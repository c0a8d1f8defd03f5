#include "views/day/DayItem.h"

#include "core/LineBreaker.h"

#include <QFontMetricsF>
#include <QPainter>
#include <algorithm>
#include <cmath>

namespace {
constexpr double kBar = 3;
constexpr double kGap = 8;
} // namespace

DayItem::DayItem(Kiv::Colour colour, const QString &title, const QString &meta, bool dimmed, QWidget *parent)
    : QWidget(parent)
    , m_colour(colour)
    , m_title(title)
    , m_meta(meta)
    , m_dimmed(dimmed)
    , m_titleFont(Kiv::font(13, Kiv::Design::serif))
    , m_metaFont(Kiv::font(10))
{
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setAccessibleName(title);
    setAccessibleDescription(meta);
}

QSize DayItem::sizeHint() const
{
    const double h = Kiv::lineHeight(m_titleFont) + 1 + Kiv::lineHeight(m_metaFont);
    return QSize(160, std::max(int(std::ceil(h)), m_laidOutHeight));
}

QSize DayItem::minimumSizeHint() const
{
    return QSize(40, sizeHint().height());
}


QStringList DayItem::metaLinesAt(int width) const
{
    if (width != m_metaWidth) {
        m_metaWidth = width;
        const double w = std::max(1.0, width - kBar - kGap);
        // Most meta lines fit on one: set them without breaking.
        if (QFontMetricsF(m_metaFont).horizontalAdvance(m_meta) <= w)
            m_metaLines = QStringList{m_meta};
        else
            m_metaLines = LineBreaker::lines(m_meta, m_metaFont, w);
    }
    return m_metaLines;
}

int DayItem::heightForWidth(int width) const
{
    const double lines = double(std::max<qsizetype>(1, metaLinesAt(width).size()));
    return int(std::ceil(Kiv::lineHeight(m_titleFont) + 1 + lines * Kiv::lineHeight(m_metaFont)));
}

void DayItem::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    // A meta line that wraps at the new width asks for the height it needs.
    const int needed = heightForWidth(width());
    if (needed != m_laidOutHeight) {
        m_laidOutHeight = needed;
        updateGeometry();
    }
}

void DayItem::paintEvent(QPaintEvent *)
{
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(Kiv::colour(m_colour));
    p.drawRoundedRect(QRectF(0, 0, kBar, height()), 1.5, 1.5);

    const double x = kBar + kGap;
    const double w = std::max(0.0, width() - x);
    const double titleLine = Kiv::lineHeight(m_titleFont);
    const double metaLine = Kiv::lineHeight(m_metaFont);
    p.setFont(m_titleFont);
    p.setPen(m_dimmed ? Kiv::inkFaint() : Kiv::ink());
    p.drawText(QPointF(x, Kiv::baselineFor(m_titleFont, titleLine / 2)),
               QFontMetricsF(m_titleFont).elidedText(m_title, Qt::ElideRight, w));
    p.setFont(m_metaFont);
    p.setPen(Kiv::colour(m_colour));
    double y = titleLine + 1;
    for (const QString &line : metaLinesAt(width())) {
        p.drawText(QPointF(x, Kiv::baselineFor(m_metaFont, y + metaLine / 2)), line);
        y += metaLine;
    }
}
