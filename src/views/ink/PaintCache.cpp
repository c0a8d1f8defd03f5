#include "views/ink/PaintCache.h"

#include "core/Kiv.h"

#include <QPainter>
#include <cmath>

const QPixmap &PaintCache::pixmap(QSize size, qreal dpr, const Draw &draw, quint64 key)
{
    const int appearance = int(Kiv::appearance());
    if (!m_pixmap.isNull() && m_size == size && m_dpr == dpr && m_appearance == appearance
        && m_scale == Kiv::scale() && m_key == key)
        return m_pixmap;
    m_size = size;
    m_dpr = dpr;
    m_appearance = appearance;
    m_scale = Kiv::scale();
    m_key = key;
    if (size.isEmpty()) {
        m_pixmap = QPixmap();
        return m_pixmap;
    }
    m_pixmap = QPixmap(QSize(int(std::ceil(size.width() * dpr)), int(std::ceil(size.height() * dpr))));
    m_pixmap.setDevicePixelRatio(dpr);
    m_pixmap.fill(Qt::transparent);
    QPainter painter(&m_pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    draw(painter, QSizeF(size));
    ++m_draws;
    return m_pixmap;
}

qreal PaintCache::deviceScale(const QPainter &painter)
{
    const qreal scale = std::sqrt(std::abs(painter.deviceTransform().determinant()));
    return scale > 0 ? scale : 1.0;
}
