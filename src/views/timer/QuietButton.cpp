#include "views/timer/QuietButton.h"

QuietButton::QuietButton(const QString &title, QWidget *parent)
    : InkButton(parent)
{
    InkLook look = InkLook::plain(Kiv::font(12, Kiv::Design::serif), {Kiv::Colour::inkSoft}, {Kiv::Colour::ink});
    look.fixedSize = QSizeF(56, 28);
    setText(title);
    setLook(look);
}
