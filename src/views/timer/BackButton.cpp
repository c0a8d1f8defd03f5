#include "views/timer/BackButton.h"

#include "core/L.h"

BackButton::BackButton(QWidget *parent)
    : InkButton(QString(),
                InkLook::icon(Symbol::chevronLeft, 11 * Kiv::scale(), {Kiv::Colour::inkSoft}, {Kiv::Colour::ink},
                              QSizeF(24, 24), SymbolWeight::light),
                parent)
{
    setObjectName(QStringLiteral("timer.backButton"));
    setName(L(QStringLiteral("戻る")));
    setToolTip(L(QStringLiteral("選び直す")));
}
