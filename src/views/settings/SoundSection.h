#pragma once

#include "sound/AmbienceLibrary.h"
#include "views/ink/ViewContext.h"
#include "views/settings/SettingsSection.h"

#include <QList>

class ChoiceRow;
class InkButton;
class PickerRow;
class QSlider;
class QVBoxLayout;
class TextBlock;
class ToggleRow;

// The sound rows: the bell at the end of a sitting (on or off, which of
// the five, and "Ring" to hear it), the ambience scene, the user's own
// sounds for the custom scene (choose, delete, add through the file panel,
// open their folder), the scene's description, its volume and a preview.
// What shows follows SoundRows. The list of the user's sounds is read from
// the library when it comes on screen and after an add or a delete.
class SoundSection : public SettingsSection
{
    Q_OBJECT
public:
    SoundSection(const ViewContext &context, const QString &header, QWidget *parent = nullptr);

    void refresh();
    // Asks for sound files and adds them to the library.
    void addSounds();
    const QList<AmbienceLibrary::Sound> &sounds() const { return m_sounds; }

protected:
    void showEvent(QShowEvent *event) override;

private:
    void reloadSounds();
    void rebuildSoundRows();
    void markChosen();

    ViewContext m_context;
    ToggleRow *m_enabled = nullptr;
    QWidget *m_bellRow = nullptr;
    PickerRow *m_bell = nullptr;
    TextBlock *m_bellDetail = nullptr;
    PickerRow *m_scene = nullptr;
    QWidget *m_libraryRow = nullptr;
    QVBoxLayout *m_soundList = nullptr;
    TextBlock *m_noSounds = nullptr;
    QList<ChoiceRow *> m_soundRows;
    QWidget *m_sceneRow = nullptr;
    TextBlock *m_sceneDetail = nullptr;
    QSlider *m_volume = nullptr;
    InkButton *m_preview = nullptr;
    QList<AmbienceLibrary::Sound> m_sounds;
    bool m_libraryOnScreen = false;
};
