#include "views/settings/SettingsFixture.h"

#include "core/AppSettings.h"
#include "sound/AmbienceLibrary.h"
#include "views/settings/ChoiceRow.h"
#include "views/settings/SoundRows.h"
#include "views/settings/SoundSection.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSlider>

namespace {

// The sound rows over the rig's fake audio output and a sound library in
// the rig's temporary data folder.
struct SoundSectionTest : SettingsFixture
{
    // A file outside the library that the user may choose in the panel.
    QString fileOutside(const QString &name, const QByteArray &bytes = "RIFF....WAVE")
    {
        const QString path = rig->dirs.root() + QStringLiteral("/picked/") + name;
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }
    SoundSection &section() const { return *view->findChild<SoundSection *>(QStringLiteral("settings.sound")); }
    QStringList listed() const
    {
        QCoreApplication::processEvents(); // rows just built are shown
        QStringList names;
        for (ChoiceRow *row : view->findChildren<ChoiceRow *>(QStringLiteral("settings.sound.sound")))
            if (row->isVisibleTo(view.get()))
                names << row->text();
        return names;
    }
    ChoiceRow *row(const QString &name) const
    {
        QCoreApplication::processEvents();
        for (ChoiceRow *r : view->findChildren<ChoiceRow *>(QStringLiteral("settings.sound.sound")))
            if (r->text() == name && r->isVisibleTo(view.get()))
                return r;
        ADD_FAILURE() << name.toStdString();
        return nullptr;
    }
};

} // namespace

TEST_F(SoundSectionTest, RowsComeAndGoWithTheBellSwitchAndTheScene)
{
    build();
    EXPECT_TRUE(shows(QStringLiteral("settings.sound.bell")));
    EXPECT_TRUE(shows(QStringLiteral("settings.sound.ring")));
    EXPECT_TRUE(shows(QStringLiteral("settings.sound.volume")));
    EXPECT_FALSE(shows(QStringLiteral("settings.sound.add")));
    EXPECT_EQ(optionTexts(QStringLiteral("settings.sound.scene")).size(), 13);

    flip(QStringLiteral("settings.sound.enabled"));
    EXPECT_FALSE(shows(QStringLiteral("settings.sound.bell")));
    EXPECT_FALSE(shows(QStringLiteral("settings.sound.ring")));
    EXPECT_FALSE(shows(QStringLiteral("settings.sound.bellDetail")));
    EXPECT_TRUE(shows(QStringLiteral("settings.sound.scene")));

    choose(QStringLiteral("settings.sound.scene"), QStringLiteral("無音"));
    EXPECT_EQ(rig->settings.ambienceScene(), QStringLiteral("silent"));
    EXPECT_FALSE(shows(QStringLiteral("settings.sound.volume")));
    EXPECT_FALSE(shows(QStringLiteral("settings.sound.preview")));
    EXPECT_FALSE(shows(QStringLiteral("settings.sound.sceneDetail")));
}

TEST_F(SoundSectionTest, RingRingsTheBellJustPicked)
{
    build();
    choose(QStringLiteral("settings.sound.bell"), QStringLiteral("引磬"));
    EXPECT_EQ(text(QStringLiteral("settings.sound.bellDetail")), ChimeBell(ChimeBell::inkin).detail());
    click(QStringLiteral("settings.sound.ring"));
    ASSERT_EQ(rig->bells.size(), 1);
    EXPECT_EQ(rig->bells.last(), ChimeBell::inkin);
}

TEST_F(SoundSectionTest, PreviewPlaysThroughTheOutputAndStopsOnTheSecondPress)
{
    build();
    EXPECT_EQ(text(QStringLiteral("settings.sound.preview")), QStringLiteral("試す"));
    click(QStringLiteral("settings.sound.preview"));
    EXPECT_TRUE(model->previewingAmbience());
    EXPECT_TRUE(rig->audio->isRunning());
    EXPECT_TRUE(rig->ambience.isPlaying());
    EXPECT_GT(rig->audio->pull(48000).peak(), 0.0f) << "the scene sounds";
    EXPECT_EQ(text(QStringLiteral("settings.sound.preview")), QStringLiteral("止める"));

    click(QStringLiteral("settings.sound.preview"));
    EXPECT_FALSE(model->previewingAmbience());
    EXPECT_EQ(text(QStringLiteral("settings.sound.preview")), QStringLiteral("試す"));
    EXPECT_FALSE(rig->ambience.isPlaying());
}

TEST_F(SoundSectionTest, TheVolumeSliderWritesTheVolume)
{
    build();
    auto *volume = find<QSlider>(QStringLiteral("settings.sound.volume"));
    EXPECT_EQ(volume->value(), 35);
    EXPECT_EQ(volume->accessibleName(), QStringLiteral("音量"));
    volume->setFocus(Qt::TabFocusReason);
    QTest::keyClick(volume, Qt::Key_End);
    EXPECT_DOUBLE_EQ(rig->settings.ambienceVolume(), 1.0);
    EXPECT_EQ(rig->prefs.value(QStringLiteral("ambienceVolume")).toDouble(), 1.0);
    QTest::keyClick(volume, Qt::Key_Left);
    EXPECT_DOUBLE_EQ(rig->settings.ambienceVolume(), 0.99);
}

TEST_F(SoundSectionTest, ThePanelOffersOnlyTheLibrarysFileTypesAndTheLibraryRefusesOthers)
{
    rig->settings.setAmbienceScene(QStringLiteral("custom"));
    build();
    EXPECT_TRUE(shows(QStringLiteral("settings.sound.noSounds")));
    EXPECT_TRUE(listed().isEmpty());

    // Cancelled: nothing changes.
    desk.cancelNext();
    click(QStringLiteral("settings.sound.add"));
    ASSERT_EQ(desk.asked().size(), 1);
    const Desktop::FileQuestion question = desk.asked().first().question;
    EXPECT_EQ(question.confirm, QStringLiteral("追加"));
    EXPECT_EQ(question.message, QStringLiteral("くり返し流す音源を選んでください"));
    ASSERT_EQ(question.nameFilters.size(), 1);
    for (const QString &extension : AmbienceLibrary::extensions())
        EXPECT_TRUE(question.nameFilters.first().contains(QStringLiteral("*.") + extension + QLatin1Char(' ')) ||
                    question.nameFilters.first().contains(QStringLiteral("*.") + extension + QLatin1Char(')')))
            << extension.toStdString();
    EXPECT_FALSE(question.nameFilters.first().contains(QStringLiteral("*.ogg")));
    EXPECT_FALSE(question.nameFilters.first().contains(QStringLiteral("*.*")));
    EXPECT_FALSE(rig->settings.customSoundName());

    // A file of another type picked anyway is left out; the others are
    // added in order and the last one added becomes the chosen sound.
    desk.answerFiles({fileOutside(QStringLiteral("rain.wav")), fileOutside(QStringLiteral("sutra.ogg")),
                      fileOutside(QStringLiteral("heart sutra.flac"))});
    click(QStringLiteral("settings.sound.add"));
    EXPECT_EQ(listed(), (QStringList{QStringLiteral("heart sutra"), QStringLiteral("rain")}));
    EXPECT_EQ(rig->settings.customSoundName(), QStringLiteral("heart sutra"));
    EXPECT_FALSE(QFileInfo::exists(AmbienceLibrary::folderPath() + QStringLiteral("/sutra.ogg")));
    EXPECT_FALSE(shows(QStringLiteral("settings.sound.noSounds")));
    EXPECT_TRUE(row(QStringLiteral("heart sutra"))->isChosen());

    // Adding while a sound is chosen keeps the choice.
    desk.answerFiles({fileOutside(QStringLiteral("bowl.m4a"))});
    click(QStringLiteral("settings.sound.add"));
    EXPECT_EQ(listed().size(), 3);
    EXPECT_EQ(rig->settings.customSoundName(), QStringLiteral("heart sutra"));
}

TEST_F(SoundSectionTest, ChoosingAndDeletingTheUsersSounds)
{
    for (const QString &name : {QStringLiteral("bowl.wav"), QStringLiteral("rain.wav")})
        ASSERT_TRUE(AmbienceLibrary::add(fileOutside(name)));
    rig->settings.setAmbienceScene(QStringLiteral("custom"));
    build();
    EXPECT_EQ(listed(), (QStringList{QStringLiteral("bowl"), QStringLiteral("rain")}));

    // The whole row chooses; the choice is stored.
    ChoiceRow *rain = row(QStringLiteral("rain"));
    QTest::mouseClick(rain, Qt::LeftButton, {}, QPoint(4, rain->height() / 2));
    EXPECT_EQ(rig->settings.customSoundName(), QStringLiteral("rain"));
    EXPECT_EQ(rig->prefs.value(QStringLiteral("customSoundName")).toString(), QStringLiteral("rain"));
    EXPECT_TRUE(rain->isChosen());
    EXPECT_FALSE(row(QStringLiteral("bowl"))->isChosen());

    // Deleting another sound keeps the choice.
    auto *deleteBowl = qobject_cast<InkButton *>(row(QStringLiteral("bowl"))->trailing());
    ASSERT_NE(deleteBowl, nullptr);
    QTest::mouseClick(deleteBowl, Qt::LeftButton, {}, deleteBowl->rect().center());
    QCoreApplication::processEvents();
    EXPECT_EQ(listed(), QStringList{QStringLiteral("rain")});
    EXPECT_EQ(rig->settings.customSoundName(), QStringLiteral("rain"));

    // Deleting the chosen one clears the choice.
    auto *deleteRain = qobject_cast<InkButton *>(row(QStringLiteral("rain"))->trailing());
    QTest::mouseClick(deleteRain, Qt::LeftButton, {}, deleteRain->rect().center());
    QCoreApplication::processEvents();
    EXPECT_TRUE(listed().isEmpty());
    EXPECT_FALSE(rig->settings.customSoundName());
    EXPECT_TRUE(AmbienceLibrary::sounds().isEmpty());
    EXPECT_TRUE(shows(QStringLiteral("settings.sound.noSounds")));
}

TEST_F(SoundSectionTest, AFileDroppedIntoTheFolderShowsWhenTheListComesOnScreenAgain)
{
    rig->settings.setAmbienceScene(QStringLiteral("custom"));
    build();
    EXPECT_TRUE(listed().isEmpty());
    ASSERT_TRUE(AmbienceLibrary::add(fileOutside(QStringLiteral("stream.wav"))));
    EXPECT_TRUE(listed().isEmpty()) << "not read while on screen";
    choose(QStringLiteral("settings.sound.scene"), QStringLiteral("雨"));
    choose(QStringLiteral("settings.sound.scene"), optionTexts(QStringLiteral("settings.sound.scene")).last());
    EXPECT_EQ(listed(), QStringList{QStringLiteral("stream")});

    click(QStringLiteral("settings.sound.openFolder"));
    ASSERT_EQ(desk.openedFolders().size(), 1);
    EXPECT_EQ(desk.openedFolders().first(), AmbienceLibrary::folderPath());
}
