#pragma once

#include "views/ink/Animation.h"
#include "views/ink/InkLook.h"

#include <QAbstractButton>

// The program's painted button: a label of a symbol and/or a text drawn in
// the theme's colours, with an optional capsule, circle or rounded fill and
// outline, that fades to its hover colours over 0.15 s (ease-out) while the
// pointer is over it. The whole frame is the hit area (or its circle).
// Keyboard: reachable by Tab, Space and Return press it once the user gave
// it the focus (a click, Tab); the focus shows as an indigo ring while the
// user works with the keyboard (FocusRing). The accessible name is its text, or the name
// given with setName() for a symbol alone (also its tool tip).
class InkButton : public QAbstractButton
{
    Q_OBJECT
public:
    explicit InkButton(QWidget *parent = nullptr);
    InkButton(const QString &text, const InkLook &look, QWidget *parent = nullptr);

    void setLook(const InkLook &look);
    const InkLook &look() const { return m_look; }

    // The accessible name and the tool tip, for a button whose label is a
    // symbol alone.
    void setName(const QString &name);

    bool isHovering() const { return m_hovering; }
    // 0 at rest, 1 hovered, in between while fading.
    double hoverLevel() const { return m_hover.value(); }

    // The colours of the moment (the fade applied).
    QColor foregroundNow() const;
    QColor fillNow() const;
    QColor strokeNow() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void changeEvent(QEvent *event) override;
    bool hitButton(const QPoint &pos) const override;

    // The focus came from the keyboard, so the focus ring shows.
    bool showsFocusRing() const { return m_keyboardFocus && hasFocus(); }

    // Draws the label (symbol and text) in `rect` in `colour`; subclasses
    // with a label of their own override it.
    virtual void paintLabel(QPainter &painter, const QRectF &rect, const QColor &colour);
    // The natural size of the label.
    virtual QSizeF labelSize() const;

private:
    void setHovering(bool hovering);
    double symbolSide() const;

    InkLook m_look;
    Animation m_hover;
    bool m_hovering = false;
    bool m_keyboardFocus = false;
    bool m_focusFell = false; // the focus fell here, nobody gave it (FocusRing)
};
