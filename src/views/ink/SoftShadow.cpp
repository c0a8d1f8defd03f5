#include "views/ink/SoftShadow.h"

#include "views/ink/PaintCache.h"

#include <QImage>
#include <QPaintDevice>
#include <QPainter>
#include <cmath>
#include <vector>

namespace {
// The mean of a window of `window` pixels summing to `sum`, rounded down:
// as a multiplication by `reciprocal` (2²⁴ / window, rounded up), exact
// while 255 · window² < 2²⁴, that is for windows under 256 pixels.
struct Mean
{
    explicit Mean(int window)
        : window(window)
        , exact(window < 256)
        , reciprocal(((quint64(1) << 24) + quint64(window) - 1) / quint64(window))
    {
    }
    uchar operator()(quint32 sum) const
    {
        return uchar(exact ? (quint64(sum) * reciprocal) >> 24 : sum / quint32(window));
    }
    int window;
    bool exact;
    quint64 reciprocal;
};

// One box pass of width 2·r + 1 along the rows of an 8-bit coverage mask:
// each pixel becomes the mean of the window around it (rounded down),
// pixels beyond the edge counting as uncovered.
void rowPass(QImage &mask, int r)
{
    const int w = mask.width(), h = mask.height();
    const int window = 2 * r + 1;
    const Mean mean(window);
    // The row as it was, with r uncovered pixels before it and r + 1 after
    // (the last step reads one past the last window).
    std::vector<quint32> padded(size_t(w + 2 * r + 1), 0);
    for (int y = 0; y < h; ++y) {
        uchar *line = mask.scanLine(y);
        for (int x = 0; x < w; ++x)
            padded[size_t(x + r)] = line[x];
        quint32 sum = 0;
        for (int i = 0; i < window; ++i)
            sum += padded[size_t(i)];
        // The window moves on by what enters less what leaves: one addition
        // from one pixel's sum to the next.
        for (int x = 0; x < w; ++x) {
            line[x] = mean(sum);
            sum += padded[size_t(x + window)] - padded[size_t(x)];
        }
    }
}

// The same down the columns. The columns are summed side by side, row by
// row, so the pass reads and writes the mask along its rows: a column at a
// time would step a whole row for every pixel.
void columnPass(QImage &mask, int r)
{
    const int w = mask.width(), h = mask.height();
    const Mean mean(2 * r + 1);
    // The rows as they were: a row leaves the window after it is written.
    const QImage source = mask.copy();
    std::vector<quint32> sums(size_t(w), 0);
    for (int y = 0; y < std::min(r, h); ++y) {
        const uchar *in = source.constScanLine(y);
        for (int x = 0; x < w; ++x)
            sums[size_t(x)] += in[x];
    }
    for (int y = 0; y < h; ++y) {
        if (y + r < h) {
            const uchar *in = source.constScanLine(y + r);
            for (int x = 0; x < w; ++x)
                sums[size_t(x)] += in[x];
        }
        uchar *out = mask.scanLine(y);
        for (int x = 0; x < w; ++x)
            out[x] = mean(sums[size_t(x)]);
        if (y - r >= 0) {
            const uchar *in = source.constScanLine(y - r);
            for (int x = 0; x < w; ++x)
                sums[size_t(x)] -= in[x];
        }
    }
}
} // namespace

namespace SoftShadow {

void blur(QImage &image, double sigma)
{
    if (sigma <= 0 || image.isNull() || image.format() != QImage::Format_Alpha8)
        return;
    // Three boxes of width w give a variance of 3·(w² − 1)/12 = σ².
    const int r = std::max(1, int(std::lround((std::sqrt(4.0 * sigma * sigma + 1.0) - 1.0) / 2.0)));
    for (int pass = 0; pass < 3; ++pass) {
        rowPass(image, r);
        columnPass(image, r);
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
    // The shape's coverage is blurred alone, then coloured: the shadow is
    // one colour, so its four channels would blur alike.
    QImage mask(pixels, QImage::Format_Alpha8);
    mask.fill(0);
    {
        QPainter p(&mask);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(scale, scale);
        p.translate(-bounds.topLeft() + offset);
        p.fillPath(shape, Qt::black);
    }
    blur(mask, radius / 2.0 * scale);
    QImage image(pixels, QImage::Format_ARGB32_Premultiplied);
    // The colour at each of the 256 levels of coverage, looked up per pixel.
    const QRgb rgb = colour.rgb();
    QRgb levels[256];
    for (int a = 0; a < 256; ++a)
        levels[a] = qPremultiply(qRgba(qRed(rgb), qGreen(rgb), qBlue(rgb), a));
    for (int y = 0; y < pixels.height(); ++y) {
        const uchar *in = mask.constScanLine(y);
        auto *out = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < pixels.width(); ++x)
            out[x] = levels[in[x]];
    }
    painter.save();
    painter.setOpacity(painter.opacity() * colour.alphaF());
    painter.drawImage(bounds, image);
    painter.restore();
}

} // namespace SoftShadow
