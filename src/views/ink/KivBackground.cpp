#include "views/ink/KivBackground.h"

#include "core/Kiv.h"

#include <QLinearGradient>
#include <QPaintEvent>
#include <QPainter>
#include <QRadialGradient>

KivBackground::KivBackground(QWidget *parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void KivBackground::draw(QPainter &painter, QSizeF size)
{
    const QRectF area(QPointF(0, 0), size);
    painter.fillRect(area, Kiv::paper());

    // The glow: a circle of 420 px around a point 8 % down the centre line,
    // whatever the shape of the area.
    QRadialGradient glow(QPointF(size.width() * 0.5, size.height() * 0.08), 420);
    glow.setColorAt(0, Kiv::paperRaised(0.9));
    glow.setColorAt(1, Kiv::paperRaised(0));
    painter.fillRect(area, glow);

    // The shade: nothing in the upper half, growing evenly to 4.5 % ink at
    // the bottom edge. It fades from the ink itself made clear, so it never
    // passes through another colour.
    QLinearGradient shade(QPointF(0, size.height() * 0.5), QPointF(0, size.height()));
    shade.setColorAt(0, Kiv::ink(0));
    shade.setColorAt(1, Kiv::ink(0.045));
    painter.fillRect(area, shade);
}

void KivBackground::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    const QPixmap &layer = m_cache.pixmap(size(), PaintCache::deviceScale(painter), &KivBackground::draw);
    const QRectF target(event->rect());
    const double dpr = layer.devicePixelRatio();
    painter.drawPixmap(target, layer, QRectF(target.topLeft() * dpr, target.size() * dpr));
}
