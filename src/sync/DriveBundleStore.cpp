#include "sync/DriveBundleStore.h"

#include "sync/DriveSyncStore.h"

DriveBundleStore::DriveBundleStore(DriveSyncStore &drive)
    : m_drive(drive)
{
}

void DriveBundleStore::loadAll(std::function<void(SyncLoad)> done)
{
    DriveSyncStore *drive = &m_drive;
    m_drive.loadAll([drive, done](QList<QByteArray> files, bool ok) {
        SyncLoad load;
        load.ok = ok;
        const QStringList ids = drive->readIDs();
        for (qsizetype i = 0; i < files.size(); ++i)
            load.copies.append(SyncCopy{i < ids.size() ? ids.at(i) : QString(), files.at(i)});
        done(load);
    });
}

void DriveBundleStore::save(const QByteArray &bytes, const QStringList &replaceable, std::function<void(bool)> done)
{
    m_drive.limitReplaceable(replaceable);
    m_drive.save(bytes, [done](bool ok) { done(ok); });
}

std::optional<QString> DriveBundleStore::lastError() const
{
    const QString text = m_drive.lastError();
    return text.isEmpty() ? std::nullopt : std::optional<QString>(text);
}
