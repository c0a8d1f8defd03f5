#include "views/ink/SoftShadow.h"

#include "views/ink/PaintCache.h"

#include <QImage>
#include <QPaintDevice>
#include <QPainter>
#include <cmath>
#include <vector>

namespace {
// One box pass of width 2·r + 1 along rows (horizontal) or columns.
void boxPass(QImage &image, int r, bool horizontal)
{
    if (r <= 0)
        return;
    const int w = image.width(), h = image.height();
    const int lines = horizontal ? h : w;
    const int length = horizontal ? w : h;
    std::vector<quint32> copy(static_cast<size_t>(length));
    const int window = 2 * r + 1;
    auto *bits = reinterpret_cast<quint32 *>(image.bits());
    const qsizetype stride = image.bytesPerLine() / 4;
    for (int line = 0; line < lines; ++line) {
        // Along a row the pixels are next to each other; down a column they
        // are a row apart.
        quint32 *start = horizontal ? bits + line * stride : bits + line;
        const qsizetype step = horizontal ? 1 : stride;
        auto at = [&](int i) -> quint32 & { return start[i * step]; };
        for (int i = 0; i < length; ++i)
            copy[size_t(i)] = at(i);
        int sum[4] = {0, 0, 0, 0};
        auto addPixel = [&](int i, int sign) {
            if (i < 0 || i >= length)
                return;
            const quint32 p = copy[size_t(i)];
            sum[0] += sign * int(p >> 24);
            sum[1] += sign * int((p >> 16) & 0xff);
            sum[2] += sign * int((p >> 8) & 0xff);
            sum[3] += sign * int(p & 0xff);
        };
        for (int i = -r; i <= r; ++i)
            addPixel(i, 1);
        for (int i = 0; i < length; ++i) {
            at(i) = (quint32(sum[0] / window) << 24) | (quint32(sum[1] / window) << 16)
                    | (quint32(sum[2] / window) << 8) | quint32(sum[3] / window);
            addPixel(i - r, -1);
            addPixel(i + r + 1, 1);
        }
    }
}
} // namespace

namespace SoftShadow {

void blur(QImage &image, double sigma)
{
    if (sigma <= 0 || image.isNull())
        return;
    // Three boxes of width w give a variance of 3·(w² − 1)/12 = σ².
    const int r = std::max(1, int(std::lround((std::sqrt(4.0 * sigma * sigma + 1.0) - 1.0) / 2.0)));
    for (int pass = 0; pass < 3; ++pass) {
        boxPass(image, r, true);
        boxPass(image, r, false);
    }
}

void draw(QPainter &painter, const QPainterPath &shape, const QColor &colour, double radius, QPointF offset)
{
    if (shape.isEmpty() || colour.alpha() == 0)
        return;
    const double scale = PaintCache::deviceScale(painter);
    const double pad = radius * 2 + 1;
    const QRectF bounds = shape.boundingRect().translated(offset).adjusted(-pad, -pad, pad, pad);
    const QSize pixels(int(std::ceil(bounds.width() * scale)), int(std::ceil(bounds.height() * scale)));
    if (pixels.isEmpty() || pixels.width() > 8192 || pixels.height() > 8192)
        return;
    QImage image(pixels, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter p(&image);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(scale, scale);
        p.translate(-bounds.topLeft() + offset);
        QColor opaque = colour;
        opaque.setAlpha(255);
        p.fillPath(shape, opaque);
    }
    blur(image, radius / 2.0 * scale);
    painter.save();
    painter.setOpacity(painter.opacity() * colour.alphaF());
    painter.drawImage(bounds, image);
    painter.restore();
}

} // namespace SoftShadow
