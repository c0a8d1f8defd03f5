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
    const bool same = holds(size, dpr);
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
    if (!remember(size, dpr))
        return m_image;
    reshape(size, dpr, m_opaque ? QImage::Format_RGB32 : QImage::Format_ARGB32_Premultiplied);
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

const QImage &PaintCache::image(QSize size, qreal dpr, const Fill &fill)
{
    if (holds(size, dpr))
        return m_image;
    m_key = 0;
    if (!remember(size, dpr))
        return m_image;
    // Every pixel is written, so the image is not cleared first: on a new
    // image that would touch each page of its memory twice.
    reshape(size, dpr, QImage::Format_RGB32);
    fill(m_image, QSizeF(size), dpr);
    ++m_draws;
    return m_image;
}

bool PaintCache::holds(QSize size, qreal dpr) const
{
    return !m_image.isNull() && m_size == size && m_dpr == dpr && m_appearance == int(Kiv::appearance())
           && m_scale == Kiv::scale();
}

bool PaintCache::remember(QSize size, qreal dpr)
{
    m_size = size;
    m_dpr = dpr;
    m_appearance = int(Kiv::appearance());
    m_scale = Kiv::scale();
    if (size.isEmpty())
        m_image = QImage();
    return !size.isEmpty();
}

void PaintCache::reshape(QSize size, qreal dpr, QImage::Format format)
{
    // A layer drawn anew at the same size keeps its pixels' memory.
    const QSize pixels(int(std::ceil(size.width() * dpr)), int(std::ceil(size.height() * dpr)));
    if (m_image.size() != pixels || m_image.format() != format)
        m_image = QImage(pixels, format);
    m_image.setDevicePixelRatio(dpr);
}

qreal PaintCache::deviceScale(const QPainter &painter)
{
    const qreal scale = std::sqrt(std::abs(painter.deviceTransform().determinant()));
    return scale > 0 ? scale : 1.0;
}
