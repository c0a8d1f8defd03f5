#pragma once

#include <QByteArray>
#include <QString>

// Whole-file reads and atomic whole-file writes of the program's own files.
namespace DataFile {

enum class ReadStatus {
    Missing,    // no file: start empty, nothing to report
    Ok,         // bytes hold the whole file
    Unreadable, // the file exists but could not be read
};

struct ReadResult
{
    ReadStatus status = ReadStatus::Missing;
    QByteArray bytes;
};

ReadResult read(const QString &path);

// Writes the whole file atomically (QSaveFile), making its folder first: the
// bytes are written and synced to disk in a temporary file that then replaces
// the old one, so a full disk or a power cut leaves the old file whole.
// A secret file is created with mode 0600 before any byte is written and its
// folder with 0700. Returns false and fills error when the write failed; the
// old file is then untouched.
bool writeAtomically(const QString &path, const QByteArray &bytes, bool secret = false,
                     QString *error = nullptr);

// Removes the temporary files that saves of this file killed mid-write left
// beside it ("<name>.XXXXXX", six letters or digits). Called once at start-up,
// before the file is first saved. Returns how many went.
int removeLeftovers(const QString &path);

// Renames a file that could not be read or decoded to
// "<name>.unreadable-<yyyyMMdd-HHmmss>" beside it, so that it is never
// overwritten. Returns the new path, or an empty string when the rename failed.
QString setAside(const QString &path);

} // namespace DataFile
