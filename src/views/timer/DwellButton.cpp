#include "views/timer/DwellButton.h"
#include "views/ink/LayoutRole.h"

#include <QPainterPath>
#include <algorithm>

DwellButton::DwellButton(const QString &label, QWidget *parent)
    : InkButton(label, look(), parent)
{
    setObjectName(QStringLiteral("timer.dwellButton"));
    setSizePolicy(QSizePolicy::Maximum, QSizePolicy::Fixed);
    LayoutRole::setMayElide(this); // a task's title, on one line
}

InkLook DwellButton::look()
{
    InkLook look = InkLook::capsule(Kiv::font(13, Kiv::Design::serif), {Kiv::Colour::ink}, {Kiv::Colour::ink},
                                    Tone::clear(), {Kiv::Colour::ink, 0.05}, {Kiv::Colour::hairline},
                                    {Kiv::Colour::hairline});
    look.padding = QMarginsF(18, 8, 18, 8);
    look.hoverMs = 0;
    return look;
}

QSize DwellButton::minimumSizeHint() const
{
    const QSize natural = sizeHint();
    // Room for the padding, the rounded ends and a few letters.
    return {std::min(natural.width(), 36 + natural.height()), natural.height()};
}

bool DwellButton::hitButton(const QPoint &pos) const
{
    QPainterPath capsule;
    const double radius = height() / 2.0;
    capsule.addRoundedRect(QRectF(rect()), radius, radius);
    return capsule.contains(QPointF(pos) + QPointF(0.5, 0.5));
}
