// Writes a heavy user's data into a throw-away home folder, for measuring the
// program's start with it:
//   heavy_data <home>
// The data goes where the program looks when HOME and the XDG folders point
// at <home>: <home>/.local/share/Quillmere (history, tasks, day notes and the
// calendar account "calendars" with 20 calendars) and
// <home>/.config/Quillmere/preferences.json (the calendar account, calendars
// shown, introduction seen). It refuses a home that already holds data.
#include "HeavyUser.h"

#include "core/AppSettings.h"
#include "platform/calendar/IcalFolderStore.h"
#include "platform/files/AppPaths.h"
#include "platform/files/Preferences.h"
#include "stores/DayNoteStore.h"
#include "stores/LocalTaskStore.h"
#include "stores/SessionStore.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <cstdio>

int main(int argc, char **argv)
{
    if (argc != 2 || argv[1][0] == '-') {
        std::fprintf(stderr, "usage: heavy_data <home folder>\n"
                             "Writes 40,000 records, 2,000 tasks, 3,650 day notes and 20 calendars\n"
                             "with a year of events each into <home>/.local/share/Quillmere and\n"
                             "<home>/.config/Quillmere.\n");
        return 2;
    }
    const QString home = QDir(QString::fromLocal8Bit(argv[1])).absolutePath();
    // Before anything asks for the standard folders.
    qputenv("HOME", QFile::encodeName(home));
    qputenv("XDG_DATA_HOME", QFile::encodeName(home + QStringLiteral("/.local/share")));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(home + QStringLiteral("/.config")));
    QCoreApplication app(argc, argv);

    const QString data = AppPaths::dataDir();
    const QString calendars = data + QStringLiteral("/calendars");
    for (const QString &path : {data + QLatin1Char('/') + SessionStore::fileName,
                                data + QLatin1Char('/') + LocalTaskStore::fileName,
                                data + QLatin1Char('/') + DayNoteStore::fileName, calendars,
                                AppPaths::configDir() + QStringLiteral("/preferences.json")}) {
        if (QFileInfo::exists(path)) {
            std::fprintf(stderr, "heavy_data: %s exists already; give an empty folder\n", qPrintable(path));
            return 1;
        }
    }
    if (!AppPaths::ensureDir(data) || !AppPaths::ensureDir(calendars)) {
        std::fprintf(stderr, "heavy_data: cannot make %s\n", qPrintable(calendars));
        return 1;
    }

    QElapsedTimer clock;
    clock.start();
    const QDate today = QDate::currentDate();
    QString error;
    // Ten years of history and notes that end today.
    if (!HeavyUser::writeStores(data, today.addDays(-HeavyUser::kDays + 1), &error)) {
        std::fprintf(stderr, "heavy_data: %s\n", qPrintable(error));
        return 1;
    }

    Preferences &prefs = Preferences::standard();
    IcalFolderStore store(&prefs);
    const HeavyUser::CalendarCount count = HeavyUser::writeCalendars(store, calendars, today, &error);
    if (count.calendars != HeavyUser::kCalendars || !error.isEmpty()) {
        std::fprintf(stderr, "heavy_data: calendars: %s\n", qPrintable(error));
        return 1;
    }
    {
        AppSettings settings(prefs);
        settings.setCalendarEnabled(true);
        settings.setHasSeenIntro(true);
    }
    if (!prefs.lastError().isEmpty()) {
        std::fprintf(stderr, "heavy_data: preferences: %s\n", qPrintable(prefs.lastError()));
        return 1;
    }

    std::printf("%d records, %d tasks, %d day notes, %d calendars with %d event files in %s (%lld ms)\n",
                HeavyUser::kRecords, HeavyUser::kTasks, HeavyUser::kDays, count.calendars, count.events,
                qPrintable(home), qint64(clock.elapsed()));
    return 0;
}
