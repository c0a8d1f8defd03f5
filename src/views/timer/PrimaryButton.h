#pragma once

#include "views/ink/InkButton.h"
#include "views/timer/RoundButtons.h"

// The round's main control ("Begin", "Pause", "Resume"): a capsule 128 × 40
// (times the text scale) in its tint, indigo in focus and moss in a break,
// whose outline darkens and whose fill tints under the pointer. A press
// only emits clicked().
class PrimaryButton : public InkButton
{
    Q_OBJECT
public:
    explicit PrimaryButton(QWidget *parent = nullptr);

    void setTint(RoundButtons::Tint tint);
    RoundButtons::Tint tint() const { return m_tint; }

    static InkLook lookFor(RoundButtons::Tint tint);

private:
    RoundButtons::Tint m_tint = RoundButtons::Tint::indigo;
};
