#include "core/LineBreaker.h"

#include <QFontMetricsF>
#include <QTextBoundaryFinder>
#include <QTextLayout>
#include <algorithm>
#include <vector>

namespace {

// Characters that may not begin a line: closing brackets and quotes,
// punctuation that follows what it closes, small kana, the prolonged-sound
// mark, iteration marks, the middle dot, dashes and ellipses that belong to
// what comes before them.
bool mayNotStart(char16_t c)
{
    switch (c) {
    case u')': case u']': case u'}': case u',': case u'.': case u':': case u';': case u'?': case u'!':
    case u'»': case u'’': case u'”': case u'‐': case u'–': case u'‥': case u'…': case u'‼': case u'⁇':
    case u'⁈': case u'⁉':
    case u'、': case u'。': case u'〉': case u'》': case u'」': case u'』': case u'】': case u'〕': case u'〗':
    case u'〙': case u'〛': case u'〟': case u'〜': case u'〻': case u'々': case u'゛': case u'゜': case u'゠':
    case u'ゝ': case u'ゞ': case u'・': case u'ー': case u'ヽ': case u'ヾ':
    case u'！': case u'）': case u'，': case u'．': case u'：': case u'；': case u'？': case u'］': case u'｝':
    case u'～': case u'｠': case u'｡': case u'｣': case u'､': case u'･': case u'ｰ':
        return true;
    default:
        break;
    }
    // Small hiragana and katakana (ぁ ぃ ぅ ぇ ぉ っ ゃ ゅ ょ ゎ ゕ ゖ and the same
    // in katakana, the small katakana extension and half-width forms).
    switch (c) {
    case u'ぁ': case u'ぃ': case u'ぅ': case u'ぇ': case u'ぉ': case u'っ': case u'ゃ': case u'ゅ': case u'ょ':
    case u'ゎ': case u'ゕ': case u'ゖ':
    case u'ァ': case u'ィ': case u'ゥ': case u'ェ': case u'ォ': case u'ッ': case u'ャ': case u'ュ': case u'ョ':
    case u'ヮ': case u'ヵ': case u'ヶ':
        return true;
    default:
        break;
    }
    return (c >= 0x31F0 && c <= 0x31FF) || (c >= 0xFF67 && c <= 0xFF6F);
}

// Characters that may not end a line: opening brackets and quotes.
bool mayNotEnd(char16_t c)
{
    switch (c) {
    case u'(': case u'[': case u'{': case u'«': case u'‘': case u'“':
    case u'〈': case u'《': case u'「': case u'『': case u'【': case u'〔': case u'〖': case u'〘': case u'〚':
    case u'〝': case u'（': case u'［': case u'｛': case u'｟': case u'｢':
        return true;
    default:
        return false;
    }
}

bool isBlank(QChar c)
{
    return c.isSpace();
}

bool isWide(QChar c)
{
    const char16_t u = c.unicode();
    return (u >= 0x2E80 && u <= 0x9FFF) || (u >= 0xF900 && u <= 0xFAFF) || (u >= 0xFF00 && u <= 0xFFEF);
}

// One paragraph measured once: the pen position at every grapheme boundary,
// and where the line-breaking rules let a line end.
class Paragraph
{
public:
    Paragraph(const QString &text, const QFont &font)
        : m_text(text)
        , m_n(text.size())
        , m_x(size_t(m_n + 1), 0.0)
        , m_grapheme(size_t(m_n + 1), false)
        , m_break(size_t(m_n + 1), false)
    {
        QTextBoundaryFinder graphemes(QTextBoundaryFinder::Grapheme, text);
        for (qsizetype at = 0; at >= 0 && at <= m_n; at = graphemes.toNextBoundary())
            m_grapheme[size_t(at)] = true;
        m_grapheme[size_t(m_n)] = true;

        QTextBoundaryFinder breaks(QTextBoundaryFinder::Line, text);
        for (qsizetype at = breaks.toNextBoundary(); at > 0 && at <= m_n; at = breaks.toNextBoundary())
            m_break[size_t(at)] = at == m_n || allowedBetween(at);

        // The pen positions in one pass: the paragraph shaped once and laid
        // out a character to a line, each line's advance (which carries the
        // kerning and letter spacing after it) added up. A line's advance
        // leaves out the blanks it ends on: those are measured on their own.
        QTextLayout layout(text, font);
        QTextOption option;
        option.setWrapMode(QTextOption::WrapAnywhere);
        layout.setTextOption(option);
        layout.beginLayout();
        const QFontMetricsF metrics(font);
        std::vector<bool> measured(size_t(m_n + 1), false);
        double x = 0;
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLineWidth(0);
            const qsizetype start = line.textStart();
            const qsizetype end = start + line.textLength();
            qsizetype content = end;
            while (content > start && isBlank(text.at(content - 1)))
                --content;
            m_x[size_t(start)] = x;
            measured[size_t(start)] = true;
            x += line.naturalTextWidth();
            for (qsizetype at = content; at < end; ++at) {
                m_x[size_t(at)] = x;
                measured[size_t(at)] = true;
                x += blankWidth(metrics, text.at(at));
            }
            m_x[size_t(end)] = x;
            measured[size_t(end)] = true;
        }
        layout.endLayout();
        m_x[size_t(m_n)] = x;
        measured[size_t(m_n)] = true;
        // A cluster laid out as one (a ligature) is never broken inside.
        for (qsizetype at = 0; at <= m_n; ++at)
            if (!measured[size_t(at)]) {
                m_grapheme[size_t(at)] = false;
                m_break[size_t(at)] = false;
            }
    }

    qsizetype size() const { return m_n; }

    // The lines at `width`, each without the blanks around its breaks.
    QList<LineBreaker::Line> linesAt(double width) const
    {
        QList<LineBreaker::Line> lines;
        const double limit = width + 0.01;
        qsizetype start = skipBlanks(0);
        while (start < m_n) {
            qsizetype end = -1;
            qsizetype firstBreak = -1;
            for (qsizetype at = start + 1; at <= m_n; ++at) {
                if (!m_break[size_t(at)])
                    continue;
                if (firstBreak < 0)
                    firstBreak = at;
                if (widthOf(start, at) > limit)
                    break;
                end = at;
            }
            if (end < 0)
                end = splitPiece(start, firstBreak < 0 ? m_n : firstBreak, limit);
            else if (end < m_n)
                end = afterPunctuationNearby(start, end);
            const qsizetype last = trimmedEnd(start, end);
            lines.append({start, last - start, widthOf(start, end)});
            start = skipBlanks(end);
        }
        return lines;
    }

    // Whether the line leaves too little on a paragraph's last line: one or
    // two characters (the punctuation that closes them not counted), or a
    // single word of a text spaced into words.
    bool isRunt(const LineBreaker::Line &line) const
    {
        int graphemes = 0;
        bool wide = false;
        bool blank = false;
        for (qsizetype at = line.start; at < line.start + line.length; ++at) {
            if (m_grapheme[size_t(at)] && !mayNotStart(m_text.at(at).unicode()))
                ++graphemes;
            wide = wide || isWide(m_text.at(at));
            blank = blank || isBlank(m_text.at(at));
        }
        if (graphemes <= 2)
            return true;
        if (wide || blank)
            return false;
        // A lone word, where the text is made of words.
        for (qsizetype at = 0; at < line.start; ++at)
            if (isBlank(m_text.at(at)))
                return true;
        return false;
    }

    // The widest stretch between two break opportunities: the narrowest
    // the paragraph can be set without tearing a word.
    double widestPiece() const
    {
        double widest = 0;
        qsizetype start = skipBlanks(0);
        for (qsizetype at = start + 1; at <= m_n; ++at) {
            if (!m_break[size_t(at)])
                continue;
            widest = std::max(widest, widthOf(start, at));
            start = skipBlanks(at);
        }
        return widest;
    }

private:
    // A break the rules of Japanese setting keep: not before a character
    // that may not begin a line, not after one that may not end it (blanks
    // at the break are looked through).
    bool allowedBetween(qsizetype at) const
    {
        qsizetype before = at - 1;
        while (before > 0 && isBlank(m_text.at(before)))
            --before;
        qsizetype after = at;
        while (after < m_n - 1 && isBlank(m_text.at(after)))
            ++after;
        // A number keeps the counter or unit after it, written straight
        // after it ("25分", "3日") or a blank apart ("5 min", "3 tasks").
        if (m_text.at(before).isDigit()
            && (before == at - 1 ? isWide(m_text.at(at)) : m_text.at(after).isLetter() && !isWide(m_text.at(after))))
            return false;
        return !mayNotEnd(m_text.at(before).unicode()) && !mayNotStart(m_text.at(after).unicode());
    }

    // The advance of a blank, measured once for each kind met.
    double blankWidth(const QFontMetricsF &metrics, QChar blank)
    {
        for (const auto &[c, width] : m_blanks)
            if (c == blank)
                return width;
        const double width = metrics.horizontalAdvance(blank);
        m_blanks.emplace_back(blank, width);
        return width;
    }

    double widthOf(qsizetype start, qsizetype end) const
    {
        return m_x[size_t(trimmedEnd(start, end))] - m_x[size_t(start)];
    }

    qsizetype trimmedEnd(qsizetype start, qsizetype end) const
    {
        while (end > start && isBlank(m_text.at(end - 1)))
            --end;
        return end;
    }

    qsizetype skipBlanks(qsizetype at) const
    {
        while (at < m_n && isBlank(m_text.at(at)))
            ++at;
        return at;
    }

    // A number is never parted from the counter or unit after it ("25分",
// "5 min").
// A line that would end a character or two past a comma, a full stop
    // or a closing bracket ends there instead, so that the word after it
    // ("、わ / が子") is not torn.
    qsizetype afterPunctuationNearby(qsizetype start, qsizetype end) const
    {
        if (closesPhrase(m_text.at(end - 1)))
            return end;
        int back = 0;
        for (qsizetype at = end - 1; at > start && back < 2; --at) {
            if (!m_grapheme[size_t(at)])
                continue;
            ++back;
            if (m_break[size_t(at)] && closesPhrase(m_text.at(at - 1)))
                return at;
        }
        return end;
    }

    static bool closesPhrase(QChar c)
    {
        switch (c.unicode()) {
        case u'、': case u'。': case u'，': case u'．': case u'」': case u'』': case u'）': case u'！': case u'？':
            return true;
        default:
            return false;
        }
    }

    // Where a piece without a break opportunity that is too wide for its
    // line is broken: between characters, as far along as fits, never
    // where Japanese setting forbids; at least one character goes.
    qsizetype splitPiece(qsizetype start, qsizetype pieceEnd, double limit) const
    {
        qsizetype fitting = -1;
        qsizetype first = -1;
        for (qsizetype at = start + 1; at < pieceEnd; ++at) {
            if (!m_grapheme[size_t(at)] || !allowedBetween(at))
                continue;
            if (first < 0)
                first = at;
            if (widthOf(start, at) > limit)
                break;
            fitting = at;
        }
        if (fitting > 0)
            return fitting;
        return first > 0 ? first : pieceEnd;
    }

    const QString &m_text;
    qsizetype m_n;
    std::vector<double> m_x;
    std::vector<bool> m_grapheme;
    std::vector<bool> m_break;
    std::vector<std::pair<QChar, double>> m_blanks;
};

} // namespace

namespace LineBreaker {

QList<Line> wrap(const QString &paragraph, const QFont &font, double width)
{
    if (paragraph.trimmed().isEmpty())
        return {};
    width = std::max(1.0, width);
    const Paragraph measured(paragraph, font);
    const QList<Line> plain = measured.linesAt(width);
    if (plain.size() < 2 || !measured.isRunt(plain.last()))
        return plain;

    // Narrower measures, half a character at a time, while the paragraph
    // keeps its number of lines; the first that fills the last line wins.
    const double pixels = font.pixelSize() > 0 ? font.pixelSize() : font.pointSizeF() * 96.0 / 72.0;
    const double step = std::max(1.0, pixels / 2);
    // Never narrower than the widest word: a last line is not worth a torn one.
    const double floor = std::max(width * 0.6, measured.widestPiece());
    for (double narrower = width - step; narrower >= floor; narrower -= step) {
        const QList<Line> tried = measured.linesAt(narrower);
        if (tried.size() > plain.size())
            break;
        if (!measured.isRunt(tried.last()))
            return tried;
    }
    return plain;
}

double widestPiece(const QString &text, const QFont &font)
{
    double widest = 0;
    for (const QString &paragraph : text.split(QLatin1Char('\n')))
        if (!paragraph.trimmed().isEmpty())
            widest = std::max(widest, Paragraph(paragraph, font).widestPiece());
    return widest;
}

QStringList lines(const QString &text, const QFont &font, double width)
{
    QStringList out;
    if (text.isEmpty())
        return out;
    for (const QString &paragraph : text.split(QLatin1Char('\n'))) {
        const QList<Line> set = wrap(paragraph, font, width);
        if (set.isEmpty()) {
            out << QString();
            continue;
        }
        for (const Line &line : set)
            out << paragraph.mid(line.start, line.length);
    }
    return out;
}

} // namespace LineBreaker
