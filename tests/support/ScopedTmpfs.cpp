#include "support/ScopedTmpfs.h"

#include <QDir>
#include <QFile>
#include <cerrno>
#include <cstring>
#include <sys/mount.h>

ScopedTmpfs::ScopedTmpfs(const QString &folder, qint64 bytes, bool readOnly)
    : m_folder(folder)
{
    QDir().mkpath(folder);
    const QByteArray options = "size=" + QByteArray::number(bytes);
    const unsigned long flags = MS_NOSUID | MS_NODEV | (readOnly ? MS_RDONLY : 0);
    if (::mount("tmpfs", QFile::encodeName(folder).constData(), "tmpfs", flags, options.constData()) == 0)
        m_mounted = true;
    else
        m_why = QStringLiteral("cannot mount a tmpfs here: %1").arg(QString::fromLocal8Bit(std::strerror(errno)));
}

ScopedTmpfs::~ScopedTmpfs()
{
    unmount();
}

void ScopedTmpfs::unmount()
{
    if (m_mounted && ::umount2(QFile::encodeName(m_folder).constData(), MNT_DETACH) == 0)
        m_mounted = false;
}

void ScopedTmpfs::fill() const
{
    QFile filler(m_folder + QStringLiteral("/filler"));
    if (!filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return;
    const QByteArray block(4096, 'x');
    while (filler.write(block) == block.size()) {
    }
    // The last partial page: single bytes until none fits.
    while (filler.write("x", 1) == 1) {
    }
}
