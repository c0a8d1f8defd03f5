#pragma once

#include "views/ink/InkButton.h"

// "Mark done" with a check mark, in moss: marks the linked task done. The
// screen placing it gives the help text that names the task
// (RoundButton::toolTip). A press only emits clicked().
class CompleteTaskButton : public InkButton
{
    Q_OBJECT
public:
    explicit CompleteTaskButton(QWidget *parent = nullptr);
};
