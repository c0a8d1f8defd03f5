#include "stores/DayNoteStore.h"

#include "core/KivJSON.h"
#include "platform/time/Clock.h"
#include "stores/DayMath.h"
#include "stores/Shikunichi.h"

#include <algorithm>

DayNoteStore::DayNoteStore(const QString &folder, QObject *parent)
    : StoreBase(folder, fileName, parent)
{
    QList<DayNote> decoded;
    const bool read = load([&](const QByteArray &bytes) {
        decoded = KivJSON::decodeArray<DayNote>(bytes, &DayNote::fromJson);
    });
    if (!read)
        return;
    m_notes = withoutDuplicates(decoded);
    // The one case in which loading writes: corrected notes go back at once.
    if (m_notes != decoded)
        save();
}

QList<DayNote> DayNoteStore::withoutDuplicates(const QList<DayNote> &notes)
{
    QList<DayNote> out;
    out.reserve(notes.size());
    for (const DayNote &n : notes)
        out.append(n.withoutDuplicatePlans().value_or(n));
    return out;
}

QByteArray DayNoteStore::encodedContent()
{
    return m_encoded.document(m_notes);
}

StoreBase::Encoding DayNoteStore::backgroundEncoding()
{
    return encodingOf(m_notes, m_encoded);
}

QList<DayNote> DayNoteStore::notes() const
{
    QList<DayNote> out;
    for (const DayNote &n : m_notes)
        if (!n.deletedAt)
            out.append(n);
    return out;
}

DayNote DayNoteStore::note(const QDateTime &date) const
{
    const QString key = DayNote::key(date);
    for (const DayNote &n : m_notes)
        if (!n.deletedAt && n.day == key)
            return n;
    return DayNote::empty(key);
}

void DayNoteStore::change(const QDateTime &date, const std::function<void(DayNote &)> &apply)
{
    const QString key = DayNote::key(date);
    auto it = std::find_if(m_notes.begin(), m_notes.end(), [&](const DayNote &n) { return n.day == key; });
    if (it == m_notes.end()) {
        DayNote fresh = DayNote::empty(key);
        apply(fresh);
        m_notes.append(fresh);
    } else {
        apply(*it);
        it->updatedAt = Clock::current().now();
        // Writing to a deleted day brings it back with everything it held.
        it->deletedAt.reset();
    }
    emit changed();
    save();
}

void DayNoteStore::setIntention(const QString &text, const QDateTime &date)
{
    // The same line again writes nothing: no empty note is made for a day
    // only looked at, and no change time is stamped for sync to spread.
    if (note(date).intention == text.trimmed())
        return;
    change(date, [&](DayNote &n) { n.intention = text.trimmed(); });
}

void DayNoteStore::setReflection(const QString &text, const QDateTime &date)
{
    if (note(date).reflection == text.trimmed())
        return;
    change(date, [&](DayNote &n) { n.reflection = text.trimmed(); });
}

void DayNoteStore::setGuide(const QString &text, const QDateTime &date)
{
    change(date, [&](DayNote &n) { n.guide = text.trimmed(); });
}

void DayNoteStore::addPlan(const DayPlan &plan, const QDateTime &date)
{
    change(date, [&](DayNote &n) { n.plans.append(plan); });
}

void DayNoteStore::removePlan(const QUuid &planId, const QDateTime &date)
{
    change(date, [&](DayNote &n) { n.plans.removeIf([&](const DayPlan &p) { return p.id == planId; }); });
}

void DayNoteStore::replacePlans(const QList<DayPlan> &plans, const QDateTime &date)
{
    change(date, [&](DayNote &n) { n.plans = plans; });
}

void DayNoteStore::markSwept(const QDateTime &day, const QDateTime &at)
{
    change(day, [&](DayNote &n) { n.sweptAt = at; });
}

bool DayNoteStore::isSwept(const QDateTime &date) const
{
    return note(date).sweptAt.has_value();
}

std::optional<QDateTime> DayNoteStore::lastSwept(const QDateTime &before) const
{
    const QString key = DayNote::key(before);
    std::optional<QString> latest;
    for (const DayNote &n : m_notes) {
        if (n.deletedAt || !n.sweptAt || !(n.day < key))
            continue;
        if (!latest || *latest < n.day)
            latest = n.day;
    }
    if (!latest)
        return std::nullopt;
    return DayNote::dateOfKey(*latest);
}

std::optional<DayNoteStore::Guide> DayNoteStore::lastGuide(const QDateTime &on) const
{
    const QString key = DayNote::key(on);
    QList<DayNote> candidates;
    for (const DayNote &n : m_notes)
        if (!n.deletedAt && n.day <= key)
            candidates.append(n);
    std::stable_sort(candidates.begin(), candidates.end(),
                     [](const DayNote &a, const DayNote &b) { return a.day > b.day; });
    for (const DayNote &n : candidates) {
        if (!n.guide || n.guide->isEmpty())
            continue;
        if (const auto day = DayNote::dateOfKey(n.day))
            return Guide{*n.guide, *day};
    }
    return std::nullopt;
}

std::optional<QString> DayNoteStore::currentGuide(const QDateTime &on, const QTimeZone &zone) const
{
    const auto guide = lastGuide(on);
    if (!guide)
        return std::nullopt;
    const auto next = Shikunichi::next(guide->day, zone);
    if (next && DayMath::startOfDay(on, zone) >= *next)
        return std::nullopt;
    return guide->text;
}

void DayNoteStore::replaceAll(const QList<DayNote> &notes)
{
    setAllNotes(notes);
    save();
}

void DayNoteStore::setAllNotes(const QList<DayNote> &notes)
{
    assign(m_notes, withoutDuplicates(notes));
}
