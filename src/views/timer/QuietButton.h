#pragma once

#include "views/ink/InkButton.h"

// A quiet word in a 56 × 28 frame ("Back", "Next" of the controls row): soft
// ink that darkens under the pointer, no fill, no outline. The frame keeps
// its size at every text scale. A press only emits clicked().
class QuietButton : public InkButton
{
    Q_OBJECT
public:
    explicit QuietButton(const QString &title, QWidget *parent = nullptr);
};
