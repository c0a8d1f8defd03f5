#include "sync/DriveSyncStore.h"

#include "core/L.h"
#include "platform/time/Clock.h"
#include "sync/GoogleAuth.h"
#include "sync/SyncReport.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>
#include <QPointer>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QTimeZone>
#include <QUuid>

const QString DriveSyncStore::kFileName = QStringLiteral("quillmere-sync.json");

namespace {
const QString kList = QStringLiteral("棚を見る");
const QString kDownload = QStringLiteral("控えを読む");
const QString kUpdate = QStringLiteral("書き換え");
const QString kCreate = QStringLiteral("作成");
const QString kRemove = QStringLiteral("片付け");

// Pages of the file list read at most; a list that goes on past them is a
// server fault, not a reason to loop.
constexpr int kMaxListPages = 100;

// The body as UTF-8 text; empty when it is not valid UTF-8.
QString bodyText(const QByteArray &body)
{
    QStringDecoder decoder(QStringDecoder::Utf8);
    const QString text = decoder.decode(body);
    return decoder.hasError() ? QString() : text;
}

QString encoded(const QString &s)
{
    return QString::fromLatin1(QUrl::toPercentEncoding(s));
}
} // namespace

DriveSyncStore::DriveSyncStore(GoogleAuth *auth, Config config, QObject *parent)
    : QObject(parent)
    , m_auth(auth)
    , m_config(std::move(config))
{
}

QString DriveSyncStore::lastError() const
{
    return SyncReport::lastError();
}

QString DriveSyncStore::noKeyMessage()
{
    return L("Google に繋がっていません。設定の「端末をまたぐ」から繋ぎ直してください。");
}

bool DriveSyncStore::isUsableFileID(const QString &id)
{
    static const QRegularExpression pattern(QStringLiteral("^[A-Za-z0-9_-]+$"));
    return pattern.match(id).hasMatch();
}

bool DriveSyncStore::worthWaitingFor(const HttpResult &result)
{
    if (result.status == 429 || (result.status >= 500 && result.status <= 599))
        return true;
    if (result.status != 403)
        return false;
    // Drive answers a quota that ran out with 403 and names the reason;
    // any other 403 (no permission, ...) will not pass by waiting.
    const QJsonArray errors = QJsonDocument::fromJson(result.body)
                                  .object()
                                  .value(QStringLiteral("error"))
                                  .toObject()
                                  .value(QStringLiteral("errors"))
                                  .toArray();
    for (const QJsonValue &error : errors) {
        const QString reason = error.toObject().value(QStringLiteral("reason")).toString();
        if (reason == QStringLiteral("rateLimitExceeded") || reason == QStringLiteral("userRateLimitExceeded"))
            return true;
    }
    return false;
}

std::optional<qint64> DriveSyncStore::retryWait(const HttpResult &result, int retriesSoFar) const
{
    if (!worthWaitingFor(result) || retriesSoFar >= m_config.maxRetries)
        return std::nullopt;
    qint64 wait = m_config.backoffMs;
    for (int i = 0; i < retriesSoFar && wait < m_config.maxBackoffMs; ++i)
        wait *= 2;
    wait = qMin(wait, m_config.maxBackoffMs);
    if (m_config.jitterMs > 0) {
        const qint64 extra = m_config.jitter ? m_config.jitter(m_config.jitterMs)
                                             : QRandomGenerator::global()->bounded(m_config.jitterMs);
        wait += qBound(qint64(0), extra, m_config.jitterMs);
    }
    // Retry-After is either whole seconds or an HTTP date.
    const QByteArray after = result.header("Retry-After").trimmed();
    if (!after.isEmpty()) {
        bool isNumber = false;
        const qint64 seconds = after.toLongLong(&isNumber);
        qint64 asked = -1;
        if (isNumber && seconds >= 0) {
            asked = seconds > m_config.longestRetryAfterMs / 1000 ? m_config.longestRetryAfterMs + 1 : seconds * 1000;
        } else if (!isNumber) {
            // HTTP dates are in GMT: "Wed, 21 Oct 2015 07:28:00 GMT".
            const QDateTime read = QLocale::c().toDateTime(QString::fromLatin1(after),
                                                           QStringLiteral("ddd, dd MMM yyyy HH:mm:ss 'GMT'"));
            const QDateTime when(read.date(), read.time(), QTimeZone::utc());
            if (read.isValid() && when.isValid())
                asked = qMax(qint64(0), Clock::current().now().msecsTo(when));
        }
        if (asked > m_config.longestRetryAfterMs)
            return std::nullopt;
        wait = qMax(wait, asked);
    }
    return wait;
}

void DriveSyncStore::report(Failures failures, const QString &message, const QString &detail)
{
    if (failures == Failures::Record)
        SyncReport::record(message, detail);
    else
        SyncReport::log(message, detail);
}

bool DriveSyncStore::worthRetrying(NetFailure failure)
{
    switch (failure) {
    case NetFailure::NetworkConnectionLost:
    case NetFailure::TimedOut:
    case NetFailure::CannotConnectToHost:
    case NetFailure::DnsLookupFailed:
    case NetFailure::CannotFindHost:
    case NetFailure::SecureConnectionFailed:
    case NetFailure::NotConnectedToInternet:
        return true;
    default:
        return false;
    }
}

HttpRequest DriveSyncStore::request(const QByteArray &method, const QString &path, const QString &query) const
{
    HttpRequest r;
    r.method = method;
    r.url = m_config.host;
    r.url.setPath(m_config.host.path() + path);
    if (!query.isEmpty())
        r.url.setQuery(query);
    r.timeoutMs = m_config.timeoutMs;
    return r;
}

void DriveSyncStore::send(HttpRequest req, const QString &what, Failures failures, Sent done)
{
    send(std::move(req), what, failures, std::move(done), Attempt());
}

void DriveSyncStore::send(HttpRequest req, const QString &what, Failures failures, Sent done, Attempt attempt)
{
    // Every try carries the token of the moment: a refresh along the way
    // serves the rest of the operation too.
    req.headers.removeIf([](const auto &h) { return h.first == "Authorization"; });
    req.headers.prepend(qMakePair(QByteArray("Authorization"), "Bearer " + m_token.toUtf8()));
    Http::send(req, this, [this, req, what, failures, done, attempt](const HttpResult &result) {
        if (result.replied) {
            if (result.status == 401 && !attempt.reauthorized) {
                reauthorize(req, what, failures, result, done, attempt);
                return;
            }
            if (const std::optional<qint64> wait = retryWait(result, attempt.backoffs)) {
                Attempt next = attempt;
                ++next.backoffs;
                sendAgain(req, what, failures, done, next, *wait);
                return;
            }
            done(result);
            return;
        }
        if (!attempt.repeated && worthRetrying(result.failure)) {
            Attempt next = attempt;
            next.repeated = true;
            sendAgain(req, what, failures, done, next, m_config.retryWaitMs);
            return;
        }
        if (result.failure != NetFailure::Cancelled)
            report(failures, SyncReport::explain(result.failure),
                   what + QChar(0xFF1A) + SyncReport::detail(result.failure, result.description));
        done(std::nullopt);
    });
}

void DriveSyncStore::sendAgain(const HttpRequest &req, const QString &what, Failures failures, const Sent &done,
                               const Attempt &attempt, qint64 waitMs)
{
    QPointer<DriveSyncStore> self(this);
    Clock::current().schedule(waitMs, [self, req, what, failures, done, attempt] {
        if (self)
            self->send(req, what, failures, done, attempt);
    });
}

void DriveSyncStore::reauthorize(const HttpRequest &req, const QString &what, Failures failures,
                                 const HttpResult &refused, const Sent &done, const Attempt &attempt)
{
    // Drive refused a token that has not yet expired by its own account:
    // drop it, refresh once, and send the request once more.
    m_auth->forgetAccessToken(m_token);
    QPointer<DriveSyncStore> self(this);
    m_auth->token([self, req, what, failures, refused, done, attempt](std::optional<QString> token) {
        if (!self)
            return;
        if (token) {
            self->m_token = *token;
            Attempt next = attempt;
            next.reauthorized = true;
            self->send(req, what, failures, done, next);
            return;
        }
        if (!self->m_auth->isConnected()) {
            // Google refused the refresh token: the 401 stands, and its text
            // asks the user to connect again.
            done(refused);
            return;
        }
        // The refresh itself failed on its way (no network, a passing error):
        // the connection stands and the next sync tries again.
        report(failures, L("合鍵を受け取れませんでした。"),
               what + QStringLiteral(" 401: ") + bodyText(refused.body) + QStringLiteral(" / token refresh failed: ")
                   + self->m_auth->lastError());
        done(std::nullopt);
    });
}

void DriveSyncStore::recordReply(const QString &what, const HttpResult &result)
{
    const QString body = bodyText(result.body);
    SyncReport::record(SyncReport::explain(result.status, body),
                       what + QLatin1Char(' ') + QString::number(result.status) + QStringLiteral(": ") + body);
}

void DriveSyncStore::fileIDs(IDsDone done)
{
    listPage(QString(), {}, 0, std::move(done));
}

void DriveSyncStore::listPage(const QString &pageToken, QStringList ids, int pages, IDsDone done)
{
    QString query = QStringLiteral("spaces=") + encoded(QStringLiteral("appDataFolder")) + QStringLiteral("&q=")
                    + encoded(QStringLiteral("name = '") + kFileName + QStringLiteral("' and trashed = false"))
                    + QStringLiteral("&fields=")
                    + encoded(QStringLiteral("nextPageToken,incompleteSearch,files(id,createdTime)"))
                    + QStringLiteral("&orderBy=createdTime&pageSize=") + QString::number(m_config.pageSize);
    if (!pageToken.isEmpty())
        query += QStringLiteral("&pageToken=") + encoded(pageToken);
    send(request("GET", QStringLiteral("/drive/v3/files"), query), kList, Failures::Record,
         [this, pageToken, ids, pages, done](std::optional<HttpResult> result) mutable {
        if (!result) {
            done(std::nullopt);
            return;
        }
        const QJsonDocument doc = QJsonDocument::fromJson(result->body);
        const QJsonObject top = doc.object();
        const QJsonValue files = top.value(QStringLiteral("files"));
        bool shaped = result->status == 200 && doc.isObject() && !top.isEmpty() && files.isArray();
        if (shaped) {
            for (const QJsonValue &file : files.toArray()) {
                if (!file.isObject()) {
                    shaped = false;
                    break;
                }
                const QJsonValue id = file.toObject().value(QStringLiteral("id"));
                // An id that cannot safely go into a URL is never used.
                if (id.isString() && isUsableFileID(id.toString()) && !ids.contains(id.toString()))
                    ids.append(id.toString());
            }
        }
        // Drive may stop a search before it has looked everywhere; a list
        // that may miss copies must not lead to a merge or a new copy.
        const bool incomplete = top.value(QStringLiteral("incompleteSearch")).toBool();
        const QString next = top.value(QStringLiteral("nextPageToken")).toString();
        const bool endless = !next.isEmpty() && (next == pageToken || pages + 1 >= kMaxListPages);
        if (!shaped || incomplete || endless) {
            recordReply(kList, *result);
            done(std::nullopt);
            return;
        }
        // A page may come back short, even empty, before the end: only a
        // missing page token ends the list.
        if (!next.isEmpty()) {
            listPage(next, ids, pages + 1, done);
            return;
        }
        done(ids);
    });
}

void DriveSyncStore::loadAll(LoadDone done)
{
    m_read.clear();
    m_readInOrder.clear();
    QPointer<DriveSyncStore> self(this);
    m_auth->token([self, done](std::optional<QString> token) {
        if (!self)
            return;
        if (!token) {
            SyncReport::setLastError(noKeyMessage());
            done({}, false);
            return;
        }
        self->m_token = *token;
        self->fileIDs([self, done](std::optional<QStringList> ids) {
            if (!ids) {
                done({}, false);
                return;
            }
            self->download(*ids, {}, true, done);
        });
    });
}

void DriveSyncStore::download(QStringList ids, QList<QByteArray> kept, bool ok, LoadDone done)
{
    if (ids.isEmpty()) {
        done(kept, ok);
        return;
    }
    const QString id = ids.takeFirst();
    send(request("GET", QStringLiteral("/drive/v3/files/") + id, QStringLiteral("alt=media")), kDownload,
         Failures::Record, [this, id, ids, kept, ok, done](std::optional<HttpResult> result) mutable {
        if (result && result->status == 200) {
            kept.append(result->body);
            m_read.insert(id);
            m_readInOrder.append(id);
        } else {
            // A copy that cannot be read fails the load: a save after it
            // could otherwise drop that copy's data.
            if (result)
                recordReply(kDownload, *result);
            ok = false;
        }
        download(ids, kept, ok, done);
    });
}

void DriveSyncStore::limitReplaceable(const QStringList &ids)
{
    m_read.intersect(QSet<QString>(ids.begin(), ids.end()));
}

void DriveSyncStore::save(const QByteArray &bytes, SaveDone done)
{
    QPointer<DriveSyncStore> self(this);
    m_auth->token([self, bytes, done](std::optional<QString> token) {
        if (!self)
            return;
        if (!token) {
            SyncReport::setLastError(noKeyMessage());
            done(false);
            return;
        }
        self->m_token = *token;
        self->fileIDs([self, bytes, done](std::optional<QStringList> ids) {
            if (!ids) {
                done(false);
                return;
            }
            QStringList read;
            for (const QString &id : *ids)
                if (self->m_read.contains(id))
                    read.append(id);
            if (read.isEmpty()) {
                self->create(bytes, done);
                return;
            }
            const QString target = read.takeFirst();
            self->put(bytes, target, [self, read, done](bool ok) {
                // The other copies go only once the merged one is stored.
                if (!ok || read.isEmpty()) {
                    done(ok);
                    return;
                }
                self->removeExtras(read, [done] { done(true); });
            });
        });
    });
}

void DriveSyncStore::put(const QByteArray &bytes, const QString &id, SaveDone done)
{
    HttpRequest req = request("PATCH", QStringLiteral("/upload/drive/v3/files/") + id, QStringLiteral("uploadType=media"));
    req.headers.append(qMakePair(QByteArray("Content-Type"), QByteArray("application/json")));
    req.body = bytes;
    send(req, kUpdate, Failures::Record, [this, done](std::optional<HttpResult> result) {
        if (!result) {
            done(false);
            return;
        }
        if (result->status == 200) {
            SyncReport::clearLastError();
            done(true);
            return;
        }
        recordReply(kUpdate, *result);
        done(false);
    });
}

void DriveSyncStore::create(const QByteArray &bytes, SaveDone done)
{
    const QByteArray boundary = "kiv-" + QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper().toLatin1();
    const QJsonObject metadata{{QStringLiteral("name"), kFileName},
                               {QStringLiteral("parents"), QJsonArray{QStringLiteral("appDataFolder")}}};
    QByteArray body;
    body += "--" + boundary + "\r\n";
    body += "Content-Type: application/json; charset=UTF-8\r\n\r\n";
    body += QJsonDocument(metadata).toJson(QJsonDocument::Compact) + "\r\n";
    body += "--" + boundary + "\r\n";
    body += "Content-Type: application/json\r\n\r\n";
    body += bytes + "\r\n";
    body += "--" + boundary + "--\r\n";

    HttpRequest req = request("POST", QStringLiteral("/upload/drive/v3/files"), QStringLiteral("uploadType=multipart"));
    req.headers.append(qMakePair(QByteArray("Content-Type"), "multipart/related; boundary=" + boundary));
    req.body = body;
    send(req, kCreate, Failures::Record, [this, done](std::optional<HttpResult> result) {
        if (!result) {
            done(false);
            return;
        }
        if (result->status >= 200 && result->status <= 299) {
            SyncReport::clearLastError();
            done(true);
            return;
        }
        recordReply(kCreate, *result);
        done(false);
    });
}

void DriveSyncStore::removeExtras(QStringList extra, std::function<void()> done)
{
    if (extra.isEmpty()) {
        done();
        return;
    }
    // Files of the application-data space cannot be trashed, only deleted.
    // A copy left behind is merged again next time, so a failure here is
    // logged and the sync stands.
    const QString id = extra.takeFirst();
    send(request("DELETE", QStringLiteral("/drive/v3/files/") + id, QString()), kRemove, Failures::LogOnly,
         [this, extra, done](std::optional<HttpResult> result) {
        // 404: another device removed it first.
        if (result && !(result->status >= 200 && result->status <= 299) && result->status != 404) {
            const QString body = bodyText(result->body);
            SyncReport::log(QStringLiteral("余分な控えを消せませんでした。"),
                            kRemove + QLatin1Char(' ') + QString::number(result->status) + QStringLiteral(": ") + body);
        }
        removeExtras(extra, done);
    });
}
