#pragma once

#include "core/Kiv.h"
#include "views/ink/InkLook.h"

#include <QString>

class InkButton;
class QWidget;

// The buttons of the day page, built one way everywhere on it.
namespace DayStyle {

// A text without frame in one colour (darker under the pointer).
InkLook text(double size, Kiv::Colour colour, double opacity = 1.0, Kiv::Design design = Kiv::Design::sans);
// A text on a capsule filled with `fill`.
InkLook filled(double size, Kiv::Colour textColour, Kiv::Colour fill, QMarginsF padding,
               Kiv::Design design = Kiv::Design::sans);
// A text in a capsule outlined 1 pt in `stroke` at `strokeOpacity`.
InkLook outlined(double size, Kiv::Colour textColour, Kiv::Colour stroke, double strokeOpacity, QMarginsF padding,
                 Kiv::Design design = Kiv::Design::sans);

// A new button with its object name; its accessible name is its text.
InkButton *button(const QString &label, const InkLook &look, const QString &objectName, QWidget *parent);

} // namespace DayStyle
