#include "core/L.h"
#include "support/LanguageFixtures.h"

#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <gtest/gtest.h>

namespace {

// The texts that read in Japanese whatever the interface language: the
// again button and the closing words of a run, the practice shelf's two
// groups, its composer and its tally line, and the caption under the
// copy-the-prompt button (the prompt it copies is Japanese too).
const QSet<QString> &staysJapanese()
{
    static const QSet<QString> keys = {
        QStringLiteral("もう一度"),
        QStringLiteral("おつかれさまでした"),
        QStringLiteral("日々"),
        QStringLiteral("折々"),
        QStringLiteral("坐禅、日記、素振り…"),
        QStringLiteral("毎日が問われます。今日のぶんとして数えます。"),
        QStringLiteral("毎日は問われません。やった日だけ跡が残ります。"),
        QStringLiteral("最後は{0}"),
        QStringLiteral("まだ手をつけていません"),
        QStringLiteral("書き出した控えを、この頼み文と一緒に AI に渡すと、\n"
                       "時間の使い方について話し相手になってもらえます。\n\n"
                       "控えには、作務の題目や、朝と暮れに書いた一行が入っています。\n"
                       "人に見せたくないものが混ざっているときは、\n"
                       "「題目を伏せて書き出す」のほうをお使いください。"),
    };
    return keys;
}

} // namespace

TEST_F(InEnglish, TextsKeptInJapaneseReadTheSameInEnglish)
{
    for (const QString &key : staysJapanese()) {
        SCOPED_TRACE(key.toStdString());
        EXPECT_FALSE(English::table().contains(key));
        EXPECT_EQ(L(key), key);
    }
    // Only the date inside follows the language.
    EXPECT_EQ(L(QStringLiteral("最後は{0}"), QStringLiteral("Mar 5")), QStringLiteral("最後はMar 5"));
    // Their neighbours with English stay English.
    EXPECT_EQ(L(QStringLiteral("おつかれさまでした。")), QStringLiteral("Well done."));
    EXPECT_EQ(L(QStringLiteral("日々に移す")), QStringLiteral("Move to Daily"));
}

// Every literal key that the program's code passes to L must have an English
// text, or English users would meet Japanese in the middle of the interface;
// only the few texts kept in Japanese on purpose have none.
TEST(EnglishCoverage, EveryLiteralKeyInTheCodeHasAnEnglishText)
{
    static const QRegularExpression call(QStringLiteral(R"re(\bL\(\s*(?:QStringLiteral\()?("(?:[^"\\]|\\.)*"(?:\s*"(?:[^"\\]|\\.)*")*))re"));
    const auto &table = English::table();
    QStringList missing;
    int seen = 0;
    QDirIterator it(QStringLiteral(QUILLMERE_SOURCE_DIR "/src"), {QStringLiteral("*.cpp"), QStringLiteral("*.h")},
                    QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
        const QString text = QString::fromUtf8(file.readAll());
        for (auto m = call.globalMatch(text); m.hasNext();) {
            // Adjacent literals ("…\n" "…") make one key.
            static const QRegularExpression piece(QStringLiteral(R"re("((?:[^"\\]|\\.)*)")re"));
            QString key;
            const QString literals = m.next().captured(1);
            for (auto p = piece.globalMatch(literals); p.hasNext();)
                key += p.next().captured(1);
            key.replace(QStringLiteral("\\n"), QStringLiteral("\n")).replace(QStringLiteral("\\\""), QStringLiteral("\""));
            ++seen;
            if (!table.contains(key) && !staysJapanese().contains(key))
                missing << QStringLiteral("%1: %2").arg(path.section(QLatin1Char('/'), -2), key);
        }
    }
    EXPECT_GT(seen, 10) << "the scan found the calls";
    EXPECT_TRUE(missing.isEmpty()) << missing.join(QLatin1Char('\n')).toStdString();
}
