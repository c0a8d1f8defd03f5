// Writes still pictures of every screen of the program, in Japanese and
// English, light and dark, at text scale 1.0 and 1.6, into the folder named
// on the command line (default build/snapshots/app):
//
//   build/tools/snapshots [folder] [name-filter]
//
// Each screen is drawn whole (grown to show all of its content, name-<look>)
// and, for the main window's screens, as the window shows it at its ideal
// and least sizes, scrolled to the top (name-380x740-<look>,
// name-340x520-<look>). The pictures are the same from run to run.
//
// The program runs over a throw-away home (data, config, runtime folders),
// with no session bus and the offscreen platform, so nothing of the user's
// is read or written. The icon files of the program are written too
// (icons/quillmere-<size>.png).
#include "snapshots/ScreenStage.h"
#include "snapshots/Screens.h"
#include "snapshots/SnapshotRig.h"
#include "app/AppIcon.h"
#include "platform/files/Preferences.h"
#include "views/ink/InkStyle.h"
#include "views/ink/StillPicture.h"
#include "views/ink/ViewContext.h"

#include <QApplication>
#include <QWidget>
#include <QDir>
#include <QPainter>
#include <QTemporaryDir>
#include <QTextStream>
#include <QThreadPool>
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
    InkStyle::install();
    // Qt's raster engine shares large fills out among the pool's threads as
    // they come free, and the pieces' edges fall where they fall: one
    // thread draws every picture the same from run to run.
    QThreadPool::globalInstance()->setMaxThreadCount(1);
    const QStringList args = app.arguments();
    const QString folder = args.size() > 1 ? args.at(1) : QStringLiteral("build/snapshots/app");
    const QString filter = args.size() > 2 ? args.at(2) : QString();

    QTextStream out(stdout);
    int written = 0;
    int failed = 0;
    auto save = [&](const QImage &image, const QString &name) {
        if (StillPicture::save(image, folder, name))
            ++written;
        else {
            ++failed;
            out << "could not write " << name << "\n";
        }
    };
    {
        SnapshotRig rig;
        for (const StillPicture::Setting &setting : settings()) {
            StillPicture::Applied applied(setting);
            for (const Screen &screen : Screens::all()) {
                if (!filter.isEmpty() && !screen.name.contains(filter))
                    continue;
                const QString tag = QLatin1Char('-') + setting.tag();
                {
                    // The whole content, grown to show all of it; a window of
                    // its own in a state reached by using it (a menu opened,
                    // a sign-in begun) as it shows.
                    const bool used = !screen.inMainWindow() && screen.then;
                    ScreenStage stage(screen, rig, used ? ScreenStage::Form::live : ScreenStage::Form::still);
                    save(stage.picture(setting.devicePixelRatio), screen.name + tag);
                }
                if (!screen.inMainWindow())
                    continue;
                // What a user sees first: the window at its ideal and its
                // least size, scrolled to the top.
                for (const QSize size : Screens::mainWindowSizes()) {
                    ScreenStage stage(screen, rig, ScreenStage::Form::live, size);
                    save(stage.picture(setting.devicePixelRatio),
                         screen.name + QStringLiteral("-%1x%2").arg(size.width()).arg(size.height()) + tag);
                }
            }
        }
    }
    if (!writeIcons(folder))
        ++failed;
    out << written << " pictures in " << QDir(folder).absolutePath() << "\n";
    Preferences::resetStandard();
    return failed == 0 ? 0 : 1;
}
