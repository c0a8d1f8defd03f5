#include "views/ink/PaintCache.h"

#include "core/Kiv.h"

#include <QPainter>
#include <cmath>

const QImage &PaintCache::image(QSize size, qreal dpr, const Draw &draw, quint64 key)
{
    return image(size, dpr, draw, key, QRegion());
}

const QImage &PaintCache::image(QSize size, qreal dpr, const Draw &draw, quint64 key, const QRegion &changed)
{
    const int appearance = int(Kiv::appearance());
    const bool same = !m_image.isNull() && m_size == size && m_dpr == dpr && m_appearance == appearance
                      && m_scale == Kiv::scale();
    if (same && m_key == key)
        return m_image;
    m_key = key;
    if (same && !changed.isEmpty()) {
        QPainter painter(&m_image);
        if (dpr < 1)
            painter.scale(dpr, dpr);
        const qreal ratio = dpr < 1 ? dpr : m_image.devicePixelRatio();
        painter.setRenderHint(QPainter::Antialiasing);
        for (const QRect &r : changed) {
            // The part in whole device pixels, cleared and drawn again
            // clipped to exactly those pixels.
            const QRect pixels = QRectF(QRectF(r).topLeft() * dpr, QSizeF(r.size()) * dpr).toAlignedRect()
                                 & QRect(QPoint(0, 0), m_image.size());
            if (pixels.isEmpty())
                continue;
            const QRectF part(QPointF(pixels.topLeft()) / ratio, QSizeF(pixels.size()) / ratio);
            painter.save();
            painter.setCompositionMode(QPainter::CompositionMode_Source);
            painter.fillRect(part, m_opaque ? Qt::black : Qt::transparent);
            painter.setCompositionMode(QPainter::CompositionMode_SourceOver);
            painter.setClipRect(part);
            draw(painter, QSizeF(size));
            painter.restore();
        }
        painter.end();
        ++m_draws;
        return m_image;
    }
    m_size = size;
    m_dpr = dpr;
    m_appearance = appearance;
    m_scale = Kiv::scale();
    if (size.isEmpty()) {
        m_image = QImage();
        return m_image;
    }
    // A layer drawn anew at the same size keeps its pixels' memory.
    const QSize pixels(int(std::ceil(size.width() * dpr)), int(std::ceil(size.height() * dpr)));
    const QImage::Format format = m_opaque ? QImage::Format_RGB32 : QImage::Format_ARGB32_Premultiplied;
    if (m_image.size() != pixels || m_image.format() != format)
        m_image = QImage(pixels, format);
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
