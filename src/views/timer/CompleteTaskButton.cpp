#include "views/timer/CompleteTaskButton.h"

#include "core/L.h"

CompleteTaskButton::CompleteTaskButton(QWidget *parent)
    : InkButton(parent)
{
    setObjectName(QStringLiteral("timer.completeTaskButton"));
    InkLook look = InkLook::capsule(Kiv::tracked(Kiv::font(12, Kiv::Design::serif), 2.0, 0.24), {Kiv::Colour::moss},
                                    {Kiv::Colour::moss}, Tone::clear(), {Kiv::Colour::moss, 0.08},
                                    {Kiv::Colour::moss, 0.45}, {Kiv::Colour::moss, 0.8});
    look.symbol = Symbol::checkmark;
    look.symbolSize = 9 * Kiv::scale();
    look.symbolWeight = SymbolWeight::light;
    setText(L(QStringLiteral("了とする")));
    setLook(look);
}
