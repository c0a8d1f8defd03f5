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
    qint64 retryWaitMs = 2000;
};

// Keeps the sync document as one file, "quillmere-sync.json", in the
// signed-in user's Google Drive application-data space ("appDataFolder"),
// over the Drive REST API v3 with a bearer token from GoogleAuth.
//
// The store works on the document's BYTES: it neither reads nor writes the
// bundle format. loadAll() downloads every copy of the file (oldest first);
// save() overwrites the oldest copy that this store read (or creates the file)
// and moves the other copies it read to the Drive trash. Copies that appeared
// after loadAll() are left for the next sync to merge.
//
// Every failure becomes a sentence in SyncReport::lastError() and a line in
// the sync report log. Requests run one after another on the main thread;
// a transient failure (5xx, lost connection, time-out, ...) is tried once
// more after a short wait. Answers come through callbacks on the main thread.
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
    // Narrows the copies the next save() may overwrite or trash to these
    // (a copy the caller could not use must survive).
    void limitReplaceable(const QStringList &ids);

    // The last sync failure sentence (shared by the whole process).
    QString lastError() const;

    // Whether a Drive file id may go into a URL: letters, digits, "-", "_".
    static bool isUsableFileID(const QString &id);

private:
    using Sent = std::function<void(std::optional<HttpResult>)>;

    HttpRequest request(const QByteArray &method, const QString &path, const QString &query,
                        const QString &token) const;
    void send(const HttpRequest &request, const QString &what, Sent done, bool firstAttempt = true);
    void fileIDs(const QString &token, std::function<void(std::optional<QStringList>)> done);
    void download(QStringList ids, const QString &token, QList<QByteArray> kept, bool ok, LoadDone done);
    void put(const QByteArray &bytes, const QString &id, const QString &token, SaveDone done);
    void create(const QByteArray &bytes, const QString &token, SaveDone done);
    void tidy(QStringList extra, const QString &token, std::function<void()> done);
    void recordReply(const QString &what, const HttpResult &result);
    static bool worthRetrying(NetFailure failure);
    static QString noKeyMessage();

    GoogleAuth *m_auth;
    Config m_config;
    QSet<QString> m_read; // ids whose content the last loadAll() read
    QStringList m_readInOrder;
};
