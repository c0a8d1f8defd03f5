#include "views/ViewTest.h"
#include "views/ink/ElidedLabel.h"
#include "views/ink/GrowingTextField.h"
#include "views/ink/PlainLineEdit.h"
#include "views/ink/TextBlock.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QSignalSpy>
#include <QTest>
#include <QHBoxLayout>
#include <QVBoxLayout>

namespace {

using TextWidgetsTest = ViewTest;

TEST_F(TextWidgetsTest, ALabelCutsItsLastLineWithAnEllipsis)
{
    const QString text = QStringLiteral("今日という日は、今日きり。明日はまた明日の風が吹く。");
    ElidedLabel label(text, Kiv::font(12), {Kiv::Colour::inkFaint});
    const double full = label.sizeHint().width();

    EXPECT_FALSE(label.isElidedAt(full + 1));
    EXPECT_EQ(label.linesAt(full + 1), QStringList{text});
    ASSERT_TRUE(label.isElidedAt(full / 2));
    const QStringList cut = label.linesAt(full / 2);
    ASSERT_EQ(cut.size(), 1);
    EXPECT_TRUE(cut.constFirst().endsWith(QChar(0x2026)));
    EXPECT_EQ(label.accessibleName(), text) << "assistive technology reads the whole text";

    label.setMaxLines(2);
    const QStringList two = label.linesAt(full / 2 + 4);
    EXPECT_EQ(two.size(), 2);
    EXPECT_FALSE(label.isElidedAt(full / 2 + 4)) << "half the text per line fits in two";
    EXPECT_EQ(label.linesAt(full / 4).size(), 2) << "never more than the limit";
    EXPECT_TRUE(label.isElidedAt(full / 4));
}

// In a layout a label of several lines gets the height of the lines its
// width needs, not one line's.
TEST_F(TextWidgetsTest, AWrappingLabelInALayoutIsAsTallAsItsLines)
{
    QWidget window;
    auto *column = new QVBoxLayout(&window);
    column->setContentsMargins(0, 0, 0, 0);
    auto *label = new ElidedLabel(QStringLiteral("今日という日は、今日きり。明日はまた明日の風が吹く。"), Kiv::font(12),
                                  {Kiv::Colour::ink}, &window);
    label->setMaxLines(5);
    column->addWidget(label);
    column->addStretch();
    const int width = label->sizeHint().width() / 3 + 10;
    window.resize(width, window.heightForWidth(width));
    window.show();
    const qsizetype lines = label->linesAt(label->width()).size();
    EXPECT_EQ(lines, 3);
    EXPECT_FALSE(label->isElidedAt(label->width()));
    EXPECT_GE(label->height(), int(Kiv::lineHeight(label->font()) * double(lines)));
}

// A caption beside a control in a row too narrow for both gives up room
// only down to its widest word: it wraps between words, never inside one
// ("Volum" / "e").
TEST_F(TextWidgetsTest, ATextBlockSqueezedInARowKeepsItsWordsWhole)
{
    for (const QString &caption : {QStringLiteral("Volume"), QStringLiteral("Soundscape volume")}) {
        QWidget window;
        auto *row = new QHBoxLayout(&window);
        row->setContentsMargins(0, 0, 0, 0);
        auto *label = new TextBlock(caption, Kiv::font(13), {Kiv::Colour::ink}, &window);
        auto *control = new QWidget(&window);
        control->setMinimumWidth(200);
        control->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
        row->addWidget(label, 1);
        row->addWidget(control, 2);
        window.resize(210, 60);
        window.show();
        QCoreApplication::processEvents();

        const QStringList words = caption.split(QLatin1Char(' '));
        for (const QString &line : label->linesAt(label->contentsRect().width()))
            for (const QString &word : line.split(QLatin1Char(' ')))
                EXPECT_TRUE(words.contains(word)) << qPrintable(caption) << ": line \"" << qPrintable(line)
                                                  << "\" tears a word at width " << label->width();
    }
}

TEST_F(TextWidgetsTest, AGrowingFieldGrowsToItsLimitAndReturnSubmits)
{
    QWidget window;
    GrowingTextField field(1, 4, &window);
    field.setFont(Kiv::font(15, Kiv::Design::serif));
    field.resize(160, field.height());
    window.resize(200, 300);
    window.show();
    QSignalSpy submitted(&field, &GrowingTextField::submitted);
    QSignalSpy edited(&field, &GrowingTextField::textEdited);

    const int oneLine = field.height();
    EXPECT_EQ(field.shownLines(), 1);
    field.setFocus();
    QTest::keyClicks(&field, QStringLiteral("Write the morning line and make it a little longer"));
    EXPECT_GT(field.shownLines(), 1);
    EXPECT_GT(field.height(), oneLine);
    EXPECT_FALSE(edited.isEmpty());

    QTest::keyClicks(&field, QStringLiteral(" and longer still").repeated(12));
    EXPECT_EQ(field.shownLines(), 4) << "stops growing at its limit";

    const QString before = field.text();
    QTest::keyClick(&field, Qt::Key_Return);
    EXPECT_EQ(submitted.size(), 1);
    EXPECT_EQ(field.text(), before) << "Return ends the entry instead of breaking the line";
}

TEST_F(TextWidgetsTest, PastedLineBreaksBecomeBlanksAndSetTextIsQuiet)
{
    GrowingTextField field(1, 3);
    field.show();
    QSignalSpy edited(&field, &GrowingTextField::textEdited);
    field.setText(QStringLiteral("既に"));
    EXPECT_TRUE(edited.isEmpty()) << "only the user's edits are reported";

    QApplication::clipboard()->setText(QStringLiteral("一行目\n二行目\r\n三行目"));
    field.setFocus();
    field.moveCursor(QTextCursor::End);
    field.paste();
    EXPECT_EQ(field.text(), QStringLiteral("既に一行目 二行目 三行目"));
    EXPECT_FALSE(edited.isEmpty());
}

TEST_F(TextWidgetsTest, PlainFieldsHaveNoBackgroundAndFollowTheAppearance)
{
    QWidget window;
    auto &edit = *new PlainLineEdit(&window);
    auto &field = *new GrowingTextField(1, 2, &window);
    EXPECT_FALSE(edit.hasFrame());
    EXPECT_EQ(edit.palette().color(QPalette::Base).alpha(), 0);
    EXPECT_EQ(field.palette().color(QPalette::Base).alpha(), 0);
    EXPECT_EQ(edit.palette().color(QPalette::Text), Kiv::ink());

    Kiv::setAppearance(Kiv::Appearance::dark);
    window.setPalette(Kiv::palette(Kiv::Appearance::dark));
    EXPECT_EQ(edit.palette().color(QPalette::Text), Kiv::ink());
    EXPECT_EQ(field.palette().color(QPalette::Text), Kiv::ink());
    EXPECT_EQ(edit.palette().color(QPalette::Base).alpha(), 0);
    EXPECT_EQ(edit.palette().color(QPalette::PlaceholderText), Kiv::inkFaint()) << "from the window";
}

// A centred field shows its placeholder while empty, with the focus too,
// where it stands without the focus; typing replaces it.
TEST_F(TextWidgetsTest, ACentredFieldShowsItsPlaceholderWithTheFocus)
{
    QWidget window;
    window.setPalette(Kiv::palette(Kiv::Appearance::light));
    auto *layout = new QVBoxLayout(&window);
    auto *field = new PlainLineEdit(&window);
    field->setAlignment(Qt::AlignCenter);
    field->setFont(Kiv::font(14, Kiv::Design::serif));
    layout->addWidget(field);
    window.resize(300, 60);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    // The field's picture left of the caret's column (the caret stands in the middle).
    auto picture = [field] {
        const QImage full = field->grab().toImage();
        return full.copy(0, 0, full.width() / 2 - 4, full.height());
    };

    field->setPlaceholderText(QStringLiteral("たとえば、原稿を書く"));
    const QImage unfocused = picture();
    field->setFocus(Qt::TabFocusReason);
    ASSERT_TRUE(field->hasFocus());
    const QImage focused = picture();
    field->setPlaceholderText(QString());
    const QImage bare = picture();

    EXPECT_GT(worstDifference(focused, bare), 60) << "the placeholder is drawn";
    EXPECT_LT(worstDifference(focused, unfocused), 8) << "where it stands without the focus";
    QTest::keyClicks(field, QStringLiteral("x"));
    const QImage typedBare = picture();
    field->setPlaceholderText(QStringLiteral("たとえば、原稿を書く"));
    EXPECT_EQ(worstDifference(picture(), typedBare), 0) << "a text replaces it";
}

} // namespace
