#include "sync/Keychain.h"

#include "platform/files/DataFile.h"
#include "support/ScopedDirs.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

int modeOf(const QString &path)
{
    struct stat st{};
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return -1;
    return int(st.st_mode & 0777);
}

QJsonObject fileObject()
{
    return QJsonDocument::fromJson(DataFile::read(Keychain::filePath()).bytes).object();
}

QStringList setAsideFiles(const QString &dir)
{
    return QDir(dir).entryList({QStringLiteral("secrets.json.unreadable-*")}, QDir::Files);
}

} // namespace

TEST(Keychain, FirstSetCreatesAPrivateFileInAPrivateFolder)
{
    ScopedDirs dirs;
    EXPECT_FALSE(Keychain::get(QStringLiteral("googleRefreshToken")).has_value());

    Keychain::set(QStringLiteral("r1"), QStringLiteral("googleRefreshToken"));

    EXPECT_EQ(Keychain::get(QStringLiteral("googleRefreshToken")), QStringLiteral("r1"));
    EXPECT_EQ(modeOf(Keychain::filePath()), 0600);
    EXPECT_EQ(modeOf(dirs.dataDir()), 0700);
    EXPECT_EQ(fileObject(), QJsonObject({{"googleRefreshToken", "r1"}}));
}

TEST(Keychain, SetReplacesRemovesAndNarrowsAWidenedMode)
{
    ScopedDirs dirs;
    Keychain::set(QStringLiteral("a"), QStringLiteral("googleClientID"));
    Keychain::set(QStringLiteral("b"), QStringLiteral("googleClientID"));
    EXPECT_EQ(fileObject(), QJsonObject({{"googleClientID", "b"}}));

    QFile::setPermissions(Keychain::filePath(), QFileDevice::ReadOwner | QFileDevice::WriteOwner
                                                    | QFileDevice::ReadOther | QFileDevice::ReadGroup);
    Keychain::set(std::nullopt, QStringLiteral("googleClientID"));
    EXPECT_EQ(DataFile::read(Keychain::filePath()).bytes, QByteArray("{}"));
    EXPECT_EQ(modeOf(Keychain::filePath()), 0600);
}

TEST(Keychain, DamagedFileReadsEmptyAndIsKeptAsideBeforeAWrite)
{
    const QByteArray damaged[] = {"{\"googleRefreshToken\": 5, \"googleClientID\": \"x\"}", "not json", "[\"a\"]"};
    for (const QByteArray &bytes : damaged) {
        SCOPED_TRACE(bytes.constData());
        ScopedDirs dirs;
        ASSERT_TRUE(DataFile::writeAtomically(Keychain::filePath(), bytes, true));

        EXPECT_FALSE(Keychain::get(QStringLiteral("googleClientID")).has_value());
        Keychain::set(QStringLiteral("id"), QStringLiteral("googleClientID"));

        EXPECT_EQ(fileObject(), QJsonObject({{"googleClientID", "id"}}));
        const QStringList aside = setAsideFiles(dirs.dataDir());
        ASSERT_EQ(aside.size(), 1);
        EXPECT_EQ(DataFile::read(dirs.dataDir() + QStringLiteral("/") + aside.first()).bytes, bytes);
    }
}

TEST(Keychain, UnreadableFileIsNeverOverwritten)
{
    if (::geteuid() == 0)
        GTEST_SKIP() << "the superuser reads every file";
    ScopedDirs dirs;
    Keychain::set(QStringLiteral("r1"), QStringLiteral("googleRefreshToken"));
    QFile::setPermissions(Keychain::filePath(), QFileDevice::Permissions());

    EXPECT_FALSE(Keychain::get(QStringLiteral("googleRefreshToken")).has_value());
    Keychain::set(QStringLiteral("id"), QStringLiteral("googleClientID"));

    const QStringList aside = setAsideFiles(dirs.dataDir());
    ASSERT_EQ(aside.size(), 1);
    const QString kept = dirs.dataDir() + QStringLiteral("/") + aside.first();
    QFile::setPermissions(kept, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    EXPECT_EQ(DataFile::read(kept).bytes, QByteArray("{\"googleRefreshToken\":\"r1\"}"));
    EXPECT_EQ(fileObject(), QJsonObject({{"googleClientID", "id"}}));
}

TEST(Keychain, TemporaryFilesOfAKilledSaveGoAtTheFirstReading)
{
    ScopedDirs dirs;
    ASSERT_TRUE(DataFile::writeAtomically(Keychain::filePath(), "{\"googleRefreshToken\":\"r1\"}", true));
    ASSERT_TRUE(DataFile::writeAtomically(Keychain::filePath() + QStringLiteral(".pQ7xZ2"), "{\"googleRef", true));

    EXPECT_EQ(Keychain::get(QStringLiteral("googleRefreshToken")), QStringLiteral("r1"));
    EXPECT_EQ(QDir(dirs.dataDir()).entryList(QDir::Files), QStringList{QStringLiteral("secrets.json")});
}
