#pragma once

#include "views/ink/InkButton.h"

// The header's way out of a run: a left chevron in a 24 × 24 square that
// takes a press anywhere in it, named "Back", with the help text "Choose
// again". A press only emits clicked().
class BackButton : public InkButton
{
    Q_OBJECT
public:
    explicit BackButton(QWidget *parent = nullptr);
};
