#pragma once

#include "views/ink/InkButton.h"

// One more sitting during a break: a faint grey outlined pill ("Keep
// sitting") while not chosen; once chosen, an indigo pill with a faint
// indigo fill and a turning arrow before its title ("Never mind"). The
// pointer only darkens the text and the arrow. A press only emits clicked().
class EncoreButton : public InkButton
{
    Q_OBJECT
public:
    explicit EncoreButton(QWidget *parent = nullptr);

    void setChosen(bool chosen);
    bool isChosen() const { return m_chosen; }

    static InkLook lookFor(bool chosen);

private:
    bool m_chosen = false;
};
