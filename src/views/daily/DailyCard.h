#pragma once

#include "core/TaskSource.h"
#include "stores/LocalTask.h"
#include "views/ink/ViewContext.h"

#include <QPointer>
#include <QWidget>
#include <functional>
#include <optional>

class DailyCardPanel;
class DailyNotePanel;
class ElidedLabel;
class PlaceCalendar;
class PlainLineEdit;
class Popover;
class QAbstractButton;
class QMenu;
class QSpacerItem;
class TodayMark;

// One practice on the shelf: a rounded card with the today mark (for every-
// day practices), the title, and a faint line with the last day it was
// worked on. A click on the title opens the action panel; a secondary click
// the context menu; a rename edits the title in place. The card keeps only
// its view state; every change goes through the task hub and its store.
class DailyCard : public QWidget
{
    Q_OBJECT
public:
    DailyCard(const ViewContext &context, const TodoItem &item, std::function<void()> take,
              QWidget *parent = nullptr);

    const TodoItem &item() const { return m_item; }
    // A newer copy of the same practice (title, notes).
    void setItem(const TodoItem &item);
    // Reads the task, today's mark and the tally afresh.
    void refresh();

    // Starts a rename: the field shows the title and takes the focus.
    void startRename();
    bool isEditing() const { return m_editing; }
    // The action panel, the month calendar and the note panel, opened as
    // from their buttons.
    void openPanel();
    void openPlaces();
    void openNote();
    DailyCardPanel *panel() const;
    PlaceCalendar *placePicker() const;
    DailyNotePanel *notePanel() const;

    // The context menu's items (begin, rename, move, back to tasks, delete).
    QMenu *buildMenu(QWidget *parent);
    // Adds the move, back-to-tasks and delete items to a menu.
    static void addMoves(QMenu *menu, const ViewContext &context, const TodoItem &item,
                         const std::optional<LocalTask> &task);

    QString tallyText() const;
    bool showsTodayMark() const;

protected:
    void paintEvent(QPaintEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    std::optional<LocalTask> task() const;
    void commitRename();
    void setHovering(bool hovering);

    ViewContext m_context;
    TodoItem m_item;
    std::function<void()> m_take;
    bool m_hovering = false;
    bool m_editing = false;

    TodayMark *m_mark = nullptr;
    QAbstractButton *m_title = nullptr;
    PlainLineEdit *m_field = nullptr;
    ElidedLabel *m_tally = nullptr;
    QSpacerItem *m_tallyIndent = nullptr;
    QPointer<Popover> m_panel;
    QPointer<Popover> m_places;
    QPointer<PlaceCalendar> m_calendar;
    QPointer<Popover> m_note;
};
