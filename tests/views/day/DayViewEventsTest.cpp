// The day page's events over real calendar folders that hold a careless file
// (200 items repeating every minute since year 1) beside an ordinary event:
// the calendars are expanded on a worker and the page takes the events when
// they come; another day's events never show meanwhile, and of two reads on
// their way the later one wins.
#include "DayFixture.h"
#include "platform/calendar/IcalDocument.h"
#include "platform/calendar/IcalFolderStore.h"
#include "platform/files/DataFile.h"
#include "support/RepeatingItems.h"

#include <QDir>

namespace {

struct DayViewEvents : DayFixture
{
    std::unique_ptr<IcalFolderStore> folders;

    void SetUp() override
    {
        DayFixture::SetUp();
        const QString account = rig->dirs.root() + QStringLiteral("/accounts/home");
        QDir().mkpath(account + QStringLiteral("/office"));
        ASSERT_TRUE(DataFile::writeAtomically(account + QStringLiteral("/office/careless.ics"),
                                              everyMinuteSinceYearOne(200)));
        ASSERT_TRUE(DataFile::writeAtomically(
            account + QStringLiteral("/office/dentist.ics"),
            "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Test//EN\r\nBEGIN:VEVENT\r\nUID:dentist\r\n"
            "SUMMARY:Dentist\r\nDTSTART:20250305T100000\r\nDURATION:PT1H\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n"));
        rig->prefs.setValue(IcalFolderStore::accountsKey(), QJsonArray{account});
        folders = std::make_unique<IcalFolderStore>(&rig->prefs);
        rig->calendarsOverride = folders.get();
    }
    void TearDown() override
    {
        view.reset();
        rig.reset();
        folders.reset();
        ViewTest::TearDown();
    }
    bool waitForEvents()
    {
        return QTest::qWaitFor([&] { return !view->events().isEmpty(); }, 10000);
    }
    static bool hasDentist(const QList<DayEvent> &events)
    {
        return std::any_of(events.begin(), events.end(), [](const DayEvent &e) { return e.title == u"Dentist"; });
    }
};

} // namespace

TEST_F(DayViewEvents, EventsReadOnAWorkerArriveForTheDayShown)
{
    build();
    ASSERT_TRUE(waitForEvents());
    EXPECT_EQ(view->events().size(), IcalDocument::kMostPerFilePerDay + 1) << "the file's share and the dentist";
    EXPECT_TRUE(hasDentist(view->events()));

    // The next day: nothing of this day shows while its own events are read.
    view->setDay(QDate(2025, 3, 6));
    EXPECT_TRUE(view->events().isEmpty());
    ASSERT_TRUE(waitForEvents());
    EXPECT_EQ(view->events().size(), IcalDocument::kMostPerFilePerDay);
    EXPECT_FALSE(hasDentist(view->events()));

    // Two reads on their way: the later day's events stay.
    view->setDay(QDate(2025, 3, 5));
    view->setDay(QDate(2025, 3, 7));
    ASSERT_TRUE(waitForEvents());
    QTest::qWait(200);
    EXPECT_EQ(view->day(), QDate(2025, 3, 7));
    EXPECT_FALSE(hasDentist(view->events())) << "the earlier read did not land";
    EXPECT_EQ(view->events().size(), IcalDocument::kMostPerFilePerDay);
}
