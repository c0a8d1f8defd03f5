#include "views/timer/PutDownButton.h"

#include "core/L.h"

PutDownButton::PutDownButton(QWidget *parent)
    : InkButton(L(QStringLiteral("手を離す")), quietCapsule(), parent)
{
    setObjectName(QStringLiteral("timer.putDownButton"));
    setToolTip(L(QStringLiteral("ここまでにして、選び直す（時間はそのぶん記録されます）")));
}

InkLook PutDownButton::quietCapsule()
{
    return InkLook::capsule(Kiv::tracked(Kiv::font(12, Kiv::Design::serif), 2.0, 0.24), {Kiv::Colour::inkSoft},
                            {Kiv::Colour::ink}, Tone::clear(), {Kiv::Colour::ink, 0.05}, {Kiv::Colour::hairline},
                            {Kiv::Colour::hairline});
}
