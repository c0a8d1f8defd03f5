#include "platform/files/DataFile.h"
#include "platform/files/Preferences.h"
#include "support/ScopedDirs.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QSignalSpy>
#include <gtest/gtest.h>

TEST(PreferencesFile, DefaultsAreNeverWrittenAndTypesSurviveARestart)
{
    ScopedDirs dirs;
    {
        Preferences prefs;
        prefs.registerDefaults({{"focusMinutes", 25}, {"names", QJsonArray{}}});
        EXPECT_EQ(prefs.number("focusMinutes"), 25.0);
        EXPECT_FALSE(prefs.fileExists()) << "registering defaults writes nothing";

        QSignalSpy spy(&prefs, &Preferences::changed);
        prefs.setValue("names", QJsonArray{});
        prefs.setValue("names", QJsonArray{});
        prefs.setValue("flag", false);
        EXPECT_EQ(spy.count(), 2) << "an unchanged value is not written again";
    }
    Preferences again;
    EXPECT_FALSE(again.number("focusMinutes").has_value()) << "defaults live in code only";
    EXPECT_EQ(again.stringList("names"), QStringList{}) << "an empty list reads back as a list";
    EXPECT_EQ(again.boolean("flag"), false);
    EXPECT_FALSE(again.string("flag").has_value()) << "a value of another type reads as nothing";
}

TEST(PreferencesFile, UnreadableFileIsKeptAside)
{
    ScopedDirs dirs;
    QDir().mkpath(dirs.configDir());
    const QString path = dirs.configDir() + "/preferences.json";
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("{ broken");
    }
    Preferences prefs;
    EXPECT_FALSE(prefs.lastError().isEmpty());
    prefs.setValue("kivLang", "en");
    const QStringList kept = QDir(dirs.configDir()).entryList({"preferences.json.unreadable-*"});
    ASSERT_EQ(kept.size(), 1);
    QFile old(dirs.configDir() + "/" + kept.first());
    ASSERT_TRUE(old.open(QIODevice::ReadOnly));
    EXPECT_EQ(old.readAll(), QByteArray("{ broken"));
    EXPECT_EQ(Preferences().string("kivLang"), QStringLiteral("en"));
}

TEST(DataFileWrites, SecretFilesAreOwnerOnly)
{
    ScopedDirs dirs;
    const QString path = dirs.dataDir() + "/secrets.json";
    ASSERT_TRUE(DataFile::writeAtomically(path, "{}", true));
    const auto perms = QFile::permissions(path);
    const auto groupOrOther = QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ExeGroup
                              | QFileDevice::ReadOther | QFileDevice::WriteOther | QFileDevice::ExeOther;
    EXPECT_FALSE(perms & groupOrOther);
    EXPECT_TRUE((perms & QFileDevice::ReadOwner) && (perms & QFileDevice::WriteOwner));
    EXPECT_EQ(DataFile::read(path).bytes, QByteArray("{}"));
    EXPECT_EQ(DataFile::read(path + ".none").status, DataFile::ReadStatus::Missing);
}

TEST(PreferencesFile, TemporaryFilesOfAKilledSaveGoWhenTheFileIsRead)
{
    ScopedDirs dirs;
    QDir().mkpath(dirs.configDir());
    for (const char *name : {"preferences.json.Zk81Qa", "preferences.json.unreadable-20250304-090000"}) {
        QFile f(dirs.configDir() + "/" + name);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("{");
    }
    Preferences prefs;
    EXPECT_EQ(QDir(dirs.configDir()).entryList(QDir::Files),
              QStringList{QStringLiteral("preferences.json.unreadable-20250304-090000")});
}
