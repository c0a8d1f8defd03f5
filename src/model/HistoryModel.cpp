#include "model/HistoryModel.h"

#include "core/L.h"
#include "platform/calendar/CalendarStore.h"
#include "stores/SessionStore.h"

#include <algorithm>
#include <cmath>

namespace {

// The order of a day's records: newest first, then the store's order.
bool before(qint64 startA, qsizetype indexA, qint64 startB, qsizetype indexB)
{
    return startA != startB ? startA > startB : indexA < indexB;
}

// Adds a record's focus length to its day's totals (sign 1) or takes it
// away (sign -1); breaks (length -1) count in neither.
template<typename Day>
void count(Day &day, qint64 focusMs, int sign)
{
    if (focusMs < 0)
        return;
    day.focusCount += sign;
    day.focusMs += sign * focusMs;
}

// Where a record of this start and stored index stands, or would stand,
// among a day's entries.
template<typename Entries>
auto positionIn(Entries &entries, qint64 startMs, qsizetype index)
{
    return std::lower_bound(entries.begin(), entries.end(), std::pair(startMs, index),
                            [](const auto &e, const std::pair<qint64, qsizetype> &v) {
                                return before(e.startMs, e.index, v.first, v.second);
                            });
}

} // namespace

HistoryModel::HistoryModel(SessionStore &store, QObject *parent, const QTimeZone &zone)
    : QAbstractListModel(parent)
    , m_store(store)
    , m_zone(zone)
    , m_locale(Lang::isJapanese() ? QLocale(QLocale::Japanese, QLocale::Japan)
                                  : QLocale(QLocale::English, QLocale::UnitedStates))
{
    connect(&store, &SessionStore::recordChanged, this, &HistoryModel::recordChanged);
    connect(&store, &SessionStore::recordsReplaced, this, [this] {
        beginResetModel();
        rebuild();
        endResetModel();
    });
    rebuild();
}

void HistoryModel::setTimeZone(const QTimeZone &zone)
{
    beginResetModel();
    m_zone = zone;
    rebuild();
    endResetModel();
}

// ---- Building and following the store ----

HistoryModel::Placement HistoryModel::placementOf(const SessionRecord &r) const
{
    Placement p;
    if (r.deletedAt || !r.start.isValid())
        return p;
    p.day = r.start.toTimeZone(m_zone).date();
    p.startMs = r.start.toMSecsSinceEpoch();
    if (r.phase == Phase::focus)
        p.focusMs = r.end.isValid() ? r.start.msecsTo(r.end) : 0;
    return p;
}

void HistoryModel::rebuild()
{
    const QList<SessionRecord> &records = m_store.allRecords();
    m_placed.assign(size_t(records.size()), Placement());
    struct Live
    {
        qint64 day; // Julian day
        Entry entry;
    };
    std::vector<Live> live;
    live.reserve(size_t(records.size()));
    for (qsizetype i = 0; i < records.size(); ++i) {
        const Placement p = placementOf(records[i]);
        m_placed[size_t(i)] = p;
        if (p.day.isValid())
            live.push_back(Live{p.day.toJulianDay(), Entry{p.startMs, i}});
    }
    // Newest day first; within a day newest first, then the store's order.
    std::sort(live.begin(), live.end(), [](const Live &a, const Live &b) {
        return a.day != b.day ? a.day > b.day : before(a.entry.startMs, a.entry.index, b.entry.startMs, b.entry.index);
    });
    m_days.clear();
    for (const Live &l : live) {
        if (m_days.empty() || m_days.back().date.toJulianDay() != l.day)
            m_days.push_back(Day{QDate::fromJulianDay(l.day), {}, 0, 0});
        m_days.back().entries.push_back(l.entry);
        count(m_days.back(), m_placed[size_t(l.entry.index)].focusMs, +1);
    }
    m_dayRows.assign(m_days.size() + 1, 0);
    recountRowsFrom(0);
}

void HistoryModel::recountRowsFrom(size_t day)
{
    m_dayRows.resize(m_days.size() + 1);
    int row = day == 0 ? 0 : m_dayRows[day - 1] + 1 + int(m_days[day - 1].entries.size());
    for (size_t d = day; d < m_days.size(); ++d) {
        m_dayRows[d] = row;
        row += 1 + int(m_days[d].entries.size());
    }
    m_dayRows[m_days.size()] = row;
}

size_t HistoryModel::dayPosition(const QDate &date) const
{
    const auto it = std::lower_bound(m_days.begin(), m_days.end(), date,
                                     [](const Day &d, const QDate &value) { return d.date > value; });
    return size_t(it - m_days.begin());
}

void HistoryModel::recordChanged(qsizetype index)
{
    const QList<SessionRecord> &records = m_store.allRecords();
    if (index < 0 || index >= records.size())
        return;
    if (size_t(index) >= m_placed.size())
        m_placed.resize(size_t(records.size()));
    const Placement old = m_placed[size_t(index)];
    const Placement now = placementOf(records[index]);

    if (old.day.isValid() && now.day.isValid() && old.day == now.day && old.startMs == now.startMs) {
        // Same place: only the row's texts and the day's totals can change.
        const size_t d = dayPosition(now.day);
        Day &day = m_days[d];
        count(day, old.focusMs, -1);
        count(day, now.focusMs, +1);
        m_placed[size_t(index)] = now;
        const auto it = positionIn(day.entries, now.startMs, index);
        const int row = m_dayRows[d] + 1 + int(it - day.entries.begin());
        emit dataChanged(this->index(row), this->index(row));
        emit dataChanged(this->index(m_dayRows[d]), this->index(m_dayRows[d]));
        return;
    }
    if (old.day.isValid())
        remove(index, old);
    m_placed[size_t(index)] = now;
    if (now.day.isValid())
        insert(index, now);
}

void HistoryModel::insert(qsizetype index, const Placement &at)
{
    size_t d = dayPosition(at.day);
    if (d == m_days.size() || m_days[d].date != at.day) {
        const int row = d < m_days.size() ? m_dayRows[d] : m_dayRows.back();
        beginInsertRows(QModelIndex(), row, row + 1);
        Day day{at.day, {Entry{at.startMs, index}}, 0, 0};
        count(day, at.focusMs, +1);
        m_days.insert(m_days.begin() + qsizetype(d), std::move(day));
        recountRowsFrom(d);
        endInsertRows();
        return;
    }
    Day &day = m_days[d];
    const auto it = positionIn(day.entries, at.startMs, index);
    const int row = m_dayRows[d] + 1 + int(it - day.entries.begin());
    beginInsertRows(QModelIndex(), row, row);
    day.entries.insert(it, Entry{at.startMs, index});
    count(day, at.focusMs, +1);
    recountRowsFrom(d);
    endInsertRows();
    if (at.focusMs >= 0)
        emit dataChanged(this->index(m_dayRows[d]), this->index(m_dayRows[d]));
}

void HistoryModel::remove(qsizetype index, const Placement &at)
{
    const size_t d = dayPosition(at.day);
    if (d == m_days.size() || m_days[d].date != at.day)
        return;
    Day &day = m_days[d];
    const auto it = positionIn(day.entries, at.startMs, index);
    if (it == day.entries.end() || it->index != index)
        return;
    if (day.entries.size() == 1) {
        const int row = m_dayRows[d];
        beginRemoveRows(QModelIndex(), row, row + 1);
        m_days.erase(m_days.begin() + qsizetype(d));
        recountRowsFrom(d);
        endRemoveRows();
        return;
    }
    const int row = m_dayRows[d] + 1 + int(it - day.entries.begin());
    beginRemoveRows(QModelIndex(), row, row);
    day.entries.erase(it);
    count(day, at.focusMs, -1);
    recountRowsFrom(d);
    endRemoveRows();
    if (at.focusMs >= 0)
        emit dataChanged(this->index(m_dayRows[d]), this->index(m_dayRows[d]));
}

// ---- Reading rows ----

int HistoryModel::rowCount(const QModelIndex &parent) const
{
    if (parent.isValid())
        return 0;
    return m_dayRows.empty() ? 0 : m_dayRows.back();
}

std::pair<size_t, int> HistoryModel::locate(int row) const
{
    // The last day whose header row is not after the row.
    const auto it = std::upper_bound(m_dayRows.begin(), m_dayRows.end() - 1, row);
    const size_t d = size_t(it - m_dayRows.begin()) - 1;
    return {d, row - m_dayRows[d] - 1};
}

HistoryModel::RowKind HistoryModel::kind(int row) const
{
    if (row < 0 || row >= rowCount())
        return RowKind::record;
    return locate(row).second < 0 ? RowKind::dayHeader : RowKind::record;
}

int HistoryModel::headerRow(int row) const
{
    if (row < 0 || row >= rowCount())
        return -1;
    return m_dayRows[locate(row).first];
}

const SessionRecord *HistoryModel::recordAt(int row) const
{
    if (row < 0 || row >= rowCount())
        return nullptr;
    const auto [d, k] = locate(row);
    if (k < 0)
        return nullptr;
    return &m_store.allRecords()[m_days[d].entries[size_t(k)].index];
}

std::optional<SessionRecord> HistoryModel::record(int row) const
{
    if (const SessionRecord *r = recordAt(row))
        return *r;
    return std::nullopt;
}

int HistoryModel::rowOf(const QUuid &id) const
{
    const QList<SessionRecord> &records = m_store.allRecords();
    for (qsizetype i = 0; i < records.size() && size_t(i) < m_placed.size(); ++i) {
        if (records[i].id != id || !m_placed[size_t(i)].day.isValid())
            continue;
        const Placement &p = m_placed[size_t(i)];
        const size_t d = dayPosition(p.day);
        const Day &day = m_days[d];
        const auto it = positionIn(day.entries, p.startMs, i);
        return m_dayRows[d] + 1 + int(it - day.entries.begin());
    }
    return -1;
}

QVariant HistoryModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return QVariant();
    const auto [d, k] = locate(index.row());
    const Day &day = m_days[d];
    if (role == KindRole)
        return QVariant::fromValue(k < 0 ? RowKind::dayHeader : RowKind::record);
    if (role == DayRole)
        return day.date;
    if (k < 0)
        return headerData(day, role);
    return recordData(m_store.allRecords()[day.entries[size_t(k)].index], day, role);
}

QVariant HistoryModel::headerData(const Day &day, int role) const
{
    switch (role) {
    case Qt::DisplayRole:
    case DateTextRole:
        return dateText(day.date);
    case TotalsTextRole:
        return L(QStringLiteral("{0}回 ・ {1}分"), day.focusCount, roundedMinutes(day.focusMs));
    case FocusCountRole:
        return day.focusCount;
    case FocusMinutesRole:
        return roundedMinutes(day.focusMs);
    default:
        return QVariant();
    }
}

QVariant HistoryModel::recordData(const SessionRecord &r, const Day &, int role) const
{
    switch (role) {
    case Qt::DisplayRole:
    case TitleRole:
        return r.title;
    case RecordIDRole:
        return r.id;
    case PhaseRole:
        return int(r.phase);
    case MarkRole:
        return mark(r.phase);
    case TimeRangeRole:
        return timeRange(r);
    case MinutesRole:
        return roundedMinutes(r.start.msecsTo(r.end));
    case MinutesTextRole:
        return L(QStringLiteral("{0}分"), roundedMinutes(r.start.msecsTo(r.end)));
    case CompletedRole:
        return r.completed;
    case HasCalendarEventRole:
        return r.calendarEventID.has_value();
    default:
        return QVariant();
    }
}

QHash<int, QByteArray> HistoryModel::roleNames() const
{
    QHash<int, QByteArray> names = QAbstractListModel::roleNames();
    names.insert({
        {KindRole, "kind"},
        {DayRole, "day"},
        {DateTextRole, "dateText"},
        {TotalsTextRole, "totalsText"},
        {FocusCountRole, "focusCount"},
        {FocusMinutesRole, "focusMinutes"},
        {RecordIDRole, "recordID"},
        {PhaseRole, "phase"},
        {MarkRole, "mark"},
        {TitleRole, "title"},
        {TimeRangeRole, "timeRange"},
        {MinutesRole, "minutes"},
        {MinutesTextRole, "minutesText"},
        {CompletedRole, "completed"},
        {HasCalendarEventRole, "hasCalendarEvent"},
    });
    return names;
}

// ---- Texts and rules ----

QString HistoryModel::dateText(const QDate &date) const
{
    return m_locale.toString(date, Lang::isJapanese() ? QStringLiteral("yyyy年M月d日") : QStringLiteral("MMM d, yyyy"));
}

QString HistoryModel::timeRange(const SessionRecord &r) const
{
    const QString format = Lang::isJapanese() ? QStringLiteral("H:mm") : QStringLiteral("h:mm AP");
    const QString range = m_locale.toString(r.start.toTimeZone(m_zone).time(), format) + QStringLiteral(" – ")
                          + m_locale.toString(r.end.toTimeZone(m_zone).time(), format);
    return r.completed ? range : L(QStringLiteral("{0}（手を離した）"), range);
}

QString HistoryModel::mark(Phase phase)
{
    switch (phase) {
    case Phase::focus:
        return QStringLiteral("\u25EF");
    case Phase::shortBreak:
        return QStringLiteral("\u00B7");
    case Phase::longBreak:
        return QStringLiteral("\u2025");
    }
    return QString();
}

int HistoryModel::roundedMinutes(qint64 msecs)
{
    return int(std::round(double(msecs) / 60000.0));
}

HistoryModel::CalendarElement HistoryModel::calendarElement(bool hasEvent, bool hovering, CalendarAccess access)
{
    if (hasEvent)
        return CalendarElement::icon;
    if (hovering && access == CalendarAccess::FullAccess)
        return CalendarElement::exportButton;
    return CalendarElement::none;
}

QString HistoryModel::emptyTitle()
{
    return L(QStringLiteral("まだ記録はありません"));
}

QString HistoryModel::emptyLine()
{
    return L(QStringLiteral("ひと区切り終えると、ここに積まれていきます。"));
}

QString HistoryModel::calendarIconTip()
{
    return L(QStringLiteral("カレンダーに記録済み"));
}

QString HistoryModel::calendarIconName()
{
    return L(QStringLiteral("カレンダーへ書き出す"));
}

QString HistoryModel::exportButtonText()
{
    return L(QStringLiteral("カレンダーへ"));
}

QString HistoryModel::removeActionText()
{
    return L(QStringLiteral("この記録を取り消す"));
}
