#include "views/settings/SoundSection.h"

#include "core/AppSettings.h"
#include "core/L.h"
#include "model/AppModel.h"
#include "platform/desktop/Desktop.h"
#include "views/ink/InkButton.h"
#include "views/ink/TextBlock.h"
#include "views/settings/ChoiceRow.h"
#include "views/settings/PickerRow.h"
#include "views/settings/SettingsStyle.h"
#include "views/settings/SoundRows.h"
#include "views/settings/ToggleRow.h"

#include <QHBoxLayout>
#include <QSignalBlocker>
#include <QSlider>
#include <QVBoxLayout>
#include <cmath>

namespace {

constexpr int kVolumeSteps = 100;

QWidget *column(QVBoxLayout *&layout, int spacing)
{
    auto *row = new QWidget;
    layout = new QVBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(spacing);
    return row;
}

} // namespace

SoundSection::SoundSection(const ViewContext &context, const QString &header, QWidget *parent)
    : SettingsSection(header, parent)
    , m_context(context)
{
    setObjectName(QStringLiteral("settings.sound"));
    AppModel &model = *m_context.model;
    AppSettings &settings = model.settings();

    // The bell at the end of a sitting.
    m_enabled = new ToggleRow(L("区切りの終わりに鐘を撞く"), SettingsStyle::labelFont());
    m_enabled->setObjectName(QStringLiteral("settings.sound.enabled"));
    connect(m_enabled, &ToggleRow::toggled, this, [this](bool on) { m_context.model->settings().setSoundEnabled(on); });
    addRow(m_enabled);

    QVBoxLayout *bell = nullptr;
    m_bellRow = addRow(column(bell, 6));
    m_bell = new PickerRow(L("鐘"));
    m_bell->setObjectName(QStringLiteral("settings.sound.bell"));
    m_bell->setOptions(SoundRows::bellOptions());
    connect(m_bell, &PickerRow::chosen, this, [this](const QString &name) { m_context.model->settings().setBell(name); });
    bell->addWidget(m_bell);
    auto *ringLine = new QHBoxLayout;
    ringLine->setContentsMargins(0, 0, 0, 0);
    ringLine->setSpacing(8);
    m_bellDetail = SettingsStyle::caption(QString());
    m_bellDetail->setObjectName(QStringLiteral("settings.sound.bellDetail"));
    ringLine->addWidget(m_bellDetail, 1);
    auto *ring = SettingsStyle::button(L("撞く"), QStringLiteral("settings.sound.ring"));
    connect(ring, &InkButton::clicked, this, [this] {
        if (!m_context.snapshot)
            m_context.model->ringChosenBell();
    });
    ringLine->addWidget(ring, 0, Qt::AlignVCenter);
    bell->addLayout(ringLine);

    // The scene.
    m_scene = new PickerRow(L("音の景色"));
    m_scene->setObjectName(QStringLiteral("settings.sound.scene"));
    m_scene->setOptions(SoundRows::sceneOptions());
    connect(m_scene, &PickerRow::chosen, this,
            [this](const QString &scene) { m_context.model->settings().setAmbienceScene(scene); });
    addRow(m_scene);

    // The user's own sounds.
    QVBoxLayout *library = nullptr;
    m_libraryRow = addRow(column(library, 8));
    QWidget *list = column(m_soundList, 2);
    m_noSounds = SettingsStyle::caption(L("音源がまだありません。下の「追加…」から入れてください。"));
    m_noSounds->setObjectName(QStringLiteral("settings.sound.noSounds"));
    m_soundList->addWidget(m_noSounds);
    library->addWidget(list);
    auto *add = SettingsStyle::button(L("追加…"), QStringLiteral("settings.sound.add"));
    connect(add, &InkButton::clicked, this, &SoundSection::addSounds);
    auto *folder = SettingsStyle::button(L("フォルダを開く"), QStringLiteral("settings.sound.openFolder"));
    connect(folder, &InkButton::clicked, this, [this] {
        if (!m_context.snapshot)
            m_context.desk().openFolder(AmbienceLibrary::folderPath());
    });
    library->addLayout(SettingsStyle::buttonRow({add, folder}));
    library->addWidget(SettingsStyle::caption(
        L("般若心経のような、合成では作れないものはここへ。入れた音源はくり返し流れます。")));

    // The scene's description, its volume and a preview.
    QVBoxLayout *scene = nullptr;
    m_sceneRow = addRow(column(scene, 8));
    m_sceneDetail = SettingsStyle::description(QString());
    m_sceneDetail->setObjectName(QStringLiteral("settings.sound.sceneDetail"));
    scene->addWidget(m_sceneDetail);
    auto *volumeLine = new QHBoxLayout;
    volumeLine->setContentsMargins(0, 0, 0, 0);
    volumeLine->setSpacing(10);
    volumeLine->addWidget(new TextBlock(L("音量"), SettingsStyle::captionFont(), Tone{Kiv::Colour::ink}), 0,
                          Qt::AlignVCenter);
    m_volume = new QSlider(Qt::Horizontal);
    m_volume->setObjectName(QStringLiteral("settings.sound.volume"));
    m_volume->setAccessibleName(L("音量"));
    m_volume->setRange(0, kVolumeSteps);
    m_volume->setFocusPolicy(Qt::StrongFocus);
    connect(m_volume, &QSlider::valueChanged, this, [this](int value) {
        if (!m_context.snapshot)
            m_context.model->settings().setAmbienceVolume(double(value) / kVolumeSteps);
    });
    volumeLine->addWidget(m_volume, 1, Qt::AlignVCenter);
    m_preview = SettingsStyle::button(L("試す"), QStringLiteral("settings.sound.preview"));
    connect(m_preview, &InkButton::clicked, this, [this] {
        if (!m_context.snapshot)
            m_context.model->previewAmbience();
    });
    volumeLine->addWidget(m_preview, 0, Qt::AlignVCenter);
    scene->addLayout(volumeLine);

    addRow(SettingsStyle::caption(
        L("集中しているあいだだけ流れ、休みと停止では静かになります。音源は持たず、その場で作っています。")));

    for (auto sig : {&AppSettings::soundEnabledChanged, &AppSettings::bellChanged, &AppSettings::ambienceSceneChanged,
                     &AppSettings::ambienceVolumeChanged})
        connect(&settings, sig, this, &SoundSection::refresh);
    connect(&settings, &AppSettings::customSoundNameChanged, this, &SoundSection::markChosen);
    connect(&model, &AppModel::previewingAmbienceChanged, this, &SoundSection::refresh);
    refresh();
}

void SoundSection::refresh()
{
    const AppModel &model = *m_context.model;
    const AppSettings &settings = model.settings();
    const SoundRows rows = SoundRows::of(model);
    m_enabled->setOn(settings.soundEnabled());
    m_bellRow->setVisible(rows.showsBell);
    m_bell->setSelection(settings.bell());
    m_bellDetail->setText(rows.bellDetail);
    m_scene->setSelection(settings.ambienceScene());

    // The list is read afresh each time it comes on screen.
    if (rows.showsLibrary && !m_libraryOnScreen)
        reloadSounds();
    m_libraryOnScreen = rows.showsLibrary;
    m_libraryRow->setVisible(rows.showsLibrary);

    m_sceneRow->setVisible(rows.showsScene);
    m_sceneDetail->setText(rows.sceneDetail);
    {
        const QSignalBlocker quiet(m_volume);
        m_volume->setValue(int(std::lround(settings.ambienceVolume() * kVolumeSteps)));
    }
    m_preview->setText(rows.previewLabel);
}

void SoundSection::showEvent(QShowEvent *event)
{
    SettingsSection::showEvent(event);
    m_libraryOnScreen = false;
    refresh();
}

void SoundSection::reloadSounds()
{
    m_sounds = AmbienceLibrary::sounds();
    rebuildSoundRows();
}

void SoundSection::rebuildSoundRows()
{
    for (ChoiceRow *row : std::as_const(m_soundRows)) {
        row->hide();
        row->deleteLater();
    }
    m_soundRows.clear();
    m_noSounds->setVisible(m_sounds.isEmpty());
    for (const AmbienceLibrary::Sound &sound : std::as_const(m_sounds)) {
        auto *row = new ChoiceRow(sound.name, SettingsStyle::captionFont(), Tone{Kiv::Colour::vermilion}, 11);
        row->setObjectName(QStringLiteral("settings.sound.sound"));
        row->setAccessibleName(sound.name);
        auto *remove = SettingsStyle::link(L("消す"), QStringLiteral("settings.sound.delete"));
        InkLook look = remove->look();
        look.foreground = Tone{Kiv::Colour::inkFaint};
        look.foregroundHover = Tone{Kiv::Colour::inkSoft};
        remove->setLook(look);
        remove->setAccessibleName(L("消す") + QStringLiteral(" ") + sound.name);
        row->setTrailing(remove);
        connect(row, &ChoiceRow::clicked, this, [this, name = sound.name] {
            if (!m_context.snapshot)
                SoundRows::choose(*m_context.model, name);
        });
        connect(remove, &InkButton::clicked, this, [this, sound] {
            if (m_context.snapshot)
                return;
            SoundRows::remove(*m_context.model, sound);
            // The row pressed goes with the list, so the list is rebuilt
            // once its press is over.
            QMetaObject::invokeMethod(this, &SoundSection::reloadSounds, Qt::QueuedConnection);
        });
        m_soundList->addWidget(row);
        m_soundRows << row;
    }
    markChosen();
}

void SoundSection::markChosen()
{
    const std::optional<QString> chosen = m_context.model->settings().customSoundName();
    for (int i = 0; i < m_soundRows.size() && i < m_sounds.size(); ++i)
        m_soundRows.at(i)->setChosen(chosen == m_sounds.at(i).name);
}

void SoundSection::addSounds()
{
    if (m_context.snapshot)
        return;
    Desktop::FileQuestion question;
    question.message = L("くり返し流す音源を選んでください");
    question.confirm = L("追加");
    question.nameFilters = {SoundRows::nameFilter()};
    const std::optional<QStringList> paths = m_context.desk().openFiles(question, window());
    if (!paths)
        return;
    SoundRows::add(*m_context.model, *paths);
    reloadSounds();
}
