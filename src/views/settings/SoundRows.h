#pragma once

#include "sound/AmbienceLibrary.h"
#include "views/settings/PickerRow.h"

#include <QString>
#include <QStringList>

class AppModel;

// What the sound rows show for the settings of the moment, and what their
// controls do with the user's own sounds.
struct SoundRows
{
    bool showsBell = true;     // the bell picker, its description and "Ring"
    bool showsLibrary = false; // the user's sounds (the custom scene)
    bool showsScene = true;    // the scene's description and the volume row
    QString bellDetail;
    QString sceneDetail;
    QString previewLabel; // "Try", or "Stop" while a preview plays

    static SoundRows of(const AppModel &model);

    // The five bells tagged with their stored names, the thirteen scenes
    // tagged with theirs.
    static PickerRow::Options bellOptions();
    static PickerRow::Options sceneOptions();

    // The open panel's filter: exactly the extensions the library takes,
    // so no file is offered that the library would refuse.
    static QString nameFilter();

    // The user picks a sound: it becomes the custom scene's sound, and a
    // sitting under way plays it at once.
    static void choose(AppModel &model, const QString &name);
    // Deletes a sound's file; a choice that named it is cleared.
    static void remove(AppModel &model, const AmbienceLibrary::Sound &sound);
    // Copies the chosen files into the library, in order. With no sound
    // chosen, the last one added becomes the chosen one. Gives whether any
    // file was added.
    static bool add(AppModel &model, const QStringList &paths);
};
