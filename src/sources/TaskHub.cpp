#include "sources/TaskHub.h"

#include "platform/time/Clock.h"
#include "platform/calendar/IcalFolderStore.h"
#include "platform/files/Preferences.h"
#include "sources/LocalTaskSource.h"
#include "sources/RemindersTaskSource.h"
#include "sources/TodoOrder.h"
#include "stores/LocalTaskStore.h"

namespace {

const QString kModeKey = QStringLiteral("externalTaskMode");
const QString kWriteBackKey = QStringLiteral("writeBackToExternal");

bool sameRef(const std::optional<TodoItem> &item, const TaskRef &ref)
{
    return item && item->ref == ref;
}

} // namespace

TaskHub::TaskHub(LocalTaskStore *local, Preferences *settings, CalendarStore *calendars, QObject *parent)
    : QObject(parent)
    , m_settings(settings ? settings : &Preferences::standard())
{
    if (!calendars) {
        m_ownedCalendars = std::make_unique<IcalFolderStore>(m_settings);
        calendars = m_ownedCalendars.get();
    }
    m_reminders = std::make_unique<RemindersTaskSource>(*calendars);
    if (!local) {
        m_ownedLocal = std::make_unique<LocalTaskStore>();
        local = m_ownedLocal.get();
    }
    m_local = local;
    m_localSource = std::make_unique<LocalTaskSource>(*m_local);
    connect(calendars, &CalendarStore::changed, this, [this] { refresh(); });
    reload();
}

TaskHub::~TaskHub() = default;

TaskHub::ExternalMode TaskHub::externalMode() const
{
    const QString mode = m_settings->string(kModeKey).value_or(QString());
    if (mode == QLatin1String("off"))
        return ExternalMode::off;
    if (mode == QLatin1String("mirror"))
        return ExternalMode::mirror;
    return ExternalMode::adopt;
}

bool TaskHub::writesBack() const
{
    return m_settings->boolean(kWriteBackKey).value_or(true);
}

QList<TaskSource *> TaskHub::sources() const
{
    return {m_localSource.get(), m_reminders.get()};
}

TaskSource *TaskHub::source(const TaskRef &ref) const
{
    for (TaskSource *s : sources()) {
        if (s->sourceID() == ref.source)
            return s;
    }
    return nullptr;
}

std::optional<TaskRef> TaskHub::origin(const TaskRef &ref) const
{
    if (!writesBack())
        return std::nullopt;
    const std::optional<QUuid> id = LocalTaskSource::localId(ref);
    if (!id)
        return std::nullopt;
    const std::optional<LocalTask> task = m_local->task(*id);
    if (!task || !task->origin)
        return std::nullopt;
    const TaskSource *target = source(*task->origin);
    if (!target || !target->isAuthorized())
        return std::nullopt;
    return task->origin;
}

// ---- observed state ---------------------------------------------------------

void TaskHub::setItems(const QList<TodoItem> &items)
{
    if (items == m_items)
        return;
    m_items = items;
    emit itemsChanged();
}

void TaskHub::setDailyItems(const QList<TodoItem> &items)
{
    if (items == m_dailyItems)
        return;
    m_dailyItems = items;
    emit dailyItemsChanged();
}

void TaskHub::setLoading(bool loading)
{
    if (loading == m_isLoading)
        return;
    m_isLoading = loading;
    emit isLoadingChanged();
}

void TaskHub::setSelected(const std::optional<TodoItem> &item)
{
    if (item == m_selected)
        return;
    m_selected = item;
    emit selectedChanged();
}

void TaskHub::clearSelectedIf(const TaskRef &ref)
{
    if (sameRef(m_selected, ref))
        setSelected(std::nullopt);
}

// ---- reading ----------------------------------------------------------------

void TaskHub::reload()
{
    setItems(TodoOrder::sorted(m_localSource->items() + m_externalItems, Clock::current().now()));
    setDailyItems(m_localSource->dailyItems());
    // The selection keeps its own values while its task is still listed.
    if (m_selected) {
        const bool listed = std::any_of(m_items.cbegin(), m_items.cend(),
                                        [&](const TodoItem &item) { return item.ref == m_selected->ref; });
        if (!listed)
            setSelected(std::nullopt);
    }
}

void TaskHub::refresh(std::function<void()> done)
{
    // Access changes outside the program too (a sync tool makes the account
    // folder, its permissions change): read it again, a few file lookups.
    m_reminders->setAuthorization(m_reminders->store().authorization());
    const ExternalMode mode = externalMode();
    if (mode == ExternalMode::off) {
        if (!m_externalItems.isEmpty()) {
            m_externalItems.clear();
            reload();
        }
        if (done)
            done();
        return;
    }
    setLoading(true);
    auto rows = std::make_shared<QList<TodoItem>>();
    QPointer<TaskHub> self(this);
    fetchFrom(0, rows, [self, rows, mode, done] {
        if (!self)
            return;
        self->setLoading(false);
        if (mode == ExternalMode::adopt) {
            const QList<LocalTask> created = self->m_local->adopt(*rows, Clock::current().now());
            self->m_externalItems.clear();
            if (!created.isEmpty() && self->onAdopted)
                self->onAdopted(int(created.size()));
        } else {
            self->m_externalItems = *rows;
        }
        self->reload();
        if (done)
            done();
    });
}

// Asks the outside sources in their fixed order, one after the other.
void TaskHub::fetchFrom(int index, std::shared_ptr<QList<TodoItem>> rows, std::function<void()> finished)
{
    const QList<TaskSource *> all = sources();
    for (int i = index; i < all.size(); ++i) {
        TaskSource *s = all[i];
        if (s->sourceID() == LocalTaskSource::kSourceID || !s->isAuthorized())
            continue;
        QPointer<TaskHub> self(this);
        s->openTasks(kExternalLimit, [self, i, rows, finished](const QList<TodoItem> &fetched) {
            rows->append(fetched);
            if (self)
                self->fetchFrom(i + 1, rows, finished);
        });
        return;
    }
    finished();
}

// ---- edits through the sources ------------------------------------------------

void TaskHub::logProgress(const TaskProgress &progress, const TaskRef &ref, TaskSource::Done done)
{
    const std::optional<TaskRef> target = origin(ref);
    QPointer<TaskSource> targetSource = target ? source(*target) : nullptr;
    QPointer<TaskSource> own = source(ref);
    QPointer<TaskHub> self(this);
    auto afterOwn = [=](bool ok) {
        auto finish = [=] {
            if (self && ok && ref.source == LocalTaskSource::kSourceID)
                self->reload();
            if (done)
                done(ok);
        };
        // The origin is written whatever the task's own write answered.
        if (target && targetSource)
            targetSource->logProgress(progress, *target, [finish](bool) { finish(); });
        else
            finish();
    };
    if (own)
        own->logProgress(progress, ref, afterOwn);
    else
        afterOwn(false);
}

void TaskHub::complete(const TaskRef &ref, TaskSource::Done done)
{
    const std::optional<TaskRef> target = origin(ref);
    QPointer<TaskSource> targetSource = target ? source(*target) : nullptr;
    TaskSource *own = source(ref);
    if (!own) {
        if (done)
            done(false);
        return;
    }
    QPointer<TaskHub> self(this);
    own->complete(ref, [=](bool ok) {
        if (!ok) {
            if (done)
                done(false);
            return;
        }
        auto finish = [=] {
            if (self) {
                // A mirrored reminder leaves the list at once, before the next fetch.
                self->m_externalItems.removeIf([&](const TodoItem &item) { return item.ref == ref; });
                self->reload();
                self->clearSelectedIf(ref);
            }
            if (done)
                done(true);
        };
        if (target && targetSource)
            targetSource->complete(*target, [finish](bool) { finish(); });
        else
            finish();
    });
}

void TaskHub::setNotes(const TaskRef &ref, const QString &userText)
{
    const std::optional<TaskRef> target = origin(ref);
    QPointer<TaskSource> targetSource = target ? source(*target) : nullptr;
    QPointer<TaskSource> own = source(ref);
    QPointer<TaskHub> self(this);
    auto afterTarget = [self, ref] {
        if (!self)
            return;
        if (ref.source == LocalTaskSource::kSourceID)
            self->reload();
        else
            self->refresh(); // an edited reminder is fetched again
    };
    auto afterOwn = [=] {
        if (target && targetSource)
            targetSource->setNotes(userText, *target, [afterTarget](bool) { afterTarget(); });
        else
            afterTarget();
    };
    if (own)
        own->setNotes(userText, ref, [afterOwn](bool) { afterOwn(); });
    else
        afterOwn();
}

// ---- local edits ----------------------------------------------------------------

std::optional<TodoItem> TaskHub::add(const QString &title, const std::optional<QDateTime> &due)
{
    const std::optional<LocalTask> task = m_local->add(title, due);
    if (!task)
        return std::nullopt;
    reload();
    return LocalTaskSource::row(*task);
}

bool TaskHub::editLocal(const TaskRef &ref, const std::function<void(const QUuid &)> &edit)
{
    const std::optional<QUuid> id = LocalTaskSource::localId(ref);
    if (!id)
        return false;
    edit(*id);
    reload();
    return true;
}

void TaskHub::rename(const TaskRef &ref, const QString &title)
{
    if (!editLocal(ref, [&](const QUuid &id) { m_local->rename(id, title); }))
        return;
    // The selection takes the new title.
    if (sameRef(m_selected, ref)) {
        const auto found = std::find_if(m_items.cbegin(), m_items.cend(),
                                        [&](const TodoItem &item) { return item.ref == ref; });
        setSelected(found == m_items.cend() ? std::nullopt : std::optional<TodoItem>(*found));
    }
}

void TaskHub::reorder(const QList<TaskRef> &refs)
{
    QList<QUuid> ids;
    for (const TaskRef &ref : refs) {
        if (const std::optional<QUuid> id = LocalTaskSource::localId(ref))
            ids.append(*id);
    }
    if (ids.isEmpty())
        return;
    m_local->reorder(ids);
    reload();
}

void TaskHub::setAside(const TaskRef &ref)
{
    if (editLocal(ref, [&](const QUuid &id) { m_local->setAside(id, Clock::current().now()); }))
        clearSelectedIf(ref);
}

void TaskHub::toggleDone(const TaskRef &ref)
{
    editLocal(ref, [&](const QUuid &id) { m_local->markDone(id, Clock::current().now()); });
}

void TaskHub::deleteTask(const TaskRef &ref)
{
    editLocal(ref, [&](const QUuid &id) { m_local->deleteTask(id, Clock::current().now()); });
}
