#include "views/timer/KinhinView.h"

#include "core/Kiv.h"
#include "views/ink/FrameCanvas.h"
#include "views/ink/FrameTicker.h"
#include "views/ink/LayoutRole.h"
#include "views/timer/FaceTime.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>
#include <numbers>

namespace {
constexpr double kMargin = 30;      // where the walk starts and ends
constexpr double kPausedStep = 0.3; // the pose of a figure standing still
} // namespace

KinhinView::KinhinView(QWidget *parent)
    : QWidget(parent)
    , m_ticker(new FrameTicker(this, kFrameMs, [this] { update(); }))
    , m_canvas(new FrameCanvas(this))
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

void KinhinView::setInputs(double progress, bool running)
{
    if (progress == m_progress && running == m_running)
        return;
    m_progress = progress;
    m_running = running;
    m_ticker->setMoving(running);
    update();
}

bool KinhinView::isTicking() const
{
    return m_ticker->isTicking();
}

void KinhinView::beat()
{
    m_ticker->beat();
}

double KinhinView::walkerX(double width, double progress)
{
    const double q = progress <= 0 ? 0 : std::min(progress, 1.0);
    return kMargin + (width - 2 * kMargin) * q;
}

double KinhinView::stepAt(double t, bool running)
{
    if (!running)
        return kPausedStep;
    const double cycles = t * 0.25;
    return cycles - std::floor(cycles);
}

void KinhinView::drawGround(QPainter &painter, QSizeF size, double y)
{
    QLinearGradient fade(QPointF(0, y), QPointF(size.width(), y));
    fade.setColorAt(0, Kiv::hairline(0));
    fade.setColorAt(1.0 / 3, Kiv::hairline(0.7));
    fade.setColorAt(2.0 / 3, Kiv::hairline(0.7));
    fade.setColorAt(1, Kiv::hairline(0));
    painter.setPen(QPen(QBrush(fade), 0.8));
    painter.drawLine(QPointF(16, y), QPointF(size.width() - 16, y));
}

void KinhinView::drawWalker(QPainter &painter, double x, double groundY, double step)
{
    const double s = std::sin(2 * std::numbers::pi * step);
    const double b = groundY - std::abs(s); // the figure rises twice a cycle
    auto at = [x, b](double dx, double dy) { return QPointF(x + dx, b + dy); };

    QPainterPath figure;
    figure.setFillRule(Qt::WindingFill);
    // The robe: shoulders, front, hem (its back corner swaying against the
    // step) and back.
    figure.moveTo(at(-4, -54));
    figure.quadTo(at(1, -57), at(6, -54));
    figure.cubicTo(at(10, -48), at(10.5, -23.5), at(10, -3.5));
    figure.quadTo(at(1, -1.5), at(-8 - s, -3));
    figure.cubicTo(at(-8, -25.5), at(-8.5, -46), at(-4, -54));
    figure.closeSubpath();
    // The sleeve with the arm.
    figure.moveTo(at(-1, -48));
    figure.cubicTo(at(4, -44), at(11, -43), at(15, -40));
    figure.cubicTo(at(15.5, -34), at(13, -24), at(10, -22));
    figure.quadTo(at(5, -23), at(1, -29));
    figure.quadTo(at(-3, -39), at(-1, -48));
    figure.closeSubpath();
    // Head, neck, folded hands and the two feet moving against each other.
    figure.addEllipse(at(5, -62.5), 6.6, 6.6);
    figure.addRoundedRect(QRectF(at(0, -60.5), QSizeF(6.5, 8.5)), 2, 2);
    figure.addEllipse(QRectF(at(11, -43), QSizeF(4.5, 4)));
    figure.addRoundedRect(QRectF(at(2 + 4 * s, -3), QSizeF(7, 3)), 1.5, 1.5);
    figure.addRoundedRect(QRectF(at(-6 - 4 * s, -3), QSizeF(7, 3)), 1.5, 1.5);

    QLinearGradient ink(QPointF(0, b - 54), QPointF(0, b - 3.5));
    ink.setColorAt(0, Kiv::ink(0.88));
    ink.setColorAt(1, Kiv::ink(0.66));
    painter.fillPath(figure, ink);

    // Two folds of the robe, in paper over the ink.
    QPainterPath folds;
    folds.moveTo(at(2, -55));
    folds.quadTo(at(-5, -46), at(-7, -30));
    folds.moveTo(at(-7.5, -20));
    folds.quadTo(at(1, -16), at(9.5, -16));
    painter.strokePath(folds, QPen(Kiv::paper(0.4), 0.9));
}

void KinhinView::draw(QPainter &painter, QSizeF size, double t, double progress, bool running)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const double groundY = 0.74 * size.height();
    const double x = walkerX(size.width(), progress);
    drawGround(painter, size, groundY);
    // The trail behind the figure, darkening towards it.
    if (x > kMargin + 2) {
        QLinearGradient trail(QPointF(kMargin, groundY), QPointF(x, groundY));
        trail.setColorAt(0, Kiv::ink(0));
        trail.setColorAt(1, Kiv::ink(0.28));
        painter.setPen(QPen(QBrush(trail), 1.4));
        painter.drawLine(QPointF(kMargin, groundY), QPointF(x, groundY));
    }
    drawWalker(painter, x, groundY, stepAt(t, running));
    painter.restore();
}

void KinhinView::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const double t = FaceTime::now();
    m_canvas->paint(painter, [this, t](QPainter &p, QSizeF s) { draw(p, s, t, m_progress, m_running); });
}
