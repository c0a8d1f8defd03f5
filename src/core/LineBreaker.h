#pragma once

#include <QFont>
#include <QList>
#include <QString>
#include <QStringList>

// How every wrapped text of the program is broken into lines: at the break
// opportunities of the Unicode line-breaking rules, and as Japanese is set:
// no line begins with closing punctuation, a small kana, the prolonged-sound
// mark or an iteration mark (。、」』）・ゃゅょっー々…), and no line ends with
// an opening bracket (「『（…). A line that would end a character or two past
// a comma or a full stop ends at it. A word too long for its line is broken
// between characters, still by those rules.
//
// A paragraph whose last line would hold only one or two characters besides
// its closing punctuation (or one word of a spaced text) is set a little narrower, when that gives the last
// line more company without adding a line; it never gets wider than asked.
namespace LineBreaker {

// One line of a paragraph: where it starts and how many UTF-16 units it
// holds, without the blanks around a break, and how wide it is set.
struct Line
{
    qsizetype start = 0;
    qsizetype length = 0;
    double width = 0;

    bool operator==(const Line &) const = default;
};

// The lines of one paragraph (a text without line feeds) set in `font` at
// most `width` wide (a line holding one unbreakable piece may be wider).
// An empty or blank paragraph has no lines.
QList<Line> wrap(const QString &paragraph, const QFont &font, double width);

// The lines of a text as drawn: its own line feeds kept, an empty line kept
// as an empty line, every paragraph wrapped as above; each line without the
// blanks at its ends.
QStringList lines(const QString &text, const QFont &font, double width);

// How wide the widest piece of a text is that no rule lets a line break
// inside (a word; in Japanese a character with what clings to it).
double widestPiece(const QString &text, const QFont &font);

} // namespace LineBreaker
