#include "views/ink/KivBackground.h"

#include "core/Kiv.h"
#include "views/ink/DeviceSlices.h"
#include "views/ink/LayoutRole.h"

#include <QImage>
#include <QPaintEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <vector>

KivBackground::KivBackground(QWidget *parent)
    : QWidget(parent)
    , m_cache(true)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    LayoutRole::setOverlay(this); // under everything it stands behind
}

void KivBackground::draw(QPainter &painter, QSizeF size)
{
    if (size.isEmpty())
        return;
    const double scale = PaintCache::deviceScale(painter);
    QImage image(QSize(int(std::ceil(size.width() * scale)), int(std::ceil(size.height() * scale))),
                 QImage::Format_RGB32);
    write(image, size, scale);
    image.setDevicePixelRatio(scale);
    painter.drawImage(QRectF(QPointF(0, 0), size), image);
}

void KivBackground::write(QImage &image, QSizeF size, qreal scale)
{
    // The paper's gradients span only a few levels of each channel, so they
    // are computed per pixel and dithered (a 4 × 4 ordered pattern) instead
    // of being left to bands of flat colour.
    Q_ASSERT(image.depth() == 32);
    const QSize pixels = image.size();

    const QColor paper = Kiv::paper(), raised = Kiv::paperRaised(), ink = Kiv::ink();
    const double p[3] = {paper.redF() * 255, paper.greenF() * 255, paper.blueF() * 255};
    const double r[3] = {raised.redF() * 255, raised.greenF() * 255, raised.blueF() * 255};
    const double k[3] = {ink.redF() * 255, ink.greenF() * 255, ink.blueF() * 255};
    // The glow: raised paper at 0.9 fading to nothing 420 px from a point
    // on the centre line 8 % down, a circle whatever the shape of the area.
    const QPointF centre(size.width() * 0.5, size.height() * 0.08);
    constexpr double kRadius = 420;
    static constexpr int kBayer[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};

    // What is the same on every row, worked out once: each column's squared
    // distance across from the centre, and the four dither levels of each
    // row of the pattern.
    std::vector<float> across(size_t(pixels.width()));
    for (int px = 0; px < pixels.width(); ++px) {
        const float dx = float((px + 0.5) / scale - centre.x());
        across[size_t(px)] = dx * dx;
    }
    float dithers[4][4];
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j)
            dithers[i][j] = (kBayer[i][j] + 0.5f) / 16.0f;
    // One row's distances from the centre and dither levels, set out first
    // so that the loops over the row have no branches and run several
    // pixels at a time.
    std::vector<float> distance(size_t(pixels.width())), dither(size_t(pixels.width()));

    for (int py = 0; py < pixels.height(); ++py) {
        const double y = (py + 0.5) / scale;
        // The shade: nothing above the middle, growing evenly to 4.5 % ink
        // at the bottom edge.
        const double shade = 0.045 * std::clamp((y - size.height() * 0.5) / (size.height() * 0.5), 0.0, 1.0);
        const double dy = y - centre.y();
        // Outside the glow's circle a row is one colour (before dithering);
        // only the pixels inside it need their distance.
        double plain[3];
        for (int i = 0; i < 3; ++i)
            plain[i] = p[i] + (k[i] - p[i]) * shade;
        const double reach = dy * dy < kRadius * kRadius ? std::sqrt(kRadius * kRadius - dy * dy) : -1.0;
        const int from = reach < 0 ? pixels.width()
                                   : std::clamp(int(std::floor((centre.x() - reach) * scale)), 0, pixels.width());
        const int to = reach < 0 ? pixels.width() : std::min(pixels.width(), int(std::ceil((centre.x() + reach) * scale)));
        const float *rowDither = dithers[py & 3];
        QRgb plainPattern[4];
        for (int j = 0; j < 4; ++j)
            plainPattern[j] = qRgb(int(plain[0] + rowDither[j]), int(plain[1] + rowDither[j]), int(plain[2] + rowDither[j]));
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(py));
        for (int px = 0; px < from; ++px)
            line[px] = plainPattern[px & 3];
        const float down = float(dy * dy), shadeF = float(shade);
        for (int px = from; px < to; ++px) {
            distance[size_t(px)] = std::sqrt(across[size_t(px)] + down);
            dither[size_t(px)] = rowDither[px & 3];
        }
        for (int px = from; px < to; ++px) {
            const float glow = 0.9f * (1.0f - distance[size_t(px)] / float(kRadius));
            int c[3];
            for (int i = 0; i < 3; ++i) {
                const float lit = float(p[i]) + float(r[i] - p[i]) * glow;
                c[i] = int(lit + (float(k[i]) - lit) * shadeF + dither[size_t(px)]);
            }
            line[px] = qRgb(c[0], c[1], c[2]);
        }
        // A pixel that the rounding of the circle's ends took in is plain.
        for (int px = from; px < to; ++px)
            if (distance[size_t(px)] >= float(kRadius))
                line[px] = plainPattern[px & 3];
        for (int px = std::max(from, to); px < pixels.width(); ++px)
            line[px] = plainPattern[px & 3];
    }
}

const QImage &KivBackground::layer(qreal dpr)
{
    return m_cache.image(size(), dpr, &KivBackground::write);
}

KivBackground *KivBackground::under(const QWidget *widget, QPoint *offset)
{
    for (const QWidget *w = widget; w->parentWidget() && !w->isWindow(); w = w->parentWidget()) {
        QWidget *ancestor = w->parentWidget();
        const QRect area(widget->mapTo(ancestor, QPoint(0, 0)), widget->size());
        // A background is put lowest among its siblings; only the first
        // child widget can be one that shows behind the rest.
        for (QObject *child : ancestor->children()) {
            auto *sibling = qobject_cast<QWidget *>(child);
            if (!sibling || sibling->isWindow())
                continue;
            auto *paper = qobject_cast<KivBackground *>(sibling);
            if (paper && paper != widget && !paper->isHidden() && paper->geometry().contains(area)) {
                if (offset)
                    *offset = area.topLeft() - paper->pos();
                return paper;
            }
            break;
        }
    }
    return nullptr;
}

void KivBackground::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    // A few dozen device lines at a time: a widget that moves over the
    // paper (a breathing circle, a fading word) has its square of paper
    // drawn again at every frame, and a larger copy would wake Qt's pool.
    DeviceSlices::copy(painter, layer(PaintCache::deviceScale(painter)), event->region());
}
