#include "platform/net/NetModule.h"

#include "platform/modules/ModuleLibrary.h"

namespace {

const ModuleLibrary::Table<NetModule::Entry> &module()
{
    static const auto loaded = ModuleLibrary::table<NetModule::Entry>(
        QStringLiteral("libquillmere_net.so"), "quillmere_net_module", "network", "nothing is sent");
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
