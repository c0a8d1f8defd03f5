#pragma once

#include "platform/calendar/CalendarStore.h"
#include "platform/time/Clock.h"

#include <QColor>
#include <QDateTime>
#include <QFileSystemWatcher>
#include <functional>
#include <memory>
#include <unordered_map>

class IcalDocument;
class Preferences;

// Calendars and reminder lists kept as iCalendar files in vdir folders (the
// layout calendar sync tools write): each account folder holds one folder per
// collection, named by its optional "displayname" file and coloured by its
// optional "color" file; each item is one "<UID>.ics" file. A collection that
// holds to-dos, or that is empty and named as a list, is a reminders list;
// any other is a calendar. Every write is atomic and edits the parsed item in
// place. Changes in the folders (and the program's own writes) are reported
// through changed() after a short quiet time.
//
// A file from elsewhere may hold several items: all are shown, and the one
// the file is named after (else its first) is the one the program edits; the
// others are read only. Files and items that cannot be read are left alone
// and listed by unreadableItems().
class IcalFolderStore : public CalendarStore
{
    Q_OBJECT
public:
    // The device-local preference that lists the account folders.
    static QString accountsKey() { return QStringLiteral("calendarAccountFolders"); }
    // The default account: <data folder>/calendars.
    static QString defaultAccountFolder();
    // Quiet time before changes in the folders are reported.
    static constexpr qint64 kChangeDelayMs = 500;

    // The account list is read from preferences; without them, from the
    // standard preferences of the moment.
    explicit IcalFolderStore(Preferences *preferences = nullptr, QObject *parent = nullptr);
    ~IcalFolderStore() override;

    CalendarAccess authorization() const override;
    bool requestAccess(QString *error = nullptr) override;
    QStringList accountFolders() const override;
    bool addAccountFolder(const QString &path, QString *error = nullptr) override;

    QList<CalendarInfo> calendars(CollectionKind kind) const override;
    std::optional<CalendarInfo> calendar(const QString &id) const override;
    std::optional<CalendarInfo> defaultCalendarForNewEvents() const override;

    // A reading is bounded as IcalDocument::occurrences() says for each
    // file, and in all, for each day of its range, at kMostPerReadPerDay
    // occurrences over kReadStepsPerDay steps: files after that give none.
    // A reading is made here and does its work when called, on any thread:
    // the documents it reads are never changed once read.
    static constexpr qsizetype kMostPerReadPerDay = 400;
    static constexpr qint64 kReadStepsPerDay = 100000;
    QList<CalendarEvent> events(const QDateTime &from, const QDateTime &to,
                                const QStringList &calendarIds) const override;
    EventsReading eventsReading(const QDateTime &from, const QDateTime &to,
                                const QStringList &calendarIds) const override;
    bool readsWhenCalled() const override { return true; }
    std::optional<CalendarEvent> event(const QString &id) const override;
    std::optional<QString> saveEvent(const CalendarEvent &event, QString *error = nullptr) override;
    bool removeEvent(const QString &id, const QDateTime &occurrenceDate = {}, QString *error = nullptr) override;

    QList<Reminder> incompleteReminders(const QStringList &listIds = {}) const override;
    std::optional<Reminder> reminder(const QString &id) const override;
    std::optional<QString> saveReminder(const Reminder &reminder, QString *error = nullptr) override;

    QList<UnreadableItem> unreadableItems() const override;

    // Reads and parses every item file of the account folders on a worker
    // thread, then keeps what it read and reports changed() on this object's
    // thread. Until then isLoading() is true, and the store reads no file for
    // a question (no collections, events or reminders yet; the change report
    // brings them), so the main thread never reads the files the worker
    // reads. A write meanwhile reads what it needs. Nothing happens without
    // access.
    void loadInBackground() override;
    void loadWhenFirstAsked() override;
    bool isLoading() const override { return m_loading; }
    bool isReadingPutOff() const override { return m_deferred; }
    // How many item files this process has read, in every store: what a
    // program that never looks at a calendar must leave at none.
    static qint64 itemFilesRead();

private:
    using Apply = std::function<void(IcalDocument &, const QString &uid, const QDateTime &now)>;

    // What a stat of a file or folder tells about a change: the modification
    // and status-change times to the nanosecond, the size and the inode. An
    // atomic rewrite (a rename over the old file) changes the inode and the
    // folder's times; a change of permissions changes the status time.
    struct Stamp
    {
        qint64 modifiedNs = -1;
        qint64 changedNs = -1;
        qint64 size = -1;
        quint64 inode = 0;
        bool exists = false;
        bool operator==(const Stamp &) const = default;
    };
    struct Cached
    {
        Stamp stamp;
        qint64 readAtMs = 0; // when the file was read; a stamp close to it may hide a later change
        std::shared_ptr<const IcalDocument> doc; // null when the file cannot be read or parsed, or is plain
        bool opened = false;                     // the file could be read
        // Nearly every file holds one event that does not repeat, under its
        // own UID as its name: such a plain file keeps no document, only the
        // span of its event in ms since the epoch (first after last when it
        // has none to occur). Its event is read from the file when wanted.
        bool plain = false;
        qint64 spanFirst = 0;
        qint64 spanLast = -1;
    };
    // One collection folder as last read: its item files, their documents and
    // an index of the events by day. Trusted while the folder's stamp and
    // those of its metadata files stay the same.
    struct Folder
    {
        Stamp stamp, nameStamp, colorStamp;
        qint64 readAtMs = 0;
        QString name;
        QString title;
        QColor color;
        bool writable = false;
        bool isList = false;
        QStringList files; // the names of its item files, shared with the cache's
        QList<std::shared_ptr<const IcalDocument>> docs; // in the order of files; null where unreadable or plain
        struct Plain
        {
            bool is = false;
            qint64 first = 0;
            qint64 last = -1;
        };
        QList<Plain> plain; // in the order of files
        bool indexed = false;
        // The days (UTC day numbers) each file's events touch, by first day:
        // a range finds the files whose first day lies at most the longest
        // stretch before its end.
        struct Days
        {
            qint64 first = 0;
            qint64 last = 0;
            int file = 0;
        };
        QList<Days> byFirstDay;
        qint64 longestDays = 0;
        QList<int> always; // documents read for every range (repeating, odd)
    };
    struct Account
    {
        Stamp stamp, nameStamp;
        qint64 readAtMs = 0;
        QString title;
        QStringList subfolders;
    };
    struct Item
    {
        QString path;
        CalendarInfo collection;
        std::shared_ptr<const IcalDocument> doc;
        QString uid;
        bool editable = false; // the file's own item, which the program may change
    };

    bool hasAccess() const;
    QList<CalendarInfo> allCollections() const;
    QStringList itemFiles(const QString &folder) const;
    std::shared_ptr<const IcalDocument> document(const QString &path) const;
    // The document of an item file, read whole when the cache keeps it plain.
    std::shared_ptr<const IcalDocument> documentOf(const QString &path, const Cached &entry) const;
    const Cached *cached(const QString &path) const;
    const Cached *cached(const QString &path, const Stamp &stamp) const;
    const Folder &folder(const QString &path, const QString &name) const;
    const Account &account(const QString &path) const;
    static void indexFolder(Folder &f);
    static Stamp stampOf(const QString &path);
    static bool racy(const Stamp &stamp, qint64 readAtMs);
    void forget(const QString &itemPath);
    std::optional<Item> findItem(const QString &id, CollectionKind kind) const;
    bool write(const QString &path, const IcalDocument &doc, QString *error);
    std::optional<Item> itemForWrite(const QString &id, CollectionKind kind, QString *error) const;
    std::optional<QString> createItem(const QString &collectionId, CollectionKind kind, const Apply &apply,
                                      QString *error);
    bool editItem(const Item &item, const Apply &apply, QString *error);
    bool writableCollection(const QString &id, CollectionKind kind, CalendarInfo *info, QString *error) const;
    QString newItemPath(const QString &folder, QString *uid) const;
    struct Loaded
    {
        QString path;
        Cached entry;
    };
    static QList<Loaded> readItemFiles(const QStringList &accounts);
    // A file read and parsed for the cache (on any thread); `warn` names a
    // file that cannot be parsed in the log.
    static Cached readEntry(const QString &path, const Stamp &stamp, bool warn);
    void rewatch();
    void noteChange();

    Preferences &preferences() const;

    Preferences *m_preferences = nullptr;
    QFileSystemWatcher m_watcher;
    ClockTimer m_changeTimer;
    // The item files as last read, by folder and then by name (a heavy
    // user's calendars hold thousands, and their folders' paths are long).
    using CachedFiles = std::unordered_map<QString, Cached>;
    mutable std::unordered_map<QString, CachedFiles> m_cache;
    mutable std::unordered_map<QString, Folder> m_folders;
    mutable std::unordered_map<QString, Account> m_accounts;
    void startLoading() const;

    mutable bool m_loading = false;
    mutable bool m_deferred = false; // loadWhenFirstAsked(): the first question starts the reading
    int m_writing = 0; // writes under way: they read the files even while loading
};
