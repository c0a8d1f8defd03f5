#pragma once

#include "platform/net/Http.h"

#include <functional>

class Clock;
class QNetworkAccessManager;

// The network module's HTTP client over Qt Network: what Http::send hands
// its requests to once the module is loaded.
namespace QtHttp {

// The shared client (main thread): no cache, no redirect ever followed, no
// strict transport security.
QNetworkAccessManager &manager();

// Sends a request whose address is valid, with its time-out on the current
// clock (as clock() gives it), and calls finished exactly once, on the main
// thread.
void send(const HttpRequest &request, Clock &(*clock)(), std::function<void(const HttpResult &)> finished);

// The transport failure for a reply error code.
NetFailure failureOf(int networkReplyError);

} // namespace QtHttp
