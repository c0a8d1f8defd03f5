#pragma once

#include "support/FakeHttpServer.h"

#include <QByteArray>
#include <QDateTime>
#include <QList>
#include <QSet>
#include <QString>
#include <QUrl>

// A stateful stand-in for Google's token and revocation endpoints and for the
// Drive REST calls the sync store makes on its application-data files, as
// strict as the real service where a client can go wrong:
//  - every Drive call needs a bearer token this fake issued and has not
//    revoked or expired (else 401);
//  - the list honours the "fields" mask (no nextPageToken unless asked for)
//    and hands out small pages, so a client that reads one page misses files;
//  - files of the application-data space cannot be trashed (403
//    notSupportedForAppDataFolderFiles), only deleted;
//  - rate limits (429, 403 userRateLimitExceeded) come on demand.
// Refresh tokens it never issued are accepted until revoked, so a test can
// start from a stored token of its own.
class FakeDrive
{
public:
    struct File
    {
        QString id;
        QString name;
        QByteArray bytes;
        QDateTime createdTime;
    };
    // One request as it reached the fake, with the fake clock's time.
    struct Seen
    {
        QByteArray method;
        QString path;
        int status = 0;
        QDateTime at;
    };
    enum class Limit {
        TooManyRequests, // 429 rateLimitExceeded
        UserRateLimit,   // 403 userRateLimitExceeded
    };

    FakeDrive();

    // The server's address: the Drive host and, with "/token" and "/revoke",
    // the sign-in endpoints.
    QUrl url(const QString &path = QString()) const { return m_server.url(path); }
    FakeHttpServer &server() { return m_server; }

    // The files in the application-data space, oldest first.
    QList<File> files() const { return m_files; }
    // Their contents, oldest first.
    QList<QByteArray> live() const;
    // Puts a copy of the sync file there, as another device would; gives its id.
    QString add(const QByteArray &bytes);
    // Removes every file and forgets the requests seen (tokens stay).
    void clear();

    // The most files one page of the list holds, whatever the client asks
    // for (3 unless set).
    void setPageLimit(int files) { m_pageLimit = files; }
    // The first page of every listing comes back empty, with a page token,
    // as Drive may answer before it reaches the end.
    void setEmptyFirstPage(bool on) { m_emptyFirstPage = on; }
    // Every page says the search did not look everywhere.
    void setIncompleteSearch(bool on) { m_incompleteSearch = on; }

    // Refuses the next count Drive requests of this method (any when empty)
    // whose path starts with pathPrefix, with a rate limit; a Retry-After of
    // that many seconds goes with it when retryAfterSeconds is 0 or more.
    void limitNext(int count, Limit kind, const QByteArray &method = {}, const QString &pathPrefix = {},
                   int retryAfterSeconds = -1);

    // Drive stops accepting every access token handed out so far (as when
    // Google ends them before their stated expiry); refresh tokens stay good.
    void dropAccessTokens();
    // As if the user removed the program's access in their Google account.
    void revoke(const QString &refreshToken);
    // Tokens handed back at the revocation endpoint, in order.
    QStringList revoked() const { return m_revokedInOrder; }

    QList<Seen> seen() const { return m_seen; }

private:
    struct Limiter
    {
        int count = 0;
        Limit kind = Limit::TooManyRequests;
        QByteArray method;
        QString pathPrefix;
        int retryAfterSeconds = -1;
    };

    FakeHttpServer::Answer answer(const FakeHttpServer::Request &request);
    FakeHttpServer::Answer token(const FakeHttpServer::Request &request);
    FakeHttpServer::Answer revokeAnswer(const FakeHttpServer::Request &request);
    FakeHttpServer::Answer list(const FakeHttpServer::Request &request);
    FakeHttpServer::Answer drive(const FakeHttpServer::Request &request);
    File *find(const QString &id);
    QString newID();

    FakeHttpServer m_server;
    QList<File> m_files;
    int m_created = 0;
    int m_issued = 0;
    int m_pageLimit = 3;
    bool m_emptyFirstPage = false;
    bool m_incompleteSearch = false;
    QList<Limiter> m_limits;
    QSet<QString> m_accessTokens;            // good access tokens
    QHash<QString, QString> m_accessOwner;   // access token -> refresh token
    QSet<QString> m_revokedRefresh;
    QStringList m_revokedInOrder;
    QList<Seen> m_seen;
};
