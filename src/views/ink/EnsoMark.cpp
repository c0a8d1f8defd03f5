#include "views/ink/EnsoMark.h"

#include "views/ink/EnsoShape.h"

#include <QLinearGradient>
#include <QPainter>
#include <cmath>

EnsoMark::EnsoMark(double side, double opacity, std::optional<Tone> dot, QWidget *parent)
    : QWidget(parent)
    , m_side(side)
    , m_opacity(opacity)
    , m_dot(dot)
{
    setFixedSize(sizeHint());
    setAttribute(Qt::WA_TransparentForMouseEvents);
}

void EnsoMark::setOpacity(double opacity)
{
    m_opacity = opacity;
    update();
}

void EnsoMark::setDot(std::optional<Tone> dot)
{
    m_dot = dot;
    update();
}

QSize EnsoMark::sizeHint() const
{
    const int side = int(std::ceil(m_side));
    return {side, side};
}

void EnsoMark::draw(QPainter &painter, double side, double opacity, std::optional<QColor> dot)
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setOpacity(painter.opacity() * opacity);
    const QRectF square(0, 0, side, side);
    // The stroke starts at the lower left, runs clockwise over the top and
    // ends just left of straight down, leaving a 27° opening.
    const EnsoShape shape{125, 333, 0.16, 0.012};
    QLinearGradient ink(square.topLeft(), square.bottomRight());
    ink.setColorAt(0, Kiv::ink(0.92));
    ink.setColorAt(1, Kiv::ink(0.62));
    painter.setPen(Qt::NoPen);
    painter.setBrush(ink);
    painter.drawPath(shape.path(square));
    if (dot) {
        const double d = side * 0.075;
        const QPointF c(side / 2, side / 2 - side * 0.43 * 0.86);
        painter.setBrush(*dot);
        painter.drawEllipse(c, d / 2, d / 2);
    }
    painter.restore();
}

void EnsoMark::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.translate((width() - m_side) / 2, (height() - m_side) / 2);
    draw(painter, m_side, m_opacity, m_dot ? std::optional<QColor>(m_dot->resolve()) : std::nullopt);
}
