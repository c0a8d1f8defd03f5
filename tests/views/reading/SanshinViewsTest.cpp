// The three-minds card, the footer line and the note it opens.
#include "core/Glossary.h"
#include "model/ModelRig.h"
#include "views/ViewTest.h"
#include "views/ink/ElidedLabel.h"
#include "views/ink/InkButton.h"
#include "views/ink/Popover.h"
#include "views/ink/TextBlock.h"
#include "views/reading/SanshinNote.h"
#include "views/reading/SanshinNotePresenter.h"
#include "views/reading/TodaySanshinLine.h"
#include "views/timer/IsshinView.h"

#include <QTest>
#include <memory>

namespace {

struct SanshinViewsTest : ViewTest
{
    std::unique_ptr<ModelRigs::Rig> rig = std::make_unique<ModelRigs::Rig>();
    void TearDown() override
    {
        rig.reset();
        ViewTest::TearDown();
    }
};

// The card and the line show the mind of the clock's date (2025-03-05 is
// day 20152, kishin + 1 = roshin) unless given one.
TEST_F(SanshinViewsTest, CardAndLineShowTheMindOfTheClocksDate)
{
    ASSERT_EQ(Isshin::of(ModelRigs::at(5, 9)), Isshin(Isshin::roshin));
    IsshinView card(ViewContext{});
    EXPECT_EQ(card.isshin(), Isshin(Isshin::roshin));
    EXPECT_EQ(card.accessibleName(), QStringLiteral("老心 ろうしん 細部にまで、わが子のように手をかける"));
    card.setIsshin(Isshin::daishin);
    EXPECT_EQ(card.isshin(), Isshin(Isshin::daishin));

    Lang::setForTesting(false);
    TodaySanshinLine line(ViewContext{});
    EXPECT_EQ(line.label()->text(), QStringLiteral("Today’s mind: Rōshin · care for it as a parent cares"));
    EXPECT_EQ(line.toolTip(), QStringLiteral("About the three minds"));
    EXPECT_EQ(line.accessibleDescription(), QStringLiteral("Open the note on the three minds"));
    // Narrow, it wraps to a second line and is cut after it.
    line.resize(120, line.heightForWidth(120));
    EXPECT_EQ(line.label()->linesAt(120).size(), 2);
    EXPECT_TRUE(line.label()->isElidedAt(120));
}

// A card line too long for the width is cut short on one line: the card
// never grows taller than its two lines.
TEST_F(SanshinViewsTest, TheCardKeepsEveryTextOnOneLine)
{
    IsshinView card(ViewContext{});
    const int height = card.sizeHint().height();
    card.resize(60, height);
    EXPECT_EQ(card.minimumSizeHint().height(), height);
    EXPECT_EQ(card.minimumSizeHint().width(), 0);
}

// Pressing the line opens the note beside it; the note's glossary button
// closes it and raises the glossary request by exactly one, each time.
TEST_F(SanshinViewsTest, TheLineOpensTheNoteAndItsButtonAsksForTheGlossary)
{
    AppModel &model = rig->build();
    QWidget window;
    window.resize(500, 300);
    TodaySanshinLine line(ViewContext{&model, false, std::nullopt, nullptr}, &window);
    line.setGeometry(10, 250, 400, line.heightForWidth(400));
    window.show();
    const int before = model.glossaryRequest();

    for (int round = 1; round <= 2; ++round) {
        QTest::mouseClick(&line, Qt::LeftButton, {}, line.rect().center());
        ASSERT_TRUE(line.presenter()->isOpen());
        SanshinNote *note = line.presenter()->note();
        ASSERT_NE(note, nullptr);
        EXPECT_EQ(note->width(), 320);
        EXPECT_EQ(note->findChild<ElidedLabel *>(QStringLiteral("sanshin.heading"))->text(),
                  QStringLiteral("その日の三心"));
        auto *detail = note->findChild<TextBlock *>(QStringLiteral("sanshin.detail"));
        ASSERT_NE(detail, nullptr);
        EXPECT_EQ(detail->text(), Glossary::entry(QStringLiteral("喜心・老心・大心"))->detail);
        InkButton *button = note->glossaryButton();
        EXPECT_EQ(button->text(), QStringLiteral("言葉のしおりを開く"));
        QTest::mouseClick(button, Qt::LeftButton, {}, button->rect().center());
        QCoreApplication::processEvents();
        EXPECT_FALSE(line.presenter()->isOpen());
        EXPECT_EQ(model.glossaryRequest(), before + round);
    }

    // From the keyboard: Tab to the line, Space opens the note.
    line.setFocus(Qt::TabFocusReason);
    QTest::keyClick(&line, Qt::Key_Space);
    EXPECT_TRUE(line.presenter()->isOpen());
    line.presenter()->close();
}

// At text scale 1.5 the note is 480 wide. Without a glossary entry on the
// three minds the detail is left out and the button stays.
TEST_F(SanshinViewsTest, TheNoteWidthFollowsTheTextScaleAndTheDetailMayBeMissing)
{
    Kiv::setScale(1.5);
    SanshinNote note(ViewContext{}, Isshin::kishin, {}, std::nullopt);
    EXPECT_EQ(note.width(), 480);
    EXPECT_EQ(note.findChild<TextBlock *>(QStringLiteral("sanshin.detail")), nullptr);
    EXPECT_NE(note.glossaryButton(), nullptr);
}

} // namespace
