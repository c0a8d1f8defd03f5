#pragma once

#include "platform/notify/NotificationTrigger.h"

#include <QDateTime>
#include <QString>
#include <QVariantMap>

// One notification the program asks the desktop to show. The identifier names
// it for replacement and withdrawal; the user info comes back with a tap.
struct NotificationRequest
{
    enum class Sound { None, Default };

    QString identifier;
    QString title;
    QString body; // plain text; escaped by the transport where the server reads markup
    Sound sound = Sound::None;
    QVariantMap userInfo;
    NotificationTrigger trigger;

    friend bool operator==(const NotificationRequest &, const NotificationRequest &) = default;
};

// A request waiting for its time, as listed by a notification center. The
// ticket names this one addition: a later request added under the same
// identifier gets another ticket, so a withdrawal by ticket never reaches it.
struct PendingNotification
{
    NotificationRequest request;
    QDateTime due;
    quint64 ticket = 0;
};
