#include "views/ViewTest.h"
#include "views/ink/TextBlock.h"
#include "views/ink/ToggleSwitch.h"

#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

using ToggleSwitchTest = ViewTest;
using TextBlockTest = ViewTest;

TEST_F(ToggleSwitchTest, KeysAndClicksFlipItAndACodeChangeIsSilent)
{
    QWidget window;
    auto *toggle = new ToggleSwitch(&window);
    toggle->setAccessibleName(QStringLiteral("Sound"));
    window.show();
    QSignalSpy flips(toggle, &ToggleSwitch::clicked);

    QTest::mouseClick(toggle, Qt::LeftButton, {}, toggle->rect().center());
    EXPECT_TRUE(toggle->isChecked());
    EXPECT_EQ(toggle->knob(), 1.0);
    QTest::keyClick(toggle, Qt::Key_Space);
    EXPECT_FALSE(toggle->isChecked());
    QTest::keyClick(toggle, Qt::Key_Return);
    EXPECT_TRUE(toggle->isChecked());
    EXPECT_EQ(flips.count(), 3);

    toggle->setChecked(false);
    EXPECT_EQ(flips.count(), 3) << "a refresh is not the user's flip";
    EXPECT_EQ(toggle->knob(), 0.0) << "and the knob stands at once";

    toggle->setEnabled(false);
    QTest::mouseClick(toggle, Qt::LeftButton, {}, toggle->rect().center());
    EXPECT_FALSE(toggle->isChecked());
}

TEST_F(TextBlockTest, KeepsItsLineBreaksAndGrowsWithTheText)
{
    TextBlock block(QStringLiteral("one\n\ntwo three four five six seven eight nine ten"), Kiv::font(12),
                    Tone{Kiv::Colour::inkFaint});
    const QStringList wide = block.linesAt(2000);
    EXPECT_EQ(wide, (QStringList{QStringLiteral("one"), QString(), QStringLiteral("two three four five six seven eight nine ten")}));
    const QStringList narrow = block.linesAt(80);
    EXPECT_GT(narrow.size(), 4) << "wrapped, nothing cut";
    EXPECT_EQ(narrow.join(QLatin1Char(' ')).simplified(), block.text().simplified());
    EXPECT_GT(block.heightForWidth(80), block.heightForWidth(2000));

    // In a layout it takes the height its width needs.
    QWidget window;
    auto *layout = new QVBoxLayout(&window);
    auto *inLayout = new TextBlock(block.text(), Kiv::font(12), Tone{Kiv::Colour::inkFaint});
    layout->addWidget(inLayout);
    window.resize(120, 10);
    window.show();
    QCoreApplication::processEvents();
    EXPECT_GE(inLayout->height(), inLayout->heightForWidth(inLayout->width()));
}
