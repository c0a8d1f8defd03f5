#include "views/timer/AgainButton.h"

#include "core/L.h"
#include "views/timer/PutDownButton.h"

AgainButton::AgainButton(QWidget *parent)
    : InkButton(L(QStringLiteral("もう一度")), PutDownButton::quietCapsule(), parent)
{
    setObjectName(QStringLiteral("timer.againButton"));
}
