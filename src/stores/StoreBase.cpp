#include "stores/StoreBase.h"

#include "core/KivJSON.h"
#include "core/L.h"
#include "platform/files/AppPaths.h"
#include "platform/files/DataFile.h"

#include <QDir>
#include <QFileInfo>

StoreBase::StoreBase(const QString &folder, const QString &fileName, QObject *parent)
    : QObject(parent)
{
    const QString dir = folder.isEmpty() ? AppPaths::dataDir() : folder;
    m_path = QDir(dir).filePath(fileName);
    if (!AppPaths::ensureDir(dir))
        setLastError(L("データのフォルダ {0} を作れません。変更はこのあいだ保存されません。", dir));
    // A save killed mid-write may have left its temporary file behind.
    DataFile::removeLeftovers(m_path);
}

void StoreBase::setApplyingRemote(bool applying)
{
    if (m_applyingRemote == applying)
        return;
    m_applyingRemote = applying;
    emit isApplyingRemoteChanged();
}

void StoreBase::setLastError(const QString &text)
{
    if (m_lastError == text)
        return;
    m_lastError = text;
    emit lastErrorChanged();
}

bool StoreBase::load(const std::function<void(const QByteArray &)> &decode)
{
    const DataFile::ReadResult read = DataFile::read(m_path);
    if (read.status == DataFile::ReadStatus::Missing)
        return false;
    if (read.status == DataFile::ReadStatus::Unreadable) {
        keepAside(QString());
        return false;
    }
    try {
        decode(read.bytes);
        return true;
    } catch (const KivJSON::DecodeError &error) {
        keepAside(error.message);
        return false;
    }
}

void StoreBase::keepAside(const QString &why)
{
    const QString name = QFileInfo(m_path).fileName();
    const QString aside = DataFile::setAside(m_path);
    QString text;
    if (aside.isEmpty()) {
        m_mayWrite = false;
        text = L("{0} を読めず、脇へ移すこともできませんでした。変更はこのあいだ保存されません。", name);
    } else {
        text = L("{0} を読めませんでした。{1} として残し、空のまま始めます。", name,
                 QFileInfo(aside).fileName());
    }
    if (!why.isEmpty())
        text += QStringLiteral(" (") + why + QStringLiteral(")");
    setLastError(text);
}

void StoreBase::save()
{
    const QString name = QFileInfo(m_path).fileName();
    if (!m_mayWrite) {
        // Only possible once the unreadable file has gone from its place.
        m_mayWrite = !QFileInfo::exists(m_path);
    }
    if (m_mayWrite) {
        QString error;
        if (DataFile::writeAtomically(m_path, encodedContent(), false, &error)) {
            setLastError(QString());
        } else {
            setLastError(L("{0} を保存できませんでした: {1}", name, error));
            emit saveFailed(m_lastError);
        }
    } else {
        emit saveFailed(m_lastError);
    }
    if (onChanged && !m_applyingRemote)
        onChanged();
}
