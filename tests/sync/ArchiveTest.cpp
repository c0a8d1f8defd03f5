#include "SyncFixtures.h"
#include "core/KivJSON.h"
#include "core/L.h"
#include "platform/fakes/FakeClock.h"
#include "platform/files/DataFile.h"
#include "stores/DayNoteStore.h"
#include "stores/LocalTaskStore.h"
#include "stores/SessionStore.h"
#include "support/ScopedDirs.h"
#include "sync/Archive.h"
#include "sync/SyncMerge.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>

using namespace SyncFixtures;

namespace {

// The three stores over one folder.
struct Stores
{
    explicit Stores(const QString &folder)
        : sessions(folder), tasks(folder), days(folder)
    {
    }
    SessionStore sessions;
    LocalTaskStore tasks;
    DayNoteStore days;
};

} // namespace

class ArchiveTest : public ::testing::Test
{
protected:
    ScopedDirs dirs;
    FakeClock clock{QDateTime(QDate(2025, 3, 9), QTime(7, 45))};
    QString mine = dirs.root() + QStringLiteral("/mine");
    QString other = dirs.root() + QStringLiteral("/other");

    void SetUp() override
    {
        Clock::setCurrent(&clock);
        Lang::setForTesting(true);
        QDir().mkpath(mine);
        QDir().mkpath(other);
    }
    void TearDown() override { Clock::setCurrent(nullptr); }

    static void fill(Stores &s)
    {
        TaskRef ref{QStringLiteral("reminders"), QStringLiteral("r1"), std::nullopt};
        SessionRecord late = record(1, 60, QStringLiteral("  写経 "), {}, {}, QStringLiteral("ev1"));
        SessionRecord early = record(2, 0, QStringLiteral("写経"));
        SessionRecord walk = record(3, 30, QStringLiteral("歩く"), {}, {}, {}, Phase::shortBreak);
        SessionRecord tea = record(4, 40, QStringLiteral("休む"), {}, {}, {}, Phase::longBreak);
        SessionRecord other = record(5, 50, QStringLiteral("読経"));
        s.sessions.setAllRecords({late, early, walk, tea, other});
        s.sessions.save();
        LocalTask t = task(10, 0, QStringLiteral("写経\n"), 0);
        t.notes = QStringLiteral("私的なメモ");
        t.origin = ref;
        LocalTask blank = task(11, 5, QStringLiteral("　"), 5);
        s.tasks.setAllTasks({t, blank});
        s.tasks.save();
        DayNote d = day(QStringLiteral("2025-03-04"), 0, QStringLiteral("静かに"),
                        {plan(1, QStringLiteral("作務")), plan(2, QStringLiteral(" "))});
        d.reflection = QStringLiteral("よく坐った");
        d.guide = QStringLiteral("整える");
        d.plans[0].eventID = QStringLiteral("ev2");
        s.days.replaceAll({d});
    }
};

TEST_F(ArchiveTest, ExportAndImportRoundTrip)
{
    Stores a(mine), b(other);
    fill(a);
    const QByteArray bytes = *Archive::data(a.sessions, a.tasks, a.days);
    const SyncBundle file = SyncBundle::decode(bytes);
    EXPECT_EQ(file.version, 1);
    EXPECT_FALSE(file.settings.has_value());
    EXPECT_EQ(file.savedAt, clock.now());
    EXPECT_EQ(file.records, a.sessions.allRecords());

    b.sessions.append(record(99, 500));
    QString error;
    const auto restored = Archive::restore(bytes, b.sessions, b.tasks, b.days, &error);
    ASSERT_TRUE(restored.has_value()) << error.toStdString();
    EXPECT_EQ(*restored, (Archive::Restored{6, 2, 1}));
    EXPECT_EQ(Archive::summary(*restored), QStringLiteral("記録 6 件・作務と行持 2 件・一日 1 件になりました。"));
    EXPECT_EQ(b.days.allNotes(), a.days.allNotes());
    EXPECT_EQ(b.tasks.allTasks(), SyncMerge::mergeTasks(a.tasks.allTasks(), {}));
}

TEST_F(ArchiveTest, HiddenTitlesGetSharedCodesAndLoseFreeText)
{
    Stores a(mine);
    fill(a);
    const SyncBundle hidden = Archive::anonymous(a.sessions, a.tasks, a.days);
    EXPECT_EQ(hidden.device, Archive::hiddenDevice);
    EXPECT_FALSE(hidden.settings.has_value());

    // Records by start: 写経 (earliest, stored second) is 題目1 and shares its
    // code with the padded copy and the task of the same trimmed title.
    QStringList titles;
    for (const SessionRecord &r : hidden.records) {
        titles.append(r.title);
        EXPECT_FALSE(r.calendarEventID.has_value());
    }
    EXPECT_EQ(titles, (QStringList{"題目1", "経行", "茶礼", "題目2", "題目1"}));
    ASSERT_EQ(hidden.tasks.size(), 2);
    EXPECT_EQ(hidden.tasks[0].title, QStringLiteral("題目1"));
    EXPECT_EQ(hidden.tasks[1].title, QStringLiteral("題目なし"));
    EXPECT_FALSE(hidden.tasks[0].notes || hidden.tasks[0].origin);
    const DayNote &d = hidden.days[0];
    EXPECT_TRUE(d.intention.isEmpty() && d.reflection.isEmpty() && !d.guide);
    EXPECT_EQ(d.plans[0].title, QStringLiteral("題目3"));
    EXPECT_EQ(d.plans[1].title, QStringLiteral("題目なし"));
    EXPECT_FALSE(d.plans[0].eventID.has_value());
    EXPECT_EQ(d.plans[0].id, a.days.allNotes()[0].plans[0].id);

    EXPECT_EQ(Archive::fileName(clock.now(), true), QStringLiteral("Ondrevel-題目なし-2025-03-09-0745.json"));
    EXPECT_EQ(Archive::fileName(clock.now(), false), QStringLiteral("Ondrevel-2025-03-09-0745.json"));
}

// Its placeholder titles would overwrite the real ones, so it is refused.
TEST_F(ArchiveTest, ImportOfAHiddenTitleExportIsRefusedAndChangesNothing)
{
    Stores a(mine);
    fill(a);
    const QByteArray hidden = *Archive::data(a.sessions, a.tasks, a.days, true);
    const QByteArray before = DataFile::read(a.sessions.filePath()).bytes;
    const QList<LocalTask> tasksBefore = a.tasks.allTasks();
    int changes = 0;
    a.sessions.onChanged = a.tasks.onChanged = a.days.onChanged = [&] { ++changes; };

    QString error;
    EXPECT_FALSE(Archive::restore(hidden, a.sessions, a.tasks, a.days, &error).has_value());
    EXPECT_EQ(error, QStringLiteral("伏せ字で書き出したファイルは読み込めません。タイトルが失われます。"));
    EXPECT_EQ(DataFile::read(a.sessions.filePath()).bytes, before);
    EXPECT_EQ(a.tasks.allTasks(), tasksBefore);
    EXPECT_EQ(changes, 0);

    EXPECT_FALSE(Archive::restore("{\"device\":1}", a.sessions, a.tasks, a.days, &error).has_value());
    EXPECT_TRUE(error.startsWith(QStringLiteral("読み戻せませんでした: ")));
    EXPECT_EQ(changes, 0);
}

TEST_F(ArchiveTest, ImportMergesTombstonesOfAFileWithSettings)
{
    Stores a(mine);
    a.sessions.append(record(1, 0));
    a.sessions.append(record(2, 30));
    SyncBundle file;
    file.device = QStringLiteral("Beta");
    file.savedAt = at(0);
    file.records = {record(1, 0, QStringLiteral("坐"), {}, 10)};
    file.settings = SharedSettings{};
    file.settings->updatedAt = at(0);
    int changes = 0;
    a.sessions.onChanged = [&] { ++changes; };

    const auto restored = Archive::restore(*file.encode(), a.sessions, a.tasks, a.days);
    ASSERT_TRUE(restored.has_value());
    ASSERT_EQ(a.sessions.records().size(), 1) << "the file's tombstone removes the record";
    EXPECT_EQ(a.sessions.records().first().id, uid(2));
    EXPECT_EQ(restored->records, 1) << "the removed record is not counted";
    EXPECT_EQ(changes, 1) << "an import is reported like a local edit";
}

// Deleted items stay in the stores as tombstones, but the notice after an
// import tells what the user has.
TEST_F(ArchiveTest, ImportCountsOnlyLiveItems)
{
    Stores a(mine);
    a.sessions.setAllRecords({record(1, 0), record(2, 30, QStringLiteral("坐"), {}, 40)});
    a.sessions.save();
    a.tasks.setAllTasks({task(10, 0, QStringLiteral("写経"), 0), task(11, 0, QStringLiteral("掃除"), 0, 5)});
    a.tasks.save();
    a.days.replaceAll({day(QStringLiteral("2025-03-04"), 0, QStringLiteral("静かに"))});

    SyncBundle file;
    file.device = QStringLiteral("Beta");
    file.savedAt = at(0);
    file.records = {record(3, 60), record(4, 90, QStringLiteral("坐"), {}, 100)};
    file.tasks = {task(12, 0, QStringLiteral("読経"), 0, 7)};
    DayNote gone = day(QStringLiteral("2025-03-05"), 0);
    gone.deletedAt = at(8);
    file.days = {gone, day(QStringLiteral("2025-03-06"), 0, QStringLiteral("歩く"))};

    const auto restored = Archive::restore(*file.encode(), a.sessions, a.tasks, a.days);
    ASSERT_TRUE(restored.has_value());
    EXPECT_EQ(a.sessions.allRecords().size(), 4);
    EXPECT_EQ(a.tasks.allTasks().size(), 3);
    EXPECT_EQ(a.days.allNotes().size(), 3);
    EXPECT_EQ(*restored, (Archive::Restored{2, 1, 2}));
    EXPECT_EQ(Archive::summary(*restored), QStringLiteral("記録 2 件・作務と行持 1 件・一日 2 件になりました。"));
}

// A newer format may carry what this version cannot read: merged in, it
// would be dropped here and the loss synced to every device.
TEST_F(ArchiveTest, ANewerArchiveIsRefusedAndTheFilesStayAsTheyWere)
{
    Stores a(mine), b(other);
    fill(a);
    fill(b);
    b.sessions.append(record(20, 200, QStringLiteral("新しい")));
    auto files = [&] {
        return QList<QByteArray>{DataFile::read(a.sessions.filePath()).bytes, DataFile::read(a.tasks.filePath()).bytes,
                                 DataFile::read(a.days.filePath()).bytes};
    };
    const QList<QByteArray> before = files();
    int changes = 0;
    a.sessions.onChanged = a.tasks.onChanged = a.days.onChanged = [&] { ++changes; };

    const QJsonObject exported = QJsonDocument::fromJson(*Archive::data(b.sessions, b.tasks, b.days)).object();
    ASSERT_EQ(exported.value(QStringLiteral("version")), 1);
    // The last one could not even be decoded: the version is looked at first.
    for (const auto &[version, days] : {std::pair{QJsonValue(2), exported.value(QStringLiteral("days"))},
                                        std::pair{QJsonValue(2.5), exported.value(QStringLiteral("days"))},
                                        std::pair{QJsonValue(17), QJsonValue(QStringLiteral("kept elsewhere"))}}) {
        SCOPED_TRACE(version.toDouble());
        QJsonObject newer = exported;
        newer.insert(QStringLiteral("version"), version);
        newer.insert(QStringLiteral("days"), days);
        QString error;
        EXPECT_FALSE(Archive::restore(QJsonDocument(newer).toJson(), a.sessions, a.tasks, a.days, &error));
        EXPECT_EQ(error, QStringLiteral("向こうの控えが新しい形式です。アプリを更新してください。"));
    }
    EXPECT_EQ(files(), before);
    EXPECT_EQ(changes, 0);
}

TEST_F(ArchiveTest, ImportFromAFileRefusesOneOverTheLimitBeforeReadingIt)
{
    Stores a(mine), b(other);
    fill(b);
    const QString path = dirs.root() + QStringLiteral("/export.json");
    ASSERT_TRUE(DataFile::writeAtomically(path, *Archive::data(b.sessions, b.tasks, b.days)));
    QString error;
    const auto restored = Archive::restoreFile(path, a.sessions, a.tasks, a.days, &error);
    ASSERT_TRUE(restored.has_value()) << error.toStdString();
    EXPECT_EQ(restored->records, 5);

    // A sparse file: large on paper, nothing to read.
    const QString huge = dirs.root() + QStringLiteral("/huge.json");
    QFile file(huge);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_TRUE(file.resize(Archive::maxImportBytes + 1));
    file.close();
    const QList<SessionRecord> recordsBefore = a.sessions.allRecords();
    EXPECT_FALSE(Archive::restoreFile(huge, a.sessions, a.tasks, a.days, &error).has_value());
    EXPECT_EQ(error, QStringLiteral("64 MB より大きいファイルは読み戻せません。"));

    EXPECT_FALSE(
        Archive::restoreFile(dirs.root() + QStringLiteral("/missing.json"), a.sessions, a.tasks, a.days, &error));
    EXPECT_TRUE(error.startsWith(QStringLiteral("読み戻せませんでした: "))) << error.toStdString();
    EXPECT_EQ(a.sessions.allRecords(), recordsBefore);
}
