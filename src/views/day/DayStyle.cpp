#include "views/day/DayStyle.h"

#include "views/ink/InkButton.h"

namespace DayStyle {

InkLook text(double size, Kiv::Colour colour, double opacity, Kiv::Design design)
{
    InkLook look = InkLook::plain(Kiv::font(size, design), Tone{colour, opacity}, Tone{colour, opacity * 0.75});
    look.padding = QMarginsF(2, 2, 2, 2);
    return look;
}

InkLook filled(double size, Kiv::Colour textColour, Kiv::Colour fill, QMarginsF padding, Kiv::Design design)
{
    InkLook look = InkLook::capsule(Kiv::font(size, design), Tone{textColour}, Tone{textColour}, Tone{fill},
                                    Tone{fill, 0.85}, Tone::clear(), Tone::clear());
    look.padding = padding;
    return look;
}

InkLook outlined(double size, Kiv::Colour textColour, Kiv::Colour stroke, double strokeOpacity, QMarginsF padding,
                 Kiv::Design design)
{
    InkLook look = InkLook::capsule(Kiv::font(size, design), Tone{textColour}, Tone{textColour}, Tone::clear(),
                                    Tone{stroke, 0.06}, Tone{stroke, strokeOpacity}, Tone{stroke, strokeOpacity});
    look.padding = padding;
    return look;
}

InkButton *button(const QString &label, const InkLook &look, const QString &objectName, QWidget *parent)
{
    auto *b = new InkButton(label, look, parent);
    b->setObjectName(objectName);
    b->setCursor(Qt::PointingHandCursor);
    return b;
}

} // namespace DayStyle
