#include "sync/Archive.h"

#include "core/KivJSON.h"
#include "core/L.h"
#include "platform/time/Clock.h"
#include "stores/DayNoteStore.h"
#include "stores/LocalTaskStore.h"
#include "stores/SessionStore.h"
#include "sync/SyncMerge.h"

#include <QFile>
#include <QHash>
#include <QLocale>
#include <algorithm>

namespace Archive {

namespace {

SyncBundle exportFrame()
{
    SyncBundle b;
    b.device = SyncBundle::deviceName();
    b.savedAt = Clock::current().now();
    return b;
}

// One table of codes for all three lists, so a title keeps its code.
class Codes
{
public:
    QString code(const QString &title)
    {
        // QString::trimmed drops every Unicode space, U+3000 included.
        const QString key = title.trimmed();
        if (key.isEmpty())
            return QStringLiteral("題目なし");
        auto it = m_numbers.constFind(key);
        const int number = it != m_numbers.constEnd() ? *it : int(m_numbers.size()) + 1;
        if (it == m_numbers.constEnd())
            m_numbers.insert(key, number);
        return QStringLiteral("題目") + QString::number(number);
    }

private:
    QHash<QString, int> m_numbers;
};

} // namespace

SyncBundle bundle(const SessionStore &sessions, const LocalTaskStore &tasks, const DayNoteStore &days)
{
    SyncBundle b = exportFrame();
    b.records = sessions.allRecords();
    b.tasks = tasks.allTasks();
    b.days = days.allNotes();
    return b;
}

SyncBundle anonymous(const SessionStore &sessions, const LocalTaskStore &tasks, const DayNoteStore &days)
{
    Codes codes;
    SyncBundle b = exportFrame();
    b.device = hiddenDevice;

    b.records = sessions.allRecords();
    std::stable_sort(b.records.begin(), b.records.end(),
                     [](const SessionRecord &x, const SessionRecord &y) { return x.start < y.start; });
    for (SessionRecord &r : b.records) {
        switch (r.phase) {
        case Phase::focus:
            r.title = codes.code(r.title);
            break;
        case Phase::shortBreak:
            r.title = QStringLiteral("経行");
            break;
        case Phase::longBreak:
            r.title = QStringLiteral("茶礼");
            break;
        }
        r.calendarEventID.reset();
    }

    b.tasks = tasks.allTasks();
    std::stable_sort(b.tasks.begin(), b.tasks.end(),
                     [](const LocalTask &x, const LocalTask &y) { return x.createdAt < y.createdAt; });
    for (LocalTask &t : b.tasks) {
        t.title = codes.code(t.title);
        t.notes.reset();
        t.origin.reset();
    }

    b.days = days.allNotes();
    for (DayNote &n : b.days) {
        n.intention.clear();
        n.reflection.clear();
        n.guide.reset();
        for (DayPlan &p : n.plans) {
            p.title = codes.code(p.title);
            p.eventID.reset();
        }
    }
    return b;
}

std::optional<QByteArray> data(const SessionStore &sessions, const LocalTaskStore &tasks, const DayNoteStore &days,
                               bool hidingTitles, QString *error)
{
    const SyncBundle b = hidingTitles ? anonymous(sessions, tasks, days) : bundle(sessions, tasks, days);
    return b.encode(error);
}

QString fileName(const QDateTime &at, bool hidingTitles)
{
    const QString stamp = QLocale::c().toString(at.toLocalTime(), QStringLiteral("yyyy-MM-dd-HHmm"));
    return (hidingTitles ? QStringLiteral("Ondrevel-題目なし-") : QStringLiteral("Ondrevel-")) + stamp +
           QStringLiteral(".json");
}

std::optional<Restored> restore(const QByteArray &bytes, SessionStore &sessions, LocalTaskStore &tasks,
                                DayNoteStore &days, QString *error)
{
    // A newer format is refused before anything of it is decoded, as the sync does.
    if (const std::optional<QJsonObject> top = SyncBundle::topLevel(bytes);
        top && SyncBundle::isNewerFormat(*top)) {
        if (error)
            *error = SyncBundle::newerFormatRefusal();
        return std::nullopt;
    }
    SyncBundle file;
    try {
        file = SyncBundle::decode(bytes);
    } catch (const KivJSON::DecodeError &e) {
        if (error)
            *error = L("読み戻せませんでした: {0}", e.message());
        return std::nullopt;
    }
    // Its titles are codes; merged in, they would replace the real ones.
    if (file.device == hiddenDevice) {
        if (error)
            *error = L("伏せ字で書き出したファイルは読み込めません。タイトルが失われます。");
        return std::nullopt;
    }

    const QList<SessionRecord> records = SyncMerge::mergeRecords(sessions.allRecords(), file.records);
    const QList<LocalTask> merged = SyncMerge::mergeTasks(tasks.allTasks(), file.tasks);
    const QList<DayNote> notes = SyncMerge::mergeDays(days.allNotes(), file.days);

    sessions.setAllRecords(records);
    sessions.save();
    tasks.setAllTasks(merged);
    tasks.save();
    days.replaceAll(notes);
    return Restored{int(sessions.records().size()), int(tasks.tasks().size()), int(days.notes().size())};
}

std::optional<Restored> restoreFile(const QString &path, SessionStore &sessions, LocalTaskStore &tasks,
                                    DayNoteStore &days, QString *error)
{
    auto refuse = [error](const QString &reason) -> std::optional<Restored> {
        if (error)
            *error = reason;
        return std::nullopt;
    };
    const QString tooLarge = L("{0} MB より大きいファイルは読み戻せません。", maxImportBytes / (1024 * 1024));
    QFile file(path);
    if (file.size() > maxImportBytes)
        return refuse(tooLarge);
    if (!file.open(QIODevice::ReadOnly))
        return refuse(L("読み戻せませんでした: {0}", file.errorString()));
    // Never more than the limit in memory, also when the file grows meanwhile.
    const QByteArray bytes = file.read(maxImportBytes + 1);
    if (bytes.size() > maxImportBytes)
        return refuse(tooLarge);
    if (file.error() != QFileDevice::NoError)
        return refuse(L("読み戻せませんでした: {0}", file.errorString()));
    return restore(bytes, sessions, tasks, days, error);
}

QString summary(const Restored &restored)
{
    return L("記録 {0} 件・作務と行持 {1} 件・一日 {2} 件になりました。", restored.records, restored.tasks,
             restored.days);
}

} // namespace Archive
