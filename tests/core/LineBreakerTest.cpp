#include "core/Kiv.h"
#include "core/LineBreaker.h"
#include "support/ProgramTexts.h"

#include <QFontMetricsF>
#include <QTextBoundaryFinder>
#include <QTextLayout>
#include <gtest/gtest.h>

namespace {

// What Japanese setting forbids, written out here on its own: closing
// punctuation, small kana, the prolonged-sound and iteration marks may not
// open a line; opening brackets may not close one.
const QString kNoLineStart = QStringLiteral("。、，．」』）〕］｝〉》】〙〗〟・ゃゅょっぁぃぅぇぉゎァィゥェォッャュョヮヵヶー々ゝゞヽヾ！？：；…‥〜”’»,.;:!?)]}");
const QString kNoLineEnd = QStringLiteral("「『（〔［｛〈《【〘〖〝“‘«([{");

int graphemes(const QString &text)
{
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, text);
    int count = 0;
    while (finder.toNextBoundary() > 0)
        ++count;
    return count;
}

// The characters of a line, the punctuation that closes them not counted.
int characters(const QString &line)
{
    QString words = line;
    words.removeIf([](QChar c) { return kNoLineStart.contains(c); });
    return graphemes(words);
}

// The lines Qt's own breaker gives, as the text widgets set them before.
QStringList qtLines(const QString &paragraph, const QFont &font, double width)
{
    QStringList lines;
    QTextLayout layout(paragraph, font);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        lines << paragraph.mid(line.textStart(), line.textLength()).trimmed();
    }
    layout.endLayout();
    return lines;
}

// The first fault of Japanese setting in the lines, or nothing.
QString faultIn(const QStringList &lines)
{
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString &line = lines.at(i);
        if (line.isEmpty())
            continue;
        if (i > 0 && !lines.at(i - 1).isEmpty() && kNoLineStart.contains(line.front()))
            return QStringLiteral("line %1 starts with %2: %3").arg(i).arg(line.front()).arg(lines.join(u'/'));
        if (i + 1 < lines.size() && !lines.at(i + 1).isEmpty() && kNoLineEnd.contains(line.back()))
            return QStringLiteral("line %1 ends with %2: %3").arg(i).arg(line.back()).arg(lines.join(u'/'));
    }
    return {};
}

} // namespace

TEST(LineBreaker, NoLineOfAnyProgramTextOpensOrClosesAgainstJapaneseSetting)
{
    // Every text in both languages, in the faces and sizes of the captions,
    // notes and reading pages, from a column of three characters to a wide
    // one: where Qt alone would break before 」 or っ, the lines keep them.
    const QList<QFont> fonts = {Kiv::font(12), Kiv::font(13, Kiv::Design::serif),
                                Kiv::tracked(Kiv::font(12, Kiv::Design::serif), 2, 0.24)};
    const QList<double> widths = {40, 64, 90, 124, 170, 230, 310};
    const QStringList texts = ProgramTexts::all();
    ASSERT_GT(texts.size(), 1000);
    QStringList faults;
    QStringList tooWide;
    for (const QString &text : texts)
        for (const QFont &font : fonts) {
            const QFontMetricsF metrics(font);
            for (double width : widths) {
                const QStringList lines = LineBreaker::lines(text, font, width);
                const QString fault = faultIn(lines);
                if (!fault.isEmpty() && faults.size() < 20)
                    faults << QStringLiteral("%1 px: %2").arg(width).arg(fault);
                // From a caption's width on, every line fits but a word
                // longer than the line.
                if (width < 120)
                    continue;
                for (const QString &line : lines)
                    if (metrics.horizontalAdvance(line) > width + 0.5 && graphemes(line) > 1 && tooWide.size() < 20)
                        tooWide << QStringLiteral("%1 px: %2").arg(width).arg(line);
            }
        }
    EXPECT_TRUE(faults.isEmpty()) << faults.join(u'\n').toStdString();
    EXPECT_TRUE(tooWide.isEmpty()) << tooWide.join(u'\n').toStdString();
}

TEST(LineBreaker, PiecesTooWideForTheirLineBreakOnlyWhereJapaneseSettingAllows)
{
    const QFont font = Kiv::font(13, Kiv::Design::serif);
    const double em = QFontMetricsF(font).horizontalAdvance(QStringLiteral("あ"));
    struct Case
    {
        const char *text;
        double ems; // the width, in characters
    };
    for (const Case &c : {Case{"「只管打坐（しかんたざ）」という古い言葉から。", 2.2},
                          Case{"きゃっきゃっと笑う「これ」。ちょっとしたことです。", 2.2},
                          Case{"坐る。「了とする」か「手を離す」で次へ。", 1.6},
                          Case{"ファイル（client_secret_….json）です。", 4.3}}) {
        const QString text = QString::fromUtf8(c.text);
        SCOPED_TRACE(c.text);
        const double width = c.ems * em;
        ASSERT_FALSE(faultIn(qtLines(text, font, width)).isEmpty()) << "Qt alone breaks this one badly";
        const QStringList lines = LineBreaker::lines(text, font, width);
        EXPECT_EQ(faultIn(lines), QString());
        EXPECT_EQ(lines.join(QString()), QString(text).remove(u' '));
        for (const QString &line : lines)
            EXPECT_TRUE(QFontMetricsF(font).horizontalAdvance(line) <= width + 0.5 || graphemes(line) <= 3)
                << line.toStdString();
    }
}

// "25分坐って5 / 分の経行" and "then 5 / min" part a number from its unit; at
// no width does a line end on a digit whose unit opens the next line.
TEST(LineBreaker, ANumberStaysWithTheUnitAfterIt)
{
    const QFont font = Kiv::font(13);
    const double em = QFontMetricsF(font).horizontalAdvance(QStringLiteral("あ"));
    for (const char *raw : {"腰を据えて、25分坐って5分の経行", "いっちゅう・線香一本ぶん。50分坐って10分歩く",
                            "ichiza · settle in: sit 25 min, then 5 min of kinhin"}) {
        const QString text = QString::fromUtf8(raw);
        for (double ems = 3; ems <= 16; ems += 0.25) {
            const QStringList lines = LineBreaker::lines(text, font, ems * em);
            for (qsizetype i = 0; i + 1 < lines.size(); ++i)
                EXPECT_FALSE(lines[i].back().isDigit() && lines[i + 1].front().isLetter())
                    << raw << " at " << ems << " ems: " << lines.join(u'/').toStdString();
        }
    }
}

TEST(LineBreaker, ALastLineOfOneOrTwoCharactersGetsCompanyAtANarrowerMeasure)
{
    struct Case
    {
        const char *text;
        QFont font;
    };
    const QList<Case> cases = {
        {"気がそれても、気づいたところから戻ればよい。", Kiv::font(14, Kiv::Design::serif)},
        {"進み方を選んだあと、調身・調息・調心を順に踏んでから走り出します。", Kiv::font(12)},
        {"まずは只管だけでも使えます。", Kiv::font(14, Kiv::Design::serif)},
        {"Nothing here yet. Practices you return to every day,", Kiv::font(12)},
    };
    for (const Case &c : cases) {
        const QString text = QString::fromUtf8(c.text);
        SCOPED_TRACE(c.text);
        // A measure at which Qt alone leaves the last line nearly empty.
        double width = 0;
        for (double w = 400; w > 80 && width == 0; w -= 1) {
            const QStringList plain = qtLines(text, c.font, w);
            const QString last = plain.last();
            if (plain.size() >= 2 && (characters(last) <= 2 || (!last.contains(u' ') && text.contains(u' '))))
                width = w;
        }
        ASSERT_GT(width, 0) << "no measure leaves a runt";
        const QStringList plain = qtLines(text, c.font, width);
        const QStringList lines = LineBreaker::lines(text, c.font, width);
        EXPECT_EQ(lines.size(), plain.size()) << "no line is added";
        EXPECT_GE(characters(lines.last()), 3) << lines.join(u'/').toStdString();
        if (text.contains(u' ')) {
            EXPECT_TRUE(lines.last().contains(u' ')) << lines.join(u'/').toStdString();
        }
        for (const QString &line : lines)
            EXPECT_LE(QFontMetricsF(c.font).horizontalAdvance(line), width + 0.5) << "never wider than asked";
    }
}

// A word alone on the last line stays there when the only narrower measure
// that would give it company breaks the word before it.
TEST(LineBreaker, ALastLineIsNeverGivenCompanyByTearingAWord)
{
    const QFont font = Kiv::font(13);
    const QString text = QStringLiteral("Soundscape volume");
    const double word = LineBreaker::widestPiece(text, font);
    EXPECT_NEAR(word, QFontMetricsF(font).horizontalAdvance(QStringLiteral("Soundscape")), 1.0);
    EXPECT_EQ(LineBreaker::lines(text, font, std::ceil(word)), (QStringList{"Soundscape", "volume"}));
    EXPECT_LE(LineBreaker::widestPiece(QStringLiteral("音景の音量"), font),
              QFontMetricsF(font).horizontalAdvance(QStringLiteral("音景")) + 0.5)
        << "Japanese breaks between characters";
}

TEST(LineBreaker, ALineThatWouldEndJustPastACommaEndsAtIt)
{
    const QFont font = Kiv::font(12);
    const QString text = QStringLiteral("今日の三心：老心 ・ 細部にまで、わが子のように手をかける");
    const double width = QFontMetricsF(font).horizontalAdvance(QStringLiteral("今日の三心：老心 ・ 細部にまで、わ")) + 1;
    ASSERT_TRUE(qtLines(text, font, width).first().endsWith(u'わ')) << "Qt alone tears わが子";
    EXPECT_EQ(LineBreaker::lines(text, font, width),
              (QStringList{QStringLiteral("今日の三心：老心 ・ 細部にまで、"), QStringLiteral("わが子のように手をかける")}));
}

TEST(LineBreaker, KeepsLineFeedsAndEmptyLinesAndDropsTheBlanksAtABreak)
{
    const QFont font = Kiv::font(12);
    EXPECT_EQ(LineBreaker::lines(QString(), font, 100), QStringList());
    EXPECT_EQ(LineBreaker::lines(QStringLiteral("一行目\n\n三行目"), font, 300),
              (QStringList{QStringLiteral("一行目"), QString(), QStringLiteral("三行目")}));
    EXPECT_EQ(LineBreaker::lines(QStringLiteral("a\n   \nb"), font, 300),
              (QStringList{QStringLiteral("a"), QString(), QStringLiteral("b")}));
    // A lone last word that no narrower measure can keep company stays.
    const double words = QFontMetricsF(font).horizontalAdvance(QStringLiteral("one two"));
    EXPECT_EQ(LineBreaker::lines(QStringLiteral("one two  three"), font, words + 2),
              (QStringList{QStringLiteral("one two"), QStringLiteral("three")}));
    // Line positions leave the blanks out; a blank paragraph has no line.
    const QList<LineBreaker::Line> set = LineBreaker::wrap(QStringLiteral("  one two"), font, 300);
    ASSERT_EQ(set.size(), 1);
    EXPECT_EQ(set.first().start, 2);
    EXPECT_EQ(set.first().length, 7);
    EXPECT_TRUE(LineBreaker::wrap(QStringLiteral("   "), font, 300).isEmpty());
}
