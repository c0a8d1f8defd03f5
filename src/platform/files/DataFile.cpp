#include "platform/files/DataFile.h"

#include "platform/time/Clock.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <unistd.h>

namespace DataFile {

ReadResult read(const QString &path)
{
    QFile file(path);
    if (!file.exists())
        return {ReadStatus::Missing, {}};
    if (!file.open(QIODevice::ReadOnly))
        return {ReadStatus::Unreadable, {}};
    QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        return {ReadStatus::Unreadable, {}};
    return {ReadStatus::Ok, bytes};
}

bool writeAtomically(const QString &path, const QByteArray &bytes, bool secret, QString *error)
{
    const QFileInfo info(path);
    const QString dir = info.absolutePath();
    if (!QDir().mkpath(dir)) {
        if (error)
            *error = QStringLiteral("cannot make folder %1").arg(dir);
        return false;
    }
    if (secret)
        QFile::setPermissions(dir, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);

    // Unbuffered, so that a write the file system refuses (a full disk)
    // fails here: through QSaveFile's buffer, a small file's failed flush
    // would go unnoticed and commit() would put an empty file in place.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    if (secret)
        file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    auto fail = [&](const QString &why) {
        if (error)
            *error = why;
        file.cancelWriting(); // the temporary file goes; the old file stays whole
        return false;
    };
    // A write that stops short (the disk filled up part way) reports no
    // error of its own: writing the rest then fails and says why.
    for (qint64 done = 0; done < bytes.size();) {
        const qint64 n = file.write(bytes.constData() + done, bytes.size() - done);
        if (n <= 0)
            return fail(file.errorString());
        done += n;
    }
    if (!file.flush())
        return fail(file.errorString());
    // The new bytes reach the disk before the rename makes them the file, so
    // that a power cut leaves the old file or the new one, never an empty one.
    // A file system that cannot sync at all (EINVAL, ENOTSUP) is written as it can be.
    if (::fdatasync(file.handle()) != 0 && errno != EINVAL && errno != ENOTSUP)
        return fail(QString::fromLocal8Bit(std::strerror(errno)));
    if (!file.commit()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}

int removeLeftovers(const QString &path)
{
    const QFileInfo info(path);
    const QString prefix = info.fileName() + QLatin1Char('.');
    QDir dir = info.absoluteDir();
    int removed = 0;
    // The names are matched here rather than by a wildcard filter: the
    // folder's listing would compile a regular expression for the filter,
    // at each of the stores' starts, and match without regard to case (so a
    // file whose name differs only in case would have gone too).
    const QStringList names = dir.entryList(QDir::Files | QDir::Hidden | QDir::System);
    for (const QString &name : names) {
        if (name.size() != prefix.size() + 6 || !name.startsWith(prefix))
            continue;
        const QStringView tail = QStringView(name).sliced(prefix.size());
        const bool temporary = std::all_of(tail.begin(), tail.end(), [](QChar c) {
            return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z') || (c >= u'0' && c <= u'9');
        });
        if (temporary && dir.remove(name))
            ++removed;
    }
    return removed;
}

QString setAside(const QString &path)
{
    const QString stamp = Clock::current().now().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString target = path + QStringLiteral(".unreadable-") + stamp;
    for (int n = 2; QFile::exists(target); ++n)
        target = path + QStringLiteral(".unreadable-") + stamp + QStringLiteral("-") + QString::number(n);
    return QFile::rename(path, target) ? target : QString();
}

} // namespace DataFile
