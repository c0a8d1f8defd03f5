// The ambience picker at the foot of the timer: its face by the chosen
// scene, the menu it opens by pointer and keyboard with the choice checked
// and the user's own sounds, a choice stored and heard at once only during
// a running focus, and the face alone as a still picture.
#include "app/AmbiencePicker.h"
#include "core/AppSettings.h"
#include "model/ModelRig.h"
#include "sound/AmbienceLibrary.h"
#include "views/ViewTest.h"

#include <QAction>
#include <QFile>
#include <QMenu>
#include <QTest>

namespace {

using ModelRigs::Rig;

struct AmbiencePickerTest : ViewTest
{
    Rig rig;
    AppModel *model = nullptr;
    std::unique_ptr<AmbiencePicker> picker;

    AmbiencePicker &build(bool snapshot = false)
    {
        if (!model)
            model = &rig.build();
        ViewContext context;
        context.model = model;
        context.snapshot = snapshot;
        picker = std::make_unique<AmbiencePicker>(context);
        picker->resize(picker->sizeHint());
        picker->show();
        return *picker;
    }
    void TearDown() override
    {
        picker.reset();
        ViewTest::TearDown();
    }
    static void addSound(const QString &file)
    {
        QFile f(AmbienceLibrary::folderPath() + QLatin1Char('/') + file);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("x");
    }
    QStringList items() const
    {
        QStringList out;
        for (QAction *a : picker->menu()->actions()) {
            if (a->isSeparator() && a->text().isEmpty())
                out << QStringLiteral("-");
            else
                out << a->objectName() + (a->icon().isNull() ? QString() : QStringLiteral("|checked"));
        }
        return out;
    }
    // Chooses a menu item with the pointer, as the user does.
    void choose(const QString &id)
    {
        QMenu *menu = picker->menu();
        ASSERT_TRUE(menu && menu->isVisible());
        QAction *target = nullptr;
        for (QAction *a : menu->actions())
            if (a->objectName() == id)
                target = a;
        ASSERT_TRUE(target) << id.toStdString();
        QTest::mouseClick(menu, Qt::LeftButton, {}, menu->actionGeometry(target).center());
        EXPECT_FALSE(menu->isVisible());
    }
};

TEST_F(AmbiencePickerTest, FaceNamesTheChosenScene)
{
    rig.settings.setAmbienceScene(QStringLiteral("silent"));
    AmbiencePicker &p = build();
    EXPECT_EQ(p.text(), QStringLiteral("無音"));
    EXPECT_EQ(p.look().symbol, Symbol::speakerSlash);
    EXPECT_EQ(p.accessibleName(), QStringLiteral("音の景色"));
    EXPECT_EQ(p.toolTip(), QStringLiteral("流れている音。押すと選び直せます"));
    EXPECT_EQ(p.focusPolicy(), Qt::StrongFocus);

    rig.settings.setAmbienceScene(QStringLiteral("custom"));
    EXPECT_EQ(p.text(), QStringLiteral("音源が未選択"));
    EXPECT_EQ(p.look().symbol, Symbol::speakerWave2);
    // A stored sound whose file is gone: the face names the one that plays
    // in its place (the library's first), read again when it shows.
    addSound(QStringLiteral("creek.wav"));
    rig.settings.setCustomSoundName(QStringLiteral("deleted since"));
    p.hide();
    p.show();
    EXPECT_EQ(p.text(), QStringLiteral("creek"));
    rig.settings.setAmbienceScene(QStringLiteral("rain"));
    EXPECT_EQ(p.text(), QStringLiteral("雨"));
    EXPECT_EQ(p.accessibleDescription(), QStringLiteral("雨"));

    // Faint at rest, softer under the pointer.
    EXPECT_EQ(p.foregroundNow(), Kiv::inkFaint());
    QEnterEvent enter(QPointF(2, 2), QPointF(2, 2), p.mapToGlobal(QPointF(2, 2)));
    QCoreApplication::sendEvent(&p, &enter);
    EXPECT_EQ(p.foregroundNow(), Kiv::inkSoft());
}

TEST_F(AmbiencePickerTest, MenuOffersScenesAndSoundsWithTheChoiceChecked)
{
    rig.settings.setAmbienceScene(QStringLiteral("rain"));
    AmbiencePicker &p = build();
    EXPECT_FALSE(p.menu());
    QTest::mouseClick(&p, Qt::LeftButton);
    ASSERT_TRUE(p.menu());
    EXPECT_TRUE(p.menu()->isVisible());
    const QStringList scenes = {"ambience.scene.silent",      "ambience.scene.bell",   "ambience.scene.singingBowl",
                                "ambience.scene.waterJar",    "ambience.scene.chime",  "ambience.scene.stream",
                                "ambience.scene.surf",        "ambience.scene.rain|checked", "ambience.scene.wind",
                                "ambience.scene.insects",     "ambience.scene.embers", "ambience.scene.heartbeat"};
    EXPECT_EQ(items(), scenes);

    // A sound of the user's own: stored as the custom scene with its name;
    // idle, nothing plays.
    addSound(QStringLiteral("waves.wav"));
    p.menu()->hide();
    QTest::mouseClick(&p, Qt::LeftButton);
    QStringList withSounds = scenes;
    withSounds << "-" << "ambience.sounds" << "ambience.sound.waves";
    EXPECT_EQ(items(), withSounds);
    choose(QStringLiteral("ambience.sound.waves"));
    EXPECT_EQ(rig.settings.ambienceScene(), QStringLiteral("custom"));
    EXPECT_EQ(rig.settings.customSoundName(), QStringLiteral("waves"));
    EXPECT_FALSE(rig.ambience.isPlaying());
    EXPECT_EQ(p.text(), QStringLiteral("waves"));

    // By keyboard: Space opens it again, now with the sound checked.
    p.setFocus();
    QTest::keyClick(&p, Qt::Key_Space);
    ASSERT_TRUE(p.menu()->isVisible());
    EXPECT_EQ(items().last(), QStringLiteral("ambience.sound.waves|checked"));
    EXPECT_FALSE(items().contains(QStringLiteral("ambience.scene.rain|checked")));
}

TEST_F(AmbiencePickerTest, AChoiceDuringARunningFocusIsHeardAtOnce)
{
    rig.settings.setAmbienceScene(QStringLiteral("bell"));
    AmbiencePicker &p = build();
    model->engine().begin(Mode::hour, false, {});
    ASSERT_TRUE(rig.ambience.isPlaying());

    QTest::mouseClick(&p, Qt::LeftButton);
    choose(QStringLiteral("ambience.scene.wind"));
    EXPECT_EQ(rig.ambience.currentScene(), AmbienceScene::wind);
    EXPECT_TRUE(rig.ambience.isPlaying());
    EXPECT_EQ(p.text(), QStringLiteral("松風"));

    QTest::mouseClick(&p, Qt::LeftButton);
    choose(QStringLiteral("ambience.scene.silent"));
    EXPECT_FALSE(rig.ambience.isPlaying());
    EXPECT_EQ(p.look().symbol, Symbol::speakerSlash);
}

TEST_F(AmbiencePickerTest, StillPictureShowsTheFaceOnly)
{
    rig.settings.setAmbienceScene(QStringLiteral("stream"));
    AmbiencePicker &p = build(true);
    EXPECT_EQ(p.text(), QStringLiteral("せせらぎ"));
    QTest::mouseClick(&p, Qt::LeftButton);
    EXPECT_FALSE(p.menu());
    EXPECT_EQ(p.focusPolicy(), Qt::NoFocus);
}

} // namespace
