#pragma once

#include "sync/SyncService.h"

#include <QDateTime>
#include <QString>
#include <optional>

class AppModel;

// What the "across devices" rows show, from the sync place, the Google
// connection and the sync service: which group of rows, that nothing syncs
// yet, the connect button's label and whether it can be pressed (and why
// not), whether the client file is still to be loaded and which file that
// is, the sign-in error, and the line on the last sync.
struct SyncRows
{
    bool showsGoogle = false; // syncing with Google Drive is chosen
    bool connected = false;
    // Beside the switch while it is on but no account is connected.
    QString notYetNote;
    // Not connected: the connect button and what goes with it.
    QString connectLabel;
    bool canConnect = false;
    QString cannotConnectNote; // why the connect button cannot be pressed
    bool needsClientFile = false;
    QString clientFileNote; // which file to load, and where it comes from
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
