#pragma once

#include <QSet>
#include <QString>
#include <QUrl>
#include <QList>
#include <optional>

// The user's own sound files for the custom ambience scene, kept in the
// "Sounds" folder of the data folder. Static operations on the file system;
// every file-system error is swallowed (an empty list, nothing added, nothing
// removed).
namespace AmbienceLibrary {

struct Sound
{
    QString name; // the file name without its extension
    QUrl url;     // the file in the library folder

    QString id() const { return name; }
    friend bool operator==(const Sound &, const Sound &) = default;
};

// The accepted lower-case extensions.
const QSet<QString> &extensions();

// The library folder, made (with its parents) on every call; a failure to make
// it is ignored.
QString folderPath();

// The sounds with an accepted extension, sorted by name, then by file name.
QList<Sound> sounds();

// The first sound (in list order) named exactly name; nothing for nothing.
std::optional<Sound> sound(const std::optional<QString> &name);

// Copies a file into the library. A file whose extension is not accepted is
// refused. Adding a file already there (same bytes under the same name) gives
// the sound already there; a different file whose name is taken is copied
// under the first free name ("rain 2.wav", "rain 3.wav", ...), or gives the
// copy already made under such a name.
std::optional<Sound> add(const QString &sourcePath);

// Deletes the sound's file.
void remove(const Sound &sound);

} // namespace AmbienceLibrary

size_t qHash(const AmbienceLibrary::Sound &sound, size_t seed = 0);
