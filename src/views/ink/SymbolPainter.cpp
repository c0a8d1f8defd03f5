#include "views/ink/SymbolPainter.h"

#include <QHash>
#include <QIconEngine>
#include <QPainter>
#include <QPainterPathStroker>
#include <QPixmap>
#include <cmath>

namespace {

double strokeWidth(SymbolWeight weight)
{
    switch (weight) {
    case SymbolWeight::light: return 0.07;
    case SymbolWeight::regular: return 0.085;
    case SymbolWeight::medium: return 0.10;
    }
    return 0.085;
}

// Builds a symbol from strokes and filled shapes given in the unit square;
// the result is one filled outline, so overlapping parts never darken a
// translucent colour. The work is done a hundred times larger, so that
// curves stay round through the stroker and the boolean operations, and
// scaled back at the end.
class Art
{
public:
    explicit Art(double width)
        : w(width)
    {
    }

    const double w;

    void line(std::initializer_list<QPointF> points, double scale = 1.0)
    {
        QPainterPath p;
        bool first = true;
        for (const QPointF &pt : points) {
            if (first)
                p.moveTo(pt);
            else
                p.lineTo(pt);
            first = false;
        }
        stroke(p, scale);
    }
    void stroke(const QPainterPath &p, double scale = 1.0) { merge(strokeOf(p, scale)); }
    void ring(QPointF c, double r, double scale = 1.0)
    {
        QPainterPath p;
        p.addEllipse(c, r, r);
        stroke(p, scale);
    }
    void disc(QPointF c, double r)
    {
        QPainterPath p;
        p.addEllipse(c, r, r);
        add(p);
    }
    void add(const QPainterPath &p) { merge(up().map(p)); }
    void cut(const QPainterPath &large) { m_out = m_out.subtracted(large); }
    // A stroke outline, at the working size (for cut()).
    QPainterPath strokeOf(const QPainterPath &p, double scale = 1.0) const
    {
        QPainterPathStroker s;
        s.setWidth(w * scale * kUp);
        s.setCapStyle(Qt::RoundCap);
        s.setJoinStyle(Qt::RoundJoin);
        s.setCurveThreshold(0.02);
        return s.createStroke(up().map(p));
    }
    QPainterPath result() const { return QTransform::fromScale(1.0 / kUp, 1.0 / kUp).map(m_out); }

private:
    static constexpr double kUp = 100.0;
    static QTransform up() { return QTransform::fromScale(kUp, kUp); }
    void merge(const QPainterPath &large) { m_out = m_out.isEmpty() ? large.simplified() : m_out.united(large); }

    QPainterPath m_out;
};

QPainterPath arc(QPointF c, double r, double startDeg, double sweepDeg)
{
    const QRectF box(c.x() - r, c.y() - r, 2 * r, 2 * r);
    QPainterPath p;
    p.arcMoveTo(box, startDeg);
    p.arcTo(box, startDeg, sweepDeg);
    return p;
}

// The speaker's box and cone, `scale` times the size beside its waves.
QPainterPath speakerBody(double scale = 1.0)
{
    const QPointF points[] = {{0.12, 0.40}, {0.26, 0.40}, {0.44, 0.24}, {0.44, 0.76}, {0.26, 0.60}, {0.12, 0.60}};
    QPolygonF outline;
    for (const QPointF &pt : points)
        outline << QPointF(0.12 + (pt.x() - 0.12) * scale, 0.5 + (pt.y() - 0.5) * scale);
    QPainterPath p;
    p.addPolygon(outline);
    p.closeSubpath();
    return p;
}

QPainterPath pinSilhouette()
{
    QPainterPath cap;
    cap.addRoundedRect(QRectF(0.32, 0.08, 0.36, 0.12), 0.04, 0.04);
    QPainterPath body;
    body.moveTo(0.40, 0.19);
    body.lineTo(0.60, 0.19);
    body.lineTo(0.63, 0.47);
    body.lineTo(0.37, 0.47);
    body.closeSubpath();
    QPainterPath collar;
    collar.addRoundedRect(QRectF(0.26, 0.46, 0.48, 0.10), 0.04, 0.04);
    return cap.united(body).united(collar);
}

QPainterPath build(Symbol symbol, SymbolWeight weight)
{
    Art a(strokeWidth(weight));
    switch (symbol) {
    case Symbol::checkmark:
        a.line({{0.18, 0.53}, {0.41, 0.76}, {0.84, 0.24}});
        break;
    case Symbol::xmark:
        a.line({{0.24, 0.24}, {0.76, 0.76}});
        a.line({{0.76, 0.24}, {0.24, 0.76}});
        break;
    case Symbol::plus:
        a.line({{0.5, 0.18}, {0.5, 0.82}});
        a.line({{0.18, 0.5}, {0.82, 0.5}});
        break;
    case Symbol::chevronRight:
        a.line({{0.38, 0.18}, {0.66, 0.5}, {0.38, 0.82}});
        break;
    case Symbol::chevronLeft:
        a.line({{0.62, 0.18}, {0.34, 0.5}, {0.62, 0.82}});
        break;
    case Symbol::chevronUp:
        a.line({{0.18, 0.64}, {0.5, 0.34}, {0.82, 0.64}});
        break;
    case Symbol::chevronDown:
        a.line({{0.18, 0.36}, {0.5, 0.66}, {0.82, 0.36}});
        break;
    case Symbol::circle:
        a.ring({0.5, 0.5}, 0.40);
        break;
    case Symbol::largecircleFillCircle:
        a.ring({0.5, 0.5}, 0.40);
        a.disc({0.5, 0.5}, 0.20);
        break;
    case Symbol::checkmarkCircleFill: {
        a.disc({0.5, 0.5}, 0.44);
        QPainterPath check;
        check.moveTo(0.30, 0.51);
        check.lineTo(0.44, 0.65);
        check.lineTo(0.70, 0.35);
        a.cut(a.strokeOf(check, 1.1));
        break;
    }
    case Symbol::questionmarkCircle: {
        a.ring({0.5, 0.5}, 0.42);
        QPainterPath q = arc({0.5, 0.40}, 0.11, 165, -210);
        q.lineTo(0.5, 0.53);
        q.lineTo(0.5, 0.58);
        a.stroke(q, 0.9);
        a.disc({0.5, 0.70}, a.w * 0.7);
        break;
    }
    case Symbol::speakerWave2:
        a.stroke(speakerBody());
        a.stroke(arc({0.46, 0.5}, 0.17, 40, -80));
        a.stroke(arc({0.46, 0.5}, 0.31, 45, -90));
        break;
    case Symbol::speakerSlash: {
        // The speaker alone, larger, crossed out with a gap either side of
        // the stroke.
        QPainterPath slash;
        slash.moveTo(0.16, 0.14);
        slash.lineTo(0.84, 0.86);
        QPainterPath body = speakerBody(1.3);
        body.translate(0.08, 0);
        a.stroke(body);
        a.cut(a.strokeOf(slash, 2.6));
        a.stroke(slash);
        break;
    }
    case Symbol::pin:
    case Symbol::pinFill: {
        const QPainterPath silhouette = pinSilhouette();
        if (symbol == Symbol::pinFill)
            a.add(silhouette);
        a.stroke(silhouette);
        a.line({{0.5, 0.56}, {0.5, 0.92}});
        break;
    }
    case Symbol::listBullet:
        for (double y : {0.28, 0.5, 0.72}) {
            a.disc({0.20, y}, a.w * 0.8);
            a.line({{0.36, y}, {0.86, y}});
        }
        break;
    case Symbol::line3Horizontal:
        for (double y : {0.26, 0.5, 0.74})
            a.line({{0.14, y}, {0.86, y}});
        break;
    case Symbol::sliderHorizontal3: {
        const double r = 0.085;
        const double ys[] = {0.26, 0.5, 0.74};
        const double xs[] = {0.66, 0.34, 0.56};
        for (int i = 0; i < 3; ++i) {
            a.line({{0.10, ys[i]}, {xs[i] - r, ys[i]}});
            a.line({{xs[i] + r, ys[i]}, {0.90, ys[i]}});
            a.ring({xs[i], ys[i]}, r);
        }
        break;
    }
    case Symbol::characterBookClosed: {
        QPainterPath book;
        book.addRoundedRect(QRectF(0.22, 0.10, 0.58, 0.80), 0.06, 0.06);
        a.stroke(book);
        a.line({{0.32, 0.10}, {0.32, 0.90}});
        a.line({{0.45, 0.62}, {0.56, 0.34}, {0.67, 0.62}}, 0.8);
        a.line({{0.49, 0.53}, {0.63, 0.53}}, 0.8);
        break;
    }
    case Symbol::note:
    case Symbol::noteText: {
        QPainterPath sheet;
        sheet.moveTo(0.18, 0.16);
        sheet.lineTo(0.82, 0.16);
        sheet.lineTo(0.82, 0.60);
        sheet.lineTo(0.60, 0.84);
        sheet.lineTo(0.18, 0.84);
        sheet.closeSubpath();
        a.stroke(sheet);
        a.line({{0.82, 0.60}, {0.60, 0.60}, {0.60, 0.84}});
        if (symbol == Symbol::noteText) {
            a.line({{0.32, 0.35}, {0.68, 0.35}}, 0.85);
            a.line({{0.32, 0.48}, {0.60, 0.48}}, 0.85);
        }
        break;
    }
    case Symbol::calendar: {
        const QRectF body(0.12, 0.18, 0.76, 0.68);
        QPainterPath frame;
        frame.addRoundedRect(body, 0.1, 0.1);
        a.stroke(frame);
        QPainterPath band;
        band.addRect(QRectF(0.0, 0.0, 1.0, 0.34));
        a.add(frame.intersected(band));
        a.line({{0.32, 0.10}, {0.32, 0.24}});
        a.line({{0.68, 0.10}, {0.68, 0.24}});
        for (QPointF c : {QPointF(0.32, 0.50), QPointF(0.5, 0.50), QPointF(0.68, 0.50), QPointF(0.32, 0.68),
                          QPointF(0.5, 0.68)})
            a.disc(c, 0.045);
        break;
    }
    case Symbol::arrowClockwise: {
        // An open ring turning clockwise, its end a filled head: drawn as
        // open strokes alone, the head vanishes at small sizes and the ring
        // reads as a letter.
        const QPointF c(0.5, 0.54);
        const double r = 0.30, end = 96.0;
        a.stroke(arc(c, r, 24, -(360 - (end - 24))));
        // The head at the arc's end, pointing along the clockwise tangent.
        const double t = end * M_PI / 180.0;
        const QPointF at(c.x() + r * std::cos(t), c.y() - r * std::sin(t));
        const QPointF d(std::sin(t), std::cos(t));
        const QPointF n(-d.y(), d.x());
        QPainterPath head;
        head.moveTo(at + 0.22 * d);
        head.lineTo(at - 0.04 * d + 0.17 * n);
        head.lineTo(at - 0.04 * d - 0.17 * n);
        head.closeSubpath();
        a.add(head);
        break;
    }
    case Symbol::arrowUturnLeftCircle: {
        a.ring({0.5, 0.5}, 0.42);
        QPainterPath u;
        u.moveTo(0.34, 0.42);
        u.lineTo(0.56, 0.42);
        u.arcTo(QRectF(0.44, 0.42, 0.24, 0.24), 90, -180);
        u.lineTo(0.42, 0.66);
        a.stroke(u, 0.85);
        a.line({{0.43, 0.33}, {0.34, 0.42}, {0.43, 0.51}}, 0.85);
        break;
    }
    }
    return a.result();
}

class SymbolIconEngine : public QIconEngine
{
public:
    SymbolIconEngine(Symbol symbol, Tone tone, SymbolWeight weight)
        : m_symbol(symbol)
        , m_tone(tone)
        , m_weight(weight)
    {
    }

    void paint(QPainter *painter, const QRect &rect, QIcon::Mode mode, QIcon::State) override
    {
        QColor c = m_tone.resolve();
        if (mode == QIcon::Disabled)
            c.setAlphaF(c.alphaF() * 0.4f);
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        SymbolPainter::paint(*painter, rect, m_symbol, c, m_weight);
        painter->restore();
    }
    QPixmap pixmap(const QSize &size, QIcon::Mode mode, QIcon::State state) override
    {
        return scaledPixmap(size, mode, state, 1.0);
    }
    QPixmap scaledPixmap(const QSize &size, QIcon::Mode mode, QIcon::State state, qreal scale) override
    {
        QPixmap pm(size * scale);
        pm.setDevicePixelRatio(scale);
        pm.fill(Qt::transparent);
        QPainter p(&pm);
        paint(&p, QRect(QPoint(0, 0), size), mode, state);
        return pm;
    }
    QIconEngine *clone() const override { return new SymbolIconEngine(m_symbol, m_tone, m_weight); }

private:
    Symbol m_symbol;
    Tone m_tone;
    SymbolWeight m_weight;
};

} // namespace

QSizeF SymbolPainter::size(double fontSize)
{
    const double side = fontSize * 1.2;
    return {side, side};
}

const QPainterPath &SymbolPainter::path(Symbol symbol, SymbolWeight weight)
{
    static QHash<int, QPainterPath> cache;
    const int key = int(symbol) * 4 + int(weight);
    auto it = cache.find(key);
    if (it == cache.end())
        it = cache.insert(key, build(symbol, weight));
    return *it;
}

void SymbolPainter::paint(QPainter &painter, const QRectF &rect, Symbol symbol, const QColor &colour,
                          SymbolWeight weight)
{
    const double side = std::min(rect.width(), rect.height());
    if (side <= 0)
        return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.translate(rect.center().x() - side / 2, rect.center().y() - side / 2);
    painter.scale(side, side);
    painter.setPen(Qt::NoPen);
    painter.setBrush(colour);
    painter.drawPath(path(symbol, weight));
    painter.restore();
}

QIcon SymbolPainter::icon(Symbol symbol, Tone tone, SymbolWeight weight)
{
    return QIcon(new SymbolIconEngine(symbol, tone, weight));
}
