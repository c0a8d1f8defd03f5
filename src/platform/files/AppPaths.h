#pragma once

#include <QString>

// Where the program keeps its files. Both folders follow the XDG variables,
// which the tests point at temporary folders.
namespace AppPaths {
// ~/.local/share/Quillmere: history, tasks, day notes, secrets, sounds, sync log.
QString dataDir();
// ~/.config/Quillmere: the preference files.
QString configDir();
// Makes the folder (and its parents); false when it cannot be made.
bool ensureDir(const QString &path);
} // namespace AppPaths
