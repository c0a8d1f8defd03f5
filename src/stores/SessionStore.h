#pragma once

#include "core/Models.h"
#include "stores/EncodedList.h"
#include "stores/StoreBase.h"

#include <QList>
#include <QTimeZone>

// The history: every session record ever finished, written by hand or
// received from another device, in "sessions.json". Deleted records stay as
// tombstones so that merges see the deletion.
class SessionStore : public StoreBase
{
    Q_OBJECT

public:
    static inline const QString fileName = QStringLiteral("sessions.json");

    // folder empty: the program's data folder.
    explicit SessionStore(const QString &folder = QString(), QObject *parent = nullptr);

    // Every stored record, tombstones included, in stored order.
    const QList<SessionRecord> &allRecords() const { return m_records; }
    // Replaces the whole history without saving (sync and import call save()
    // after it). An equal list changes nothing.
    void setAllRecords(const QList<SessionRecord> &records);

    // The live records (no deletion time), in stored order.
    QList<SessionRecord> records() const;
    // The live record with this id; nothing when there is none or it was deleted.
    std::optional<SessionRecord> liveRecord(const QUuid &id) const;

    // Adds the record at the end and saves.
    void append(const SessionRecord &record);
    // Replaces the stored record with the same id whole and saves; an unknown
    // id changes nothing and saves nothing.
    void update(const SessionRecord &record);
    // Sets only the deletion time of the stored record with the record's id
    // and saves; an unknown id changes nothing.
    void deleteRecord(const SessionRecord &record, const QDateTime &at);

    struct FocusSummary
    {
        int sessions = 0;
        int minutes = 0;
        bool operator==(const FocusSummary &) const = default;
    };
    // The live focus records of the task that started on the given day: how
    // many, and their total length in minutes (the sum rounded once).
    FocusSummary focusSummary(const TaskRef &task, const QDateTime &day,
                              const QTimeZone &zone = QTimeZone::systemTimeZone()) const;

signals:
    // The stored record at this index was appended, replaced or marked
    // deleted; sent before changed(), so that a follower can update just
    // that record instead of reading the whole history again.
    void recordChanged(qsizetype index);
    // The whole history was replaced by a different one (sync, import).
    void recordsReplaced();

protected:
    QByteArray encodedContent() override;
    Encoding backgroundEncoding() override;

private:
    qsizetype indexOf(const QUuid &id) const;

    QList<SessionRecord> m_records;
    EncodedList<SessionRecord> m_encoded;
};
