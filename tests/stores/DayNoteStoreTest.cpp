#include "StoreFixture.h"

#include "core/KivJSON.h"
#include "stores/DayNoteStore.h"

namespace {

class DayNoteStoreTest : public StoreFixture
{
protected:
    DayNoteStore store{QString()};
    int saves = 0;
    void SetUp() override
    {
        StoreFixture::SetUp();
        store.onChanged = [this] { ++saves; };
    }
};

TEST_F(DayNoteStoreTest, ReadingADayWritesNothing)
{
    const DayNote n = store.note(at(2025, 3, 4, 22));
    EXPECT_EQ(n.day, QStringLiteral("2025-03-04"));
    EXPECT_TRUE(n.plans.isEmpty());
    EXPECT_TRUE(store.allNotes().isEmpty());
    EXPECT_FALSE(exists(DayNoteStore::fileName));
}

TEST_F(DayNoteStoreTest, LinesAreTrimmedAndEveryWriteStampsAndSaves)
{
    struct Case
    {
        const char *name;
        QString text;
        QString stored;
    };
    const Case cases[] = {
        {"framed by spaces and a line break", QStringLiteral("  sit well \n"), QStringLiteral("sit well")},
        {"ideographic spaces", QStringLiteral("\u3000静かに\u3000"), QStringLiteral("静かに")},
        {"a line over a stored one", QStringLiteral("walk  "), QStringLiteral("walk")},
    };
    int day = 1;
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const int before = saves;
        clock.advance(1000);
        store.setIntention(c.text, at(2025, 3, day));
        store.setReflection(c.text, at(2025, 3, day));
        const DayNote n = store.note(at(2025, 3, day));
        EXPECT_EQ(n.intention, c.stored);
        EXPECT_EQ(n.reflection, c.stored);
        EXPECT_EQ(n.updatedAt, clock.now());
        EXPECT_EQ(saves, before + 2);
        ++day;
    }
    EXPECT_EQ(store.allNotes().size(), 3) << "one note per day";
}

TEST_F(DayNoteStoreTest, TheStoredLineAgainWritesNothing)
{
    // Browsing days hands the loaded lines back: nothing may be written then,
    // neither an empty note for a day only looked at nor a new change time.
    store.setIntention(QStringLiteral("   "), at(2025, 3, 1));
    store.setReflection(QString(), at(2025, 3, 1));
    EXPECT_EQ(saves, 0);
    EXPECT_TRUE(store.allNotes().isEmpty()) << "no empty note for a day only looked at";

    store.setIntention(QStringLiteral("sit"), at(2025, 3, 2));
    const QDateTime stamped = store.note(at(2025, 3, 2)).updatedAt;
    clock.advance(60000);
    store.setIntention(QStringLiteral(" sit "), at(2025, 3, 2, 18));
    EXPECT_EQ(saves, 1);
    EXPECT_EQ(store.note(at(2025, 3, 2)).updatedAt, stamped);

    store.setIntention(QString(), at(2025, 3, 2));
    EXPECT_EQ(saves, 2) << "clearing a stored line is a change";
    EXPECT_TRUE(store.note(at(2025, 3, 2)).intention.isEmpty());
}

TEST_F(DayNoteStoreTest, PlansAddRemoveReplace)
{
    const QDateTime day = at(2025, 3, 4, 13);
    store.removePlan(QUuid::createUuid(), day);
    EXPECT_EQ(saves, 1) << "removing an absent plan still stamps and saves";
    EXPECT_EQ(store.allNotes().size(), 1);

    const DayPlan plan{.title = "sit", .startMinutes = 540, .minutes = 25};
    store.addPlan(plan, day);
    store.addPlan(plan, day);
    EXPECT_EQ(store.note(day).plans.size(), 2);
    EXPECT_EQ(DayNoteStore(QString()).note(day).plans.size(), 2) << "copies of one plan survive loading";

    const DayPlan other{.title = "walk", .startMinutes = 600};
    store.addPlan(other, day);
    store.removePlan(plan.id, day);
    EXPECT_EQ(store.note(day).plans, QList<DayPlan>{other});
    store.replacePlans({plan, other}, day);
    EXPECT_EQ(store.note(day).plans, (QList<DayPlan>{plan, other}));
}

TEST_F(DayNoteStoreTest, WritingToADeletedDayRevivesItWithWhatItHeld)
{
    DayNote dead = DayNote::empty("2025-03-04");
    dead.reflection = QStringLiteral("kept");
    dead.sweptAt = at(2025, 3, 4, 20);
    dead.deletedAt = at(2025, 3, 5);
    store.replaceAll({dead});
    EXPECT_TRUE(store.note(at(2025, 3, 4)).reflection.isEmpty()) << "a tombstone reads as an empty day";
    EXPECT_FALSE(store.isSwept(at(2025, 3, 4)));

    store.setIntention("back", at(2025, 3, 4, 9));
    ASSERT_EQ(store.allNotes().size(), 1);
    const DayNote n = store.note(at(2025, 3, 4));
    EXPECT_FALSE(n.deletedAt);
    EXPECT_EQ(n.reflection, QStringLiteral("kept"));
    EXPECT_EQ(n.intention, QStringLiteral("back"));
    EXPECT_TRUE(store.isSwept(at(2025, 3, 4, 23)));
}

TEST_F(DayNoteStoreTest, LastSwept)
{
    store.markSwept(at(2025, 6, 9, 8), at(2025, 6, 9, 8, 30));
    store.markSwept(at(2025, 6, 14, 8), at(2025, 6, 14, 8, 30));
    struct Case
    {
        QDateTime before;
        std::optional<QDateTime> expected;
    };
    const Case cases[] = {
        {at(2025, 6, 14, 12), at(2025, 6, 9)},
        {at(2025, 6, 15, 0, 1), at(2025, 6, 14)},
        {at(2025, 6, 9, 23), std::nullopt},
    };
    for (const Case &c : cases)
        EXPECT_EQ(store.lastSwept(c.before), c.expected) << c.before.toString().toStdString();
}

TEST_F(DayNoteStoreTest, GuidesLapseOnTheNextSweepDay)
{
    struct Case
    {
        const char *name;
        QDate set;
        QDate lastDay;  // still current
        QDate lapsed;   // the next sweep day
    };
    const Case cases[] = {
        {"mid-month", QDate(2025, 6, 9), QDate(2025, 6, 13), QDate(2025, 6, 14)},
        {"across a 31-day month end", QDate(2025, 3, 29), QDate(2025, 4, 3), QDate(2025, 4, 4)},
        {"across February of a common year", QDate(2025, 2, 24), QDate(2025, 3, 3), QDate(2025, 3, 4)},
        {"on the 29th of a leap February", QDate(2024, 2, 24), QDate(2024, 2, 28), QDate(2024, 2, 29)},
        {"across a 30-day month end", QDate(2025, 4, 29), QDate(2025, 5, 3), QDate(2025, 5, 4)},
        {"across the year end", QDate(2025, 12, 29), QDate(2026, 1, 3), QDate(2026, 1, 4)},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        freshFolder();
        DayNoteStore notes{QString()};
        notes.setGuide(QStringLiteral(" 一歩ずつ "), c.set.startOfDay().addSecs(3600 * 20));
        EXPECT_EQ(notes.currentGuide(c.set.startOfDay()), QStringLiteral("一歩ずつ"));
        EXPECT_EQ(notes.currentGuide(c.lastDay.startOfDay().addSecs(86399)), QStringLiteral("一歩ずつ"));
        EXPECT_FALSE(notes.currentGuide(c.lapsed.startOfDay()));
        EXPECT_FALSE(notes.currentGuide(c.set.addDays(-1).startOfDay())) << "nothing before it was set";
    }
}

TEST_F(DayNoteStoreTest, AnEmptyGuideHidesNoOlderOne)
{
    store.setGuide("walk", at(2025, 6, 9, 20));
    store.setGuide("  ", at(2025, 6, 14, 20));
    const auto g = store.lastGuide(at(2025, 6, 14, 21));
    ASSERT_TRUE(g);
    EXPECT_EQ(g->text, QStringLiteral("walk"));
    EXPECT_EQ(g->day, at(2025, 6, 9));
    EXPECT_FALSE(store.currentGuide(at(2025, 6, 14, 21)));
    EXPECT_EQ(store.currentGuide(at(2025, 6, 13, 21)), QStringLiteral("walk"));
}

TEST_F(DayNoteStoreTest, DuplicatePlansAreRemovedAndWrittenBackAtLoad)
{
    const QUuid task = QUuid::createUuid();
    DayNote dup = DayNote::empty("2025-03-04");
    dup.updatedAt = at(2025, 3, 1);
    dup.plans = {DayPlan{.taskID = task, .title = "a", .startMinutes = 540},
                 DayPlan{.taskID = task, .title = "b", .startMinutes = 540}};
    DayNote clean = DayNote::empty("2025-03-05");
    clean.updatedAt = at(2025, 3, 1);
    write(DayNoteStore::fileName, KivJSON::encode(KivJSON::encodeList(QList<DayNote>{dup, clean})));

    clock.setNow(at(2025, 3, 6, 7));
    DayNoteStore loaded{QString()};
    ASSERT_EQ(loaded.allNotes().size(), 2);
    EXPECT_EQ(loaded.allNotes()[0].plans.size(), 1);
    EXPECT_EQ(loaded.allNotes()[0].plans[0].title, QStringLiteral("a"));
    EXPECT_EQ(loaded.allNotes()[0].updatedAt, clock.now());
    EXPECT_EQ(loaded.allNotes()[1].updatedAt, at(2025, 3, 1));

    const QByteArray rewritten = bytes(DayNoteStore::fileName);
    EXPECT_EQ(rewritten, KivJSON::encode(KivJSON::encodeList(loaded.allNotes())));
    DayNoteStore again{QString()};
    EXPECT_EQ(bytes(DayNoteStore::fileName), rewritten) << "a clean file is not rewritten";
}

TEST_F(DayNoteStoreTest, ReplaceAllCleansAndAlwaysSaves)
{
    const QUuid task = QUuid::createUuid();
    DayNote n = DayNote::empty("2025-03-04");
    n.plans = {DayPlan{.taskID = task, .title = "x", .timed = false},
               DayPlan{.taskID = task, .title = "y", .timed = false}};
    store.replaceAll({n});
    EXPECT_EQ(store.allNotes()[0].plans.size(), 1);
    EXPECT_EQ(saves, 1);
    store.replaceAll(store.allNotes());
    EXPECT_EQ(saves, 2);
}

} // namespace
