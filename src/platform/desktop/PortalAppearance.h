#pragma once

#include "platform/desktop/AppearanceSource.h"

#include <QDBusConnection>
#include <QDBusVariant>

// The desktop's light or dark preference, from the freedesktop portal's
// "color-scheme" setting (namespace org.freedesktop.appearance) read over
// D-Bus, and followed live through the portal's SettingChanged signal.
// Where no portal answers, or the portal says "no preference", the
// lightness of the desktop's widget palette decides. Starts with the
// palette's answer; the portal's answer arrives asynchronously.
class PortalAppearance : public AppearanceSource
{
    Q_OBJECT
public:
    // Reads the setting once, without waiting; its changes are followed
    // from follow() on.
    explicit PortalAppearance(const QDBusConnection &bus = QDBusConnection::sessionBus(), QObject *parent = nullptr);

    Kiv::Appearance current() const override;

    // Follows the portal's changes from now on, and reads the setting once
    // more, so that a change made before is not missed. Once is enough.
    // Following asks the bus which connection owns the portal's name and
    // waits for the answer, which a first window need not wait for.
    void follow();

    // The portal's value: 1 prefers dark, 2 light; anything else (0, unknown
    // values, a missing or unreadable setting) states no preference.
    static std::optional<Kiv::Appearance> fromSetting(const QVariant &value);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private slots:
    void onSettingChanged(const QString &nameSpace, const QString &key, const QDBusVariant &value);

private:
    void read(const QString &method);
    void update();

    QDBusConnection m_bus;
    bool m_following = false;
    std::optional<Kiv::Appearance> m_portal;
    Kiv::Appearance m_palette = Kiv::Appearance::light;
    Kiv::Appearance m_current = Kiv::Appearance::light;
};
