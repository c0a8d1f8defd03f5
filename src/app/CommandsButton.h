#pragma once

#include "views/ink/InkButton.h"

class QMenu;

// The menu button in the main window's top-leading corner: it opens the
// window's commands (its actions: a start in each mode, the run's controls,
// keeping on top, Quit) as a menu below itself, each with its shortcut
// shown. Space, Return and F10 open it from the keyboard, with the first
// command active.
class CommandsButton : public InkButton
{
    Q_OBJECT
public:
    explicit CommandsButton(QWidget *parent = nullptr);

    // The menu, once it has been opened.
    QMenu *menu() const { return m_menu; }
    // Opens the menu; from the keyboard, its first enabled command is active.
    void openMenu(bool fromKeyboard);

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    QMenu *m_menu = nullptr;
};
