#pragma once

#include "platform/net/Http.h"

#include <QByteArray>
#include <QString>
#include <functional>

class Clock;
class LoopbackListener;

// The program's HTTP client and sign-in listener live in a module of their
// own (libquillmere_net.so, over Qt Network, which brings the system's
// Kerberos, proxy and resolver libraries) that is loaded when the network is
// first wanted, not at start. Without the module no request goes out: each
// fails as a connection that could not be made.
namespace NetModule {

// What the module offers. Nothing in it reaches into the program: the
// current clock (Clock::current) and the texts it needs are handed to it.
struct Entry
{
    // Sends the request on the main thread's shared client, with its
    // time-out on the current clock, and calls finished exactly once.
    void (*send)(const HttpRequest &request, Clock &(*clock)(), std::function<void(const HttpResult &)> finished);
    // A listener on the current clock, whose pages for a browser that
    // connected or did not are the ones given.
    LoopbackListener *(*newLoopbackListener)(Clock &(*clock)(), const QByteArray &connectedPage,
                                             const QByteArray &refusedPage);
};

// The module's entry, loading it if need be; null when it cannot be loaded.
const Entry *entry();

// Where the module was found (empty when it was not, or not yet looked for).
QString loadedFrom();

} // namespace NetModule
