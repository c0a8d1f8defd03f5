#include "stores/SessionStore.h"

#include "core/KivJSON.h"
#include "stores/DayMath.h"

#include <QSet>

namespace {

// The rounds of one task repeat its title and reference tens of thousands of
// times over a history: the records read by one decoder share one copy of
// each text, and the copies read twice are let go at once.
SessionRecord decodeSharingTexts(const QJsonObject &json, QSet<QString> &known)
{
    SessionRecord r = SessionRecord::fromJson(json);
    const auto share = [&known](QString &text) {
        const auto found = known.constFind(text);
        if (found == known.cend())
            known.insert(text);
        else
            text = *found;
    };
    share(r.title);
    if (r.taskRef) {
        share(r.taskRef->source);
        share(r.taskRef->id);
    }
    return r;
}

} // namespace

SessionStore::SessionStore(const QString &folder, QObject *parent)
    : StoreBase(folder, fileName, parent)
{
    load([this](const QByteArray &bytes) {
        m_records = KivJSON::decodeArrayWith<SessionRecord>(bytes, [] {
            return [known = QSet<QString>()](const QJsonObject &json) mutable { return decodeSharingTexts(json, known); };
        });
    });
}

void SessionStore::setAllRecords(const QList<SessionRecord> &records)
{
    if (assign(m_records, records))
        emit recordsReplaced();
}

QList<SessionRecord> SessionStore::records() const
{
    QList<SessionRecord> out;
    out.reserve(m_records.size());
    for (const SessionRecord &r : m_records)
        if (!r.deletedAt)
            out.append(r);
    return out;
}

std::optional<SessionRecord> SessionStore::liveRecord(const QUuid &id) const
{
    const qsizetype i = indexOf(id);
    if (i < 0 || m_records[i].deletedAt)
        return std::nullopt;
    return m_records[i];
}

qsizetype SessionStore::indexOf(const QUuid &id) const
{
    for (qsizetype i = 0; i < m_records.size(); ++i)
        if (m_records[i].id == id)
            return i;
    return -1;
}

void SessionStore::append(const SessionRecord &record)
{
    m_records.append(record);
    emit recordChanged(m_records.size() - 1);
    emit changed();
    save();
}

void SessionStore::update(const SessionRecord &record)
{
    const qsizetype i = indexOf(record.id);
    if (i < 0)
        return;
    m_records[i] = record;
    emit recordChanged(i);
    emit changed();
    save();
}

void SessionStore::deleteRecord(const SessionRecord &record, const QDateTime &at)
{
    const qsizetype i = indexOf(record.id);
    if (i < 0)
        return;
    m_records[i].deletedAt = at;
    emit recordChanged(i);
    emit changed();
    save();
}

SessionStore::FocusSummary SessionStore::focusSummary(const TaskRef &task, const QDateTime &day,
                                                      const QTimeZone &zone) const
{
    const QDate date = DayMath::dateIn(day, zone);
    FocusSummary out;
    qint64 msecs = 0;
    for (const SessionRecord &r : m_records) {
        if (r.deletedAt || r.phase != Phase::focus || r.taskRef != task)
            continue;
        if (DayMath::dateIn(r.start, zone) != date)
            continue;
        ++out.sessions;
        msecs = addMsecs(msecs, r.start.msecsTo(r.end));
    }
    out.minutes = roundedMinutes(msecs);
    return out;
}

QByteArray SessionStore::encodedContent()
{
    return m_encoded.document(m_records);
}

StoreBase::Encoding SessionStore::backgroundEncoding()
{
    return encodingOf(m_records, m_encoded);
}
