#include "views/ViewTest.h"

#include "views/day/MinuteField.h"
#include "views/day/TimeAndLength.h"
#include "views/ink/ElidedLabel.h"
#include "views/ink/InkButton.h"

#include <QSignalSpy>
#include <QTest>
#include <memory>

namespace {

struct TimeAndLengthTest : ViewTest
{
    // Built after the fixture has set the language.
    std::unique_ptr<TimeAndLength> owned;
    void SetUp() override
    {
        ViewTest::SetUp();
        owned = std::make_unique<TimeAndLength>(QStringLiteral("t"));
    }
    void TearDown() override
    {
        owned.reset();
        ViewTest::TearDown();
    }

    template<class T = QWidget>
    T *find(const QString &name)
    {
        T *w = owned->findChild<T *>(QStringLiteral("t.") + name);
        EXPECT_NE(w, nullptr) << name.toStdString();
        return w;
    }
    void click(const QString &name)
    {
        QWidget *w = find(name);
        QTest::mouseClick(w, Qt::LeftButton, {}, w->rect().center());
    }
};

TEST_F(TimeAndLengthTest, TheEndOfTheDayReads24AndTheControlsClampAtTheBound)
{
    TimeAndLength &chooser = *owned;
    chooser.set(1380, 30, 1440);
    chooser.resize(400, 200);
    chooser.show();
    QSignalSpy changed(&chooser, &TimeAndLength::changed);
    EXPECT_FALSE(find(QStringLiteral("chip120"))->isEnabled());
    click(QStringLiteral("chip60"));
    EXPECT_EQ(chooser.minutes(), 60);
    EXPECT_EQ(find<MinuteField>(QStringLiteral("end"))->text(), QStringLiteral("24:00"));
    EXPECT_EQ(find<ElidedLabel>(QStringLiteral("summary"))->text(), QStringLiteral("23:00 〜 24:00 ・ 1時間"));
    EXPECT_FALSE(find(QStringLiteral("startForward"))->isEnabled());
    EXPECT_FALSE(find(QStringLiteral("endForward"))->isEnabled());
    click(QStringLiteral("startBack"));
    EXPECT_EQ(chooser.start(), 1365);
    EXPECT_EQ(chooser.minutes(), 60) << "the start row moves the whole block";
    click(QStringLiteral("endBack"));
    EXPECT_EQ(chooser.minutes(), 45);
    EXPECT_EQ(changed.count(), 3);

    // Typing a time in the start field.
    auto *start = find<MinuteField>(QStringLiteral("start"));
    start->setFocus();
    start->selectAll();
    QTest::keyClicks(start, QStringLiteral("23:58"));
    QTest::keyClick(start, Qt::Key_Return);
    EXPECT_EQ(chooser.start(), 1435);
    EXPECT_EQ(chooser.minutes(), 5);
    EXPECT_EQ(find<MinuteField>(QStringLiteral("start"))->accessibleName(), QStringLiteral("始まり"));
}

} // namespace
