#include "sync/GoogleAuth.h"

#include "core/L.h"
#include "platform/time/Clock.h"
#include "platform/files/DataFile.h"
#include "platform/net/Http.h"
#include "platform/files/Preferences.h"
#include "sync/Keychain.h"
#include "platform/net/LoopbackListener.h"
#include "sync/SyncReport.h"

#include <QCryptographicHash>
#include <QDesktopServices>
#include <QJsonDocument>
#include <QRandomGenerator>
#include <QTextBoundaryFinder>
#include <QUrlQuery>

namespace {
const QString kRefreshToken = QStringLiteral("googleRefreshToken");
const QString kClientID = QStringLiteral("googleClientID");
const QString kClientSecret = QStringLiteral("googleClientSecret");

// Text that came from the browser, made safe to show: no control
// characters, at most 200 user-perceived characters.
QString plainShort(const QString &text)
{
    QString clean;
    for (QChar c : text)
        clean += (c.category() == QChar::Other_Control || c == QChar(0x2028) || c == QChar(0x2029)) ? QChar(' ') : c;
    QTextBoundaryFinder finder(QTextBoundaryFinder::Grapheme, clean);
    qsizetype end = 0;
    for (int n = 0; n < 200; ++n) {
        const qsizetype next = finder.toNextBoundary();
        if (next < 0)
            return clean;
        end = next;
    }
    return clean.left(end);
}

std::optional<QString> nonEmpty(const QString &s)
{
    return s.isEmpty() ? std::nullopt : std::optional<QString>(s);
}
} // namespace

GoogleAuth::GoogleAuth(Preferences &defaults, Config config, QObject *parent)
    : QObject(parent)
    , m_defaults(defaults)
    , m_config(std::move(config))
    , m_opener([](const QUrl &url) { QDesktopServices::openUrl(url); })
    , m_connected(Keychain::get(kRefreshToken).has_value())
{
}

GoogleAuth::~GoogleAuth()
{
    delete m_listener;
}

std::optional<QString> GoogleAuth::clientID() const
{
    if (const auto stored = Keychain::get(kClientID))
        return stored;
    if (const auto preset = m_defaults.string(kClientID))
        return preset;
    return nonEmpty(m_config.builtInClientID);
}

QString GoogleAuth::clientSecret() const
{
    return Keychain::get(kClientSecret).value_or(m_config.builtInClientSecret);
}

QString GoogleAuth::randomString(int length)
{
    static const QByteArray alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-._~";
    QString out;
    out.reserve(length);
    for (int i = 0; i < length; ++i)
        out += QChar(alphabet.at(QRandomGenerator::system()->bounded(int(alphabet.size()))));
    return out;
}

QString GoogleAuth::challenge(const QString &verifier)
{
    const QByteArray digest = QCryptographicHash::hash(verifier.toUtf8(), QCryptographicHash::Sha256);
    return QString::fromLatin1(digest.toBase64(QByteArray::Base64UrlEncoding | QByteArray::OmitTrailingEquals));
}

bool GoogleAuth::loadClient(const QString &path)
{
    const DataFile::ReadResult file = DataFile::read(path);
    QJsonParseError error{};
    const QJsonDocument doc = QJsonDocument::fromJson(file.bytes, &error);
    if (file.status != DataFile::ReadStatus::Ok || error.error != QJsonParseError::NoError || !doc.isObject()) {
        setLastError(L("この設定ファイルは読めませんでした。"));
        return false;
    }
    const QJsonObject top = doc.object();
    QJsonObject chosen = top;
    const QString nested = top.contains(QStringLiteral("installed")) ? QStringLiteral("installed")
                           : top.contains(QStringLiteral("web"))     ? QStringLiteral("web")
                                                                     : QString();
    if (!nested.isEmpty() && top.value(nested).isObject())
        chosen = top.value(nested).toObject();
    const QJsonValue id = chosen.value(QStringLiteral("client_id"));
    if (!id.isString()) {
        setLastError(L("設定ファイルに client_id がありません。"));
        return false;
    }
    Keychain::set(id.toString(), kClientID);
    const QJsonValue secret = chosen.value(QStringLiteral("client_secret"));
    Keychain::set(secret.isString() ? std::optional<QString>(secret.toString()) : std::nullopt, kClientSecret);
    setLastError(QString());
    return true;
}

void GoogleAuth::connect(std::function<void(bool)> done)
{
    const std::optional<QString> client = clientID();
    if (!client) {
        setLastError(L("先に Google の設定ファイルを読み込んでください。"));
        if (done)
            done(false);
        return;
    }
    if (m_connecting) {
        if (done)
            done(false);
        return;
    }
    setConnecting(true);

    const QString verifier = randomString(64);
    const QString codeChallenge = challenge(verifier);
    const QString state = randomString(24);

    m_listener = LoopbackListener::make();
    QString openError = QStringLiteral("no network module");
    const quint16 port = m_listener ? m_listener->start(&openError) : 0;
    if (port == 0) {
        setLastError(L("受け口を開けませんでした（{0}）。", openError));
        finishSignIn(false, done);
        return;
    }
    const QString redirect = QStringLiteral("http://127.0.0.1:") + QString::number(port);

    QUrl url = m_config.authorizationUrl;
    QUrlQuery query;
    query.addQueryItem(QStringLiteral("client_id"), *client);
    query.addQueryItem(QStringLiteral("redirect_uri"), redirect);
    query.addQueryItem(QStringLiteral("response_type"), QStringLiteral("code"));
    query.addQueryItem(QStringLiteral("scope"), m_config.scope);
    query.addQueryItem(QStringLiteral("code_challenge"), codeChallenge);
    query.addQueryItem(QStringLiteral("code_challenge_method"), QStringLiteral("S256"));
    query.addQueryItem(QStringLiteral("access_type"), QStringLiteral("offline"));
    query.addQueryItem(QStringLiteral("prompt"), QStringLiteral("consent"));
    query.addQueryItem(QStringLiteral("state"), state);
    url.setQuery(query);
    if (!url.isValid() || url.host().isEmpty()) {
        setLastError(L("行き先を組み立てられませんでした。"));
        finishSignIn(false, done);
        return;
    }

    m_listener->waitForQuery(state, m_config.replyWaitMs,
                             [this, state, verifier, redirect, done](std::optional<LoopbackListener::Query> answer) {
        if (!answer) {
            setLastError(L("許可の返事がありませんでした。"));
            finishSignIn(false, done);
        } else if (!answer->contains(QStringLiteral("state")) || answer->value(QStringLiteral("state")) != state) {
            setLastError(L("返事の合い言葉が合いません。"));
            finishSignIn(false, done);
        } else if (answer->contains(QStringLiteral("code"))) {
            // The listener stays open while the exchange runs.
            exchange(answer->value(QStringLiteral("code")), verifier, redirect,
                     [this, done](bool ok) { finishSignIn(ok, done); });
        } else if (answer->contains(QStringLiteral("error"))) {
            setLastError(L("許可されませんでした（{0}）。", plainShort(answer->value(QStringLiteral("error")))));
            finishSignIn(false, done);
        } else {
            setLastError(L("許可されませんでした。"));
            finishSignIn(false, done);
        }
    });
    if (m_opener)
        m_opener(url);
}

void GoogleAuth::finishSignIn(bool ok, const std::function<void(bool)> &done)
{
    if (m_listener) {
        m_listener->close();
        m_listener->deleteLater(); // this may run inside the listener's own callback
        m_listener = nullptr;
    }
    setConnecting(false);
    if (done)
        done(ok);
}

void GoogleAuth::disconnect(std::function<void(bool)> done)
{
    const std::optional<QString> refreshToken = Keychain::get(kRefreshToken);
    if (refreshToken && !refreshToken->isEmpty()) {
        // The revocation is on its way (the token travels in the request)
        // before the token is forgotten here.
        revoke(*refreshToken, std::move(done));
        forget();
        return;
    }
    forget();
    if (done)
        done(true);
}

void GoogleAuth::forget()
{
    Keychain::set(std::nullopt, kRefreshToken);
    m_accessToken.reset();
    m_expiresAt.reset();
    setConnected(false);
}

void GoogleAuth::revoke(const QString &refreshToken, std::function<void(bool)> done)
{
    static const QString failed = QStringLiteral("Google の合鍵を取り消せませんでした。");
    static const QString label = QStringLiteral("取り消し");
    const HttpRequest request = formRequest(m_config.revokeUrl, {{QStringLiteral("token"), refreshToken}});
    Http::send(request, this, [done](const HttpResult &result) {
        const bool ok = result.replied && result.status == 200;
        if (!ok && result.replied) {
            SyncReport::log(failed, label + QLatin1Char(' ') + QString::number(result.status) + QStringLiteral(": ")
                                        + QString::fromUtf8(result.body));
        } else if (!ok) {
            SyncReport::log(failed, label + QChar(0xFF1A) + SyncReport::detail(result.failure, result.description));
        }
        if (done)
            done(ok);
    });
}

void GoogleAuth::forgetAccessToken(const QString &rejected)
{
    if (m_accessToken != rejected)
        return;
    m_accessToken.reset();
    m_expiresAt.reset();
}

void GoogleAuth::token(TokenDone done)
{
    const QDateTime now = Clock::current().now();
    if (m_accessToken && m_expiresAt && *m_expiresAt > now.addSecs(60)) {
        done(m_accessToken);
        return;
    }
    refresh(std::move(done));
}

void GoogleAuth::exchange(const QString &code, const QString &verifier, const QString &redirect,
                          std::function<void(bool)> done)
{
    const Form form = {
        {QStringLiteral("code"), code},
        {QStringLiteral("client_id"), clientID().value_or(QString())},
        {QStringLiteral("redirect_uri"), redirect},
        {QStringLiteral("grant_type"), QStringLiteral("authorization_code")},
        {QStringLiteral("code_verifier"), verifier},
        {QStringLiteral("client_secret"), clientSecret()},
    };
    post(form, [this, done](std::optional<QJsonObject> answer) {
        if (!answer) {
            done(false);
            return;
        }
        // An error answer, or one without an access token, is a failed
        // sign-in even when an older refresh token is stored; that token stays.
        if (answer->contains(QStringLiteral("error")) || !answer->value(QStringLiteral("access_token")).isString()) {
            setLastError(L("合鍵を受け取れませんでした。"));
            done(false);
            return;
        }
        const QJsonValue refreshToken = answer->value(QStringLiteral("refresh_token"));
        if (refreshToken.isString())
            Keychain::set(refreshToken.toString(), kRefreshToken);
        apply(*answer);
        setConnected(Keychain::get(kRefreshToken).has_value());
        if (!m_connected)
            setLastError(L("合鍵を受け取れませんでした。"));
        done(m_connected);
    });
}

void GoogleAuth::refresh(TokenDone done)
{
    const std::optional<QString> client = clientID();
    const std::optional<QString> refreshToken = Keychain::get(kRefreshToken);
    if (!client || !refreshToken) {
        setConnected(false);
        done(std::nullopt);
        return;
    }
    const Form form = {
        {QStringLiteral("client_id"), *client},
        {QStringLiteral("refresh_token"), *refreshToken},
        {QStringLiteral("grant_type"), QStringLiteral("refresh_token")},
        {QStringLiteral("client_secret"), clientSecret()},
    };
    post(form, [this, done](std::optional<QJsonObject> answer) {
        if (!answer) {
            done(std::nullopt); // the connection stays; the next token() tries again
            return;
        }
        if (answer->contains(QStringLiteral("error"))) {
            // Only a refused grant ends the connection; a passing trouble
            // (temporarily_unavailable, a server error) keeps the token.
            if (answer->value(QStringLiteral("error")).toString() == QStringLiteral("invalid_grant")) {
                // The token is already dead: nothing to hand back to Google.
                forget();
                setLastError(L("繋ぎ直してください。"));
            } else {
                setLastError(L("合鍵を受け取れませんでした。"));
            }
            done(std::nullopt);
            return;
        }
        apply(*answer);
        done(m_accessToken);
    });
}

HttpRequest GoogleAuth::formRequest(const QUrl &url, const Form &form) const
{
    QByteArray body;
    for (const auto &field : form) {
        if (!body.isEmpty())
            body += '&';
        body += field.first.toUtf8() + '=' + QUrl::toPercentEncoding(field.second);
    }
    HttpRequest request;
    request.method = "POST";
    request.url = url;
    request.headers = {{"Content-Type", "application/x-www-form-urlencoded"}};
    request.body = body;
    request.timeoutMs = m_config.requestTimeoutMs;
    return request;
}

void GoogleAuth::post(const Form &form, std::function<void(std::optional<QJsonObject>)> done)
{
    const HttpRequest request = formRequest(m_config.tokenUrl, form);
    Http::send(request, this, [this, done](const HttpResult &result) {
        if (!result.replied) {
            setLastError(result.description);
            done(std::nullopt);
            return;
        }
        QJsonParseError error{};
        const QJsonDocument doc = QJsonDocument::fromJson(result.body, &error);
        if (error.error != QJsonParseError::NoError) {
            setLastError(error.errorString());
            done(std::nullopt);
            return;
        }
        if (!doc.isObject()) {
            done(std::nullopt);
            return;
        }
        done(doc.object());
    });
}

void GoogleAuth::apply(const QJsonObject &answer)
{
    const QJsonValue access = answer.value(QStringLiteral("access_token"));
    m_accessToken = access.isString() ? std::optional<QString>(access.toString()) : std::nullopt;
    const QJsonValue expiresIn = answer.value(QStringLiteral("expires_in"));
    if (expiresIn.isDouble())
        m_expiresAt = Clock::current().now().addMSecs(qint64(expiresIn.toDouble() * 1000.0));
}

void GoogleAuth::setConnected(bool value)
{
    if (m_connected == value)
        return;
    m_connected = value;
    emit isConnectedChanged();
}

void GoogleAuth::setConnecting(bool value)
{
    if (m_connecting == value)
        return;
    m_connecting = value;
    emit isConnectingChanged();
}

void GoogleAuth::setLastError(const QString &value)
{
    if (m_lastError == value)
        return;
    m_lastError = value;
    emit lastErrorChanged();
}
