#include "platform/files/DataFile.h"

#include "platform/time/Clock.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

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

    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    if (secret)
        file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    if (file.write(bytes) != bytes.size()) {
        if (error)
            *error = file.errorString();
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
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
