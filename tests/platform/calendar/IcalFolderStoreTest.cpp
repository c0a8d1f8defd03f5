#include "platform/fakes/FakeClock.h"
#include "platform/files/DataFile.h"
#include "platform/calendar/IcalDocument.h"
#include "platform/calendar/IcalFolderStore.h"
#include "platform/calendar/module/RecurrenceRule.h"
#include "platform/files/Preferences.h"
#include "support/RepeatingItems.h"
#include "support/ScopedDirs.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QSignalSpy>
#include <ctime>
#include "support/ScopedTimeZone.h"

#include <QThread>
#include <gtest/gtest.h>
#include <unistd.h>

namespace {

// Runs each test in a zone with daylight saving (it changes on 2025-03-30 and
// 2025-10-26), with fresh folders and a clock that only moves by hand.
struct IcalStore : ::testing::Test
{
    ScopedDirs dirs;
    FakeClock clock{QDateTime(QDate(2025, 3, 4), QTime(9, 0))};
    ScopedTimeZone zone{"Europe/Berlin"};
    QString account;
    std::unique_ptr<IcalFolderStore> store;

    void SetUp() override
    {
        Clock::setCurrent(&clock);
        account = dirs.root() + QStringLiteral("/accounts/home");
        QDir().mkpath(account + QStringLiteral("/work"));
        QDir().mkpath(account + QStringLiteral("/todo"));
        Preferences::standard().setValue(IcalFolderStore::accountsKey(), QJsonArray{account});
        store = std::make_unique<IcalFolderStore>();
    }
    void TearDown() override
    {
        store.reset();
        Clock::setCurrent(nullptr);
    }

    QString path(const QString &relative) const { return account + QLatin1Char('/') + relative; }

    // Writes an item file, with the CRLF line ends of the format.
    void put(const QString &relative, const QString &body) const
    {
        QString text = body;
        text.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
        ASSERT_TRUE(DataFile::writeAtomically(path(relative), text.toUtf8()));
    }
    void putEvent(const QString &name, const QString &lines) const
    {
        put(QStringLiteral("work/") + name + QStringLiteral(".ics"),
            QStringLiteral("BEGIN:VCALENDAR\nVERSION:2.0\nPRODID:-//Test//EN\n") + lines + QStringLiteral("END:VCALENDAR\n"));
    }
    QString read(const QString &relative) const
    {
        return QString::fromUtf8(DataFile::read(path(relative)).bytes);
    }
    QList<CalendarEvent> day(int month, int dayOfMonth) const
    {
        return store->eventsOnDay(QDate(2025, month, dayOfMonth), {});
    }
};

QDateTime at(int month, int day, int hour, int minute = 0)
{
    return QDateTime(QDate(2025, month, day), QTime(hour, minute));
}

} // namespace

TEST_F(IcalStore, WeeklySeriesHonoursExdateAndMovedOccurrenceAcrossDaylightSaving)
{
    putEvent(QStringLiteral("weekly"), QStringLiteral(
        "BEGIN:VEVENT\nUID:weekly\nSUMMARY:Standup\n"
        "DTSTART;TZID=Europe/Berlin:20250303T090000\nDTEND;TZID=Europe/Berlin:20250303T100000\n"
        "RRULE:FREQ=WEEKLY;COUNT=6\nEXDATE;TZID=Europe/Berlin:20250310T090000\nEND:VEVENT\n"
        "BEGIN:VEVENT\nUID:weekly\nSUMMARY:Standup moved\nRECURRENCE-ID;TZID=Europe/Berlin:20250317T090000\n"
        "DTSTART;TZID=Europe/Berlin:20250318T140000\nDTEND;TZID=Europe/Berlin:20250318T143000\nEND:VEVENT\n"));

    const QList<CalendarEvent> all = store->events(at(3, 1, 0), at(5, 1, 0), {});
    QList<QDateTime> starts;
    for (const CalendarEvent &e : all)
        starts.append(e.start);
    // The 10th is excluded, the 17th moved to the 18th; after the change to
    // summer time on the 30th the series stays at 09:00 on the wall clock.
    EXPECT_EQ(starts, (QList<QDateTime>{at(3, 3, 9), at(3, 18, 14), at(3, 24, 9), at(3, 31, 9), at(4, 7, 9)}));
    ASSERT_EQ(all.size(), 5);
    EXPECT_EQ(all[3].end, at(3, 31, 10));
    EXPECT_EQ(all[1].title, QStringLiteral("Standup moved"));
    EXPECT_EQ(all[1].end, at(3, 18, 14, 30));
    EXPECT_EQ(all[1].occurrenceDate, at(3, 17, 9));
    EXPECT_TRUE(all[1].recurring);
    EXPECT_EQ(all[1].calendarId, path(QStringLiteral("work")));
    EXPECT_EQ(all[1].calendarTitle, QStringLiteral("work"));

    EXPECT_TRUE(day(3, 10).isEmpty());
    EXPECT_TRUE(day(3, 17).isEmpty());
    EXPECT_EQ(day(3, 18).size(), 1);
}

TEST_F(IcalStore, ReadsZonesFloatingTimesAllDayAndFreeEvents)
{
    // New York is already on summer time on 12 March, Berlin not yet: 5 hours apart.
    putEvent(QStringLiteral("ny"), QStringLiteral(
        "BEGIN:VEVENT\nUID:ny\nSUMMARY:Call\nDTSTART;TZID=America/New_York:20250312T090000\n"
        "DURATION:PT45M\nEND:VEVENT\n"));
    putEvent(QStringLiteral("utc"), QStringLiteral(
        "BEGIN:VEVENT\nUID:utc\nDTSTART:20250312T120000Z\nDTEND:20250312T123000Z\nTRANSP:TRANSPARENT\nEND:VEVENT\n"));
    putEvent(QStringLiteral("float"), QStringLiteral(
        "BEGIN:VEVENT\nUID:float\nSUMMARY:Floating\nDTSTART:20250330T090000\nDTEND:20250330T100000\n"
        "DESCRIPTION:line one\\nline two\nEND:VEVENT\n"));
    putEvent(QStringLiteral("trip"), QStringLiteral(
        "BEGIN:VEVENT\nUID:trip\nSUMMARY:Trip\nDTSTART;VALUE=DATE:20250329\nDTEND;VALUE=DATE:20250401\nEND:VEVENT\n"));
    putEvent(QStringLiteral("late"), QStringLiteral(
        "BEGIN:VEVENT\nUID:late\nSUMMARY:Late\nDTSTART;TZID=Europe/Berlin:20250329T233000\n"
        "DTEND;TZID=Europe/Berlin:20250330T004500\nEND:VEVENT\n"));

    const QList<CalendarEvent> twelfth = day(3, 12);
    ASSERT_EQ(twelfth.size(), 2);
    EXPECT_EQ(twelfth[0].id, QStringLiteral("utc"));
    EXPECT_EQ(twelfth[0].start, at(3, 12, 13));
    EXPECT_EQ(twelfth[0].availability, EventAvailability::Free);
    EXPECT_TRUE(twelfth[0].title.isEmpty());
    EXPECT_EQ(twelfth[1].start, at(3, 12, 14));
    EXPECT_EQ(twelfth[1].end, at(3, 12, 14, 45));
    EXPECT_EQ(twelfth[1].availability, EventAvailability::Busy);

    // The day of the change to summer time has 23 hours; it holds the
    // multi-day event, the event from the evening before and the floating one.
    const QList<CalendarEvent> changeDay = day(3, 30);
    ASSERT_EQ(changeDay.size(), 3);
    EXPECT_EQ(changeDay[0].id, QStringLiteral("trip"));
    EXPECT_TRUE(changeDay[0].allDay);
    EXPECT_EQ(changeDay[0].start, at(3, 29, 0));
    EXPECT_EQ(changeDay[0].end, at(4, 1, 0));
    EXPECT_EQ(changeDay[1].id, QStringLiteral("late"));
    EXPECT_EQ(changeDay[1].start.secsTo(changeDay[1].end), 75 * 60);
    EXPECT_EQ(changeDay[2].start, at(3, 30, 9));
    EXPECT_EQ(changeDay[2].notes, QStringLiteral("line one\nline two"));

    EXPECT_EQ(day(3, 31).size(), 1);
    EXPECT_TRUE(day(4, 1).isEmpty());
}

TEST_F(IcalStore, EditKeepsEveryPropertyItDoesNotSet)
{
    putEvent(QStringLiteral("keep"), QStringLiteral(
        "BEGIN:VEVENT\nUID:keep\nSUMMARY;LANGUAGE=en:Old\nDTSTART;TZID=America/New_York:20250312T090000\n"
        "DTEND;TZID=America/New_York:20250312T100000\nX-CUSTOM;X-PARAM=1:kept\nCOLOR:red\nFUTURE-PROP:stays\n"
        "ATTENDEE;CN=Ann:mailto:ann@example.org\n"
        "BEGIN:VALARM\nACTION:DISPLAY\nDESCRIPTION:Soon\nTRIGGER:-PT10M\nEND:VALARM\nEND:VEVENT\n"));
    std::optional<CalendarEvent> e = store->event(QStringLiteral("keep"));
    ASSERT_TRUE(e);
    e->title = QStringLiteral("New");
    e->notes = QStringLiteral("written");
    e->start = at(3, 13, 15);
    e->end = at(3, 13, 16);
    e->availability = EventAvailability::Free;
    QString error;
    ASSERT_EQ(store->saveEvent(*e, &error), QStringLiteral("keep")) << error.toStdString();

    const QString text = read(QStringLiteral("work/keep.ics"));
    for (const char *kept : {"X-CUSTOM;X-PARAM=1:kept", "COLOR:red", "FUTURE-PROP:stays", "ATTENDEE;CN=Ann",
                             "BEGIN:VALARM", "TRIGGER:-PT10M", "SUMMARY;LANGUAGE=en:New",
                             "DTSTART;TZID=America/New_York:20250313T100000", "TRANSP:TRANSPARENT"})
        EXPECT_TRUE(text.contains(QLatin1String(kept))) << kept << "\n" << text.toStdString();
    EXPECT_FALSE(text.contains(QLatin1String("X-QUILLMERE")));

    const std::optional<CalendarEvent> back = store->event(QStringLiteral("keep"));
    ASSERT_TRUE(back);
    EXPECT_EQ(back->title, QStringLiteral("New"));
    EXPECT_EQ(back->notes, QStringLiteral("written"));
    EXPECT_EQ(back->start, at(3, 13, 15));
    EXPECT_EQ(back->end, at(3, 13, 16));
    EXPECT_EQ(back->availability, EventAvailability::Free);
}

TEST_F(IcalStore, WritesNewEventsInTheLocalZoneAndRemovesThem)
{
    CalendarEvent e;
    e.calendarId = path(QStringLiteral("work"));
    e.title = QStringLiteral("◯ 味わう");
    e.notes = QStringLiteral("味わう 25分\nOndrevel");
    e.start = at(3, 31, 9);
    e.end = at(3, 31, 9, 25);
    const std::optional<QString> id = store->saveEvent(e);
    ASSERT_TRUE(id);
    const QString file = QStringLiteral("work/") + *id + QStringLiteral(".ics");
    const QString text = read(file);
    EXPECT_TRUE(text.contains(QLatin1String("DTSTART;TZID=Europe/Berlin:20250331T090000"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QLatin1String("BEGIN:VTIMEZONE")));

    const QList<CalendarEvent> read = day(3, 31);
    ASSERT_EQ(read.size(), 1);
    EXPECT_EQ(read[0].id, *id);
    EXPECT_EQ(read[0].title, e.title);
    EXPECT_EQ(read[0].notes, e.notes);
    EXPECT_EQ(read[0].start, e.start);
    EXPECT_EQ(read[0].end, e.end);

    CalendarEvent allDay = e;
    allDay.allDay = true;
    allDay.start = at(4, 2, 0);
    allDay.end = at(4, 3, 0);
    const std::optional<QString> allDayId = store->saveEvent(allDay);
    ASSERT_TRUE(allDayId);
    EXPECT_TRUE(store->event(*allDayId)->allDay);
    EXPECT_EQ(day(4, 2).size(), 1);
    EXPECT_TRUE(day(4, 3).isEmpty());

    EXPECT_TRUE(store->removeEvent(*id));
    EXPECT_FALSE(QFile::exists(path(file)));
    EXPECT_TRUE(day(3, 31).isEmpty());
    QString error;
    EXPECT_FALSE(store->removeEvent(*id, {}, &error));
    EXPECT_FALSE(error.isEmpty());

    e.calendarId = path(QStringLiteral("todo"));
    EXPECT_FALSE(store->saveEvent(e)) << "a reminders list takes no events";
}

TEST_F(IcalStore, EditsAndRemovesSingleOccurrencesOfASeries)
{
    putEvent(QStringLiteral("daily"), QStringLiteral(
        "BEGIN:VEVENT\nUID:daily\nSUMMARY:Walk\nDTSTART;TZID=Europe/Berlin:20250303T070000\n"
        "DTEND;TZID=Europe/Berlin:20250303T073000\nRRULE:FREQ=DAILY;COUNT=5\nEND:VEVENT\n"));
    CalendarEvent fourth = day(3, 4).value(0);
    ASSERT_TRUE(fourth.recurring);
    fourth.title = QStringLiteral("Run");
    fourth.start = at(3, 4, 18);
    fourth.end = at(3, 4, 19);
    ASSERT_TRUE(store->saveEvent(fourth));
    ASSERT_TRUE(store->removeEvent(QStringLiteral("daily"), at(3, 5, 7)));

    const QList<CalendarEvent> all = store->events(at(3, 1, 0), at(3, 10, 0), {});
    QStringList seen;
    for (const CalendarEvent &e : all)
        seen.append(e.start.toString(QStringLiteral("dd HH:mm ")) + e.title);
    EXPECT_EQ(seen, (QStringList{QStringLiteral("03 07:00 Walk"), QStringLiteral("04 18:00 Run"),
                                 QStringLiteral("06 07:00 Walk"), QStringLiteral("07 07:00 Walk")}));
}

TEST_F(IcalStore, ListsIncompleteRemindersAndCompletesThem)
{
    put(QStringLiteral("todo/displayname"), QStringLiteral("Errands\n"));
    put(QStringLiteral("todo/color"), QStringLiteral("#FF2968FF"));
    put(QStringLiteral("todo/buy.ics"), QStringLiteral(
        "BEGIN:VCALENDAR\nVERSION:2.0\nPRODID:-//Test//EN\nBEGIN:VTODO\nUID:buy\nSUMMARY:Buy milk\n"
        "DESCRIPTION:two litres\nDUE;VALUE=DATE:20250305\nCREATED:20250301T080000Z\nX-APPLE-SORT-ORDER:7\n"
        "BEGIN:VALARM\nACTION:DISPLAY\nTRIGGER:-PT1H\nEND:VALARM\nEND:VTODO\nEND:VCALENDAR\n"));
    put(QStringLiteral("todo/call.ics"), QStringLiteral(
        "BEGIN:VCALENDAR\nVERSION:2.0\nPRODID:-//Test//EN\nBEGIN:VTODO\nUID:call\nSUMMARY:Call\n"
        "DUE;TZID=Europe/Berlin:20250306T143000\nEND:VTODO\nEND:VCALENDAR\n"));
    put(QStringLiteral("todo/done.ics"), QStringLiteral(
        "BEGIN:VCALENDAR\nVERSION:2.0\nPRODID:-//Test//EN\nBEGIN:VTODO\nUID:done\nSUMMARY:Done\n"
        "STATUS:COMPLETED\nCOMPLETED:20250302T080000Z\nEND:VTODO\nEND:VCALENDAR\n"));
    put(QStringLiteral("todo/dropped.ics"), QStringLiteral(
        "BEGIN:VCALENDAR\nVERSION:2.0\nPRODID:-//Test//EN\nBEGIN:VTODO\nUID:dropped\nSUMMARY:Dropped\n"
        "STATUS:CANCELLED\nEND:VTODO\nEND:VCALENDAR\n"));

    const QList<CalendarInfo> lists = store->calendars(CollectionKind::Reminders);
    ASSERT_EQ(lists.size(), 1);
    EXPECT_EQ(lists[0].title, QStringLiteral("Errands"));
    EXPECT_EQ(lists[0].color, QColor(0xFF, 0x29, 0x68));

    QList<Reminder> open = store->incompleteReminders();
    ASSERT_EQ(open.size(), 2);
    const Reminder &buy = open[0];
    EXPECT_EQ(buy.id, QStringLiteral("buy"));
    EXPECT_EQ(buy.title, QStringLiteral("Buy milk"));
    EXPECT_EQ(buy.notes, QStringLiteral("two litres"));
    EXPECT_EQ(buy.due, at(3, 5, 0));
    EXPECT_TRUE(buy.dueIsDate);
    EXPECT_EQ(buy.createdAt, at(3, 1, 9));
    EXPECT_EQ(buy.listTitle, QStringLiteral("Errands"));
    EXPECT_EQ(buy.listId, path(QStringLiteral("todo")));
    EXPECT_EQ(open[1].due, at(3, 6, 14, 30));
    EXPECT_FALSE(open[1].dueIsDate);

    Reminder edited = buy;
    edited.notes = QStringLiteral("two litres\n2025-03-04 ◯◯");
    ASSERT_TRUE(store->saveReminder(edited));
    ASSERT_TRUE(store->completeReminder(QStringLiteral("buy")));
    const QString text = read(QStringLiteral("todo/buy.ics"));
    for (const char *kept : {"STATUS:COMPLETED", "COMPLETED:20250304T080000Z", "PERCENT-COMPLETE:100",
                             "X-APPLE-SORT-ORDER:7", "BEGIN:VALARM", "DUE;VALUE=DATE:20250305",
                             "DESCRIPTION:two litres\\n2025-03-04 ◯◯"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(kept))) << kept << "\n" << text.toStdString();

    open = store->incompleteReminders();
    ASSERT_EQ(open.size(), 1);
    EXPECT_EQ(open[0].id, QStringLiteral("call"));
    EXPECT_TRUE(store->reminder(QStringLiteral("buy"))->completed);
    EXPECT_FALSE(store->reminder(QStringLiteral("weekly"))) << "no such reminder";

    Reminder fresh;
    fresh.listId = path(QStringLiteral("todo"));
    fresh.title = QStringLiteral("New one");
    fresh.due = at(3, 8, 0);
    fresh.dueIsDate = true;
    const std::optional<QString> id = store->saveReminder(fresh);
    ASSERT_TRUE(id);
    const std::optional<Reminder> back = store->reminder(*id);
    ASSERT_TRUE(back);
    EXPECT_EQ(back->title, fresh.title);
    EXPECT_EQ(back->due, fresh.due);
    EXPECT_EQ(back->createdAt, clock.now());
}

TEST_F(IcalStore, ClassifiesCollectionsAndSkipsBrokenFiles)
{
    struct Case
    {
        const char *folder;
        const char *displayname; // nullptr: none
        const char *item;        // "VEVENT", "VTODO" or nullptr for an empty folder
        CollectionKind kind;
        const char *title;
    };
    const Case cases[] = {
        {"plain", nullptr, nullptr, CollectionKind::Events, "plain"},
        {"named-list", "Shopping list", nullptr, CollectionKind::Reminders, "Shopping list"},
        {"reminders", "Quillmere", nullptr, CollectionKind::Reminders, "Quillmere"},
        {"tasks-but-events", nullptr, "VEVENT", CollectionKind::Events, "tasks-but-events"},
        {"mixed", "Family", "VTODO", CollectionKind::Reminders, "Family"},
    };
    QDir(path(QStringLiteral("work"))).removeRecursively();
    QDir(path(QStringLiteral("todo"))).removeRecursively();
    for (const Case &c : cases) {
        const QString folder = QString::fromLatin1(c.folder);
        QDir().mkpath(path(folder));
        if (c.displayname)
            put(folder + QStringLiteral("/displayname"), QString::fromUtf8(c.displayname));
        if (c.item)
            put(folder + QStringLiteral("/x.ics"),
                QStringLiteral("BEGIN:VCALENDAR\nBEGIN:%1\nUID:x-%2\nDTSTART:20250304T100000\nEND:%1\nEND:VCALENDAR\n")
                    .arg(QLatin1String(c.item), folder));
    }
    for (const Case &c : cases) {
        const std::optional<CalendarInfo> info = store->calendar(path(QString::fromLatin1(c.folder)));
        ASSERT_TRUE(info) << c.folder;
        EXPECT_EQ(info->kind, c.kind) << c.folder;
        EXPECT_EQ(info->title, QString::fromUtf8(c.title)) << c.folder;
        EXPECT_EQ(info->accountTitle, QStringLiteral("home"));
        EXPECT_TRUE(info->writable);
    }

    // Garbage, an item without UID, an empty file and an unreadable file are
    // skipped; the good item beside them is still read, and nothing is renamed.
    put(QStringLiteral("plain/good.ics"), QStringLiteral(
        "BEGIN:VCALENDAR\nBEGIN:VEVENT\nUID:good\nDTSTART:20250304T100000\nEND:VEVENT\nEND:VCALENDAR\n"));
    put(QStringLiteral("plain/garbage.ics"), QStringLiteral("\x01\x02 not a calendar at all"));
    put(QStringLiteral("plain/cut.ics"), QStringLiteral("BEGIN:VCALENDAR\nBEGIN:VEVENT\nDTSTART:2025"));
    put(QStringLiteral("plain/nouid.ics"), QStringLiteral(
        "BEGIN:VCALENDAR\nBEGIN:VEVENT\nDTSTART:20250304T110000\nEND:VEVENT\nEND:VCALENDAR\n"));
    put(QStringLiteral("plain/empty.ics"), QString());
    put(QStringLiteral("plain/locked.ics"), QStringLiteral(
        "BEGIN:VCALENDAR\nBEGIN:VEVENT\nUID:locked\nDTSTART:20250304T120000\nEND:VEVENT\nEND:VCALENDAR\n"));
    QFile::setPermissions(path(QStringLiteral("plain/locked.ics")), QFileDevice::Permissions());
    QStringList ids;
    for (const CalendarEvent &e : store->eventsOnDay(QDate(2025, 3, 4), {path(QStringLiteral("plain"))}))
        ids.append(e.id);
    if (geteuid() != 0)
        EXPECT_EQ(ids, QStringList{QStringLiteral("good")});
    else
        EXPECT_EQ(ids, (QStringList{QStringLiteral("good"), QStringLiteral("locked")}));
    EXPECT_EQ(QDir(path(QStringLiteral("plain"))).entryList(QDir::Files).size(), 6);
}

TEST_F(IcalStore, AccessFollowsTheAccountFolders)
{
    Preferences::standard().remove(IcalFolderStore::accountsKey());
    EXPECT_EQ(store->authorization(), CalendarAccess::NotDetermined);
    EXPECT_TRUE(store->calendars(CollectionKind::Events).isEmpty());
    EXPECT_TRUE(store->incompleteReminders().isEmpty());

    QString error;
    ASSERT_TRUE(store->requestAccess(&error)) << error.toStdString();
    EXPECT_EQ(store->authorization(), CalendarAccess::FullAccess);
    EXPECT_EQ(store->accountFolders(), QStringList{IcalFolderStore::defaultAccountFolder()});
    const QList<CalendarInfo> calendars = store->calendars(CollectionKind::Events);
    const QList<CalendarInfo> lists = store->calendars(CollectionKind::Reminders);
    ASSERT_EQ(calendars.size(), 1);
    ASSERT_EQ(lists.size(), 1);
    EXPECT_EQ(calendars[0].title, QStringLiteral("Quillmere"));
    EXPECT_EQ(lists[0].title, QStringLiteral("Quillmere"));
    EXPECT_EQ(store->defaultCalendarForNewEvents()->id, calendars[0].id);
    EXPECT_TRUE(store->requestAccess()) << "asking again changes nothing";
    EXPECT_EQ(store->calendars(CollectionKind::Events).size(), 1);

    if (geteuid() != 0) {
        // An account folder that cannot be written is a refusal.
        Preferences::standard().setValue(IcalFolderStore::accountsKey(), QJsonArray{account});
        QFile::setPermissions(account, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        EXPECT_EQ(store->authorization(), CalendarAccess::Denied);
        EXPECT_TRUE(store->events(at(3, 1, 0), at(4, 1, 0), {}).isEmpty());
        CalendarEvent e;
        e.calendarId = path(QStringLiteral("work"));
        e.start = at(3, 5, 9);
        e.end = at(3, 5, 10);
        EXPECT_FALSE(store->saveEvent(e));
        QFile::setPermissions(account, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    }
}

TEST_F(IcalStore, ReportsChangesOnceAfterAQuietTime)
{
    QSignalSpy spy(store.get(), &CalendarStore::changed);
    CalendarEvent e;
    e.calendarId = path(QStringLiteral("work"));
    e.start = at(3, 5, 9);
    e.end = at(3, 5, 10);
    ASSERT_TRUE(store->saveEvent(e));
    ASSERT_TRUE(store->saveEvent(e));
    clock.advance(IcalFolderStore::kChangeDelayMs - 1);
    EXPECT_EQ(spy.count(), 0);
    clock.advance(1);
    EXPECT_EQ(spy.count(), 1);

    // A file written by another program is seen through the folder watch.
    putEvent(QStringLiteral("outside"), QStringLiteral(
        "BEGIN:VEVENT\nUID:outside\nDTSTART:20250305T120000\nEND:VEVENT\n"));
    const QDeadlineTimer patience(5000);
    while (clock.pendingCount() == 0 && !patience.hasExpired())
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    clock.advance(IcalFolderStore::kChangeDelayMs);
    EXPECT_EQ(spy.count(), 2);
}

namespace {

QStringList startsOf(const QList<CalendarEvent> &events)
{
    QStringList out;
    for (const CalendarEvent &e : events)
        out << e.start.toString(QStringLiteral("MM-dd HH:mm"));
    return out;
}

} // namespace

// Every RDATE and every RRULE of a series counts, however they are written:
// one value a line or several, and two rules side by side.
TEST_F(IcalStore, EveryExtraDateAndEveryRuleOfASeriesCounts)
{
    putEvent(QStringLiteral("extra"), QStringLiteral(
        "BEGIN:VEVENT\nUID:extra\nSUMMARY:Review\nDESCRIPTION:room 4\n"
        "DTSTART;TZID=Europe/Berlin:20250303T090000\nDTEND;TZID=Europe/Berlin:20250303T093000\n"
        "RDATE;TZID=Europe/Berlin:20250305T090000\nRDATE;TZID=Europe/Berlin:20250307T140000\n"
        "RDATE;TZID=Europe/Berlin:20250311T090000,20250313T090000\nEND:VEVENT\n"));
    putEvent(QStringLiteral("rules"), QStringLiteral(
        "BEGIN:VEVENT\nUID:rules\nSUMMARY:Sync\nDTSTART;TZID=Europe/Berlin:20250303T120000\nDURATION:PT15M\n"
        "RRULE:FREQ=WEEKLY;BYDAY=MO;COUNT=3\nRRULE:FREQ=MONTHLY;BYMONTHDAY=15;COUNT=2\nEND:VEVENT\n"));

    const QList<CalendarEvent> extra = store->events(at(3, 1, 0), at(4, 1, 0), {path(QStringLiteral("work"))});
    QList<CalendarEvent> reviews;
    QList<CalendarEvent> syncs;
    for (const CalendarEvent &e : extra)
        (e.id == QStringLiteral("extra") ? reviews : syncs).append(e);
    EXPECT_EQ(startsOf(reviews), (QStringList{"03-03 09:00", "03-05 09:00", "03-07 14:00", "03-11 09:00", "03-13 09:00"}));
    for (const CalendarEvent &e : reviews) {
        EXPECT_EQ(e.title, QStringLiteral("Review"));
        EXPECT_EQ(e.notes, QStringLiteral("room 4"));
        EXPECT_EQ(e.start.secsTo(e.end), 30 * 60);
        EXPECT_TRUE(e.recurring);
    }
    EXPECT_EQ(startsOf(syncs), (QStringList{"03-03 12:00", "03-10 12:00", "03-15 12:00", "03-17 12:00"}));
    EXPECT_EQ(startsOf(store->events(at(4, 1, 0), at(5, 1, 0), {})), QStringList{"04-15 12:00"});
}

// A zone name the file does not define and the system does not know is the
// local wall clock, not UTC; a zone the file defines is read by that
// definition; a Windows zone name is the system's zone. An EXDATE in the
// same unknown zone still takes its occurrence out.
TEST_F(IcalStore, ZoneNamesAreTheFilesOwnTheSystemsOrTheLocalWallClock)
{
    putEvent(QStringLiteral("foo"), QStringLiteral(
        "BEGIN:VEVENT\nUID:foo\nSUMMARY:Foo\nDTSTART;TZID=FOO:20250312T090000\nDTEND;TZID=FOO:20250312T100000\n"
        "END:VEVENT\n"));
    putEvent(QStringLiteral("reunion"), QStringLiteral(
        "BEGIN:VTIMEZONE\nTZID:IndianReunion\nBEGIN:STANDARD\nDTSTART:19700101T000000\nTZOFFSETFROM:+0400\n"
        "TZOFFSETTO:+0400\nTZNAME:RET\nEND:STANDARD\nEND:VTIMEZONE\n"
        "BEGIN:VEVENT\nUID:reunion\nSUMMARY:Reunion\nDTSTART;TZID=IndianReunion:20250312T150000\n"
        "DTEND;TZID=IndianReunion:20250312T160000\nEND:VEVENT\n"));
    putEvent(QStringLiteral("tokyo"), QStringLiteral(
        "BEGIN:VEVENT\nUID:tokyo\nSUMMARY:Tokyo\nDTSTART;TZID=Tokyo Standard Time:20250312T230000\n"
        "DTEND;TZID=Tokyo Standard Time:20250313T000000\nEND:VEVENT\n"));
    putEvent(QStringLiteral("skipped"), QStringLiteral(
        "BEGIN:VEVENT\nUID:skipped\nSUMMARY:Daily\nDTSTART;TZID=LOLOLOL:20250310T080000\nDURATION:PT30M\n"
        "RRULE:FREQ=DAILY;COUNT=3\nEXDATE;TZID=LOLOLOL:20250311T080000\nEND:VEVENT\n"));

    struct Expected
    {
        const char *id;
        QDateTime start;
    };
    const QList<CalendarEvent> twelfth = day(3, 12);
    const Expected expected[] = {
        {"foo", at(3, 12, 9)},      // FOO: 09:00 on the local clock
        {"reunion", at(3, 12, 12)}, // 15:00 at +04:00 is 11:00 UTC, 12:00 in Berlin
        {"skipped", at(3, 12, 8)},
        {"tokyo", at(3, 12, 15)}, // 23:00 in Tokyo is 14:00 UTC, 15:00 in Berlin
    };
    ASSERT_EQ(twelfth.size(), std::size(expected));
    for (const Expected &e : expected) {
        const auto found = std::find_if(twelfth.begin(), twelfth.end(),
                                        [&](const CalendarEvent &event) { return event.id == QLatin1String(e.id); });
        ASSERT_NE(found, twelfth.end()) << e.id;
        EXPECT_EQ(found->start, e.start) << e.id;
        EXPECT_EQ(found->start.secsTo(found->end), found->id == QStringLiteral("skipped") ? 1800 : 3600) << e.id;
    }
    EXPECT_EQ(startsOf(store->events(at(3, 10, 0), at(3, 13, 0), {})).filter(QStringLiteral("08:00")),
              (QStringList{"03-10 08:00", "03-12 08:00"}));
}

// A series' end written in UTC is its last occurrence on the series' own
// clock (09:00 in Berlin is 08:00 UTC), and an override that only changes
// the title keeps the time it replaces.
TEST_F(IcalStore, ASeriesEndsAndChangesOnItsOwnClock)
{
    putEvent(QStringLiteral("until"), QStringLiteral(
        "BEGIN:VEVENT\nUID:until\nSUMMARY:Walk\nDTSTART;TZID=Europe/Berlin:20250303T090000\nDURATION:PT1H\n"
        "RRULE:FREQ=DAILY;UNTIL=20250305T080000Z\nEND:VEVENT\n"
        "BEGIN:VEVENT\nUID:until\nSUMMARY:Run\nRECURRENCE-ID;TZID=Europe/Berlin:20250304T090000\nEND:VEVENT\n"));
    const QList<CalendarEvent> all = store->events(at(3, 1, 0), at(3, 10, 0), {});
    QStringList seen;
    for (const CalendarEvent &e : all)
        seen << e.start.toString(QStringLiteral("dd HH:mm ")) + e.title;
    EXPECT_EQ(seen, (QStringList{"03 09:00 Walk", "04 09:00 Run", "05 09:00 Walk"}));
    ASSERT_EQ(all.size(), 3);
    EXPECT_EQ(all[1].end, at(3, 4, 10));
    EXPECT_EQ(all[1].occurrenceDate, at(3, 4, 9));
}

// A file holding three items shows all three, each with its own series and
// overrides. The item the file is named after (here the first, as no item
// is) can be changed; the others are only read, never dropped.
TEST_F(IcalStore, AFileWithSeveralItemsShowsThemAll)
{
    putEvent(QStringLiteral("export"), QStringLiteral(
        "BEGIN:VEVENT\nUID:first\nSUMMARY:First\nDTSTART;TZID=Europe/Berlin:20250304T080000\n"
        "DTEND;TZID=Europe/Berlin:20250304T083000\nEND:VEVENT\n"
        "BEGIN:VEVENT\nUID:second\nSUMMARY:Second\nDTSTART;TZID=Europe/Berlin:20250303T100000\n"
        "DTEND;TZID=Europe/Berlin:20250303T110000\nRRULE:FREQ=DAILY;COUNT=3\nEND:VEVENT\n"
        "BEGIN:VEVENT\nUID:third\nSUMMARY:Third\nDTSTART;VALUE=DATE:20250304\nDTEND;VALUE=DATE:20250305\nEND:VEVENT\n"
        "BEGIN:VEVENT\nUID:second\nSUMMARY:Second moved\nRECURRENCE-ID;TZID=Europe/Berlin:20250304T100000\n"
        "DTSTART;TZID=Europe/Berlin:20250304T150000\nDTEND;TZID=Europe/Berlin:20250304T160000\nEND:VEVENT\n"));

    QStringList seen;
    for (const CalendarEvent &e : day(3, 4))
        seen << e.id + QLatin1Char(' ') + e.title + QLatin1Char(' ') + e.start.toString(QStringLiteral("HH:mm"));
    EXPECT_EQ(seen, (QStringList{"third Third 00:00", "first First 08:00", "second Second moved 15:00"}));
    EXPECT_EQ(day(3, 5).size(), 1);
    ASSERT_TRUE(store->event(QStringLiteral("third")));
    EXPECT_TRUE(store->event(QStringLiteral("third"))->allDay);

    // The others are only read.
    const QString before = read(QStringLiteral("work/export.ics"));
    std::optional<CalendarEvent> third = store->event(QStringLiteral("third"));
    third->title = QStringLiteral("Changed");
    QString error;
    EXPECT_FALSE(store->saveEvent(*third, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(store->removeEvent(QStringLiteral("second"), at(3, 5, 10)));
    EXPECT_FALSE(store->removeEvent(QStringLiteral("third")));
    EXPECT_EQ(read(QStringLiteral("work/export.ics")), before);

    // The file's own item is changed and removed alone.
    std::optional<CalendarEvent> first = store->event(QStringLiteral("first"));
    first->title = QStringLiteral("First, changed");
    ASSERT_TRUE(store->saveEvent(*first, &error)) << error.toStdString();
    ASSERT_TRUE(store->removeEvent(QStringLiteral("first"), {}, &error)) << error.toStdString();
    QStringList ids;
    for (const CalendarEvent &e : day(3, 4))
        ids << e.id;
    EXPECT_EQ(ids, (QStringList{"third", "second"}));
    EXPECT_TRUE(read(QStringLiteral("work/export.ics")).contains(QLatin1String("SUMMARY:Second moved")));
}

// The same holds for to-dos: every one a list file holds is listed, and only
// the file's own can be completed.
TEST_F(IcalStore, AListFileWithSeveralToDosListsThemAll)
{
    put(QStringLiteral("todo/batch.ics"), QStringLiteral(
        "BEGIN:VCALENDAR\nVERSION:2.0\nPRODID:-//Test//EN\n"
        "BEGIN:VTODO\nUID:one\nSUMMARY:One\nEND:VTODO\n"
        "BEGIN:VTODO\nUID:two\nSUMMARY:Two\nDUE;VALUE=DATE:20250306\nEND:VTODO\n"
        "END:VCALENDAR\n"));
    QStringList titles;
    for (const Reminder &r : store->incompleteReminders())
        titles << r.title;
    EXPECT_EQ(titles, (QStringList{"One", "Two"}));
    EXPECT_EQ(store->reminder(QStringLiteral("two"))->due, at(3, 6, 0));

    const QString before = read(QStringLiteral("todo/batch.ics"));
    QString error;
    EXPECT_FALSE(store->completeReminder(QStringLiteral("two"), &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_EQ(read(QStringLiteral("todo/batch.ics")), before);
    ASSERT_TRUE(store->completeReminder(QStringLiteral("one"), &error)) << error.toStdString();
    titles.clear();
    for (const Reminder &r : store->incompleteReminders())
        titles << r.title;
    EXPECT_EQ(titles, QStringList{"Two"});
}

// Files and items the store cannot read are each named once, with the
// calendar they lie in and, where one can be read, their title; the rest of
// the calendar is read as usual.
TEST_F(IcalStore, ItemsThatCannotBeReadAreNamedOnce)
{
    putEvent(QStringLiteral("good"), QStringLiteral("BEGIN:VEVENT\nUID:good\nDTSTART:20250304T100000\nEND:VEVENT\n"));
    putEvent(QStringLiteral("nouid"), QStringLiteral("BEGIN:VEVENT\nSUMMARY:Dentist\nDTSTART:20250304T110000\nEND:VEVENT\n"));
    putEvent(QStringLiteral("mixed"), QStringLiteral(
        "BEGIN:VEVENT\nUID:kept\nDTSTART:20250304T120000\nEND:VEVENT\n"
        "BEGIN:VEVENT\nSUMMARY:Lost lunch\nDTSTART:20250304T130000\nEND:VEVENT\n"));
    put(QStringLiteral("work/garbage.ics"), QStringLiteral("\x01\x02 not a calendar"));

    QStringList ids;
    for (const CalendarEvent &e : day(3, 4))
        ids << e.id;
    EXPECT_EQ(ids, (QStringList{"good", "kept"}));

    const QList<UnreadableItem> expected = {
        {path(QStringLiteral("work/garbage.ics")), QStringLiteral("work"), QString(), UnreadableItem::Reason::NotCalendar},
        {path(QStringLiteral("work/mixed.ics")), QStringLiteral("work"), QStringLiteral("Lost lunch"), UnreadableItem::Reason::NoUid},
        {path(QStringLiteral("work/nouid.ics")), QStringLiteral("work"), QStringLiteral("Dentist"), UnreadableItem::Reason::NoUid},
    };
    EXPECT_EQ(store->unreadableItems(), expected);
    day(3, 4);
    EXPECT_EQ(store->unreadableItems(), expected) << "named once, however often the calendar is read";

    // Mended outside the program, the item is read and no longer named.
    putEvent(QStringLiteral("nouid"), QStringLiteral(
        "BEGIN:VEVENT\nUID:nouid\nSUMMARY:Dentist\nDTSTART:20250304T110000\nDURATION:PT1H\nEND:VEVENT\n"));
    EXPECT_EQ(store->unreadableItems().size(), 2);
    EXPECT_EQ(day(3, 4).size(), 3);
}

// A series begun in year 1 that repeats every minute, alone and written ten
// times over, gives the first of that day's minutes it may (one a quarter
// hour's worth), walking near that day only.
TEST_F(IcalStore, ARuleFromYearOneIsReadNearTheDayAskedFor)
{
    QString tenRules;
    for (int i = 0; i < 10; ++i)
        tenRules += QStringLiteral("RRULE:FREQ=MINUTELY\n");
    putEvent(QStringLiteral("minutely"), QStringLiteral(
        "BEGIN:VEVENT\nUID:minutely\nSUMMARY:Tick\nDTSTART:00010101T000000\nRRULE:FREQ=MINUTELY\nEND:VEVENT\n"));
    putEvent(QStringLiteral("ten"), QStringLiteral(
        "BEGIN:VEVENT\nUID:ten\nSUMMARY:Tock\nDTSTART:00010101T000000\n") + tenRules + QStringLiteral("END:VEVENT\n"));
    ASSERT_EQ(store->calendars(CollectionKind::Events).size(), 1); // both files read before counting

    for (const char *id : {"minutely", "ten"}) {
        const quint64 stepsBefore = RecurrenceRule::totalSteps();
        QList<CalendarEvent> events = store->eventsOnDay(QDate(2025, 3, 4), {});
        const quint64 steps = RecurrenceRule::totalSteps() - stepsBefore;
        events.removeIf([&](const CalendarEvent &e) { return e.id != QLatin1String(id); });
        ASSERT_EQ(events.size(), IcalDocument::kMostPerItemPerDay) << id;
        EXPECT_EQ(events.first().start, at(3, 4, 0)) << id;
        EXPECT_EQ(events.last().start, at(3, 4, 1, 35)) << id;
        // Both items together: a few thousand steps, where a walk from year 1
        // would take a billion.
        EXPECT_LT(steps, 20000u) << id;
    }
}

// One file of many items that each repeat every minute: one day of it is
// read within the file's bounds, whatever the number of items; the items
// first in the file fill the file's share, each with its first minutes.
TEST_F(IcalStore, AFileOfManyItemsRepeatingEveryMinuteIsReadWithinItsBounds)
{
    for (int items : {200, 1000}) {
        SCOPED_TRACE(items);
        ASSERT_TRUE(DataFile::writeAtomically(path(QStringLiteral("work/careless.ics")), everyMinuteSinceYearOne(items)));
        ASSERT_EQ(store->calendars(CollectionKind::Events).size(), 1);
        store->eventsOnDay(QDate(2025, 3, 3), {}); // the file read and indexed
        const quint64 stepsBefore = RecurrenceRule::totalSteps();
        const QList<CalendarEvent> events = day(3, 4);
        const quint64 steps = RecurrenceRule::totalSteps() - stepsBefore;
        EXPECT_EQ(events.size(), IcalDocument::kMostPerFilePerDay);
        EXPECT_LE(steps, quint64(IcalDocument::kFileStepsPerDay));
        QHash<QString, int> perItem;
        for (const CalendarEvent &e : events) {
            ++perItem[e.id];
            EXPECT_EQ(e.start.date(), QDate(2025, 3, 4));
        }
        EXPECT_EQ(perItem.value(QStringLiteral("minute-0@careless.example")), IcalDocument::kMostPerItemPerDay);
        EXPECT_EQ(perItem.size(), 4) << "the first items of the file";
        for (int n : std::as_const(perItem))
            EXPECT_LE(n, IcalDocument::kMostPerItemPerDay);
    }
}

// Many such files: the reading as a whole stops at its own bound, and the
// same reading made here and run on another thread gives the same events.
TEST_F(IcalStore, AReadingOfManyFilesIsBoundedAndRunsOnAnyThread)
{
    for (int f = 0; f < 12; ++f)
        ASSERT_TRUE(DataFile::writeAtomically(path(QStringLiteral("work/careless-%1.ics").arg(f, 2, 10, QLatin1Char('0'))),
                                              everyMinuteSinceYearOne(50)));
    ASSERT_EQ(store->calendars(CollectionKind::Events).size(), 1);
    const quint64 stepsBefore = RecurrenceRule::totalSteps();
    const QList<CalendarEvent> here = day(3, 4);
    EXPECT_EQ(here.size(), IcalFolderStore::kMostPerReadPerDay);
    EXPECT_LE(RecurrenceRule::totalSteps() - stepsBefore, quint64(IcalFolderStore::kReadStepsPerDay));

    EXPECT_TRUE(store->readsWhenCalled());
    const CalendarStore::EventsReading reading = store->eventsReadingOnDay(QDate(2025, 3, 4), {});
    QList<CalendarEvent> there;
    std::unique_ptr<QThread> worker(QThread::create([&] { there = reading(); }));
    worker->start();
    ASSERT_TRUE(worker->wait(10000));
    EXPECT_EQ(there, here);
}
