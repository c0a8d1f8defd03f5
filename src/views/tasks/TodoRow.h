#pragma once

#include "core/TaskSource.h"
#include "platform/time/Clock.h"
#include "stores/LocalTask.h"
#include "views/ink/Animation.h"
#include "views/ink/ViewContext.h"

#include <QDateTime>
#include <QPointer>
#include <QWidget>
#include <functional>
#include <optional>

class EditingTask;
class ElidedLabel;
class InkButton;
class PlainLineEdit;
class Popover;
class QMenu;
class Reorderable;

// The card of one open task: a completion circle, the name with a line of
// facts under it (list, due day, first placed day), a vermilion dot on the
// current task and, while the pointer is over the row, the note and
// "begin" buttons. A click on the name opens the action panel; the row
// also hosts the due-date, placement and note popovers, the context menu
// and the inline rename.
//
// A row belongs to its task reference: the list keeps it across reloads
// and hands it the fresh item with set(), so open popovers and a rename
// under way survive. Every change goes to the model; the list follows the
// model's signals and removes rows from a queued call, never from inside a
// row's own handler.
class TodoRow : public QWidget
{
    Q_OBJECT
public:
    // editing: the list's shared rename state (not owned).
    TodoRow(const ViewContext &context, EditingTask *editing, QWidget *parent = nullptr);
    ~TodoRow() override;

    // The task, whether it stands in the past-due group, and whether it is
    // the one just added (tinted; its panel opens by itself after 0.5 s).
    void set(const TodoItem &item, bool overdue, bool justWritten);
    const TodoItem &item() const { return m_item; }
    // What "begin" does; by default the model takes the task.
    void setTake(std::function<void()> take) { m_take = std::move(take); }
    Reorderable *reorderable() const { return m_reorderable; }

    // The view state.
    bool isHovering() const { return m_hovering; }
    // The just-added marks' strength (1 while just added, fading to 0).
    double justWrittenLevel() const { return m_justMark.value(); }
    static constexpr int kJustWrittenFadeMs = 400;
    bool isSelected() const;
    bool isEditing() const;
    bool showsActions() const;
    bool showsDatePicker() const;
    bool showsPlacePicker() const;
    bool showsNote() const;
    // Whether the row holds view state a reload must not lose: an open
    // popover, a rename under way, the highlight of a task just added.
    bool holdsState() const;
    QString subtitle() const;
    QString helpText() const;
    QDateTime pickedDate() const { return m_pickedDate; }
    // The open popovers (null while closed), for tests and the pictures.
    Popover *actionsPopover() const;
    Popover *datePopover() const;
    Popover *placePopover() const;
    Popover *notePopover() const;

    // The actions. Aside: the panel shows without taking the keyboard (the
    // panel of a task just added, while the user goes on typing).
    void openActions(bool aside = false);
    void closeActions();
    void beginEdit();
    void commitEdit();
    // The context menu (the caller owns it).
    QMenu *buildMenu();

    void refresh();

protected:
    void paintEvent(QPaintEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    class Completion;
    class NameArea;
    class ActionPanel;

    std::optional<LocalTask> localTask() const;
    QList<QDateTime> placedDays() const;
    std::optional<QUuid> localId() const;
    QString sourceName() const;

    void setHovering(bool hovering);
    void complete();
    void begin();
    void openNote();
    void openDueDate();
    void openPlaces();
    void setDue(const std::optional<QDateTime> &due);
    void moveToPractice(bool occasional);
    void openSource();
    void armJustWritten();

    ViewContext m_context;
    EditingTask *m_editing = nullptr;
    TodoItem m_item;
    bool m_hasItem = false;
    bool m_overdue = false;
    bool m_justWritten = false;
    Animation m_justMark;
    bool m_hovering = false;
    QDateTime m_pickedDate;
    std::function<void()> m_take;

    Completion *m_completion = nullptr;
    NameArea *m_nameArea = nullptr;
    ElidedLabel *m_title = nullptr;
    PlainLineEdit *m_field = nullptr;
    ElidedLabel *m_subtitle = nullptr;
    QWidget *m_dot = nullptr;
    InkButton *m_noteButton = nullptr;
    InkButton *m_beginButton = nullptr;
    Reorderable *m_reorderable = nullptr;

    QPointer<Popover> m_actions;
    ActionPanel *m_panel = nullptr;
    QPointer<Popover> m_datePicker;
    QPointer<Popover> m_placePicker;
    QPointer<Popover> m_note;
    Clock::Handle m_justWrittenWait = 0;
    bool m_shownOnce = false;
};
