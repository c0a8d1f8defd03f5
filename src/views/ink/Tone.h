#pragma once

#include "core/Kiv.h"

// A named colour of the theme at an opacity, resolved when it is drawn so
// that it follows the appearance in effect.
struct Tone
{
    Kiv::Colour colour = Kiv::Colour::ink;
    double opacity = 1.0;

    QColor resolve() const { return Kiv::colour(colour, opacity); }
    bool isClear() const { return opacity <= 0; }

    static Tone clear() { return {Kiv::Colour::ink, 0.0}; }
    bool operator==(const Tone &) const = default;
};
