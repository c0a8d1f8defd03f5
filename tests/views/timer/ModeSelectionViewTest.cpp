#include "views/timer/ChoosingFixture.h"

#include "views/ink/ElidedLabel.h"
#include "views/ManualMotion.h"
#include "views/timer/ModeRow.h"
#include "views/timer/ModeSelectionView.h"
#include "views/timer/RoundsPicker.h"

#include <QApplication>
#include <QEnterEvent>
#include <QScrollArea>
#include <QTest>

namespace {

using ModeSelectionViewTest = ChoosingFixture;

struct Shown
{
    std::unique_ptr<ModeSelectionView> view;
    explicit Shown(const ViewContext &context, QSize size = QSize(420, 900))
        : view(std::make_unique<ModeSelectionView>(context))
    {
        // Drawn as a still picture the column does not scroll: it takes the
        // height its width needs.
        if (context.snapshot && view->hasHeightForWidth())
            size.setHeight(std::max(size.height(), view->heightForWidth(size.width())));
        view->resize(size);
        view->show();
        QCoreApplication::processEvents();
    }
    ModeRow *card(Mode mode) const
    {
        return view->findChild<ModeRow *>(QStringLiteral("timer.mode.") + rawValue(mode));
    }
};

TEST_F(ModeSelectionViewTest, CardsInOrderWithTheirTextsInBothLanguages)
{
    struct Case
    {
        bool japanese;
        QStringList names;
        QStringList spans;
        QString firstAccessible;
    };
    const QList<Case> cases = {
        {true,
         {"任運", "小坐", "一坐", "一炷", "常住", "巡香"},
         {"決めない", "10分", "30分", "1時間", "続くかぎり", "ひとつ10分"},
         "任運ではじめる"},
        {false,
         {"Ninnun", "Shōza", "Ichiza", "Itchū", "Jōjū", "Junkō"},
         {"Open", "10 min", "30 min", "1 hr", "Ongoing", "10 min each"},
         "Begin Ninnun"},
    };
    // The user's own minutes play no part in the spans.
    rig->settings.setFocusMinutes(45);
    for (const Case &c : cases) {
        Lang::setForTesting(c.japanese);
        Shown shown(context());
        QStringList names, spans;
        int lastY = -1;
        for (ModeRow *row : shown.view->cards()) {
            names << row->card().name;
            spans << row->card().span;
            EXPECT_TRUE(row->isVisible());
            EXPECT_TRUE(row->isEnabled());
            EXPECT_GT(row->y(), lastY); // top to bottom in this order
            lastY = row->y();
        }
        EXPECT_EQ(names, c.names);
        EXPECT_EQ(spans, c.spans);
        EXPECT_EQ(shown.view->cards().first()->accessibleName(), c.firstAccessible);
    }
}

TEST_F(ModeSelectionViewTest, HeadingsAndNamesAreSpacedByLanguage)
{
    for (bool japanese : {true, false}) {
        Lang::setForTesting(japanese);
        Shown shown(context());
        auto *heading = shown.view->findChild<ElidedLabel *>(QStringLiteral("timer.modeSelection.howHeading"));
        ASSERT_NE(heading, nullptr);
        EXPECT_NEAR(heading->font().letterSpacing(), japanese ? 6.0 : 0.72, 0.02);
        auto *name = shown.card(Mode::open)->findChild<ElidedLabel *>();
        ASSERT_NE(name, nullptr);
        EXPECT_NEAR(name->font().letterSpacing(), japanese ? 1.0 : 0.12, 0.02);
    }
}

TEST_F(ModeSelectionViewTest, WrappedDescriptionsMakeTheirCardsTaller)
{
    Lang::setForTesting(false);
    Kiv::setScale(1.6);
    for (bool snapshot : {false, true}) {
        Shown shown(context(snapshot), QSize(420, 700));
        const QList<ModeRow *> &cards = shown.view->cards();
        for (int i = 0; i + 1 < cards.size(); ++i)
            EXPECT_LT(cards.at(i)->geometry().bottom(), cards.at(i + 1)->geometry().top()) << i << snapshot;
        // A description of two lines takes the height of two.
        EXPECT_GE(cards.at(1)->height(), cards.at(1)->heightForWidth(cards.at(1)->width())) << snapshot;
    }
}

TEST_F(ModeSelectionViewTest, TheClockCardStandsApartByAScaledGap)
{
    for (double scale : {1.0, 1.6}) {
        Kiv::setScale(scale);
        Shown shown(context(), QSize(520, 1400));
        const int usual = shown.card(Mode::quick)->geometry().top() - shown.card(Mode::chore)->geometry().bottom();
        const int apart = shown.card(Mode::clock)->geometry().top() - shown.card(Mode::hour)->geometry().bottom();
        const int after = shown.card(Mode::rounds)->geometry().top() - shown.card(Mode::clock)->geometry().bottom();
        EXPECT_EQ(usual, after) << scale; // the other gaps keep their fixed size
        EXPECT_NEAR(apart - usual, 14 * scale, 0.6) << scale;
    }
}

// Under the pointer a card's fill, outline and shadow move to their hover
// look over 0.15 s, and back as it leaves; then nothing moves.
TEST_F(ModeSelectionViewTest, ACardsHoverFadesOverItsTime)
{
    Shown shown(context());
    ModeRow *card = shown.card(Mode::quick);
    ManualMotion motion;
    QEnterEvent enter(QPointF(4, 4), QPointF(4, 4), card->mapToGlobal(QPointF(4, 4)));
    QApplication::sendEvent(card, &enter);
    EXPECT_TRUE(ManualMotion::lastsFor(150)) << "in";
    EXPECT_EQ(card->hoverLevel(), 1);
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(card, &leave);
    EXPECT_TRUE(ManualMotion::lastsFor(150)) << "out";
    EXPECT_EQ(card->hoverLevel(), 0);
}

TEST_F(ModeSelectionViewTest, ACardBeginsItsModeOnce)
{
    for (Mode mode : {Mode::open, Mode::chore, Mode::quick, Mode::hour, Mode::clock}) {
        rig->engine().stop();
        const int before = begins();
        Shown shown(context());
        click(shown.card(mode));
        EXPECT_EQ(begins() - before, 1) << rawValue(mode).toStdString();
        EXPECT_EQ(rig->engine().mode(), mode);
        EXPECT_EQ(shown.view->roundsSheet(), nullptr);
    }
}

TEST_F(ModeSelectionViewTest, WithPreparationOnACardStartsThePreparationNotTheEngine)
{
    rig->settings.setPrepares(true);
    Shown shown(context());
    click(shown.card(Mode::quick));
    ASSERT_TRUE(model->preparing());
    EXPECT_EQ(model->preparing()->mode, Mode::quick);
    EXPECT_FALSE(rig->engine().mode());
}

TEST_F(ModeSelectionViewTest, TheRoundsCardOpensThePickerAndBeginsNothing)
{
    task(QStringLiteral("Draft"));
    Shown shown(context());
    click(shown.card(Mode::rounds));
    EXPECT_EQ(begins(), 0);
    ASSERT_NE(shown.view->roundsSheet(), nullptr);
    EXPECT_TRUE(shown.view->roundsSheet()->isVisible());
    RoundsPicker *picker = shown.view->roundsPicker();
    ASSERT_NE(picker, nullptr);

    // Cancel closes the sheet and leaves the screen as it was.
    click(picker->findChild<QAbstractButton *>(QStringLiteral("timer.roundsPicker.cancel")));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(shown.view->roundsSheet(), nullptr);
    EXPECT_EQ(begins(), 0);
    EXPECT_FALSE(rig->engine().mode());

    // Confirming a choice begins the rounds run and closes the sheet.
    click(shown.card(Mode::rounds));
    picker = shown.view->roundsPicker();
    ASSERT_NE(picker, nullptr);
    clickRow(picker->list(), picker->list()->rowOf(QStringLiteral("Draft")));
    click(picker->findChild<QAbstractButton *>(QStringLiteral("timer.roundsPicker.confirm")));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(shown.view->roundsSheet(), nullptr);
    EXPECT_EQ(begins(), 1);
    EXPECT_EQ(rig->engine().mode(), Mode::rounds);
    EXPECT_EQ(rig->engine().rounds(), QStringList{QStringLiteral("Draft")});
}

TEST_F(ModeSelectionViewTest, TheKeyboardReachesEveryCardAndBeginsWithSpace)
{
    Shown shown(context());
    shown.view->activateWindow();
    // The title field takes the keyboard when the screen shows.
    QWidget *edit = shown.view->findChild<QWidget *>(QStringLiteral("timer.titleField.edit"));
    ASSERT_NE(edit, nullptr);
    EXPECT_TRUE(edit->hasFocus());
    QList<QWidget *> reached;
    for (int i = 0; i < 20; ++i) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        reached << QApplication::focusWidget();
    }
    for (ModeRow *row : shown.view->cards())
        EXPECT_TRUE(reached.contains(row)) << row->objectName().toStdString();
    shown.card(Mode::chore)->setFocus(Qt::TabFocusReason);
    QTest::keyClick(shown.card(Mode::chore), Qt::Key_Space);
    EXPECT_EQ(rig->engine().mode(), Mode::chore);
    EXPECT_EQ(begins(), 1);
}

TEST_F(ModeSelectionViewTest, ShortWindowsScrollAndStillPicturesDoNot)
{
    Shown shortWindow(context(), QSize(420, 300));
    auto *scroll = shortWindow.view->findChild<QScrollArea *>(QStringLiteral("timer.modeSelection.scroll"));
    ASSERT_NE(scroll, nullptr);
    EXPECT_GT(scroll->verticalScrollBar()->maximum(), 0);

    Shown tall(context(), QSize(420, 1600));
    auto *tallScroll = tall.view->findChild<QScrollArea *>(QStringLiteral("timer.modeSelection.scroll"));
    EXPECT_EQ(tallScroll->verticalScrollBar()->maximum(), 0);
    // The gaps take the extra height: the saying sits near the foot.
    QWidget *saying = tall.view->findChild<QWidget *>(QStringLiteral("timer.modeSelection.saying"));
    EXPECT_GT(saying->mapTo(tall.view.get(), QPoint(0, 0)).y(), 1000);

    Shown still(context(true));
    EXPECT_EQ(still.view->findChild<QScrollArea *>(), nullptr);
    EXPECT_EQ(still.view->cards().size(), 6);
}

} // namespace
