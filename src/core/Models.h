#pragma once

#include <QDateTime>
#include <QJsonObject>
#include <QString>
#include <QUuid>
#include <optional>

// The kind of a stretch of practice. Stored as its case name.
enum class Phase { focus, shortBreak, longBreak };

QString rawValue(Phase phase);
std::optional<Phase> phaseFromRaw(const QString &raw);
// The display name through L: 味わう, 経行, 茶礼 (Savor, Kinhin (walking), Sarei (tea break)).
QString phaseTitle(Phase phase);

// The timer engine's state; never stored.
enum class RunState { idle, running, paused, finished };

// Names a task in its source ("local" or "reminders").
struct TaskRef
{
    QString source;
    QString id;
    std::optional<QString> listID;

    bool operator==(const TaskRef &) const = default;

    QJsonObject toJson() const;
    // Throws KivJSON::DecodeError.
    static TaskRef fromJson(const QJsonObject &json);
};

size_t qHash(const TaskRef &ref, size_t seed = 0);

// A length in milliseconds as whole minutes, halves away from zero, held
// within int: records and events read from files may span millennia.
int roundedMinutes(qint64 msecs);
// a + b held within qint64, for sums of such lengths.
qint64 addMsecs(qint64 a, qint64 b);

// One finished or hand-written stretch of practice: the unit of history,
// calendar export and sync.
struct SessionRecord
{
    QUuid id;
    Phase phase = Phase::focus;
    QString title;
    QDateTime start;
    QDateTime end;
    bool completed = false;
    std::optional<QString> calendarEventID;
    std::optional<TaskRef> taskRef;
    std::optional<QDateTime> deletedAt;
    std::optional<bool> manual;
    std::optional<QDateTime> editedAt;

    bool operator==(const SessionRecord &) const = default;

    // A deed written by hand on the day page rather than a timed stretch: the
    // manual flag when present; else no task and both ends on whole minutes.
    bool isHandWritten() const;
    double duration() const { return start.msecsTo(end) / 1000.0; }

    QJsonObject toJson() const;
    // Writes the same text as toJson() would give, straight from the fields
    // (the history holds tens of thousands of records).
    void writeJson(class JsonWriter &writer, int level) const;
    // Throws KivJSON::DecodeError.
    static SessionRecord fromJson(const QJsonObject &json);
};
