#include "core/English.h"
#include "core/L.h"
#include "support/LanguageFixtures.h"

#include <gtest/gtest.h>
#include <QRegularExpression>
#include <QSet>

namespace {

QSet<QString> placeholders(const QString &text)
{
    static const QRegularExpression pattern(QStringLiteral("\\{[0-9]+\\}"));
    QSet<QString> out;
    for (auto it = pattern.globalMatch(text); it.hasNext();)
        out.insert(it.next().captured());
    return out;
}

// True when the text holds Japanese punctuation, kana, ideographs or
// full-width forms: an English text holding them was left untranslated.
bool hasJapanese(const QString &text)
{
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if ((u >= 0x3000 && u <= 0x30FF) || (u >= 0x4E00 && u <= 0x9FFF) || (u >= 0xFF00 && u <= 0xFFEF))
            return true;
    }
    return false;
}

} // namespace

TEST(EnglishTable, EveryRowIsItsOwnEntryWithANonEmptyEnglishText)
{
    const auto rows = English::pairs();
    // A key written twice would give only one of its texts.
    QSet<QString> keys;
    for (const English::Pair &row : rows) {
        const QString key = QString::fromUtf8(row.japanese);
        SCOPED_TRACE(key.toStdString());
        EXPECT_FALSE(keys.contains(key));
        keys.insert(key);
        EXPECT_FALSE(key.split(QLatin1Char('|'), Qt::SkipEmptyParts).isEmpty());
        const std::optional<QString> english = English::text(key);
        ASSERT_TRUE(english);
        EXPECT_EQ(*english, QString::fromUtf8(row.english));
        EXPECT_FALSE(english->trimmed().isEmpty());
        EXPECT_FALSE(hasJapanese(*english));
    }
}

TEST(EnglishTable, TextsNotWrittenHaveNoEnglish)
{
    // Before every key, between two, and after every one.
    for (const QString &key : {QString(), QStringLiteral(" "), QStringLiteral("そのまま "),
                               QStringLiteral("外す|記録"), QString(QChar(0xFFFD)).repeated(3)}) {
        SCOPED_TRACE(key.toStdString());
        EXPECT_FALSE(English::text(key));
    }
}

TEST(EnglishTable, KeyAndEnglishCarryTheSamePlaceholders)
{
    // The one row whose English leaves a placeholder out: the reading of
    // the day's mind is not shown in English.
    const QSet<QString> dropsOne = {QStringLiteral("{0}（{1}）　{2}")};
    for (const English::Pair &row : English::pairs()) {
        const QString key = QString::fromUtf8(row.japanese);
        const QString english = QString::fromUtf8(row.english);
        SCOPED_TRACE(key.toStdString());
        if (dropsOne.contains(key)) {
            EXPECT_TRUE(placeholders(key).contains(placeholders(english)));
            EXPECT_EQ(placeholders(english).size(), placeholders(key).size() - 1);
        } else {
            EXPECT_EQ(placeholders(key), placeholders(english));
        }
    }
}

TEST_F(InEnglish, LookupGivesTheEnglishWrittenForEachKey)
{
    struct Case
    {
        const char *key;
        const char *english;
    };
    const Case cases[] = {
        {" ほか{0}日", " +{0} more"},
        {"{0}\n\n覚え書き: {1}", "{0}\n\nNote: {1}"},
        {"{0} を終えたことにします", "Marks {0} as done"},
        {"{0} 件を迎え入れました。", "Brought in {0}."},
        {"{0} 日、触れていません", "Untouched for {0} days"},
        {"{0}　{1} 分", "{0}  {1} min"},
        {"{0}　始める時刻です", "{0}  Time to begin"},
        {"{0}。時刻は、一日の頁であとから決められます", "{0}. You can set a time later on the Dorevadod page"},
        {"{0}。時刻は一日の頁で決められます", "{0}. You can set a time on the Dorevadod page"},
        {"{0}つ ・ およそ {1}", "{0} · about {1}"},
        {"{0}ではじめる", "Begin {0}"},
        {"{0}で始める", "Begin with {0}"},
        {"{0}で開いて直す", "Open in {0} to edit"},
        {"{0}で開く", "Open in {0}"},
        {"{0}に置いた", "Placed: {0}"},
        {"{0}の意味", "What {0} means"},
        {"{0}まで", "Due {0}"},
        {"{0}を終えました", "{0} finished"},
        {"{0}を開く", "Open {0}"},
        {"{0}分", "{0} min"},
        {"{0}分、向き合いました。", "You spent {0} min with it."},
        {"{0}回 ・ {1}分", "{0} sits · {1} min"},
        {"{0}日に置いています", "Days placed: {0}"},
        {"{0}時", "{0}:00"},
        {"{0}時間", "{0} hr"},
        {"{0}時間{1}分", "{0} hr {1} min"},
        {"{0}（{1}）", "{0} ({1})"},
        {"{0}（{1}）　{2}", "{0} — {2}"},
        {"{0}（手を離した）", "{0} (let go)"},
        {"「{0}」", "“{0}”"},
        {"「{0}」{1}から{2}分", "“{0}” from {1}, {2} min"},
        {"「{0}」に留まる", "Stay with “{0}”"},
        {"「{0}」に積まれます", "Adds to “{0}”"},
        {"「{0}」を完了にしました。", "Marked “{0}” as done."},
        {"「{0}」を終えたものにする", "Mark “{0}” as done"},
        {"いちざ ・ 腰を据えて、{0}分坐って {1}分の経行", "ichiza · settle in: sit {0} min, then {1} min of kinhin"},
        {"いっちゅう ・ 線香一本ぶん。{0}分坐って、{1}分の経行", "itchū · one stick of incense: sit {0} min, then {1} min of kinhin"},
        {"この {0} 日、坐はありません", "No sits in these {0} days"},
        {"この {0} 日で {1} 坐、{2}", "{1} sits in {0} days, {2}"},
        {"したこと　{0}　{1}分", "Done  {0}  {1} min"},
        {"じょうじゅう ・ 時計のとおりに。毎時0分と30分から{0}分坐り、残りは経行。", "jōjū · follow the clock. Sit {0} min from :00 and :30; the rest is kinhin."},
        {"そのまま|払い", "Keep"},
        {"ひとつ{0}分", "{0} min each"},
        {"まもなく {0}", "Soon: {0}"},
        {"カレンダーのフォルダは、書き込みだけが許されています。\n{0} で、読み書きできるフォルダを選んでください。", "The calendar folder can only be written to.\nChoose a folder you can read and write in {0}."},
        {"予定　{0}　{1}　{2}分", "Planned  {0}  {1}  {2} min"},
        {"予定　{0}　{1}分　{2}", "Planned  {0}  {1} min  {2}"},
        {"今日 {0}", "Today {0}"},
        {"今日の三心：{0} ・ {1}", "Today’s mind: {0} · {1}"},
        {"今日は、{0}。", "Today: {0}."},
        {"受け口を開けませんでした（{0}）。", "Could not open a port to receive the reply ({0})."},
        {"合わせました（{0}）。\n{1} と突き合わせました。", "Synced ({0}).\nMatched with {1}."},
        {"合わせました（{0}）。\n向こうには、ほかの端末の控えがまだありません。", "Synced ({0}).\nThere is no data from other devices there yet."},
        {"名前と期限は{0}側で", "Name and due date are set in {0}"},
        {"坐った記録は、既定の「{0}」へ書きます。ふだん見ている暦と違うなら、上で選び直してください。", "Sits are written to the default, “{0}”. If that isn't the calendar you usually look at, choose again above."},
        {"坐った記録は「{0}」へ書きます。", "Sits are written to “{0}”."},
        {"外す|予定", "Remove"},
        {"抱えているもの {0} 件を、ひとつずつ", "{0} things you’re holding, one at a time"},
        {"控えを包めませんでした（{0}）。", "Could not package your data ({0})."},
        {"新しい版があります（{0}）", "A new version is available ({0})"},
        {"既定のカレンダー（{0}）", "Default calendar ({0})"},
        {"日を決めない　{0}", "No date  {0}"},
        {"日を決めないものを{0}件開く", "Show {0} undated items"},
        {"明日 {0}", "Tomorrow {0}"},
        {"書き出せませんでした: {0}", "Couldn't export: {0}"},
        {"最後に合わせたのは {0}", "Last synced {0}"},
        {"期限を {0} 日過ぎています", "{0} days past due"},
        {"版 {0}・通し {1}（{2} 組み立て）", "Version {0} · release {1} (built {2})"},
        {"続きを見る（あと {0}）", "Show more ({0} left)"},
        {"置けませんでした（{0}）。", "Couldn’t save ({0})."},
        {"記録 {0} 件・作務と行持 {1} 件・一日 {2} 件になりました。", "Now {0} records · {1} tasks and practices · {2} days."},
        {"許可されませんでした（{0}）。", "Not allowed ({0})."},
        {"読み戻せませんでした: {0}", "Couldn't import: {0}"},
        {"通信でつまずきました（{0}）。", "The connection stumbled ({0})."},
        {"選んだ順に、{0}分ずつ。あいだに {1}分。\n早く済んだら「了とする」か「手を離す」で次へ回ります。", "In the order you choose, {0} min each, with {1} min between.\nIf one ends early, “Mark done” or “Let go” moves on to the next."},
        // Rows that share their Japanese text with a disambiguated key.
        {"そのまま", "Default"},
        {"外す", "Disconnect"},
        // Rows of the other screens and the reading pages.
        {"作務", "Samu"},
        {"一日", "Dorevadod"},
        {"Ondrevelについて", "About Ondrevel"},
        {"伏せ字で書き出したファイルは読み込めません。タイトルが失われます。",
         "This file was exported with titles hidden and can’t be imported: its titles would be lost."},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.key);
        // Without arguments nothing is filled in or mended.
        EXPECT_EQ(L(QString::fromUtf8(c.key)), QString::fromUtf8(c.english));
    }
}

TEST_F(InEnglish, NumberOneTakesTheSingularAfterFilling)
{
    struct Case
    {
        QString text;
        QString expected;
    };
    const Case cases[] = {
        {L("{0} 日、触れていません", 1), QStringLiteral("Untouched for 1 day")},
        {L("{0} 日、触れていません", 11), QStringLiteral("Untouched for 11 days")},
        {L("この {0} 日で {1} 坐、{2}", 1, 1, L("{0}分", 25)), QStringLiteral("1 sit in 1 day, 25 min")},
        {L("この {0} 日で {1} 坐、{2}", 7, 21, L("{0}時間", 2)), QStringLiteral("21 sits in 7 days, 2 hr")},
        {L("抱えているもの {0} 件を、ひとつずつ", 1), QStringLiteral("1 thing you’re holding, one at a time")},
        {L("記録 {0} 件・作務と行持 {1} 件・一日 {2} 件になりました。", 1, 31, 1),
         QStringLiteral("Now 1 record · 31 tasks and practices · 1 day.")},
        {L("期限を {0} 日過ぎています", 1), QStringLiteral("1 day past due")},
    };
    for (const Case &c : cases)
        EXPECT_EQ(c.text, c.expected);
}

TEST_F(InEnglish, KeyMustMatchExactly)
{
    // A trailing space makes another key, which is not in the table.
    EXPECT_EQ(L("そのまま "), QStringLiteral("そのまま "));
    EXPECT_EQ(L("そのまま|"), QStringLiteral("そのまま"));
    // A disambiguator that is not in the table shows the Japanese part.
    EXPECT_EQ(L("外す|記録"), QStringLiteral("外す"));
}

TEST(EnglishTableInJapanese, DisambiguatorIsNeverShown)
{
    Lang::setForTesting(true);
    EXPECT_EQ(L("そのまま|払い"), QStringLiteral("そのまま"));
    EXPECT_EQ(L("外す|予定"), QStringLiteral("外す"));
    EXPECT_EQ(L("{0} 日、触れていません", 1), QStringLiteral("1 日、触れていません"));
    Lang::setForTesting(std::nullopt);
}
