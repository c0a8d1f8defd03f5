#pragma once

#include "core/Models.h"
#include "core/SharedSettings.h"
#include "stores/DayNote.h"
#include "stores/LocalTask.h"

#include <QByteArray>
#include <QDateTime>
#include <QJsonObject>
#include <QList>
#include <QString>
#include <optional>

// The one document in which a device's whole synced state travels: the
// shared sync file and the archive export file alike. Written as version 1;
// read leniently (a missing version reads as 1, missing or null "days" and
// "settings" read as empty and absent). Whoever reads it decides what to do
// with a newer version.
struct SyncBundle
{
    static constexpr qint64 currentVersion = 1;

    qint64 version = currentVersion;
    QString device;
    QDateTime savedAt;
    QList<SessionRecord> records;
    QList<LocalTask> tasks;
    QList<DayNote> days;
    std::optional<SharedSettings> settings;

    bool operator==(const SyncBundle &) const = default;

    QJsonObject toJson() const;
    // Throws KivJSON::DecodeError; never gives a partial bundle.
    static SyncBundle fromJson(const QJsonObject &json);

    // The encoded document, or nothing with the reason in error when the
    // bundle holds a number JSON cannot carry (a non-finite order or volume).
    std::optional<QByteArray> encode(QString *error = nullptr) const;
    // Throws KivJSON::DecodeError. Long lists are read on a few threads.
    static SyncBundle decode(const QByteArray &bytes);

    // The document's top-level object with the long lists ("records",
    // "tasks", "days") left empty, enough to read its version before
    // decoding anything else; nothing when the bytes hold no JSON object.
    static std::optional<QJsonObject> topLevel(const QByteArray &bytes);

    // The top-level "version" of a parsed document, read without decoding
    // anything else: absent or null reads as 1; nothing when it is not a
    // number (the document will not decode then).
    static std::optional<double> declaredVersion(const QJsonObject &json);
    // Whether the document declares a format newer than this version
    // writes (version 2 or more): its elements may mean something this
    // version cannot know, so neither sync nor import takes it in.
    static bool isNewerFormat(const QJsonObject &json);
    // What the user is told when a newer format is refused.
    static QString newerFormatRefusal();

    // This computer's name as bundles carry it, or "この端末" when it has none.
    static QString deviceName();
};
