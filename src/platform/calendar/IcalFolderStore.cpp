#include "platform/calendar/IcalFolderStore.h"

#include "core/Background.h"

#include "platform/files/AppPaths.h"
#include "platform/files/DataFile.h"
#include "platform/calendar/IcalDocument.h"
#include "platform/files/Preferences.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QUuid>
#include <algorithm>
#include <atomic>
#include <sys/stat.h>
#ifdef __GLIBC__
#include <malloc.h>
#endif

namespace {

std::atomic<qint64> filesRead{0};

const QString kDefaultName = QStringLiteral("Quillmere");
const QString kItemSuffix = QStringLiteral(".ics");
constexpr qint64 kDayMs = 24 * 60 * 60 * 1000;
// A file system stamps times by a coarse clock: a change made within this
// long of a read may carry the same stamp as what was read.
constexpr qint64 kRacyMs = 2000;
// Events longer than this are read for every range rather than filed by day.
constexpr qint64 kLongestIndexedDays = 400;

qint64 dayNumber(qint64 ms)
{
    return ms >= 0 ? ms / kDayMs : -((-ms + kDayMs - 1) / kDayMs);
}

QString cleanPath(const QString &path)
{
    return QDir::cleanPath(QDir(path).absolutePath());
}

// The first line of a small metadata file, trimmed; empty when absent.
QString metadata(const QString &folder, const QString &name)
{
    const DataFile::ReadResult read = DataFile::read(folder + QLatin1Char('/') + name);
    if (read.status != DataFile::ReadStatus::Ok)
        return {};
    return QString::fromUtf8(read.bytes).section(QLatin1Char('\n'), 0, 0).trimmed();
}

// Colours are written "#RRGGBB" or, by CalDAV servers, "#RRGGBBAA".
QColor colorFrom(const QString &value)
{
    if (value.size() == 9 && value.startsWith(QLatin1Char('#'))) {
        bool ok = false;
        const uint rgba = value.mid(1).toUInt(&ok, 16);
        if (ok)
            return QColor(int(rgba >> 24), int((rgba >> 16) & 0xff), int((rgba >> 8) & 0xff), int(rgba & 0xff));
        return {};
    }
    const QColor color = QColor::fromString(value);
    return color.isValid() ? color : QColor();
}

// Whether the name of an empty collection says it is a list of reminders.
bool namesAList(const QString &name)
{
    static const QStringList words = {
        QStringLiteral("remind"), QStringLiteral("task"),   QStringLiteral("todo"),
        QStringLiteral("to-do"),  QStringLiteral("to do"),  QStringLiteral("list"),
        QStringLiteral("リマインダー"), QStringLiteral("タスク"), QStringLiteral("リスト"),
    };
    const QString lower = name.toLower();
    return std::any_of(words.begin(), words.end(), [&](const QString &w) { return lower.contains(w); });
}

QStringList sortedSubfolders(const QString &path)
{
    QStringList names = QDir(path).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    names.erase(std::remove_if(names.begin(), names.end(), [](const QString &n) { return n.startsWith(QLatin1Char('.')); }),
                names.end());
    std::sort(names.begin(), names.end()); // plain code-unit order, the same on every machine
    return names;
}

QStringList itemFilesOf(const QString &folder)
{
    QStringList files = QDir(folder).entryList({QStringLiteral("*.ics")}, QDir::Files);
    std::sort(files.begin(), files.end());
    for (QString &f : files)
        f = folder + QLatin1Char('/') + f;
    return files;
}

QString newUid()
{
    return QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper();
}

void setError(QString *error, const QString &text)
{
    if (error)
        *error = text;
}

// The item of a file the program may change: the one the file is named
// after, else the first it holds. A file that joined several calendars is
// only read.
// A file parsed whole, with its components, to edit or to read as written.
std::unique_ptr<IcalDocument> readAfresh(const QString &path)
{
    const DataFile::ReadResult read = DataFile::read(path);
    return read.status == DataFile::ReadStatus::Ok ? IcalDocument::parse(read.bytes) : nullptr;
}

// A file's folder and name.
std::pair<QString, QString> splitPath(const QString &path)
{
    const qsizetype slash = path.lastIndexOf(QLatin1Char('/'));
    return {path.left(slash), path.mid(slash + 1)};
}

bool isEditable(const QString &path, const IcalDocument &doc, const QString &uid)
{
    if (doc.isJoined())
        return false;
    const QStringList uids = doc.uids();
    const QString named = QFileInfo(path).completeBaseName();
    return uids.contains(named) ? uid == named : uid == uids.value(0);
}

} // namespace

QString IcalFolderStore::defaultAccountFolder()
{
    return AppPaths::dataDir() + QStringLiteral("/calendars");
}

IcalFolderStore::IcalFolderStore(Preferences *preferences, QObject *parent)
    : CalendarStore(parent)
    , m_preferences(preferences)
{
    m_changeTimer.setSingleShot(true);
    m_changeTimer.setInterval(kChangeDelayMs);
    connect(&m_changeTimer, &ClockTimer::timeout, this, &CalendarStore::changed);
    connect(&m_watcher, &QFileSystemWatcher::directoryChanged, this, [this](const QString &path) {
        m_folders.erase(path);
        m_accounts.erase(path);
        rewatch();
        noteChange();
    });
    if (m_preferences) {
        connect(m_preferences, &Preferences::changed, this, [this](const QString &key) {
            if (key == accountsKey()) {
                rewatch();
                noteChange();
            }
        });
    }
    rewatch();
}

IcalFolderStore::~IcalFolderStore() = default;

Preferences &IcalFolderStore::preferences() const
{
    return m_preferences ? *m_preferences : Preferences::standard();
}

// ---- accounts and access ------------------------------------------------------

QStringList IcalFolderStore::accountFolders() const
{
    return preferences().stringList(accountsKey()).value_or(QStringList());
}

CalendarAccess IcalFolderStore::authorization() const
{
    bool anyExists = false;
    for (const QString &folder : accountFolders()) {
        const QFileInfo info(folder);
        if (!info.isDir())
            continue;
        anyExists = true;
        if (info.isReadable() && info.isWritable() && info.isExecutable())
            return CalendarAccess::FullAccess;
    }
    // Folders that exist but cannot be used are a refusal; no folder at all
    // means the question was never answered.
    return anyExists ? CalendarAccess::Denied : CalendarAccess::NotDetermined;
}

bool IcalFolderStore::hasAccess() const
{
    return authorization() == CalendarAccess::FullAccess;
}

bool IcalFolderStore::addAccountFolder(const QString &path, QString *error)
{
    const QString folder = cleanPath(path);
    const QFileInfo info(folder);
    if (!info.isDir() || !info.isReadable()) {
        setError(error, QStringLiteral("cannot read the folder %1").arg(folder));
        return false;
    }
    QStringList folders = accountFolders();
    if (!folders.contains(folder)) {
        folders.append(folder);
        preferences().setValue(accountsKey(), QJsonValue::fromVariant(folders));
    }
    rewatch();
    noteChange();
    return true;
}

bool IcalFolderStore::requestAccess(QString *error)
{
    if (hasAccess())
        return true;
    const QString account = defaultAccountFolder();
    QDir dir(account);
    if (!dir.exists() || sortedSubfolders(account).isEmpty()) {
        // A new default account: one calendar and one list.
        const QString calendar = account + QStringLiteral("/calendar");
        const QString list = account + QStringLiteral("/reminders");
        QString writeError;
        if (!QDir().mkpath(calendar) || !QDir().mkpath(list)
            || !DataFile::writeAtomically(calendar + QStringLiteral("/displayname"), kDefaultName.toUtf8(), false, &writeError)
            || !DataFile::writeAtomically(list + QStringLiteral("/displayname"), kDefaultName.toUtf8(), false, &writeError)) {
            setError(error, QStringLiteral("cannot set up the calendar folder %1 %2").arg(account, writeError).trimmed());
            return false;
        }
    }
    if (!addAccountFolder(account, error))
        return false;
    if (!hasAccess()) {
        setError(error, QStringLiteral("cannot write to the calendar folder %1").arg(account));
        return false;
    }
    return true;
}

// ---- collections --------------------------------------------------------------

QStringList IcalFolderStore::itemFiles(const QString &folder) const
{
    return itemFilesOf(folder);
}

IcalFolderStore::Stamp IcalFolderStore::stampOf(const QString &path)
{
    Stamp stamp;
    struct stat st;
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return stamp;
    stamp.exists = true;
    stamp.modifiedNs = qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    stamp.changedNs = qint64(st.st_ctim.tv_sec) * 1000000000 + st.st_ctim.tv_nsec;
    stamp.size = qint64(st.st_size);
    stamp.inode = quint64(st.st_ino);
    return stamp;
}

bool IcalFolderStore::racy(const Stamp &stamp, qint64 readAtMs)
{
    return stamp.exists && readAtMs - stamp.modifiedNs / 1000000 < kRacyMs;
}

const IcalFolderStore::Cached *IcalFolderStore::cached(const QString &path) const
{
    return cached(path, stampOf(path));
}

const IcalFolderStore::Cached *IcalFolderStore::cached(const QString &path, const Stamp &stamp) const
{
    const auto [folder, name] = splitPath(path);
    if (!stamp.exists) {
        if (const auto files = m_cache.find(folder); files != m_cache.end())
            files->second.erase(name);
        return nullptr;
    }
    CachedFiles &files = m_cache[folder];
    auto it = files.find(name);
    if (it != files.end() && it->second.stamp == stamp && !racy(stamp, it->second.readAtMs))
        return &it->second;
    // A file read again only because it was fresh when last read is not
    // reported again.
    const bool known = it != files.end() && it->second.stamp == stamp;
    return &(files[name] = readEntry(path, stamp, !known));
}

IcalFolderStore::Cached IcalFolderStore::readEntry(const QString &path, const Stamp &stamp, bool warn)
{
    Cached entry{stamp, QDateTime::currentMSecsSinceEpoch(), nullptr, false};
    filesRead.fetch_add(1, std::memory_order_relaxed);
    const DataFile::ReadResult read = DataFile::read(path);
    if (read.status == DataFile::ReadStatus::Ok) {
        entry.opened = true;
        // A file that cannot be parsed is skipped, and left as it is for
        // the tool that syncs the folder; unreadableItems() names it. Of
        // thousands of files, a reading wants the few of its days: what
        // their events are is read again then.
        if (std::unique_ptr<IcalDocument> doc = IcalDocument::parseForIndex(read.bytes)) {
            const QStringList uids = doc->uids();
            const std::optional<std::pair<qint64, qint64>> span = doc->eventSpan();
            if (span && !doc->keepsEvents() && uids.size() == 1 && doc->kindOf(uids[0]) == IcalDocument::Kind::Event
                && !doc->isJoined() && doc->unidentified().isEmpty() && uids[0] == QFileInfo(path).completeBaseName()) {
                entry.plain = true;
                entry.spanFirst = span->first;
                entry.spanLast = span->second;
            } else {
                entry.doc = std::move(doc);
            }
        } else if (warn)
            qWarning("calendar item skipped, not readable: %s", qPrintable(path));
    }
    return entry;
}

QList<IcalFolderStore::Loaded> IcalFolderStore::readItemFiles(const QStringList &accounts)
{
    QList<Loaded> out;
    for (const QString &account : accounts) {
        for (const QString &name : sortedSubfolders(account)) {
            for (const QString &path : itemFilesOf(account + QLatin1Char('/') + name)) {
                const Stamp stamp = stampOf(path);
                if (stamp.exists)
                    out.append({path, readEntry(path, stamp, true)});
            }
        }
    }
    return out;
}

qint64 IcalFolderStore::itemFilesRead()
{
    return filesRead.load(std::memory_order_relaxed);
}

void IcalFolderStore::loadWhenFirstAsked()
{
    if (!m_loading)
        m_deferred = true;
}

void IcalFolderStore::loadInBackground()
{
    startLoading();
}

void IcalFolderStore::startLoading() const
{
    m_deferred = false;
    if (m_loading || !hasAccess())
        return;
    QStringList accounts;
    for (const QString &account : accountFolders()) {
        const QString path = cleanPath(account);
        if (QFileInfo(path).isDir())
            accounts << path;
    }
    m_loading = true;
    auto *self = const_cast<IcalFolderStore *>(this);
    Background::run(
        self, [accounts] { return readItemFiles(accounts); },
        [self](const QList<Loaded> &loaded) {
            // What was read here meanwhile is as new or newer; the stamps
            // of the rest are checked again when they are used.
            for (const Loaded &l : loaded) {
                const auto [folder, name] = splitPath(l.path);
                self->m_cache[folder].try_emplace(name, l.entry);
            }
#ifdef __GLIBC__
            // Reading thousands of files left the worker's heap with pages
            // of nothing but freed memory: once what it handed over is gone
            // too, they go back to the system.
            QMetaObject::invokeMethod(self, [] { malloc_trim(0); }, Qt::QueuedConnection);
#endif
            self->m_loading = false;
            emit self->changed();
        });
}

void IcalFolderStore::forget(const QString &itemPath)
{
    const auto [folder, name] = splitPath(itemPath);
    if (const auto files = m_cache.find(folder); files != m_cache.end())
        files->second.erase(name);
    m_folders.erase(QFileInfo(itemPath).absolutePath());
}

const IcalFolderStore::Account &IcalFolderStore::account(const QString &path) const
{
    const Stamp stamp = stampOf(path);
    const Stamp nameStamp = stampOf(path + QStringLiteral("/displayname"));
    auto it = m_accounts.find(path);
    if (it != m_accounts.end() && it->second.stamp == stamp && it->second.nameStamp == nameStamp
        && !racy(stamp, it->second.readAtMs) && !racy(nameStamp, it->second.readAtMs))
        return it->second;
    Account a;
    a.stamp = stamp;
    a.nameStamp = nameStamp;
    a.readAtMs = QDateTime::currentMSecsSinceEpoch();
    a.title = metadata(path, QStringLiteral("displayname"));
    if (a.title.isEmpty())
        a.title = QFileInfo(path).fileName();
    a.subfolders = sortedSubfolders(path);
    return m_accounts[path] = std::move(a);
}

const IcalFolderStore::Folder &IcalFolderStore::folder(const QString &path, const QString &name) const
{
    const Stamp stamp = stampOf(path);
    const Stamp nameStamp = stampOf(path + QStringLiteral("/displayname"));
    const Stamp colorStamp = stampOf(path + QStringLiteral("/color"));
    auto it = m_folders.find(path);
    if (it != m_folders.end()) {
        const Folder &f = it->second;
        if (f.name == name && f.stamp == stamp && f.nameStamp == nameStamp && f.colorStamp == colorStamp
            && !racy(stamp, f.readAtMs) && !racy(nameStamp, f.readAtMs) && !racy(colorStamp, f.readAtMs))
            return f;
    }
    Folder f;
    f.stamp = stamp;
    f.nameStamp = nameStamp;
    f.colorStamp = colorStamp;
    f.readAtMs = QDateTime::currentMSecsSinceEpoch();
    f.name = name;
    f.title = metadata(path, QStringLiteral("displayname"));
    if (f.title.isEmpty())
        f.title = name;
    f.color = colorFrom(metadata(path, QStringLiteral("color")));
    const QFileInfo folderInfo(path);
    f.writable = folderInfo.isWritable() && folderInfo.isExecutable();
    const QStringList paths = itemFiles(path);
    f.files.reserve(paths.size());
    f.docs.reserve(paths.size());
    bool hasTodo = false;
    bool hasItem = false;
    f.plain.reserve(paths.size());
    const CachedFiles *known = nullptr;
    for (const QString &file : paths) {
        const Cached *entry = cached(file);
        std::shared_ptr<const IcalDocument> doc = entry ? entry->doc : nullptr;
        // The list shares its names with the cache's.
        if (!known)
            if (const auto files = m_cache.find(path); files != m_cache.end())
                known = &files->second;
        const QString name = splitPath(file).second;
        const auto cachedName = known ? known->find(name) : CachedFiles::const_iterator();
        f.files.append(known && cachedName != known->end() ? cachedName->first : name);
        if (entry && entry->plain) {
            hasItem = true;
            f.plain.append({true, entry->spanFirst, entry->spanLast});
        } else {
            if (doc && !doc->uids().isEmpty()) {
                hasItem = true;
                hasTodo = hasTodo || doc->isTodoFile();
            }
            f.plain.append(Folder::Plain{});
        }
        f.docs.append(std::move(doc));
    }
    f.isList = hasTodo || (!hasItem && (namesAList(f.title) || namesAList(name)));
    return m_folders[path] = std::move(f);
}

void IcalFolderStore::indexFolder(Folder &f)
{
    f.byFirstDay.clear();
    f.longestDays = 0;
    f.always.clear();
    for (int i = 0; i < f.docs.size(); ++i) {
        const std::shared_ptr<const IcalDocument> &doc = f.docs[i];
        const Folder::Plain &plain = f.plain[i];
        if (!doc && !plain.is)
            continue;
        const std::optional<std::pair<qint64, qint64>> span =
            plain.is ? std::optional(std::pair(plain.first, plain.last)) : doc->eventSpan();
        if (!span) {
            f.always.append(i);
            continue;
        }
        if (span->first > span->second)
            continue; // no event to occur
        // A range finds the file when the two touch; a day either side
        // spares any doubt at the edges.
        const qint64 first = dayNumber(span->first) - 1;
        const qint64 last = dayNumber(span->second) + 1;
        if (last - first > kLongestIndexedDays) {
            f.always.append(i);
            continue;
        }
        f.byFirstDay.append({first, last, i});
        f.longestDays = std::max(f.longestDays, last - first);
    }
    std::stable_sort(f.byFirstDay.begin(), f.byFirstDay.end(),
                     [](const Folder::Days &a, const Folder::Days &b) { return a.first < b.first; });
    f.indexed = true;
}

std::shared_ptr<const IcalDocument> IcalFolderStore::document(const QString &path) const
{
    const Cached *entry = cached(path);
    return entry ? documentOf(path, *entry) : nullptr;
}

std::shared_ptr<const IcalDocument> IcalFolderStore::documentOf(const QString &path, const Cached &entry) const
{
    if (!entry.plain)
        return entry.doc;
    return readAfresh(path);
}

QList<CalendarInfo> IcalFolderStore::allCollections() const
{
    QList<CalendarInfo> out;
    if (!hasAccess())
        return out;
    if (m_deferred && m_writing == 0)
        startLoading();
    if (m_loading && m_writing == 0)
        return out;
    for (const QString &accountFolder : accountFolders()) {
        const QFileInfo accountInfo(accountFolder);
        if (!accountInfo.isDir() || !accountInfo.isReadable())
            continue;
        const QString accountPath = cleanPath(accountFolder);
        const Account &a = account(accountPath);
        for (const QString &name : a.subfolders) {
            const QString path = accountPath + QLatin1Char('/') + name;
            const Folder &f = folder(path, name);
            CalendarInfo info;
            info.id = path;
            info.title = f.title;
            info.color = f.color;
            info.accountTitle = a.title;
            info.accountId = accountPath;
            info.writable = f.writable;
            info.kind = f.isList ? CollectionKind::Reminders : CollectionKind::Events;
            info.supportsFreeAvailability = !f.isList;
            out.append(info);
        }
    }
    return out;
}

QList<CalendarInfo> IcalFolderStore::calendars(CollectionKind kind) const
{
    QList<CalendarInfo> out = allCollections();
    out.erase(std::remove_if(out.begin(), out.end(), [&](const CalendarInfo &c) { return c.kind != kind; }), out.end());
    return out;
}

std::optional<CalendarInfo> IcalFolderStore::calendar(const QString &id) const
{
    for (const CalendarInfo &c : allCollections())
        if (c.id == id)
            return c;
    return std::nullopt;
}

std::optional<CalendarInfo> IcalFolderStore::defaultCalendarForNewEvents() const
{
    for (const CalendarInfo &c : calendars(CollectionKind::Events))
        if (c.writable)
            return c;
    return std::nullopt;
}

bool IcalFolderStore::writableCollection(const QString &id, CollectionKind kind, CalendarInfo *info,
                                         QString *error) const
{
    const std::optional<CalendarInfo> found = calendar(id);
    if (!found || found->kind != kind) {
        setError(error, QStringLiteral("no %1 has the identifier %2")
                            .arg(kind == CollectionKind::Events ? QStringLiteral("calendar") : QStringLiteral("list"), id));
        return false;
    }
    if (!found->writable) {
        setError(error, QStringLiteral("%1 cannot be written").arg(found->title));
        return false;
    }
    *info = *found;
    return true;
}

// ---- items --------------------------------------------------------------------

namespace {
// Marks a write under way for as long as it lasts.
struct Writing
{
    explicit Writing(int &count)
        : m_count(count)
    {
        ++m_count;
    }
    ~Writing() { --m_count; }
    Writing(const Writing &) = delete;
    Writing &operator=(const Writing &) = delete;

private:
    int &m_count;
};
} // namespace

std::optional<IcalFolderStore::Item> IcalFolderStore::findItem(const QString &id, CollectionKind kind) const
{
    if (id.isEmpty())
        return std::nullopt;
    const IcalDocument::Kind docKind = kind == CollectionKind::Events ? IcalDocument::Kind::Event : IcalDocument::Kind::Todo;
    const QList<CalendarInfo> collections = calendars(kind);
    const auto itemIn = [&](const QString &path, const CalendarInfo &c) -> std::optional<Item> {
        const Cached *entry = cached(path);
        if (!entry)
            return std::nullopt;
        // A plain file holds the one event it is named after.
        if (entry->plain && (docKind != IcalDocument::Kind::Event || QFileInfo(path).completeBaseName() != id))
            return std::nullopt;
        std::shared_ptr<const IcalDocument> doc = documentOf(path, *entry);
        if (!doc || doc->kindOf(id) != docKind)
            return std::nullopt;
        return Item{path, c, doc, id, isEditable(path, *doc, id)};
    };
    // Items are normally named after their UID; look there first.
    if (!id.contains(QLatin1Char('/')))
        for (const CalendarInfo &c : collections)
            if (std::optional<Item> item = itemIn(c.id + QLatin1Char('/') + id + kItemSuffix, c))
                return item;
    for (const CalendarInfo &c : collections)
        for (const QString &path : itemFiles(c.id))
            if (std::optional<Item> item = itemIn(path, c))
                return item;
    return std::nullopt;
}

QString IcalFolderStore::newItemPath(const QString &folder, QString *uid) const
{
    QString path;
    do {
        *uid = newUid();
        path = folder + QLatin1Char('/') + *uid + kItemSuffix;
    } while (QFile::exists(path));
    return path;
}

bool IcalFolderStore::write(const QString &path, const IcalDocument &doc, QString *error)
{
    forget(path);
    if (!DataFile::writeAtomically(path, doc.serialize(), false, error))
        return false;
    noteChange();
    return true;
}

QList<CalendarEvent> IcalFolderStore::events(const QDateTime &from, const QDateTime &to,
                                             const QStringList &calendarIds) const
{
    return eventsReading(from, to, calendarIds)();
}

CalendarStore::EventsReading IcalFolderStore::eventsReading(const QDateTime &from, const QDateTime &to,
                                                            const QStringList &calendarIds) const
{
    // The documents that may hold an occurrence in the range, with their
    // calendar, gathered here; they are expanded when the reading is called.
    struct Part
    {
        std::shared_ptr<const IcalDocument> doc;
        QString path;
        QString calendarId;
        QString calendarTitle;
        QColor calendarColor;
    };
    QList<Part> parts;
    if (!from.isValid() || !to.isValid() || from >= to)
        return [] { return QList<CalendarEvent>(); };
    const qint64 firstDay = dayNumber(from.toMSecsSinceEpoch());
    const qint64 lastDay = dayNumber(to.toMSecsSinceEpoch());
    QList<int> chosen;
    for (const CalendarInfo &c : calendars(CollectionKind::Events)) {
        if (!calendarIds.isEmpty() && !calendarIds.contains(c.id))
            continue;
        auto found = m_folders.find(c.id);
        if (found == m_folders.end())
            continue;
        Folder &f = found->second;
        if (!f.indexed)
            indexFolder(f);
        // The files that may hold an occurrence in the range, in folder order.
        chosen = f.always;
        if (lastDay - firstDay > kLongestIndexedDays) {
            chosen.clear();
            for (int i = 0; i < f.docs.size(); ++i)
                chosen.append(i);
        } else {
            const auto earliest = std::lower_bound(
                f.byFirstDay.cbegin(), f.byFirstDay.cend(), firstDay - f.longestDays,
                [](const Folder::Days &days, qint64 day) { return days.first < day; });
            for (auto it = earliest; it != f.byFirstDay.cend() && it->first <= lastDay; ++it)
                if (it->last >= firstDay)
                    chosen.append(it->file);
            std::sort(chosen.begin(), chosen.end());
            chosen.erase(std::unique(chosen.begin(), chosen.end()), chosen.end());
        }
        for (int i : std::as_const(chosen))
            if (f.docs[i] || f.plain[i].is)
                parts.append({f.docs[i], c.id + QLatin1Char('/') + f.files[i], c.id, c.title, c.color});
    }
    return [parts, from, to] {
        const qint64 days = IcalDocument::daysOf(from, to);
        IcalDocument::ReadShare share{qsizetype(kMostPerReadPerDay * days), kReadStepsPerDay * days};
        QList<CalendarEvent> out;
        for (const Part &part : parts) {
            if (share.occurrences <= 0 || share.steps <= 0)
                break;
            // A file kept plain or for the index alone is read again, as it
            // is now; one that no longer reads gives nothing (the change
            // report that follows brings the rest).
            std::unique_ptr<IcalDocument> again;
            if (!part.doc || !part.doc->keepsEvents()) {
                const DataFile::ReadResult read = DataFile::read(part.path);
                if (read.status == DataFile::ReadStatus::Ok)
                    again = IcalDocument::parseForReading(read.bytes);
                if (!again)
                    continue;
            }
            const IcalDocument &doc = again ? *again : *part.doc;
            for (CalendarEvent &e : doc.occurrences(from, to, &share)) {
                e.calendarId = part.calendarId;
                e.calendarTitle = part.calendarTitle;
                e.calendarColor = part.calendarColor;
                out.append(std::move(e));
            }
        }
        sortByStart(out);
        return out;
    };
}

std::optional<CalendarEvent> IcalFolderStore::event(const QString &id) const
{
    if (!hasAccess())
        return std::nullopt;
    const std::optional<Item> item = findItem(id, CollectionKind::Events);
    if (!item)
        return std::nullopt;
    // The kept documents are read only: the event as written comes from a
    // fresh reading of its file.
    const std::unique_ptr<IcalDocument> doc = readAfresh(item->path);
    std::optional<CalendarEvent> e = doc ? doc->firstEvent(id) : std::nullopt;
    if (e) {
        e->calendarId = item->collection.id;
        e->calendarTitle = item->collection.title;
        e->calendarColor = item->collection.color;
    }
    return e;
}

std::optional<QString> IcalFolderStore::createItem(const QString &collectionId, CollectionKind kind,
                                                   const Apply &apply, QString *error)
{
    CalendarInfo target;
    if (!writableCollection(collectionId, kind, &target, error))
        return std::nullopt;
    const QDateTime now = Clock::current().now();
    QString uid;
    const QString path = newItemPath(target.id, &uid);
    const std::unique_ptr<IcalDocument> doc = IcalDocument::create(
        kind == CollectionKind::Events ? IcalDocument::Kind::Event : IcalDocument::Kind::Todo, uid, now);
    if (!doc) {
        setError(error, QStringLiteral("calendar files cannot be made here (no calendar module)"));
        return std::nullopt;
    }
    apply(*doc, uid, now);
    if (!write(path, *doc, error))
        return std::nullopt;
    return uid;
}

bool IcalFolderStore::editItem(const Item &item, const Apply &apply, QString *error)
{
    if (!item.collection.writable) {
        setError(error, QStringLiteral("%1 cannot be written").arg(item.collection.title));
        return false;
    }
    if (!item.editable) {
        setError(error, QStringLiteral("%1 holds this item together with others and is only read")
                            .arg(QFileInfo(item.path).fileName()));
        return false;
    }
    // Edit a fresh parse, so a failed write leaves nothing half-changed here.
    const std::unique_ptr<IcalDocument> doc = readAfresh(item.path);
    if (!doc) {
        setError(error, QStringLiteral("cannot read %1").arg(item.path));
        return false;
    }
    apply(*doc, item.uid, Clock::current().now());
    return write(item.path, *doc, error);
}

std::optional<IcalFolderStore::Item> IcalFolderStore::itemForWrite(const QString &id, CollectionKind kind,
                                                                   QString *error) const
{
    if (!hasAccess()) {
        setError(error, QStringLiteral("no access to calendars and reminders"));
        return std::nullopt;
    }
    std::optional<Item> item = findItem(id, kind);
    if (!item)
        setError(error, QStringLiteral("no %1 has the identifier %2")
                            .arg(kind == CollectionKind::Events ? QStringLiteral("event") : QStringLiteral("reminder"), id));
    return item;
}

std::optional<QString> IcalFolderStore::saveEvent(const CalendarEvent &event, QString *error)
{
    const Writing writing(m_writing);
    if (!event.start.isValid() || !event.end.isValid() || event.end < event.start) {
        setError(error, QStringLiteral("the event has no valid time"));
        return std::nullopt;
    }
    const auto apply = [&](IcalDocument &doc, const QString &uid, const QDateTime &now) {
        doc.applyEvent(uid, event, now);
    };
    if (event.id.isEmpty()) {
        if (!hasAccess()) {
            setError(error, QStringLiteral("no access to calendars and reminders"));
            return std::nullopt;
        }
        return createItem(event.calendarId, CollectionKind::Events, apply, error);
    }
    const std::optional<Item> item = itemForWrite(event.id, CollectionKind::Events, error);
    if (!item || !editItem(*item, apply, error))
        return std::nullopt;
    return event.id;
}

bool IcalFolderStore::removeEvent(const QString &id, const QDateTime &occurrenceDate, QString *error)
{
    const Writing writing(m_writing);
    const std::optional<Item> item = itemForWrite(id, CollectionKind::Events, error);
    if (!item)
        return false;
    if (occurrenceDate.isValid() && item->doc->isRecurring(id))
        return editItem(
            *item,
            [&](IcalDocument &doc, const QString &uid, const QDateTime &now) { doc.removeOccurrence(uid, occurrenceDate, now); },
            error);
    // Of a file that holds other items too, only this item goes.
    if (item->doc->uids().size() > 1)
        return editItem(*item, [](IcalDocument &doc, const QString &uid, const QDateTime &) { doc.removeItem(uid); }, error);
    if (!item->collection.writable) {
        setError(error, QStringLiteral("%1 cannot be written").arg(item->collection.title));
        return false;
    }
    if (!item->editable) {
        setError(error, QStringLiteral("%1 is only read").arg(QFileInfo(item->path).fileName()));
        return false;
    }
    forget(item->path);
    QFile file(item->path);
    if (!file.remove()) {
        setError(error, file.errorString());
        return false;
    }
    noteChange();
    return true;
}

QList<Reminder> IcalFolderStore::incompleteReminders(const QStringList &listIds) const
{
    QList<Reminder> out;
    for (const CalendarInfo &c : calendars(CollectionKind::Reminders)) {
        if (!listIds.isEmpty() && !listIds.contains(c.id))
            continue;
        const auto found = m_folders.find(c.id);
        if (found == m_folders.end())
            continue;
        for (const std::shared_ptr<const IcalDocument> &doc : std::as_const(found->second.docs)) {
            if (!doc)
                continue;
            for (Reminder &r : doc->reminders()) {
                if (r.completed || doc->isCancelled(r.id))
                    continue;
                r.listId = c.id;
                r.listTitle = c.title;
                out.append(r);
            }
        }
    }
    return out;
}

std::optional<Reminder> IcalFolderStore::reminder(const QString &id) const
{
    if (!hasAccess())
        return std::nullopt;
    const std::optional<Item> item = findItem(id, CollectionKind::Reminders);
    if (!item)
        return std::nullopt;
    std::optional<Reminder> r = item->doc->reminder(id);
    if (r) {
        r->listId = item->collection.id;
        r->listTitle = item->collection.title;
    }
    return r;
}

std::optional<QString> IcalFolderStore::saveReminder(const Reminder &reminder, QString *error)
{
    const Writing writing(m_writing);
    const auto apply = [&](IcalDocument &doc, const QString &uid, const QDateTime &now) {
        doc.applyReminder(uid, reminder, now);
    };
    if (reminder.id.isEmpty()) {
        if (!hasAccess()) {
            setError(error, QStringLiteral("no access to calendars and reminders"));
            return std::nullopt;
        }
        return createItem(reminder.listId, CollectionKind::Reminders, apply, error);
    }
    const std::optional<Item> item = itemForWrite(reminder.id, CollectionKind::Reminders, error);
    if (!item || !editItem(*item, apply, error))
        return std::nullopt;
    return reminder.id;
}

QList<UnreadableItem> IcalFolderStore::unreadableItems() const
{
    QList<UnreadableItem> out;
    for (const CalendarInfo &c : allCollections()) {
        for (const QString &path : itemFiles(c.id)) {
            const Cached *entry = cached(path);
            if (!entry)
                continue;
            if (entry->plain)
                continue;
            if (!entry->opened) {
                out.append({path, c.title, {}, UnreadableItem::Reason::CannotOpen});
            } else if (!entry->doc) {
                out.append({path, c.title, {}, UnreadableItem::Reason::NotCalendar});
            } else {
                for (const QString &title : entry->doc->unidentified())
                    out.append({path, c.title, title, UnreadableItem::Reason::NoUid});
            }
        }
    }
    return out;
}

// ---- change reports ---------------------------------------------------------------

void IcalFolderStore::rewatch()
{
    QSet<QString> wanted;
    for (const QString &account : accountFolders()) {
        const QString path = cleanPath(account);
        if (!QFileInfo(path).isDir())
            continue;
        wanted.insert(path);
        for (const QString &name : sortedSubfolders(path))
            wanted.insert(path + QLatin1Char('/') + name);
    }
    const QStringList watched = m_watcher.directories();
    QStringList gone;
    for (const QString &path : watched)
        if (!wanted.contains(path))
            gone.append(path);
    if (!gone.isEmpty())
        m_watcher.removePaths(gone);
    QStringList added;
    for (const QString &path : std::as_const(wanted))
        if (!watched.contains(path))
            added.append(path);
    if (!added.isEmpty())
        m_watcher.addPaths(added);
}

void IcalFolderStore::noteChange()
{
    m_changeTimer.start();
}
