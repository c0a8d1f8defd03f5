#include "platform/notify/FreedesktopNotificationCenter.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusServiceWatcher>

namespace {

const QString kService = QStringLiteral("org.freedesktop.Notifications");
const QString kPath = QStringLiteral("/org/freedesktop/Notifications");
const QString kInterface = QStringLiteral("org.freedesktop.Notifications");
const QString kDefaultAction = QStringLiteral("default");

QDBusMessage methodCall(const QString &method)
{
    return QDBusMessage::createMethodCall(kService, kPath, kInterface, method);
}

} // namespace

FreedesktopNotificationCenter::FreedesktopNotificationCenter(QObject *parent)
    : FreedesktopNotificationCenter(QDBusConnection::sessionBus(), parent)
{
}

FreedesktopNotificationCenter::FreedesktopNotificationCenter(const QDBusConnection &bus, QObject *parent)
    : NotificationCenter(parent)
    , m_bus(bus)
    , m_scheduler(*this)
{
    if (!m_bus.isConnected())
        return;
    // Owner changes cover a service that comes, one that goes, and one that
    // takes the name over from another (which is neither a registration nor
    // an unregistration).
    auto *watcher = new QDBusServiceWatcher(kService, m_bus, QDBusServiceWatcher::WatchForOwnerChange, this);
    connect(watcher, &QDBusServiceWatcher::serviceOwnerChanged, this,
            &FreedesktopNotificationCenter::onServiceOwnerChanged);
    probe();
}

FreedesktopNotificationCenter::~FreedesktopNotificationCenter() = default;

bool FreedesktopNotificationCenter::isAvailable() const
{
    return m_bus.isConnected() && m_service != Service::Absent;
}

void FreedesktopNotificationCenter::probe()
{
    // GetCapabilities also starts a service that the bus activates on demand.
    m_service = Service::Probing;
    const quint64 probe = ++m_probe;
    auto *watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(methodCall(QStringLiteral("GetCapabilities"))), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, watcher, probe] {
        watcher->deleteLater();
        if (probe != m_probe)
            return;
        const QDBusPendingReply<QStringList> reply = *watcher;
        serviceAnswered(!reply.isError(), reply.isError() ? QStringList() : reply.value());
    });
}

void FreedesktopNotificationCenter::serviceAnswered(bool present, const QStringList &capabilities)
{
    if (present) {
        m_service = Service::Present;
        m_seen = true;
        m_bodyMarkup = capabilities.contains(QStringLiteral("body-markup"));
        const QList<NotificationRequest> held = std::exchange(m_held, {});
        for (const NotificationRequest &request : held)
            send(request);
    } else if (m_seen) {
        m_service = Service::Away; // keep everything for the service's return
    } else {
        m_service = Service::Absent;
        m_held.clear();
        m_scheduler.clear();
    }
    answerAuthorizations(isAvailable());
}

void FreedesktopNotificationCenter::serviceLeft()
{
    // The ids of a service that went away mean nothing to the next one. A
    // Notify still on its way stays awaited, not held: the bus may hand it to
    // the server that follows (one waiting for the name, or one the bus starts
    // on demand), and that answer means it is on screen; holding it too would
    // show it twice. If it fails instead, its answer holds it.
    for (auto it = m_shown.begin(); it != m_shown.end();) {
        if (it->awaiting) {
            it->serverId = 0;
            ++it;
        } else {
            it = m_shown.erase(it);
        }
    }
    m_byServerId.clear();
    if (m_service == Service::Present)
        m_service = Service::Away;
}

void FreedesktopNotificationCenter::answerAuthorizations(bool granted)
{
    if (m_answers.isEmpty())
        return;
    m_authorization = granted ? Authorization::Authorized : Authorization::Denied;
    const auto answers = std::exchange(m_answers, {});
    for (const AuthorizationAnswer &answer : answers)
        if (answer)
            answer(granted);
}

void FreedesktopNotificationCenter::requestAuthorization(AuthorizationAnswer answer)
{
    m_answers.append(std::move(answer));
    if (m_service == Service::Probing)
        return; // answered with the probe
    // Answer on a later turn of the event loop, never inside the call.
    QMetaObject::invokeMethod(
        this, [this] { answerAuthorizations(isAvailable()); }, Qt::QueuedConnection);
}

void FreedesktopNotificationCenter::add(const NotificationRequest &request)
{
    if (!isAvailable())
        return;
    m_held.removeIf([&](const NotificationRequest &r) { return r.identifier == request.identifier; });
    m_scheduler.add(request);
}

void FreedesktopNotificationCenter::removePendingRequests(const QStringList &identifiers)
{
    m_scheduler.remove(identifiers);
}

void FreedesktopNotificationCenter::removePendingRequests(const QList<PendingNotification> &listed)
{
    m_scheduler.remove(listed);
}

void FreedesktopNotificationCenter::removeDeliveredNotifications(const QStringList &identifiers)
{
    for (const QString &identifier : identifiers) {
        m_held.removeIf([&](const NotificationRequest &r) { return r.identifier == identifier; });
        const auto it = m_shown.find(identifier);
        if (it == m_shown.end())
            continue;
        // A Notify still on its way is closed when it answers (its record is gone).
        if (it->serverId) {
            m_byServerId.remove(it->serverId);
            close(it->serverId);
        }
        m_shown.erase(it);
    }
}

QList<PendingNotification> FreedesktopNotificationCenter::pendingRequests() const
{
    return m_scheduler.pending();
}

void FreedesktopNotificationCenter::show(const NotificationRequest &request)
{
    switch (m_service) {
    case Service::Present:
        send(request);
        break;
    case Service::Probing:
    case Service::Away:
        hold(request);
        break;
    case Service::Absent:
        break;
    }
}

void FreedesktopNotificationCenter::hold(const NotificationRequest &request)
{
    m_held.removeIf([&](const NotificationRequest &r) { return r.identifier == request.identifier; });
    m_held.append(request);
    if (m_held.size() > kHeldLimit)
        m_held.removeFirst();
}

void FreedesktopNotificationCenter::subscribe()
{
    // Clicks and closings only ever concern notices sent from here, so the
    // signals are subscribed to before the first one goes, not at start:
    // subscribing asks the bus which connection owns the service's name and
    // waits for the answer. The bus handles the subscription before the
    // Notify sent after it on the same connection.
    if (m_subscribed)
        return;
    m_subscribed = true;
    m_bus.connect(kService, kPath, kInterface, QStringLiteral("ActionInvoked"), this,
                  SLOT(onActionInvoked(uint, QString)));
    m_bus.connect(kService, kPath, kInterface, QStringLiteral("NotificationClosed"), this,
                  SLOT(onNotificationClosed(uint, uint)));
}

void FreedesktopNotificationCenter::send(const NotificationRequest &request)
{
    subscribe();
    Shown &shown = m_shown[request.identifier];
    const uint replaces = shown.serverId;
    const quint64 generation = m_nextGeneration++;
    shown.generation = generation;
    shown.awaiting = true;
    shown.request = request;

    QVariantMap hints;
    if (request.sound == NotificationRequest::Sound::Default)
        hints.insert(QStringLiteral("sound-name"), QString::fromLatin1(kDefaultSoundName));
    else
        hints.insert(QStringLiteral("suppress-sound"), true);

    QDBusMessage call = methodCall(QStringLiteral("Notify"));
    call << QString::fromLatin1(kAppName) << replaces << QString() << request.title
         << (m_bodyMarkup ? escapeMarkup(request.body) : request.body) << QStringList{kDefaultAction, QString()}
         << hints << qint32(-1);
    auto *watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [this, watcher, identifier = request.identifier, generation] {
                watcher->deleteLater();
                const QDBusPendingReply<uint> reply = *watcher;
                notifyAnswered(identifier, generation, reply.error(), reply.isError() ? 0 : reply.value());
            });
}

void FreedesktopNotificationCenter::notifyAnswered(const QString &identifier, quint64 generation,
                                                   const QDBusError &error, uint id)
{
    const bool ok = !error.isValid();
    const auto it = m_shown.find(identifier);
    const bool current = it != m_shown.end() && it->generation == generation;
    if (!current) {
        // Withdrawn or replaced while on its way: take it off the screen, unless
        // the newer notice took over this very id.
        if (ok && !(it != m_shown.end() && it->serverId == id))
            close(id);
        return;
    }
    it->awaiting = false;
    if (!ok) {
        const NotificationRequest request = it->request;
        if (!it->serverId)
            m_shown.erase(it);
        // Sent as the service went (before the bus said so): hold the notice
        // and ask again whether a service is there.
        // A server the bus failed to start on demand counts as gone too.
        const bool gone = error.type() == QDBusError::ServiceUnknown || error.type() == QDBusError::NoReply
                          || error.type() == QDBusError::Disconnected || error.type() == QDBusError::NoServer
                          || error.type() == QDBusError::Timeout || error.type() == QDBusError::TimedOut
                          || error.name().startsWith(QLatin1String("org.freedesktop.DBus.Error.Spawn."));
        if (gone && m_service != Service::Absent) {
            hold(request);
            if (m_service == Service::Present)
                probe();
        }
        return;
    }
    if (it->serverId && it->serverId != id)
        m_byServerId.remove(it->serverId);
    it->serverId = id;
    m_byServerId.insert(id, identifier);
}

void FreedesktopNotificationCenter::close(uint id)
{
    QDBusMessage call = methodCall(QStringLiteral("CloseNotification"));
    call << id;
    m_bus.asyncCall(call);
}

void FreedesktopNotificationCenter::onActionInvoked(uint id, const QString &actionKey)
{
    if (actionKey != kDefaultAction)
        return;
    const auto name = m_byServerId.constFind(id);
    if (name == m_byServerId.constEnd())
        return;
    const QString identifier = *name;
    emit tapped(identifier, m_shown.value(identifier).request.userInfo);
}

void FreedesktopNotificationCenter::onNotificationClosed(uint id, uint reason)
{
    Q_UNUSED(reason);
    const QString identifier = m_byServerId.take(id);
    const auto it = m_shown.find(identifier);
    if (identifier.isNull() || it == m_shown.end() || it->serverId != id)
        return;
    if (it->awaiting)
        it->serverId = 0; // a replacement is on its way and will get its own id
    else
        m_shown.erase(it);
}

void FreedesktopNotificationCenter::onServiceOwnerChanged(const QString &service, const QString &oldOwner,
                                                          const QString &newOwner)
{
    Q_UNUSED(service);
    if (!oldOwner.isEmpty())
        serviceLeft();
    // A service that appeared (or a new one that took over the name): learn
    // its capabilities, then show what was held. At start-up the probe itself
    // may have started it.
    if (!newOwner.isEmpty() && m_service != Service::Probing)
        probe();
}

QString FreedesktopNotificationCenter::escapeMarkup(const QString &text)
{
    QString out;
    out.reserve(text.size() + text.size() / 8);
    for (const QChar c : text) {
        switch (c.unicode()) {
        case '&':
            out += QLatin1String("&amp;");
            break;
        case '<':
            out += QLatin1String("&lt;");
            break;
        case '>':
            out += QLatin1String("&gt;");
            break;
        case '\t':
        case '\n':
        case '\r':
            out += c;
            break;
        default:
            if (c.unicode() >= 0x20)
                out += c;
            break;
        }
    }
    return out;
}
