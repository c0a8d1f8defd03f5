#include "views/tasks/TaskRowsFixture.h"

#include "sources/LocalTaskSource.h"
#include "sources/RemindersTaskSource.h"
#include "stores/LocalTaskStore.h"
#include "views/ink/ElidedLabel.h"
#include "views/ink/InkButton.h"
#include "views/ink/PlainLineEdit.h"
#include "views/ink/Reorder.h"
#include "views/tasks/ClosedRow.h"
#include "views/tasks/TodoGroups.h"
#include "views/tasks/TodoListView.h"
#include "views/ManualMotion.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QDropEvent>
#include <QMenu>
#include <QMimeData>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalSpy>
#include <QStackedWidget>

namespace {

struct TodoListViewTest : TaskRowsFixture
{
    std::unique_ptr<TodoListView> list;

    void TearDown() override
    {
        list.reset();
        TaskRowsFixture::TearDown();
    }
    TodoListView &open()
    {
        list = std::make_unique<TodoListView>(context());
        list->resize(520, 640);
        list->show();
        settle();
        return *list;
    }
    // What the list shows from top to bottom: group titles as "# title",
    // rows by their task's title, archives by their header text.
    QStringList shown() const
    {
        QStringList out;
        for (QWidget *w : list->shownInOrder()) {
            if (!w->isVisibleTo(list.get()))
                continue;
            if (w->objectName().startsWith(QStringLiteral("tasks.section")))
                out << QStringLiteral("# ") + w->findChild<ElidedLabel *>()->text();
            else if (auto *row = qobject_cast<TodoRow *>(w))
                out << row->item().title;
            else if (w->objectName().startsWith(QStringLiteral("tasks.archive")))
                out << w->findChild<InkButton *>(w->objectName() + QStringLiteral(".header"))->text();
        }
        return out;
    }
    bool visible(const QString &name) const
    {
        QWidget *w = list->findChild<QWidget *>(name);
        return w && w->isVisibleTo(list.get());
    }
    int closedLines(const QString &archive) const
    {
        int n = 0;
        for (ClosedRow *line : list->findChild<QWidget *>(archive)->findChildren<ClosedRow *>())
            n += line->isVisibleTo(list.get()) ? 1 : 0;
        return n;
    }
    TodoItem add(const QString &title, const std::optional<QDateTime> &due = std::nullopt)
    {
        return *model->taskHub().add(title, due);
    }
    // Drops a payload onto a row as a drag would.
    bool drop(TodoRow *onto, QMimeData *data)
    {
        const QPoint at = onto->rect().center();
        QDragEnterEvent enter(at, Qt::MoveAction, data, Qt::LeftButton, {});
        QApplication::sendEvent(onto, &enter);
        QDropEvent dropped(QPointF(at), Qt::MoveAction, data, Qt::LeftButton, {});
        QApplication::sendEvent(onto, &dropped);
        settle();
        return dropped.isAccepted();
    }
    QStringList titles() const
    {
        QStringList out;
        for (const TodoItem &item : model->taskHub().items())
            out << item.title;
        return out;
    }
};

} // namespace

TEST(TodoGroups, FixedOrderOfGroupsWithTheHubsOrderInside)
{
    const QDateTime now(QDate(2025, 3, 5), QTime(18, 0));
    const auto item = [](const char *title, std::optional<QDateTime> due) {
        TodoItem i;
        i.ref = {"local", QString::fromUtf8(title), std::nullopt};
        i.title = QString::fromUtf8(title);
        i.due = due;
        return i;
    };
    const QList<TodoItem> items = {item("b undated", std::nullopt), item("later", QDateTime(QDate(2025, 3, 6), {})),
                                   item("a undated", std::nullopt), item("this morning", now.addSecs(-9 * 3600)),
                                   item("last night", QDateTime(QDate(2025, 3, 4), QTime(23, 59)))};
    const QList<TodoGroup> groups = TodoGroups::of(items, now);
    ASSERT_EQ(groups.size(), 4);
    EXPECT_EQ(groups[0].rank, 0);
    EXPECT_EQ(groups[0].items.first().title, "last night");
    EXPECT_EQ(groups[1].items.first().title, "this morning") << "an hour passed today is still today";
    EXPECT_EQ(groups[2].items.first().title, "later");
    EXPECT_EQ(groups[3].items.size(), 2);
    EXPECT_EQ(groups[3].items[0].title, "b undated") << "the hub's order, never re-sorted";
    EXPECT_TRUE(TodoGroups::of({}, now).isEmpty());

    TodoItem local = item("x", std::nullopt);
    local.ref.id = QStringLiteral("6F9619FF-8B86-D011-B42D-00C04FC964FF");
    EXPECT_TRUE(TodoGroups::canReorder(3, local));
    EXPECT_FALSE(TodoGroups::canReorder(2, local)) << "dated groups never";
    local.ref.source = QStringLiteral("reminders");
    EXPECT_FALSE(TodoGroups::canReorder(3, local));
    EXPECT_FALSE(TodoGroups::canReorder(3, item("not a uuid", std::nullopt)));

    EXPECT_EQ(ArchivePage::of(50, 20), (ArchivePage{20, 30}));
    EXPECT_EQ(ArchivePage::of(50, 60), (ArchivePage{50, 0}));
    EXPECT_EQ(ArchivePage::of(3, 20), (ArchivePage{3, 0}));
}

TEST_F(TodoListViewTest, GroupsStandInFixedOrderAndFollowMidnight)
{
    rig->clock.setNow(at(3, 5, 23).addSecs(59 * 60)); // 23:59
    add(QStringLiteral("Undated"));
    add(QStringLiteral("Due tomorrow at midnight"), at(3, 6, 0));
    add(QStringLiteral("Due today at midnight"), at(3, 5, 0));
    add(QStringLiteral("Due yesterday 23:59"), at(3, 4, 23).addSecs(59 * 60));
    open();
    EXPECT_EQ(shown(), (QStringList{"# 日を過ぎたもの", "Due yesterday 23:59", "# 今日のうちに", "Due today at midnight",
                                    "# これから", "Due tomorrow at midnight", "# 日を決めない", "Undated"}));
    EXPECT_EQ(child<ElidedLabel>(list->rowOf(model->taskHub().items().first().ref), "tasks.row.subtitle")->tone(),
              (Tone{Kiv::Colour::vermilion, 0.9}))
        << "past-due rows are marked overdue";

    rig->clock.advance(2 * 60 * 1000); // 00:01: the next redraw regroups
    list->reload();
    EXPECT_EQ(shown(), (QStringList{"# 日を過ぎたもの", "Due yesterday 23:59", "Due today at midnight", "# 今日のうちに",
                                    "Due tomorrow at midnight", "# 日を決めない", "Undated"}));
}

TEST_F(TodoListViewTest, ComposerAddsTrimmedTitlesAndRefusesBlankOnes)
{
    add(QStringLiteral("Older"));
    open();
    auto *composer = child<PlainLineEdit>(list.get(), "tasks.composer");
    EXPECT_EQ(composer->placeholderText(), "なすことを書く");
    composer->setFocus();
    QTest::keyClicks(composer, QStringLiteral("  "));
    QTest::keyClick(composer, Qt::Key_Return);
    settle();
    EXPECT_EQ(composer->text(), "  ") << "nothing added, the field keeps it";
    EXPECT_EQ(titles(), QStringList{"Older"});

    composer->clear();
    QTest::keyClicks(composer, QStringLiteral("Write to Aunt May"));
    QTest::keyClick(composer, Qt::Key_Return);
    settle();
    EXPECT_EQ(composer->text(), "");
    EXPECT_TRUE(titles().contains("Write to Aunt May"));
    ASSERT_TRUE(list->justAdded());
    TodoRow *fresh = list->rowOf(*list->justAdded());
    ASSERT_NE(fresh, nullptr);
    EXPECT_EQ(fresh->item().title, "Write to Aunt May");
    EXPECT_FALSE(fresh->item().due);

    // A second addition takes the highlight at once; it ends 2.5 s after it.
    rig->clock.advance(1000);
    QTest::keyClicks(composer, QStringLiteral("Second"));
    QTest::keyClick(composer, Qt::Key_Return);
    settle();
    EXPECT_EQ(list->rowOf(*list->justAdded())->item().title, "Second");
    rig->clock.advance(1600);
    settle();
    EXPECT_TRUE(list->justAdded()) << "the first timer leaves the second highlight alone";
    rig->clock.advance(900);
    settle();
    EXPECT_FALSE(list->justAdded());
}

TEST_F(TodoListViewTest, OnlyTheLastAddedTaskOpensItsPanel)
{
    open();
    auto *composer = child<PlainLineEdit>(list.get(), "tasks.composer");
    QTest::keyClicks(composer, QStringLiteral("First"));
    QTest::keyClick(composer, Qt::Key_Return);
    settle();
    const TaskRef first = *list->justAdded();
    rig->clock.advance(300);
    QTest::keyClicks(composer, QStringLiteral("Second"));
    QTest::keyClick(composer, Qt::Key_Return);
    settle();
    const TaskRef second = *list->justAdded();
    rig->clock.advance(500);
    settle();
    EXPECT_FALSE(list->rowOf(first)->showsActions()) << "its wait was overtaken: no stale panel";
    EXPECT_TRUE(list->rowOf(second)->showsActions());
}

// The composer's outline turns indigo over 0.15 s as it takes the
// keyboard; the new task's marks hold for 2.5 s and then fade out over
// 0.4 s. Nothing moves after either.
TEST_F(TodoListViewTest, TheComposersOutlineAndTheNewTasksMarksFade)
{
    open();
    auto *composer = child<PlainLineEdit>(list.get(), "tasks.composer");
    composer->clearFocus();
    settle();
    ManualMotion motion;
    EXPECT_EQ(list->composerFocusLevel(), 0);
    composer->setFocus();
    settle();
    ASSERT_TRUE(composer->hasFocus());
    EXPECT_LT(list->composerFocusLevel(), 1);
    EXPECT_TRUE(ManualMotion::lastsFor(150)) << "the outline";
    EXPECT_EQ(list->composerFocusLevel(), 1);

    QTest::keyClicks(composer, QStringLiteral("Fresh"));
    QTest::keyClick(composer, Qt::Key_Return);
    settle();
    ManualMotion::advance(1000); // the scroll to the new row
    TodoRow *fresh = list->rowOf(*list->justAdded());
    EXPECT_EQ(fresh->justWrittenLevel(), 1);
    rig->clock.advance(2500);
    settle();
    ASSERT_FALSE(list->justAdded());
    ASSERT_EQ(list->rowOf(fresh->item().ref), fresh);
    ManualMotion::advance(200);
    EXPECT_GT(fresh->justWrittenLevel(), 0);
    EXPECT_LT(fresh->justWrittenLevel(), 1);
    EXPECT_TRUE(ManualMotion::lastsFor(200)) << "the marks";
    EXPECT_EQ(fresh->justWrittenLevel(), 0);
}

TEST_F(TodoListViewTest, ANewRowFarDownIsScrolledToTheCentre)
{
    for (int i = 0; i < 40; ++i)
        add(QStringLiteral("Task %1").arg(i, 2, 10, QLatin1Char('0')));
    open();
    auto *composer = child<PlainLineEdit>(list.get(), "tasks.composer");
    QTest::keyClicks(composer, QStringLiteral("Task 30b")); // lands below the fold, above the end
    QTest::keyClick(composer, Qt::Key_Return);
    settle();
    auto *scroll = child<QScrollArea>(list.get(), "tasks.scroll");
    TodoRow *fresh = list->rowOf(*list->justAdded());
    const int centre = fresh->y() + fresh->height() / 2 - scroll->verticalScrollBar()->value();
    EXPECT_GT(scroll->verticalScrollBar()->value(), 0);
    EXPECT_NEAR(centre, scroll->viewport()->height() / 2, fresh->height());
}

TEST_F(TodoListViewTest, ArchivesPageByTwentyUpToFifty)
{
    for (int i = 0; i < 120; ++i) {
        const TodoItem item = add(QStringLiteral("Old %1").arg(i));
        rig->local.complete(*LocalTaskSource::localId(item.ref), at(3, 1, 9).addSecs(-i * 3600));
    }
    add(QStringLiteral("Open"));
    open();
    EXPECT_TRUE(shown().contains("これまでに終えたもの 50"));
    EXPECT_EQ(closedLines("tasks.archivePast"), 0) << "folded";
    click(list.get(), QStringLiteral("tasks.archivePast.header"));
    EXPECT_EQ(closedLines("tasks.archivePast"), 20);
    EXPECT_EQ(child<InkButton>(list.get(), "tasks.archivePast.more")->text(), "続きを見る（あと 30）");
    click(list.get(), QStringLiteral("tasks.archivePast.more"));
    EXPECT_EQ(closedLines("tasks.archivePast"), 40);
    EXPECT_EQ(child<InkButton>(list.get(), "tasks.archivePast.more")->text(), "続きを見る（あと 10）");
    click(list.get(), QStringLiteral("tasks.archivePast.more"));
    EXPECT_EQ(closedLines("tasks.archivePast"), 50);
    EXPECT_FALSE(visible("tasks.archivePast.more"));
    click(list.get(), QStringLiteral("tasks.archivePast.header")); // closing resets the page
    click(list.get(), QStringLiteral("tasks.archivePast.header"));
    EXPECT_EQ(closedLines("tasks.archivePast"), 20);
    EXPECT_FALSE(visible("tasks.archiveToday")) << "an empty archive leaves nothing";
    EXPECT_EQ(child<InkButton>(list.get(), "tasks.archiveSetAside.header")->toolTip(),
              "ほうげ ・ 抱えているものを、いったん下ろす");
}

// Opened, an archive stands at its whole height: the header uncut above
// its rows, every row as tall as it wants, with motion or without.
TEST_F(TodoListViewTest, AnOpenedArchiveShowsItsWholeHeaderAndItsRows)
{
    for (int i = 0; i < 3; ++i) {
        const TodoItem item = add(QStringLiteral("Done %1").arg(i));
        rig->local.complete(*LocalTaskSource::localId(item.ref), rig->clock.now().addSecs(-60 * (i + 1)));
    }
    add(QStringLiteral("Open"));
    for (const bool motion : {false, true}) {
        SCOPED_TRACE(motion ? "with motion" : "instant");
        std::optional<ManualMotion> manual;
        if (motion)
            manual.emplace();
        open();
        auto *archive = list->findChild<QWidget *>(QStringLiteral("tasks.archiveToday"));
        auto *header = child<InkButton>(list.get(), "tasks.archiveToday.header");
        const int closed = archive->height();
        EXPECT_GE(closed, header->sizeHint().height());
        click(list.get(), QStringLiteral("tasks.archiveToday.header"));
        if (motion)
            ManualMotion::advance(1000);
        settle();
        const QList<ClosedRow *> rows = archive->findChildren<ClosedRow *>();
        ASSERT_EQ(rows.size(), 3);
        EXPECT_EQ(header->height(), header->sizeHint().height()) << "the header is not cut";
        int bottom = header->mapTo(archive, QPoint(0, header->height())).y();
        for (ClosedRow *row : rows) {
            EXPECT_TRUE(row->isVisibleTo(archive));
            EXPECT_EQ(row->height(), row->sizeHint().height()) << "a row is not squeezed";
            const QRect at(row->mapTo(archive, QPoint(0, 0)), row->size());
            EXPECT_GE(at.top(), bottom) << "rows stand under the header, in order";
            bottom = at.bottom() + 1;
        }
        EXPECT_GE(archive->height(), bottom) << "the archive is as tall as its rows";
        list.reset();
    }
}

// Opening, paging and closing an archive move its height over 0.2 s, and
// what stands below follows every step.
TEST_F(TodoListViewTest, ArchivesMoveTheirHeightOverAFifthOfASecond)
{
    for (int i = 0; i < 30; ++i) {
        const TodoItem item = add(QStringLiteral("Old %1").arg(i));
        rig->local.complete(*LocalTaskSource::localId(item.ref), at(3, 1, 9).addSecs(-i * 3600));
    }
    const TodoItem gone = add(QStringLiteral("Dropped"));
    rig->local.setAside(*LocalTaskSource::localId(gone.ref), at(3, 1, 9));
    open();
    ManualMotion motion;
    auto *archive = list->findChild<QWidget *>(QStringLiteral("tasks.archivePast"));
    auto *below = list->findChild<QWidget *>(QStringLiteral("tasks.archiveSetAside"));
    const int closed = archive->height();
    const auto step = [&](const char *what, auto &&act, auto &&expectEnd) {
        SCOPED_TRACE(what);
        const int before = archive->height();
        act();
        ManualMotion::advance(100);
        settle();
        const int midway = archive->height();
        EXPECT_NE(midway, before) << "under way";
        EXPECT_EQ(below->y(), archive->y() + midway + 5) << "what stands below follows";
        EXPECT_TRUE(ManualMotion::lastsFor(100));
        settle();
        expectEnd(before, midway);
    };
    step("open", [&] { click(list.get(), QStringLiteral("tasks.archivePast.header")); },
         [&](int, int midway) {
             EXPECT_GT(archive->height(), midway);
             EXPECT_EQ(closedLines("tasks.archivePast"), 20);
         });
    const int page = archive->height();
    step("show more", [&] { click(list.get(), QStringLiteral("tasks.archivePast.more")); },
         [&](int before, int) {
             EXPECT_GT(archive->height(), before);
             EXPECT_EQ(closedLines("tasks.archivePast"), 30);
         });
    step("close", [&] { click(list.get(), QStringLiteral("tasks.archivePast.header")); },
         [&](int, int midway) {
             EXPECT_LT(archive->height(), midway);
             EXPECT_EQ(archive->height(), closed);
             EXPECT_EQ(closedLines("tasks.archivePast"), 0) << "the lines go once covered";
         });
    EXPECT_GT(page, closed);
}

TEST_F(TodoListViewTest, EmptyStateAndConnectHint)
{
    rig->calendars.setAuthorization(CalendarAccess::Denied);
    model->taskHub().reminders().setAuthorization(CalendarAccess::Denied);
    open();
    EXPECT_TRUE(visible("tasks.emptyState"));
    EXPECT_FALSE(visible("tasks.connectHint")) << "not for a brand-new user";

    add(QStringLiteral("First"));
    settle();
    EXPECT_FALSE(visible("tasks.emptyState"));
    EXPECT_TRUE(visible("tasks.connectHint")) << "reminders are not connected";
    QSignalSpy settings(list.get(), &TodoListView::settingsRequested);
    click(list.get(), QStringLiteral("tasks.connectHint.settings"));
    EXPECT_EQ(settings.count(), 1);

    // Access given outside the program (the reminders folder appears): the
    // next refresh of the list reads it, no settings window needed.
    rig->calendars.setAuthorization(CalendarAccess::FullAccess);
    model->taskHub().refresh();
    settle();
    EXPECT_FALSE(visible("tasks.connectHint"));
}

TEST_F(TodoListViewTest, SweepInvitationStandsOnASweepDay)
{
    add(QStringLiteral("Mend the gate"));
    rig->clock.setNow(at(3, 13, 9));
    open();
    EXPECT_FALSE(visible("tasks.sweepInvitation"));
    list.reset();
    rig->clock.setNow(at(3, 14, 9));
    open();
    EXPECT_TRUE(visible("tasks.sweepInvitation"));
    click(list.get(), QStringLiteral("tasks.sweepInvitation"));
    EXPECT_TRUE(model->sweeping().has_value());
}

TEST_F(TodoListViewTest, ADropReordersTheUndatedLocalRowsAndAForeignDropIsRefused)
{
    add(QStringLiteral("Alpha"));
    add(QStringLiteral("Beta"));
    add(QStringLiteral("Gamma"));
    add(QStringLiteral("Dated"), at(3, 9, 9));
    open();
    const QStringList before = titles();
    TodoRow *alpha = list->rowOf(model->taskHub().items()[1].ref);
    TodoRow *gamma = nullptr;
    TodoRow *dated = list->rowOf(model->taskHub().items()[0].ref);
    for (const TodoItem &item : model->taskHub().items())
        if (item.title == "Gamma")
            gamma = list->rowOf(item.ref);
    ASSERT_EQ(alpha->item().title, "Alpha");

    auto *foreign = new QMimeData;
    foreign->setText(alpha->item().ref.id);
    EXPECT_FALSE(drop(gamma, foreign)) << "text from elsewhere is not a task";
    EXPECT_EQ(titles(), before);
    delete foreign;

    QMimeData *onDated = Reorder::mimeData(alpha->item().ref);
    EXPECT_FALSE(drop(dated, onDated)) << "dated rows take no drops";
    delete onDated;

    QMimeData *payload = Reorder::mimeData(alpha->item().ref);
    EXPECT_TRUE(drop(gamma, payload));
    delete payload;
    EXPECT_EQ(titles(), (QStringList{"Dated", "Beta", "Gamma", "Alpha"}));
    EXPECT_EQ(list->rowOf(alpha->item().ref), alpha) << "rows are moved, not rebuilt";
    EXPECT_EQ(shown(), (QStringList{"# これから", "Dated", "# 日を決めない", "Beta", "Gamma", "Alpha"}));
}

TEST_F(TodoListViewTest, OnlyTheRowsInViewAreBuilt)
{
    for (int i = 0; i < 300; ++i)
        add(QStringLiteral("Task %1").arg(i, 3, 10, QLatin1Char('0')));
    open();
    int built = 0;
    for (const TodoItem &item : model->taskHub().items())
        built += list->rowOf(item.ref) ? 1 : 0;
    EXPECT_GT(built, 5);
    EXPECT_LT(built, 20);
    auto *scroll = child<QScrollArea>(list.get(), "tasks.scroll");
    scroll->verticalScrollBar()->setValue(scroll->verticalScrollBar()->maximum());
    settle();
    EXPECT_NE(list->rowOf(model->taskHub().items().last().ref), nullptr) << "the last rows once scrolled to";
    EXPECT_EQ(list->rowOf(model->taskHub().items().first().ref), nullptr);
}

TEST_F(TodoListViewTest, ARowThatDeletesItsOwnTaskLeavesTheListIntact)
{
    add(QStringLiteral("Mend the gate"));
    add(QStringLiteral("Oil the hinges"));
    open();
    QPointer<TodoRow> r = list->rowOf(model->taskHub().items().first().ref);
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(40, 10), r->mapToGlobal(QPoint(40, 10)));
    QApplication::sendEvent(r, &event);
    auto *menu = r->findChild<QMenu *>(QStringLiteral("tasks.row.menu"));
    ASSERT_NE(menu, nullptr);
    for (QAction *a : menu->actions())
        if (a->menu() && a->text() == "直す")
            for (QAction *b : a->menu()->actions())
                if (b->text() == "消す")
                    b->trigger();
    settle();
    EXPECT_TRUE(r.isNull());
    EXPECT_EQ(shown(), (QStringList{"# 日を決めない", "Oil the hinges"}));
}

TEST_F(TodoListViewTest, ReloadAfterOneChangeKeepsEveryOtherRow)
{
    for (int i = 0; i < 8; ++i)
        add(QStringLiteral("Task %1").arg(i));
    open();
    QHash<TaskRef, TodoRow *> before;
    for (const TodoItem &item : model->taskHub().items())
        before.insert(item.ref, list->rowOf(item.ref));
    const TaskRef renamed = model->taskHub().items()[3].ref;
    model->taskHub().rename(renamed, QStringLiteral("Task 3 renamed"));
    settle();
    for (const TodoItem &item : model->taskHub().items()) {
        EXPECT_NE(before.value(item.ref), nullptr);
        EXPECT_EQ(list->rowOf(item.ref), before.value(item.ref));
    }
    EXPECT_EQ(before.value(renamed)->item().title, "Task 3 renamed");
}

// A closed line at the window's own width and the largest text scale: at
// rest a short title is whole, the date right after it; under the pointer
// "手元へ戻す" shows at the right end and the title gives way to it.
TEST_F(TodoListViewTest, AClosedLinesTitleIsWholeWhileItHasRoom)
{
    Kiv::setScale(1.6);
    const TodoItem item = add(QStringLiteral("Tidy the desk"));
    rig->local.complete(*LocalTaskSource::localId(item.ref), rig->clock.now().addSecs(-60));
    const TodoItem longer = add(QStringLiteral("Reply to the editor about the cover proofs and the index"));
    rig->local.complete(*LocalTaskSource::localId(longer.ref), rig->clock.now().addSecs(-120));
    list = std::make_unique<TodoListView>(context());
    list->resize(380, 640);
    list->show();
    settle();
    click(list.get(), QStringLiteral("tasks.archiveToday.header"));
    settle();
    const QList<ClosedRow *> rows = list->findChildren<ClosedRow *>();
    ASSERT_EQ(rows.size(), 2);
    ClosedRow *row = rows[0];
    auto *cut = child<ElidedLabel>(rows[1], "tasks.closedRow.title");
    EXPECT_TRUE(cut->isElidedAt(cut->width())) << "a long title is cut to one line";
    auto *cutDate = child<ElidedLabel>(rows[1], "tasks.closedRow.date");
    EXPECT_LE(cutDate->mapTo(rows[1], QPoint(cutDate->width(), 0)).x(), rows[1]->width()) << "its date stays whole";
    auto *title = child<ElidedLabel>(row, "tasks.closedRow.title");
    auto *date = child<ElidedLabel>(row, "tasks.closedRow.date");
    auto *revive = child<InkButton>(row, "tasks.closedRow.revive");
    EXPECT_FALSE(title->isElidedAt(title->width())) << "title width " << title->width();
    EXPECT_FALSE(revive->isVisibleTo(row));
    QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
    QApplication::sendEvent(row, &enter);
    settle();
    ASSERT_TRUE(revive->isVisibleTo(row));
    const QRect dateAt(date->mapTo(row, QPoint(0, 0)), date->size());
    const QRect reviveAt(revive->mapTo(row, QPoint(0, 0)), revive->size());
    EXPECT_LE(dateAt.right(), reviveAt.left()) << "the date stays clear of the button";
    EXPECT_LE(reviveAt.right(), row->width()) << "the button stays inside the line";
    EXPECT_EQ(title->text(), "Tidy the desk");
}
