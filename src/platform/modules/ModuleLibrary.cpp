#include "platform/modules/ModuleLibrary.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLibrary>

std::optional<ModuleLibrary::Loaded> ModuleLibrary::load(const QString &fileName, const QList<const char *> &symbols,
                                                         const char *what, const char *withoutIt)
{
    const QString here = QCoreApplication::applicationDirPath();
    const QStringList folders = {here, QDir::cleanPath(here + QStringLiteral("/../" QUILLMERE_MODULE_INSTALL_DIR)),
                                 QStringLiteral(QUILLMERE_MODULE_BUILD_DIR)};
    for (const QString &folder : folders) {
        const QString path = folder + QLatin1Char('/') + fileName;
        if (!QFile::exists(path))
            continue;
        QLibrary library(path);
        Loaded loaded{path, {}};
        for (const char *symbol : symbols) {
            const QFunctionPointer address = library.resolve(symbol);
            if (!address)
                break;
            loaded.symbols.append(address);
        }
        if (loaded.symbols.size() == symbols.size())
            return loaded;
        qWarning("%s module not usable: %s", what, qPrintable(library.errorString()));
    }
    qWarning("no %s module (%s) found: %s", what, qPrintable(fileName), withoutIt);
    return std::nullopt;
}
