#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

// Points the data and config folders at a fresh temporary folder for the
// life of the object, and forgets the standard preferences so they are read
// from there. Nested use restores the previous folders.
//
// dataDir() and configDir() are this object's own folders, fixed when it is
// made: with two alive (two machines in one test), each names its own, never
// the folders of whichever was made last.
class ScopedDirs
{
public:
    ScopedDirs();
    ~ScopedDirs();
    ScopedDirs(const ScopedDirs &) = delete;
    ScopedDirs &operator=(const ScopedDirs &) = delete;

    QString root() const { return m_dir.path(); }
    // <root>/data/Quillmere and <root>/config/Quillmere (as AppPaths reports
    // them while this object's folders are the current ones).
    QString dataDir() const { return m_dataDir; }
    QString configDir() const { return m_configDir; }

private:
    QTemporaryDir m_dir;
    QByteArray m_oldData;
    QByteArray m_oldConfig;
    QString m_dataDir;
    QString m_configDir;
};
