#include "views/ink/InkLook.h"

InkLook InkLook::plain(const QFont &font, Tone rest, Tone hover)
{
    InkLook look;
    look.font = font;
    look.foreground = rest;
    look.foregroundHover = hover;
    return look;
}

InkLook InkLook::capsule(const QFont &font, Tone foreground, Tone foregroundHover, Tone fill, Tone fillHover,
                         Tone stroke, Tone strokeHover)
{
    InkLook look = plain(font, foreground, foregroundHover);
    look.shape = Shape::capsule;
    look.fill = fill;
    look.fillHover = fillHover;
    look.stroke = stroke;
    look.strokeHover = strokeHover;
    look.padding = QMarginsF(16, 7, 16, 7);
    return look;
}

InkLook InkLook::icon(Symbol symbol, double symbolSize, Tone rest, Tone hover, QSizeF frame, SymbolWeight weight)
{
    InkLook look;
    look.symbol = symbol;
    look.symbolSize = symbolSize;
    look.symbolWeight = weight;
    look.foreground = rest;
    look.foregroundHover = hover;
    look.fixedSize = frame;
    return look;
}
