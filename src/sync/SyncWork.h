#pragma once

#include "core/SharedSettings.h"
#include "sync/SyncBundle.h"
#include "sync/SyncStore.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

// The pure part of a sync: reading the downloaded copies and merging them
// with a snapshot of the local data. It touches no store, setting or clock,
// so a worker thread may run it while the main thread goes on.
namespace SyncWork {

// What the downloaded copies gave.
struct Reading
{
    // A copy of a newer format: the sync must stop, nothing of it is used.
    bool newerFormat = false;
    // The other devices whose copies were read, in text order.
    QStringList peers;
    // The copies that were read, by the store's names, in the store's order.
    QStringList readCopies;
    // The newest settings among the copies read.
    std::optional<SharedSettings> remoteSettings;
    // The local snapshot merged with every copy read, in the store's order.
    SyncBundle running;
    // takeIn(snapshot, running): the result as long as nothing changed
    // locally since the snapshot.
    SyncBundle merged;
};

// Reads every copy in order: a copy that does not decode is skipped; a copy
// of version 2 or more stops the reading at once (newerFormat). me is this
// device's name, left out of the peers.
Reading read(const SyncBundle &local, const QList<SyncCopy> &copies, const QString &me);

// The lists of a and b merged (a's elements first in every rule) and the
// newer settings. Device name and time are left for the caller to stamp.
SyncBundle merge(const SyncBundle &a, const SyncBundle &b);

// The local data merged with running, local first. A list that comes out
// equal to the local one is the local list itself (shared, not copied), so
// that writing it back costs no comparison and changes nothing.
SyncBundle takeIn(const SyncBundle &local, const SyncBundle &running);

// Whether two bundles hold the very same lists (the same shared data, not
// merely equal elements) and equal settings: a cheap test that nothing of a
// snapshot changed.
bool sameData(const SyncBundle &a, const SyncBundle &b);

} // namespace SyncWork
