#include "stores/LocalTaskStore.h"

#include "core/KivJSON.h"
#include "platform/time/Clock.h"
#include "stores/DayMath.h"

#include <QSet>
#include <algorithm>
#include <vector>

namespace {
// Latest first; a missing date counts as the most distant past.
bool laterFirst(const std::optional<QDateTime> &a, const std::optional<QDateTime> &b)
{
    if (!a)
        return false;
    if (!b)
        return true;
    return *a > *b;
}
} // namespace

LocalTaskStore::LocalTaskStore(const QString &folder, QObject *parent)
    : StoreBase(folder, fileName, parent)
{
    load([this](const QByteArray &bytes) {
        m_tasks = KivJSON::decodeArray<LocalTask>(bytes, &LocalTask::fromJson);
    });
}

void LocalTaskStore::setAllTasks(const QList<LocalTask> &tasks)
{
    assign(m_tasks, tasks);
}

QByteArray LocalTaskStore::encodedContent()
{
    return m_encoded.document(m_tasks);
}

StoreBase::Encoding LocalTaskStore::backgroundEncoding()
{
    return encodingOf(m_tasks, m_encoded);
}

// Views ----------------------------------------------------------------------

QList<LocalTask> LocalTaskStore::live(const std::function<bool(const LocalTask &)> &keep) const
{
    QList<LocalTask> out;
    for (const LocalTask &t : m_tasks)
        if (!t.deletedAt && keep(t))
            out.append(t);
    return out;
}

QList<LocalTask> LocalTaskStore::tasks() const
{
    return live([](const LocalTask &) { return true; });
}

QList<LocalTask> LocalTaskStore::open() const
{
    return live([](const LocalTask &t) { return !t.completedAt && !t.abandonedAt && !t.isDaily; });
}

QList<LocalTask> LocalTaskStore::daily() const
{
    QList<LocalTask> out = live([](const LocalTask &t) { return t.isDaily && !t.completedAt && !t.abandonedAt; });
    std::stable_sort(out.begin(), out.end(),
                     [](const LocalTask &a, const LocalTask &b) { return a.createdAt < b.createdAt; });
    return out;
}

QList<LocalTask> LocalTaskStore::completed(const QDateTime &day, const QTimeZone &zone) const
{
    const QDate date = DayMath::dateIn(day, zone);
    QList<LocalTask> out =
        live([&](const LocalTask &t) { return t.completedAt && DayMath::dateIn(*t.completedAt, zone) == date; });
    std::stable_sort(out.begin(), out.end(),
                     [](const LocalTask &a, const LocalTask &b) { return laterFirst(a.completedAt, b.completedAt); });
    return out;
}

QList<LocalTask> LocalTaskStore::completedBefore(const QDateTime &day, const QTimeZone &zone) const
{
    const QDate date = DayMath::dateIn(day, zone);
    QList<LocalTask> out =
        live([&](const LocalTask &t) { return t.completedAt && DayMath::dateIn(*t.completedAt, zone) != date; });
    std::stable_sort(out.begin(), out.end(),
                     [](const LocalTask &a, const LocalTask &b) { return laterFirst(a.completedAt, b.completedAt); });
    return out;
}

QList<LocalTask> LocalTaskStore::setAside() const
{
    QList<LocalTask> out = live([](const LocalTask &t) { return t.abandonedAt.has_value(); });
    std::stable_sort(out.begin(), out.end(),
                     [](const LocalTask &a, const LocalTask &b) { return laterFirst(a.abandonedAt, b.abandonedAt); });
    return out;
}

namespace {

// The first `limit` of the entries in the order `before` gives, ties kept in
// stored order, as a stable sort followed by a cut would leave them.
template<typename Entry, typename Before>
void firstInOrder(std::vector<Entry> &entries, qsizetype limit, Before before)
{
    const auto limited = size_t(std::max<qsizetype>(limit, 0));
    if (entries.size() <= limited) {
        std::stable_sort(entries.begin(), entries.end(), before);
        return;
    }
    const auto ordered = [&](const Entry &a, const Entry &b) {
        if (before(a, b))
            return true;
        if (before(b, a))
            return false;
        return a.index < b.index;
    };
    std::partial_sort(entries.begin(), entries.begin() + qsizetype(limited), entries.end(), ordered);
    entries.resize(limited);
}

} // namespace

LocalTaskStore::DoneByDay LocalTaskStore::completedByDay(const QDateTime &day, qsizetype othersLimit,
                                                         const QTimeZone &zone) const
{
    struct Done
    {
        qsizetype index;
        qint64 at;
    };
    const QDate date = DayMath::dateIn(day, zone);
    std::vector<Done> onDay;
    std::vector<Done> others;
    for (qsizetype i = 0; i < m_tasks.size(); ++i) {
        const LocalTask &t = m_tasks.at(i);
        if (t.deletedAt || !t.completedAt)
            continue;
        if (!t.completedAt->isValid()) {
            // Only valid instants are read by their milliseconds; any other
            // list is made as the single views make it.
            return {completed(day, zone), completedBefore(day, zone).mid(0, othersLimit)};
        }
        // One conversion per task gives both its instant and its day.
        const qint64 at = t.completedAt->toMSecsSinceEpoch();
        const bool sameDay = QDateTime::fromMSecsSinceEpoch(at, zone).date() == date;
        (sameDay ? onDay : others).push_back({i, at});
    }
    const auto later = [](const Done &a, const Done &b) { return a.at > b.at; };
    std::stable_sort(onDay.begin(), onDay.end(), later);
    firstInOrder(others, othersLimit, later);
    DoneByDay out;
    out.onDay.reserve(qsizetype(onDay.size()));
    for (const Done &d : onDay)
        out.onDay.append(m_tasks.at(d.index));
    out.others.reserve(qsizetype(others.size()));
    for (const Done &d : others)
        out.others.append(m_tasks.at(d.index));
    return out;
}

QList<LocalTask> LocalTaskStore::latestSetAside(qsizetype limit) const
{
    struct Aside
    {
        qsizetype index;
        const QDateTime *at;
    };
    std::vector<Aside> aside;
    for (qsizetype i = 0; i < m_tasks.size(); ++i) {
        const LocalTask &t = m_tasks.at(i);
        if (!t.deletedAt && t.abandonedAt)
            aside.push_back({i, &*t.abandonedAt});
    }
    firstInOrder(aside, limit, [](const Aside &a, const Aside &b) { return *a.at > *b.at; });
    QList<LocalTask> out;
    out.reserve(qsizetype(aside.size()));
    for (const Aside &a : aside)
        out.append(m_tasks.at(a.index));
    return out;
}

std::optional<LocalTask> LocalTaskStore::task(const QUuid &id) const
{
    for (const LocalTask &t : m_tasks)
        if (t.id == id && !t.deletedAt)
            return t;
    return std::nullopt;
}

std::optional<QDateTime> LocalTaskStore::lastDoneDay(const LocalTask &task)
{
    std::optional<QDate> latest;
    for (const QString &key : task.doneDays) {
        const auto date = DayMath::parseDayKey(key);
        if (date && (!latest || *date > *latest))
            latest = date;
    }
    if (!latest)
        return std::nullopt;
    return latest->startOfDay();
}

// Mutations ------------------------------------------------------------------

qsizetype LocalTaskStore::indexOf(const QUuid &id) const
{
    for (qsizetype i = 0; i < m_tasks.size(); ++i)
        if (m_tasks[i].id == id)
            return i;
    return -1;
}

void LocalTaskStore::change(const QUuid &id, Stamp stamp, const std::function<void(LocalTask &)> &apply)
{
    const qsizetype i = indexOf(id);
    if (i < 0)
        return;
    LocalTask &t = m_tasks[i];
    apply(t);
    if (stamp == Stamp::now)
        t.updatedAt = Clock::current().now();
    emit changed();
    save();
}

std::optional<LocalTask> LocalTaskStore::add(const QString &title, const std::optional<QDateTime> &due)
{
    const QString trimmed = title.trimmed();
    if (trimmed.isEmpty())
        return std::nullopt;
    const LocalTask t = LocalTask::create(trimmed, due);
    m_tasks.append(t);
    emit changed();
    save();
    return t;
}

QList<LocalTask> LocalTaskStore::adopt(const QList<TodoItem> &rows, const QDateTime &now)
{
    QSet<TaskRef> known;
    for (const LocalTask &t : m_tasks)
        if (t.origin)
            known.insert(*t.origin);
    QList<LocalTask> made;
    for (const TodoItem &row : rows) {
        if (known.contains(row.ref))
            continue;
        // A reference twice in one batch is copied once.
        known.insert(row.ref);
        LocalTask t;
        t.id = QUuid::createUuid();
        t.title = row.title;
        t.due = row.due;
        t.notes = row.notes;
        t.estimateMinutes = row.estimateMinutes;
        t.origin = row.ref;
        t.createdAt = now;
        t.updatedAt = now;
        m_tasks.append(t);
        made.append(t);
    }
    if (!made.isEmpty()) {
        emit changed();
        save();
    }
    return made;
}

void LocalTaskStore::rename(const QUuid &id, const QString &title)
{
    const QString trimmed = title.trimmed();
    if (trimmed.isEmpty())
        return;
    change(id, Stamp::now, [&](LocalTask &t) { t.title = trimmed; });
}

void LocalTaskStore::setDue(const QUuid &id, const std::optional<QDateTime> &due)
{
    change(id, Stamp::now, [&](LocalTask &t) {
        t.due = due;
        if (due)
            t.isSomeday = false;
    });
}

void LocalTaskStore::complete(const QUuid &id, const QDateTime &at)
{
    change(id, Stamp::now, [&](LocalTask &t) {
        t.completedAt = at;
        t.abandonedAt.reset();
    });
}

void LocalTaskStore::setAside(const QUuid &id, const QDateTime &at)
{
    change(id, Stamp::now, [&](LocalTask &t) {
        t.abandonedAt = at;
        t.completedAt.reset();
    });
}

void LocalTaskStore::revive(const QUuid &id)
{
    change(id, Stamp::now, [](LocalTask &t) {
        t.completedAt.reset();
        t.abandonedAt.reset();
    });
}

void LocalTaskStore::markReviewed(const QUuid &id, const QDateTime &at)
{
    change(id, Stamp::none, [&](LocalTask &t) { t.reviewedAt = at; });
}

void LocalTaskStore::deleteTask(const QUuid &id, const QDateTime &at)
{
    change(id, Stamp::none, [&](LocalTask &t) {
        t.deletedAt = at;
        t.updatedAt = at;
    });
}

void LocalTaskStore::setNotes(const QUuid &id, const QString &userText)
{
    change(id, Stamp::now, [&](LocalTask &t) { t.notes = ProgressNote::replacingUserText(userText, t.notes); });
}

void LocalTaskStore::appendProgress(const TaskProgress &progress, const QUuid &id)
{
    change(id, Stamp::now, [&](LocalTask &t) { t.notes = ProgressNote::merged(t.notes, progress); });
}

void LocalTaskStore::setDaily(const QUuid &id, bool daily)
{
    change(id, Stamp::now, [&](LocalTask &t) {
        t.isDaily = daily;
        if (daily) {
            t.due.reset();
            t.isSomeday = false;
        }
    });
}

void LocalTaskStore::setOccasional(const QUuid &id, bool occasional)
{
    change(id, Stamp::now, [&](LocalTask &t) {
        t.isOccasional = occasional;
        if (occasional)
            t.isDaily = true;
    });
}

void LocalTaskStore::markDone(const QUuid &id, const QDateTime &day)
{
    const QString key = ProgressNote::dayString(day);
    change(id, Stamp::now, [&](LocalTask &t) {
        const qsizetype at = t.doneDays.indexOf(key);
        if (at >= 0) {
            t.doneDays.removeAt(at);
        } else {
            t.doneDays.append(key);
            std::sort(t.doneDays.begin(), t.doneDays.end());
        }
    });
}

void LocalTaskStore::reorder(const QList<QUuid> &ids)
{
    const QDateTime now = Clock::current().now();
    bool moved = false;
    for (qsizetype i = 0; i < ids.size(); ++i) {
        const qsizetype at = indexOf(ids[i]);
        if (at < 0)
            continue;
        LocalTask &t = m_tasks[at];
        if (t.order && *t.order == double(i))
            continue;
        t.order = double(i);
        t.orderedAt = now;
        moved = true;
    }
    if (moved)
        emit changed();
    save();
}
