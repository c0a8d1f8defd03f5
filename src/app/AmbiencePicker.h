#pragma once

#include "views/ink/InkButton.h"
#include "views/ink/ViewContext.h"

class QMenu;

// The small sound control at the foot of the timer screen: a speaker and
// the name of the sound that plays behind focus phases (AmbienceMenu::face),
// faint at rest and softer under the pointer. A click, Space or Return opens
// the menu of the scenes and the user's own sounds, read afresh each time
// (AmbienceMenu::entries); a choice is stored and brought in line with the
// run at once. As a still picture it shows the face only.
class AmbiencePicker : public InkButton
{
    Q_OBJECT
public:
    explicit AmbiencePicker(const ViewContext &context, QWidget *parent = nullptr);

    // The menu once it has been opened (object name "ambience.menu").
    QMenu *menu() const { return m_menu; }
    // Builds the menu from the settings and the sound library and opens it
    // below the face.
    void openMenu();

protected:
    void showEvent(QShowEvent *event) override;

private:
    void refresh();

    ViewContext m_context;
    QMenu *m_menu = nullptr;
};
