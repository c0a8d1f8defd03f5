#pragma once

#include "platform/net/Http.h"

#include <QDateTime>
#include <QJsonObject>
#include <QList>
#include <QObject>
#include <QPair>
#include <QString>
#include <QUrl>
#include <functional>
#include <memory>
#include <optional>

class LoopbackListener;
class Preferences;

// Where sign-in talks to. The defaults are Google's; tests point them at
// a local server.
struct GoogleAuthConfig
{
    QUrl authorizationUrl = QUrl(QStringLiteral("https://accounts.google.com/o/oauth2/v2/auth"));
    QUrl tokenUrl = QUrl(QStringLiteral("https://oauth2.googleapis.com/token"));
    // Where a sign-out hands the refresh token back.
    QUrl revokeUrl = QUrl(QStringLiteral("https://oauth2.googleapis.com/revoke"));
    QString scope = QStringLiteral("https://www.googleapis.com/auth/drive.appdata");
    // The client this build ships with; empty means the user loads a
    // client file first.
    QString builtInClientID;
    QString builtInClientSecret;
    qint64 requestTimeoutMs = 60000;
    // How long the browser has to come back.
    qint64 replyWaitMs = 180000;
};

// The program's connection to the user's Google account, which the Drive
// store needs for every request. Sign-in is OAuth 2.0 for installed
// programs: authorization code with PKCE (S256), the consent screen in the
// user's browser, the answer received on a one-shot loopback listener. The
// long-lived refresh token lives in the secrets file (Keychain); the access
// token and its expiry live in memory only, so the first token() of a run
// refreshes.
//
// One object per run, on the main thread. Every operation answers through a
// callback on the main thread; nothing throws.
//
// connect() and disconnect() hide QObject's members of the same names inside
// this class; code here uses QObject::connect explicitly.
class GoogleAuth : public QObject
{
    Q_OBJECT
    Q_PROPERTY(bool isConnected READ isConnected NOTIFY isConnectedChanged)
    Q_PROPERTY(bool isConnecting READ isConnecting NOTIFY isConnectingChanged)
    Q_PROPERTY(QString lastError READ lastError NOTIFY lastErrorChanged)
public:
    using Config = GoogleAuthConfig;

    using BrowserOpener = std::function<void(const QUrl &)>;
    using TokenDone = std::function<void(std::optional<QString>)>;

    // defaults is where a client identifier may be preset ("googleClientID").
    explicit GoogleAuth(Preferences &defaults, Config config = Config(), QObject *parent = nullptr);
    ~GoogleAuth() override;

    // Replaces the browser (by default the desktop's, QDesktopServices).
    void setBrowserOpener(BrowserOpener opener) { m_opener = std::move(opener); }

    // A refresh token is stored (read at creation and after each exchange).
    bool isConnected() const { return m_connected; }
    // A sign-in is under way.
    bool isConnecting() const { return m_connecting; }
    // The last failure of client loading, sign-in or refresh, already in the
    // interface language; empty when none. Plain text: show it as such.
    QString lastError() const { return m_lastError; }

    // The client identifier: the secrets file's, else the preset one, else
    // the built-in one, else nothing.
    std::optional<QString> clientID() const;

    // Reads an OAuth client file (Google's layout, under "installed" or "web"
    // or flat) and stores its identifier and secret. True on success.
    bool loadClient(const QString &path);

    // The whole interactive sign-in; done(true) when a refresh token is stored
    // at its end and this sign-in received an access token.
    void connect(std::function<void(bool)> done = {});

    // Signs out: posts the stored refresh token to Google's revocation
    // endpoint, then forgets it and the access token at once (the client
    // stays). The sign-out here never waits for Google: a revocation that
    // fails is written to the sync report. done (when given) learns whether
    // Google confirmed the revocation (true when there was nothing to revoke).
    void disconnect(std::function<void(bool)> done = {});

    // A valid access token, refreshed when it expires within 60 s; nothing
    // when none can be had.
    void token(TokenDone done);

    // Drops the cached access token when it is the one given, which a
    // server has just refused, so the next token() refreshes instead of
    // handing it out again until its stated expiry.
    void forgetAccessToken(const QString &rejected);

    // length characters drawn uniformly from A-Z a-z 0-9 "-._~" with the
    // system's secure random source.
    static QString randomString(int length);
    // The PKCE S256 challenge: base64url (no padding) of SHA-256(verifier).
    static QString challenge(const QString &verifier);

signals:
    void isConnectedChanged();
    void isConnectingChanged();
    void lastErrorChanged();

private:
    using Form = QList<QPair<QString, QString>>;

    void exchange(const QString &code, const QString &verifier, const QString &redirect,
                  std::function<void(bool)> done);
    void refresh(TokenDone done);
    void post(const Form &form, std::function<void(std::optional<QJsonObject>)> done);
    void revoke(const QString &refreshToken, std::function<void(bool)> done);
    // Forgets the refresh token and the access token, without a word to Google.
    void forget();
    HttpRequest formRequest(const QUrl &url, const Form &form) const;
    void apply(const QJsonObject &answer);
    QString clientSecret() const;
    void finishSignIn(bool ok, const std::function<void(bool)> &done);

    void setConnected(bool value);
    void setConnecting(bool value);
    void setLastError(const QString &value);

    Preferences &m_defaults;
    Config m_config;
    BrowserOpener m_opener;
    bool m_connected = false;
    bool m_connecting = false;
    QString m_lastError;
    std::optional<QString> m_accessToken;
    std::optional<QDateTime> m_expiresAt;
    LoopbackListener *m_listener = nullptr;
};
