#include "views/ManualMotion.h"
#include "views/ViewTest.h"
#include "views/ink/ChipButton.h"
#include "views/ink/InkButton.h"

#include <QApplication>
#include <QEnterEvent>
#include <QSignalSpy>
#include <QTest>

namespace {

using InkButtonTest = ViewTest;

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

InkLook capsuleLook()
{
    return InkLook::capsule(Kiv::font(14), {Kiv::Colour::indigo}, {Kiv::Colour::indigo}, Tone::clear(),
                            {Kiv::Colour::indigo, 0.08}, {Kiv::Colour::indigo, 0.75}, {Kiv::Colour::indigo, 1.0});
}

TEST_F(InkButtonTest, APressAnywhereInTheFrameOrAKeyClicksOnce)
{
    InkButton button(QStringLiteral("はじめる"), capsuleLook());
    button.show();
    QSignalSpy clicked(&button, &QAbstractButton::clicked);

    // The corners, not only the glyphs, are part of the button.
    QTest::mouseClick(&button, Qt::LeftButton, {}, QPoint(1, 1));
    QTest::mouseClick(&button, Qt::LeftButton, {}, QPoint(button.width() - 2, button.height() - 2));
    EXPECT_EQ(clicked.size(), 2);

    button.setFocus(Qt::TabFocusReason);
    QTest::keyClick(&button, Qt::Key_Space);
    QTest::keyClick(&button, Qt::Key_Return);
    QTest::keyClick(&button, Qt::Key_Enter);
    EXPECT_EQ(clicked.size(), 5);

    button.setEnabled(false);
    QTest::mouseClick(&button, Qt::LeftButton);
    QTest::keyClick(&button, Qt::Key_Return);
    EXPECT_EQ(clicked.size(), 5);
}

TEST_F(InkButtonTest, HoverMovesEveryColourToItsHoverValue)
{
    InkButton button(QStringLiteral("はじめる"), capsuleLook());
    button.show();
    EXPECT_EQ(button.fillNow().alpha(), 0);
    EXPECT_NEAR(button.strokeNow().alphaF(), 0.75, 0.01);

    hover(&button, true);
    EXPECT_TRUE(button.isHovering());
    EXPECT_EQ(button.hoverLevel(), 1);
    EXPECT_NEAR(button.fillNow().alphaF(), 0.08, 0.01);
    EXPECT_EQ(button.fillNow().rgb() & 0xFFFFFF, Kiv::indigo().rgb() & 0xFFFFFF);
    EXPECT_NEAR(button.strokeNow().alphaF(), 1.0, 0.01);

    hover(&button, false);
    EXPECT_EQ(button.hoverLevel(), 0);
    EXPECT_EQ(button.fillNow().alpha(), 0);
}

TEST_F(InkButtonTest, TheHoverFadesOverItsDurationWhenAnimated)
{
    ManualMotion motion;
    InkButton button(QStringLiteral("もう一度"), capsuleLook());
    button.show();
    hover(&button, true);
    EXPECT_LT(button.hoverLevel(), 1) << "not there at once";
    EXPECT_TRUE(ManualMotion::lastsFor(150)) << "in";
    EXPECT_EQ(button.hoverLevel(), 1);
    hover(&button, false);
    EXPECT_TRUE(ManualMotion::lastsFor(150)) << "out";
    EXPECT_EQ(button.hoverLevel(), 0);
}

// The horizontal centre of the ink of a picture, weighted by coverage: a
// short symbol moves it little, a line of text much.
double inkCentre(const QImage &image)
{
    double sum = 0, weight = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const int a = qAlpha(image.pixel(x, y));
            sum += a * (x + 0.5);
            weight += a;
        }
    return weight > 0 ? sum / weight : -1;
}

TEST_F(InkButtonTest, ASymbolCanTrailItsText)
{
    InkLook look = InkLook::plain(Kiv::font(12), {Kiv::Colour::ink}, {Kiv::Colour::ink});
    look.padding = QMarginsF(18, 12, 18, 0);
    look.symbolSize = 8;
    const auto picture = [&](bool symbol, bool after) {
        InkLook l = look;
        if (symbol)
            l.symbol = Symbol::chevronRight;
        l.symbolAfterText = after;
        InkButton button(QStringLiteral("今日 終えたもの 3"), l);
        button.resize(button.sizeHint());
        QImage image(button.size(), QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        button.render(&image, {}, {}, QWidget::DrawChildren);
        return std::pair{button.sizeHint(), inkCentre(image)};
    };
    const auto [textSize, text] = picture(false, false);
    const auto [beforeSize, before] = picture(true, false);
    const auto [afterSize, after] = picture(true, true);
    EXPECT_EQ(afterSize, beforeSize) << "the same room either way";
    EXPECT_GT(afterSize.width(), textSize.width());
    EXPECT_LT(after - text, 4) << "the text stays where it stands alone, the chevron after it";
    EXPECT_GT(before - text, 8) << "by default the symbol leads and pushes the text on";
}

TEST_F(InkButtonTest, SizeComesFromPaddingOrAFixedFrame)
{
    Kiv::setScale(1.6);
    InkButton padded(QStringLiteral("手を離す"), capsuleLook());
    const QFontMetricsF metrics(padded.look().font);
    EXPECT_NEAR(padded.sizeHint().width(), metrics.horizontalAdvance(QStringLiteral("手を離す")) + 32, 1.0);
    EXPECT_NEAR(padded.sizeHint().height(), 1.2 * 14 * 1.6 + 14, 1.0) << "a line of text, then 7 above and below";

    // A fixed frame does not grow with the text scale.
    InkLook quiet = InkLook::plain(Kiv::font(12, Kiv::Design::serif), {Kiv::Colour::inkSoft}, {Kiv::Colour::ink});
    quiet.fixedSize = QSizeF(56, 28);
    InkButton fixed(QStringLiteral("戻す"), quiet);
    EXPECT_EQ(fixed.sizeHint(), QSize(56, 28));
}

TEST_F(InkButtonTest, ASymbolButtonIsNamedAndToldByItsToolTip)
{
    InkButton button;
    button.setLook(InkLook::icon(Symbol::chevronLeft, 11, {Kiv::Colour::inkSoft}, {Kiv::Colour::ink}, QSizeF(24, 24)));
    button.setName(QStringLiteral("戻る"));
    EXPECT_EQ(button.accessibleName(), QStringLiteral("戻る"));
    EXPECT_EQ(button.toolTip(), QStringLiteral("戻る"));
    EXPECT_EQ(button.sizeHint(), QSize(24, 24));
    EXPECT_NE(button.focusPolicy() & Qt::TabFocus, 0) << "reachable by keyboard";
}

TEST_F(InkButtonTest, ACircleHitAreaIgnoresTheCorners)
{
    InkLook pin = InkLook::icon(Symbol::pin, 11, {Kiv::Colour::inkSoft}, {Kiv::Colour::ink}, QSizeF(26, 26));
    pin.circleHitArea = true;
    InkButton button;
    button.setLook(pin);
    button.resize(26, 26);
    button.show();
    QSignalSpy clicked(&button, &QAbstractButton::clicked);
    QTest::mouseClick(&button, Qt::LeftButton, {}, QPoint(1, 1));
    EXPECT_EQ(clicked.size(), 0);
    QTest::mouseClick(&button, Qt::LeftButton, {}, QPoint(13, 13));
    QTest::mouseClick(&button, Qt::LeftButton, {}, QPoint(13, 1));
    EXPECT_EQ(clicked.size(), 2);
}

TEST_F(InkButtonTest, ChipsAreLitOnlyByTheirOwner)
{
    ChipButton chip(QStringLiteral("今日 3/7"));
    chip.show();
    QSignalSpy clicked(&chip, &QAbstractButton::clicked);
    QTest::mouseClick(&chip, Qt::LeftButton);
    EXPECT_EQ(clicked.size(), 1);
    EXPECT_FALSE(chip.isLit()) << "a press alone does not light it";

    chip.setLit(true);
    EXPECT_TRUE(chip.isChecked()) << "read as checked";
    EXPECT_EQ(chip.foregroundNow(), Kiv::paper());
    EXPECT_EQ(chip.fillNow(), Kiv::indigo());
    EXPECT_EQ(chip.strokeNow().alpha(), 0);
    QTest::mouseClick(&chip, Qt::LeftButton);
    EXPECT_TRUE(chip.isLit());

    chip.setLit(false);
    EXPECT_EQ(chip.foregroundNow(), Kiv::ink());
    EXPECT_EQ(chip.fillNow().alpha(), 0);
    EXPECT_EQ(chip.strokeNow(), Kiv::hairline());

    // Insets stay 8 × 4 at any text scale.
    Kiv::setScale(1.6);
    ChipButton big(QStringLiteral("明日"));
    const QFontMetricsF metrics(big.look().font);
    EXPECT_NEAR(Kiv::pixelSize(big.look().font), 17.6, 0.01);
    EXPECT_NEAR(big.sizeHint().width(), metrics.horizontalAdvance(QStringLiteral("明日")) + 16, 1.0);
}

TEST_F(InkButtonTest, ColoursFollowTheAppearanceWithoutRebuilding)
{
    ChipButton chip(QStringLiteral("今日"));
    chip.setLit(true);
    const QColor light = chip.fillNow();
    Kiv::setAppearance(Kiv::Appearance::dark);
    EXPECT_NE(chip.fillNow(), light);
    EXPECT_EQ(chip.fillNow(), Kiv::colour(Kiv::Colour::indigo, Kiv::Appearance::dark));
}

} // namespace

// The keyboard's focus shows on every button, on a filled one as on a bare
// one: a lit chip, the indigo capsule of a main action, a hairline chip.
TEST_F(InkButtonTest, TheFocusShowsOnFilledButtonsToo)
{
    ChipButton lit(QStringLiteral("今日 3/7"));
    lit.setLit(true);
    ChipButton bare(QStringLiteral("明日 3/8"));
    InkButton filled(QStringLiteral("これで始める"),
                     InkLook::capsule(Kiv::font(13), {Kiv::Colour::paper}, {Kiv::Colour::paper},
                                      {Kiv::Colour::indigo}, {Kiv::Colour::indigo}, Tone::clear(), Tone::clear()));
    for (InkButton *button : {static_cast<InkButton *>(&lit), static_cast<InkButton *>(&bare), &filled}) {
        SCOPED_TRACE(button->text().toStdString());
        button->resize(button->sizeHint() + QSize(40, 0));
        button->show();
        button->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(button));
        button->clearFocus();
        const QImage before = button->grab().toImage();
        button->setFocus(Qt::TabFocusReason);
        ASSERT_TRUE(button->hasFocus());
        const QImage after = button->grab().toImage();
        // Pixels within the button's edge that change by a contrast the eye
        // reads (the edge itself only blurs the outline).
        int clear = 0;
        for (int y = 1; y < before.height() - 1; ++y)
            for (int x = 1; x < before.width() - 1; ++x) {
                const QColor a = before.pixelColor(x, y), b = after.pixelColor(x, y);
                if (std::abs(a.red() - b.red()) + std::abs(a.green() - b.green()) + std::abs(a.blue() - b.blue()) >= 90)
                    ++clear;
            }
        EXPECT_GE(clear, before.width()) << "the ring reads along the button's length";
        button->hide();
    }
}
