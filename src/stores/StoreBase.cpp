#include "stores/StoreBase.h"

#include "core/Background.h"
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

quint64 StoreBase::WriteGate::next()
{
    QMutexLocker lock(&mutex);
    return ++latest;
}

bool StoreBase::WriteGate::isLatest(quint64 ticket)
{
    QMutexLocker lock(&mutex);
    return latest == ticket;
}

StoreBase::~StoreBase()
{
    // Waits for a background write under way; one not yet under way is dropped.
    QMutexLocker lock(&m_gate->mutex);
    m_gate->closed = true;
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
        keepAside(error.message());
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

bool StoreBase::mayWrite()
{
    // Only possible once the unreadable file has gone from its place.
    if (!m_mayWrite)
        m_mayWrite = !QFileInfo::exists(m_path);
    return m_mayWrite;
}

void StoreBase::reportWrite(bool ok, const QString &error)
{
    if (ok) {
        setLastError(QString());
    } else {
        setLastError(L("{0} を保存できませんでした: {1}", QFileInfo(m_path).fileName(), error));
        emit saveFailed(m_lastError);
    }
}

void StoreBase::save()
{
    if (mayWrite()) {
        const QByteArray bytes = encodedContent();
        QString error;
        bool ok = false;
        {
            // Waits for a background write under way, so that this one lands
            // last; one not yet under way gives way to it.
            QMutexLocker lock(&m_gate->mutex);
            ++m_gate->latest;
            ok = DataFile::writeAtomically(m_path, bytes, false, &error);
        }
        reportWrite(ok, error);
    } else {
        m_gate->next();
        emit saveFailed(m_lastError);
    }
    if (onChanged && !m_applyingRemote)
        onChanged();
}

void StoreBase::saveInBackground(std::function<void()> done)
{
    struct Outcome
    {
        bool written = false;
        bool ok = false;
        QString error;
    };
    const quint64 ticket = m_gate->next();
    const bool writable = mayWrite();
    const Encoding encoding = backgroundEncoding();
    Background::run(
        this,
        [gate = m_gate, ticket, writable, path = m_path, encode = encoding.encode] {
            Outcome out;
            if (!writable || !gate->isLatest(ticket))
                return out;
            const QByteArray bytes = encode();
            QMutexLocker lock(&gate->mutex);
            if (gate->closed || gate->latest != ticket)
                return out;
            out.written = true;
            out.ok = DataFile::writeAtomically(path, bytes, false, &out.error);
            return out;
        },
        [this, ticket, writable, keep = encoding.keep, done](const Outcome &out) {
            // A save made meanwhile has written, reported and cached the
            // later content.
            if (m_gate->isLatest(ticket) && out.written) {
                keep();
                reportWrite(out.ok, out.error);
            } else if (m_gate->isLatest(ticket) && !writable) {
                emit saveFailed(m_lastError);
            }
            if (done)
                done();
        });
}
