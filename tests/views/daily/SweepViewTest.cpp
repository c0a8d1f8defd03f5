#include "views/daily/SweepFixture.h"

#include "platform/time/Clock.h"
#include "stores/DayNoteStore.h"
#include "stores/Sweep.h"
#include "views/daily/LookbackRow.h"
#include "views/daily/SweepFlow.h"

#include <algorithm>

namespace {

using Step = AppModel::SweepStep;
const QString kNotice = QStringLiteral("払いました。下ろしたものは、作務の「放下したもの」にあります。");

struct SweepViewTest : SweepFixture
{
    // The visible page of the screen: exactly one while a sweep runs.
    QStringList pagesShown() const
    {
        QStringList shown;
        for (const char *name : {"sweep.opening", "sweep.looking", "sweep.asking", "sweep.tidying", "sweep.resting",
                                 "sweep.standing"})
            if (shows(QString::fromLatin1(name)))
                shown << QString::fromLatin1(name);
        return shown;
    }
    // Every visible button has a name and is reached by Tab.
    void expectControlsNamedAndReachable()
    {
        for (auto *b : view->findChildren<QAbstractButton *>()) {
            if (!b->isVisibleTo(view.get()))
                continue;
            EXPECT_FALSE(b->accessibleName().isEmpty()) << b->objectName().toStdString();
            EXPECT_TRUE(b->focusPolicy() & Qt::TabFocus) << b->objectName().toStdString();
        }
    }
    DayNoteStore storedDays() const { return DayNoteStore(rig->dirs.dataDir()); }
};

TEST_F(SweepViewTest, AWalkWithoutQuietTasksGoesFromTheLookBackToTheSuggestions)
{
    build();
    ASSERT_TRUE(model->sweeping());
    EXPECT_EQ(pagesShown(), QStringList{QStringLiteral("sweep.opening")});
    EXPECT_EQ(text(QStringLiteral("sweep.countLine")), QStringLiteral("抱えているもので、払うものはありません"));
    EXPECT_TRUE(text(QStringLiteral("sweep.explanation")).endsWith(QStringLiteral("今日は、整える日です。")));
    expectControlsNamedAndReachable();

    click(QStringLiteral("sweep.begin"));
    EXPECT_EQ(step(), Step::looking());
    EXPECT_EQ(pagesShown(), QStringList{QStringLiteral("sweep.looking")});
    EXPECT_EQ(text(QStringLiteral("sweep.lookbackNext")), QStringLiteral("次へ"));

    click(QStringLiteral("sweep.lookbackNext"));
    EXPECT_EQ(step(), Step::tidying()) << "no review without quiet tasks";
    EXPECT_EQ(pagesShown(), QStringList{QStringLiteral("sweep.tidying")});
    const QDateTime now = Clock::current().now();
    EXPECT_EQ(text(QStringLiteral("sweep.tidying.suggestion")),
              SweepFlow::suggestionLine(SweepFlow::surroundings(), now, 0));
    // 19 March is the 78th day: the ninth suggestion, then the tenth.
    EXPECT_EQ(text(QStringLiteral("sweep.tidying.suggestion")),
              QStringLiteral("今日は、スマホやパソコンの、要らないものを少し片づける。"));
    click(QStringLiteral("sweep.tidying.another"));
    EXPECT_EQ(text(QStringLiteral("sweep.tidying.suggestion")), QStringLiteral("今日は、いつも使う場所を、少し気持ちよくする。"));
    click(QStringLiteral("sweep.tidying.another"));
    EXPECT_EQ(text(QStringLiteral("sweep.tidying.suggestion")), QStringLiteral("今日は、机の上を、ひとつ整える。"));
    EXPECT_EQ(view->suggestionOffset(), 2);

    // The oneself page opens at its own day's start, the asks forgotten.
    click(QStringLiteral("sweep.tidying.next"));
    EXPECT_EQ(step(), Step::resting());
    EXPECT_EQ(view->suggestionOffset(), 0);
    EXPECT_EQ(text(QStringLiteral("sweep.resting.suggestion")), SweepFlow::suggestionLine(SweepFlow::oneself(), now, 0));
    EXPECT_EQ(text(QStringLiteral("sweep.resting.next")), QStringLiteral("標へ"));
    click(QStringLiteral("sweep.resting.next"));
    EXPECT_EQ(step(), Step::standing());
    EXPECT_EQ(pagesShown(), QStringList{QStringLiteral("sweep.standing")});
    expectControlsNamedAndReachable();

    // A guide of blanks only: nothing stored, the day swept, the notice told.
    auto *field = find<GrowingTextField>(QStringLiteral("sweep.guide"));
    field->setFocus();
    QTest::keyClicks(field, QStringLiteral("   "));
    click(QStringLiteral("sweep.ok"));
    EXPECT_FALSE(model->sweeping());
    EXPECT_EQ(model->notice(), kNotice);
    const DayNoteStore days = storedDays();
    EXPECT_TRUE(days.isSwept(now));
    EXPECT_FALSE(days.lastGuide(now)) << "a blank guide is not written";
    EXPECT_FALSE(days.note(now).guide);
    // The notice clears itself after four seconds.
    rig->clock.advance(AppModel::kNoticeMs + 10);
    EXPECT_FALSE(model->notice());
}

TEST_F(SweepViewTest, AWalkWithThreeQuietTasksKeepsAndSetsDownInTheTaskFile)
{
    addQuietTasks(3);
    build();
    ASSERT_EQ(quiet.size(), 3);
    EXPECT_EQ(text(QStringLiteral("sweep.countLine")), QStringLiteral("抱えているもの 3 件を、ひとつずつ"));
    click(QStringLiteral("sweep.begin"));
    EXPECT_EQ(text(QStringLiteral("sweep.lookbackNext")), QStringLiteral("払いへ"));
    click(QStringLiteral("sweep.lookbackNext"));
    EXPECT_EQ(step(), Step::asking(0));
    EXPECT_EQ(pagesShown(), QStringList{QStringLiteral("sweep.asking")});
    const QDateTime now = Clock::current().now();

    const bool answers[] = {true, false, true};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(text(QStringLiteral("sweep.taskTitle")), quiet.at(i).title);
        EXPECT_EQ(text(QStringLiteral("sweep.reason")), Sweep::reason(quiet.at(i), now));
        EXPECT_EQ(text(QStringLiteral("sweep.reason")), QStringLiteral("13 日、触れていません"));
        EXPECT_EQ(text(QStringLiteral("sweep.position")), QStringLiteral("%1 / 3").arg(i + 1));
        expectControlsNamedAndReachable();
        click(answers[i] ? QStringLiteral("sweep.keep") : QStringLiteral("sweep.setDown"));
    }
    EXPECT_EQ(step(), Step::tidying());
    EXPECT_EQ(model->sweeping()->targets.size(), 3) << "the quiet tasks stay for the count";

    // What the file holds: kept ones reviewed now and still open, the set-down
    // one set aside now.
    for (int i = 0; i < 3; ++i) {
        const std::optional<LocalTask> task = stored(quiet.at(i).id);
        ASSERT_TRUE(task);
        if (answers[i]) {
            EXPECT_EQ(task->reviewedAt, now) << i;
            EXPECT_FALSE(task->abandonedAt) << i;
        } else {
            EXPECT_EQ(task->abandonedAt, now) << i;
        }
    }
}

TEST_F(SweepViewTest, StoppingLeavesTheDayUnsweptAndTheAnswersApplied)
{
    addQuietTasks(3);
    build();
    click(QStringLiteral("sweep.begin"));
    click(QStringLiteral("sweep.lookbackNext"));
    click(QStringLiteral("sweep.setDown"));
    EXPECT_EQ(step(), Step::asking(1));
    click(QStringLiteral("sweep.stop"));
    EXPECT_FALSE(model->sweeping());
    EXPECT_FALSE(model->notice()) << "no notice on stopping";
    const QDateTime now = Clock::current().now();
    EXPECT_FALSE(storedDays().isSwept(now));
    EXPECT_TRUE(model->invitesShikunichi()) << "the day still invites a sweep";
    EXPECT_EQ(stored(quiet.at(0).id)->abandonedAt, now);
    EXPECT_FALSE(stored(quiet.at(1).id)->reviewedAt);
    // With no sweep, only the stop button stands.
    EXPECT_TRUE(pagesShown().isEmpty());
    EXPECT_TRUE(shows(QStringLiteral("sweep.stop")));
}

TEST_F(SweepViewTest, TheGuideStartsFromTheLastOneAndIsStoredTrimmed)
{
    rig->days.setGuide(QStringLiteral("read slowly"), ModelRigs::at(14, 8));
    build();
    EXPECT_EQ(view->guide(), QStringLiteral("read slowly"));
    model->setSweeping(AppModel::Sweeping{Step::standing(), {}});
    QCoreApplication::processEvents();
    auto *field = find<GrowingTextField>(QStringLiteral("sweep.guide"));
    EXPECT_EQ(field->text(), QStringLiteral("read slowly"));
    EXPECT_EQ(field->accessibleName(), QStringLiteral("次の四九日まで、何にあてますか"));

    field->setFocus();
    field->selectAll();
    QTest::keyClicks(field, QStringLiteral("  walk at dusk  "));
    EXPECT_EQ(view->guide(), QStringLiteral("  walk at dusk  "));
    QTest::keyClick(field, Qt::Key_Return); // Return ends the sweep as the button does
    EXPECT_FALSE(model->sweeping());
    EXPECT_EQ(model->notice(), kNotice);
    const QDateTime now = Clock::current().now();
    const DayNoteStore days = storedDays();
    EXPECT_EQ(days.note(now).guide, std::optional<QString>(QStringLiteral("walk at dusk")));
    EXPECT_TRUE(days.isSwept(now));
}

TEST_F(SweepViewTest, TheLookBackShowsWordsAndTitlesOnlyWhenThereAreAny)
{
    build();
    model->setSweeping(AppModel::Sweeping{Step::looking(), {}});
    QCoreApplication::processEvents();
    EXPECT_FALSE(shows(QStringLiteral("sweep.wordsSection"))) << "no words: no block at all";
    EXPECT_TRUE(shows(QStringLiteral("sweep.noRounds")));
    EXPECT_FALSE(shows(QStringLiteral("sweep.lines")));
    view.reset();

    // Words of two days and rounds on two titles since the last sweep day.
    rig->days.setIntention(QStringLiteral("tidy the shelf"), ModelRigs::at(16, 8));
    rig->days.setReflection(QStringLiteral("it was quiet"), ModelRigs::at(17, 21));
    auto round = [&](const QString &title, int day, int minutes) {
        SessionRecord r;
        r.id = QUuid::createUuid();
        r.title = title;
        r.start = ModelRigs::at(day, 10);
        r.end = r.start.addSecs(minutes * 60);
        r.completed = true;
        rig->store.append(r);
    };
    round(QStringLiteral("letters"), 15, 75);
    round(QStringLiteral("garden"), 16, 25);
    ViewContext context;
    context.model = model;
    view = std::make_unique<SweepView>(context);
    view->resize(520, 760);
    view->show();
    QCoreApplication::processEvents();
    EXPECT_TRUE(shows(QStringLiteral("sweep.wordsSection")));
    QStringList labels;
    for (auto *label : view->findChildren<ElidedLabel *>(QStringLiteral("sweep.dayLabel")))
        labels << label->text();
    EXPECT_EQ(labels.size(), 2);
    EXPECT_TRUE(labels.contains(QStringLiteral("3月16日")));
    EXPECT_FALSE(shows(QStringLiteral("sweep.noRounds")));
    const QList<LookbackRow *> rows = view->findChildren<LookbackRow *>();
    ASSERT_EQ(rows.size(), 2);
    QCoreApplication::processEvents();
    // Each bar is its title's share of all the minutes.
    QList<double> widths{rows.at(0)->barWidth(), rows.at(1)->barWidth()};
    std::sort(widths.begin(), widths.end());
    EXPECT_NEAR(widths.at(1), 0.75 * rows.first()->width(), 1.0);
    EXPECT_NEAR(widths.at(0), 0.25 * rows.first()->width(), 1.0);
    EXPECT_TRUE(shows(QStringLiteral("sweep.wordsScroll")));
}

} // namespace
