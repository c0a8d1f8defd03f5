#include "core/Kiv.h"

#include "core/L.h"

#include <QGuiApplication>
#include <QScreen>
#include <algorithm>

namespace {
double g_scale = 1.0;
Kiv::Appearance g_appearance = Kiv::Appearance::light;

struct Pair
{
    QRgb light;
    QRgb dark;
};

// The base colours; a derived ink names its base and its opacity.
Pair base(Kiv::Colour name)
{
    switch (name) {
    case Kiv::Colour::paper: return {0xF3EFE7, 0x16181B};
    case Kiv::Colour::paperRaised: return {0xFAF7F1, 0x1F2226};
    case Kiv::Colour::ink:
    case Kiv::Colour::inkSoft:
    case Kiv::Colour::inkFaint:
    case Kiv::Colour::inkGhost: return {0x231F1B, 0xEAE6DE};
    case Kiv::Colour::hairline: return {0xC7C0B2, 0x3A3F45};
    case Kiv::Colour::indigo:
    case Kiv::Colour::planned: return {0x3D566B, 0x94ADC1};
    case Kiv::Colour::moss:
    case Kiv::Colour::actual: return {0x596B4E, 0xA3B795};
    case Kiv::Colour::vermilion: return {0xB03A2B, 0xE07A63};
    }
    return {0x000000, 0xFFFFFF};
}

double ownOpacity(Kiv::Colour name)
{
    switch (name) {
    case Kiv::Colour::inkSoft: return 0.78;
    case Kiv::Colour::inkFaint: return 0.66;
    case Kiv::Colour::inkGhost: return 0.34;
    default: return 1.0;
    }
}

// Logical pixels to points on the screens the program draws on (the
// toolkit sizes fonts in points against the logical resolution).
double pointsFor(double pixels)
{
    const QScreen *screen = QGuiApplication::primaryScreen();
    const double dpi = screen ? screen->logicalDotsPerInchY() : 96.0;
    return pixels * 72.0 / (dpi > 0 ? dpi : 96.0);
}
} // namespace

namespace Kiv {
double scale()
{
    return g_scale;
}

void setScale(double scale)
{
    g_scale = scale;
}

Appearance appearance()
{
    return g_appearance;
}

void setAppearance(Appearance appearance)
{
    g_appearance = appearance;
}

QColor colour(Colour name, Appearance appearance, double opacity)
{
    const Pair pair = base(name);
    QColor c = QColor::fromRgb(appearance == Appearance::dark ? pair.dark : pair.light);
    c.setAlphaF(float(std::clamp(ownOpacity(name) * opacity, 0.0, 1.0)));
    return c;
}

QColor colour(Colour name, double opacity)
{
    return colour(name, g_appearance, opacity);
}

QPalette palette(Appearance a)
{
    auto c = [a](Colour name, double opacity = 1.0) { return colour(name, a, opacity); };
    QPalette p;
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        const bool off = group == QPalette::Disabled;
        p.setColor(group, QPalette::Window, c(Colour::paper));
        p.setColor(group, QPalette::WindowText, off ? c(Colour::inkGhost) : c(Colour::ink));
        p.setColor(group, QPalette::Base, c(Colour::paperRaised));
        p.setColor(group, QPalette::AlternateBase, c(Colour::paper));
        p.setColor(group, QPalette::Text, off ? c(Colour::inkGhost) : c(Colour::ink));
        p.setColor(group, QPalette::PlaceholderText, c(Colour::inkFaint));
        p.setColor(group, QPalette::Button, c(Colour::paperRaised));
        p.setColor(group, QPalette::ButtonText, off ? c(Colour::inkGhost) : c(Colour::ink));
        p.setColor(group, QPalette::BrightText, c(Colour::vermilion));
        p.setColor(group, QPalette::Highlight, c(Colour::indigo));
        p.setColor(group, QPalette::HighlightedText, c(Colour::paper));
        p.setColor(group, QPalette::Link, c(Colour::indigo));
        p.setColor(group, QPalette::LinkVisited, c(Colour::indigo));
        p.setColor(group, QPalette::ToolTipBase, c(Colour::paperRaised));
        p.setColor(group, QPalette::ToolTipText, c(Colour::ink));
        p.setColor(group, QPalette::Light, c(Colour::paperRaised));
        p.setColor(group, QPalette::Midlight, c(Colour::paper));
        p.setColor(group, QPalette::Mid, c(Colour::hairline));
        p.setColor(group, QPalette::Dark, c(Colour::hairline));
        p.setColor(group, QPalette::Shadow, c(Colour::ink, 0.3));
    }
    return p;
}

QString family(Design design)
{
    return design == Design::serif ? QStringLiteral("Noto Serif CJK JP") : QStringLiteral("Noto Sans CJK JP");
}

QFont fixedFont(double size, Design design, QFont::Weight weight)
{
    QFont f;
    f.setFamilies({family(design)});
    f.setStyleHint(design == Design::serif ? QFont::Serif : QFont::SansSerif);
    f.setPointSizeF(pointsFor(std::max(size, 0.5)));
    // The serif's kana and kanji hairlines (the first stroke of に, the dots
    // of a voiced kana) are thinner than a pixel below 14 px, and the toolkit
    // blends this face's glyphs in linear light, which thins dark strokes on
    // paper further: they break up at 1× and 2× alike. Small serif Japanese
    // takes the heavier cut, which keeps every stroke. (Latin letters are
    // made of stems, which the face's hinting darkens: English keeps the
    // regular cut.)
    if (design == Design::serif && weight == QFont::Normal && size < kSmallSerif && Lang::isJapanese())
        weight = QFont::DemiBold;
    f.setWeight(weight);
    return f;
}

QFont font(double size, Design design, QFont::Weight weight)
{
    return fixedFont(size * g_scale, design, weight);
}

QFont tracked(QFont font, double japanese, double english)
{
    font.setLetterSpacing(QFont::AbsoluteSpacing, Lang::isJapanese() ? japanese : english);
    return font;
}

double pixelSize(const QFont &font)
{
    if (font.pixelSize() > 0)
        return font.pixelSize();
    return font.pointSizeF() / pointsFor(1.0);
}

double lineHeight(const QFont &font)
{
    return 1.2 * pixelSize(font);
}

double baselineFor(const QFont &font, double centreY)
{
    // The ideographic em box runs from 0.88 above the baseline to 0.12
    // below it: its middle is 0.38 above the baseline.
    return centreY + 0.38 * pixelSize(font);
}
} // namespace Kiv
