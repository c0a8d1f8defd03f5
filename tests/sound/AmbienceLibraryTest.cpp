#include "support/ScopedDirs.h"
#include "sound/AmbienceLibrary.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

QByteArray readFile(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QStringList fileNames(const QList<AmbienceLibrary::Sound> &sounds)
{
    QStringList names;
    for (const auto &s : sounds)
        names << QFileInfo(s.url.toLocalFile()).fileName();
    return names;
}

class AmbienceLibraryTest : public ::testing::Test
{
protected:
    ScopedDirs dirs;
    QTemporaryDir outside;
};

} // namespace

TEST_F(AmbienceLibraryTest, FolderLivesInTheDataFolder)
{
    EXPECT_EQ(AmbienceLibrary::folderPath(), dirs.dataDir() + QStringLiteral("/Sounds"));
    EXPECT_TRUE(QDir(AmbienceLibrary::folderPath()).exists());
}

TEST_F(AmbienceLibraryTest, ListsKnownAudioFilesSortedByNameThenFileName)
{
    const QString folder = AmbienceLibrary::folderPath();
    for (const char *name : {"Rain.MP3", ".hidden.wav", "notes.txt", "b.wav", "B.wav", "rain.wav", "rain.aiff",
                             "sea.tar.flac"})
        writeFile(folder + QLatin1Char('/') + QLatin1String(name), "x");
    QDir(folder).mkdir(QStringLiteral("folder.wav"));

    const QList<AmbienceLibrary::Sound> sounds = AmbienceLibrary::sounds();
    EXPECT_EQ(fileNames(sounds), (QStringList{"B.wav", "Rain.MP3", "b.wav", "rain.aiff", "rain.wav", "sea.tar.flac"}));
    EXPECT_EQ(sounds.at(1).name, QStringLiteral("Rain"));
    EXPECT_EQ(sounds.at(5).name, QStringLiteral("sea.tar"));

    // The first in list order wins a shared name; nothing is found for nothing.
    EXPECT_EQ(AmbienceLibrary::sound(QStringLiteral("rain"))->url, sounds.at(3).url);
    EXPECT_EQ(AmbienceLibrary::sound(std::nullopt), std::nullopt);
    EXPECT_EQ(AmbienceLibrary::sound(QStringLiteral("RAIN")), std::nullopt);
}

TEST_F(AmbienceLibraryTest, AddingCopiesOnceAndGivesClashingFilesAFreeName)
{
    const QString rain = outside.filePath(QStringLiteral("rain.wav"));
    writeFile(rain, "first");

    const auto added = AmbienceLibrary::add(rain);
    ASSERT_TRUE(added);
    EXPECT_EQ(added->name, QStringLiteral("rain"));
    EXPECT_EQ(readFile(added->url.toLocalFile()), QByteArray("first"));

    // The same file again: the sound already there, nothing copied.
    EXPECT_EQ(AmbienceLibrary::add(rain), added);
    EXPECT_EQ(AmbienceLibrary::sounds().size(), 1);

    // A different file under a taken name: copied beside it under a free name.
    QDir(outside.path()).mkdir(QStringLiteral("other"));
    const QString other = outside.filePath(QStringLiteral("other/rain.wav"));
    writeFile(other, "second");
    const auto second = AmbienceLibrary::add(other);
    ASSERT_TRUE(second);
    EXPECT_EQ(second->name, QStringLiteral("rain 2"));
    EXPECT_EQ(readFile(second->url.toLocalFile()), QByteArray("second"));
    EXPECT_EQ(readFile(added->url.toLocalFile()), QByteArray("first"));
    // Added again: the copy made under the free name, no third copy.
    EXPECT_EQ(AmbienceLibrary::add(other), second);
    EXPECT_EQ(AmbienceLibrary::sounds().size(), 2);

    // A name taken under another extension counts as taken too.
    const QString mp3 = outside.filePath(QStringLiteral("rain.mp3"));
    writeFile(mp3, "third");
    const auto third = AmbienceLibrary::add(mp3);
    ASSERT_TRUE(third);
    EXPECT_EQ(third->name, QStringLiteral("rain 3"));
    EXPECT_EQ(fileNames(AmbienceLibrary::sounds()), (QStringList{"rain.wav", "rain 2.wav", "rain 3.mp3"}));
}

TEST_F(AmbienceLibraryTest, RefusesUnlistedExtensionsAndMissingFiles)
{
    for (const char *name : {"notes.txt", "song.ogg", "noextension"}) {
        const QString path = outside.filePath(QLatin1String(name));
        writeFile(path, "x");
        EXPECT_EQ(AmbienceLibrary::add(path), std::nullopt) << name;
    }
    EXPECT_EQ(AmbienceLibrary::add(outside.filePath(QStringLiteral("gone.wav"))), std::nullopt);
    EXPECT_TRUE(QDir(AmbienceLibrary::folderPath()).entryList(QDir::Files | QDir::Hidden).isEmpty());
}

TEST_F(AmbienceLibraryTest, RemoveDeletesTheFileAndIgnoresErrors)
{
    const QString path = outside.filePath(QStringLiteral("wind.flac"));
    writeFile(path, "x");
    const auto sound = AmbienceLibrary::add(path);
    ASSERT_TRUE(sound);
    AmbienceLibrary::remove(*sound);
    EXPECT_TRUE(AmbienceLibrary::sounds().isEmpty());
    AmbienceLibrary::remove(*sound);
    EXPECT_TRUE(QFile::exists(path));
}
