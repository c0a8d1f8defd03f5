#include "views/settings/SoundRows.h"

#include "core/AppSettings.h"
#include "core/L.h"
#include "core/PomodoroEngine.h"
#include "model/AppModel.h"
#include "sound/AmbienceScene.h"
#include "sound/ChimeBell.h"

#include <algorithm>

SoundRows SoundRows::of(const AppModel &model)
{
    const AppSettings &settings = model.settings();
    const AmbienceScene scene = AmbienceScenes::fromRawValue(settings.ambienceScene()).value_or(AmbienceScene::bell);
    SoundRows rows;
    rows.showsBell = settings.soundEnabled();
    rows.showsLibrary = scene == AmbienceScene::custom;
    rows.showsScene = scene != AmbienceScene::silent;
    rows.bellDetail = ChimeBell::from(settings.bell()).detail();
    rows.sceneDetail = AmbienceScenes::detail(scene);
    rows.previewLabel = model.previewingAmbience() ? L("止める") : L("試す");
    return rows;
}

PickerRow::Options SoundRows::bellOptions()
{
    const QStringList labels{L("梵鐘"), L("喚鐘"), L("鏧子"), L("引磬"), L("木魚")};
    PickerRow::Options options;
    for (const ChimeBell bell : ChimeBell::all())
        options.append({bell.name(), labels.value(bell.rawValue())});
    return options;
}

PickerRow::Options SoundRows::sceneOptions()
{
    PickerRow::Options options;
    for (const AmbienceScene scene : AmbienceScenes::all)
        options.append({AmbienceScenes::rawValue(scene), AmbienceScenes::title(scene)});
    return options;
}

QString SoundRows::nameFilter()
{
    QStringList extensions(AmbienceLibrary::extensions().cbegin(), AmbienceLibrary::extensions().cend());
    std::sort(extensions.begin(), extensions.end());
    QStringList patterns;
    for (const QString &extension : extensions)
        patterns << QStringLiteral("*.") + extension << QStringLiteral("*.") + extension.toUpper();
    return L("音源") + QStringLiteral(" (") + patterns.join(QLatin1Char(' ')) + QLatin1Char(')');
}

namespace {

void follow(AppModel &model)
{
    model.updateAmbience(model.engine().phase(), model.engine().state());
}

} // namespace

void SoundRows::choose(AppModel &model, const QString &name)
{
    model.settings().setCustomSoundName(name);
    follow(model);
}

void SoundRows::remove(AppModel &model, const AmbienceLibrary::Sound &sound)
{
    AmbienceLibrary::remove(sound);
    if (model.settings().customSoundName() == sound.name)
        model.settings().setCustomSoundName(std::nullopt);
    follow(model);
}

bool SoundRows::add(AppModel &model, const QStringList &paths)
{
    std::optional<AmbienceLibrary::Sound> last;
    for (const QString &path : paths)
        if (std::optional<AmbienceLibrary::Sound> added = AmbienceLibrary::add(path))
            last = added;
    if (last && !model.settings().customSoundName())
        model.settings().setCustomSoundName(last->name);
    follow(model);
    return last.has_value();
}
