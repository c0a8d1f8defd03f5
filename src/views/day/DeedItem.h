#pragma once

#include "stores/DayEvent.h"
#include "views/day/DayItem.h"

#include <functional>

// A deed on the timeline. An own deed opens on a click (or Space, Return)
// and carries the tip "押すと、直す・消す"; a calendar copy takes nothing.
// A focus from the keyboard shows as an indigo ring.
class DeedItem : public DayItem
{
    Q_OBJECT
public:
    DeedItem(const DayDeed &deed, bool enabled, std::function<void()> open, QWidget *parent = nullptr);

    const DayDeed &deed() const { return m_deed; }
    bool opens() const { return m_enabled; }

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    DayDeed m_deed;
    bool m_enabled;
    std::function<void()> m_open;
    bool m_keyboardFocus = false;
};
