#include "model/ModelRig.h"
#include "views/ViewTest.h"
#include "views/daily/DailyCard.h"
#include "views/daily/DailyCardPanel.h"
#include "views/daily/DailyComposer.h"
#include "views/daily/DailyNotePanel.h"
#include "views/daily/DailyView.h"
#include "views/daily/TodayMark.h"
#include "views/ink/ElidedLabel.h"
#include "views/ink/InkButton.h"
#include "views/ink/PlainLineEdit.h"
#include "views/ink/SegmentedControl.h"
#include "views/ink/StillPicture.h"

#include <QApplication>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTest>
#include <memory>

namespace {

const QString kFolder = QStringLiteral(QUILLMERE_BUILD_DIR "/snapshots/daily");

// The shelf over a headless model on 5 March 2025.
struct DailyViewTest : ViewTest
{
    std::unique_ptr<ModelRigs::Rig> rig = std::make_unique<ModelRigs::Rig>();
    AppModel *model = nullptr;
    std::unique_ptr<DailyView> view;

    void TearDown() override
    {
        view.reset();
        rig.reset();
        ViewTest::TearDown();
    }
    DailyView &build(bool snapshot = false)
    {
        if (!model)
            model = &rig->build();
        ViewContext context;
        context.model = model;
        context.snapshot = snapshot;
        view = std::make_unique<DailyView>(context);
        view->resize(420, 640);
        view->show();
        QCoreApplication::processEvents();
        return *view;
    }
    // A practice as the shelf's composer would add it.
    TodoItem practice(const QString &title, bool occasional = false)
    {
        if (!model)
            model = &rig->build();
        const TodoItem item = rig->addTask(title);
        const QUuid id = QUuid::fromString(item.ref.id);
        rig->local.setDaily(id, true);
        if (occasional)
            rig->local.setOccasional(id, true);
        rig->hub->reload();
        return item;
    }
    bool shows(const QString &name) const
    {
        QWidget *w = view->findChild<QWidget *>(name);
        return w && w->isVisibleTo(view.get());
    }
    static void click(QWidget *w)
    {
        ASSERT_NE(w, nullptr);
        QTest::mouseClick(w, Qt::LeftButton, {}, w->rect().center());
        QCoreApplication::processEvents();
    }
    // The practice as the task file holds it now.
    std::optional<LocalTask> stored(const TodoItem &item) const
    {
        LocalTaskStore reread(rig->dirs.dataDir());
        return reread.task(QUuid::fromString(item.ref.id));
    }
    static QAction *action(QMenu *menu, const QString &text)
    {
        for (QAction *a : menu->actions())
            if (a->text() == text)
                return a;
        ADD_FAILURE() << text.toStdString();
        return nullptr;
    }
    QStringList titles(bool occasional) const
    {
        QStringList out;
        for (DailyCard *c : view->cards(occasional))
            out << c->item().title;
        return out;
    }
};

TEST_F(DailyViewTest, AddingAPracticeTrimsItsTitleAndPutsItInTheChosenGroup)
{
    build();
    EXPECT_TRUE(shows(QStringLiteral("daily.empty")));
    EXPECT_FALSE(shows(QStringLiteral("daily.everyDayHeading")));
    EXPECT_TRUE(shows(QStringLiteral("daily.add")));

    click(view->findChild<InkButton *>(QStringLiteral("daily.add")));
    ASSERT_TRUE(view->composerIsOpen());
    DailyComposer *composer = view->composer();
    PlainLineEdit *field = composer->field();
    // A blank title adds nothing and keeps the composer as it is.
    QTest::keyClicks(field, QStringLiteral("   "));
    click(composer->findChild<InkButton *>(QStringLiteral("daily.composer.add")));
    EXPECT_TRUE(view->composerIsOpen());
    EXPECT_EQ(field->text(), QStringLiteral("   "));
    EXPECT_TRUE(rig->local.daily().isEmpty());

    // The group chosen by the keyboard, the title added by Return.
    field->clear();
    QTest::keyClicks(field, QStringLiteral("  cold bath  "));
    auto *group = composer->findChild<SegmentedControl *>(QStringLiteral("daily.composer.group"));
    click(group->segment(1));
    EXPECT_TRUE(composer->draftOccasional());
    EXPECT_EQ(composer->findChild<QWidget *>(QStringLiteral("daily.composer.explanation"))->accessibleName(),
              QStringLiteral("毎日は問われません。やった日だけ跡が残ります。"));
    QTest::keyClick(field, Qt::Key_Return);
    QCoreApplication::processEvents();

    const QList<LocalTask> daily = LocalTaskStore(rig->dirs.dataDir()).daily();
    ASSERT_EQ(daily.size(), 1);
    EXPECT_EQ(daily.first().title, QStringLiteral("cold bath"));
    EXPECT_TRUE(daily.first().isDaily);
    EXPECT_TRUE(daily.first().isOccasional);
    EXPECT_FALSE(view->composerIsOpen());
    EXPECT_EQ(titles(true), QStringList{QStringLiteral("cold bath")});
    EXPECT_TRUE(titles(false).isEmpty());
    EXPECT_TRUE(shows(QStringLiteral("daily.occasionalHeading")));
    EXPECT_FALSE(shows(QStringLiteral("daily.everyDayHeading")));
    EXPECT_FALSE(shows(QStringLiteral("daily.empty")));
    // Opened again: empty, every day.
    EXPECT_EQ(field->text(), QString());
    EXPECT_FALSE(composer->draftOccasional());

    // The add button adds to the every-day group.
    view->openComposer();
    QTest::keyClicks(field, QStringLiteral("sit"));
    click(composer->findChild<InkButton *>(QStringLiteral("daily.composer.add")));
    EXPECT_EQ(titles(false), QStringList{QStringLiteral("sit")});
}

TEST_F(DailyViewTest, TheTodayMarkTogglesTodayAmongTheDoneDays)
{
    const TodoItem sit = practice(QStringLiteral("sit"));
    build();
    DailyCard *card = view->card(QStringLiteral("sit"));
    ASSERT_NE(card, nullptr);
    EXPECT_EQ(card->tallyText(), QStringLiteral("まだ手をつけていません"));
    auto *mark = card->findChild<TodayMark *>(QStringLiteral("daily.card.today"));
    ASSERT_TRUE(mark && mark->isVisibleTo(view.get()));
    EXPECT_EQ(mark->accessibleName(), QStringLiteral("sit"));
    EXPECT_EQ(mark->toolTip(), QStringLiteral("今日の分を済ませる"));

    click(mark);
    EXPECT_EQ(stored(sit)->doneDays, QStringList{QStringLiteral("2025-03-05")});
    EXPECT_TRUE(mark->isDone());
    EXPECT_EQ(mark->toolTip(), QStringLiteral("今日は済ませています"));
    EXPECT_EQ(card->tallyText(), QStringLiteral("最後は3月5日"));

    click(mark);
    EXPECT_TRUE(stored(sit)->doneDays.isEmpty());
    EXPECT_FALSE(mark->isDone());
    EXPECT_EQ(card->tallyText(), QStringLiteral("まだ手をつけていません"));

    // A round of the practice across midnight counts for its start day.
    SessionRecord r;
    r.id = QUuid::createUuid();
    r.start = ModelRigs::at(3, 23, 50);
    r.end = ModelRigs::at(4, 0, 15);
    r.completed = true;
    r.taskRef = sit.ref;
    r.title = QStringLiteral("sit");
    rig->store.append(r);
    QCoreApplication::processEvents();
    EXPECT_EQ(card->tallyText(), QStringLiteral("最後は3月3日"));
}

TEST_F(DailyViewTest, MovesBetweenGroupsBackToTasksAndDelete)
{
    practice(QStringLiteral("sit"));
    const TodoItem bath = practice(QStringLiteral("bath"));
    const TodoItem walk = practice(QStringLiteral("walk"));
    build();
    EXPECT_EQ(titles(false), (QStringList{QStringLiteral("sit"), QStringLiteral("bath"), QStringLiteral("walk")}));

    // From the context menu: to now and then, where the today mark goes.
    DailyCard *card = view->card(QStringLiteral("bath"));
    std::unique_ptr<QMenu> menu(card->buildMenu(nullptr));
    action(menu.get(), QStringLiteral("折々に移す"))->trigger();
    QCoreApplication::processEvents();
    EXPECT_EQ(titles(true), QStringList{QStringLiteral("bath")});
    EXPECT_TRUE(stored(bath)->isOccasional);
    EXPECT_EQ(view->card(QStringLiteral("bath")), card) << "the same card, moved";
    EXPECT_FALSE(card->showsTodayMark());

    // From the action panel's More menu: back to every day.
    card->openPanel();
    ASSERT_NE(card->panel(), nullptr);
    action(card->panel()->moreMenu(), QStringLiteral("日々に移す"))->trigger();
    QCoreApplication::processEvents();
    EXPECT_TRUE(titles(true).isEmpty());
    EXPECT_FALSE(stored(bath)->isOccasional);
    EXPECT_TRUE(card->showsTodayMark());

    // Back to the task list: off the shelf, still a task.
    menu.reset(view->card(QStringLiteral("walk"))->buildMenu(nullptr));
    action(menu.get(), QStringLiteral("作務に戻す"))->trigger();
    QCoreApplication::processEvents();
    EXPECT_EQ(titles(false), (QStringList{QStringLiteral("sit"), QStringLiteral("bath")}));
    ASSERT_TRUE(stored(walk));
    EXPECT_FALSE(stored(walk)->isDaily);
    bool listed = false;
    for (const TodoItem &i : rig->hub->items())
        listed = listed || i.ref == walk.ref;
    EXPECT_TRUE(listed);

    // Delete, at once.
    menu.reset(view->card(QStringLiteral("bath"))->buildMenu(nullptr));
    action(menu.get(), QStringLiteral("消す"))->trigger();
    QCoreApplication::processEvents();
    EXPECT_EQ(titles(false), QStringList{QStringLiteral("sit")});
    EXPECT_FALSE(stored(bath)) << "no live task left";
}

TEST_F(DailyViewTest, TheNoteShowsAndKeepsOnlyTheFreeTextBesideTheProgressLines)
{
    const TodoItem sit = practice(QStringLiteral("sit"));
    rig->local.setNotes(QUuid::fromString(sit.ref.id), QStringLiteral("posture first"));
    rig->hub->logProgress(TaskProgress{ModelRigs::at(4, 9), 3, 75}, sit.ref);
    rig->hub->reload();
    const QString before = *stored(sit)->notes;
    ASSERT_TRUE(before.contains(QStringLiteral("⏱"))) << before.toStdString();
    build();

    DailyCard *card = view->card(QStringLiteral("sit"));
    card->openPanel();
    click(card->panel()->findChild<InkButton *>(QStringLiteral("daily.panel.note")));
    EXPECT_EQ(card->panel(), nullptr) << "the panel closes first";
    DailyNotePanel *note = card->notePanel();
    ASSERT_NE(note, nullptr);
    EXPECT_EQ(note->text(), QStringLiteral("posture first"));
    note->editor()->selectAll();
    QTest::keyClicks(note->editor(), QStringLiteral("breath first"));
    click(note->findChild<InkButton *>(QStringLiteral("daily.note.done")));
    QCoreApplication::processEvents();
    const QString after = stored(sit)->notes.value_or(QString());
    EXPECT_TRUE(after.startsWith(QStringLiteral("breath first"))) << after.toStdString();
    EXPECT_EQ(after.section(QLatin1Char('\n'), 1), before.section(QLatin1Char('\n'), 1)) << "progress lines kept";
    EXPECT_EQ(card->notePanel(), nullptr);
}

TEST_F(DailyViewTest, RenamingInPlaceCommitsOnceAndABlankNameKeepsTheTitle)
{
    const TodoItem sit = practice(QStringLiteral("sit"));
    build();
    DailyCard *card = view->card(QStringLiteral("sit"));
    card->openPanel();
    click(card->panel()->findChild<InkButton *>(QStringLiteral("daily.panel.rename")));
    ASSERT_TRUE(card->isEditing());
    auto *field = card->findChild<PlainLineEdit *>(QStringLiteral("daily.card.rename"));
    EXPECT_EQ(field->text(), QStringLiteral("sit"));
    QTest::keyClicks(field, QStringLiteral("zazen"));
    QTest::keyClick(field, Qt::Key_Return);
    EXPECT_FALSE(card->isEditing());
    EXPECT_EQ(stored(sit)->title, QStringLiteral("zazen"));
    EXPECT_NE(view->card(QStringLiteral("zazen")), nullptr);

    card->startRename();
    field->selectAll();
    QTest::keyClicks(field, QStringLiteral("   "));
    QTest::keyClick(field, Qt::Key_Return);
    EXPECT_FALSE(card->isEditing());
    EXPECT_EQ(stored(sit)->title, QStringLiteral("zazen"));

    // Leaving the field by the keyboard ends the rename with what was typed.
    QApplication::setActiveWindow(view.get());
    card->startRename();
    field->selectAll();
    QTest::keyClicks(field, QStringLiteral("zazen at dawn"));
    view->findChild<InkButton *>(QStringLiteral("daily.add"))->setFocus(Qt::TabFocusReason);
    QCoreApplication::processEvents();
    EXPECT_FALSE(card->isEditing());
    EXPECT_EQ(stored(sit)->title, QStringLiteral("zazen at dawn"));
}

TEST_F(DailyViewTest, BeginAndDayChipsFromThePanel)
{
    const TodoItem sit = practice(QStringLiteral("sit"));
    build();
    DailyCard *card = view->card(QStringLiteral("sit"));
    card->openPanel();
    auto *today = card->panel()->findChild<InkButton *>(QStringLiteral("daily.panel.today"));
    click(today);
    const QDateTime now = ModelRigs::at(5, 9);
    ASSERT_EQ(model->days().note(now).plans.size(), 1);
    EXPECT_EQ(model->days().note(now).plans.first().taskID, QUuid::fromString(sit.ref.id));
    click(today);
    EXPECT_TRUE(model->days().note(now).plans.isEmpty()) << "a lit chip takes the day off again";

    click(card->panel()->findChild<InkButton *>(QStringLiteral("daily.panel.begin")));
    EXPECT_EQ(card->panel(), nullptr);
    ASSERT_TRUE(rig->hub->selected());
    EXPECT_EQ(rig->hub->selected()->ref, sit.ref);
    EXPECT_EQ(model->tab(), RootTab::pomodoro);
}

TEST_F(DailyViewTest, Pictures)
{
    model = &rig->build();
    const TodoItem sit = practice(QStringLiteral("坐禅 二十分"));
    practice(QStringLiteral("日記を一行、寝る前に書く。長く続けるための小さな約束として"));
    practice(QStringLiteral("素振り"));
    practice(QStringLiteral("髪を整える"), true);
    rig->hub->toggleDone(sit.ref);
    using A = Kiv::Appearance;
    for (bool japanese : {true, false})
        for (A a : {A::light, A::dark})
            for (double scale : {1.0, 1.6}) {
                const StillPicture::Setting setting{a, scale, japanese, 1.0};
                StillPicture::Applied applied(setting);
                ViewContext context;
                context.model = model;
                context.snapshot = true;
                DailyView still(context);
                still.setPalette(Kiv::palette(a));
                still.resize(int(420 * scale), int(560 * scale));
                still.show();
                QCoreApplication::processEvents();
                ASSERT_TRUE(StillPicture::save(StillPicture::grab(&still, 1.0), kFolder,
                                               QStringLiteral("shelf-%1").arg(setting.tag())));
            }
    // The empty shelf.
    rig->local.setDaily(QUuid::fromString(sit.ref.id), false);
    for (const TodoItem &i : rig->hub->dailyItems())
        rig->hub->deleteTask(i.ref);
    StillPicture::Applied applied({A::light, 1.0, true, 1.0});
    ViewContext context;
    context.model = model;
    context.snapshot = true;
    DailyView still(context);
    still.resize(420, 560);
    still.show();
    QCoreApplication::processEvents();
    ASSERT_TRUE(StillPicture::save(StillPicture::grab(&still, 1.0), kFolder, QStringLiteral("shelf-empty")));
}

} // namespace
