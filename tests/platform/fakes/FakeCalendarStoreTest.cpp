#include "platform/fakes/FakeCalendarStore.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

TEST(FakeCalendarStore, BehavesLikeTheFolderStoreForItsCallers)
{
    FakeCalendarStore store;
    store.addCalendar({QStringLiteral("cal"), QStringLiteral("Home"), QColor(Qt::red), QStringLiteral("local"),
                       QStringLiteral("acct"), CollectionKind::Events, true, true});
    store.addCalendar({QStringLiteral("list"), QStringLiteral("Errands"), QColor(), QStringLiteral("local"),
                       QStringLiteral("acct"), CollectionKind::Reminders, true, false});
    QSignalSpy changed(&store, &CalendarStore::changed);

    CalendarEvent e;
    e.calendarId = QStringLiteral("cal");
    e.title = QStringLiteral("Round");
    e.start = QDateTime(QDate(2025, 3, 4), QTime(9, 0));
    e.end = e.start.addSecs(1500);
    const std::optional<QString> id = store.saveEvent(e);
    ASSERT_TRUE(id);
    const QList<CalendarEvent> day = store.eventsOnDay(QDate(2025, 3, 4), {});
    ASSERT_EQ(day.size(), 1);
    EXPECT_EQ(day[0].calendarTitle, QStringLiteral("Home"));
    EXPECT_TRUE(store.eventsOnDay(QDate(2025, 3, 5), {}).isEmpty());

    Reminder r;
    r.listId = QStringLiteral("list");
    r.title = QStringLiteral("Buy milk");
    const QString rid = store.addReminder(r);
    ASSERT_TRUE(store.completeReminder(rid));
    EXPECT_TRUE(store.incompleteReminders().isEmpty());
    EXPECT_EQ(changed.count(), 2);

    store.setWriteError(QStringLiteral("disk full"));
    QString error;
    EXPECT_FALSE(store.removeEvent(*id, {}, &error));
    EXPECT_EQ(error, QStringLiteral("disk full"));

    store.setAuthorization(CalendarAccess::Denied);
    store.setGrantsAccess(false);
    EXPECT_TRUE(store.eventsOnDay(QDate(2025, 3, 4), {}).isEmpty());
    EXPECT_TRUE(store.calendars(CollectionKind::Events).isEmpty());
    EXPECT_FALSE(store.requestAccess());
    store.setGrantsAccess(true);
    EXPECT_TRUE(store.requestAccess());
    EXPECT_EQ(store.authorization(), CalendarAccess::FullAccess);
}
