#include "platform/desktop/PortalAppearance.h"
#include "support/PrivateBus.h"

#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QGuiApplication>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// A stand-in settings portal on the test's own bus. `nested` answers as
// portals before ReadOne did: only Read, with the value wrapped twice.
class StandInPortal : public QObject, protected QDBusContext
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.Settings")
public:
    StandInPortal(QDBusConnection bus, QVariant colourScheme, bool nested)
        : m_bus(bus)
        , m_value(std::move(colourScheme))
        , m_nested(nested)
    {
    }

    // Stores the value, as the portal does, and says so on the bus.
    void change(const QString &nameSpace, const QString &key, uint value)
    {
        if (nameSpace == QLatin1String("org.freedesktop.appearance") && key == QLatin1String("color-scheme"))
            m_value = value;
        QDBusMessage signal = QDBusMessage::createSignal(QStringLiteral("/org/freedesktop/portal/desktop"),
                                                         QStringLiteral("org.freedesktop.portal.Settings"),
                                                         QStringLiteral("SettingChanged"));
        signal.setArguments({nameSpace, key, QVariant::fromValue(QDBusVariant(value))});
        m_bus.send(signal);
    }

public slots:
    QDBusVariant ReadOne(const QString &nameSpace, const QString &key)
    {
        if (m_nested) {
            sendErrorReply(QStringLiteral("org.freedesktop.DBus.Error.UnknownMethod"), QStringLiteral("no ReadOne"));
            return {};
        }
        return answer(nameSpace, key);
    }
    QDBusVariant Read(const QString &nameSpace, const QString &key)
    {
        const QDBusVariant inner = answer(nameSpace, key);
        return m_nested ? QDBusVariant(QVariant::fromValue(inner)) : inner;
    }

private:
    QDBusVariant answer(const QString &nameSpace, const QString &key)
    {
        if (nameSpace != QLatin1String("org.freedesktop.appearance") || key != QLatin1String("color-scheme")
            || !m_value.isValid()) {
            sendErrorReply(QStringLiteral("org.freedesktop.portal.Error.NotFound"), QStringLiteral("no such key"));
            return {};
        }
        return QDBusVariant(m_value);
    }

    QDBusConnection m_bus;
    QVariant m_value;
    bool m_nested;
};

int g_name = 0;

struct PortalAppearanceTest : ::testing::Test
{
    PrivateBus bus;
    std::unique_ptr<StandInPortal> portal;

    void SetUp() override
    {
        if (!bus.isUp())
            GTEST_SKIP() << "dbus-daemon is not available";
    }

    void startPortal(QVariant value, bool nested = false)
    {
        portalName = QStringLiteral("portal-%1").arg(++g_name);
        QDBusConnection c = bus.connect(portalName);
        portal = std::make_unique<StandInPortal>(c, std::move(value), nested);
        ASSERT_TRUE(c.registerObject(QStringLiteral("/org/freedesktop/portal/desktop"), portal.get(),
                                     QDBusConnection::ExportAllSlots));
        ASSERT_TRUE(c.registerService(QStringLiteral("org.freedesktop.portal.Desktop")));
    }

    void stopPortal()
    {
        portal.reset();
        QDBusConnection::disconnectFromBus(portalName);
    }

    QString portalName;

    // A reader on a connection of its own, following the portal from the start unless told not to.
    std::unique_ptr<PortalAppearance> reader(bool following = true)
    {
        auto appearance = std::make_unique<PortalAppearance>(bus.connect(QStringLiteral("reader-%1").arg(++g_name)));
        if (following)
            appearance->follow();
        return appearance;
    }
};

// The offscreen test platform's palette is light, so "no preference"
// falls back to light.
TEST_F(PortalAppearanceTest, ThePortalsColourSchemeDecides)
{
    struct Case
    {
        QVariant value;
        bool nested;
        Kiv::Appearance expected;
        bool signalled;
    };
    const Case cases[] = {
        {QVariant(1u), false, Kiv::Appearance::dark, true},
        {QVariant(1u), true, Kiv::Appearance::dark, true}, // an older portal: Read, value wrapped twice
        {QVariant(2u), false, Kiv::Appearance::light, false},
        {QVariant(0u), false, Kiv::Appearance::light, false},  // no preference: the palette
        {QVariant(7u), false, Kiv::Appearance::light, false},  // unknown: no preference
        {QVariant(QStringLiteral("dark")), false, Kiv::Appearance::light, false}, // wrong type
        {QVariant(), false, Kiv::Appearance::light, false},    // the key is missing
    };
    for (const Case &c : cases) {
        startPortal(c.value, c.nested);
        auto appearance = reader();
        EXPECT_EQ(appearance->current(), Kiv::Appearance::light) << "the palette answers until the portal does";
        QSignalSpy changed(appearance.get(), &AppearanceSource::changed);
        if (c.signalled)
            EXPECT_TRUE(changed.wait(5000)) << c.value.toString().toStdString();
        else
            QTest::qWait(200);
        EXPECT_EQ(appearance->current(), c.expected) << c.value.toString().toStdString() << " nested " << c.nested;
        stopPortal();
    }
}

TEST_F(PortalAppearanceTest, FollowsTheDesktopLiveAndIgnoresOtherSettings)
{
    startPortal(QVariant(2u));
    auto appearance = reader();
    QSignalSpy changed(appearance.get(), &AppearanceSource::changed);
    QTest::qWait(200);

    portal->change(QStringLiteral("org.freedesktop.appearance"), QStringLiteral("accent-color"), 1);
    portal->change(QStringLiteral("org.gnome.desktop.interface"), QStringLiteral("color-scheme"), 1);
    portal->change(QStringLiteral("org.freedesktop.appearance"), QStringLiteral("color-scheme"), 1);
    ASSERT_TRUE(changed.wait(5000));
    EXPECT_EQ(changed.size(), 1);
    EXPECT_EQ(changed.constFirst().constFirst().value<Kiv::Appearance>(), Kiv::Appearance::dark);
    EXPECT_EQ(appearance->current(), Kiv::Appearance::dark);

    portal->change(QStringLiteral("org.freedesktop.appearance"), QStringLiteral("color-scheme"), 0);
    ASSERT_TRUE(changed.wait(5000));
    EXPECT_EQ(appearance->current(), Kiv::Appearance::light) << "no preference falls back to the palette";
}

// Followed only later (after the first window), the portal is still read at
// once, a change made before following is read when following starts, and
// later changes are followed.
TEST_F(PortalAppearanceTest, FollowedLaterItMissesNoChange)
{
    startPortal(QVariant(1u));
    auto appearance = reader(false);
    QSignalSpy changed(appearance.get(), &AppearanceSource::changed);
    ASSERT_TRUE(changed.wait(5000));
    EXPECT_EQ(appearance->current(), Kiv::Appearance::dark);

    portal->change(QStringLiteral("org.freedesktop.appearance"), QStringLiteral("color-scheme"), 2);
    QTest::qWait(200);
    EXPECT_EQ(appearance->current(), Kiv::Appearance::dark) << "not followed yet";

    appearance->follow();
    ASSERT_TRUE(changed.wait(5000));
    EXPECT_EQ(appearance->current(), Kiv::Appearance::light);

    appearance->follow(); // once is enough
    portal->change(QStringLiteral("org.freedesktop.appearance"), QStringLiteral("color-scheme"), 1);
    ASSERT_TRUE(changed.wait(5000));
    EXPECT_EQ(appearance->current(), Kiv::Appearance::dark);
    QTest::qWait(200);
    EXPECT_EQ(changed.size(), 3) << "each change told once";
}

// A desktop whose widget palette is dark for the length of a test.
struct DarkDesktopPalette
{
    QPalette before = QGuiApplication::palette();
    DarkDesktopPalette()
    {
        QPalette dark = before;
        dark.setColor(QPalette::Window, QColor(0x20, 0x20, 0x20));
        dark.setColor(QPalette::WindowText, QColor(0xF0, 0xF0, 0xF0));
        QGuiApplication::setPalette(dark);
    }
    ~DarkDesktopPalette() { QGuiApplication::setPalette(before); }
};

TEST_F(PortalAppearanceTest, ThePortalsPreferenceOutranksThePalette)
{
    DarkDesktopPalette desktop;
    startPortal(QVariant(2u));
    auto appearance = reader();
    EXPECT_EQ(appearance->current(), Kiv::Appearance::dark);
    QSignalSpy changed(appearance.get(), &AppearanceSource::changed);
    ASSERT_TRUE(changed.wait(5000));
    EXPECT_EQ(appearance->current(), Kiv::Appearance::light);
}

TEST(PortalAppearanceWithoutBus, TheDesktopPaletteDecidesAndIsFollowed)
{
    // The tests run with no session bus.
    PortalAppearance appearance(QDBusConnection(QStringLiteral("none")));
    EXPECT_EQ(appearance.current(), Kiv::Appearance::light);
    QSignalSpy changed(&appearance, &AppearanceSource::changed);
    {
        DarkDesktopPalette desktop;
        EXPECT_EQ(appearance.current(), Kiv::Appearance::dark);
    }
    EXPECT_EQ(appearance.current(), Kiv::Appearance::light);
    EXPECT_EQ(changed.size(), 2);
}

} // namespace

#include "PortalAppearanceTest.moc"
