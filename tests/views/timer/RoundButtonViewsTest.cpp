#include "views/ViewTest.h"
#include "views/timer/AgainButton.h"
#include "views/timer/BackButton.h"
#include "views/timer/CompleteTaskButton.h"
#include "views/timer/EncoreButton.h"
#include "views/timer/PrimaryButton.h"
#include "views/timer/PutDownButton.h"
#include "views/timer/QuietButton.h"

#include <QApplication>
#include <QEnterEvent>
#include <QSignalSpy>
#include <QTest>

namespace {

using RoundButtonViewsTest = ViewTest;

void hover(QWidget *w, bool in)
{
    if (in) {
        QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), w->mapToGlobal(QPointF(2, 2)));
        QApplication::sendEvent(w, &enter);
    } else {
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(w, &leave);
    }
}

TEST_F(RoundButtonViewsTest, PrimaryFillsAndDarkensItsOutlineInItsTintUnderThePointer)
{
    for (RoundButtons::Tint tint : {RoundButtons::Tint::indigo, RoundButtons::Tint::moss}) {
        const auto colour = [tint](double opacity) {
            return tint == RoundButtons::Tint::indigo ? Kiv::indigo(opacity) : Kiv::moss(opacity);
        };
        PrimaryButton button;
        button.setTint(tint);
        EXPECT_EQ(button.fillNow().alpha(), 0);
        EXPECT_EQ(button.strokeNow(), colour(0.75));
        EXPECT_EQ(button.foregroundNow(), colour(1));
        hover(&button, true);
        EXPECT_EQ(button.fillNow(), colour(0.08));
        EXPECT_EQ(button.strokeNow(), colour(1));
        EXPECT_EQ(button.foregroundNow(), colour(1)) << "the title keeps its tint";
        EXPECT_EQ(button.look().hoverMs, 150);
        hover(&button, false);
        EXPECT_EQ(button.strokeNow(), colour(0.75));
    }
}

TEST_F(RoundButtonViewsTest, EncoreShowsItsChoiceAndTheHoverOnlyDarkensTheLabel)
{
    EncoreButton button;
    button.setText(QStringLiteral("Keep sitting"));
    EXPECT_FALSE(button.look().symbol);
    EXPECT_EQ(button.foregroundNow(), Kiv::inkSoft());
    EXPECT_EQ(button.fillNow().alpha(), 0);
    EXPECT_EQ(button.strokeNow(), Kiv::inkSoft(0.45));
    hover(&button, true);
    EXPECT_EQ(button.foregroundNow(), Kiv::ink());
    EXPECT_EQ(button.fillNow().alpha(), 0);
    EXPECT_EQ(button.strokeNow(), Kiv::inkSoft(0.45));
    hover(&button, false);

    button.setChosen(true);
    EXPECT_EQ(button.look().symbol, Symbol::arrowClockwise);
    EXPECT_EQ(button.foregroundNow(), Kiv::indigo());
    EXPECT_EQ(button.fillNow(), Kiv::indigo(0.08));
    EXPECT_EQ(button.strokeNow(), Kiv::indigo(0.8));
    hover(&button, true);
    EXPECT_EQ(button.foregroundNow(), Kiv::ink());
    EXPECT_EQ(button.fillNow(), Kiv::indigo(0.08));
    EXPECT_EQ(button.strokeNow(), Kiv::indigo(0.8));
}

TEST_F(RoundButtonViewsTest, OnlyThePrimaryFrameAndTheFontsGrowWithTheTextScale)
{
    Kiv::setScale(1.6);
    PrimaryButton primary;
    QuietButton quiet(QStringLiteral("Next"));
    BackButton back;
    EXPECT_EQ(primary.sizeHint(), QSize(205, 64)); // 204.8 × 64
    EXPECT_DOUBLE_EQ(Kiv::pixelSize(primary.look().font), 22.4);
    EXPECT_EQ(quiet.sizeHint(), QSize(56, 28));
    EXPECT_DOUBLE_EQ(Kiv::pixelSize(quiet.look().font), 19.2);
    EXPECT_EQ(back.sizeHint(), QSize(24, 24));
    EXPECT_EQ(PutDownButton().look().padding, QMarginsF(16, 7, 16, 7));
}

TEST_F(RoundButtonViewsTest, EnglishLabelsNamesAndHelpTexts)
{
    Lang::setForTesting(false);
    CompleteTaskButton complete;
    PutDownButton putDown;
    AgainButton again;
    BackButton back;
    EXPECT_EQ(complete.text(), QStringLiteral("Mark done"));
    EXPECT_EQ(putDown.text(), QStringLiteral("Let go"));
    EXPECT_EQ(putDown.toolTip(), QStringLiteral("Stop here and choose again (the time so far is recorded)"));
    EXPECT_NEAR(putDown.look().font.letterSpacing(), 0.24, 0.01);
    EXPECT_EQ(again.text(), QStringLiteral("もう一度"));
    EXPECT_TRUE(again.toolTip().isEmpty());
    EXPECT_EQ(back.accessibleName(), QStringLiteral("Back"));
    EXPECT_EQ(back.toolTip(), QStringLiteral("Choose again"));
    Lang::setForTesting(true);
    EXPECT_NEAR(PutDownButton().look().font.letterSpacing(), 2.0, 0.01);
}

TEST_F(RoundButtonViewsTest, APressAnywhereInTheBackSquareEmitsOneClick)
{
    QWidget window;
    auto *back = new BackButton(&window);
    window.show();
    QSignalSpy clicks(back, &QAbstractButton::clicked);
    for (QPoint at : {QPoint(1, 1), QPoint(22, 22), QPoint(12, 12)})
        QTest::mouseClick(back, Qt::LeftButton, Qt::NoModifier, at);
    EXPECT_EQ(clicks.size(), 3);
}

} // namespace
