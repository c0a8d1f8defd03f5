#pragma once

#include "stores/EncodedList.h"

#include <QByteArray>
#include <QJsonArray>
#include <QList>
#include <QMutex>
#include <QObject>
#include <QString>
#include <functional>
#include <memory>

// What the session, task and day-note stores share: one JSON array file in
// the data folder, read once at creation and written whole and atomically
// after every change.
//
// A file that exists but cannot be read or decoded is never overwritten: it
// is renamed aside ("<name>.unreadable-<yyyyMMdd-HHmmss>"), the store starts
// empty and says so through lastError, and the next save writes a fresh file.
// When the data folder cannot be made, or a save fails, the store keeps its
// content in memory, reports the failure through lastError and saveFailed,
// and writes the whole content again at the next change.
//
// After every save attempt, whether or not it succeeded, onChanged is called
// unless isApplyingRemote is set (synced data being written back must not
// schedule another sync). The changed signal fires whenever the content in
// memory changes, for screens that follow the store.
//
// Synced data written back may be saved in the background instead: the
// content is encoded and the file written on a worker thread. Writes never
// overtake one another: a save() waits for a background write under way, and
// a background write not yet under way gives way to any later save, so the
// file always ends with the latest content.
class StoreBase : public QObject
{
    Q_OBJECT
    Q_PROPERTY(bool isApplyingRemote READ isApplyingRemote WRITE setApplyingRemote NOTIFY isApplyingRemoteChanged)
    Q_PROPERTY(QString lastError READ lastError NOTIFY lastErrorChanged)

public:
    ~StoreBase() override;

    // Called after every save unless isApplyingRemote is set.
    std::function<void()> onChanged;

    QString filePath() const { return m_path; }

    bool isApplyingRemote() const { return m_applyingRemote; }
    void setApplyingRemote(bool applying);

    // The latest failure: the file set aside at load, a data folder that could
    // not be made, or a save that did not reach the disk. A successful save
    // clears it.
    QString lastError() const { return m_lastError; }

    // Writes the whole content, then calls onChanged (unless applying remote).
    void save();

    // Writes the whole content as it stands now, like save(), but encodes it
    // and writes the file on a worker thread, so that a long file holds up
    // nothing; for synced data written back, so onChanged is not called.
    // done (when given) runs on the main thread once the file is written,
    // the write failed (lastError says why) or a later save took its place;
    // it is not called when the store is destroyed first, and then nothing is
    // written.
    void saveInBackground(std::function<void()> done = {});

signals:
    void changed();
    void isApplyingRemoteChanged();
    void lastErrorChanged();
    // A save did not reach the disk (also when writing was held back because
    // an unreadable file still holds the name); the text says why, for the user.
    void saveFailed(const QString &text);

protected:
    // folder empty: the program's data folder.
    StoreBase(const QString &folder, const QString &fileName, QObject *parent);

    // The whole content as the text of the JSON array that goes to disk.
    virtual QByteArray encodedContent() = 0;

    // How to encode the content as it stands now on another thread: encode
    // gives the file's text and may run on any thread; keep (main thread,
    // after encode) takes its element cache back for the next save.
    struct Encoding
    {
        std::function<QByteArray()> encode;
        std::function<void()> keep;
    };
    virtual Encoding backgroundEncoding() = 0;

    // The encoding of a list through a copy of its element cache.
    template<typename T>
    static Encoding encodingOf(const QList<T> &items, EncodedList<T> &cache)
    {
        auto work = std::make_shared<EncodedList<T>>(cache);
        return {[work, items] { return work->document(items); }, [work, &cache] { cache = *work; }};
    }

    // Reads the file and hands its array to decode, which throws
    // KivJSON::DecodeError when an element does not read. Returns false when
    // there was no content (missing, unreadable or undecodable file).
    bool load(const std::function<void(const QByteArray &)> &decode);

    // Assigns a whole new content; an equal one changes nothing and tells no
    // one. Returns whether the content changed.
    template<typename T>
    bool assign(QList<T> &content, const QList<T> &value)
    {
        if (content == value)
            return false;
        content = value;
        emit changed();
        return true;
    }

private:
    // What the main thread and the background writes share, under the
    // mutex, which is also held for every write of the file: the number of
    // the latest write asked for, and whether the store is gone.
    struct WriteGate
    {
        QMutex mutex;
        quint64 latest = 0;
        bool closed = false;

        quint64 next();
        bool isLatest(quint64 ticket);
    };

    void keepAside(const QString &why);
    void setLastError(const QString &text);
    bool mayWrite();
    void reportWrite(bool ok, const QString &error);

    QString m_path;
    QString m_lastError;
    bool m_applyingRemote = false;
    // False while an unreadable file that could not be moved aside still
    // holds the name: writing would destroy it.
    bool m_mayWrite = true;
    std::shared_ptr<WriteGate> m_gate = std::make_shared<WriteGate>();
};
