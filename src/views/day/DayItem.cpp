#include "views/day/DayItem.h"

#include <QFontMetricsF>
#include <QPainter>
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
    return QSize(160, int(std::ceil(h)));
}

QSize DayItem::minimumSizeHint() const
{
    return QSize(40, sizeHint().height());
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
    p.drawText(QPointF(x, Kiv::baselineFor(m_metaFont, titleLine + 1 + metaLine / 2)),
               QFontMetricsF(m_metaFont).elidedText(m_meta, Qt::ElideRight, w));
}
