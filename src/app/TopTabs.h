#pragma once

#include "model/RootTab.h"

#include <QList>
#include <QWidget>
#include <optional>

class TabLabel;

// The row of four quiet text tabs across the top of the main window. The
// selected one is in ink over an indigo underline; the others are faint and
// darken under the pointer. The marked tab carries a small vermilion dot
// (the task list on a sweep day). A click (or Space on a focused tab) tells
// chosen(); the owner sets the model's tab, and the row follows through
// setSelection(). In a row too narrow for the titles at their size (a
// narrow window at a large text scale) every title is drawn smaller alike,
// so the row fits the window rather than widening it.
class TopTabs : public QWidget
{
    Q_OBJECT
public:
    explicit TopTabs(QWidget *parent = nullptr);

    void setSelection(RootTab tab);
    RootTab selection() const { return m_selection; }
    void setMarked(std::optional<RootTab> marked);
    std::optional<RootTab> marked() const { return m_marked; }

    // A tab's tool tip: the sweep-day sentence while it is marked, else its hint.
    static QString helpFor(RootTab tab, bool marked);
    // A tab's label's object name ("root.tab.pomodoro").
    static QString labelName(RootTab tab);

    QSize minimumSizeHint() const override;

signals:
    void chosen(RootTab tab);

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    // The share of their size the titles are drawn at in a row `width` wide.
    double fitFor(int width) const;
    void refresh(bool animated);

    QList<TabLabel *> m_labels;
    RootTab m_selection = RootTab::pomodoro;
    std::optional<RootTab> m_marked;
};
