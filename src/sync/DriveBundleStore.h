#pragma once

#include "sync/SyncStore.h"

#include <memory>

class DriveSyncStore;

// The sync service's view of the Drive file store: copies named by their
// Drive file ids, and saves that overwrite or delete only the copies the sync
// could merge.
class DriveBundleStore : public SyncStore
{
public:
    // The Drive store is shared, not owned; it must outlive this object.
    explicit DriveBundleStore(DriveSyncStore &drive);

    void loadAll(std::function<void(SyncLoad)> done) override;
    void save(const QByteArray &bytes, const QStringList &replaceable, std::function<void(bool)> done) override;
    std::optional<QString> lastError() const override;

private:
    DriveSyncStore &m_drive;
};
