#pragma once

#include "platform/notify/NotificationRequest.h"

#include <QList>
#include <QObject>
#include <QStringList>
#include <QVariantMap>
#include <functional>

// The desktop's notification center as the program uses it: permission, adding
// requests (an identifier already pending or shown is replaced), withdrawing
// pending and shown ones, listing what is pending, and taps coming back with
// the request's identifier and user info. All calls are made on the main
// thread and return at once; when no notification service is present
// (isAvailable() false) every operation does nothing.
class NotificationCenter : public QObject
{
    Q_OBJECT
public:
    enum class Authorization { NotDetermined, Denied, Authorized };

    using AuthorizationAnswer = std::function<void(bool granted)>;

    explicit NotificationCenter(QObject *parent = nullptr);
    ~NotificationCenter() override;

    // False when there is no notification service to show anything.
    virtual bool isAvailable() const = 0;

    // Asks for permission to show notices with sound. The answer comes later on
    // the main thread, never inside this call.
    virtual void requestAuthorization(AuthorizationAnswer answer) = 0;
    virtual Authorization authorization() const = 0;

    // Adds a request; one pending or shown under the same identifier is
    // replaced by it.
    virtual void add(const NotificationRequest &request) = 0;

    // Withdraws whatever is pending under these identifiers now; requests
    // added afterwards are untouched.
    virtual void removePendingRequests(const QStringList &identifiers) = 0;
    // Withdraws exactly the listed additions (matched by ticket) that are still
    // pending; a newer request under the same identifier stays.
    virtual void removePendingRequests(const QList<PendingNotification> &listed) = 0;
    // Takes shown notices with these identifiers off the screen.
    virtual void removeDeliveredNotifications(const QStringList &identifiers) = 0;

    // The pending requests, earliest due first.
    virtual QList<PendingNotification> pendingRequests() const = 0;

signals:
    // The user activated a shown notice.
    void tapped(const QString &identifier, const QVariantMap &userInfo);
};
