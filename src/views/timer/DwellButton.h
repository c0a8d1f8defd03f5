#pragma once

#include "views/ink/InkButton.h"

// A capsule text button in a hairline outline, used to stay with one task
// of a rounds run: its text one line, cut with an ellipsis when there is no
// room; under the pointer a faint ink fill, at once (no fade). Only a press
// inside the capsule counts. A press only emits clicked().
class DwellButton : public InkButton
{
    Q_OBJECT
public:
    explicit DwellButton(const QString &label, QWidget *parent = nullptr);

    static InkLook look();

    // It may shrink below its text's width (the text is then cut).
    QSize minimumSizeHint() const override;

protected:
    bool hitButton(const QPoint &pos) const override;
};
