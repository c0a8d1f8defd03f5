// The store keeps what it has read and trusts it while the folders' stamps
// stay the same. These tests age every file and folder by hand, so that what
// is read is trusted, and then change the folders the way other programs do:
// each change must be seen on the next read.
#include "platform/calendar/IcalFolderStore.h"
#include "platform/fakes/FakeClock.h"
#include "platform/files/DataFile.h"
#include "platform/files/Preferences.h"
#include "support/ScopedDirs.h"
#include "support/ScopedTimeZone.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QJsonArray>
#include <QSignalSpy>

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

struct IcalStoreCache : ::testing::Test
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
        Preferences::standard().setValue(IcalFolderStore::accountsKey(), QJsonArray{account});
        putEvent(QStringLiteral("work"), QStringLiteral("a"), QStringLiteral("Alpha"), 10);
        putEvent(QStringLiteral("work"), QStringLiteral("b"), QStringLiteral("Beta"), 12);
        store = std::make_unique<IcalFolderStore>();
    }
    void TearDown() override
    {
        store.reset();
        Clock::setCurrent(nullptr);
    }

    QString path(const QString &relative) const { return account + QLatin1Char('/') + relative; }

    static QByteArray eventFile(const QString &uid, const QString &title, int hour, const QString &extra = {})
    {
        QString text = QStringLiteral("BEGIN:VCALENDAR\nVERSION:2.0\nPRODID:-//Test//EN\nBEGIN:VEVENT\nUID:%1\n"
                                      "DTSTAMP:20250101T000000Z\nDTSTART:20250304T%2\nDTEND:20250304T%3\n"
                                      "SUMMARY:%4\n%5END:VEVENT\nEND:VCALENDAR\n")
                           .arg(uid, QStringLiteral("%1").arg(hour, 2, 10, QLatin1Char('0')) + QStringLiteral("0000"),
                                QStringLiteral("%1").arg(hour + 1, 2, 10, QLatin1Char('0')) + QStringLiteral("0000"),
                                title, extra);
        text.replace(QStringLiteral("\n"), QStringLiteral("\r\n"));
        return text.toUtf8();
    }
    void putEvent(const QString &folder, const QString &uid, const QString &title, int hour) const
    {
        ASSERT_TRUE(DataFile::writeAtomically(path(folder + QLatin1Char('/') + uid + QStringLiteral(".ics")),
                                              eventFile(uid, title, hour)));
    }

    // Sets a path's modification time to this many seconds ago.
    static void setAge(const QString &file, int secondsAgo)
    {
        const timespec now = [] { timespec t; clock_gettime(CLOCK_REALTIME, &t); return t; }();
        timespec times[2] = {{now.tv_sec - secondsAgo, 0}, {now.tv_sec - secondsAgo, 0}};
        ASSERT_EQ(::utimensat(AT_FDCWD, QFile::encodeName(file).constData(), times, 0), 0) << qPrintable(file);
    }
    // Ages every file and folder of the account, so what the store reads of
    // them is trusted until their stamps change. Each call gives a different
    // age, as a later change would.
    void ageAll()
    {
        m_age -= 60;
        QDirIterator it(account, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden, QDirIterator::Subdirectories);
        while (it.hasNext())
            setAge(it.next(), m_age);
        setAge(account, m_age);
    }

    QStringList titlesOfTheDay() const
    {
        QStringList titles;
        for (const CalendarEvent &e : store->eventsOnDay(QDate(2025, 3, 4), {}))
            titles << e.title;
        return titles;
    }
    QStringList calendarTitles() const
    {
        QStringList titles;
        for (const CalendarInfo &c : store->calendars(CollectionKind::Events))
            titles << c.title;
        return titles;
    }

    int m_age = 3600;
};

} // namespace

TEST_F(IcalStoreCache, AFileReplacedByAnotherProgramIsReadAgain)
{
    ageAll();
    ASSERT_EQ(titlesOfTheDay(), (QStringList{QStringLiteral("Alpha"), QStringLiteral("Beta")}));
    ASSERT_TRUE(DataFile::writeAtomically(path(QStringLiteral("work/a.ics")),
                                          eventFile(QStringLiteral("a"), QStringLiteral("Alpha moved"), 14)));
    ageAll();
    EXPECT_EQ(titlesOfTheDay(), (QStringList{QStringLiteral("Beta"), QStringLiteral("Alpha moved")}));
}

TEST_F(IcalStoreCache, AnAddedFileIsRead)
{
    ageAll();
    ASSERT_EQ(titlesOfTheDay().size(), 2);
    putEvent(QStringLiteral("work"), QStringLiteral("c"), QStringLiteral("Gamma"), 8);
    ageAll();
    EXPECT_EQ(titlesOfTheDay(), (QStringList{QStringLiteral("Gamma"), QStringLiteral("Alpha"), QStringLiteral("Beta")}));
}

TEST_F(IcalStoreCache, ARemovedFileIsGone)
{
    ageAll();
    ASSERT_EQ(titlesOfTheDay().size(), 2);
    ASSERT_TRUE(QFile::remove(path(QStringLiteral("work/b.ics"))));
    ageAll();
    EXPECT_EQ(titlesOfTheDay(), QStringList{QStringLiteral("Alpha")});
}

TEST_F(IcalStoreCache, AnAddedCalendarFolderIsListedAndRead)
{
    ageAll();
    ASSERT_EQ(calendarTitles(), QStringList{QStringLiteral("work")});
    QDir().mkpath(path(QStringLiteral("family")));
    putEvent(QStringLiteral("family"), QStringLiteral("f"), QStringLiteral("Family"), 18);
    ageAll();
    EXPECT_EQ(calendarTitles(), (QStringList{QStringLiteral("family"), QStringLiteral("work")}));
    EXPECT_EQ(titlesOfTheDay(), (QStringList{QStringLiteral("Alpha"), QStringLiteral("Beta"), QStringLiteral("Family")}));
}

TEST_F(IcalStoreCache, AFileOfTheSameTimeButAnotherSizeIsReadAgain)
{
    ageAll();
    const QString file = path(QStringLiteral("work/a.ics"));
    struct stat before;
    ASSERT_EQ(::stat(QFile::encodeName(file).constData(), &before), 0);
    ASSERT_EQ(titlesOfTheDay(), (QStringList{QStringLiteral("Alpha"), QStringLiteral("Beta")}));

    // Rewritten in place with a longer title, keeping its time (as a copy
    // that keeps times does); the folder changes with another file.
    QFile out(file);
    ASSERT_TRUE(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
    out.write(eventFile(QStringLiteral("a"), QStringLiteral("Alpha with a longer title"), 10));
    out.close();
    const timespec times[2] = {before.st_atim, before.st_mtim};
    ASSERT_EQ(::utimensat(AT_FDCWD, QFile::encodeName(file).constData(), times, 0), 0);
    putEvent(QStringLiteral("work"), QStringLiteral("c"), QStringLiteral("Gamma"), 8);
    setAge(path(QStringLiteral("work/c.ics")), 7200);
    setAge(path(QStringLiteral("work")), 7200);

    EXPECT_EQ(titlesOfTheDay(),
              (QStringList{QStringLiteral("Gamma"), QStringLiteral("Alpha with a longer title"), QStringLiteral("Beta")}));
}

TEST_F(IcalStoreCache, ACalendarRenamedInPlaceIsSeen)
{
    const QString nameFile = path(QStringLiteral("work/displayname"));
    ASSERT_TRUE(DataFile::writeAtomically(nameFile, "Work\n"));
    ageAll();
    ASSERT_EQ(calendarTitles(), QStringList{QStringLiteral("Work")});
    // Rewritten in place: the folder itself does not change.
    QFile name(nameFile);
    ASSERT_TRUE(name.open(QIODevice::WriteOnly | QIODevice::Truncate));
    name.write("Office\n");
    name.close();
    setAge(nameFile, 7200);
    EXPECT_EQ(calendarTitles(), QStringList{QStringLiteral("Office")});
    const QList<CalendarEvent> events = store->eventsOnDay(QDate(2025, 3, 4), {});
    ASSERT_EQ(events.size(), 2);
    EXPECT_EQ(events[0].calendarTitle, QStringLiteral("Office"));
}

TEST_F(IcalStoreCache, TheProgramsOwnWritesAreSeenAtOnceThoughTheFolderSeemsUnchanged)
{
    ageAll();
    ASSERT_EQ(titlesOfTheDay().size(), 2);
    const QString folder = path(QStringLiteral("work"));
    struct stat before;
    ASSERT_EQ(::stat(QFile::encodeName(folder).constData(), &before), 0);
    const timespec times[2] = {before.st_atim, before.st_mtim};

    CalendarEvent event;
    event.calendarId = folder;
    event.title = QStringLiteral("Written here");
    event.start = QDateTime(QDate(2025, 3, 4), QTime(16, 0));
    event.end = event.start.addSecs(1800);
    QString error;
    const std::optional<QString> id = store->saveEvent(event, &error);
    ASSERT_TRUE(id) << qPrintable(error);
    // As if the change fell within the same tick of the file system's clock.
    ASSERT_EQ(::utimensat(AT_FDCWD, QFile::encodeName(folder).constData(), times, 0), 0);
    EXPECT_EQ(titlesOfTheDay(), (QStringList{QStringLiteral("Alpha"), QStringLiteral("Beta"), QStringLiteral("Written here")}));

    ASSERT_TRUE(store->removeEvent(*id, {}, &error)) << qPrintable(error);
    ASSERT_EQ(::utimensat(AT_FDCWD, QFile::encodeName(folder).constData(), times, 0), 0);
    EXPECT_EQ(titlesOfTheDay(), (QStringList{QStringLiteral("Alpha"), QStringLiteral("Beta")}));
}

TEST_F(IcalStoreCache, EventsAreFoundOnEveryDayTheyTouchAndInLongRanges)
{
    // Three days long; a year and a half long; weekly from the day before.
    ASSERT_TRUE(DataFile::writeAtomically(
        path(QStringLiteral("work/trip.ics")),
        QByteArray("BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Test//EN\r\nBEGIN:VEVENT\r\nUID:trip\r\n"
                   "DTSTAMP:20250101T000000Z\r\nDTSTART;VALUE=DATE:20250310\r\nDTEND;VALUE=DATE:20250313\r\n"
                   "SUMMARY:Trip\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n")));
    ASSERT_TRUE(DataFile::writeAtomically(
        path(QStringLiteral("work/sabbatical.ics")),
        QByteArray("BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Test//EN\r\nBEGIN:VEVENT\r\nUID:sabbatical\r\n"
                   "DTSTAMP:20250101T000000Z\r\nDTSTART:20250101T090000Z\r\nDTEND:20260701T090000Z\r\n"
                   "SUMMARY:Sabbatical\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n")));
    ASSERT_TRUE(DataFile::writeAtomically(path(QStringLiteral("work/weekly.ics")),
                                          eventFile(QStringLiteral("weekly"), QStringLiteral("Weekly"), 7,
                                                    QStringLiteral("RRULE:FREQ=WEEKLY\n"))));
    ageAll();
    const auto titlesOn = [&](const QDate &day) {
        QStringList titles;
        for (const CalendarEvent &e : store->eventsOnDay(day, {}))
            titles << e.title;
        titles.sort();
        return titles;
    };
    EXPECT_EQ(titlesOn(QDate(2025, 3, 11)), (QStringList{QStringLiteral("Sabbatical"), QStringLiteral("Trip"),
                                                         QStringLiteral("Weekly")}));
    EXPECT_EQ(titlesOn(QDate(2025, 3, 13)), QStringList{QStringLiteral("Sabbatical")});
    EXPECT_EQ(titlesOn(QDate(2026, 2, 3)), (QStringList{QStringLiteral("Sabbatical"), QStringLiteral("Weekly")}));
    EXPECT_EQ(titlesOn(QDate(2026, 7, 7)), QStringList{QStringLiteral("Weekly")});

    // Over two years: every item once, the weekly one every week.
    const QList<CalendarEvent> all = store->events(QDateTime(QDate(2025, 1, 1), QTime(0, 0)),
                                                   QDateTime(QDate(2027, 1, 1), QTime(0, 0)), {});
    const auto count = [&](const QString &title) {
        return std::count_if(all.begin(), all.end(), [&](const CalendarEvent &e) { return e.title == title; });
    };
    EXPECT_EQ(count(QStringLiteral("Alpha")), 1);
    EXPECT_EQ(count(QStringLiteral("Trip")), 1);
    EXPECT_EQ(count(QStringLiteral("Sabbatical")), 1);
    EXPECT_GT(count(QStringLiteral("Weekly")), 90);
}

TEST_F(IcalStoreCache, ReadingOnAWorkerReportsOnceAndAnswersTheSame)
{
    QSignalSpy changed(store.get(), &CalendarStore::changed);
    store->loadInBackground();
    EXPECT_TRUE(store->isLoading());
    // Questions meanwhile read no file and find nothing yet (the report
    // brings it all); a write reads what it needs and goes where it should.
    EXPECT_TRUE(titlesOfTheDay().isEmpty());
    EXPECT_TRUE(store->calendars(CollectionKind::Events).isEmpty());
    EXPECT_TRUE(store->incompleteReminders().isEmpty());
    CalendarEvent event;
    event.calendarId = path(QStringLiteral("work"));
    event.title = QStringLiteral("Written meanwhile");
    event.start = QDateTime(QDate(2025, 3, 4), QTime(16, 0));
    event.end = event.start.addSecs(1800);
    QString error;
    ASSERT_TRUE(store->saveEvent(event, &error)) << qPrintable(error);

    ASSERT_TRUE(changed.wait(5000));
    EXPECT_FALSE(store->isLoading());
    EXPECT_EQ(titlesOfTheDay(),
              (QStringList{QStringLiteral("Alpha"), QStringLiteral("Beta"), QStringLiteral("Written meanwhile")}));
    EXPECT_EQ(store->calendars(CollectionKind::Events).size(), 1);
}
