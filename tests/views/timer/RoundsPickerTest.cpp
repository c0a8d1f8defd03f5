#include "views/timer/ChoosingFixture.h"

#include "views/ink/ElidedLabel.h"
#include "views/timer/RoundsPicker.h"

#include <QSignalSpy>
#include <QTest>

namespace {

using RoundsPickerTest = ChoosingFixture;

struct Sheet
{
    std::unique_ptr<RoundsPicker> picker;
    explicit Sheet(const ViewContext &context)
        : picker(std::make_unique<RoundsPicker>(context))
    {
        picker->show();
        QCoreApplication::processEvents();
    }
    TaskChooserView *list() const { return picker->list(); }
    QAbstractButton *confirm() const
    {
        return picker->findChild<QAbstractButton *>(QStringLiteral("timer.roundsPicker.confirm"));
    }
    QAbstractButton *cancel() const
    {
        return picker->findChild<QAbstractButton *>(QStringLiteral("timer.roundsPicker.cancel"));
    }
    QString summary() const
    {
        return picker->findChild<ElidedLabel *>(QStringLiteral("timer.roundsPicker.summary"))->text();
    }
    void choose(const QString &title) const { ChoosingFixture::clickRow(list(), list()->rowOf(title)); }
};

TEST_F(RoundsPickerTest, WithNothingToChooseItSaysSoAndCannotConfirm)
{
    Sheet sheet(context());
    QWidget *empty = sheet.picker->findChild<QWidget *>(QStringLiteral("timer.roundsPicker.empty"));
    EXPECT_TRUE(empty->isVisible());
    EXPECT_FALSE(sheet.list()->isVisible());
    EXPECT_EQ(sheet.summary(), QStringLiteral("まだ選んでいません"));
    EXPECT_FALSE(sheet.confirm()->isEnabled());
}

TEST_F(RoundsPickerTest, GroupsAndTheFoldOfUndatedTasks)
{
    const QDateTime today = rig->clock.now();
    {
        // None dated: all under Samu, no fold.
        task(QStringLiteral("A"));
        task(QStringLiteral("B"));
        Sheet sheet(context());
        EXPECT_EQ(ChoosingFixture::rowTexts(sheet.list()), (QStringList{"# 作務", "A", "B"}));
    }
    task(QStringLiteral("Dated"), today.addDays(1));
    practice(QStringLiteral("Sweep"));
    Sheet sheet(context());
    EXPECT_EQ(ChoosingFixture::rowTexts(sheet.list()),
              (QStringList{"# 作務", "Dated", "> 日を決めない　2", "# 行持", "Sweep"}));
    // Unfolding lists the undated between the fold and the practices.
    clickRow(sheet.list(), sheet.list()->foldRow());
    EXPECT_EQ(ChoosingFixture::rowTexts(sheet.list()),
              (QStringList{"# 作務", "Dated", "v 日を決めない　2", "A", "B", "# 行持", "Sweep"}));
    // A task chosen from the fold stays chosen and keeps its place when folded away.
    sheet.choose(QStringLiteral("B"));
    sheet.choose(QStringLiteral("Sweep"));
    clickRow(sheet.list(), sheet.list()->foldRow());
    EXPECT_EQ(sheet.picker->choice().chosen(), (QStringList{"B", "Sweep"}));
    EXPECT_EQ(sheet.picker->choice().position(QStringLiteral("Sweep")), 2);
}

TEST_F(RoundsPickerTest, OrderMarksSummaryAndConfirm)
{
    for (const char *t : {"A", "B", "C"})
        task(QString::fromUtf8(t));
    Sheet sheet(context());
    EXPECT_FALSE(sheet.confirm()->isEnabled());
    sheet.choose(QStringLiteral("A"));
    sheet.choose(QStringLiteral("B"));
    sheet.choose(QStringLiteral("C"));
    EXPECT_EQ(sheet.picker->choice().position(QStringLiteral("C")), 3);
    EXPECT_EQ(sheet.summary(), QStringLiteral("3つ ・ およそ 32分"));
    EXPECT_TRUE(sheet.confirm()->isEnabled());

    sheet.choose(QStringLiteral("B"));
    EXPECT_EQ(sheet.picker->choice().position(QStringLiteral("A")), 1);
    EXPECT_EQ(sheet.picker->choice().position(QStringLiteral("C")), 2);
    EXPECT_FALSE(sheet.picker->choice().position(QStringLiteral("B")));
    EXPECT_EQ(sheet.summary(), QStringLiteral("2つ ・ およそ 21分"));

    QSignalSpy dismissed(sheet.picker.get(), &RoundsPicker::dismissRequested);
    click(sheet.confirm());
    EXPECT_EQ(dismissed.size(), 1);
    EXPECT_EQ(begins(), 1);
    EXPECT_EQ(rig->engine().mode(), Mode::rounds);
    EXPECT_EQ(rig->engine().rounds(), (QStringList{"A", "C"}));
}

TEST_F(RoundsPickerTest, RowsOfOneTitleAreChosenTogether)
{
    task(QStringLiteral("Sweep"));
    practice(QStringLiteral("Sweep"));
    Sheet sheet(context());
    const QStringList rows = ChoosingFixture::rowTexts(sheet.list());
    const int second = int(rows.lastIndexOf(QStringLiteral("Sweep")));
    ASSERT_NE(second, sheet.list()->rowOf(QStringLiteral("Sweep")));
    clickRow(sheet.list(), second);
    EXPECT_EQ(sheet.picker->choice().position(QStringLiteral("Sweep")), 1);
    EXPECT_EQ(sheet.picker->choice().chosen().size(), 1);
    sheet.choose(QStringLiteral("Sweep")); // the other row takes it out again
    EXPECT_TRUE(sheet.picker->choice().chosen().isEmpty());
}

TEST_F(RoundsPickerTest, CancelBeginsNothing)
{
    task(QStringLiteral("A"));
    Sheet sheet(context());
    sheet.choose(QStringLiteral("A"));
    QSignalSpy dismissed(sheet.picker.get(), &RoundsPicker::dismissRequested);
    click(sheet.cancel());
    EXPECT_EQ(dismissed.size(), 1);
    EXPECT_EQ(begins(), 0);
    EXPECT_FALSE(rig->engine().mode());
}

TEST_F(RoundsPickerTest, TheKeyboardChoosesRowsAndConfirms)
{
    task(QStringLiteral("A"));
    task(QStringLiteral("B"));
    Sheet sheet(context());
    sheet.picker->activateWindow();
    sheet.list()->setFocus(Qt::TabFocusReason); // the first task (the header is skipped)
    QTest::keyClick(sheet.list(), Qt::Key_Space);
    EXPECT_EQ(sheet.picker->choice().chosen(), QStringList{QStringLiteral("A")});
    QTest::keyClick(sheet.list(), Qt::Key_Down);
    QTest::keyClick(sheet.list(), Qt::Key_Return);
    EXPECT_EQ(sheet.picker->choice().chosen(), (QStringList{"A", "B"}));
    sheet.confirm()->setFocus(Qt::TabFocusReason);
    QTest::keyClick(sheet.confirm(), Qt::Key_Space);
    EXPECT_EQ(rig->engine().rounds(), (QStringList{"A", "B"}));
}

TEST_F(RoundsPickerTest, LongListsScrollWithinTheirCap)
{
    for (int i = 0; i < 40; ++i)
        task(QStringLiteral("Task %1").arg(i));
    for (double scale : {1.0, 1.6}) {
        Kiv::setScale(scale);
        Sheet sheet(context());
        EXPECT_LE(sheet.list()->height(), int(std::ceil(300 * scale)));
        EXPECT_GT(sheet.list()->verticalScrollBar()->maximum(), 0);
        EXPECT_EQ(sheet.picker->width(), int(std::round(420 * scale)));
    }
}

} // namespace
