#pragma once

#include "core/TaskSource.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QUuid>
#include <functional>
#include <memory>
#include <optional>

class CalendarStore;
class LocalTaskSource;
class LocalTaskStore;
class Preferences;
class RemindersTaskSource;

// The one place through which the rest of the program sees and edits tasks.
// It merges the open tasks of the local list and of the reminders into one
// ordered list (items), keeps the daily practices (dailyItems), remembers the
// task the current round works on (selected) and routes every edit to the
// source that owns the task.
//
// The preference "externalTaskMode" decides how reminders enter the list:
// "off" not at all, "mirror" shown beside the local tasks, anything else
// (the default, adopt) copied once into the local list. With
// "writeBackToExternal" on (the default), progress, completion and note edits
// of a local task copied from a reminder also reach that reminder.
//
// The asynchronous operations report through callbacks; over local files
// they complete before they return. A change in the calendar folders
// refreshes the list.
class TaskHub : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QList<TodoItem> items READ items NOTIFY itemsChanged)
    Q_PROPERTY(QList<TodoItem> dailyItems READ dailyItems NOTIFY dailyItemsChanged)
    Q_PROPERTY(bool isLoading READ isLoading NOTIFY isLoadingChanged)
    Q_PROPERTY(std::optional<TodoItem> selected READ selected WRITE setSelected NOTIFY selectedChanged)

public:
    // How outside tasks enter the list, as "externalTaskMode" says now.
    enum class ExternalMode { off, adopt, mirror };
    ExternalMode externalMode() const;

    // How many rows each outside source gives at most.
    static constexpr int kExternalLimit = 40;

    // local: the task store, else one on the default file, owned by the hub.
    // settings: the preferences the settings live in, else the standard ones.
    // calendars: where reminders are read, else the calendar folders named
    // in those preferences, owned by the hub. Given objects must outlive it.
    explicit TaskHub(LocalTaskStore *local = nullptr, Preferences *settings = nullptr,
                     CalendarStore *calendars = nullptr, QObject *parent = nullptr);
    ~TaskHub() override;

    LocalTaskStore &local() const { return *m_local; }
    LocalTaskSource &localSource() const { return *m_localSource; }
    RemindersTaskSource &reminders() const { return *m_reminders; }

    QList<TodoItem> items() const { return m_items; }
    QList<TodoItem> dailyItems() const { return m_dailyItems; }
    bool isLoading() const { return m_isLoading; }
    std::optional<TodoItem> selected() const { return m_selected; }
    void setSelected(const std::optional<TodoItem> &item);

    // Told how many outside tasks a refresh copied into the local list (only
    // when it copied any).
    std::function<void(int count)> onAdopted;

    // Rebuilds items and dailyItems from the sources.
    void reload();
    // Fetches outside tasks as "externalTaskMode" says, then reloads; done
    // (when given) runs afterwards.
    void refresh(std::function<void()> done = {});

    // A new local task; nothing for a blank title.
    std::optional<TodoItem> add(const QString &title, const std::optional<QDateTime> &due = std::nullopt);
    // Writes a progress line; reports whether the task's own source took it.
    void logProgress(const TaskProgress &progress, const TaskRef &ref, TaskSource::Done done = {});
    // Completes a task; reports whether its source did.
    void complete(const TaskRef &ref, TaskSource::Done done = {});
    // Replaces the user's part of the notes (progress lines stay).
    void setNotes(const TaskRef &ref, const QString &userText);

    // Edits of local tasks; other references are ignored.
    void rename(const TaskRef &ref, const QString &title);
    void reorder(const QList<TaskRef> &refs);
    void setAside(const TaskRef &ref);
    // Toggles today's done mark of a daily practice.
    void toggleDone(const TaskRef &ref);
    void deleteTask(const TaskRef &ref);

    // The source that owns a reference, if any.
    TaskSource *source(const TaskRef &ref) const;

signals:
    void itemsChanged();
    void dailyItemsChanged();
    void isLoadingChanged();
    void selectedChanged();

private:
    bool writesBack() const;
    QList<TaskSource *> sources() const;
    // The reminder a local task was copied from, when writing back applies.
    std::optional<TaskRef> origin(const TaskRef &ref) const;
    void fetchFrom(int index, std::shared_ptr<QList<TodoItem>> rows, std::function<void()> finished);
    void setItems(const QList<TodoItem> &items);
    void setDailyItems(const QList<TodoItem> &items);
    void setLoading(bool loading);
    void clearSelectedIf(const TaskRef &ref);
    // Runs the edit with the id of a local reference, then reloads; false
    // (and nothing done) for any other reference.
    bool editLocal(const TaskRef &ref, const std::function<void(const QUuid &)> &edit);

    // Declared so that the sources go before the stores they use.
    std::unique_ptr<LocalTaskStore> m_ownedLocal;
    std::unique_ptr<CalendarStore> m_ownedCalendars;
    LocalTaskStore *m_local = nullptr;
    Preferences *m_settings = nullptr;
    std::unique_ptr<LocalTaskSource> m_localSource;
    std::unique_ptr<RemindersTaskSource> m_reminders;

    QList<TodoItem> m_items;
    QList<TodoItem> m_dailyItems;
    QList<TodoItem> m_externalItems;
    bool m_isLoading = false;
    std::optional<TodoItem> m_selected;
};
