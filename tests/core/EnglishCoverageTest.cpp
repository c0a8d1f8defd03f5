#include "core/L.h"
#include "support/KeptInJapanese.h"
#include "support/LanguageFixtures.h"
#include "support/ProgramTexts.h"

#include <QDirIterator>
#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <gtest/gtest.h>

TEST_F(InEnglish, TextsKeptInJapaneseReadTheSameInEnglish)
{
    for (const QString &key : KeptInJapanese::keys()) {
        SCOPED_TRACE(key.toStdString());
        EXPECT_FALSE(English::text(key));
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
            if (!English::text(key) && !KeptInJapanese::keys().contains(key))
                missing << QStringLiteral("%1: %2").arg(path.section(QLatin1Char('/'), -2), key);
        }
    }
    EXPECT_GT(seen, 10) << "the scan found the calls";
    EXPECT_TRUE(missing.isEmpty()) << missing.join(QLatin1Char('\n')).toStdString();
}

// The program runs on a Linux desktop: no text may send its user to the
// other platform's Mac, System Settings, Calendar.app or menu bar, nor tell
// them to double-click "on Mac".
TEST(EnglishCoverage, NoTextOfEitherLanguageNamesTheOtherPlatform)
{
    static const QRegularExpression other(
        QStringLiteral(R"re(\bMac(OS)?\b|System Settings|システム設定|Calendar\.app|カレンダー\.app|menu[ -]?bar|メニューバー|double-click|ダブルクリック)re"),
        QRegularExpression::CaseInsensitiveOption);
    const QStringList texts = ProgramTexts::all();
    ASSERT_GT(texts.size(), 1000);
    QStringList found;
    for (const QString &text : texts)
        if (other.match(text).hasMatch())
            found << text.left(80);
    EXPECT_TRUE(found.isEmpty()) << found.join(QLatin1Char('\n')).toStdString();
}
