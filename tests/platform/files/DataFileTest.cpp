// Atomic writes when the file system refuses them, and the leftovers of
// saves killed mid-write.
#include "platform/files/DataFile.h"
#include "support/ScopedTmpfs.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QStringList entries(const QString &folder)
{
    return QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
}

} // namespace

TEST(DataFileWrites, AFullDiskLeavesTheOldFileWholeAndSaysSo)
{
    QTemporaryDir root;
    const QString folder = root.path() + QStringLiteral("/small");
    ScopedTmpfs disk(folder, 256 * 1024);
    if (!disk.mounted())
        GTEST_SKIP() << disk.why().toStdString();

    const QString path = folder + QStringLiteral("/tasks.json");
    const QByteArray old(6 * 1024, 'o');
    ASSERT_TRUE(DataFile::writeAtomically(path, old));
    disk.fill();

    struct Case
    {
        const char *name;
        qsizetype size;
    };
    // Small content used to sit in the write buffer until commit, where its
    // failed flush went unseen; large content fails while it is written.
    const Case cases[] = {{"one byte", 1}, {"smaller than the buffer", 2000}, {"larger than the buffer", 64 * 1024}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        QString error;
        EXPECT_FALSE(DataFile::writeAtomically(path, QByteArray(c.size, 'n'), false, &error));
        EXPECT_EQ(error.toStdString(), "No space left on device");
        EXPECT_EQ(DataFile::read(path).bytes, old);
        EXPECT_EQ(entries(folder), (QStringList{QStringLiteral("filler"), QStringLiteral("tasks.json")}))
            << "no temporary file stays behind";
    }

    // Room for part of it: the write stops short, and the next attempt at the
    // rest says why.
    {
        QFile filler(folder + QStringLiteral("/filler"));
        ASSERT_TRUE(filler.resize(filler.size() - 32 * 1024));
        QString error;
        EXPECT_FALSE(DataFile::writeAtomically(path, QByteArray(128 * 1024, 'n'), false, &error));
        EXPECT_EQ(error.toStdString(), "No space left on device");
        EXPECT_EQ(DataFile::read(path).bytes, old);
        EXPECT_EQ(entries(folder), (QStringList{QStringLiteral("filler"), QStringLiteral("tasks.json")}));
    }

    QFile::remove(folder + QStringLiteral("/filler"));
    EXPECT_TRUE(DataFile::writeAtomically(path, "new"));
    EXPECT_EQ(DataFile::read(path).bytes, QByteArray("new"));
}

TEST(DataFileWrites, OnlyTheTemporaryFilesOfThatFileAreRemoved)
{
    QTemporaryDir root;
    const QString path = root.path() + QStringLiteral("/sessions.json");
    const QStringList kept = {
        QStringLiteral("sessions.json"),
        QStringLiteral("sessions.json.unreadable-20250304-090000"),
        QStringLiteral("sessions.json.abc12"),   // five characters
        QStringLiteral("sessions.json.abc1234"), // seven
        QStringLiteral("sessions.json.abc-12"),  // not a letter or digit
        QStringLiteral("tasks.json.Ab3dE9"),     // another file's
        QStringLiteral("Sessions.json.Ab3dE9"),  // another file's, by case
    };
    const QStringList leftovers = {QStringLiteral("sessions.json.Ab3dE9"), QStringLiteral("sessions.json.000000")};
    for (const QString &name : kept + leftovers) {
        QFile f(root.path() + QLatin1Char('/') + name);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("x");
    }

    EXPECT_EQ(DataFile::removeLeftovers(path), 2);
    QStringList expected = kept;
    expected.sort();
    EXPECT_EQ(entries(root.path()), expected);
    EXPECT_EQ(DataFile::removeLeftovers(path), 0);
}
