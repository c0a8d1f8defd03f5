#include "HeavyUser.h"

#include "platform/calendar/IcalDocument.h"
#include "platform/calendar/IcalFolderStore.h"
#include "platform/files/DataFile.h"
#include "stores/DayNoteStore.h"
#include "stores/LocalTaskStore.h"
#include "stores/SessionStore.h"

#include <QColor>
#include <QDir>
#include <QUuid>

namespace HeavyUser {

namespace {

QDateTime at(const QDate &day, int hour, int minute = 0)
{
    return QDateTime(day, QTime(hour, minute));
}

bool stored(const StoreBase &store, const char *what, QString *error)
{
    if (store.lastError().isEmpty())
        return true;
    if (error)
        *error = QStringLiteral("%1: %2").arg(QLatin1String(what), store.lastError());
    return false;
}

QByteArray stamp(const QDateTime &t)
{
    return t.toString(QStringLiteral("yyyyMMdd'T'HHmmss")).toLatin1();
}

// A weekly series over the year, as a calendar program writes it: every
// eighth week skipped, every eleventh moved to the afternoon.
QByteArray weeklySeries(const QString &uid, const QString &title, const QDateTime &first, int weeks)
{
    QByteArray text = "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Quillmere heavy data//EN\r\n";
    QByteArray master = "BEGIN:VEVENT\r\nUID:" + uid.toUtf8() + "\r\nSUMMARY:" + title.toUtf8()
                        + "\r\nDTSTAMP:" + stamp(first.toUTC()) + "Z\r\nDTSTART:" + stamp(first)
                        + "\r\nDURATION:PT1H\r\nRRULE:FREQ=WEEKLY;COUNT=" + QByteArray::number(weeks) + "\r\n";
    QByteArray moved;
    for (int w = 3; w < weeks; w += 8)
        master += "EXDATE:" + stamp(first.addDays(7 * w)) + "\r\n";
    for (int w = 5; w < weeks; w += 11) {
        if ((w - 3) % 8 == 0)
            continue; // skipped that week
        const QDateTime day = first.addDays(7 * w);
        moved += "BEGIN:VEVENT\r\nUID:" + uid.toUtf8() + "\r\nSUMMARY:" + title.toUtf8() + "\r\nDTSTAMP:"
                 + stamp(first.toUTC()) + "Z\r\nRECURRENCE-ID:" + stamp(day) + "\r\nDTSTART:"
                 + stamp(QDateTime(day.date(), QTime(15, 0))) + "\r\nDURATION:PT1H\r\nEND:VEVENT\r\n";
    }
    return text + master + "END:VEVENT\r\n" + moved + "END:VCALENDAR\r\n";
}

// A new event in its own "<UID>.ics" file, made as the calendar layer makes
// one (without asking the store, which would look through every file of
// every calendar for each event).
bool writeEvent(const QString &folder, const CalendarEvent &event, QString *error)
{
    const QString uid = QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper();
    const QDateTime now = event.start.addDays(-7);
    const std::unique_ptr<IcalDocument> doc = IcalDocument::create(IcalDocument::Kind::Event, uid, now);
    if (!doc) {
        if (error)
            *error = QStringLiteral("no calendar module");
        return false;
    }
    doc->applyEvent(uid, event, now);
    return DataFile::writeAtomically(folder + QLatin1Char('/') + uid + QStringLiteral(".ics"), doc->serialize(), false,
                                     error);
}

} // namespace

QList<LocalTask> tasks(const QDate &firstDay, int count)
{
    QList<LocalTask> all;
    all.reserve(count);
    const QDateTime base = at(firstDay, 8);
    for (int i = 0; i < count; ++i) {
        LocalTask t = LocalTask::create(QStringLiteral("作務 %1").arg(i), base.addDays(i));
        t.createdAt = base.addSecs(qint64(i) * 3600);
        t.updatedAt = t.createdAt;
        t.notes = QStringLiteral("notes\n⏱ 2025-03-04 集中3回 75分（Quillmere）");
        t.doneDays = {QStringLiteral("2025-03-04"), QStringLiteral("2025-03-05")};
        if (i % 2)
            t.completedAt = base.addDays(i + 1);
        all << t;
    }
    return all;
}

SessionRecord record(int i, const QDate &firstDay, const LocalTask *task)
{
    const QDateTime start = at(firstDay, 8).addSecs(qint64(i) * 7890);
    SessionRecord r{QUuid::createUuid(), i % 4 == 3 ? Phase::shortBreak : Phase::focus,
                    QStringLiteral("原稿を書く %1").arg(i % 50), start, start.addSecs(1500), true,
                    QStringLiteral("EV-%1").arg(i), std::nullopt, std::nullopt, std::nullopt, std::nullopt};
    if (task) {
        r.title = task->title;
        r.taskRef = TaskRef{QStringLiteral("local"), task->id.toString(QUuid::WithoutBraces).toUpper(), std::nullopt};
    }
    return r;
}

QList<SessionRecord> records(const QDate &firstDay, const QList<LocalTask> &tasks, int count)
{
    QList<SessionRecord> all;
    all.reserve(count);
    for (int i = 0; i < count; ++i)
        all << record(i, firstDay, i % 3 == 0 && !tasks.isEmpty() ? &tasks[(i / 3) % tasks.size()] : nullptr);
    return all;
}

QList<DayNote> dayNotes(const QDate &firstDay, const QList<LocalTask> &tasks, int count)
{
    QList<DayNote> all;
    all.reserve(count);
    for (int i = 0; i < count; ++i) {
        DayNote n = DayNote::empty(DayNote::key(at(firstDay.addDays(i), 9)));
        n.intention = QStringLiteral("今日、大切にすること");
        n.reflection = QStringLiteral("今日、心に残ったこと");
        const std::optional<QUuid> task =
            tasks.isEmpty() ? std::optional<QUuid>(QUuid::createUuid()) : tasks[i % tasks.size()].id;
        n.plans = {DayPlan{.taskID = task, .title = QStringLiteral("a"), .startMinutes = 540},
                   DayPlan{.title = QStringLiteral("b"), .startMinutes = 600, .minutes = 30}};
        all << n;
    }
    return all;
}

bool writeStores(const QString &dataFolder, const QDate &firstDay, QString *error)
{
    const QList<LocalTask> all = tasks(firstDay);
    {
        SessionStore sessions(dataFolder);
        sessions.setAllRecords(records(firstDay, all));
        sessions.save();
        if (!stored(sessions, "history", error))
            return false;
    }
    {
        LocalTaskStore taskStore(dataFolder);
        taskStore.setAllTasks(all);
        taskStore.save();
        if (!stored(taskStore, "tasks", error))
            return false;
    }
    DayNoteStore days(dataFolder);
    days.replaceAll(dayNotes(firstDay, all));
    return stored(days, "day notes", error);
}

CalendarCount writeCalendars(IcalFolderStore &store, const QString &accountFolder, const QDate &around,
                             QString *error, int calendars)
{
    CalendarCount count;
    const QStringList kinds = {QStringLiteral("仕事"), QStringLiteral("家族"), QStringLiteral("Study"),
                               QStringLiteral("Team"), QStringLiteral("趣味")};
    QList<QString> folders;
    for (int c = 0; c < calendars; ++c) {
        const QString folder = QDir(accountFolder).filePath(QStringLiteral("calendar-%1").arg(c + 1, 2, 10, QLatin1Char('0')));
        const QColor colour = QColor::fromHsv((c * 37) % 360, 160, 200);
        if (!QDir().mkpath(folder)
            || !DataFile::writeAtomically(folder + QStringLiteral("/displayname"),
                                          QStringLiteral("%1 %2").arg(kinds[c % kinds.size()]).arg(c + 1).toUtf8(),
                                          false, error)
            || !DataFile::writeAtomically(folder + QStringLiteral("/color"), colour.name().toUtf8(), false, error))
            return count;
        folders << QDir::cleanPath(QDir(folder).absolutePath());
    }
    if (!store.addAccountFolder(accountFolder, error))
        return count;
    count.calendars = calendars;

    const QDate first = around.addDays(-182);
    const QDate last = around.addDays(182);
    for (int c = 0; c < calendars; ++c) {
        const QString &folder = folders[c];
        for (QDate day = first; day <= last; day = day.addDays(1)) {
            const int weekday = day.dayOfWeek();
            QList<CalendarEvent> events;
            auto add = [&](const QString &title, const QDateTime &start, const QDateTime &end) -> CalendarEvent & {
                CalendarEvent e;
                e.calendarId = folder;
                e.title = title;
                e.start = start;
                e.end = end;
                events << e;
                return events.last();
            };
            if (weekday <= 5) {
                const int hour = 9 + (c + day.day()) % 8;
                add(QStringLiteral("打ち合わせ %1").arg(day.day()), at(day, hour, (c % 4) * 15),
                    at(day, hour + 1, (c % 4) * 15));
            }
            if ((day.dayOfYear() + c) % 3 != 0) {
                CalendarEvent &e = add(QStringLiteral("Deep work"), at(day, 13 + c % 3), at(day, 15 + c % 3, 30));
                e.notes = QStringLiteral("Room %1").arg(c);
                e.availability = c % 5 == 0 ? EventAvailability::Free : EventAvailability::Busy;
            }
            if (day.day() == 1 + c % 28)
                add(QStringLiteral("休み"), QDateTime(day, QTime(0, 0)), QDateTime(day.addDays(1), QTime(0, 0))).allDay =
                    true;
            for (const CalendarEvent &e : std::as_const(events)) {
                if (!writeEvent(folder, e, error))
                    return count;
                ++count.events;
            }
        }
        for (int s = 0; s < 2; ++s) {
            const QString uid = QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper();
            QDate start = first;
            while (start.dayOfWeek() != 2 + 2 * s)
                start = start.addDays(1);
            const std::unique_ptr<IcalDocument> doc = IcalDocument::parse(
                weeklySeries(uid, s == 0 ? QStringLiteral("定例") : QStringLiteral("1on1"), at(start, 10 + s), 52));
            if (!doc || !DataFile::writeAtomically(folder + QLatin1Char('/') + uid + QStringLiteral(".ics"),
                                                   doc->serialize(), false, error)) {
                if (error && !doc)
                    *error = QStringLiteral("a weekly series did not read back");
                return count;
            }
            ++count.events;
        }
    }
    return count;
}

} // namespace HeavyUser
