#include "views/settings/SettingsFixture.h"

#include "platform/files/DataFile.h"
#include "sources/TaskHub.h"
#include "stores/DayNote.h"
#include "stores/LocalTask.h"
#include "sync/Archive.h"
#include "sync/SyncBundle.h"
#include "views/settings/AdvicePrompt.h"
#include "views/settings/CounselSection.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QSet>

namespace {

// The archive and advice-prompt sections over a model with one sitting and
// one task (the rig's clock stands at 2025-03-05 09:00).
struct DataSectionsTest : SettingsFixture
{
    void SetUp() override
    {
        SettingsFixture::SetUp();
        model = &rig->build();
        SessionRecord sat;
        sat.id = QUuid::createUuid();
        sat.title = QStringLiteral("Letters to Aunt May");
        sat.start = rig->clock.now().addSecs(-3600);
        sat.end = sat.start.addSecs(1500);
        sat.completed = true;
        rig->store.append(sat);
        rig->addTask(QStringLiteral("Mend the gate"));
        build();
    }
    QString path(const QString &name) const { return rig->dirs.root() + QLatin1Char('/') + name; }
    QString notice() const { return model->notice().value_or(QString()); }
};

} // namespace

TEST_F(DataSectionsTest, ExportSuggestsTheDatedNameAndWritesTheWholeArchive)
{
    desk.answer(path(QStringLiteral("out.json")));
    click(QStringLiteral("settings.archive.export"));
    ASSERT_EQ(desk.asked().size(), 1);
    const Desktop::FileQuestion asked = desk.asked().first().question;
    EXPECT_EQ(desk.asked().first().panel, FakeDesktop::Panel::save);
    EXPECT_EQ(asked.suggestedName, QStringLiteral("Ondrevel-2025-03-05-0900.json"));
    EXPECT_EQ(asked.nameFilters, QStringList{Desktop::jsonFiles()});
    EXPECT_EQ(asked.message, QStringLiteral("記録・作務・一日を、一枚にまとめて書き出します。"));

    const SyncBundle file = SyncBundle::decode(DataFile::read(path(QStringLiteral("out.json"))).bytes);
    ASSERT_EQ(file.records.size(), 1);
    EXPECT_EQ(file.records.first().title, QStringLiteral("Letters to Aunt May"));
    ASSERT_EQ(file.tasks.size(), 1);
    EXPECT_EQ(file.tasks.first().title, QStringLiteral("Mend the gate"));
    EXPECT_EQ(notice(), QStringLiteral("書き出しました。"));
}

TEST_F(DataSectionsTest, ExportWithTitlesHiddenIsItsOwnButton)
{
    desk.answer(path(QStringLiteral("hidden.json")));
    click(QStringLiteral("settings.archive.exportHidden"));
    ASSERT_EQ(desk.asked().size(), 1);
    EXPECT_EQ(desk.asked().first().question.suggestedName, QStringLiteral("Ondrevel-題目なし-2025-03-05-0900.json"));
    EXPECT_EQ(desk.asked().first().question.message,
              QStringLiteral("題目を伏せて書き出します。時刻と長さはそのまま残ります。"));

    const QByteArray bytes = DataFile::read(path(QStringLiteral("hidden.json"))).bytes;
    EXPECT_FALSE(bytes.contains("Aunt May"));
    EXPECT_FALSE(bytes.contains("gate"));
    const SyncBundle file = SyncBundle::decode(bytes);
    ASSERT_EQ(file.records.size(), 1);
    EXPECT_EQ(file.records.first().start, rig->store.records().first().start) << "times are kept";
    EXPECT_EQ(notice(), QStringLiteral("題目を伏せて書き出しました。"));

    // Such a file is never merged back: its codes would replace the titles.
    desk.answer(path(QStringLiteral("hidden.json")));
    click(QStringLiteral("settings.archive.import"));
    EXPECT_EQ(notice(), QStringLiteral("伏せ字で書き出したファイルは読み込めません。タイトルが失われます。"));
    EXPECT_EQ(rig->store.records().first().title, QStringLiteral("Letters to Aunt May"));
}

TEST_F(DataSectionsTest, ACancelledPanelDoesNothingAndAFailedWriteSaysWhy)
{
    desk.cancelNext();
    click(QStringLiteral("settings.archive.export"));
    desk.cancelNext();
    click(QStringLiteral("settings.archive.import"));
    EXPECT_EQ(desk.asked().size(), 2);
    EXPECT_EQ(notice(), QString());

    // A place that cannot hold a file: below a file.
    ASSERT_TRUE(DataFile::writeAtomically(path(QStringLiteral("plain")), "x"));
    desk.answer(path(QStringLiteral("plain/out.json")));
    click(QStringLiteral("settings.archive.export"));
    EXPECT_TRUE(notice().startsWith(QStringLiteral("書き出せませんでした: "))) << notice().toStdString();
    EXPECT_FALSE(notice().endsWith(QStringLiteral(": "))) << "with the reason";
}

TEST_F(DataSectionsTest, ImportTellsTheCountsOrWhyNothingWasTaken)
{
    desk.answer(path(QStringLiteral("out.json")));
    click(QStringLiteral("settings.archive.export"));
    const QList<SessionRecord> before = rig->store.records();

    // The same data again: nothing new, the counts as they stand.
    desk.answer(path(QStringLiteral("out.json")));
    click(QStringLiteral("settings.archive.import"));
    EXPECT_EQ(desk.asked().last().panel, FakeDesktop::Panel::open);
    EXPECT_EQ(desk.asked().last().question.message,
              QStringLiteral("書き出した控えを読み戻します。いま手元にあるものは消えません。"));
    EXPECT_EQ(notice(), QStringLiteral("記録 1 件・作務と行持 1 件・一日 0 件になりました。"));
    EXPECT_EQ(rig->store.records(), before);

    // Not JSON: refused, nothing changes.
    ASSERT_TRUE(DataFile::writeAtomically(path(QStringLiteral("notes.json")), "dear diary"));
    desk.answer(path(QStringLiteral("notes.json")));
    click(QStringLiteral("settings.archive.import"));
    EXPECT_TRUE(notice().startsWith(QStringLiteral("読み戻せませんでした: "))) << notice().toStdString();
    EXPECT_EQ(rig->store.records(), before);
    EXPECT_EQ(rig->hub->items().size(), 1);

    // In English the counts read in English.
    Lang::setForTesting(false);
    desk.answer(path(QStringLiteral("out.json")));
    click(QStringLiteral("settings.archive.import"));
    EXPECT_EQ(notice(), QStringLiteral("Now 1 record · 1 task and practices · 0 days."));
}

TEST_F(DataSectionsTest, ThePromptIsCopiedOnceAndTheLabelComesBackAfterTwoSeconds)
{
    auto *copy = find<InkButton>(QStringLiteral("settings.counsel.copy"));
    click(QStringLiteral("settings.counsel.copy"));
    EXPECT_EQ(desk.clipboard(), AdvicePrompt::text());
    EXPECT_EQ(copy->text(), QStringLiteral("写しました"));
    EXPECT_FALSE(copy->isEnabled());

    click(QStringLiteral("settings.counsel.copy"));
    EXPECT_EQ(desk.copies(), 1) << "the second press finds the button disabled";

    rig->clock.advance(CounselSection::kCopiedMs - 1);
    EXPECT_EQ(copy->text(), QStringLiteral("写しました"));
    rig->clock.advance(1);
    EXPECT_EQ(copy->text(), QStringLiteral("頼み文を写す"));
    EXPECT_TRUE(copy->isEnabled());

    // In English the button reads English; the prompt stays Japanese.
    Lang::setForTesting(false);
    click(QStringLiteral("settings.counsel.copy"));
    EXPECT_EQ(copy->text(), QStringLiteral("Copied"));
    EXPECT_EQ(desk.clipboard(), AdvicePrompt::text());
    EXPECT_EQ(desk.copies(), 2);
}

// The prompt tells the AI what each key of the export means, so every key it
// names must be spelled as the export file spells it.
TEST(AdvicePrompt, EveryKeyItNamesIsAKeyOfTheExportFile)
{
    SyncBundle bundle;
    bundle.device = QStringLiteral("A");
    bundle.savedAt = QDateTime(QDate(2025, 3, 5), QTime(9, 0));
    SessionRecord record;
    record.id = QUuid::createUuid();
    record.title = QStringLiteral("t");
    record.start = bundle.savedAt;
    record.end = bundle.savedAt.addSecs(60);
    bundle.records = {record};
    LocalTask task = LocalTask::create(QStringLiteral("t"), bundle.savedAt);
    task.completedAt = task.abandonedAt = bundle.savedAt;
    task.isDaily = task.isOccasional = true;
    task.doneDays = {QStringLiteral("2025-03-05")};
    bundle.tasks = {task};
    DayNote day = DayNote::empty(QStringLiteral("2025-03-05"));
    day.guide = QStringLiteral("g");
    day.plans = {DayPlan{}};
    bundle.days = {day};
    const std::optional<QByteArray> bytes = bundle.encode();
    ASSERT_TRUE(bytes);
    const QJsonObject top = QJsonDocument::fromJson(*bytes).object();

    QSet<QString> keys;
    for (const QString &part : {QStringLiteral("records"), QStringLiteral("tasks"), QStringLiteral("days")}) {
        ASSERT_TRUE(top.value(part).isArray()) << part.toStdString();
        keys.insert(part);
        for (const QString &key : top.value(part).toArray().first().toObject().keys())
            keys.insert(key);
    }
    // The phase values it glosses are the stored ones.
    for (Phase phase : {Phase::focus, Phase::shortBreak, Phase::longBreak})
        keys.insert(rawValue(phase));

    static const QRegularExpression code(QStringLiteral("`([^`]+)`"));
    int named = 0;
    for (auto m = code.globalMatch(AdvicePrompt::text()); m.hasNext(); ++named) {
        const QString key = m.next().captured(1);
        EXPECT_TRUE(keys.contains(key)) << key.toStdString();
    }
    EXPECT_GE(named, 20);
}
