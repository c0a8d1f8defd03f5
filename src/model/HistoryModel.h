#pragma once

#include "core/Models.h"

#include <QAbstractListModel>
#include <QDate>
#include <QLocale>
#include <QTimeZone>
#include <QUuid>
#include <optional>
#include <vector>

class SessionStore;
enum class CalendarAccess;

// The history as one flat list for a lazy list view: for each local day that
// has live records, newest day first, a day header row followed by that
// day's record rows, newest first (records that start at the same moment
// keep the order of the store). A record that runs past midnight belongs to
// the day it started on.
//
// The model follows the store record by record: appending, replacing or
// deleting one record moves one row (and its header), so a history of tens of
// thousands of records is never regrouped for a single change; only a
// wholesale replacement (sync, import) or a change of time zone builds the
// list anew. Rows read their record from the store when painted, so nothing
// is copied per record.
//
// Removing and exporting go through the application model (removeDeed,
// exportToCalendar); the rows follow from the store's change.
class HistoryModel : public QAbstractListModel
{
    Q_OBJECT

public:
    enum class RowKind { dayHeader, record };
    Q_ENUM(RowKind)

    enum Role {
        KindRole = Qt::UserRole + 1, // RowKind
        DayRole,                     // QDate: the local day of the row
        // Day header rows.
        DateTextRole,     // "2025年1月5日" / "Jan 5, 2025"
        TotalsTextRole,   // "{0}回 ・ {1}分" filled with the two numbers below
        FocusCountRole,   // int: focus records of the day
        FocusMinutesRole, // int: their summed length, rounded once
        // Record rows.
        RecordIDRole,         // QUuid
        PhaseRole,            // int: the record's Phase
        MarkRole,             // "◯", "·" or "‥"
        TitleRole,            // the record's title, unchanged (also the display role)
        TimeRangeRole,        // "9:05 – 9:30", in the let-go template when not completed
        MinutesRole,          // int: the record's length, rounded
        MinutesTextRole,      // "{0}分"
        CompletedRole,        // bool
        HasCalendarEventRole, // bool
    };

    // What a record row shows at its calendar place.
    enum class CalendarElement { none, icon, exportButton };

    // zone: the days are local days of this zone (the device's by default).
    explicit HistoryModel(SessionStore &store, QObject *parent = nullptr,
                          const QTimeZone &zone = QTimeZone::systemTimeZone());

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QHash<int, QByteArray> roleNames() const override;

    // True when no live record is left: the window shows its empty state.
    bool isEmpty() const { return m_days.empty(); }
    int dayCount() const { return int(m_days.size()); }
    RowKind kind(int row) const;
    // The header row of the day that the row belongs to (the row itself for
    // a header), for the header pinned at the top of the list; -1 when out of
    // range.
    int headerRow(int row) const;
    // A copy of the record of a record row; none for a header row.
    std::optional<SessionRecord> record(int row) const;
    // The row showing the record with this id, or -1.
    int rowOf(const QUuid &id) const;

    // Builds the whole list anew in another zone (the device's zone changed).
    void setTimeZone(const QTimeZone &zone);

    // Rules of a row, usable without the model.
    // The phase mark: "◯" (U+25EF) focus, "·" (U+00B7) short break, "‥" (U+2025) long break.
    static QString mark(Phase phase);
    // A length in whole minutes, halves rounded away from zero.
    static int roundedMinutes(qint64 msecs);
    // The calendar icon when the record has an event; else the export button
    // while the row is hovered and calendar access is full; else nothing.
    static CalendarElement calendarElement(bool hasEvent, bool hovering, CalendarAccess access);

    // The texts of the window that no row carries.
    static QString emptyTitle();  // "まだ記録はありません"
    static QString emptyLine();   // "ひと区切り終えると、ここに積まれていきます。"
    static QString calendarIconTip();   // "カレンダーに記録済み"
    static QString calendarIconName();  // "カレンダーへ書き出す"
    static QString exportButtonText();  // "カレンダーへ"
    static QString removeActionText();  // "この記録を取り消す"

private:
    // Where a live record stands in the list; kept per stored index so that a
    // changed record can be found again by the values it had.
    struct Placement
    {
        QDate day; // invalid: not shown (deleted, or no valid start)
        qint64 startMs = 0;
        qint64 focusMs = -1; // its length when it is a focus record, else -1
    };
    struct Entry
    {
        qint64 startMs;
        qsizetype index; // in the store's allRecords()
    };
    struct Day
    {
        QDate date;
        std::vector<Entry> entries; // newest first, then store order
        int focusCount = 0;
        qint64 focusMs = 0;
    };

    void rebuild();
    void recordChanged(qsizetype index);
    Placement placementOf(const SessionRecord &record) const;
    void insert(qsizetype index, const Placement &at);
    void remove(qsizetype index, const Placement &at);
    // Index of the day with this date, or of where it would be inserted.
    size_t dayPosition(const QDate &date) const;
    void recountRowsFrom(size_t day);
    // The day and the entry (-1 for the header) of a row.
    std::pair<size_t, int> locate(int row) const;
    const SessionRecord *recordAt(int row) const;

    QVariant headerData(const Day &day, int role) const;
    QVariant recordData(const SessionRecord &record, const Day &day, int role) const;
    QString dateText(const QDate &date) const;
    QString timeRange(const SessionRecord &record) const;

    SessionStore &m_store;
    QTimeZone m_zone;
    QLocale m_locale;
    std::vector<Day> m_days;       // newest day first
    std::vector<int> m_dayRows;    // the header row of each day, then the row count
    std::vector<Placement> m_placed; // by stored index
};
