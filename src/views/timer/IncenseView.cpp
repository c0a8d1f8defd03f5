#include "views/timer/IncenseView.h"

#include "core/Kiv.h"
#include "views/ink/DeviceSlices.h"
#include "views/ink/FrameCanvas.h"
#include "views/ink/FrameTicker.h"
#include "views/ink/LayoutRole.h"
#include "views/timer/FaceTime.h"

#include <QLinearGradient>
#include <QPaintEvent>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <algorithm>
#include <array>
#include <cmath>
#include <numbers>

namespace {
constexpr double kStickTop = 56;     // a fixed distance from the top edge
constexpr double kStickWidth = 3.4;
constexpr double kBowlDepth = 16;
constexpr double kSmokePhases[2] = {0.0, 2.3};

// The bowl's body and its rim, for a bowl `width` wide whose top is at `top`.
void drawBowl(QPainter &painter, double cx, double top, double width)
{
    IncenseView::drawHolder(painter, cx, top, kBowlDepth, width);
    painter.setPen(QPen(Kiv::ink(0.55), 1));
    painter.setBrush(Kiv::paperRaised());
    painter.drawEllipse(QRectF(cx - width / 2, top - 3, width, 6));
}

// The angle `rate`·t within one turn. The time counts seconds since 2001,
// some 10^9: a sine of so large an angle first reduces it the slow way, and
// a frame takes a hundred of them. Reduced once here, the sines that follow
// are of small angles; the angle is the same to well under a millionth of
// a turn.
double turnOf(double rate, double t)
{
    return std::remainder(rate * t, 2 * std::numbers::pi);
}

double clamped(double progress)
{
    return progress <= 0 ? 0 : std::min(progress, 1.0);
}
} // namespace

IncenseView::IncenseView(QWidget *parent)
    : QWidget(parent)
    , m_stillTime(FaceTime::now())
    , m_ticker(new FrameTicker(this, kFrameMs, [this] { frame(); }))
    , m_canvas(new FrameCanvas(this, true))
{
    // As wide as its frame; as tall as the column leaves it, within limits
    // (the picture follows its height).
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
    setFixedWidth(kWidth);
    setMinimumHeight(kLeastHeight);
    setMaximumHeight(kHeight);
    LayoutRole::setPaintedFace(this);
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void IncenseView::setInputs(double progress, Phase phase, bool running)
{
    if (progress == m_progress && phase == m_phase && running == m_running)
        return;
    // A face that stops keeps the picture of the moment it stopped.
    if (m_running && !running)
        m_stillTime = FaceTime::now();
    m_progress = progress;
    const bool onlyBurning = running && m_running && phase == m_phase;
    m_phase = phase;
    m_running = running;
    m_ticker->setMoving(running);
    // While the run goes on, a new progress waits for the next frame, which
    // redraws what it has moved.
    if (!onlyBurning || !m_ticker->isTicking())
        update();
}

void IncenseView::frame()
{
    // The frame is painted now, not posted for later: a posted update costs
    // the event loop a wake-up call to itself and a round of its own, 20
    // times a second. The device ratio is the one the last frame was drawn
    // at: a move to another screen repaints the whole face anyway.
    const QSizeF area(size());
    repaint(frameArea(area, m_drawnDpr, m_drawnStep, stillStep(area, FaceTime::now(), m_progress, m_drawnDpr),
                      m_progress));
}

QRegion IncenseView::frameArea(QSizeF size, double dpr, quint64 from, quint64 to, double progress)
{
    const QRegion change = stillChange(size, dpr, from, to) + movingArea(size, progress);
    // At one device pixel a logical one the rectangles are drawn in place
    // one by one. At higher ratios the frame is drawn on a pool thread, and
    // copying it back under the clip of many rectangles costs more than
    // the smaller area saves: there the part is one rectangle.
    return dpr == 1 ? change : QRegion(change.boundingRect());
}

namespace {
// What the smoke and the ember reach from a burn line at `yb` on the centre
// line `cx`: the strands 15.5 to either side (the second 1.5 further right)
// and up to 108 above the line; the glow 7 around it.
QRectF smokeReach(double cx, double yb)
{
    const double smoke = yb - 2 > 12 ? std::min(yb - 2, 108.0) : 0;
    return QRectF(QPointF(cx - 17.5, yb - smoke - 1.5), QPointF(cx + 19, yb + 7.5));
}

// The ash in the bowl, `a` of the way to its full size.
QRectF ashEllipse(QSizeF size, double a)
{
    const double width = 10 + 22 * a, halfHeight = 1.5 + 5 * a;
    return QRectF(size.width() / 2 - width / 2, size.height() - 15 - halfHeight, width, 2 * halfHeight);
}
} // namespace

QRect IncenseView::movingArea(QSizeF size, double progress)
{
    const QRectF reach = smokeReach(size.width() / 2, burnLine(size.height(), progress));
    return reach.toAlignedRect().adjusted(-1, -1, 1, 1) & QRect(QPoint(0, 0), size.toSize());
}

namespace {
// Where the slow parts stand: the trace's sway in steps of a quarter second
// (under 0.08 px), the burn line in steps of an eighth of a device pixel.
// The key keeps the two apart: the line's steps in its low bits.
constexpr int kLineBits = 20;
constexpr quint64 kLineMask = (quint64(1) << kLineBits) - 1;

struct StillStep
{
    double swayTime;
    double line;
    quint64 key;
};

StillStep stillStepAt(QSizeF size, double t, double progress, double dpr)
{
    const double steps = std::floor(t * 4);
    const double lineSteps = std::round(IncenseView::burnLine(size.height(), progress) * dpr * 8);
    return {steps / 4, lineSteps / (dpr * 8),
            quint64(qint64(steps)) << kLineBits | (quint64(qint64(lineSteps)) & kLineMask)};
}

// The burn line a step key stands for.
double lineOfStep(quint64 key, double dpr)
{
    return double(key & kLineMask) / (dpr * 8);
}

// The spent trace and the top of the stick, for a burn line at `line`: the
// trace sways at most 2.6 either side of the middle, its stroke and caps
// reach a little further, and the stick's rounded top lies under its end.
QRect traceArea(QSizeF size, double line)
{
    const double cx = size.width() / 2;
    const QRectF reach(QPointF(cx - 4.5, kStickTop - 2.5), QPointF(cx + 4.5, line + 3.5));
    return reach.toAlignedRect() & QRect(QPoint(0, 0), size.toSize());
}

// The ash for a burn line at `line`, and the bowl and rim under it.
QRect ashArea(QSizeF size, double line)
{
    const double span = size.height() - 17 - kStickTop;
    const double a = span > 0 ? std::clamp((line - kStickTop) / span, 0.0, 1.0) : 0.0;
    return ashEllipse(size, a).adjusted(-1, -1, 1, 1).toAlignedRect() & QRect(QPoint(0, 0), size.toSize());
}

// Whether what lies within `bounds` would be clipped away whole: a layer
// drawn again in a small part skips the shapes outside it.
bool outsideClip(const QPainter &painter, const QRectF &bounds)
{
    return painter.hasClipping() && !painter.clipBoundingRect().intersects(bounds);
}
} // namespace

quint64 IncenseView::stillStep(QSizeF size, double t, double progress, double dpr)
{
    return stillStepAt(size, t, progress, dpr).key;
}

QRegion IncenseView::stillChange(QSizeF size, double dpr, quint64 from, quint64 to)
{
    if (from == to)
        return {};
    // The trace and the stick's top down to the lower of the two lines;
    // when the line moved, also the ash, grown to the larger of the two.
    const double line = std::max(lineOfStep(from, dpr), lineOfStep(to, dpr));
    QRegion change(traceArea(size, line));
    if ((from & kLineMask) != (to & kLineMask))
        change += ashArea(size, line);
    return change;
}

bool IncenseView::isTicking() const
{
    return m_ticker->isTicking();
}

void IncenseView::beat()
{
    m_ticker->beat();
}

double IncenseView::burnLine(double height, double progress)
{
    const double stickFoot = height - 17;
    return kStickTop + (stickFoot - kStickTop) * clamped(progress);
}

void IncenseView::drawHolder(QPainter &painter, double x, double top, double height, double width)
{
    QPainterPath bowl;
    bowl.moveTo(x - width / 2, top);
    bowl.lineTo(x + width / 2, top);
    bowl.quadTo(QPointF(x + width / 2.6, top + height), QPointF(x, top + height));
    bowl.quadTo(QPointF(x - width / 2.6, top + height), QPointF(x - width / 2, top));
    bowl.closeSubpath();
    QLinearGradient body(QPointF(0, top), QPointF(0, top + height));
    body.setColorAt(0, Kiv::ink(0.7));
    body.setColorAt(1, Kiv::ink(0.46));
    painter.fillPath(bowl, body);
}

namespace {
// The stick and the trace, tall thin fills, are drawn in slices of this
// many device lines (DeviceSlices).
constexpr int kSliceLines = 16;

// How far beyond a slice a shape drawn for it must reach so that what falls
// within the slice is the whole shape's: past the caps and miters of the
// trace's stroke and the stick's rounded ends.
constexpr double kSliceReach = 4;

// What changes slowly: the spent trace (swaying by at most 0.31 px a
// second), the stick down to the burn line `yb`, the bowl, its rim and the
// ash.
void drawStill(QPainter &painter, QSizeF size, double t, double yb, double progress)
{
    const double cx = size.width() / 2;
    const double bowlTop = size.height() - 16;
    const double stickFoot = size.height() - 17;

    // The spent trace: from the stick's former top, swaying a little, down
    // to the burn line.
    if (yb > kStickTop + 1 && !outsideClip(painter, traceArea(size, yb))) {
        std::array<QPointF, 25> trace;
        const double sway = turnOf(0.12, t);
        for (int i = 0; i < 25; ++i) {
            const double f = i / 24.0;
            trace[size_t(i)] = QPointF(cx + (1 - f) * 2.6 * std::sin(sway + 2.4 * f), kStickTop + (yb - kStickTop) * f);
        }
        painter.setPen(QPen(Kiv::ink(0.17), 0.58 * kStickWidth, Qt::SolidLine, Qt::RoundCap, Qt::MiterJoin));
        painter.setBrush(Qt::NoBrush);
        // Each slice strokes only the part of the trace that reaches it,
        // from the last point above it to the first below it (with room for
        // the joins), not the whole trace again.
        DeviceSlices::paint(painter, kStickTop - 2, yb + 2, kSliceLines, [&](double from, double to) {
            size_t begin = 0, end = trace.size();
            while (begin + 1 < trace.size() && trace[begin + 1].y() <= from - kSliceReach)
                ++begin;
            while (end - 1 > begin + 1 && trace[end - 2].y() >= to + kSliceReach)
                --end;
            painter.drawPolyline(trace.data() + begin, int(end - begin));
        });
    }

    // The stick still unburnt.
    if (yb < stickFoot && !outsideClip(painter, QRectF(QPointF(cx - 2, yb - 1), QPointF(cx + 2, stickFoot + 1)))) {
        QLinearGradient across(QPointF(cx - kStickWidth / 2, 0), QPointF(cx + kStickWidth / 2, 0));
        across.setColorAt(0, Kiv::ink(0.85));
        across.setColorAt(1, Kiv::ink(0.62));
        painter.setPen(Qt::NoPen);
        painter.setBrush(across);
        // A slice draws the stick from a little above it to a little below
        // it: its rounded ends fall within the slice only where the stick's
        // own ends do, and its colour runs across it, not down.
        DeviceSlices::paint(painter, yb, stickFoot, kSliceLines, [&](double from, double to) {
            const double top = std::max(yb, from - kSliceReach), bottom = std::min(stickFoot, to + kSliceReach);
            if (bottom > top)
                painter.drawRoundedRect(QRectF(cx - kStickWidth / 2, top, kStickWidth, bottom - top), kStickWidth / 2,
                                        kStickWidth / 2);
        });
    }

    const double bowlWidth = 0.42 * size.width();
    if (!outsideClip(painter, QRectF(QPointF(cx - bowlWidth / 2 - 1, bowlTop - 4), QPointF(cx + bowlWidth / 2 + 1, bowlTop + kBowlDepth + 1))))
        drawBowl(painter, cx, bowlTop, bowlWidth);

    // The ash grows in the bowl.
    const QRectF ash = ashEllipse(size, std::min(progress, 1.0));
    if (progress > 0.02 && !outsideClip(painter, ash.adjusted(-1, -1, 1, 1))) {
        painter.setPen(Qt::NoPen);
        painter.setBrush(Kiv::inkGhost(0.85));
        painter.drawEllipse(ash);
    }
}

// What moves every frame: the smoke and the ember at the burn line `yb`.
void drawMoving(QPainter &painter, QSizeF size, double t, double yb, bool running)
{
    const double cx = size.width() / 2;

    // Two strands of smoke rise from the burn line, their waves travelling up.
    if (yb - 2 > 12 && !outsideClip(painter, smokeReach(cx, yb))) {
        const double length = std::min(yb - 2, 108.0);
        QLinearGradient fade(QPointF(0, yb), QPointF(0, yb - length));
        fade.setColorAt(0, Kiv::inkFaint(running ? 0.45 : 0.12));
        fade.setColorAt(1, Kiv::ink(0));
        painter.setPen(QPen(QBrush(fade), 1, Qt::SolidLine, Qt::RoundCap, Qt::MiterJoin));
        painter.setBrush(Qt::NoBrush);
        std::array<QPointF, 35> strand;
        const double wave = turnOf(0.55, t);
        for (int k = 0; k < 2; ++k) {
            for (int i = 0; i < 35; ++i) {
                const double f = i / 34.0;
                strand[size_t(i)] = QPointF(cx + 1.5 * k + f * (2.5 + 13 * f) * std::sin(kSmokePhases[k] + 3.4 * f - wave),
                                            yb - length * f);
            }
            painter.drawPolyline(strand.data(), int(strand.size()));
        }
    }

    // The ember and its glow, pulsing while the run goes on.
    if (outsideClip(painter, QRectF(cx - 8, yb - 8, 16, 16)))
        return;
    const double glow = running ? 0.82 + 0.18 * std::sin(turnOf(1.6, t)) : 0.5;
    QRadialGradient halo(QPointF(cx, yb), 7);
    // The glow's opacity in whole steps of the 256 a pixel can show: the
    // engine keeps the colour tables of the gradients it drew last, and the
    // few dozen levels of a pulse then are each made once, not every frame.
    halo.setColorAt(0, Kiv::vermilion(std::round(0.5 * glow * 255) / 255));
    halo.setColorAt(1, Kiv::vermilion(0));
    painter.setPen(Qt::NoPen);
    // The halo fades out to nothing at its rim and stays at nothing beyond
    // it, so its square is filled, without antialiasing: plain spans, where
    // a circle would first be traced as a path and rasterised, 20 times a
    // second. What lies between the rim and the square's sides is left as
    // it was.
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.fillRect(QRectF(cx - 7, yb - 7, 14, 14), halo);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(Kiv::vermilion(0.55 + 0.45 * glow));
    painter.drawEllipse(QPointF(cx, yb), 2.1, 2.1);
}
} // namespace

void IncenseView::draw(QPainter &painter, QSizeF size, double t, double progress, bool running, PaintCache *still)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const double yb = burnLine(size.height(), progress);
    if (still) {
        // The slow parts are drawn again only when they have moved, and only
        // in the stick's column: the bowl around it stays as it is.
        const double dpr = PaintCache::deviceScale(painter);
        const StillStep step = stillStepAt(size, t, progress, dpr);
        // Pixel for pixel, so not antialiased: the engine copies it line by
        // line instead of blending its edges.
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.drawImage(QPointF(0, 0), still->image(
                                              size.toSize(), dpr,
                                              [&](QPainter &p, QSizeF s) { drawStill(p, s, step.swayTime, step.line, progress); },
                                              step.key, stillChange(size, dpr, still->key(), step.key)));
        painter.setRenderHint(QPainter::Antialiasing);
    } else {
        drawStill(painter, size, t, yb, progress);
    }
    drawMoving(painter, size, t, yb, running);
    painter.restore();
}

void IncenseView::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    const double t = m_running ? FaceTime::now() : m_stillTime;
    m_drawnDpr = PaintCache::deviceScale(painter);
    m_drawnStep = stillStep(QSizeF(size()), t, m_progress, m_drawnDpr);
    m_canvas->paint(painter, event->region(),
                    [this, t](QPainter &p, QSizeF s) { draw(p, s, t, m_progress, m_running, &m_still); });
}
