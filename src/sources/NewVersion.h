#pragma once

#include "core/ProjectAddresses.h"

#include <QDateTime>
#include <QString>
#include <QUrl>
#include <functional>
#include <optional>

class Preferences;

// Where the update feed lives: GET <updateHost>/latest.json. The build's
// feed host by default; with none, no request is ever sent.
struct NewVersionConfig
{
    QUrl updateHost = ProjectAddresses::current().updateFeedHost;
    qint64 timeoutMs = 8000;
};

// Tells whether a newer build has been published. The feed is a small JSON
// object {"version": "1.4.2", "url": "https://…", "note": "…" (optional)};
// versions are compared number by number. Nothing is logged and every
// failure simply finds nothing.
class NewVersion
{
public:
    struct Found
    {
        QString version;
        QUrl url; // always http or https
        std::optional<QString> note;
    };
    using Done = std::function<void(std::optional<Found>)>;

    // A look within this many seconds of the last announced version sends nothing.
    static constexpr qint64 kGapSeconds = 86400;
    // Feeds longer than this are ignored.
    static constexpr qint64 kMaxFeedBytes = 64 * 1024;
    // The preference holding the time of the last look that found something
    // (seconds since 1970; 0 or absent: never).
    static const QString kLastLookedKey;

    // Calls done with the offered version when it is newer than here; with
    // nothing when lastLooked lies less than a day before now (done is then
    // called at once, without a request), on any failure, or when the feed's
    // version is not newer. Otherwise done is called on the main thread when
    // the answer is in.
    static void check(const QString &here, const std::optional<QDateTime> &lastLooked, const QDateTime &now,
                      Done done, const NewVersionConfig &config = NewVersionConfig());

    // check() with the last look read from prefs and, when something newer
    // is found, the current time stamped back into it.
    static void checkStamped(Preferences &prefs, const QString &here, Done done,
                             const NewVersionConfig &config = NewVersionConfig());

    // Whether candidate is newer than running: both split at "." (empty
    // pieces dropped), each piece read from its ASCII digits wherever they
    // stand (none, or other digits: 0), compared position by position with
    // missing positions as 0. Numbers of any length compare exactly.
    static bool isNewer(const QString &candidate, const QString &running);
};
