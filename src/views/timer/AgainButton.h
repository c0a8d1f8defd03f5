#pragma once

#include "views/ink/InkButton.h"

// "もう一度" (the same in every language): begins the finished run's mode
// again. Looks like the let-go button, without a help text. A press only
// emits clicked().
class AgainButton : public InkButton
{
    Q_OBJECT
public:
    explicit AgainButton(QWidget *parent = nullptr);
};
