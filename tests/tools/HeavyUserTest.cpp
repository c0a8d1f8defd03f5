// The heavy user's data reads back through the program's own stores and
// calendar layer: nothing set aside, every element there, series expanded.
#include "HeavyUser.h"
#include "platform/calendar/IcalFolderStore.h"
#include "platform/files/Preferences.h"
#include "stores/DayNoteStore.h"
#include "stores/LocalTaskStore.h"
#include "stores/SessionStore.h"

#include <QSet>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

TEST(HeavyUser, StoresReadBackEverything)
{
    QTemporaryDir dir;
    QString error;
    ASSERT_TRUE(HeavyUser::writeStores(dir.path(), QDate(2016, 1, 1), &error)) << error.toStdString();

    SessionStore sessions(dir.path());
    LocalTaskStore tasks(dir.path());
    DayNoteStore days(dir.path());
    EXPECT_TRUE(sessions.lastError().isEmpty() && tasks.lastError().isEmpty() && days.lastError().isEmpty());
    ASSERT_EQ(sessions.records().size(), HeavyUser::kRecords);
    ASSERT_EQ(tasks.allTasks().size(), HeavyUser::kTasks);
    ASSERT_EQ(days.allNotes().size(), HeavyUser::kDays);

    // Records on a task name one that exists, as the program's own would.
    QSet<QString> ids;
    for (const LocalTask &t : tasks.allTasks())
        ids.insert(t.id.toString(QUuid::WithoutBraces).toUpper());
    int onTasks = 0;
    for (const SessionRecord &r : sessions.records()) {
        if (!r.taskRef)
            continue;
        ++onTasks;
        EXPECT_TRUE(ids.contains(r.taskRef->id)) << r.taskRef->id.toStdString();
    }
    EXPECT_EQ(onTasks, (HeavyUser::kRecords + 2) / 3);
    EXPECT_EQ(days.allNotes().first().day, QStringLiteral("2016-01-01"));
    EXPECT_EQ(days.allNotes().last().day, QDate(2016, 1, 1).addDays(HeavyUser::kDays - 1).toString(Qt::ISODate));
}

TEST(HeavyUser, CalendarsReadBackThroughTheCalendarLayer)
{
    QTemporaryDir dir;
    Preferences prefs(QStringLiteral("heavy-user-test"));
    IcalFolderStore store(&prefs);
    const QDate around(2026, 6, 10); // a Wednesday
    QString error;
    const HeavyUser::CalendarCount count =
        HeavyUser::writeCalendars(store, dir.filePath(QStringLiteral("calendars")), around, &error, 1);
    ASSERT_TRUE(error.isEmpty()) << error.toStdString();
    EXPECT_EQ(count.calendars, 1);
    EXPECT_GT(count.events, 365);

    ASSERT_EQ(store.calendars(CollectionKind::Events).size(), 1);
    EXPECT_EQ(store.calendars(CollectionKind::Events).first().title, QStringLiteral("仕事 1"));
    EXPECT_TRUE(store.unreadableItems().isEmpty());

    auto titlesOn = [&](const QDate &day) {
        QStringList titles;
        for (const CalendarEvent &e : store.events(QDateTime(day, QTime(0, 0)), QDateTime(day.addDays(1), QTime(0, 0)), {}))
            titles << e.title + QLatin1Char('@') + e.start.time().toString(QStringLiteral("HH:mm"));
        titles.sort();
        return titles;
    };
    // The weekly series starts on the first Tuesday of the year's span; its
    // fourth week is skipped and its sixth moved to 15:00.
    QDate tuesday = around.addDays(-182);
    while (tuesday.dayOfWeek() != 2)
        tuesday = tuesday.addDays(1);
    EXPECT_TRUE(titlesOn(tuesday).contains(QStringLiteral("定例@10:00"))) << titlesOn(tuesday).join(' ').toStdString();
    EXPECT_FALSE(titlesOn(tuesday.addDays(21)).join(' ').contains(QStringLiteral("定例")));
    EXPECT_TRUE(titlesOn(tuesday.addDays(35)).contains(QStringLiteral("定例@15:00")));
    // A weekday has its meeting.
    EXPECT_TRUE(titlesOn(around).join(' ').contains(QStringLiteral("打ち合わせ 10")));
}

} // namespace
