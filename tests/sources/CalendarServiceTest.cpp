#include "platform/fakes/FakeClock.h"
#include "platform/files/DataFile.h"
#include "platform/fakes/FakeCalendarStore.h"
#include "platform/calendar/IcalFolderStore.h"
#include "platform/files/Preferences.h"
#include "sources/CalendarService.h"
#include "support/DayPrinters.h"
#include "support/LanguageFixtures.h"
#include "support/ScopedDirs.h"
#include "support/ScopedTimeZone.h"

#include <QDir>
#include <QFileInfo>
#include <QJsonArray>
#include <QSignalSpy>
#include <gtest/gtest.h>

namespace {

QDateTime at(int month, int day, int hour, int minute = 0, int second = 0)
{
    return QDateTime(QDate(2025, month, day), QTime(hour, minute, second));
}

SessionRecord round(Phase phase, const QString &title, const QDateTime &start, int seconds, bool completed)
{
    SessionRecord r;
    r.id = QUuid::createUuid();
    r.phase = phase;
    r.title = title;
    r.start = start;
    r.end = start.addSecs(seconds);
    r.completed = completed;
    return r;
}

// Calendar folders written by the test, read in a zone with daylight saving
// (Berlin changes to summer time on 2025-03-30 at 02:00).
struct CalendarFolders : InJapanese
{
    ScopedDirs dirs;
    ScopedTimeZone zone{"Europe/Berlin"};
    FakeClock clock{at(3, 4, 9)};
    QString account;
    std::unique_ptr<CalendarService> service;

    void SetUp() override
    {
        InJapanese::SetUp();
        Clock::setCurrent(&clock);
        account = dirs.root() + QStringLiteral("/calendars/home");
        QDir().mkpath(work());
        QDir().mkpath(account + QStringLiteral("/private"));
        ASSERT_TRUE(DataFile::writeAtomically(work() + QStringLiteral("/displayname"), "Work"));
        Preferences::standard().setValue(IcalFolderStore::accountsKey(), QJsonArray{account});
        service = std::make_unique<CalendarService>();
    }
    void TearDown() override
    {
        service.reset();
        Clock::setCurrent(nullptr);
        InJapanese::TearDown();
    }

    QString work() const { return account + QStringLiteral("/work"); }
    QString privateCalendar() const { return account + QStringLiteral("/private"); }

    void putEvent(const QString &folder, const QString &uid, const QString &lines) const
    {
        QString text = QStringLiteral("BEGIN:VCALENDAR\nVERSION:2.0\nPRODID:-//Test//EN\n") + lines
                       + QStringLiteral("END:VCALENDAR\n");
        text.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
        ASSERT_TRUE(DataFile::writeAtomically(folder + QLatin1Char('/') + uid + QStringLiteral(".ics"), text.toUtf8()));
    }

    QList<DayEvent> day(int month, int dayOfMonth, const QStringList &showing = {}) const
    {
        return service->events(QDate(2025, month, dayOfMonth), showing);
    }
};

QStringList idsOf(const QList<DayEvent> &events)
{
    QStringList out;
    for (const DayEvent &e : events)
        out << e.id;
    return out;
}

} // namespace

TEST_F(CalendarFolders, DayEventsOfSeriesZonesAllDayAndMidnight)
{
    ASSERT_EQ(service->authorization(), CalendarAccess::FullAccess);
    putEvent(work(), QStringLiteral("weekly"), QStringLiteral(
        "BEGIN:VEVENT\nUID:weekly\nSUMMARY:Standup\n"
        "DTSTART;TZID=Europe/Berlin:20250303T090000\nDTEND;TZID=Europe/Berlin:20250303T100000\n"
        "RRULE:FREQ=WEEKLY;COUNT=6\nEXDATE;TZID=Europe/Berlin:20250310T090000\nEND:VEVENT\n"
        "BEGIN:VEVENT\nUID:weekly\nSUMMARY:Standup moved\nRECURRENCE-ID;TZID=Europe/Berlin:20250317T090000\n"
        "DTSTART;TZID=Europe/Berlin:20250318T140000\nDTEND;TZID=Europe/Berlin:20250318T143000\nEND:VEVENT\n"));
    putEvent(work(), QStringLiteral("ny"), QStringLiteral(
        "BEGIN:VEVENT\nUID:ny\nSUMMARY:Call\nDTSTART;TZID=America/New_York:20250312T090000\n"
        "DURATION:PT45M\nEND:VEVENT\n"));
    putEvent(privateCalendar(), QStringLiteral("trip"), QStringLiteral(
        "BEGIN:VEVENT\nUID:trip\nSUMMARY:Trip\nDESCRIPTION:pack\nDTSTART;VALUE=DATE:20250329\n"
        "DTEND;VALUE=DATE:20250401\nEND:VEVENT\n"));
    putEvent(privateCalendar(), QStringLiteral("late"), QStringLiteral(
        "BEGIN:VEVENT\nUID:late\nDTSTART;TZID=Europe/Berlin:20250329T233000\n"
        "DTEND;TZID=Europe/Berlin:20250330T004500\nEND:VEVENT\n"));
    putEvent(privateCalendar(), QStringLiteral("night"), QStringLiteral(
        "BEGIN:VEVENT\nUID:night\nSUMMARY:Night\nDTSTART;TZID=Europe/Berlin:20250330T013000\n"
        "DTEND;TZID=Europe/Berlin:20250330T033000\nEND:VEVENT\n"));
    putEvent(work(), QStringLiteral("half-minute"), QStringLiteral(
        "BEGIN:VEVENT\nUID:half-minute\nSUMMARY:h\nDTSTART:20250305T090030\nDTEND:20250305T093000\nEND:VEVENT\n"));
    putEvent(work(), QStringLiteral("under-half"), QStringLiteral(
        "BEGIN:VEVENT\nUID:under-half\nSUMMARY:u\nDTSTART:20250305T090029\nDTEND:20250305T093000\nEND:VEVENT\n"));

    // The series: the 10th is excluded, the 17th moved to the 18th, and after
    // the change to summer time it stays at 09:00 on the wall clock.
    EXPECT_EQ(day(3, 3), (QList<DayEvent>{{"weekly", "Standup", 540, 60, "Work", "", false}}));
    EXPECT_TRUE(day(3, 10).isEmpty());
    EXPECT_TRUE(day(3, 17).isEmpty());
    EXPECT_EQ(day(3, 18), (QList<DayEvent>{{"weekly", "Standup moved", 840, 30, "Work", "", false}}));
    EXPECT_EQ(day(4, 7), (QList<DayEvent>{{"weekly", "Standup", 540, 60, "Work", "", false}}));

    // 09:00 in New York is 14:00 in Berlin on the 12th (New York already on summer time).
    EXPECT_EQ(day(3, 12), (QList<DayEvent>{{"ny", "Call", 840, 45, "Work", "", false}}));

    // On the day of the change: the all-day trip keeps its own start and
    // length, the event from 23:30 the evening before starts at -30 and lasts
    // 75 minutes, and 01:30 to 03:30 covers two hours of the wall clock.
    const QList<DayEvent> changeDay = day(3, 30);
    ASSERT_EQ(changeDay.size(), 3);
    EXPECT_EQ(changeDay[0], (DayEvent{"trip", "Trip", -1440, 3 * 1440, "private", "pack", true}));
    EXPECT_EQ(changeDay[1], (DayEvent{"late", "（名前のない予定）", -30, 75, "private", "", false}));
    EXPECT_EQ(changeDay[2], (DayEvent{"night", "Night", 90, 120, "private", "", false}));

    // Half a minute rounds away from zero.
    const QList<DayEvent> fifth = day(3, 5);
    ASSERT_EQ(fifth.size(), 2);
    EXPECT_EQ(fifth[0].startMinutes, 540);
    EXPECT_EQ(fifth[0].id, QStringLiteral("under-half"));
    EXPECT_EQ(fifth[1].startMinutes, 541);
    EXPECT_EQ(fifth[1].minutes, 30) << "29.5 minutes";

    // The shown calendars: a stale choice never blanks the day.
    EXPECT_EQ(idsOf(day(3, 30, {privateCalendar()})), (QStringList{"trip", "late", "night"}));
    EXPECT_TRUE(day(3, 30, {work()}).isEmpty());
    EXPECT_EQ(day(3, 30, {QStringLiteral("/gone")}).size(), 3);
}

TEST_F(CalendarFolders, ADayWhoseMidnightIsSkippedStillHasItsEvents)
{
    // Chile moves its clocks from 00:00 to 01:00 on 2025-09-07: that day has
    // no midnight, and starts at 01:00.
    ScopedTimeZone santiago("America/Santiago");
    putEvent(work(), QStringLiteral("walk"), QStringLiteral(
        "BEGIN:VEVENT\nUID:walk\nSUMMARY:Walk\nDTSTART:20250907T100000\nDTEND:20250907T110000\nEND:VEVENT\n"));
    putEvent(work(), QStringLiteral("eve"), QStringLiteral(
        "BEGIN:VEVENT\nUID:eve\nSUMMARY:Eve\nDTSTART:20250906T230000\nDTEND:20250906T233000\nEND:VEVENT\n"));

    EXPECT_EQ(day(9, 7), (QList<DayEvent>{{"walk", "Walk", 600, 60, "Work", "", false}}));
    EXPECT_EQ(idsOf(day(9, 6)), QStringList{"eve"});
}

TEST_F(CalendarFolders, RoundsAndPlansWrittenAreReadBackAsTheProgramsOwn)
{
    const QDate changeDay(2025, 3, 30);
    putEvent(work(), QStringLiteral("meeting"), QStringLiteral(
        "BEGIN:VEVENT\nUID:meeting\nSUMMARY:Meeting\nDTSTART;TZID=Europe/Berlin:20250330T150000\n"
        "DTEND;TZID=Europe/Berlin:20250330T160000\nEND:VEVENT\n"));

    SessionRecord focus = round(Phase::focus, QStringLiteral("見積書を仕上げる"), at(3, 30, 9, 0), 25 * 60, true);
    SessionRecord walk = round(Phase::shortBreak, QStringLiteral("ignored"), at(3, 30, 9, 25), 3 * 60, false);
    DayPlan plan;
    plan.title = QStringLiteral("読書");
    plan.startMinutes = 600;
    plan.minutes = 45;

    const std::optional<QString> focusID = service->write(focus, work(), true);
    const std::optional<QString> walkID = service->write(walk, std::nullopt, false); // the default calendar
    const std::optional<QString> planID = service->writePlan(plan, changeDay, work());
    ASSERT_TRUE(focusID && walkID && planID) << service->lastError().toStdString();
    EXPECT_TRUE(service->lastError().isNull());
    focus.calendarEventID = focusID;
    walk.calendarEventID = walkID;
    plan.eventID = planID;

    // A round is written as free time; the plan at 600 stands at 10:00 of
    // the wall clock on the day summer time begins.
    EXPECT_EQ(service->store()->event(*focusID)->availability, EventAvailability::Free);
    EXPECT_EQ(service->store()->event(*planID)->start, at(3, 30, 10));
    EXPECT_EQ(service->store()->event(*planID)->end, at(3, 30, 10, 45));

    const QList<DayEvent> events = day(3, 30);
    EXPECT_EQ(events, (QList<DayEvent>{
                          {*focusID, "◯ 見積書を仕上げる", 540, 25, "Work", "味わう 25分\nOndrevel", false},
                          {*walkID, "· 経行", 565, 3, "private", "経行 3分\n（途中で終了）\nOndrevel", false},
                          {*planID, "○ 読書", 600, 45, "Work", "作務の予定\nOndrevel", false},
                          {"meeting", "Meeting", 900, 60, "Work", "", false},
                      }));

    // With their records and plan at hand, only the foreign event is shown
    // and no deed is copied from the calendar.
    EXPECT_EQ(idsOf(DayEvent::withoutOwn(events, {focus, walk}, {plan}, changeDay)), (QStringList{"meeting"}));
    EXPECT_TRUE(DayEvent::recordCopies(events, {focus, walk}, changeDay).isEmpty());

    // Without them (say, written on another machine): the rounds are still
    // not shown as events, the plan is (nothing placed here), and the rounds
    // come back as deeds.
    EXPECT_EQ(idsOf(DayEvent::withoutOwn(events, {}, {}, changeDay)), (QStringList{*planID, "meeting"}));
    EXPECT_EQ(DayEvent::recordCopies(events, {}, changeDay),
              (QList<DayDeed>{{DayEvent::stableID(*focusID), "見積書を仕上げる", 540, 25, true, true, false},
                              {DayEvent::stableID(*walkID), "経行", 565, 3, false, true, false}}));

    // Moving the plan: its old event goes, a new one is written.
    service->remove(*planID);
    EXPECT_EQ(idsOf(day(3, 30)), (QStringList{*focusID, *walkID, "meeting"}));
}

// A file holding several items gives the day page all of them; an item
// without a UID is named once for the settings, and only with access.
TEST_F(CalendarFolders, ItemsSharingAFileAndItemsThatCannotBeRead)
{
    putEvent(work(), QStringLiteral("team-export"), QStringLiteral(
        "BEGIN:VEVENT\nUID:a\nSUMMARY:Standup\nDTSTART;TZID=Europe/Berlin:20250304T090000\nDURATION:PT15M\nEND:VEVENT\n"
        "BEGIN:VEVENT\nUID:b\nSUMMARY:Review\nDTSTART;TZID=Europe/Berlin:20250304T140000\nDURATION:PT1H\nEND:VEVENT\n"
        "BEGIN:VEVENT\nUID:c\nSUMMARY:Retro\nDTSTART;TZID=Europe/Berlin:20250304T160000\nDURATION:PT30M\nEND:VEVENT\n"));
    putEvent(work(), QStringLiteral("dentist"), QStringLiteral(
        "BEGIN:VEVENT\nSUMMARY:Dentist\nDTSTART;TZID=Europe/Berlin:20250304T110000\nDURATION:PT1H\nEND:VEVENT\n"));

    EXPECT_EQ(day(3, 4), (QList<DayEvent>{{"a", "Standup", 540, 15, "Work", "", false},
                                          {"b", "Review", 840, 60, "Work", "", false},
                                          {"c", "Retro", 960, 30, "Work", "", false}}));
    const QList<UnreadableItem> unreadable = service->unreadableItems();
    ASSERT_EQ(unreadable.size(), 1);
    EXPECT_EQ(unreadable[0].path, work() + QStringLiteral("/dentist.ics"));
    EXPECT_EQ(unreadable[0].calendarTitle, QStringLiteral("Work"));
    EXPECT_EQ(unreadable[0].title, QStringLiteral("Dentist"));
    EXPECT_EQ(unreadable[0].reason, UnreadableItem::Reason::NoUid);

    Preferences::standard().remove(IcalFolderStore::accountsKey());
    EXPECT_TRUE(CalendarService().unreadableItems().isEmpty());
}

namespace {

struct CalendarServiceFake : InJapanese
{
    FakeCalendarStore store;

    void SetUp() override
    {
        InJapanese::SetUp();
        store.addCalendar({"w1", "Work", {}, "iCloud", "acc1", CollectionKind::Events, true, true});
        store.addCalendar({"w2", "Work", {}, "iCloud", "acc1", CollectionKind::Events, true, true});
        store.addCalendar({"ro", "Holidays", {}, "Google", "acc2", CollectionKind::Events, false, true});
        store.addCalendar({"b", "b", {}, "iCloud", "acc1", CollectionKind::Events, true, false});
        store.addCalendar({"B", "B", {}, "iCloud", "acc1", CollectionKind::Events, true, true});
        store.addCalendar({"loose", "a", {}, "", "", CollectionKind::Events, true, true});
        store.addCalendar({"list", "Work", {}, "iCloud", "acc1", CollectionKind::Reminders, true, true});
    }
};

QStringList groupText(const QList<CalendarService::CalendarGroup> &groups)
{
    QStringList out;
    for (const auto &g : groups) {
        QStringList titles;
        for (const CalendarInfo &c : g.calendars)
            titles << c.id;
        out << g.source + QLatin1Char(':') + titles.join(QLatin1Char(','));
    }
    return out;
}

} // namespace

TEST_F(CalendarServiceFake, CalendarsBySourceTitlesAndLookups)
{
    CalendarService service(&store);
    EXPECT_EQ(groupText(service.allCalendarsBySource()),
              (QStringList{"Google:ro", "iCloud:B,w1,w2,b", "その他:loose"}));
    EXPECT_EQ(groupText(service.writableCalendarsBySource()), (QStringList{"iCloud:B,w1,w2,b", "その他:loose"}));

    EXPECT_EQ(service.writableIdentifier(QStringLiteral("Work")), QStringLiteral("w1"));
    for (const char *name : {"work", " Work", "Holidays", "Nothing"})
        EXPECT_FALSE(service.writableIdentifier(QString::fromUtf8(name))) << name;
    EXPECT_EQ(service.title(QStringLiteral("ro")), QStringLiteral("Holidays"));
    EXPECT_FALSE(service.title(std::nullopt));
    EXPECT_FALSE(service.title(QStringLiteral("gone")));
    EXPECT_EQ(CalendarService::pick(QStringLiteral("x"), {{"1", "y"}, {"2", "x"}, {"3", "x"}}), QStringLiteral("2"));

    store.setAuthorization(CalendarAccess::Denied);
    CalendarService denied(&store);
    EXPECT_TRUE(denied.allCalendarsBySource().isEmpty());
    EXPECT_FALSE(denied.title(QStringLiteral("ro")));
    EXPECT_FALSE(denied.writableIdentifier(QStringLiteral("Work")));
    EXPECT_TRUE(denied.events(QDate(2025, 3, 4), {}).isEmpty());
}

TEST_F(CalendarServiceFake, WritingChoosesTheCalendarAndReportsFailures)
{
    CalendarService service(&store);
    QSignalSpy errors(&service, &CalendarService::lastErrorChanged);
    const SessionRecord focus = round(Phase::focus, QStringLiteral("t"), at(3, 4, 9), 25 * 60, true);
    const QString noCalendar = QStringLiteral("書き込めるカレンダーが見つかりませんでした。");

    struct Case
    {
        const char *name;
        std::optional<QString> calendar;
        std::optional<QString> writtenTo; // nothing: not written
        QString error;
    };
    const Case cases[] = {
        {"given calendar", QStringLiteral("w2"), QStringLiteral("w2"), QString()},
        {"stale id falls back to the default", QStringLiteral("gone"), QStringLiteral("w1"), QString()},
        {"no id: the default", std::nullopt, QStringLiteral("w1"), QString()},
        {"read-only: nothing", QStringLiteral("ro"), std::nullopt, noCalendar},
        {"a reminders list is no calendar", QStringLiteral("list"), QStringLiteral("w1"), QString()},
    };
    for (const Case &c : cases) {
        const std::optional<QString> id = service.write(focus, c.calendar, true);
        EXPECT_EQ(id.has_value(), c.writtenTo.has_value()) << c.name;
        if (id) {
            EXPECT_EQ(store.event(*id)->calendarId, *c.writtenTo) << c.name;
        }
        EXPECT_EQ(service.lastError(), c.error) << c.name;
    }
    // Notified on each change only: set by the read-only case, cleared by the next write.
    EXPECT_EQ(errors.size(), 2);

    // A calendar without the free availability keeps its default.
    EXPECT_EQ(store.event(*service.write(focus, QStringLiteral("b"), true))->availability, EventAvailability::Busy);

    store.setWriteError(QStringLiteral("disk full"));
    EXPECT_FALSE(service.write(focus, QStringLiteral("w1"), true));
    EXPECT_EQ(service.lastError(), QStringLiteral("disk full"));
    store.setWriteError(QString());

    // Plans: no fallback calendar, and a refusal leaves the last error alone.
    DayPlan plan;
    plan.title = QStringLiteral("p");
    plan.startMinutes = 600;
    plan.minutes = 45;
    for (const std::optional<QString> &calendar : {std::optional<QString>(), std::optional<QString>("gone"),
                                                   std::optional<QString>("ro")})
        EXPECT_FALSE(service.writePlan(plan, QDate(2025, 3, 4), calendar));
    EXPECT_EQ(service.lastError(), QStringLiteral("disk full"));

    // Removing: unknown identifiers and a missing access change nothing.
    const int stored = int(store.storedEvents().size());
    service.remove(QStringLiteral("unknown"));
    EXPECT_EQ(store.storedEvents().size(), stored);

    store.setAuthorization(CalendarAccess::WriteOnly);
    CalendarService writeOnly(&store);
    EXPECT_FALSE(writeOnly.write(focus, QStringLiteral("w1"), true));
    EXPECT_EQ(writeOnly.lastError(), QStringLiteral("カレンダーが未許可のため書き出しませんでした。"));
    EXPECT_FALSE(writeOnly.writePlan(plan, QDate(2025, 3, 4), QStringLiteral("w1")));
    writeOnly.remove(store.storedEvents().first().id);
    EXPECT_EQ(store.storedEvents().size(), stored);
}

TEST_F(CalendarServiceFake, AskingForAccess)
{
    store.setAuthorization(CalendarAccess::NotDetermined);
    CalendarService service(&store);
    QSignalSpy changes(&service, &CalendarService::authorizationChanged);
    EXPECT_TRUE(service.requestAccess());
    EXPECT_EQ(service.authorization(), CalendarAccess::FullAccess);
    EXPECT_TRUE(service.requestAccess());
    EXPECT_EQ(changes.size(), 1);

    store.setAuthorization(CalendarAccess::Denied);
    store.setGrantsAccess(false);
    CalendarService refused(&store);
    EXPECT_FALSE(refused.requestAccess());
    EXPECT_EQ(refused.authorization(), CalendarAccess::Denied);
    EXPECT_FALSE(refused.lastError().isEmpty());
}

// Showing the access (the settings window does on every opening) must not
// set up an account the way asking for it does.
TEST(CalendarServiceAccess, RefreshingReadsTheAccessWithoutCreatingAnything)
{
    ScopedDirs dirs;
    CalendarService service;
    QSignalSpy changes(&service, &CalendarService::authorizationChanged);
    EXPECT_EQ(service.refreshAuthorization(), CalendarAccess::NotDetermined);
    EXPECT_FALSE(QFileInfo::exists(IcalFolderStore::defaultAccountFolder()));
    EXPECT_TRUE(service.store()->accountFolders().isEmpty());
    EXPECT_EQ(changes.size(), 0);

    // An account given meanwhile (by another window or by hand) is seen.
    const QString account = dirs.root() + QStringLiteral("/calendars");
    ASSERT_TRUE(QDir().mkpath(account));
    Preferences::standard().setValue(IcalFolderStore::accountsKey(), QJsonArray{account});
    EXPECT_EQ(service.refreshAuthorization(), CalendarAccess::FullAccess);
    EXPECT_EQ(service.authorization(), CalendarAccess::FullAccess);
    EXPECT_EQ(service.refreshAuthorization(), CalendarAccess::FullAccess);
    EXPECT_EQ(changes.size(), 1) << "an unchanged access is not announced again";

    // And so is one taken away.
    ASSERT_TRUE(QDir(account).removeRecursively());
    EXPECT_EQ(service.refreshAuthorization(), CalendarAccess::NotDetermined);
    EXPECT_EQ(changes.size(), 2);
    EXPECT_FALSE(QFileInfo::exists(account));
    EXPECT_FALSE(QFileInfo::exists(IcalFolderStore::defaultAccountFolder()));
}

struct EventTexts : ::testing::Test
{
    void TearDown() override { Lang::setForTesting(std::nullopt); }
};

TEST_F(EventTexts, TitlesAndNotesOfRounds)
{
    struct Case
    {
        Phase phase;
        int seconds;
        bool completed, showsTitle, japanese;
        const char *title, *notes;
    };
    const Case cases[] = {
        {Phase::focus, 25 * 60, true, true, true, "◯ 見積書", "味わう 25分\nOndrevel"},
        {Phase::focus, 24 * 60 + 30, true, false, true, "◯ 味わう", "味わう 25分\nOndrevel"},
        {Phase::focus, 24 * 60 + 29, true, false, false, "◯ Savor", "味わう 24分\nOndrevel"},
        {Phase::shortBreak, 5 * 60, true, false, false, "· Kinhin (walking)", "経行 5分\nOndrevel"},
        {Phase::shortBreak, 5 * 60, false, false, true, "· 経行", "経行 5分\n（途中で終了）\nOndrevel"},
        {Phase::longBreak, 15 * 60, true, false, true, "‥ 茶礼", "茶礼 15分\nOndrevel"},
    };
    for (const Case &c : cases) {
        Lang::setForTesting(c.japanese);
        const SessionRecord r = round(c.phase, QStringLiteral("見積書"), at(3, 4, 9), c.seconds, c.completed);
        EXPECT_EQ(CalendarService::eventTitle(r, c.showsTitle), QString::fromUtf8(c.title));
        EXPECT_EQ(CalendarService::eventNotes(r), QString::fromUtf8(c.notes));
    }
    Lang::setForTesting(true);
    EXPECT_EQ(CalendarService::eventTitle(round(Phase::focus, QString(), at(3, 4, 9), 60, true), true),
              QStringLiteral("◯ "));
}
