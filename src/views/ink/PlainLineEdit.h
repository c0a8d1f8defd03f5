#pragma once

#include "views/ink/Tone.h"

#include <QLineEdit>

// A one-line text field without frame or background: the text in the
// given tone on whatever lies behind, the placeholder in the faint ink of
// the window's palette, shown whenever the field is empty, focused or not
// (Qt hides it in a centred field that has the focus).
class PlainLineEdit : public QLineEdit
{
    Q_OBJECT
public:
    explicit PlainLineEdit(QWidget *parent = nullptr);

    void setTone(Tone tone);

    // Gives a text widget a clear background and text in `tone` (kept in
    // step with the appearance by the widget's palette-change handling).
    static void applyPlainPalette(QWidget *widget, Tone tone);
    // After a palette change: whether the widget lost its plain colours.
    static bool needsPlainPalette(const QWidget *widget, Tone tone);

protected:
    void changeEvent(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    Tone m_tone{Kiv::Colour::ink};
};
