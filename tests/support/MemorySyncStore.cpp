#include "MemorySyncStore.h"

QString MemorySyncStore::add(const QByteArray &bytes)
{
    const QString id = QStringLiteral("copy-%1").arg(m_nextId++);
    copies.append(SyncCopy{id, bytes});
    return id;
}

void MemorySyncStore::loadAll(std::function<void(SyncLoad)> done)
{
    ++loadCount;
    auto answer = [this, done] {
        SyncLoad load;
        load.ok = !failListing;
        if (load.ok) {
            for (const SyncCopy &copy : copies) {
                if (copy.id == failDownloadOf)
                    load.ok = false;
                else
                    load.copies.append(copy);
            }
        }
        if (!load.ok)
            m_lastError = QStringLiteral("取ってこられませんでした");
        done(load);
    };
    if (deferred)
        m_loads.push_back(answer);
    else
        answer();
}

void MemorySyncStore::save(const QByteArray &bytes, const QStringList &replaceable, std::function<void(bool)> done)
{
    ++saveCount;
    lastReplaceable = replaceable;
    auto answer = [this, bytes, replaceable, done] {
        if (failSave) {
            m_lastError = saveError.isEmpty() ? std::nullopt : std::optional<QString>(saveError);
            done(false);
            return;
        }
        saved.append(bytes);
        QList<SyncCopy> kept;
        bool written = false;
        for (const SyncCopy &copy : copies) {
            if (!replaceable.contains(copy.id)) {
                kept.append(copy);
            } else if (!written) {
                kept.append(SyncCopy{copy.id, bytes});
                written = true;
            }
        }
        copies = kept;
        if (!written)
            add(bytes);
        m_lastError.reset();
        done(true);
    };
    if (deferred)
        m_saves.push_back(answer);
    else
        answer();
}

std::optional<QString> MemorySyncStore::lastError() const
{
    return m_lastError;
}

bool MemorySyncStore::releaseLoad()
{
    if (m_loads.empty())
        return false;
    auto next = std::move(m_loads.front());
    m_loads.pop_front();
    next();
    return true;
}

bool MemorySyncStore::releaseSave()
{
    if (m_saves.empty())
        return false;
    auto next = std::move(m_saves.front());
    m_saves.pop_front();
    next();
    return true;
}
