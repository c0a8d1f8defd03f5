#include "DayFixture.h"
#include "views/ManualMotion.h"

#include "stores/DayNoteStore.h"
#include "stores/LocalTaskStore.h"
#include "views/day/PlacePicker.h"
#include "views/ink/SegmentedControl.h"

#include <QLineEdit>
#include <QScrollBar>
#include <QPointer>

namespace {

struct PlacePickerTest : DayFixture
{
    QPointer<QDialog> picker;

    void open(DayLine::Opening gap, bool asDeed)
    {
        view->openPicker(gap, asDeed);
        picker = sheet();
        ASSERT_NE(picker.data(), nullptr);
        settle();
    }
    QStringList titles(const QString &name) const
    {
        QStringList out;
        for (QAbstractButton *b : picker->findChildren<QAbstractButton *>(name))
            if (b->isVisibleTo(picker))
                out << b->text();
        return out;
    }
    void type(const QString &text)
    {
        auto *draft = find<QLineEdit>(QStringLiteral("place.draft"), picker);
        click(draft);
        QTest::keyClicks(draft, text);
        QTest::keyClick(draft, Qt::Key_Return);
        settle();
    }
};

TEST_F(PlacePickerTest, ATypedTitleBecomesATaskAndItsPlan)
{
    build();
    open({16 * 60, 120}, false);
    type(QStringLiteral("  \t "));
    EXPECT_TRUE(picker && picker->isVisible()) << "a blank title places nothing";
    EXPECT_FALSE(find<QAbstractButton>(QStringLiteral("place.placeDraft"), picker)->isEnabled());
    find<QLineEdit>(QStringLiteral("place.draft"), picker)->clear();
    type(QStringLiteral("Write to Ann"));
    ASSERT_EQ(rig->local.tasks().size(), 1);
    const LocalTask task = rig->local.tasks().first();
    const QList<DayPlan> plans = rig->days.note(day()).plans;
    ASSERT_EQ(plans.size(), 1);
    EXPECT_EQ(plans[0].taskID, task.id);
    EXPECT_EQ(plans[0].startMinutes, 960);
    EXPECT_EQ(plans[0].minutes, 30);
    EXPECT_TRUE(plans[0].timed);
    EXPECT_FALSE(plans[0].isDaily);
}

TEST_F(PlacePickerTest, DayOnlyPlansAndDailyPractices)
{
    const LocalTask undated = *rig->local.add(QStringLiteral("Tidy shelf"));
    const LocalTask dated = *rig->local.add(QStringLiteral("Letters"), QDateTime(QDate(2025, 3, 9), QTime(9, 0)));
    const LocalTask practice = *rig->local.add(QStringLiteral("Sit"));
    rig->local.setDaily(practice.id, true);
    build();

    open({10 * 60, 60}, false);
    EXPECT_EQ(titles(QStringLiteral("place.task")), QStringList{"Letters"}) << "the undated task is folded";
    EXPECT_EQ(titles(QStringLiteral("place.daily")), QStringList{"Sit"});
    {
        // The fold shows its tasks over 0.15 s, growing from nothing.
        ManualMotion motion;
        auto *undated = find(QStringLiteral("place.undated"), picker);
        click(QStringLiteral("place.undatedFold"), picker);
        ManualMotion::advance(64);
        settle();
        EXPECT_GT(undated->height(), 0);
        EXPECT_LT(undated->height(), find(QStringLiteral("place.task"), undated)->height() + 1);
        EXPECT_TRUE(ManualMotion::lastsFor(150 - 64));
        settle();
    }
    EXPECT_EQ(titles(QStringLiteral("place.task")), (QStringList{"Letters", "Tidy shelf"}));

    auto *timing = find<SegmentedControl>(QStringLiteral("place.timing"), picker);
    click(timing->segment(1));
    EXPECT_TRUE(find(QStringLiteral("place.dayOnlyNote"), picker)->isVisible());
    EXPECT_FALSE(find(QStringLiteral("place.chooser"), picker)->isVisible());
    click(picker->findChildren<QAbstractButton *>(QStringLiteral("place.task")).last());
    QList<DayPlan> plans = rig->days.note(day()).plans;
    ASSERT_EQ(plans.size(), 1);
    EXPECT_EQ(plans[0].taskID, undated.id);
    EXPECT_FALSE(plans[0].timed);
    EXPECT_FALSE(plans[0].eventID);

    open({10 * 60, 60}, false);
    EXPECT_EQ(titles(QStringLiteral("place.task")), (QStringList{"Tidy shelf", "Letters"}))
        << "a task on the day comes first and is never folded";
    click(picker->findChildren<QAbstractButton *>(QStringLiteral("place.daily")).first());
    plans = rig->days.note(day()).plans;
    ASSERT_EQ(plans.size(), 2);
    EXPECT_EQ(plans[1].taskID, practice.id);
    EXPECT_TRUE(plans[1].isDaily);
    EXPECT_TRUE(plans[1].timed);
    EXPECT_EQ(plans[1].startMinutes, 655) << "a gap wholly past starts five minutes before its end";
    EXPECT_EQ(plans[1].minutes, 5);
    Q_UNUSED(dated);
}

// With no open task and no daily practice there is nothing to choose: the
// list area is left out, with no box and no scroll bar.
TEST_F(PlacePickerTest, NothingToChooseLeavesNoListArea)
{
    build();
    open({10 * 60, 60}, false);
    EXPECT_TRUE(picker->findChildren<QAbstractButton *>(QStringLiteral("place.task")).isEmpty());
    QWidget *list = find(QStringLiteral("place.list"), picker);
    EXPECT_FALSE(list->isVisibleTo(picker));
    EXPECT_FALSE(find(QStringLiteral("place.undatedFold"), picker)->isVisibleTo(picker));
    for (QScrollBar *bar : picker->findChildren<QScrollBar *>())
        EXPECT_FALSE(bar->isVisibleTo(picker)) << "no bare scroll bar";
    picker->reject();

    rig->local.add(QStringLiteral("Letters"));
    open({10 * 60, 60}, false);
    EXPECT_TRUE(find(QStringLiteral("place.list"), picker)->isVisibleTo(picker)) << "one task brings the list";
}

TEST_F(PlacePickerTest, DeedModeAndBackToPlan)
{
    build();
    // Today 14:20, a gap 8:00–9:00 opened as a deed.
    open({8 * 60, 60}, true);
    auto *mode = find<SegmentedControl>(QStringLiteral("place.mode"), picker);
    EXPECT_EQ(mode->currentIndex(), 1);
    EXPECT_FALSE(find(QStringLiteral("place.timing"), picker)->isVisible());
    auto *p = qobject_cast<PlacePicker *>(picker.data());
    ASSERT_NE(p, nullptr);
    EXPECT_EQ(p->start(), 480);
    EXPECT_EQ(p->minutes(), 30);
    click(mode->segment(0));
    EXPECT_EQ(p->start(), 535) << "a plan starts no earlier than the gap allows before now";
    EXPECT_EQ(p->minutes(), 5);
    click(QStringLiteral("place.cancel"), picker);
    EXPECT_TRUE(rig->days.note(day()).plans.isEmpty());
    EXPECT_TRUE(rig->store.records().isEmpty());
}

} // namespace

// The picker opens with the keyboard in its one text field, in either mode:
// what the user types at once is the title, not keys lost on a segment.
TEST_F(PlacePickerTest, TypingAtOnceWritesTheTitle)
{
    build();
    for (const bool asDeed : {false, true}) {
        SCOPED_TRACE(asDeed ? "deed" : "plan");
        open({16 * 60, 60}, asDeed);
        picker->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(picker));
        QWidget *focus = QApplication::focusWidget();
        ASSERT_NE(focus, nullptr);
        QTest::keyClicks(focus, QStringLiteral("Call Ann"));
        EXPECT_EQ(find<QLineEdit>(QStringLiteral("place.draft"), picker)->text(), "Call Ann");
        picker->close();
        settle();
    }
}
