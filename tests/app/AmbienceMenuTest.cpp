#include "MenuTestHelpers.h"
#include "app/AmbienceMenu.h"
#include "model/ModelRig.h"
#include "sound/AmbienceLibrary.h"
#include "support/LanguageFixtures.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

using namespace ModelRigs;
using namespace MenuTests;

struct AmbienceMenuTest : InEnglish
{
    static void addSounds(const QStringList &files)
    {
        for (const QString &name : files) {
            QFile file(AmbienceLibrary::folderPath() + QLatin1Char('/') + name);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly));
            file.write("x");
        }
    }
    static QStringList checked(const QList<MenuEntry> &entries)
    {
        QStringList out;
        for (const MenuEntry &e : entries)
            if (e.checked)
                out << e.id;
        return out;
    }
};

TEST_F(AmbienceMenuTest, ScenesThenTheUsersSoundsWithTheChoiceChecked)
{
    Rig rig;
    AppModel &model = rig.build();
    rig.settings.setAmbienceScene(QStringLiteral("rain"));

    const QList<MenuEntry> scenesOnly = AmbienceMenu::entries(model);
    EXPECT_EQ(lines(scenesOnly),
              QStringList({"ambience.scene.silent|Silence", "ambience.scene.bell|Bell Hall",
                           "ambience.scene.singingBowl|Singing Bowl", "ambience.scene.waterJar|Suikinkutsu",
                           "ambience.scene.chime|Wind Chime", "ambience.scene.stream|Stream",
                           "ambience.scene.surf|Surf", "ambience.scene.rain|Rain|checked", "ambience.scene.wind|Pine Wind",
                           "ambience.scene.insects|Crickets", "ambience.scene.embers|Embers",
                           "ambience.scene.heartbeat|Heartbeat"}));

    addSounds({"waves.wav", "creek.mp3"});
    struct Case
    {
        const char *scene;
        std::optional<QString> stored;
        QStringList checked;
    };
    for (const Case &c : {Case{"rain", QStringLiteral("waves"), {"ambience.scene.rain"}},
                          Case{"custom", QStringLiteral("waves"), {"ambience.sound.waves"}},
                          Case{"custom", std::nullopt, {}}, Case{"custom", QStringLiteral("gone"), {}}}) {
        SCOPED_TRACE(c.scene);
        rig.settings.setAmbienceScene(QString::fromUtf8(c.scene));
        rig.settings.setCustomSoundName(c.stored);
        const QList<MenuEntry> entries = AmbienceMenu::entries(model);
        ASSERT_EQ(entries.size(), 16);
        EXPECT_EQ(lines(entries.mid(12)), QStringList({"-", "ambience.sounds|Imported sounds|off",
                                                       c.checked.contains("ambience.sound.creek")
                                                           ? "ambience.sound.creek|creek|checked"
                                                           : "ambience.sound.creek|creek",
                                                       c.checked.contains("ambience.sound.waves")
                                                           ? "ambience.sound.waves|waves|checked"
                                                           : "ambience.sound.waves|waves"}));
        EXPECT_EQ(checked(entries), c.checked);
    }
}

TEST_F(AmbienceMenuTest, FaceNamesWhatPlays)
{
    Rig rig;
    AppModel &model = rig.build();
    struct Case
    {
        const char *scene;
        bool silent;
        QString text;
    };
    for (const Case &c : {Case{"silent", true, "Silence"}, Case{"bell", false, "Bell Hall"},
                          Case{"custom", false, "No sound chosen"}}) {
        SCOPED_TRACE(c.scene);
        rig.settings.setAmbienceScene(QString::fromUtf8(c.scene));
        const AmbienceMenu::Face face = AmbienceMenu::face(model);
        EXPECT_EQ(face.silent, c.silent);
        EXPECT_EQ(face.text, c.text);
        EXPECT_EQ(face.iconName, QStringLiteral("Soundscape"));
        EXPECT_EQ(face.toolTip, QStringLiteral("The sound now playing. Click to change it"));
    }
    addSounds({"waves.wav"});
    rig.settings.setCustomSoundName(QStringLiteral("removed since"));
    EXPECT_EQ(AmbienceMenu::face(model).text, QStringLiteral("waves"));
}

TEST_F(AmbienceMenuTest, AChoiceIsHeardAtOnceOnlyDuringARunningFocus)
{
    Rig rig;
    AppModel &model = rig.build();
    addSounds({"waves.wav"});

    // Idle: both settings stored, nothing starts.
    trigger(AmbienceMenu::entries(model), "ambience.sound.waves");
    EXPECT_EQ(rig.settings.ambienceScene(), QStringLiteral("custom"));
    EXPECT_EQ(rig.settings.customSoundName(), QStringLiteral("waves"));
    EXPECT_FALSE(rig.ambience.isPlaying());

    rig.settings.setAmbienceScene(QStringLiteral("bell"));
    rig.engine().begin(Mode::hour, false, {});
    ASSERT_TRUE(rig.ambience.isPlaying());
    trigger(AmbienceMenu::entries(model), "ambience.scene.wind");
    EXPECT_EQ(rig.ambience.currentScene(), AmbienceScene::wind);
    EXPECT_TRUE(rig.ambience.isPlaying());
    trigger(AmbienceMenu::entries(model), "ambience.scene.silent");
    EXPECT_FALSE(rig.ambience.isPlaying());
    EXPECT_EQ(rig.settings.ambienceScene(), QStringLiteral("silent"));
}

} // namespace
