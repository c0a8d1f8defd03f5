#include "sync/SyncMerge.h"

#include "core/KivJSON.h"

#include <QHash>
#include <algorithm>
#include <limits>
#include <numeric>
#include <vector>

namespace SyncMerge {

namespace {

constexpr qint64 distantPast = std::numeric_limits<qint64>::min();

qint64 msecs(const QDateTime &date)
{
    return date.toMSecsSinceEpoch();
}

qint64 msecs(const std::optional<QDateTime> &date)
{
    return date ? date->toMSecsSinceEpoch() : distantPast;
}

// One pass over a then b into a table keyed by identity (the element met
// earlier is always the rule's first argument), in order of first meeting.
template<typename T, typename KeyFn, typename Rule>
QList<T> fold(const QList<T> &a, const QList<T> &b, KeyFn key, Rule rule)
{
    using Key = std::decay_t<decltype(key(a.first()))>;
    QList<T> out;
    out.reserve(a.size() + b.size());
    QHash<Key, qsizetype> at;
    at.reserve(a.size() + b.size());
    for (const QList<T> *list : {&a, &b}) {
        for (const T &item : *list) {
            const auto k = key(item);
            const auto it = at.constFind(k);
            if (it == at.cend()) {
                at.insert(k, out.size());
                out.append(item);
            } else {
                out[*it] = rule(out.at(*it), item);
            }
        }
    }
    return out;
}

// Sorts on a key computed once per element; keys must be unique so that the
// order is total and independent of the input order.
template<typename T, typename SortKeyFn>
QList<T> sortedBy(QList<T> items, SortKeyFn sortKey)
{
    using SortKey = std::decay_t<decltype(sortKey(items.first()))>;
    std::vector<SortKey> keys;
    keys.reserve(size_t(items.size()));
    for (const T &item : items)
        keys.push_back(sortKey(item));
    std::vector<qsizetype> order(size_t(items.size()));
    std::iota(order.begin(), order.end(), qsizetype(0));
    std::sort(order.begin(), order.end(), [&](qsizetype x, qsizetype y) { return keys[size_t(x)] < keys[size_t(y)]; });
    QList<T> out;
    out.reserve(items.size());
    for (qsizetype i : order)
        out.append(std::move(items[i]));
    return out;
}

// Of two copies that no rule tells apart, the one every device picks: the
// greater by encoded content (a when they encode alike), so that the choice
// does not depend on which copy is local.
template<typename T>
bool firstWinsTie(const T &a, const T &b)
{
    return KivJSON::encode(a.toJson()) >= KivJSON::encode(b.toJson());
}

SessionRecord pick(const SessionRecord &a, const SessionRecord &b)
{
    if (a.deletedAt.has_value() != b.deletedAt.has_value())
        return a.deletedAt ? a : b;
    if (a.deletedAt) {
        const qint64 deletedA = msecs(*a.deletedAt), deletedB = msecs(*b.deletedAt);
        if (deletedA != deletedB)
            return deletedB < deletedA ? b : a;
        return firstWinsTie(a, b) ? a : b;
    }
    const qint64 editedA = msecs(a.editedAt), editedB = msecs(b.editedAt);
    if (editedA != editedB) {
        const bool aWins = editedA > editedB;
        SessionRecord winner = aWins ? a : b;
        if (!winner.calendarEventID)
            winner.calendarEventID = (aWins ? b : a).calendarEventID;
        return winner;
    }
    if (a.calendarEventID.has_value() != b.calendarEventID.has_value())
        return a.calendarEventID ? a : b;
    return firstWinsTie(a, b) ? a : b;
}

LocalTask combine(const LocalTask &a, const LocalTask &b)
{
    const qint64 changedA = msecs(a.updatedAt), changedB = msecs(b.updatedAt);
    const bool baseIsA = changedA == changedB ? a.deletedAt.has_value() : changedA > changedB;
    const LocalTask &base = baseIsA ? a : b;
    const LocalTask &other = baseIsA ? b : a;
    LocalTask out = base;
    // Equal lists (the common case) need no joining, only the same sorted,
    // duplicate-free form as any other union.
    QStringList days = a.doneDays == b.doneDays ? a.doneDays : a.doneDays + b.doneDays;
    const auto notAscending = [](const QString &x, const QString &y) { return !(x < y); };
    if (std::adjacent_find(days.cbegin(), days.cend(), notAscending) != days.cend()) {
        std::sort(days.begin(), days.end());
        days.erase(std::unique(days.begin(), days.end()), days.end());
    }
    out.doneDays = days;
    if (msecs(other.orderedAt) > msecs(base.orderedAt)) {
        out.order = other.order;
        out.orderedAt = other.orderedAt;
    }
    return out;
}

DayNote combine(const DayNote &a, const DayNote &b)
{
    const qint64 changedA = msecs(a.updatedAt), changedB = msecs(b.updatedAt);
    const bool baseIsA = changedA == changedB ? firstWinsTie(a, b) : changedA > changedB;
    const DayNote &other = baseIsA ? b : a;
    DayNote out = baseIsA ? a : b;
    if (out.intention.isEmpty())
        out.intention = other.intention;
    if (out.reflection.isEmpty())
        out.reflection = other.reflection;
    if (out.plans.isEmpty())
        out.plans = other.plans;
    if (!out.guide || out.guide->isEmpty())
        out.guide = other.guide;
    if (!out.sweptAt)
        out.sweptAt = other.sweptAt;
    return out;
}

} // namespace

QList<SessionRecord> mergeRecords(const QList<SessionRecord> &a, const QList<SessionRecord> &b)
{
    auto merged = fold(a, b, [](const SessionRecord &r) { return r.id; },
                       [](const SessionRecord &x, const SessionRecord &y) { return pick(x, y); });
    return sortedBy(std::move(merged), [](const SessionRecord &r) { return std::pair(msecs(r.start), r.id); });
}

QList<LocalTask> mergeTasks(const QList<LocalTask> &a, const QList<LocalTask> &b)
{
    auto merged = fold(a, b, [](const LocalTask &t) { return t.id; },
                       [](const LocalTask &x, const LocalTask &y) { return combine(x, y); });
    return sortedBy(std::move(merged), [](const LocalTask &t) { return std::pair(msecs(t.createdAt), t.id); });
}

QList<DayNote> mergeDays(const QList<DayNote> &a, const QList<DayNote> &b)
{
    auto merged = fold(a, b, [](const DayNote &n) { return n.day; },
                       [](const DayNote &x, const DayNote &y) { return combine(x, y); });
    return sortedBy(std::move(merged), [](const DayNote &n) { return n.day; });
}

} // namespace SyncMerge
