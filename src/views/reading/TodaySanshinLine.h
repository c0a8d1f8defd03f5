#pragma once

#include "core/Isshin.h"
#include "views/ink/ViewContext.h"

#include <QAbstractButton>

class ElidedLabel;
class SanshinNotePresenter;

// The footer's line of today's mind ("今日の三心：{name} ・ {line}"): at
// most two lines, wrapping within the width it is given. Pressing it (or
// Space / Return on it) opens the note on the mind beside it. It shows the
// mind of the present moment unless given one.
class TodaySanshinLine : public QAbstractButton
{
    Q_OBJECT
public:
    TodaySanshinLine(const ViewContext &context, QWidget *parent = nullptr);

    void setIsshin(Isshin isshin);
    Isshin isshin() const { return m_isshin; }
    SanshinNotePresenter *presenter() const { return m_presenter; }
    ElidedLabel *label() const { return m_label; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    void display(Isshin isshin);

    ViewContext m_context;
    Isshin m_isshin = Isshin::kishin;
    bool m_given = false;
    bool m_keyboardFocus = false;
    ElidedLabel *m_label = nullptr;
    SanshinNotePresenter *m_presenter = nullptr;
};
