#include "platform/desktop/PortalAppearance.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QEvent>
#include <QGuiApplication>
#include <QPalette>

namespace {
const QString kService = QStringLiteral("org.freedesktop.portal.Desktop");
const QString kPath = QStringLiteral("/org/freedesktop/portal/desktop");
const QString kInterface = QStringLiteral("org.freedesktop.portal.Settings");
const QString kNamespace = QStringLiteral("org.freedesktop.appearance");
const QString kKey = QStringLiteral("color-scheme");

// Dark when the desktop's window background is darker than its text.
Kiv::Appearance fromPalette()
{
    const QPalette palette = QGuiApplication::palette();
    return palette.color(QPalette::Window).lightness() < palette.color(QPalette::WindowText).lightness()
               ? Kiv::Appearance::dark
               : Kiv::Appearance::light;
}
} // namespace

PortalAppearance::PortalAppearance(const QDBusConnection &bus, QObject *parent)
    : AppearanceSource(parent)
    , m_bus(bus)
{
    m_palette = fromPalette();
    m_current = m_palette;
    if (qApp)
        qApp->installEventFilter(this);
    if (m_bus.isConnected())
        read(QStringLiteral("ReadOne"));
}

void PortalAppearance::follow()
{
    if (m_following || !m_bus.isConnected())
        return;
    m_following = true;
    // The slot's argument type must be known by name before the bus can
    // match the signal to it.
    qRegisterMetaType<QDBusVariant>();
    m_bus.connect(kService, kPath, kInterface, QStringLiteral("SettingChanged"), this,
                  SLOT(onSettingChanged(QString, QString, QDBusVariant)));
    read(QStringLiteral("ReadOne"));
}

Kiv::Appearance PortalAppearance::current() const
{
    return m_current;
}

std::optional<Kiv::Appearance> PortalAppearance::fromSetting(const QVariant &value)
{
    // Read (the portal's first version) wraps the value in one more variant.
    QVariant v = value;
    for (int depth = 0; depth < 4 && v.userType() == qMetaTypeId<QDBusVariant>(); ++depth)
        v = v.value<QDBusVariant>().variant();
    if (v.typeId() != QMetaType::UInt && v.typeId() != QMetaType::Int)
        return std::nullopt;
    switch (v.toUInt()) {
    case 1: return Kiv::Appearance::dark;
    case 2: return Kiv::Appearance::light;
    default: return std::nullopt;
    }
}

void PortalAppearance::read(const QString &method)
{
    QDBusMessage call = QDBusMessage::createMethodCall(kService, kPath, kInterface, method);
    call.setArguments({kNamespace, kKey});
    auto *watcher = new QDBusPendingCallWatcher(m_bus.asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, method](QDBusPendingCallWatcher *w) {
        w->deleteLater();
        const QDBusMessage reply = w->reply();
        if (reply.type() == QDBusMessage::ErrorMessage) {
            // Portals older than ReadOne only have Read.
            if (method == QLatin1String("ReadOne")
                && reply.errorName() == QLatin1String("org.freedesktop.DBus.Error.UnknownMethod"))
                read(QStringLiteral("Read"));
            return;
        }
        if (reply.arguments().isEmpty())
            return;
        m_portal = fromSetting(reply.arguments().constFirst());
        update();
    });
}

void PortalAppearance::onSettingChanged(const QString &nameSpace, const QString &key, const QDBusVariant &value)
{
    if (nameSpace != kNamespace || key != kKey)
        return;
    m_portal = fromSetting(value.variant());
    update();
}

bool PortalAppearance::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::ApplicationPaletteChange && watched == qApp) {
        m_palette = fromPalette();
        update();
    }
    return false;
}

void PortalAppearance::update()
{
    const Kiv::Appearance next = m_portal.value_or(m_palette);
    if (next == m_current)
        return;
    m_current = next;
    emit changed(next);
}
