#include "model/ModelRig.h"
#include "views/ViewTest.h"
#include "views/daily/DailyCard.h"
#include "views/daily/DailyCardPanel.h"
#include "views/daily/DailyComposer.h"
#include "views/daily/DailyNotePanel.h"
#include "views/daily/DailyView.h"
#include "views/daily/TodayMark.h"
#include "views/ink/ChipButton.h"
#include "views/ink/ElidedLabel.h"
#include "views/ink/InkButton.h"
#include "views/ink/PlainLineEdit.h"
#include "views/ink/SegmentedControl.h"
#include "views/ink/StillPicture.h"
#include "views/ink/TextBlock.h"
#include "views/tasks/PlaceCalendar.h"
#include "views/tasks/PlaceDayChips.h"

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

TEST_F(DailyViewTest, BeginFromThePanel)
{
    const TodoItem sit = practice(QStringLiteral("sit"));
    build();
    DailyCard *card = view->card(QStringLiteral("sit"));
    card->openPanel();
    click(card->panel()->findChild<InkButton *>(QStringLiteral("daily.panel.begin")));
    EXPECT_EQ(card->panel(), nullptr);
    ASSERT_TRUE(rig->hub->selected());
    EXPECT_EQ(rig->hub->selected()->ref, sit.ref);
    EXPECT_EQ(model->tab(), RootTab::pomodoro);
}

// The title is the card's button: from the keyboard Space and Return open
// its panel, as a click does.
TEST_F(DailyViewTest, SpaceOrReturnOnTheTitleOpensThePanel)
{
    practice(QStringLiteral("sit"));
    build();
    for (const Qt::Key key : {Qt::Key_Space, Qt::Key_Return, Qt::Key_Enter}) {
        DailyCard *card = view->card(QStringLiteral("sit"));
        ASSERT_NE(card, nullptr);
        auto *title = card->findChild<QWidget *>(QStringLiteral("daily.card.title"));
        ASSERT_NE(title, nullptr);
        QApplication::setActiveWindow(view.get());
        title->setFocus(Qt::TabFocusReason);
        QTest::keyClick(title, key);
        QCoreApplication::processEvents();
        ASSERT_NE(card->panel(), nullptr) << QKeySequence(key).toString().toStdString();
        card->panel()->parentWidget()->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        ASSERT_EQ(card->panel(), nullptr);
    }
}

// The empty shelf's two lines stay two lines in either language, at the
// window's usual width and at its narrowest: a line too long for the shelf
// broke in the middle and left its last words alone on a line.
TEST_F(DailyViewTest, TheEmptyShelfsHintKeepsItsTwoLines)
{
    for (const bool japanese : {true, false}) {
        Lang::setForTesting(japanese);
        view.reset();
        build();
        auto *hint = view->findChild<TextBlock *>(QStringLiteral("daily.empty.hint"));
        ASSERT_NE(hint, nullptr);
        for (const int width : {380, 340}) {
            view->resize(width, 640);
            QCoreApplication::processEvents();
            const QStringList lines = hint->linesAt(hint->contentsRect().width());
            EXPECT_EQ(lines.size(), 2) << (japanese ? "ja " : "en ") << width << ": "
                                       << lines.join(u'|').toStdString();
        }
    }
}

TEST_F(DailyViewTest, DayChipsPlaceThePracticeOnTodayTomorrowAndItsOtherDay)
{
    const TodoItem sit = practice(QStringLiteral("sit"));
    const QUuid id = QUuid::fromString(sit.ref.id);
    build();
    DailyCard *card = view->card(QStringLiteral("sit"));
    click(card->findChild<QWidget *>(QStringLiteral("daily.card.title")));
    PlaceDayChips *chips = card->panel()->dayChips();
    ASSERT_NE(chips, nullptr);
    auto chip = [&](const char *name) { return chips->findChild<ChipButton *>(QLatin1String(name)); };
    EXPECT_FALSE(chip("tasks.place.other")->isVisibleTo(chips)) << "no other day yet";

    // A click places the practice on its day as an untimed plan, written to
    // the day notes; a second click on the lit chip takes it off again.
    const struct
    {
        const char *chip;
        QString text;
        int day;
    } cases[] = {{"tasks.place.today", QStringLiteral("今日 3/5"), 5},
                 {"tasks.place.tomorrow", QStringLiteral("明日 3/6"), 6}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.chip);
        ChipButton *button = chip(c.chip);
        EXPECT_EQ(button->text(), c.text);
        click(button);
        const DayNote written = DayNoteStore(rig->dirs.dataDir()).note(ModelRigs::at(c.day, 12));
        ASSERT_EQ(written.plans.size(), 1);
        EXPECT_EQ(written.plans.first().taskID, id);
        EXPECT_FALSE(written.plans.first().timed);
        EXPECT_TRUE(button->isLit());
        EXPECT_NE(card->panel(), nullptr) << "the panel stays open";
        click(button);
        EXPECT_TRUE(DayNoteStore(rig->dirs.dataDir()).note(ModelRigs::at(c.day, 12)).plans.isEmpty());
        EXPECT_FALSE(button->isLit());
    }

    // One later day shows as a lit chip; a click takes the practice off it.
    model->placeOnDay(*rig->local.task(id), ModelRigs::at(9, 9));
    ChipButton *other = chip("tasks.place.other");
    EXPECT_TRUE(other->isVisibleTo(chips));
    EXPECT_EQ(other->text(), QStringLiteral("3/9"));
    click(other);
    EXPECT_TRUE(DayNoteStore(rig->dirs.dataDir()).note(ModelRigs::at(9, 12)).plans.isEmpty());
    EXPECT_FALSE(other->isVisibleTo(chips));

    // A card without a local task behind it has no day chips.
    TodoItem foreign = sit;
    foreign.ref.source = QStringLiteral("elsewhere");
    ViewContext context;
    context.model = model;
    DailyCard stranger(context, foreign, {});
    stranger.show();
    stranger.openPanel();
    ASSERT_NE(stranger.panel(), nullptr);
    EXPECT_EQ(stranger.panel()->dayChips(), nullptr);
    stranger.openPlaces();
    EXPECT_EQ(stranger.placePicker(), nullptr);
}

TEST_F(DailyViewTest, TheCalendarChipOpensTheMonthCalendarThatPlacesAnyDay)
{
    const TodoItem sit = practice(QStringLiteral("sit"));
    const QUuid id = QUuid::fromString(sit.ref.id);
    build();
    DailyCard *card = view->card(QStringLiteral("sit"));
    click(card->findChild<QWidget *>(QStringLiteral("daily.card.title")));
    ASSERT_NE(card->panel(), nullptr);
    click(card->panel()->dayChips()->findChild<ChipButton *>(QStringLiteral("tasks.place.calendar")));
    EXPECT_EQ(card->panel(), nullptr) << "the action panel closes first";
    PlaceCalendar *calendar = card->placePicker();
    ASSERT_NE(calendar, nullptr);
    EXPECT_EQ(calendar->month(), QDateTime(QDate(2025, 3, 1), QTime(0, 0))) << "the current month";

    InkButton *day = calendar->cellOf(QDate(2025, 3, 12));
    click(day);
    const DayNote written = DayNoteStore(rig->dirs.dataDir()).note(ModelRigs::at(12, 12));
    ASSERT_EQ(written.plans.size(), 1);
    EXPECT_EQ(written.plans.first().taskID, id);
    EXPECT_EQ(model->placedDays(id, ModelRigs::at(5, 9)), QList<QDateTime>{QDateTime(QDate(2025, 3, 12), QTime(0, 0))});
    click(day);
    EXPECT_TRUE(DayNoteStore(rig->dirs.dataDir()).note(ModelRigs::at(12, 12)).plans.isEmpty());

    // Several later days: their chip opens the calendar and removes nothing.
    for (int d : {14, 20, 27})
        model->placeOnDay(*rig->local.task(id), ModelRigs::at(d, 9));
    QTest::keyClick(calendar, Qt::Key_Return);
    QCoreApplication::processEvents();
    EXPECT_EQ(card->placePicker(), nullptr) << "Return closes the calendar";
    click(card->findChild<QWidget *>(QStringLiteral("daily.card.title")));
    ASSERT_NE(card->panel(), nullptr);
    ChipButton *other = card->panel()->dayChips()->findChild<ChipButton *>(QStringLiteral("tasks.place.other"));
    EXPECT_EQ(other->text(), QStringLiteral("3/14 ほか2日"));
    click(other);
    EXPECT_EQ(card->panel(), nullptr);
    EXPECT_NE(card->placePicker(), nullptr);
    EXPECT_EQ(model->placedDays(id, ModelRigs::at(5, 9)).size(), 3);
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
    // The action panel with the day chips, placed today and on a later day.
    const std::optional<LocalTask> sitting = rig->local.task(QUuid::fromString(sit.ref.id));
    model->placeOnDay(*sitting, ModelRigs::at(5, 9));
    model->placeOnDay(*sitting, ModelRigs::at(9, 9));
    for (bool japanese : {true, false})
        for (A a : {A::light, A::dark}) {
            const StillPicture::Setting setting{a, 1.0, japanese, 1.0};
            StillPicture::Applied applied(setting);
            ViewContext context;
            context.model = model;
            context.snapshot = true;
            DailyCardPanel panel(context, rig->hub->dailyItems().first(), sitting);
            panel.setPalette(Kiv::palette(a));
            panel.setAutoFillBackground(true);
            panel.adjustSize();
            panel.show();
            QCoreApplication::processEvents();
            ASSERT_TRUE(StillPicture::save(StillPicture::grab(&panel, 1.0), kFolder,
                                           QStringLiteral("panel-%1").arg(setting.tag())));
        }
    model->unplace(sitting->id, ModelRigs::at(5, 9));
    model->unplace(sitting->id, ModelRigs::at(9, 9));

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
