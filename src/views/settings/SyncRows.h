#pragma once

#include "sync/SyncService.h"

#include <QDateTime>
#include <QString>
#include <optional>

class AppModel;

// What the "across devices" rows show, from the sync place, the Google
// connection and the sync service: which group of rows, the connect
// button's label and whether it can be pressed, whether the client file is
// still to be loaded, the sign-in error, and the line on the last sync.
struct SyncRows
{
    bool showsGoogle = false; // syncing with Google Drive is chosen
    bool connected = false;
    // Not connected: the connect button and what goes with it.
    QString connectLabel;
    bool canConnect = false;
    bool needsClientFile = false;
    QString error; // empty: none
    // Connected: the sync button and the line under it.
    bool canSync = false;
    QString stateNote;

    static SyncRows of(const AppModel &model);
    // "Syncing…" while working; else when the last sync succeeded (the
    // state's own time first), in the interface language's fixed locale.
    static QString stateNoteFor(const SyncService::State &state, const std::optional<QDateTime> &lastSyncedAt);

    bool operator==(const SyncRows &) const = default;
};
