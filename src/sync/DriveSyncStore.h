#pragma once

#include "platform/net/Http.h"

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QSet>
#include <QString>
#include <QStringList>
#include <QUrl>
#include <functional>
#include <optional>

class GoogleAuth;

// Where the Drive store talks to and how patiently.
struct DriveSyncConfig
{
    // Scheme and host of the Drive REST API; tests use a local server.
    QUrl host = QUrl(QStringLiteral("https://www.googleapis.com"));
    qint64 timeoutMs = 60000;
    // A connection that dropped, timed out or could not be made is tried
    // once more after this wait.
    qint64 retryWaitMs = 2000;
    // Rate limits (429; 403 for rateLimitExceeded or userRateLimitExceeded)
    // and server errors (5xx) are tried again up to maxRetries times, after
    // waits of backoffMs doubling each time up to maxBackoffMs, plus a random
    // jitter below jitterMs. A longer Retry-After from the server is waited
    // out instead; one beyond longestRetryAfterMs ends the tries.
    int maxRetries = 4;
    qint64 backoffMs = 1000;
    qint64 maxBackoffMs = 8000;
    qint64 jitterMs = 1000;
    qint64 longestRetryAfterMs = 60000;
    // The random part of a wait, in [0, bound) milliseconds; empty: the
    // system's random generator. Tests make it fixed.
    std::function<qint64(qint64 bound)> jitter;
    // Files asked for per page of the list; every page is read.
    int pageSize = 100;
};

// Keeps the sync document as one file, "quillmere-sync.json", in the
// signed-in user's Google Drive application-data space ("appDataFolder"),
// over the Drive REST API v3 with a bearer token from GoogleAuth.
//
// The store works on the document's BYTES: it neither reads nor writes the
// bundle format. loadAll() reads every page of the file list and downloads
// every copy (oldest first); save() overwrites the oldest copy that this store
// read (or creates the file) and, once that is stored, deletes the other
// copies it read (files in the application-data space cannot be trashed).
// Copies that appeared after loadAll() are left for the next sync to merge.
//
// Every failure becomes a sentence in SyncReport::lastError() and a line in
// the sync report log; a copy that could not be deleted is only logged.
// Requests run one after another on the main thread. Rate limits and server
// errors are waited out with exponential backoff on the program's clock; a
// dropped connection is tried once more; an access token Drive refuses (401)
// is dropped, refreshed once and the request sent once more with the new one.
// Answers come through callbacks on the main thread.
class DriveSyncStore : public QObject
{
    Q_OBJECT
public:
    using Config = DriveSyncConfig;

    using LoadDone = std::function<void(QList<QByteArray> files, bool ok)>;
    using SaveDone = std::function<void(bool ok)>;

    static const QString kFileName;

    explicit DriveSyncStore(GoogleAuth *auth, Config config = Config(), QObject *parent = nullptr);

    // The bodies of all copies, oldest first. ok is false when there is no
    // token, listing failed or any copy could not be downloaded (files then
    // holds the copies that did come); no copy at all is ok with no files.
    void loadAll(LoadDone done);

    // Stores bytes as the file's content; ok on success.
    void save(const QByteArray &bytes, SaveDone done);

    // The ids of the copies the last loadAll() gave, in the order of its files.
    QStringList readIDs() const { return m_readInOrder; }
    // Narrows the copies the next save() may overwrite or delete to these
    // (a copy the caller could not use must survive).
    void limitReplaceable(const QStringList &ids);

    // The last sync failure sentence (shared by the whole process).
    QString lastError() const;

    // Whether a Drive file id may go into a URL: letters, digits, "-", "_".
    static bool isUsableFileID(const QString &id);

    // How long to wait before trying a request again after this reply, the
    // retries before it counted; nothing when it is not worth another try.
    std::optional<qint64> retryWait(const HttpResult &result, int retriesSoFar) const;

private:
    using Sent = std::function<void(std::optional<HttpResult>)>;
    using IDsDone = std::function<void(std::optional<QStringList>)>;

    // Whether a failure sets the sync's failure text or is only logged.
    enum class Failures { Record, LogOnly };
    struct Attempt
    {
        int backoffs = 0;          // rate-limit and server-error repeats so far
        bool repeated = false;     // a failed connection was tried again
        bool reauthorized = false; // a refused token was refreshed
    };

    HttpRequest request(const QByteArray &method, const QString &path, const QString &query) const;
    void send(HttpRequest request, const QString &what, Failures failures, Sent done);
    void send(HttpRequest request, const QString &what, Failures failures, Sent done, Attempt attempt);
    void sendAgain(const HttpRequest &request, const QString &what, Failures failures, const Sent &done,
                   const Attempt &attempt, qint64 waitMs);
    void reauthorize(const HttpRequest &request, const QString &what, Failures failures, const HttpResult &refused,
                     const Sent &done, const Attempt &attempt);
    void fileIDs(IDsDone done);
    void listPage(const QString &pageToken, QStringList ids, int pages, IDsDone done);
    void download(QStringList ids, QList<QByteArray> kept, bool ok, LoadDone done);
    void put(const QByteArray &bytes, const QString &id, SaveDone done);
    void create(const QByteArray &bytes, SaveDone done);
    void removeExtras(QStringList extra, std::function<void()> done);
    void recordReply(const QString &what, const HttpResult &result);
    static void report(Failures failures, const QString &message, const QString &detail);
    static bool worthRetrying(NetFailure failure);
    static bool worthWaitingFor(const HttpResult &result);
    static QString noKeyMessage();

    GoogleAuth *m_auth;
    Config m_config;
    QString m_token; // the access token of the operation under way
    QSet<QString> m_read; // ids whose content the last loadAll() read
    QStringList m_readInOrder;
};
