#pragma once

#include <QWidget>

class QBoxLayout;
class TextBlock;

// A label and a control on one line, the label taking the room the control
// leaves. Where the line is too narrow for the label's longest word beside
// the control (English at a large text scale), the control goes under the
// label instead of the word being broken.
class SideBySide : public QWidget
{
    Q_OBJECT
public:
    SideBySide(TextBlock *label, QWidget *control, QWidget *parent = nullptr);

    // Whether the control stands under the label now.
    bool isStacked() const { return m_stacked; }
    // The width the two need side by side.
    int sideBySideWidth() const;

    QSize minimumSizeHint() const override;

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void place(bool stacked);

    TextBlock *m_label;
    QWidget *m_control;
    QBoxLayout *m_layout;
    bool m_stacked = false;
};
