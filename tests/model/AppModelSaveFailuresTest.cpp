// A save that fails, whenever it fails, is told to the user through the
// model's notice, and what it held stays in memory to be saved with the next
// change: the history, the preferences and the secrets.
#include "ModelRig.h"
#include "platform/files/DataFile.h"
#include "support/LanguageFixtures.h"
#include "support/ScopedTmpfs.h"

#include <QFile>
#include <QFileInfo>
#include <gtest/gtest.h>
#include <memory>
#include <optional>
#include <unistd.h>

namespace {

using namespace ModelRigs;

// A folder that refuses new files for the life of the object: a read-only
// file system mounted over it where the test may mount one, else, for an
// ordinary user whom the mode stops, its mode.
struct ReadOnlyFolder
{
    explicit ReadOnlyFolder(const QString &folder)
        : folder(folder)
        , mount(folder, 64 * 1024, /*readOnly=*/true)
    {
        if (!mount.mounted() && ::geteuid() != 0)
            byMode = QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    }
    ~ReadOnlyFolder()
    {
        if (byMode)
            QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    }
    bool works() const { return mount.mounted() || byMode; }

    QString folder;
    ScopedTmpfs mount;
    bool byMode = false;
};

struct AppModelSaveFailures : InEnglish
{
    std::unique_ptr<Rig> rig;
    QStringList notices;

    void SetUp() override
    {
        InEnglish::SetUp();
        rig = std::make_unique<Rig>();
        rig->build();
        QObject::connect(rig->model.get(), &AppModel::noticeChanged, [this] {
            if (const auto text = rig->model->notice())
                notices << *text;
        });
    }
    void TearDown() override
    {
        rig.reset();
        InEnglish::TearDown();
    }

    void finishARound()
    {
        rig->model->begin(Mode::quick);
        rig->finishPhase();
        rig->engine().stop();
    }

    bool told(const QString &fileName) const
    {
        return std::any_of(notices.begin(), notices.end(), [&](const QString &n) {
            return n.startsWith(QStringLiteral("Couldn’t save ") + fileName);
        });
    }
};

TEST_F(AppModelSaveFailures, AFinishedRoundInAReadOnlyFolderIsToldKeptAndSavedLater)
{
    const QString folder = rig->dirs.dataDir();
    std::optional<ReadOnlyFolder> readOnly(std::in_place, folder);
    if (!readOnly->works())
        GTEST_SKIP() << readOnly->mount.why().toStdString();

    finishARound();
    EXPECT_TRUE(told(SessionStore::fileName)) << notices.join(QLatin1Char('|')).toStdString();
    ASSERT_EQ(rig->store.allRecords().size(), 1) << "the round stays in memory";
    EXPECT_FALSE(rig->store.lastError().isEmpty());

    // The folder is writable again: the next change writes both rounds.
    readOnly.reset();
    rig->clock.advance(60 * 1000);
    finishARound();
    EXPECT_TRUE(rig->store.lastError().isEmpty());
    EXPECT_EQ(SessionStore(folder).allRecords(), rig->store.allRecords());
    EXPECT_EQ(rig->store.allRecords().size(), 2);
}

// A long history on a disk that fills up part way through its save: the
// notice names the real cause, not "Unknown error".
TEST_F(AppModelSaveFailures, ADiskThatFillsUpWhileAHistoryIsSavedIsToldAsFull)
{
    rig.reset();
    notices.clear();
    ScopedDirs dirs;
    ScopedTmpfs disk(dirs.dataDir(), 512 * 1024);
    if (!disk.mounted())
        GTEST_SKIP() << disk.why().toStdString();
    {
        SessionStore history(dirs.dataDir());
        QList<SessionRecord> records;
        for (int i = 0; i < 400; ++i) {
            SessionRecord r;
            r.id = QUuid::createUuid();
            r.title = QStringLiteral("Letters %1").arg(i);
            r.start = at(1, 8).addSecs(i * 3600);
            r.end = r.start.addSecs(1500);
            r.completed = true;
            records << r;
        }
        history.setAllRecords(records);
        history.save();
        ASSERT_TRUE(history.lastError().isEmpty()) << history.lastError().toStdString();
    }
    const qint64 size = QFileInfo(dirs.dataDir() + QStringLiteral("/sessions.json")).size();
    ASSERT_GT(size, 64 * 1024);
    disk.fill();
    {
        // Room for part of the next save only.
        QFile filler(dirs.dataDir() + QStringLiteral("/filler"));
        ASSERT_TRUE(filler.resize(filler.size() - size / 2));
    }

    SessionStore history(dirs.dataDir());
    Rig full;
    full.sessionsOverride = &history;
    AppModel &model = full.build();
    QObject::connect(&model, &AppModel::noticeChanged, [&] {
        if (const auto text = model.notice())
            notices << *text;
    });
    model.begin(Mode::quick);
    full.finishPhase();
    EXPECT_TRUE(notices.contains(QStringLiteral("Couldn’t save sessions.json: No space left on device")))
        << notices.join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(SessionStore(dirs.dataDir()).allRecords().size(), 400) << "the old file stays whole";
    EXPECT_EQ(history.allRecords().size(), 401) << "the round stays in memory";
}

TEST_F(AppModelSaveFailures, PreferencesAndSecretsThatCannotBeSavedAreToldAndKept)
{
    std::optional<ReadOnlyFolder> config(std::in_place, rig->dirs.configDir());
    if (!config->works())
        GTEST_SKIP() << config->mount.why().toStdString();
    rig->settings.setFocusMinutes(40);
    EXPECT_TRUE(told(QStringLiteral("preferences.json"))) << notices.join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(rig->settings.focusMinutes(), 40);

    std::optional<ReadOnlyFolder> data(std::in_place, rig->dirs.dataDir());
    ASSERT_TRUE(data->works());
    EXPECT_FALSE(Keychain::set(QStringLiteral("r2"), QStringLiteral("googleRefreshToken")));
    EXPECT_TRUE(told(QStringLiteral("secrets.json"))) << notices.join(QLatin1Char('|')).toStdString();
    EXPECT_EQ(Keychain::get(QStringLiteral("googleRefreshToken")), QStringLiteral("r2")) << "kept for this run";

    // Both go to disk whole with their next change.
    config.reset();
    data.reset();
    rig->settings.setShortBreakMinutes(7);
    EXPECT_EQ(Preferences(QStringLiteral("preferences")).number(QStringLiteral("focusMinutes")), 40.0);
    EXPECT_TRUE(Keychain::set(QStringLiteral("id"), QStringLiteral("googleClientID")));
    const QByteArray secrets = DataFile::read(Keychain::filePath()).bytes;
    EXPECT_TRUE(secrets.contains("\"r2\"")) << secrets.constData();
}

} // namespace
