#pragma once

#include "sync/SyncBundle.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <optional>

class DayNoteStore;
class LocalTaskStore;
class SessionStore;

// Writes all of the history, local tasks and day notes into one file in the
// sync bundle format, complete or with titles hidden, and merges such a file
// back by the sync's merge rules. An import adds and updates, and removes
// only what the file's tombstones remove; it is an ordinary local change
// (the stores report it, so a sync follows).
namespace Archive {

// The device name of an export with titles hidden.
inline const QString hiddenDevice = QStringLiteral("（伏せてあります）");

// The largest file an import reads; a larger one is refused before it is read.
inline constexpr qint64 maxImportBytes = 64 * 1024 * 1024;

// Counts of the live items in the stores after an import: deleted records,
// tasks and days are left out.
struct Restored
{
    int records = 0;
    int tasks = 0;
    int days = 0;
    bool operator==(const Restored &) const = default;
};

// The complete bundle: every record, task and day note as stored, no settings.
SyncBundle bundle(const SessionStore &sessions, const LocalTaskStore &tasks, const DayNoteStore &days);

// The bundle with titles hidden: every title replaced by a numbered code
// ("題目3"; the same trimmed title gets the same code everywhere; a blank one
// "題目なし"; breaks "経行" and "茶礼"), free texts, notes, origins and calendar
// event ids dropped. Codes are given to focus records by start time, then
// tasks by creation time, then plans in day-note order.
SyncBundle anonymous(const SessionStore &sessions, const LocalTaskStore &tasks, const DayNoteStore &days);

// The encoded export, or nothing with the reason in error.
std::optional<QByteArray> data(const SessionStore &sessions, const LocalTaskStore &tasks, const DayNoteStore &days,
                               bool hidingTitles = false, QString *error = nullptr);

// "Ondrevel-2025-03-09-0745.json", or "Ondrevel-題目なし-…" when hiding titles.
QString fileName(const QDateTime &at, bool hidingTitles);

// Merges the file into the stores (local data first) and gives the counts.
// Gives nothing, changes nothing and puts the user-facing reason in error
// when the file does not decode, when it declares a newer format than this
// version writes (merged in, the fields this version cannot read would be
// dropped and the loss synced everywhere), or when it was exported with
// titles hidden (its placeholder titles would overwrite the real ones). The
// file's device, time and settings play no part otherwise.
std::optional<Restored> restore(const QByteArray &bytes, SessionStore &sessions, LocalTaskStore &tasks,
                                DayNoteStore &days, QString *error = nullptr);

// Reads the file at path and merges it as restore() does. A file larger than
// maxImportBytes is refused before it is read, and one that cannot be read
// changes nothing; error then holds the reason.
std::optional<Restored> restoreFile(const QString &path, SessionStore &sessions, LocalTaskStore &tasks,
                                    DayNoteStore &days, QString *error = nullptr);

// The notice after an import.
QString summary(const Restored &restored);

} // namespace Archive
