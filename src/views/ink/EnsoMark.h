#pragma once

#include "views/ink/Tone.h"

#include <QWidget>
#include <optional>

// The program's emblem: the brush circle in an ink gradient, in a square
// of `side` pixels, with an optional small coloured dot inside the top of
// the ring, the whole at an opacity.
class EnsoMark : public QWidget
{
    Q_OBJECT
public:
    EnsoMark(double side, double opacity = 1.0, std::optional<Tone> dot = std::nullopt, QWidget *parent = nullptr);

    void setOpacity(double opacity);
    void setDot(std::optional<Tone> dot);

    // The mark filling a square of `side` at the top left of the painter.
    static void draw(QPainter &painter, double side, double opacity, std::optional<QColor> dot);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    double m_side;
    double m_opacity;
    std::optional<Tone> m_dot;
};
