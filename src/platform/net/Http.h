#pragma once

#include <QByteArray>
#include <QList>
#include <QPair>
#include <QString>
#include <QUrl>
#include <functional>

class QObject;

// Why a request got no HTTP reply. The numbers are the transport error codes
// the program shows in its sync texts ("The connection stumbled (-1011).").
enum class NetFailure : int {
    None = 0,
    Unknown = -1,
    Cancelled = -999,
    BadUrl = -1000,
    TimedOut = -1001,
    UnsupportedUrl = -1002,
    CannotFindHost = -1003,
    CannotConnectToHost = -1004,
    NetworkConnectionLost = -1005,
    DnsLookupFailed = -1006,
    NotConnectedToInternet = -1009,
    BadServerResponse = -1011,
    SecureConnectionFailed = -1200,
    ServerCertificateUntrusted = -1202,
};

// The outcome of one HTTP exchange.
struct HttpResult
{
    // True when an HTTP reply arrived (whatever its status); false after a
    // transport failure.
    bool replied = false;
    // The HTTP status, 0 when the reply carried none.
    int status = 0;
    QByteArray body;
    // The reply's headers as they came (names as sent by the server).
    QList<QPair<QByteArray, QByteArray>> headers;
    // The value of a reply header (name compared case-insensitively); empty
    // when the reply has none.
    QByteArray header(const QByteArray &name) const;
    // The body was cut off because it grew past the request's limit.
    bool tooLarge = false;
    // Set when replied is false.
    NetFailure failure = NetFailure::None;
    // A one-line technical description of the failure (never holds headers).
    QString description;
};

// A request as the program sends it.
struct HttpRequest
{
    QByteArray method = "GET";
    QUrl url;
    QList<QPair<QByteArray, QByteArray>> headers;
    QByteArray body;
    // The whole exchange must finish within this many milliseconds of the
    // current clock; past it the request is aborted and reported as TimedOut.
    qint64 timeoutMs = 60000;
    // Bodies longer than this are dropped and reported as tooLarge (0: no limit).
    qint64 maxBodyBytes = 0;
};

// HTTP for the program's few network needs: one shared client on the main
// thread with no cache, no redirect ever followed (a credential never goes
// to another address), and a time-out on the program's clock. The client is
// the network module's (NetModule), loaded with the first request.
namespace Http {

using Done = std::function<void(const HttpResult &)>;

// Sends the request and calls done exactly once on the main thread, unless
// context (when given) is destroyed first.
void send(const HttpRequest &request, QObject *context, Done done);

// Requests sent and not yet finished (tests wait on this before moving a
// fake clock).
int inFlight();

} // namespace Http
