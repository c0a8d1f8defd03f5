// What the network module offers the program: its HTTP client and the
// sign-in listener, over Qt Network. The program loads the module (and with
// it Qt Network and the system's Kerberos, proxy and resolver libraries)
// only when the network is first wanted; see NetModule.
#include "platform/net/NetModule.h"
#include "platform/net/module/LoopbackServer.h"
#include "platform/net/module/QtHttp.h"

namespace {

LoopbackListener *newLoopbackListener(Clock &(*clock)(), const QByteArray &connectedPage, const QByteArray &refusedPage)
{
    return new LoopbackServer(clock, connectedPage, refusedPage);
}

const NetModule::Entry kEntry{&QtHttp::send, &newLoopbackListener};

} // namespace

extern "C" Q_DECL_EXPORT const NetModule::Entry *quillmere_net_module()
{
    return &kEntry;
}
