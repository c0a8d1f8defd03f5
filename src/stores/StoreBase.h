#pragma once

#include <QByteArray>
#include <QJsonArray>
#include <QList>
#include <QObject>
#include <QString>
#include <functional>

// What the session, task and day-note stores share: one JSON array file in
// the data folder, read once at creation and written whole and atomically
// after every change.
//
// A file that exists but cannot be read or decoded is never overwritten: it
// is renamed aside ("<name>.unreadable-<yyyyMMdd-HHmmss>"), the store starts
// empty and says so through lastError, and the next save writes a fresh file.
// When the data folder cannot be made, or a save fails, the store keeps its
// content in memory and reports the failure through lastError.
//
// After every save attempt, whether or not it succeeded, onChanged is called
// unless isApplyingRemote is set (synced data being written back must not
// schedule another sync). The changed signal fires whenever the content in
// memory changes, for screens that follow the store.
class StoreBase : public QObject
{
    Q_OBJECT
    Q_PROPERTY(bool isApplyingRemote READ isApplyingRemote WRITE setApplyingRemote NOTIFY isApplyingRemoteChanged)
    Q_PROPERTY(QString lastError READ lastError NOTIFY lastErrorChanged)

public:
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

signals:
    void changed();
    void isApplyingRemoteChanged();
    void lastErrorChanged();

protected:
    // folder empty: the program's data folder.
    StoreBase(const QString &folder, const QString &fileName, QObject *parent);

    // The whole content as the text of the JSON array that goes to disk.
    virtual QByteArray encodedContent() = 0;

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
    void keepAside(const QString &why);
    void setLastError(const QString &text);

    QString m_path;
    QString m_lastError;
    bool m_applyingRemote = false;
    // False while an unreadable file that could not be moved aside still
    // holds the name: writing would destroy it.
    bool m_mayWrite = true;
};
