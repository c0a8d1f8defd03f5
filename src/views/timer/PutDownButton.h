#pragma once

#include "views/ink/InkButton.h"

// "Let go": a quiet capsule in a hairline outline that darkens its text and
// takes a faint ink fill under the pointer. A press only emits clicked();
// the screen that places it decides what letting go does. Its label
// builder also serves the again button, which looks the same.
class PutDownButton : public InkButton
{
    Q_OBJECT
public:
    explicit PutDownButton(QWidget *parent = nullptr);

    // The look of the quiet capsule buttons (let go, again).
    static InkLook quietCapsule();
};
