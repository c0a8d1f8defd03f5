#pragma once

#include "views/ink/Symbol.h"
#include "views/ink/Tone.h"

#include <QIcon>
#include <QPainterPath>
#include <QRectF>

class QPainter;

// Draws every symbol of the screens as a vector outline, so that it is
// crisp at any size and device pixel ratio. A symbol sits in a square whose
// side follows the size of the text it stands beside.
class SymbolPainter
{
public:
    // The square a symbol takes beside text of `fontSize` logical pixels.
    static QSizeF size(double fontSize);
    // Draws the symbol filling the largest square centred in `rect`.
    static void paint(QPainter &painter, const QRectF &rect, Symbol symbol, const QColor &colour,
                      SymbolWeight weight = SymbolWeight::regular);
    // The symbol's filled outline in the unit square (0,0)–(1,1).
    static const QPainterPath &path(Symbol symbol, SymbolWeight weight);
    // An icon for menus and the tray, drawn on demand in the tone's current
    // colour at whatever size and pixel ratio is asked.
    static QIcon icon(Symbol symbol, Tone tone, SymbolWeight weight = SymbolWeight::regular);
};
