#include "app/AmbienceMenu.h"

#include "core/AppSettings.h"
#include "core/L.h"
#include "core/PomodoroEngine.h"
#include "model/AppModel.h"
#include "sound/AmbienceLibrary.h"
#include "sound/AmbienceScene.h"

namespace AmbienceMenu {

namespace {

AmbienceScene chosenScene(const AppSettings &settings)
{
    return AmbienceScenes::fromRawValue(settings.ambienceScene()).value_or(AmbienceScene::bell);
}

void followRun(AppModel &model)
{
    model.updateAmbience(model.engine().phase(), model.engine().state());
}

} // namespace

Face face(const AppModel &model)
{
    Face f;
    f.silent = chosenScene(model.settings()) == AmbienceScene::silent;
    f.text = model.ambienceTitle();
    f.iconName = L(QStringLiteral("音の景色"));
    f.toolTip = L(QStringLiteral("流れている音。押すと選び直せます"));
    return f;
}

QList<MenuEntry> entries(AppModel &model)
{
    AppSettings &settings = model.settings();
    const AmbienceScene chosen = chosenScene(settings);
    QList<MenuEntry> out;
    for (const AmbienceScene scene : AmbienceScenes::all) {
        if (scene == AmbienceScene::custom)
            continue; // chosen through the user's own sounds
        MenuEntry e = MenuEntry::action(QStringLiteral("ambience.scene.") + AmbienceScenes::rawValue(scene),
                                        AmbienceScenes::title(scene), [&model, &settings, scene] {
                                            settings.setAmbienceScene(AmbienceScenes::rawValue(scene));
                                            followRun(model);
                                        });
        e.checkable = true;
        e.checked = scene == chosen;
        out << e;
    }

    const QList<AmbienceLibrary::Sound> sounds = AmbienceLibrary::sounds();
    if (sounds.isEmpty())
        return out;
    out << MenuEntry::divider()
        << MenuEntry::section(QStringLiteral("ambience.sounds"), L(QStringLiteral("読み込んだ音")));
    const std::optional<QString> storedName = settings.customSoundName();
    for (const AmbienceLibrary::Sound &sound : sounds) {
        const QString name = sound.name;
        MenuEntry e = MenuEntry::action(QStringLiteral("ambience.sound.") + name, name, [&model, &settings, name] {
            settings.setAmbienceScene(AmbienceScenes::rawValue(AmbienceScene::custom));
            settings.setCustomSoundName(name);
            followRun(model);
        });
        e.checkable = true;
        e.checked = chosen == AmbienceScene::custom && storedName == name;
        out << e;
    }
    return out;
}

} // namespace AmbienceMenu
