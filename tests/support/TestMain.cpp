// Test entry: every test program runs headless with a throw-away home, data,
// config and cache folder, so no test ever touches the user's real files, and
// with no session bus, so no test reaches the desktop.
#include "platform/files/Preferences.h"
#include "support/ThrowAwayHome.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    QTemporaryDir home(QDir::tempPath() + QStringLiteral("/quillmere-test-XXXXXX"));
    const QByteArray root = home.path().toUtf8();
    pointHomeAt(root);
    QDir().mkpath(home.path() + QStringLiteral("/runtime"));
    QFile::setPermissions(home.path() + QStringLiteral("/runtime"),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    qputenv("XDG_RUNTIME_DIR", root + "/runtime");
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qunsetenv("DBUS_SESSION_BUS_ADDRESS");
    qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=" + root + "/no-bus");

    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    const int rc = RUN_ALL_TESTS();
    Preferences::resetStandard();
    return rc;
}
