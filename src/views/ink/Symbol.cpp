#include "views/ink/Symbol.h"

#include <QList>
#include <array>
#include <utility>

namespace {
using Entry = std::pair<Symbol, const char *>;
constexpr std::array kNames{
    Entry{Symbol::pin, "pin"},
    Entry{Symbol::pinFill, "pin.fill"},
    Entry{Symbol::listBullet, "list.bullet"},
    Entry{Symbol::speakerWave2, "speaker.wave.2"},
    Entry{Symbol::speakerSlash, "speaker.slash"},
    Entry{Symbol::checkmark, "checkmark"},
    Entry{Symbol::checkmarkCircleFill, "checkmark.circle.fill"},
    Entry{Symbol::questionmarkCircle, "questionmark.circle"},
    Entry{Symbol::characterBookClosed, "character.book.closed"},
    Entry{Symbol::sliderHorizontal3, "slider.horizontal.3"},
    Entry{Symbol::xmark, "xmark"},
    Entry{Symbol::chevronLeft, "chevron.left"},
    Entry{Symbol::chevronRight, "chevron.right"},
    Entry{Symbol::chevronUp, "chevron.up"},
    Entry{Symbol::chevronDown, "chevron.down"},
    Entry{Symbol::arrowClockwise, "arrow.clockwise"},
    Entry{Symbol::arrowUturnLeftCircle, "arrow.uturn.left.circle"},
    Entry{Symbol::plus, "plus"},
    Entry{Symbol::note, "note"},
    Entry{Symbol::noteText, "note.text"},
    Entry{Symbol::calendar, "calendar"},
    Entry{Symbol::circle, "circle"},
    Entry{Symbol::largecircleFillCircle, "largecircle.fill.circle"},
    Entry{Symbol::line3Horizontal, "line.3.horizontal"},
};
} // namespace

namespace SymbolName {
QString of(Symbol symbol)
{
    for (const Entry &e : kNames)
        if (e.first == symbol)
            return QString::fromLatin1(e.second);
    return {};
}

std::optional<Symbol> parse(QStringView name)
{
    for (const Entry &e : kNames)
        if (name == QLatin1String(e.second))
            return e.first;
    return std::nullopt;
}

const QList<Symbol> &all()
{
    static const QList<Symbol> list = [] {
        QList<Symbol> symbols;
        for (const Entry &e : kNames)
            symbols << e.first;
        return symbols;
    }();
    return list;
}
} // namespace SymbolName
