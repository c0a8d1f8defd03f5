#pragma once

#include "platform/calendar/IcalDocument.h"

#include <memory>

typedef struct icalcomponent_impl icalcomponent;

// A calendar file as libical reads it (see IcalDocument): the parsed
// components, for editing and writing back, and an index of what the
// readers give, kept when the components are let go.
class IcalFile final : public IcalDocument
{
public:
    // The forms of IcalDocument's parse(), parseForReading() and parseForIndex().
    enum class Form { Whole, Reading, Index };
    static std::unique_ptr<IcalFile> parse(const QByteArray &bytes, Form form);
    static std::unique_ptr<IcalFile> create(Kind kind, const QString &uid, const QDateTime &now);

    IcalFile(icalcomponent *calendar, bool joined);
    ~IcalFile() override;

    bool keepsEvents() const override;
    bool canEdit() const override { return m_cal != nullptr; }
    QByteArray serialize() const override;
    QStringList uids() const override;
    std::optional<Kind> kindOf(const QString &uid) const override;
    bool isTodoFile() const override;
    QStringList unidentified() const override;
    bool isJoined() const override { return m_joined; }
    bool isRecurring(const QString &uid) const override;
    QList<CalendarEvent> occurrences(const QDateTime &from, const QDateTime &to, ReadShare *share = nullptr) const override;
    std::optional<std::pair<qint64, qint64>> eventSpan() const override;
    std::optional<CalendarEvent> firstEvent(const QString &uid) const override;
    void applyEvent(const QString &uid, const CalendarEvent &event, const QDateTime &now) override;
    bool removeOccurrence(const QString &uid, const QDateTime &occurrenceDate, const QDateTime &now) override;
    void removeItem(const QString &uid) override;
    QList<Reminder> reminders() const override;
    std::optional<Reminder> reminder(const QString &uid) const override;
    bool isCancelled(const QString &uid) const override;
    void applyReminder(const QString &uid, const Reminder &reminder, const QDateTime &now) override;

private:
    struct Index;

    void reindex();
    void releaseComponents();
    void letEventsGo();
    icalcomponent *master(const QString &uid) const;
    icalcomponent *overrideFor(const QString &uid, const QDateTime &occurrenceDate) const;

    icalcomponent *m_cal = nullptr;
    bool m_joined = false;
    std::unique_ptr<Index> m_index;
};
