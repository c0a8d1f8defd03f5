#pragma once

#include "platform/net/Http.h"

#include <QString>

// The sync's failure texts and its report log. When talking to Google Drive
// fails, the user sees one short sentence (lastError) and a line with the
// time, the sentence and a technical detail is appended to
// "sync-report.txt" in the data folder, the program's only log.
//
// The log is opened for appending only: it is never replaced, trimmed or
// rotated, and record() never makes the data folder. Tokens and secrets
// never reach it: bearer values and token fields are blanked out of every
// entry before it is written.
class SyncReport
{
public:
    // The last sync failure sentence, process-wide; empty when none.
    static QString lastError();
    static void setLastError(const QString &message);
    static void clearLastError();

    // Sets lastError to message and appends one entry to the log: the local
    // time "M月d日 H:mm:ss", U+3000, the message, and when a detail is given
    // a line feed, U+3000 and the detail's first 400 characters; then a line
    // feed. File errors are swallowed.
    static void record(const QString &message, const QString &detail = QString());
    // Appends the same entry as record() without touching lastError: for a
    // failure worth keeping that does not fail the sync (a leftover copy
    // that could not be removed, a sign-out Google did not confirm).
    static void log(const QString &message, const QString &detail = QString());

    // The sentence for an HTTP reply of the given status and body text.
    static QString explain(int status, const QString &body);
    // The sentence for a transport failure.
    static QString explain(NetFailure failure);
    // The log's technical line for a transport failure.
    static QString detail(NetFailure failure, const QString &description);

    static QString logPath();

    // The text with bearer tokens and token or secret JSON fields blanked.
    static QString withoutSecrets(QString text);
};
