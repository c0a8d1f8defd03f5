#include "platform/net/NetModule.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLibrary>

namespace {

using EntryOf = const NetModule::Entry *(*)();

struct Loaded
{
    bool tried = false;
    QString path;
    const NetModule::Entry *entry = nullptr;
};

Loaded &module()
{
    static Loaded loaded;
    if (loaded.tried)
        return loaded;
    loaded.tried = true;
    // Beside the program (the build folder), where it is installed
    // (<prefix>/lib/quillmere beside <prefix>/bin), then the build folder of
    // this build, for the tests and tools in its subfolders.
    const QString here = QCoreApplication::applicationDirPath();
    const QStringList folders = {here, QDir::cleanPath(here + QStringLiteral("/../" QUILLMERE_NET_MODULE_INSTALL_DIR)),
                                 QStringLiteral(QUILLMERE_NET_MODULE_BUILD_DIR)};
    for (const QString &folder : folders) {
        const QString path = folder + QStringLiteral("/libquillmere_net.so");
        if (!QFile::exists(path))
            continue;
        QLibrary library(path);
        auto entryOf = reinterpret_cast<EntryOf>(library.resolve("quillmere_net_module"));
        if (const NetModule::Entry *entry = entryOf ? entryOf() : nullptr) {
            // Loaded for the rest of the run: the library is never unloaded.
            loaded = {true, path, entry};
            return loaded;
        }
        qWarning("network module not usable: %s", qPrintable(library.errorString()));
    }
    qWarning("no network module (libquillmere_net.so) found: nothing is sent");
    return loaded;
}

} // namespace

namespace NetModule {

const Entry *entry()
{
    return module().entry;
}

QString loadedFrom()
{
    return module().path;
}

} // namespace NetModule
