#include "platform/files/AppPaths.h"

#include <QDir>
#include <QStandardPaths>

namespace AppPaths {

QString dataDir()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + QStringLiteral("/Quillmere");
}

QString configDir()
{
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QStringLiteral("/Quillmere");
}

bool ensureDir(const QString &path)
{
    return QDir().mkpath(path);
}

} // namespace AppPaths
