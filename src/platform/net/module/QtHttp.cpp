#include "platform/net/module/QtHttp.h"

#include "platform/time/Clock.h"

#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QPointer>
#include <algorithm>
#include <memory>

namespace {
// Errors of the connection itself (dropped, timed out, garbled), as opposed
// to those Qt derives from an HTTP status. With one of these, a status that
// arrived belongs to a reply that was cut off: its body is not whole.
bool isTransportError(QNetworkReply::NetworkError error)
{
    const int code = int(error);
    return (code >= 1 && code <= 99) || error == QNetworkReply::ProtocolFailure;
}

// The most room set aside at once for an announced body; a longer one grows.
constexpr qint64 kMostReserved = qint64(64) << 20;

// Appends what the reply has to the body. A long body (a sync copy of many
// megabytes) goes straight into one block of its announced length, so that
// the main thread neither copies it twice nor moves it each time it grows.
void readInto(QByteArray &body, QNetworkReply &reply, qint64 limit)
{
    if (body.capacity() == 0) {
        qint64 announced = reply.header(QNetworkRequest::ContentLengthHeader).toLongLong();
        if (limit > 0)
            announced = std::min(announced, limit + 1);
        if (announced > 0)
            body.reserve(qsizetype(std::min(announced, kMostReserved)));
    }
    const qint64 available = reply.bytesAvailable();
    if (available <= 0)
        return;
    const qsizetype at = body.size();
    body.resize(at + qsizetype(available));
    const qint64 read = reply.read(body.data() + at, available);
    body.resize(at + qsizetype(std::max<qint64>(read, 0)));
}

struct Exchange
{
    // Set when the completion ran: an aborted reply may report finished
    // again, and the completion and the count in flight must see it once.
    bool completed = false;
    Clock::Handle timer = 0;
    bool timedOut = false;
    bool tooLarge = false;
    QByteArray body;
};
} // namespace

namespace QtHttp {

QNetworkAccessManager &manager()
{
    static QNetworkAccessManager *shared = [] {
        auto *m = new QNetworkAccessManager();
        m->setCache(nullptr);
        m->setRedirectPolicy(QNetworkRequest::ManualRedirectPolicy);
        m->setStrictTransportSecurityEnabled(false);
        return m;
    }();
    return *shared;
}

NetFailure failureOf(int code)
{
    switch (QNetworkReply::NetworkError(code)) {
    case QNetworkReply::NoError:
        return NetFailure::None;
    case QNetworkReply::ConnectionRefusedError:
    case QNetworkReply::ProxyConnectionRefusedError:
    case QNetworkReply::ProxyNotFoundError:
        return NetFailure::CannotConnectToHost;
    case QNetworkReply::RemoteHostClosedError:
    case QNetworkReply::ProxyConnectionClosedError:
        return NetFailure::NetworkConnectionLost;
    case QNetworkReply::HostNotFoundError:
        return NetFailure::CannotFindHost;
    case QNetworkReply::TimeoutError:
    case QNetworkReply::ProxyTimeoutError:
        return NetFailure::TimedOut;
    case QNetworkReply::OperationCanceledError:
        return NetFailure::Cancelled;
    case QNetworkReply::SslHandshakeFailedError:
        return NetFailure::SecureConnectionFailed;
    case QNetworkReply::TemporaryNetworkFailureError:
    case QNetworkReply::NetworkSessionFailedError:
    case QNetworkReply::BackgroundRequestNotAllowedError:
        return NetFailure::NotConnectedToInternet;
    case QNetworkReply::ProtocolUnknownError:
        return NetFailure::UnsupportedUrl;
    case QNetworkReply::ProtocolFailure:
    case QNetworkReply::TooManyRedirectsError:
    case QNetworkReply::InsecureRedirectError:
        return NetFailure::BadServerResponse;
    default:
        return NetFailure::Unknown;
    }
}

void send(const HttpRequest &request, Clock &(*clock)(), std::function<void(const HttpResult &)> finished)
{
    QNetworkRequest req(request.url);
    req.setAttribute(QNetworkRequest::CacheLoadControlAttribute, QNetworkRequest::AlwaysNetwork);
    req.setAttribute(QNetworkRequest::CacheSaveControlAttribute, false);
    req.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
    req.setAttribute(QNetworkRequest::Http2AllowedAttribute, true);
    req.setTransferTimeout(0); // the program's own clock decides the time-out
    for (const auto &header : request.headers)
        req.setRawHeader(header.first, header.second);

    auto state = std::make_shared<Exchange>();
    QNetworkReply *reply = request.body.isEmpty() && request.method != "POST" && request.method != "PATCH"
                               ? manager().sendCustomRequest(req, request.method)
                               : manager().sendCustomRequest(req, request.method, request.body);

    if (request.timeoutMs > 0) {
        QPointer<QNetworkReply> weak(reply);
        state->timer = clock().schedule(request.timeoutMs, [weak, state] {
            state->timer = 0;
            if (!weak)
                return;
            state->timedOut = true;
            weak->abort();
        });
    }

    const qint64 limit = request.maxBodyBytes;
    QObject::connect(reply, &QNetworkReply::readyRead, reply, [reply, state, limit] {
        if (state->tooLarge)
            return;
        readInto(state->body, *reply, limit);
        if (limit > 0 && state->body.size() > limit) {
            state->tooLarge = true;
            state->body.clear();
            reply->abort();
        }
    });

    QObject::connect(reply, &QNetworkReply::finished, reply, [reply, state, clock, finished, limit] {
        if (state->completed)
            return;
        state->completed = true;
        if (state->timer)
            clock().cancel(state->timer);
        state->timer = 0;
        reply->deleteLater();

        HttpResult result;
        if (!state->tooLarge && reply->isOpen())
            readInto(state->body, *reply, limit);
        const QVariant status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute);
        if (state->tooLarge) {
            result.replied = true;
            result.status = status.isValid() ? status.toInt() : 0;
            result.tooLarge = true;
        } else if (state->timedOut) {
            result.failure = NetFailure::TimedOut;
            result.description = QStringLiteral("no complete answer within the time allowed");
        } else if ((status.isValid() || reply->error() == QNetworkReply::NoError)
                   && !isTransportError(reply->error())) {
            result.replied = true;
            result.status = status.isValid() ? status.toInt() : 0;
            result.body = state->body;
            result.headers = reply->rawHeaderPairs();
        } else {
            result.failure = failureOf(int(reply->error()));
            if (result.failure == NetFailure::None)
                result.failure = NetFailure::Unknown;
            result.description = reply->errorString();
        }
        finished(result);
    });
}

} // namespace QtHttp
