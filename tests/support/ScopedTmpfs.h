#pragma once

#include <QString>

// A small tmpfs mounted over a folder for the life of the object, to see how
// the program meets a full or read-only file system. Mounting needs root (or
// CAP_SYS_ADMIN); without it mounted() is false and why() says so, and the
// test skips.
class ScopedTmpfs
{
public:
    // Makes the folder when it is missing; readOnly mounts it read-only.
    ScopedTmpfs(const QString &folder, qint64 bytes, bool readOnly = false);
    ~ScopedTmpfs();
    ScopedTmpfs(const ScopedTmpfs &) = delete;
    ScopedTmpfs &operator=(const ScopedTmpfs &) = delete;

    bool mounted() const { return m_mounted; }
    QString why() const { return m_why; }

    // Fills the file system until it refuses another byte (a file "filler").
    void fill() const;
    // Takes the tmpfs away again; the folder shows what it held before.
    void unmount();

private:
    QString m_folder;
    QString m_why;
    bool m_mounted = false;
};
