#include "sync/DriveSyncStore.h"

#include "core/L.h"
#include "platform/time/Clock.h"
#include "sync/GoogleAuth.h"
#include "sync/SyncReport.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QPointer>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QUuid>

const QString DriveSyncStore::kFileName = QStringLiteral("quillmere-sync.json");

namespace {
const QString kList = QStringLiteral("棚を見る");
const QString kDownload = QStringLiteral("控えを読む");
const QString kUpdate = QStringLiteral("書き換え");
const QString kCreate = QStringLiteral("作成");

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

HttpRequest DriveSyncStore::request(const QByteArray &method, const QString &path, const QString &query,
                                    const QString &token) const
{
    HttpRequest r;
    r.method = method;
    r.url = m_config.host;
    r.url.setPath(m_config.host.path() + path);
    if (!query.isEmpty())
        r.url.setQuery(query);
    r.headers.append(qMakePair(QByteArray("Authorization"), "Bearer " + token.toUtf8()));
    r.timeoutMs = m_config.timeoutMs;
    return r;
}

void DriveSyncStore::send(const HttpRequest &req, const QString &what, Sent done, bool firstAttempt)
{
    Http::send(req, this, [this, req, what, done, firstAttempt](const HttpResult &result) {
        const bool transient = result.replied ? (result.status >= 500 && result.status <= 599)
                                              : worthRetrying(result.failure);
        if (firstAttempt && transient) {
            QPointer<DriveSyncStore> self(this);
            Clock::current().schedule(m_config.retryWaitMs, [self, req, what, done] {
                if (self)
                    self->send(req, what, done, false);
            });
            return;
        }
        if (result.replied) {
            done(result);
            return;
        }
        if (result.failure != NetFailure::Cancelled)
            SyncReport::record(SyncReport::explain(result.failure),
                               what + QChar(0xFF1A) + SyncReport::detail(result.failure, result.description));
        done(std::nullopt);
    });
}

void DriveSyncStore::recordReply(const QString &what, const HttpResult &result)
{
    const QString body = bodyText(result.body);
    SyncReport::record(SyncReport::explain(result.status, body),
                       what + QLatin1Char(' ') + QString::number(result.status) + QStringLiteral(": ") + body);
}

void DriveSyncStore::fileIDs(const QString &token, std::function<void(std::optional<QStringList>)> done)
{
    const QString query = QStringLiteral("spaces=") + encoded(QStringLiteral("appDataFolder"))
                          + QStringLiteral("&q=")
                          + encoded(QStringLiteral("name = '") + kFileName + QStringLiteral("' and trashed = false"))
                          + QStringLiteral("&fields=") + encoded(QStringLiteral("files(id,createdTime)"))
                          + QStringLiteral("&orderBy=createdTime&pageSize=10");
    send(request("GET", QStringLiteral("/drive/v3/files"), query, token), kList,
         [this, done](std::optional<HttpResult> result) {
        if (!result) {
            done(std::nullopt);
            return;
        }
        const QJsonDocument doc = QJsonDocument::fromJson(result->body);
        const QJsonObject top = doc.object();
        const QJsonValue files = top.value(QStringLiteral("files"));
        bool shaped = result->status == 200 && doc.isObject() && !top.isEmpty() && files.isArray();
        QStringList ids;
        if (shaped) {
            for (const QJsonValue &file : files.toArray()) {
                if (!file.isObject()) {
                    shaped = false;
                    break;
                }
                const QJsonValue id = file.toObject().value(QStringLiteral("id"));
                // An id that cannot safely go into a URL is never used.
                if (id.isString() && isUsableFileID(id.toString()))
                    ids.append(id.toString());
            }
        }
        if (!shaped) {
            recordReply(kList, *result);
            done(std::nullopt);
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
        self->fileIDs(*token, [self, token, done](std::optional<QStringList> ids) {
            if (!ids) {
                done({}, false);
                return;
            }
            self->download(*ids, *token, {}, true, done);
        });
    });
}

void DriveSyncStore::download(QStringList ids, const QString &token, QList<QByteArray> kept, bool ok, LoadDone done)
{
    if (ids.isEmpty()) {
        done(kept, ok);
        return;
    }
    const QString id = ids.takeFirst();
    send(request("GET", QStringLiteral("/drive/v3/files/") + id, QStringLiteral("alt=media"), token), kDownload,
         [this, id, ids, token, kept, ok, done](std::optional<HttpResult> result) mutable {
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
        download(ids, token, kept, ok, done);
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
        self->fileIDs(*token, [self, bytes, token, done](std::optional<QStringList> ids) {
            if (!ids) {
                done(false);
                return;
            }
            QStringList read;
            for (const QString &id : *ids)
                if (self->m_read.contains(id))
                    read.append(id);
            if (read.isEmpty()) {
                self->create(bytes, *token, done);
                return;
            }
            const QString target = read.takeFirst();
            self->put(bytes, target, *token, [self, read, token, done](bool ok) {
                if (!ok || read.isEmpty()) {
                    done(ok);
                    return;
                }
                self->tidy(read, *token, [done] { done(true); });
            });
        });
    });
}

void DriveSyncStore::put(const QByteArray &bytes, const QString &id, const QString &token, SaveDone done)
{
    HttpRequest req = request("PATCH", QStringLiteral("/upload/drive/v3/files/") + id,
                              QStringLiteral("uploadType=media"), token);
    req.headers.append(qMakePair(QByteArray("Content-Type"), QByteArray("application/json")));
    req.body = bytes;
    send(req, kUpdate, [this, done](std::optional<HttpResult> result) {
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

void DriveSyncStore::create(const QByteArray &bytes, const QString &token, SaveDone done)
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

    HttpRequest req = request("POST", QStringLiteral("/upload/drive/v3/files"), QStringLiteral("uploadType=multipart"),
                              token);
    req.headers.append(qMakePair(QByteArray("Content-Type"), "multipart/related; boundary=" + boundary));
    req.body = body;
    send(req, kCreate, [this, done](std::optional<HttpResult> result) {
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

void DriveSyncStore::tidy(QStringList extra, const QString &token, std::function<void()> done)
{
    if (extra.isEmpty()) {
        done();
        return;
    }
    const QString id = extra.takeFirst();
    HttpRequest req = request("PATCH", QStringLiteral("/drive/v3/files/") + id, QString(), token);
    req.headers.append(qMakePair(QByteArray("Content-Type"), QByteArray("application/json")));
    req.body = QByteArrayLiteral("{\"trashed\":true}");
    // One attempt each; the answer does not matter.
    Http::send(req, this, [this, extra, token, done](const HttpResult &) { tidy(extra, token, done); });
}
