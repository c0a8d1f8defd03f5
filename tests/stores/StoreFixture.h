#pragma once

#include "platform/fakes/FakeClock.h"
#include "support/ScopedDirs.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>
#include <optional>

// A fresh data folder and a fake clock standing at 4 March 2025 09:00 local
// time for each test.
class StoreFixture : public ::testing::Test
{
protected:
    void SetUp() override { Clock::setCurrent(&clock); }
    void TearDown() override { Clock::setCurrent(nullptr); }

    static QDateTime at(int y, int mo, int d, int h = 0, int mi = 0, int s = 0, int ms = 0)
    {
        return QDateTime(QDate(y, mo, d), QTime(h, mi, s, ms));
    }

    QString dir() const { return dirs->dataDir(); }

    // Starts over in a new, empty data folder (one for each case of a table).
    void freshFolder()
    {
        dirs.reset();
        dirs.emplace();
    }
    QString path(const QString &name) const { return QDir(dir()).filePath(name); }

    QByteArray bytes(const QString &name) const
    {
        QFile f(path(name));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    void write(const QString &name, const QByteArray &content) const
    {
        QDir().mkpath(dir());
        QFile f(path(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(content);
    }

    bool exists(const QString &name) const { return QFile::exists(path(name)); }

    std::optional<ScopedDirs> dirs{std::in_place};
    FakeClock clock{QDateTime(QDate(2025, 3, 4), QTime(9, 0))};
};
