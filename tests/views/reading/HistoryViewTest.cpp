// The history window over a headless model on a temporary data folder and
// the fake calendar store: real pointer and key events, and what reached
// sessions.json and the calendar.
#include "model/HistoryModel.h"
#include "model/ModelRig.h"
#include "views/ViewTest.h"
#include "views/ink/ElidedLabel.h"
#include "views/reading/HistoryDelegate.h"
#include "views/reading/HistoryList.h"
#include "views/reading/HistoryView.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMenu>
#include <QScrollBar>
#include <QTest>
#include <memory>

namespace {

SessionRecord rec(const QString &title, const QDateTime &start, qint64 seconds, Phase phase = Phase::focus)
{
    return SessionRecord{QUuid::createUuid(), phase, title, start, start.addSecs(seconds), true,
                         std::nullopt, std::nullopt, std::nullopt, std::nullopt, std::nullopt};
}

struct HistoryViewTest : ViewTest
{
    std::unique_ptr<ModelRigs::Rig> rig = std::make_unique<ModelRigs::Rig>();
    AppModel *model = nullptr;
    std::unique_ptr<HistoryView> view;

    void TearDown() override
    {
        view.reset();
        rig.reset();
        ViewTest::TearDown();
    }

    HistoryView &build(QSize size = QSize(460, 520))
    {
        model = &rig->build();
        view = std::make_unique<HistoryView>(ViewContext{model, false, std::nullopt, nullptr});
        view->resize(size);
        view->show();
        settle();
        return *view;
    }
    HistoryList &list() { return *view->findChild<HistoryList *>(QStringLiteral("history.list")); }
    // Lets the list finish laying out its rows (it does so between events).
    void settle()
    {
        for (int i = 0; i < 50; ++i)
            QCoreApplication::processEvents();
    }
    QRect rowRect(int row) { return list().visualRect(list().rows()->index(row)); }
    void hover(int row) { QTest::mouseMove(list().viewport(), rowRect(row).center()); }

    // The records as sessions.json holds them, by title.
    QJsonObject stored(const QString &title)
    {
        QFile file(rig->dirs.dataDir() + QStringLiteral("/sessions.json"));
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        const QJsonDocument document = QJsonDocument::fromJson(file.readAll());
        const QJsonArray records = document.isArray() ? document.array() : document.object().value(QStringLiteral("records")).toArray();
        for (const QJsonValue &value : records)
            if (value.toObject().value(QStringLiteral("title")).toString() == title)
                return value.toObject();
        ADD_FAILURE() << "no stored record " << title.toStdString();
        return {};
    }
};

// Hovering a row without an event shows "カレンダーへ"; pressing it writes
// the event (with its title) and the row shows the icon from then on.
// Without full access the button never shows and a press writes nothing.
TEST_F(HistoryViewTest, TheExportButtonWritesTheHoveredRecordToTheCalendar)
{
    rig->store.append(rec(QStringLiteral("原稿"), ModelRigs::at(4, 9), 1500));
    rig->store.append(rec(QStringLiteral("休み"), ModelRigs::at(4, 10), 300, Phase::shortBreak));
    build();
    HistoryDelegate &delegate = *list().delegate();
    ASSERT_EQ(list().rows()->rowCount(), 3);
    const QModelIndex focusRow = list().rows()->index(2);
    ASSERT_EQ(focusRow.data(HistoryModel::TitleRole).toString(), QStringLiteral("原稿"));

    EXPECT_EQ(delegate.calendarElement(focusRow), HistoryModel::CalendarElement::none);
    hover(2);
    EXPECT_EQ(list().hoverRow(), 2);
    EXPECT_EQ(delegate.calendarElement(focusRow), HistoryModel::CalendarElement::exportButton);
    EXPECT_EQ(delegate.calendarElement(list().rows()->index(1)), HistoryModel::CalendarElement::none);

    // A press beside the button (on the title) writes nothing.
    QTest::mouseClick(list().viewport(), Qt::LeftButton, {}, rowRect(2).topLeft() + QPoint(60, 20));
    EXPECT_TRUE(rig->calendars.storedEvents().isEmpty());

    const QPoint button = HistoryDelegate::exportButtonRect(rowRect(2)).center().toPoint();
    QTest::mouseClick(list().viewport(), Qt::LeftButton, {}, button);
    ASSERT_EQ(rig->calendars.storedEvents().size(), 1);
    EXPECT_TRUE(rig->calendars.storedEvents().first().title.endsWith(QStringLiteral("原稿")));
    EXPECT_EQ(stored(QStringLiteral("原稿")).value(QStringLiteral("calendarEventID")).toString(),
              rig->calendars.storedEvents().first().id);
    EXPECT_EQ(model->notice(), L(QStringLiteral("カレンダーに書き出しました。")));
    EXPECT_EQ(delegate.calendarElement(list().rows()->index(2)), HistoryModel::CalendarElement::icon);
    // A second press at the same place writes no second event.
    QTest::mouseClick(list().viewport(), Qt::LeftButton, {}, button);
    EXPECT_EQ(rig->calendars.storedEvents().size(), 1);

    // Access taken away: the other row, hovered, offers nothing.
    rig->calendars.setAuthorization(CalendarAccess::Denied);
    model->calendarService().refreshAuthorization();
    hover(1);
    EXPECT_EQ(delegate.calendarElement(list().rows()->index(1)), HistoryModel::CalendarElement::none);
    QTest::mouseClick(list().viewport(), Qt::LeftButton, {}, HistoryDelegate::exportButtonRect(rowRect(1)).center().toPoint());
    EXPECT_EQ(rig->calendars.storedEvents().size(), 1);
    EXPECT_FALSE(stored(QStringLiteral("休み")).contains(QStringLiteral("calendarEventID")));
}

// The context menu holds one action; choosing it removes the record at once
// (a tombstone in sessions.json) and its calendar event with it. The menu
// opens from the pointer and from the keyboard.
TEST_F(HistoryViewTest, TheContextMenuRemovesTheRecordAsATombstone)
{
    SessionRecord written = rec(QStringLiteral("書いた"), ModelRigs::at(4, 9), 1500);
    rig->store.append(written);
    rig->store.append(rec(QStringLiteral("残す"), ModelRigs::at(4, 11), 1500));
    build();
    model->exportToCalendar(written);
    ASSERT_EQ(rig->calendars.storedEvents().size(), 1);
    ASSERT_EQ(list().rows()->index(2).data(HistoryModel::TitleRole).toString(), QStringLiteral("書いた"));

    // A right click: the press, then the context menu event the desktop
    // sends with it (the offscreen platform sends only the press), and the
    // release, which lands in the menu just opened and chooses nothing.
    const QPoint at = rowRect(2).center();
    const QPoint global = list().viewport()->mapToGlobal(at);
    QTest::mousePress(list().viewport(), Qt::RightButton, {}, at);
    QContextMenuEvent rightClick(QContextMenuEvent::Mouse, at, global);
    QApplication::sendEvent(list().viewport(), &rightClick);
    auto *menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
    ASSERT_NE(menu, nullptr);
    QTest::mouseRelease(menu, Qt::RightButton, {}, menu->mapFromGlobal(global));
    ASSERT_EQ(QApplication::activePopupWidget(), menu);
    EXPECT_EQ(menu->objectName(), QStringLiteral("history.rowMenu"));
    ASSERT_EQ(menu->actions().size(), 1);
    EXPECT_EQ(menu->actions().first()->text(), QStringLiteral("この記録を取り消す"));
    QTest::keyClick(menu, Qt::Key_Down);
    QTest::keyClick(menu, Qt::Key_Return);
    settle();

    EXPECT_EQ(list().rows()->rowCount(), 2);
    EXPECT_EQ(list().rows()->index(1).data(HistoryModel::TitleRole).toString(), QStringLiteral("残す"));
    EXPECT_TRUE(rig->calendars.storedEvents().isEmpty());
    EXPECT_TRUE(stored(QStringLiteral("書いた")).contains(QStringLiteral("deletedAt")));
    EXPECT_FALSE(stored(QStringLiteral("残す")).contains(QStringLiteral("deletedAt")));

    // From the keyboard: to the record row, the menu key, the action.
    list().setFocus(Qt::TabFocusReason);
    QTest::keyClick(&list(), Qt::Key_Down);
    QTest::keyClick(&list(), Qt::Key_Down);
    ASSERT_EQ(list().currentIndex().row(), 1);
    QTest::keyClick(&list(), Qt::Key_Menu);
    menu = qobject_cast<QMenu *>(QApplication::activePopupWidget());
    ASSERT_NE(menu, nullptr);
    QTest::keyClick(menu, Qt::Key_Down);
    QTest::keyClick(menu, Qt::Key_Return);
    settle();
    EXPECT_TRUE(stored(QStringLiteral("残す")).contains(QStringLiteral("deletedAt")));

    // Nothing live is left: the empty state with its two lines.
    auto *empty = view->findChild<QWidget *>(QStringLiteral("history.empty"));
    ASSERT_NE(empty, nullptr);
    EXPECT_TRUE(empty->isVisible());
    EXPECT_FALSE(list().isVisible());
    EXPECT_EQ(view->findChild<ElidedLabel *>(QStringLiteral("history.emptyTitle"))->text(),
              QStringLiteral("まだ記録はありません"));
}

// The keyboard's row stands in for the pointer: Return on it writes it out.
TEST_F(HistoryViewTest, ReturnOnTheKeyboardsRowExportsIt)
{
    rig->store.append(rec(QStringLiteral("一"), ModelRigs::at(4, 9), 1500));
    build();
    list().setFocus(Qt::TabFocusReason);
    QTest::keyClick(&list(), Qt::Key_Down);
    QTest::keyClick(&list(), Qt::Key_Down);
    ASSERT_EQ(list().currentIndex().row(), 1);
    EXPECT_EQ(list().delegate()->calendarElement(list().currentIndex()), HistoryModel::CalendarElement::exportButton);
    QTest::keyClick(&list(), Qt::Key_Return);
    EXPECT_EQ(rig->calendars.storedEvents().size(), 1);
}

// A history of only tombstones shows the empty state; the first record
// that arrives brings the list.
TEST_F(HistoryViewTest, OnlyTombstonesShowTheEmptyStateUntilARecordArrives)
{
    SessionRecord gone = rec(QStringLiteral("消えた"), ModelRigs::at(3, 9), 1500);
    gone.deletedAt = ModelRigs::at(3, 10);
    rig->store.append(gone);
    build();
    EXPECT_TRUE(view->findChild<QWidget *>(QStringLiteral("history.empty"))->isVisible());
    rig->store.append(rec(QStringLiteral("新しい"), ModelRigs::at(4, 9), 1500));
    settle();
    EXPECT_TRUE(list().isVisible());
    EXPECT_EQ(list().rows()->rowCount(), 2);
}

// Twenty thousand records: only the rows in the window are painted, also
// after scrolling far down; the day of the top row stays pinned as its
// header, and a record added meanwhile lands in place.
TEST_F(HistoryViewTest, AHeavyHistoryPaintsOnlyTheRowsInView)
{
    QList<SessionRecord> all;
    const QDateTime first(QDate(2020, 1, 1), QTime(8, 0));
    for (int i = 0; i < 20000; ++i)
        all << rec(QStringLiteral("坐 %1").arg(i), first.addSecs(qint64(i / 8) * 86400 + (i % 8) * 3600), 1500,
                   i % 4 == 3 ? Phase::shortBreak : Phase::focus);
    rig->store.setAllRecords(all);
    build();
    const int inView = 520 / HistoryDelegate::headerHeight() + 2;

    list().takePaintedRows();
    list().viewport()->repaint();
    const int painted = list().takePaintedRows();
    EXPECT_GT(painted, 5);
    EXPECT_LE(painted, inView);

    list().verticalScrollBar()->setValue(list().verticalScrollBar()->maximum() / 2);
    settle();
    list().takePaintedRows();
    list().viewport()->repaint();
    EXPECT_LE(list().takePaintedRows(), inView);

    // The pinned header is the day of the row under it.
    const QModelIndex top = list().QListView::indexAt(QPoint(5, HistoryDelegate::headerHeight() + 2));
    const QModelIndex pinned = list().indexAt(QPoint(5, 2));
    ASSERT_TRUE(top.isValid());
    EXPECT_EQ(list().rows()->kind(pinned.row()), HistoryModel::RowKind::dayHeader);
    EXPECT_EQ(pinned.data(HistoryModel::DayRole).toDate(), top.data(HistoryModel::DayRole).toDate());

    rig->store.append(rec(QStringLiteral("今日"), QDateTime(QDate(2030, 1, 1), QTime(9, 0)), 1500));
    settle();
    EXPECT_EQ(list().rows()->index(1).data(HistoryModel::TitleRole).toString(), QStringLiteral("今日"));
}

} // namespace
