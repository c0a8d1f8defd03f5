#include "sync/SyncWork.h"

#include "core/KivJSON.h"
#include "stores/DayMath.h"
#include "sync/SyncMerge.h"

#include <QSet>
#include <algorithm>

namespace SyncWork {

Reading read(const SyncBundle &local, const QList<SyncCopy> &copies, const QString &me)
{
    Reading out;
    out.running = local;
    QSet<QString> peers;
    for (const SyncCopy &copy : copies) {
        const std::optional<QJsonObject> top = SyncBundle::topLevel(copy.bytes);
        if (!top)
            continue;
        // A newer format is refused before anything of it is decoded: its
        // elements may mean something this version cannot know.
        if (SyncBundle::isNewerFormat(*top)) {
            out.newerFormat = true;
            return out;
        }
        SyncBundle bundle;
        try {
            bundle = SyncBundle::decode(copy.bytes);
        } catch (const KivJSON::DecodeError &) {
            continue;
        }
        out.readCopies.append(copy.id);
        if (bundle.device != me)
            peers.insert(bundle.device);
        out.remoteSettings = SharedSettings::pick(out.remoteSettings, bundle.settings);
        out.running = merge(out.running, bundle);
    }
    out.peers = QStringList(peers.begin(), peers.end());
    std::sort(out.peers.begin(), out.peers.end(), DayMath::textLess);
    out.merged = takeIn(local, out.running);
    return out;
}

SyncBundle merge(const SyncBundle &a, const SyncBundle &b)
{
    SyncBundle out;
    out.records = SyncMerge::mergeRecords(a.records, b.records);
    out.tasks = SyncMerge::mergeTasks(a.tasks, b.tasks);
    out.days = SyncMerge::mergeDays(a.days, b.days);
    out.settings = SharedSettings::pick(a.settings, b.settings);
    return out;
}

SyncBundle takeIn(const SyncBundle &local, const SyncBundle &running)
{
    SyncBundle out = merge(local, running);
    if (out.records == local.records)
        out.records = local.records;
    if (out.tasks == local.tasks)
        out.tasks = local.tasks;
    if (out.days == local.days)
        out.days = local.days;
    return out;
}

bool sameData(const SyncBundle &a, const SyncBundle &b)
{
    return a.records.isSharedWith(b.records) && a.tasks.isSharedWith(b.tasks) && a.days.isSharedWith(b.days) &&
           a.settings == b.settings;
}

} // namespace SyncWork
