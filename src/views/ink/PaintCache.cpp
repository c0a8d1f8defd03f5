#include "views/ink/PaintCache.h"

#include "core/Kiv.h"

#include <QPainter>
#include <cmath>

const QImage &PaintCache::image(QSize size, qreal dpr, const Draw &draw, quint64 key)
{
    const int appearance = int(Kiv::appearance());
    if (!m_image.isNull() && m_size == size && m_dpr == dpr && m_appearance == appearance
        && m_scale == Kiv::scale() && m_key == key)
        return m_image;
    m_size = size;
    m_dpr = dpr;
    m_appearance = appearance;
    m_scale = Kiv::scale();
    m_key = key;
    if (size.isEmpty()) {
        m_image = QImage();
        return m_image;
    }
    m_image = QImage(QSize(int(std::ceil(size.width() * dpr)), int(std::ceil(size.height() * dpr))),
                     m_opaque ? QImage::Format_RGB32 : QImage::Format_ARGB32_Premultiplied);
    m_image.setDevicePixelRatio(dpr);
    m_image.fill(m_opaque ? Qt::black : Qt::transparent);
    QPainter painter(&m_image);
    // A painter takes an image's ratio only from 1 up: a layer for a
    // drawing shown smaller than its own size is scaled down by hand.
    if (dpr < 1)
        painter.scale(dpr, dpr);
    painter.setRenderHint(QPainter::Antialiasing);
    draw(painter, QSizeF(size));
    painter.end();
    ++m_draws;
    return m_image;
}

qreal PaintCache::deviceScale(const QPainter &painter)
{
    const qreal scale = std::sqrt(std::abs(painter.deviceTransform().determinant()));
    return scale > 0 ? scale : 1.0;
}
