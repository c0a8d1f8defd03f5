#pragma once

#include <QColor>
#include <QFont>
#include <QPalette>

// The theme: one paper-and-ink look for every window.
//
// - The text scale: every font size (and the size of some small marks and
//   text-holding frames) is given at scale 1 and multiplied by it. The
//   settings keep it in step with the "textScale" preference (1.0–1.6).
// - The palette: named colours with a light and a dark value, drawn in the
//   appearance in effect (the desktop's light or dark preference, which the
//   program copies in with setAppearance).
// - The fonts: one factory for every text, over the Noto CJK serif and sans
//   faces.
//
// Everything here is process-wide and used on the main thread only.
namespace Kiv {

double scale();
void setScale(double scale);

enum class Appearance { light, dark };
Appearance appearance();
// Only the desktop-appearance binding (and tests, still pictures) call this.
void setAppearance(Appearance appearance);

// The named colours. The derived inks are the ink at a fixed opacity.
enum class Colour {
    paper,       // the page of every window and sheet
    paperRaised, // a sheet lifted off the page
    ink,         // text, the brush circle
    hairline,    // thin rules and outlines
    indigo,      // the accent: links, active marks, focus
    moss,        // breaks, what was actually done
    vermilion,   // small marks: the current step, overdue, the seal
    inkSoft,     // ink at 0.78: secondary text
    inkFaint,    // ink at 0.66
    inkGhost,    // ink at 0.34
    planned,     // the indigo, for what was planned
    actual,      // the moss, for what was done
};

// The colour in the given appearance, with its opacity multiplied by
// `opacity` (a derived ink's own opacity included).
QColor colour(Colour name, Appearance appearance, double opacity = 1.0);
// The same in the appearance in effect.
QColor colour(Colour name, double opacity = 1.0);

inline QColor paper(double opacity = 1.0) { return colour(Colour::paper, opacity); }
inline QColor paperRaised(double opacity = 1.0) { return colour(Colour::paperRaised, opacity); }
inline QColor ink(double opacity = 1.0) { return colour(Colour::ink, opacity); }
inline QColor hairline(double opacity = 1.0) { return colour(Colour::hairline, opacity); }
inline QColor indigo(double opacity = 1.0) { return colour(Colour::indigo, opacity); }
inline QColor moss(double opacity = 1.0) { return colour(Colour::moss, opacity); }
inline QColor vermilion(double opacity = 1.0) { return colour(Colour::vermilion, opacity); }
inline QColor inkSoft(double opacity = 1.0) { return colour(Colour::inkSoft, opacity); }
inline QColor inkFaint(double opacity = 1.0) { return colour(Colour::inkFaint, opacity); }
inline QColor inkGhost(double opacity = 1.0) { return colour(Colour::inkGhost, opacity); }
inline QColor planned(double opacity = 1.0) { return colour(Colour::planned, opacity); }
inline QColor actual(double opacity = 1.0) { return colour(Colour::actual, opacity); }

// A widget palette in the appearance's colours, for the toolkit's own
// controls (text fields, menus, tool tips, scroll bars): paper behind, ink
// text, indigo as the accent.
QPalette palette(Appearance appearance);

// Fonts. Sans is the running text, serif the titles, names and quiet labels.
enum class Design { sans, serif };

// The face a design resolves to: "Noto Sans CJK JP" or "Noto Serif CJK JP".
QString family(Design design);

// Japanese serif text below this size (logical pixels, after the text
// scale) is set in the heavier cut, so that its hairlines survive.
inline constexpr double kSmallSerif = 14;

// A font of `size` logical pixels at scale 1, multiplied by the text scale.
// In Japanese, regular serif below kSmallSerif comes in the heavier cut.
QFont font(double size, Design design = Design::sans, QFont::Weight weight = QFont::Normal);
// A font of exactly `size` logical pixels, whatever the text scale (marks
// whose size does not follow the text).
QFont fixedFont(double size, Design design = Design::sans, QFont::Weight weight = QFont::Normal);
// The font with letter spacing `japanese` or `english` (logical pixels) by
// the interface language.
QFont tracked(QFont font, double japanese, double english);
// The size of a font from this factory, in logical pixels.
double pixelSize(const QFont &font);
// One line of text as layouts count it: 1.2 × the font's size. (The Noto
// faces declare far taller lines, about 1.45 × their size, which would
// spread stacked texts apart.)
double lineHeight(const QFont &font);
// The baseline that centres a line of text on `centreY`: ideographs and
// Latin capitals alike sit in the middle of their line.
double baselineFor(const QFont &font, double centreY);

} // namespace Kiv
