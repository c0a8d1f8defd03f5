#pragma once

#include <QByteArray>
#include <QString>
#include <QTemporaryDir>

// Points the data and config folders at a fresh temporary folder for the
// life of the object, and forgets the standard preferences so they are read
// from there. Nested use restores the previous folders.
class ScopedDirs
{
public:
    ScopedDirs();
    ~ScopedDirs();
    ScopedDirs(const ScopedDirs &) = delete;
    ScopedDirs &operator=(const ScopedDirs &) = delete;

    QString root() const { return m_dir.path(); }
    // <root>/data/Quillmere and <root>/config/Quillmere (as AppPaths reports them).
    QString dataDir() const;
    QString configDir() const;

private:
    QTemporaryDir m_dir;
    QByteArray m_oldData;
    QByteArray m_oldConfig;
};
