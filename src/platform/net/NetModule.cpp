#include "platform/net/NetModule.h"

#include "platform/modules/ModuleLibrary.h"

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
    if (const auto found = ModuleLibrary::load(QStringLiteral("libquillmere_net.so"), {"quillmere_net_module"},
                                               "network", "nothing is sent")) {
        if (const auto *entry = reinterpret_cast<EntryOf>(found->symbols.constFirst())())
            loaded = {true, found->path, entry};
    }
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
