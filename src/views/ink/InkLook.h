#pragma once

#include "views/ink/Symbol.h"
#include "views/ink/Tone.h"

#include <QFont>
#include <QMarginsF>
#include <QSizeF>
#include <optional>

// How an InkButton draws itself: its label (a symbol, a text, or both side
// by side), the colours of the label, of the fill behind and of the outline
// over it, each at rest and while the pointer is over the button, and its
// size. The button fades between the two sets of colours.
struct InkLook
{
    enum class Shape { none, capsule, circle, rounded };

    // The label.
    QFont font;
    std::optional<Symbol> symbol;
    double symbolSize = 0; // the symbol's font size in logical pixels; 0: the font's
    SymbolWeight symbolWeight = SymbolWeight::regular;
    double spacing = 6; // between the symbol and the text
    bool symbolAfterText = false; // the symbol trails the text (a fold's chevron)

    // Colours at rest and while hovered.
    Tone foreground{Kiv::Colour::inkSoft};
    Tone foregroundHover{Kiv::Colour::ink};
    Shape shape = Shape::none;
    double cornerRadius = 6; // for Shape::rounded
    Tone fill = Tone::clear();
    Tone fillHover = Tone::clear();
    Tone stroke = Tone::clear();
    Tone strokeHover = Tone::clear();
    double strokeWidth = 1;
    // The opacity of the whole label.
    double opacity = 1;
    double opacityHover = 1;
    // The fade between rest and hover (0: none).
    int hoverMs = 150;

    // The size: padding around the label, or a fixed frame with the label
    // centred in it.
    QMarginsF padding;
    QSizeF fixedSize;
    // Only a press inside the circle of the frame counts.
    bool circleHitArea = false;

    // A text (and symbol) button without fill or outline.
    static InkLook plain(const QFont &font, Tone rest, Tone hover);
    // A pill: label inset 16 × 7, a fill behind and an outline over it.
    static InkLook capsule(const QFont &font, Tone foreground, Tone foregroundHover, Tone fill, Tone fillHover,
                           Tone stroke, Tone strokeHover);
    // A symbol alone in a fixed square frame.
    static InkLook icon(Symbol symbol, double symbolSize, Tone rest, Tone hover, QSizeF frame,
                        SymbolWeight weight = SymbolWeight::regular);
};
