#pragma once

#include "sync/SyncStore.h"

#include <QList>
#include <QStringList>
#include <deque>

// A bundle store in memory for tests. Copies keep their order; a save
// overwrites the first replaceable copy (or adds one) and removes the other
// replaceable copies, as the real store does. Failures can be switched on, and
// answers can be held back (deferred) until the test releases them, to stand
// for a download or an upload on its way.
class MemorySyncStore : public SyncStore
{
public:
    QList<SyncCopy> copies;

    // The listing fails, or the copy with this id cannot be fetched.
    bool failListing = false;
    QString failDownloadOf;
    // The next saves fail with this text (nothing when empty).
    bool failSave = false;
    QString saveError;

    // Hold answers until releaseLoad() / releaseSave().
    bool deferred = false;

    int loadCount = 0;
    int saveCount = 0;
    QList<QByteArray> saved;
    QStringList lastReplaceable;

    // Adds a copy under a fresh id ("copy-1", ...) and gives the id.
    QString add(const QByteArray &bytes);

    void loadAll(std::function<void(SyncLoad)> done) override;
    void save(const QByteArray &bytes, const QStringList &replaceable, std::function<void(bool)> done) override;
    std::optional<QString> lastError() const override;

    bool releaseLoad();
    bool releaseSave();
    // Whether an answer is being held back.
    bool holding() const { return !m_loads.empty() || !m_saves.empty(); }

private:
    std::deque<std::function<void()>> m_loads;
    std::deque<std::function<void()>> m_saves;
    std::optional<QString> m_lastError;
    int m_nextId = 1;
};
