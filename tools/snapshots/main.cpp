// Writes still pictures of every screen of the program, in Japanese and
// English, light and dark, at text scale 1.0 and 1.6, into the folder named
// on the command line (default build/snapshots/app):
//
//   build/tools/snapshots [folder] [name-filter]
//
// The program runs over a throw-away home (data, config, runtime folders),
// with no session bus and the offscreen platform, so nothing of the user's
// is read or written. The icon files of the program are written too
// (icons/quillmere-<size>.png).
#include "Screens.h"
#include "SnapshotRig.h"
#include "app/AppIcon.h"
#include "platform/files/Preferences.h"
#include "views/ink/StillPicture.h"
#include "views/ink/ViewContext.h"

#include <QApplication>
#include <QWidget>
#include <QDir>
#include <QPainter>
#include <QTemporaryDir>
#include <QTextStream>
#include <cstdio>

namespace {

void pointHomeAt(const QString &root)
{
    const QByteArray r = root.toUtf8();
    qputenv("HOME", r);
    qputenv("XDG_DATA_HOME", r + "/data");
    qputenv("XDG_CONFIG_HOME", r + "/config");
    qputenv("XDG_CACHE_HOME", r + "/cache");
    qputenv("XDG_RUNTIME_DIR", r + "/runtime");
    QDir().mkpath(root + QStringLiteral("/runtime"));
    QFile::setPermissions(root + QStringLiteral("/runtime"),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=" + r + "/no-bus");
}

QList<StillPicture::Setting> settings()
{
    return StillPicture::everySetting();
}

bool writeIcons(const QString &folder)
{
    bool ok = true;
    for (int side : {16, 24, 32, 48, 64, 128, 256, 512}) {
        const QImage image = StillPicture::paint(QSize(side, side), 1.0,
                                                 [](QPainter &p, QSizeF size) { AppIcon::draw(p, size); },
                                                 QColor(Qt::transparent));
        ok = StillPicture::save(image, folder + QStringLiteral("/icons"), QStringLiteral("quillmere-%1").arg(side)) && ok;
    }
    return ok;
}

} // namespace

int main(int argc, char **argv)
{
    QTemporaryDir home(QDir::tempPath() + QStringLiteral("/quillmere-snapshots-XXXXXX"));
    pointHomeAt(home.path());
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const QStringList args = app.arguments();
    const QString folder = args.size() > 1 ? args.at(1) : QStringLiteral("build/snapshots/app");
    const QString filter = args.size() > 2 ? args.at(2) : QString();

    QTextStream out(stdout);
    int written = 0;
    int failed = 0;
    {
        SnapshotRig rig;
        for (const StillPicture::Setting &setting : settings()) {
            StillPicture::Applied applied(setting);
            for (const Screen &screen : Screens::all()) {
                if (!filter.isEmpty() && !screen.name.contains(filter))
                    continue;
                QWidget *widget = screen.build(rig, rig.context());
                widget->setAttribute(Qt::WA_DontShowOnScreen);
                widget->setPalette(Kiv::palette(setting.appearance));
                if (screen.size.isValid())
                    widget->resize(screen.size.expandedTo(widget->minimumSizeHint()));
                widget->show();
                // A page may fill itself a step after it shows (queued refreshes, then
                // its new items showing and laying out); let it finish, then grow it to
                // what it asks for now.
                for (int i = 0; i < 8; ++i)
                    QCoreApplication::processEvents();
                if (screen.size.isValid())
                    widget->resize(widget->size().expandedTo(widget->minimumSizeHint()));
                for (int i = 0; i < 8; ++i)
                    QCoreApplication::processEvents();
                const QImage image = StillPicture::grab(widget, setting.devicePixelRatio);
                const QString name = screen.name + QLatin1Char('-') + setting.tag();
                if (StillPicture::save(image, folder, name))
                    ++written;
                else {
                    ++failed;
                    out << "could not write " << name << "\n";
                }
                delete widget;
                QCoreApplication::processEvents();
            }
        }
    }
    if (!writeIcons(folder))
        ++failed;
    out << written << " pictures in " << QDir(folder).absolutePath() << "\n";
    Preferences::resetStandard();
    return failed == 0 ? 0 : 1;
}
