#pragma once

#include "core/Models.h"
#include "platform/time/Clock.h"
#include "views/ink/Animation.h"
#include "views/ink/ViewContext.h"
#include "views/tasks/TodoGroups.h"

#include <QList>
#include <QWidget>
#include <optional>

class InkButton;
class PlainLineEdit;
class QScrollArea;
class QStackedWidget;
class QVBoxLayout;
class TodoRowPool;
class TodoRow;

// The tasks tab: a composer line for a new task, the invitation to the
// sweep on its days, then either the empty state or the scrolling list of
// the open tasks in their date groups, the three folded archives of closed
// tasks (finished today, finished before, set down) and, while reminders
// are not connected, a hint that leads to the settings.
//
// It keeps only view state (the composer text, the row in edit, the task
// just added, the archives' flags and pages). The list follows the model's
// change signals from a queued call: rows are kept per task reference, so a
// reload after one change rebuilds nothing but what changed.
class TodoListView : public QWidget
{
    Q_OBJECT
public:
    explicit TodoListView(const ViewContext &context, QWidget *parent = nullptr);
    ~TodoListView() override;

    // The rows of the open tasks (tests, pictures).
    TodoRow *rowOf(const TaskRef &ref) const;
    std::optional<TaskRef> justAdded() const { return m_justAdded; }
    // The composer's outline: 0 at rest, 1 while it has the keyboard.
    double composerFocusLevel() const { return m_composerFocus.value(); }
    static constexpr int kComposerFocusMs = 150;
    // Rebuilds the list now (it otherwise follows the model on a later turn).
    void reload();
    // The titles, rows, archives and hint that stand in the list, top to
    // bottom (rows out of view are not built).
    QList<QWidget *> shownInOrder() const;

signals:
    // "設定へ" of the connect hint: the shell opens the settings window.
    void settingsRequested();

private:
    class Archive;

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void commitDraft();
    void scheduleReload();
    void scrollToJustAdded();
    // Places the entries on the content sheet and builds the rows in view.
    void place();
    int rowHeight() const;

    // One entry of the list: a title, an archive or the hint (widget), or
    // the row of a task (its group and its index there).
    struct Entry
    {
        QWidget *widget = nullptr;
        int group = -1;
        int index = -1;
        int y = 0;
        int height = 0;
    };

    ViewContext m_context;
    PlainLineEdit *m_composer = nullptr;
    QWidget *m_composerBox = nullptr;
    QWidget *m_sweep = nullptr;
    QStackedWidget *m_pages = nullptr;
    QWidget *m_empty = nullptr;
    QScrollArea *m_scroll = nullptr;
    QWidget *m_content = nullptr;
    QList<TodoGroup> m_groups;
    QList<Entry> m_entries;
    QList<QWidget *> m_sectionTitles; // one per group rank
    QList<Archive *> m_archives;
    QWidget *m_connectHint = nullptr;
    TodoRowPool *m_pool = nullptr;
    std::optional<TaskRef> m_justAdded;
    Clock::Handle m_justAddedWait = 0;
    bool m_reloadQueued = false;
    bool m_scrollPending = false;
    Animation m_scrollMotion;
    Animation m_composerFocus;
};
