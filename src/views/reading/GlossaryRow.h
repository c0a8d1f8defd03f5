#pragma once

#include "core/GlossaryEntry.h"
#include "views/ink/Animation.h"

#include <QWidget>

class ElidedLabel;
class QVBoxLayout;
class TextBlock;

// One entry of the glossary page: the term and its reading with the place
// at the right end of the line, the meaning below, and either the hint
// "由来を読む" or, once opened, the detail beside a hairline. A click
// anywhere on the row (or Space / Return when it has the keyboard's focus)
// opens or closes it; the detail fades in over 0.22 s.
class GlossaryRow : public QWidget
{
    Q_OBJECT
public:
    GlossaryRow(const GlossaryEntry &entry, QWidget *parent = nullptr);

    const GlossaryEntry &entry() const { return m_entry; }
    bool isOpen() const { return m_open; }
    void toggle();

    QWidget *detail() const { return m_detailBlock; }
    ElidedLabel *hint() const { return m_hint; }

protected:
    void mouseReleaseEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void place();

    GlossaryEntry m_entry;
    bool m_open = false;
    bool m_keyboardFocus = false;
    QWidget *m_detailBlock = nullptr;
    TextBlock *m_detail = nullptr;
    ElidedLabel *m_hint = nullptr;
    Animation m_fade;
};
