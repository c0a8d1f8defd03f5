#pragma once

#include <QString>
#include <QStringView>
#include <optional>

// The symbols the screens show, each drawn by the program (SymbolPainter)
// and named as the screens name them ("pin.fill", "chevron.right").
enum class Symbol {
    pin,
    pinFill,
    listBullet,
    speakerWave2,
    speakerSlash,
    checkmark,
    checkmarkCircleFill,
    questionmarkCircle,
    characterBookClosed,
    sliderHorizontal3,
    xmark,
    chevronLeft,
    chevronRight,
    chevronUp,
    chevronDown,
    arrowClockwise,
    arrowUturnLeftCircle,
    plus,
    note,
    noteText,
    calendar,
    circle,
    largecircleFillCircle,
    line3Horizontal,
};

// The stroke weight of a symbol, as the weight of the text beside it.
enum class SymbolWeight { light, regular, medium };

namespace SymbolName {
QString of(Symbol symbol);
std::optional<Symbol> parse(QStringView name);
// Every symbol, in declaration order.
const QList<Symbol> &all();
} // namespace SymbolName
