#include "platform/calendar/module/ZoneLookup.h"

#include <QFile>
#include <QHash>
#include <QMutex>

namespace {

// Where Qt itself reads the zone data from.
const char *const kZoneFolders[] = {"/usr/share/zoneinfo/", "/usr/lib/zoneinfo/"};

// A name that can only be a path below the zone folders.
bool plausible(const QByteArray &id)
{
    if (id.isEmpty() || id.size() > 100 || id.startsWith('/') || id.endsWith('/') || id.contains("//"))
        return false;
    for (const QByteArray &part : id.split('/')) {
        if (part.startsWith('.'))
            return false;
        for (char c : part)
            if (!((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_' || c == '-'
                  || c == '+'))
                return false;
    }
    return true;
}

bool isZoneFile(const QByteArray &id)
{
    for (const char *folder : kZoneFolders) {
        QFile file(QString::fromLatin1(folder) + QString::fromLatin1(id));
        if (file.open(QIODevice::ReadOnly) && file.read(4) == "TZif")
            return true;
    }
    return false;
}

QTimeZone ianaZone(const QByteArray &id)
{
    if (!plausible(id) || (!QTimeZone::isTimeZoneIdAvailable(id) && !isZoneFile(id)))
        return {};
    const QTimeZone zone(id);
    return zone.isValid() ? zone : QTimeZone();
}

QTimeZone lookUp(const QByteArray &tzid)
{
    QByteArray id = tzid.trimmed();
    if (id.size() >= 2 && id.startsWith('"') && id.endsWith('"'))
        id = id.mid(1, id.size() - 2).trimmed();
    if (QTimeZone zone = ianaZone(id); zone.isValid())
        return zone;
    if (id.startsWith('/')) {
        // A global id: the zone's IANA name ends it, after the registry's own parts.
        const QList<QByteArray> parts = id.mid(1).split('/');
        for (qsizetype i = 1; i < parts.size(); ++i)
            if (QTimeZone zone = ianaZone(parts.mid(i).join('/')); zone.isValid())
                return zone;
    }
    const QByteArray windows = QTimeZone::windowsIdToDefaultIanaId(id);
    if (!windows.isEmpty())
        return ianaZone(windows);
    return {};
}

} // namespace

QTimeZone ZoneLookup::systemZone(const QByteArray &tzid)
{
    static QMutex mutex;
    static QHash<QByteArray, QTimeZone> known;
    const QMutexLocker lock(&mutex);
    auto it = known.constFind(tzid);
    if (it == known.constEnd()) {
        if (known.size() > 1000)
            known.clear(); // a file naming endless zones cannot fill the memory
        it = known.insert(tzid, lookUp(tzid));
    }
    return *it;
}
