#include "model/AppModel.h"
#include "sound/Chime.h"
#include "support/LanguageFixtures.h"
#include "ModelRig.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <optional>

namespace {
using namespace ModelRigs;
struct AppModelStartUp : InJapanese
{
};
} // namespace

namespace {

// A history and preferences that do not read, as a model finds them at start.
struct UnreadableFiles
{
    ScopedDirs dirs;
    std::optional<SessionStore> history;
    std::optional<Preferences> prefs;
    std::optional<AppSettings> settings;

    UnreadableFiles()
    {
        write(dirs.dataDir() + QStringLiteral("/sessions.json"),
              R"([{"id": "not-a-uuid", "phase": "focus", "title": "x", "start": "2025-03-04T09:00:00Z",
                  "end": "2025-03-04T09:25:00Z", "completed": true}])");
        write(dirs.configDir() + QStringLiteral("/preferences.json"), "{\"focusMinutes\": ");
        history.emplace(dirs.dataDir());
        prefs.emplace(QStringLiteral("preferences"));
        settings.emplace(*prefs);
        settings->setPrepares(false);
    }
    static void write(const QString &path, const QByteArray &bytes)
    {
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    QStringList asideIn(const QString &folder, const char *name) const
    {
        return QDir(folder).entryList({QString::fromLatin1(name) + QStringLiteral(".unreadable-*")});
    }
};

} // namespace

// Each file that did not read is told on a line of its own, with why in the
// interface language, and the lines stay until the user puts them away:
// passing notices come and go in front of them, time does not clear them.
TEST_F(AppModelStartUp, FilesKeptAsideAreToldLineByLineUntilDismissed)
{
    struct Case
    {
        const char *name;
        bool japanese;
        QString history;     // what the history's line holds
        QString preferences; // what the preferences' line holds
    };
    const Case cases[] = {
        {"Japanese", true, QStringLiteral("を読めませんでした。sessions.json.unreadable-"),
         QStringLiteral("preferences.json を読めませんでした。preferences.json.unreadable-")},
        {"English", false, QStringLiteral("Couldn’t read sessions.json. It was kept as sessions.json.unreadable-"),
         QStringLiteral("Couldn’t read preferences.json. It was kept as preferences.json.unreadable-")},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        Lang::setForTesting(c.japanese);
        UnreadableFiles files;
        Rig rig;
        rig.sessionsOverride = &*files.history;
        rig.settingsOverride = &*files.settings;
        AppModel &model = rig.build();

        ASSERT_EQ(model.keptAside().size(), 2) << model.keptAside().join(QLatin1Char('|')).toStdString();
        const QString history = model.keptAside()[0];
        EXPECT_TRUE(history.contains(c.history)) << history.toStdString();
        EXPECT_TRUE(history.endsWith(c.japanese ? QStringLiteral("(UUIDとして読めません: not-a-uuid)")
                                                : QStringLiteral("(not a UUID: not-a-uuid)")))
            << history.toStdString();
        EXPECT_TRUE(model.keptAside()[1].contains(c.preferences)) << model.keptAside()[1].toStdString();
        EXPECT_EQ(files.asideIn(files.dirs.dataDir(), "sessions.json").size(), 1);
        EXPECT_EQ(files.asideIn(files.dirs.configDir(), "preferences.json").size(), 1);

        const AppModel::NoticeBanner kept{model.keptAside().join(QLatin1Char('\n')), true};
        EXPECT_EQ(model.noticeBanner(), kept);
        rig.clock.advance(60 * 1000);
        EXPECT_EQ(model.noticeBanner(), kept) << "time does not clear it";
        model.showNotice(QStringLiteral("Saved."));
        EXPECT_EQ(model.noticeBanner(), (AppModel::NoticeBanner{QStringLiteral("Saved."), false}));
        rig.clock.advance(AppModel::kNoticeMs + 10);
        EXPECT_EQ(model.noticeBanner(), kept) << "back once the passing notice has gone";

        model.dismissKeptAside();
        EXPECT_TRUE(model.keptAside().isEmpty());
        EXPECT_FALSE(model.noticeBanner());
    }
}

TEST_F(AppModelStartUp, FilesThatReadTellNothing)
{
    Rig rig;
    AppModel &model = rig.build();
    EXPECT_TRUE(model.keptAside().isEmpty());
    EXPECT_FALSE(model.noticeBanner());
}

TEST_F(AppModelStartUp, TheBellThatRingsFollowsTheSetting)
{
    Rig rig;
    rig.build();
    rig.settings.setBell(QStringLiteral("Keisu"));
    EXPECT_EQ(Chime::kind, ChimeBell::keisu);
    rig.settings.setBell(QStringLiteral("Bonsho"));
    EXPECT_EQ(Chime::kind, ChimeBell::temple);
}
