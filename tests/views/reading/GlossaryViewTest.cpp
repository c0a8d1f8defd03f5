#include "views/ViewTest.h"
#include "views/ink/ElidedLabel.h"
#include "views/reading/GlossaryRow.h"
#include "views/reading/GlossaryView.h"

#include <QScrollArea>
#include <QTest>

namespace {

using GlossaryViewTest = ViewTest;

QList<GlossaryRow *> rows(QWidget &view)
{
    return view.findChildren<GlossaryRow *>(QStringLiteral("glossary.row"));
}

// A click on a closed row shows its detail with the rule and hides the
// hint; a second click closes it. Rows open independently, and the
// keyboard reaches and opens them too.
TEST_F(GlossaryViewTest, RowsUnfoldTheirDetailByPointerAndKeyboard)
{
    GlossaryView view(ViewContext{}, Glossary::build());
    view.resize(440, 560);
    view.show();
    const QList<GlossaryRow *> all = rows(view);
    ASSERT_EQ(all.size(), 26);
    GlossaryRow *first = all[0];
    GlossaryRow *second = all[1];
    EXPECT_EQ(first->entry().key, QStringLiteral("只管"));
    EXPECT_FALSE(first->detail()->isVisibleTo(&view));
    EXPECT_TRUE(first->hint()->isVisibleTo(&view));
    EXPECT_EQ(first->hint()->text(), QStringLiteral("由来を読む"));

    QTest::mouseClick(first, Qt::LeftButton, {}, QPoint(first->width() - 30, 10));
    EXPECT_TRUE(first->isOpen());
    EXPECT_TRUE(first->detail()->isVisibleTo(&view));
    EXPECT_FALSE(first->hint()->isVisibleTo(&view));

    QTest::mouseClick(second, Qt::LeftButton, {}, second->rect().center());
    EXPECT_TRUE(first->isOpen());
    EXPECT_TRUE(second->isOpen());

    QTest::mouseClick(first, Qt::LeftButton, {}, first->rect().center());
    EXPECT_FALSE(first->isOpen());
    EXPECT_TRUE(first->hint()->isVisibleTo(&view));

    // Tab reaches a row; Space and Return open and close it.
    view.activateWindow();
    QCoreApplication::processEvents();
    first->setFocus(Qt::TabFocusReason);
    QTest::keyClick(first, Qt::Key_Tab);
    ASSERT_TRUE(second->hasFocus());
    QTest::keyClick(second, Qt::Key_Return);
    EXPECT_FALSE(second->isOpen());
    QTest::keyClick(second, Qt::Key_Space);
    EXPECT_TRUE(second->isOpen());
    EXPECT_EQ(second->accessibleName(), second->entry().term);
}

// As a still picture every row is laid out without a scroll view; in use
// the page scrolls. In English a row shows the English term with the
// Japanese word in the reading's place. At text scale 1.5 the page asks for
// 570 × 630.
TEST_F(GlossaryViewTest, StillPictureLaysOutEveryRowAndEnglishShowsTheWord)
{
    Lang::setForTesting(false);
    const QList<Glossary::Section> table = Glossary::build();
    GlossaryView still(ViewContext{nullptr, true, std::nullopt}, table);
    EXPECT_EQ(still.findChild<QScrollArea *>(), nullptr);
    ASSERT_TRUE(still.hasHeightForWidth());
    still.resize(440, still.heightForWidth(440));
    still.show();
    const QList<GlossaryRow *> all = rows(still);
    ASSERT_EQ(all.size(), 26);
    for (GlossaryRow *row : all)
        EXPECT_TRUE(still.rect().contains(QRect(row->mapTo(&still, QPoint(0, 0)), row->size())))
            << row->entry().key.toStdString();
    EXPECT_EQ(all[0]->entry().term, QStringLiteral("Shikan"));
    EXPECT_EQ(all[0]->entry().reading, QStringLiteral("只管"));

    GlossaryView page(ViewContext{}, table);
    EXPECT_NE(page.findChild<QScrollArea *>(QStringLiteral("glossary.scroll")), nullptr);

    Kiv::setScale(1.5);
    GlossaryView large(ViewContext{}, table);
    EXPECT_EQ(large.minimumSize(), QSize(570, 630));
}

} // namespace
