#include "StoreFixture.h"

#include "stores/LocalTaskStore.h"
#include "support/ScopedTimeZone.h"

namespace {

// The one-pass archives must list exactly what the single views list.
class LocalTaskStoreArchivesTest : public StoreFixture
{
protected:
    LocalTaskStore store{QString()};

    static QStringList titles(const QList<LocalTask> &tasks)
    {
        QStringList out;
        for (const LocalTask &t : tasks)
            out << t.title;
        return out;
    }
    LocalTask task(const QString &title) const
    {
        LocalTask t;
        t.id = QUuid::createUuid();
        t.title = title;
        t.createdAt = at(2025, 3, 1);
        t.updatedAt = t.createdAt;
        return t;
    }
    void expectSameAsSingleViews(const QDateTime &day)
    {
        for (const qsizetype limit : {qsizetype(0), qsizetype(1), qsizetype(2), qsizetype(4), qsizetype(50)}) {
            const LocalTaskStore::DoneByDay done = store.completedByDay(day, limit);
            EXPECT_EQ(titles(done.onDay), titles(store.completed(day))) << day.toString(Qt::ISODate).toStdString();
            EXPECT_EQ(titles(done.others), titles(store.completedBefore(day).mid(0, limit))) << "limit " << limit;
            EXPECT_EQ(titles(store.latestSetAside(limit)), titles(store.setAside().mid(0, limit))) << "limit " << limit;
        }
    }
};

TEST_F(LocalTaskStoreArchivesTest, OnePassListsWhatTheSingleViewsList)
{
    QList<LocalTask> tasks;
    const auto done = [&](const QString &title, const QDateTime &when) {
        LocalTask t = task(title);
        t.completedAt = when;
        tasks << t;
    };
    const auto aside = [&](const QString &title, const QDateTime &when) {
        LocalTask t = task(title);
        t.abandonedAt = when;
        tasks << t;
    };
    done("today early", at(2025, 3, 4, 8));
    done("today late", at(2025, 3, 4, 20));
    done("today tied", at(2025, 3, 4, 8)); // tied with "today early": stored order stays
    done("today in UTC", at(2025, 3, 4, 12).toUTC());
    done("yesterday", at(2025, 3, 3, 23, 59));
    done("tomorrow", at(2025, 3, 5, 0, 0));
    done("last week A", at(2025, 2, 25, 9));
    done("last week B", at(2025, 2, 25, 9));
    done("last week C in UTC", at(2025, 2, 25, 9).toUTC());
    done("long ago", at(2024, 1, 1));
    LocalTask gone = task("deleted");
    gone.completedAt = at(2025, 3, 4, 10);
    gone.deletedAt = at(2025, 3, 4, 11);
    tasks << gone;
    aside("aside 1", at(2025, 3, 2));
    aside("aside 2", at(2025, 3, 4));
    aside("aside 3", at(2025, 3, 2));
    aside("aside 4 in UTC", at(2025, 3, 3).toUTC());
    LocalTask open = task("open");
    tasks << open;
    store.setAllTasks(tasks);

    expectSameAsSingleViews(at(2025, 3, 4, 15));
    expectSameAsSingleViews(at(2025, 2, 25, 0));
    EXPECT_EQ(titles(store.completedByDay(at(2025, 3, 4, 15), 50).onDay),
              (QStringList{"today late", "today in UTC", "today early", "today tied"}));
    EXPECT_EQ(titles(store.completedByDay(at(2025, 3, 4, 15), 3).others),
              (QStringList{"tomorrow", "yesterday", "last week A"}));
}

TEST_F(LocalTaskStoreArchivesTest, DaysFollowTheZoneOfTheMomentAcrossADaylightSavingChange)
{
    // In Berlin clocks went forward on 30 March 2025 at 02:00; an instant
    // just before midnight UTC is on the next local day there.
    const QDateTime lateUtc(QDate(2025, 3, 30), QTime(22, 30), Qt::UTC);
    const QDateTime earlyUtc(QDate(2025, 3, 29), QTime(22, 30), Qt::UTC);
    QList<LocalTask> tasks;
    LocalTask a = task("late");
    a.completedAt = lateUtc;
    LocalTask b = task("early");
    b.completedAt = earlyUtc;
    tasks << a << b;
    store.setAllTasks(tasks);
    const QDateTime day(QDate(2025, 3, 31), QTime(12, 0), Qt::UTC);
    {
        ScopedTimeZone berlin("Europe/Berlin");
        EXPECT_EQ(titles(store.completedByDay(day, 50).onDay), QStringList{"late"});
        expectSameAsSingleViews(day);
    }
    {
        ScopedTimeZone utc("UTC");
        EXPECT_TRUE(store.completedByDay(day, 50).onDay.isEmpty()) << "the zone is read again on each call";
        expectSameAsSingleViews(day);
    }
}

} // namespace
