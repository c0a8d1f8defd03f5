#pragma once

#include "platform/fakes/FakeClock.h"
#include "platform/files/DataFile.h"
#include "platform/calendar/IcalFolderStore.h"
#include "platform/files/Preferences.h"
#include "support/ScopedDirs.h"
#include "support/ScopedTimeZone.h"

#include <QDir>
#include <QJsonArray>
#include <gtest/gtest.h>
#include <memory>

// A calendar account folder of hand-written iCalendar files, read through the
// real folder store, in a zone with daylight saving, on a clock that moves
// only by hand (9:00 on Tuesday 4 March 2025 unless a test moves it).
struct ReminderFolders : ::testing::Test
{
    ScopedTimeZone zone{"Europe/Berlin"};
    ScopedDirs dirs;
    FakeClock clock{QDateTime(QDate(2025, 3, 4), QTime(9, 0))};
    QString account;
    std::unique_ptr<IcalFolderStore> calendars;

    void SetUp() override
    {
        Clock::setCurrent(&clock);
        account = dirs.root() + QStringLiteral("/accounts/cloud");
        Preferences::standard().setValue(IcalFolderStore::accountsKey(), QJsonArray{account});
    }
    void TearDown() override
    {
        calendars.reset();
        Clock::setCurrent(nullptr);
    }

    // Opens the store once the folders are written.
    IcalFolderStore &open()
    {
        calendars = std::make_unique<IcalFolderStore>();
        return *calendars;
    }

    QString path(const QString &relative) const { return account + QLatin1Char('/') + relative; }

    // A collection folder with its optional display name.
    void list(const QString &folder, const QString &displayName = QString()) const
    {
        ASSERT_TRUE(QDir().mkpath(path(folder)));
        if (!displayName.isNull()) {
            ASSERT_TRUE(DataFile::writeAtomically(path(folder + QStringLiteral("/displayname")), displayName.toUtf8()));
        }
    }

    // Writes "<folder>/<uid>.ics" from lines joined with the format's CRLF.
    void put(const QString &folder, const QString &uid, const QStringList &lines) const
    {
        const QString text = lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
        ASSERT_TRUE(DataFile::writeAtomically(path(folder + QLatin1Char('/') + uid + QStringLiteral(".ics")),
                                              text.toUtf8()));
    }

    // Three lists in the forms calendar servers write: a Nextcloud-style list
    // named "Errands", an iCloud-style list named "仕事" with a time zone and
    // an alarm, holding a Thunderbird-style item too, and a list without a
    // display name ("inbox"). Open rows, most urgent first: nc-milk (due
    // 3 March, overdue), AB12-CD34 (today 17:00), tb-call@example.org
    // (10 March), someday (undated). nc-done is completed; untitled has no
    // title.
    void writeServerLists() const
    {
        list(QStringLiteral("errands"), QStringLiteral("Errands"));
        list(QStringLiteral("work"), QStringLiteral("仕事"));
        list(QStringLiteral("inbox"));
        const QStringList head{"BEGIN:VCALENDAR", "VERSION:2.0"};
        put(QStringLiteral("errands"), QStringLiteral("nc-milk"),
            head + QStringList{"PRODID:-//Nextcloud Tasks v0.16.0", "BEGIN:VTODO", "UID:nc-milk",
                               "CREATED:20250301T080000Z", "LAST-MODIFIED:20250301T080000Z", "DTSTAMP:20250301T080000Z",
                               "SUMMARY:Buy milk", "DESCRIPTION:Two litres\\, the blue one", "DUE;VALUE=DATE:20250303",
                               "STATUS:NEEDS-ACTION", "PERCENT-COMPLETE:0", "PRIORITY:5", "CATEGORIES:home,shopping",
                               "X-OC-HIDESUBTASKS:0", "END:VTODO", "END:VCALENDAR"});
        put(QStringLiteral("errands"), QStringLiteral("nc-done"),
            head + QStringList{"PRODID:-//Nextcloud Tasks v0.16.0", "BEGIN:VTODO", "UID:nc-done",
                               "CREATED:20250301T080000Z", "DTSTAMP:20250302T100000Z", "SUMMARY:Return the parcel",
                               "STATUS:COMPLETED", "COMPLETED:20250302T100000Z", "PERCENT-COMPLETE:100", "END:VTODO",
                               "END:VCALENDAR"});
        put(QStringLiteral("work"), QStringLiteral("AB12-CD34"),
            head + QStringList{"PRODID:-//Apple Inc.//iOS 17.4//EN", "CALSCALE:GREGORIAN", "BEGIN:VTIMEZONE",
                               "TZID:Europe/Berlin", "BEGIN:DAYLIGHT", "TZOFFSETFROM:+0100",
                               "RRULE:FREQ=YEARLY;BYMONTH=3;BYDAY=-1SU", "DTSTART:19810329T020000", "TZNAME:CEST",
                               "TZOFFSETTO:+0200", "END:DAYLIGHT", "BEGIN:STANDARD", "TZOFFSETFROM:+0200",
                               "RRULE:FREQ=YEARLY;BYMONTH=10;BYDAY=-1SU", "DTSTART:19961027T030000", "TZNAME:CET",
                               "TZOFFSETTO:+0100", "END:STANDARD", "END:VTIMEZONE", "BEGIN:VTODO",
                               "CREATED:20250302T090000Z", "DTSTAMP:20250302T090000Z", "LAST-MODIFIED:20250302T090000Z",
                               "UID:AB12-CD34", "SUMMARY:Draft the report",
                               "DESCRIPTION:Outline first\\n⏱ 2025-03-03 集中2回 50分（Quillmere）",
                               "DTSTART;TZID=Europe/Berlin:20250304T170000", "DUE;TZID=Europe/Berlin:20250304T170000",
                               "X-APPLE-SORT-ORDER:734567890", "SEQUENCE:0", "BEGIN:VALARM", "ACTION:DISPLAY",
                               "DESCRIPTION:Reminder", "TRIGGER;VALUE=DATE-TIME:20250304T160000Z", "UID:ALARM-1",
                               "END:VALARM", "END:VTODO", "END:VCALENDAR"});
        put(QStringLiteral("work"), QStringLiteral("tb-call@example.org"),
            head + QStringList{"PRODID:-//Mozilla.org/NONSGML Mozilla Calendar V1.1//EN", "BEGIN:VTODO",
                               "CREATED:20250228T120000Z", "LAST-MODIFIED:20250228T120000Z", "DTSTAMP:20250228T120000Z",
                               "UID:tb-call@example.org", "SUMMARY:Call the plumber", "PRIORITY:1",
                               "DUE:20250310T080000Z", "X-MOZ-GENERATION:2", "END:VTODO", "END:VCALENDAR"});
        put(QStringLiteral("inbox"), QStringLiteral("untitled"),
            head + QStringList{"PRODID:-//Test//EN", "BEGIN:VTODO", "UID:untitled", "DTSTAMP:20250301T080000Z",
                               "DUE;VALUE=DATE:20250304", "END:VTODO", "END:VCALENDAR"});
        put(QStringLiteral("inbox"), QStringLiteral("someday"),
            head + QStringList{"PRODID:-//Test//EN", "BEGIN:VTODO", "UID:someday", "DTSTAMP:20250301T080000Z",
                               "SUMMARY:Learn the cello", "END:VTODO", "END:VCALENDAR"});
    }

    // The item file as text, with folded lines joined again.
    QString read(const QString &folder, const QString &uid) const
    {
        QByteArray bytes = DataFile::read(path(folder + QLatin1Char('/') + uid + QStringLiteral(".ics"))).bytes;
        bytes.replace("\r\n ", "").replace("\r\n\t", "");
        return QString::fromUtf8(bytes);
    }
};

// Readable failure messages for texts.
inline void PrintTo(const QString &text, std::ostream *os)
{
    *os << '"' << text.toStdString() << '"';
}

inline QDateTime at(int month, int day, int hour, int minute = 0)
{
    return QDateTime(QDate(2025, month, day), QTime(hour, minute));
}
