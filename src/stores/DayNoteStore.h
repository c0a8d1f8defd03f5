#pragma once

#include "stores/DayNote.h"
#include "stores/EncodedList.h"
#include "stores/StoreBase.h"

#include <QList>
#include <QTimeZone>
#include <functional>

// The day pages in "days.json", at most one per day key, made the first time
// anything is written for the day. Every write goes through one step that
// creates the day's note when missing (or revives its tombstone), stamps its
// updatedAt and saves. Duplicate plans are removed from every note that comes
// in from the file (then written back at once) or through replaceAll.
class DayNoteStore : public StoreBase
{
    Q_OBJECT

public:
    static inline const QString fileName = QStringLiteral("days.json");

    // folder empty: the program's data folder.
    explicit DayNoteStore(const QString &folder = QString(), QObject *parent = nullptr);

    // Every stored note, tombstones included, in stored order.
    const QList<DayNote> &allNotes() const { return m_notes; }
    // The live notes, in stored order.
    QList<DayNote> notes() const;
    // The day's live note, or a new empty one that is not stored.
    DayNote note(const QDateTime &date) const;

    // Writes (each creates the day's note when needed, stamps and saves).
    // Trimmed; a text equal to the day's stored one writes nothing.
    void setIntention(const QString &text, const QDateTime &date);
    void setReflection(const QString &text, const QDateTime &date);
    void setGuide(const QString &text, const QDateTime &date);      // trimmed, even when empty
    void addPlan(const DayPlan &plan, const QDateTime &date);
    void removePlan(const QUuid &planId, const QDateTime &date);
    void replacePlans(const QList<DayPlan> &plans, const QDateTime &date);
    void markSwept(const QDateTime &day, const QDateTime &at);

    bool isSwept(const QDateTime &date) const;
    // The start of the latest earlier day whose live note was swept.
    std::optional<QDateTime> lastSwept(const QDateTime &before) const;

    struct Guide
    {
        QString text;
        QDateTime day; // start of the day it was set on
        bool operator==(const Guide &) const = default;
    };
    // The latest non-empty guide set on or before the date's day.
    std::optional<Guide> lastGuide(const QDateTime &on) const;
    // The latest guide, unless the next sweep day after it has come.
    std::optional<QString> currentGuide(const QDateTime &on, const QTimeZone &zone = QTimeZone::systemTimeZone()) const;

    // Replaces every note (duplicate plans removed) and saves, always.
    void replaceAll(const QList<DayNote> &notes);
    // Replaces every note (duplicate plans removed) without saving.
    void setAllNotes(const QList<DayNote> &notes);

protected:
    QByteArray encodedContent() override;
    Encoding backgroundEncoding() override;

private:
    void change(const QDateTime &date, const std::function<void(DayNote &)> &apply);
    static QList<DayNote> withoutDuplicates(const QList<DayNote> &notes);

    QList<DayNote> m_notes;
    EncodedList<DayNote> m_encoded;
};
