#include "platform/fakes/FakeNotificationCenter.h"

#include <algorithm>

namespace {

QString identifiersOf(const QList<PendingNotification> &listed)
{
    QStringList ids;
    for (const PendingNotification &p : listed)
        ids << p.request.identifier;
    return ids.join(QLatin1Char(' '));
}

} // namespace

FakeNotificationCenter::FakeNotificationCenter(QObject *parent)
    : NotificationCenter(parent)
    , m_scheduler(*this)
{
}

FakeNotificationCenter::~FakeNotificationCenter() = default;

void FakeNotificationCenter::requestAuthorization(AuthorizationAnswer answer)
{
    m_log << QStringLiteral("requestAuthorization");
    m_answers.append(std::move(answer));
}

void FakeNotificationCenter::answerAuthorization(bool granted)
{
    m_authorization = granted ? Authorization::Authorized : Authorization::Denied;
    const auto answers = std::exchange(m_answers, {});
    for (const AuthorizationAnswer &answer : answers)
        if (answer)
            answer(granted);
}

void FakeNotificationCenter::add(const NotificationRequest &request)
{
    m_log << QStringLiteral("add ") + request.identifier;
    if (m_available)
        m_scheduler.add(request);
}

void FakeNotificationCenter::removePendingRequests(const QStringList &identifiers)
{
    m_log << QStringLiteral("removePending ") + identifiers.join(QLatin1Char(' '));
    m_scheduler.remove(identifiers);
}

void FakeNotificationCenter::removePendingRequests(const QList<PendingNotification> &listed)
{
    m_log << QStringLiteral("removeListed ") + identifiersOf(listed);
    m_scheduler.remove(listed);
}

void FakeNotificationCenter::removeDeliveredNotifications(const QStringList &identifiers)
{
    m_log << QStringLiteral("removeDelivered ") + identifiers.join(QLatin1Char(' '));
    m_delivered.removeIf([&](const NotificationRequest &r) { return identifiers.contains(r.identifier); });
}

QList<PendingNotification> FakeNotificationCenter::pendingRequests() const
{
    m_log << QStringLiteral("pendingRequests");
    return m_scheduler.pending();
}

bool FakeNotificationCenter::tap(const QString &identifier)
{
    const auto it = std::find_if(m_delivered.begin(), m_delivered.end(),
                                 [&](const NotificationRequest &r) { return r.identifier == identifier; });
    if (it == m_delivered.end())
        return false;
    emit tapped(it->identifier, it->userInfo);
    return true;
}

void FakeNotificationCenter::show(const NotificationRequest &request)
{
    m_delivered.removeIf([&](const NotificationRequest &r) { return r.identifier == request.identifier; });
    m_delivered.append(request);
    m_shownSoFar.append(request);
}
