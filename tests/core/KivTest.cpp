#include "core/Kiv.h"
#include "support/LanguageFixtures.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <gtest/gtest.h>

namespace {

struct ScaleGuard
{
    double before = Kiv::scale();
    Kiv::Appearance appearance = Kiv::appearance();
    ~ScaleGuard()
    {
        Kiv::setScale(before);
        Kiv::setAppearance(appearance);
    }
};

TEST(KivPalette, EachColourHasItsLightAndDarkValue)
{
    struct Case
    {
        Kiv::Colour colour;
        QRgb light, dark;
        double alpha;
    };
    const Case cases[] = {
        {Kiv::Colour::paper, 0xF3EFE7, 0x16181B, 1},
        {Kiv::Colour::paperRaised, 0xFAF7F1, 0x1F2226, 1},
        {Kiv::Colour::ink, 0x231F1B, 0xEAE6DE, 1},
        {Kiv::Colour::hairline, 0xC7C0B2, 0x3A3F45, 1},
        {Kiv::Colour::indigo, 0x3D566B, 0x94ADC1, 1},
        {Kiv::Colour::moss, 0x596B4E, 0xA3B795, 1},
        {Kiv::Colour::vermilion, 0xB03A2B, 0xE07A63, 1},
        {Kiv::Colour::inkSoft, 0x231F1B, 0xEAE6DE, 0.78},
        {Kiv::Colour::inkFaint, 0x231F1B, 0xEAE6DE, 0.66},
        {Kiv::Colour::inkGhost, 0x231F1B, 0xEAE6DE, 0.34},
        {Kiv::Colour::planned, 0x3D566B, 0x94ADC1, 1},
        {Kiv::Colour::actual, 0x596B4E, 0xA3B795, 1},
    };
    for (const Case &c : cases) {
        const QColor light = Kiv::colour(c.colour, Kiv::Appearance::light);
        const QColor dark = Kiv::colour(c.colour, Kiv::Appearance::dark);
        EXPECT_EQ(light.rgb() & 0xFFFFFF, c.light) << int(c.colour);
        EXPECT_EQ(dark.rgb() & 0xFFFFFF, c.dark) << int(c.colour);
        EXPECT_NEAR(light.alphaF(), c.alpha, 0.005) << int(c.colour);
        EXPECT_NEAR(dark.alphaF(), c.alpha, 0.005) << int(c.colour);
    }
}

TEST(KivPalette, NamedColoursFollowTheAppearanceInEffectAndMultiplyOpacities)
{
    ScaleGuard guard;
    Kiv::setAppearance(Kiv::Appearance::light);
    EXPECT_EQ(Kiv::ink().rgb() & 0xFFFFFF, 0x231F1Bu);
    Kiv::setAppearance(Kiv::Appearance::dark);
    EXPECT_EQ(Kiv::ink().rgb() & 0xFFFFFF, 0xEAE6DEu);
    EXPECT_EQ(Kiv::inkFaint().rgb() & 0xFFFFFF, 0xEAE6DEu);
    EXPECT_NEAR(Kiv::inkFaint().alphaF(), 0.66, 0.005);
    // A derived ink at an opacity: both factors apply.
    EXPECT_NEAR(Kiv::inkFaint(0.7).alphaF(), 0.66 * 0.7, 0.005);
    EXPECT_NEAR(Kiv::ink(0.045).alphaF(), 0.045, 0.005);
}

TEST(KivPalette, WidgetPaletteDrawsPaperAndInkOfTheAppearance)
{
    for (Kiv::Appearance a : {Kiv::Appearance::light, Kiv::Appearance::dark}) {
        const QPalette p = Kiv::palette(a);
        EXPECT_EQ(p.color(QPalette::Window), Kiv::colour(Kiv::Colour::paper, a));
        EXPECT_EQ(p.color(QPalette::Text), Kiv::colour(Kiv::Colour::ink, a));
        EXPECT_EQ(p.color(QPalette::Highlight), Kiv::colour(Kiv::Colour::indigo, a));
    }
}

TEST(KivFonts, SizesAreLogicalPixelsTimesTheTextScale)
{
    ScaleGuard guard;
    Kiv::setScale(1.6);
    EXPECT_NEAR(Kiv::pixelSize(Kiv::font(13)), 20.8, 0.01);
    EXPECT_NEAR(Kiv::pixelSize(Kiv::fixedFont(13)), 13.0, 0.01);
    Kiv::setScale(1.0);
    EXPECT_NEAR(Kiv::pixelSize(Kiv::font(9.5, Kiv::Design::serif)), 9.5, 0.01);
}

TEST(KivFonts, DesignsResolveToTheNotoFacesWhenInstalled)
{
    for (Kiv::Design design : {Kiv::Design::sans, Kiv::Design::serif}) {
        const QString family = Kiv::family(design);
        if (!QFontDatabase::families().contains(family))
            GTEST_SKIP() << family.toStdString() << " is not installed";
        EXPECT_EQ(QFontInfo(Kiv::font(12, design)).family(), family);
        EXPECT_EQ(QFontInfo(Kiv::font(12, design, QFont::Medium)).family(), family);
    }
}

using KivTrackingJapanese = InJapanese;
using KivTrackingEnglish = InEnglish;

TEST_F(KivTrackingJapanese, TextIsSpacedByTheJapaneseValue)
{
    EXPECT_DOUBLE_EQ(Kiv::tracked(Kiv::font(13), 3, 0.36).letterSpacing(), 3);
}

TEST_F(KivTrackingEnglish, TextIsSpacedByTheEnglishValue)
{
    const QFont f = Kiv::tracked(Kiv::font(13), 3, 0.36);
    EXPECT_NEAR(f.letterSpacing(), 0.36, 1.0 / 64); // kept in 1/64 px
    EXPECT_EQ(f.letterSpacingType(), QFont::AbsoluteSpacing);
}

} // namespace
