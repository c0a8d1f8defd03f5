#include "sources/TodoOrder.h"

#include "core/L.h"
#include "core/PerLanguage.h"
#include "stores/DayMath.h"

#include <algorithm>
#include <vector>

namespace TodoOrder {

DayRanks::DayRanks(const QDateTime &now, const QTimeZone &zone)
    : m_zone(zone)
    , m_startOfToday(DayMath::startOfDay(now, zone))
    , m_today(DayMath::dateIn(now, zone))
{
}

int DayRanks::rank(const std::optional<QDateTime> &due, QDate *day) const
{
    if (!due)
        return 3;
    if (!due->isValid()) {
        // Read as the plain rules say; only valid dates take the shortcut.
        if (day)
            *day = DayMath::dateIn(*due, m_zone);
        if (*due < m_startOfToday)
            return 0;
        return DayMath::dateIn(*due, m_zone) == m_today ? 1 : 2;
    }
    // One conversion into the zone serves both the comparison with the
    // start of today and the day itself.
    const QDateTime there = due->toTimeZone(m_zone);
    const QDate date = there.date();
    if (day)
        *day = date;
    if (there < m_startOfToday)
        return 0;
    return date == m_today ? 1 : 2;
}

int rank(const TodoItem &item, const QDateTime &now, const QTimeZone &zone)
{
    return DayRanks(now, zone).rank(item);
}

namespace {

// -1, 0 or 1 for a present value against another, a missing one last.
template<typename T>
int comparePresentFirst(const std::optional<T> &a, const std::optional<T> &b)
{
    if (a && b)
        return *a < *b ? -1 : (*b < *a ? 1 : 0);
    if (a != b)
        return a ? -1 : 1;
    return 0;
}

} // namespace

bool before(const TodoItem &a, const TodoItem &b, const QDateTime &now, const QTimeZone &zone)
{
    const int rankA = rank(a, now, zone);
    const int rankB = rank(b, now, zone);
    if (rankA != rankB)
        return rankA < rankB;

    // Equal ranks below 3 mean both are dated; only the day counts.
    if (a.due && b.due) {
        const QDate dayA = DayMath::dateIn(*a.due, zone);
        const QDate dayB = DayMath::dateIn(*b.due, zone);
        if (dayA != dayB)
            return dayA < dayB;
    }
    if (rankA == 3) {
        if (const int c = comparePresentFirst(a.order, b.order))
            return c < 0;
    }
    // A missing creation date sorts last, so that no three rows can form a
    // cycle (a sort given a cyclic comparison may crash or drop rows).
    if (const int c = comparePresentFirst(a.createdAt, b.createdAt))
        return c < 0;
    return DayMath::textLess(a.title, b.title);
}

namespace {

// What the order compares of one row, worked out once per sort: the rank,
// the due day, the creation instant and, when first needed, the composed
// code points of the title.
struct SortKey
{
    const TodoItem *item = nullptr;
    int rank = 3;
    QDate day;
    bool createdValid = false;
    bool createdLocal = false;
    mutable std::optional<qint64> created;
    mutable std::optional<QList<uint>> title;

    // The creation instant in milliseconds, converted on first need: two
    // local times compare without it, and converting a local time asks the
    // C library, which re-reads the zone each time.
    qint64 createdMSecs() const
    {
        if (!created)
            created = item->createdAt->toMSecsSinceEpoch();
        return *created;
    }

    const QList<uint> &titleCodes() const
    {
        if (!title)
            title = item->title.normalized(QString::NormalizationForm_C).toUcs4();
        return *title;
    }
};

// The same comparison as before(), read from the keys.
bool keyBefore(const SortKey &a, const SortKey &b)
{
    if (a.rank != b.rank)
        return a.rank < b.rank;
    if (a.item->due && b.item->due && a.day != b.day)
        return a.day < b.day;
    if (a.rank == 3) {
        if (const int c = comparePresentFirst(a.item->order, b.item->order))
            return c < 0;
    }
    if (a.createdValid && b.createdValid) {
        if (a.createdLocal && b.createdLocal) {
            if (const int c = comparePresentFirst(a.item->createdAt, b.item->createdAt))
                return c < 0;
        } else if (a.createdMSecs() != b.createdMSecs()) {
            return a.createdMSecs() < b.createdMSecs();
        }
    } else if (const int c = comparePresentFirst(a.item->createdAt, b.item->createdAt)) {
        return c < 0;
    }
    const QList<uint> &x = a.titleCodes();
    const QList<uint> &y = b.titleCodes();
    return std::lexicographical_compare(x.begin(), x.end(), y.begin(), y.end());
}

} // namespace

QList<TodoItem> sorted(QList<TodoItem> items, const QDateTime &now, const QTimeZone &zone)
{
    const DayRanks ranks(now, zone);
    std::vector<SortKey> keys(size_t(items.size()));
    for (qsizetype i = 0; i < items.size(); ++i) {
        const TodoItem &item = items.at(i);
        SortKey &key = keys[size_t(i)];
        key.item = &item;
        key.rank = ranks.rank(item.due, &key.day);
        key.createdValid = item.createdAt && item.createdAt->isValid();
        key.createdLocal = key.createdValid && item.createdAt->timeSpec() == Qt::LocalTime;
    }
    std::stable_sort(keys.begin(), keys.end(), keyBefore);
    QList<TodoItem> out;
    out.reserve(items.size());
    for (const SortKey &key : keys)
        out.append(*key.item);
    return out;
}

QString groupTitle(int rank)
{
    // Looked up once per language and kept: every row asks.
    static PerLanguage<QString> overdue, today, later, undated;
    switch (rank) {
    case 0:
        return overdue([] { return L("日を過ぎたもの"); });
    case 1:
        return today([] { return L("今日のうちに"); });
    case 2:
        return later([] { return L("これから"); });
    default:
        return undated([] { return L("日を決めない"); });
    }
}

} // namespace TodoOrder
