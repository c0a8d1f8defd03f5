#pragma once

#include "views/ink/ViewContext.h"

#include <QHash>
#include <QWidget>

class DailyCard;
class DailyComposer;
class ElidedLabel;
class InkButton;
class KivBackground;
class Popover;
class QScrollArea;
class QVBoxLayout;

// The practice shelf of the "daily" tab: the practices asked every day
// (日々) and those done now and then (折々), one card each, under their
// headings; an empty state when there is none; and the button that opens
// the composer of a new practice. Cards are kept by their task reference,
// so a reload keeps their view state.
class DailyView : public QWidget
{
    Q_OBJECT
public:
    explicit DailyView(const ViewContext &context, QWidget *parent = nullptr);

    void refresh();

    // The card of a practice by its title (tests).
    DailyCard *card(const QString &title) const;
    QList<DailyCard *> cards(bool occasional) const;
    DailyComposer *composer() const { return m_composer; }
    void openComposer();
    bool composerIsOpen() const;

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void commit();

    ViewContext m_context;
    KivBackground *m_paper = nullptr;
    QWidget *m_empty = nullptr;
    QWidget *m_list = nullptr;
    QScrollArea *m_scroll = nullptr;
    QWidget *m_everyDayHeading = nullptr;
    QWidget *m_occasionalHeading = nullptr;
    QVBoxLayout *m_everyDay = nullptr;
    QVBoxLayout *m_occasional = nullptr;
    InkButton *m_add = nullptr;
    DailyComposer *m_composer = nullptr;
    Popover *m_popover = nullptr;
    QHash<QString, DailyCard *> m_cards; // by task reference
};
