#include "views/timer/IncenseView.h"

#include "core/Kiv.h"
#include "views/ink/FrameTicker.h"
#include "views/timer/FaceTime.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <algorithm>
#include <array>
#include <cmath>

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

double clamped(double progress)
{
    return progress <= 0 ? 0 : std::min(progress, 1.0);
}
} // namespace

IncenseView::IncenseView(QWidget *parent)
    : QWidget(parent)
    , m_stillTime(FaceTime::now())
    , m_ticker(new FrameTicker(this, kFrameMs, [this] { update(); }))
{
    setFixedSize(kWidth, kHeight);
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
    m_phase = phase;
    m_running = running;
    m_ticker->setMoving(running);
    update();
}

bool IncenseView::isTicking() const
{
    return m_ticker->isTicking();
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

void IncenseView::draw(QPainter &painter, QSizeF size, double t, double progress, bool running, PaintCache *bowl)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const double w = size.width();
    const double h = size.height();
    const double cx = w / 2;
    const double bowlTop = h - 16;
    const double stickFoot = h - 17;
    const double yb = burnLine(h, progress);

    // The spent trace: from the stick's former top, swaying a little, down
    // to the burn line.
    if (yb > kStickTop + 1) {
        std::array<QPointF, 25> trace;
        for (int i = 0; i < 25; ++i) {
            const double f = i / 24.0;
            trace[size_t(i)] = QPointF(cx + (1 - f) * 2.6 * std::sin(0.12 * t + 2.4 * f), kStickTop + (yb - kStickTop) * f);
        }
        painter.setPen(QPen(Kiv::ink(0.17), 0.58 * kStickWidth, Qt::SolidLine, Qt::RoundCap, Qt::MiterJoin));
        painter.setBrush(Qt::NoBrush);
        painter.drawPolyline(trace.data(), int(trace.size()));
    }

    // The stick still unburnt.
    if (yb < stickFoot) {
        QLinearGradient across(QPointF(cx - kStickWidth / 2, 0), QPointF(cx + kStickWidth / 2, 0));
        across.setColorAt(0, Kiv::ink(0.85));
        across.setColorAt(1, Kiv::ink(0.62));
        painter.setPen(Qt::NoPen);
        painter.setBrush(across);
        painter.drawRoundedRect(QRectF(cx - kStickWidth / 2, yb, kStickWidth, stickFoot - yb), kStickWidth / 2,
                                kStickWidth / 2);
    }

    // The bowl and its rim.
    const double bowlWidth = 0.42 * w;
    if (bowl) {
        // The layer starts on a whole device pixel, so it is copied, not resampled.
        const double dpr = PaintCache::deviceScale(painter);
        const QPointF origin(std::floor((cx - bowlWidth / 2 - 1) * dpr) / dpr, std::floor((bowlTop - 4) * dpr) / dpr);
        const QSize layer(int(std::ceil(bowlWidth + 3)), int(std::ceil(kBowlDepth + 6)));
        const QPointF inside = QPointF(cx, bowlTop) - origin;
        const QPixmap &pixmap = bowl->pixmap(
            layer, dpr, [&](QPainter &p, QSizeF) { drawBowl(p, inside.x(), inside.y(), bowlWidth); },
            quint64(std::lround(inside.x() * 1000)) << 20 | quint64(std::lround(inside.y() * 1000)));
        painter.drawPixmap(origin, pixmap);
    } else {
        drawBowl(painter, cx, bowlTop, bowlWidth);
    }

    // The ash grows in the bowl.
    if (progress > 0.02) {
        const double a = std::min(progress, 1.0);
        const double ashWidth = 10 + 22 * a;
        const double ashHalfHeight = 1.5 + 5 * a;
        painter.setPen(Qt::NoPen);
        painter.setBrush(Kiv::inkGhost(0.85));
        painter.drawEllipse(QPointF(cx, bowlTop + 1), ashWidth / 2, ashHalfHeight);
    }

    // Two strands of smoke rise from the burn line, their waves travelling up.
    if (yb - 2 > 12) {
        const double length = std::min(yb - 2, 108.0);
        QLinearGradient fade(QPointF(0, yb), QPointF(0, yb - length));
        fade.setColorAt(0, Kiv::inkFaint(running ? 0.45 : 0.12));
        fade.setColorAt(1, Kiv::ink(0));
        painter.setPen(QPen(QBrush(fade), 1, Qt::SolidLine, Qt::RoundCap, Qt::MiterJoin));
        painter.setBrush(Qt::NoBrush);
        std::array<QPointF, 35> strand;
        for (int k = 0; k < 2; ++k) {
            for (int i = 0; i < 35; ++i) {
                const double f = i / 34.0;
                strand[size_t(i)] = QPointF(cx + 1.5 * k + f * (2.5 + 13 * f) * std::sin(kSmokePhases[k] + 3.4 * f - 0.55 * t),
                                            yb - length * f);
            }
            painter.drawPolyline(strand.data(), int(strand.size()));
        }
    }

    // The ember and its glow, pulsing while the run goes on.
    const double glow = running ? 0.82 + 0.18 * std::sin(1.6 * t) : 0.5;
    QRadialGradient halo(QPointF(cx, yb), 7);
    halo.setColorAt(0, Kiv::vermilion(0.5 * glow));
    halo.setColorAt(1, Kiv::vermilion(0));
    painter.setPen(Qt::NoPen);
    painter.setBrush(halo);
    painter.drawEllipse(QPointF(cx, yb), 7, 7);
    painter.setBrush(Kiv::vermilion(0.55 + 0.45 * glow));
    painter.drawEllipse(QPointF(cx, yb), 2.1, 2.1);
    painter.restore();
}

void IncenseView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    draw(painter, QSizeF(size()), m_running ? FaceTime::now() : m_stillTime, m_progress, m_running, &m_bowl);
}
