#pragma once

#include "views/ink/InkDialog.h"
#include <QRect>
#include <QSize>

class InkButton;

// A sheet over the main window: a page (the glossary, the how-to page) with
// a Close link under it, on the paper, modal to the window. Its frame is
// the size the page asks for, clamped to the room the screen has, so it
// never opens larger than the screen; the page scrolls within it.
class SheetDialog : public InkDialog
{
    Q_OBJECT
public:
    // wanted: the frame at text scale 1 (multiplied by the scale in effect).
    SheetDialog(QWidget *page, QSizeF wanted, QWidget *parent);

    QWidget *page() const { return m_page; }
    InkButton *closeButton() const { return m_close; }

    // The frame: wanted, no larger than the available area (less a margin).
    static QSize fit(QSize wanted, QRect available);

    // Shows the sheet centred over its parent window and on that screen.
    void present();

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QWidget *m_page;
    InkButton *m_close = nullptr;
    QSize m_wanted;
};
