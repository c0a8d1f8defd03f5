#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

// One stored copy of the shared bundle: the store's own name for it and its
// bytes, exactly as stored.
struct SyncCopy
{
    QString id;
    QByteArray bytes;
};

// What a store found when asked for every copy. ok is false when the store
// could not list its copies or could not fetch one of them: then the copies
// are not the whole picture and nothing may be merged or written. ok with no
// copies means there is nothing there yet.
struct SyncLoad
{
    bool ok = false;
    QList<SyncCopy> copies;
};

// A place that keeps the one shared sync bundle (opaque bytes). Every call
// answers later, on the main thread, through its callback, exactly once.
class SyncStore
{
public:
    virtual ~SyncStore() = default;

    // Fetches the bytes of every stored copy, in the store's order.
    virtual void loadAll(std::function<void(SyncLoad)> done) = 0;

    // Stores bytes as the one shared bundle; gives true when it was stored.
    // replaceable names the copies (from the last loadAll) whose content is
    // already merged into bytes: the store may overwrite one of them and
    // remove the others. A copy not named there is never overwritten or
    // removed, so a copy this device could not read survives for a newer one.
    virtual void save(const QByteArray &bytes, const QStringList &replaceable,
                      std::function<void(bool)> done) = 0;

    // A user-facing text for the store's last failure, if any.
    virtual std::optional<QString> lastError() const = 0;
};
