#include "ModelRig.h"

#include "model/HistoryModel.h"
#include "stores/SessionStore.h"
#include "support/LanguageFixtures.h"
#include "support/ScopedDirs.h"

#include <QAbstractItemModelTester>
#include <QRandomGenerator>
#include <gtest/gtest.h>
#include <memory>

namespace {

const QTimeZone tokyo("Asia/Tokyo");

QDateTime at(int month, int day, int hour, int minute = 0, int second = 0)
{
    return QDateTime(QDate(2025, month, day), QTime(hour, minute, second), tokyo);
}

SessionRecord rec(const QString &title, const QDateTime &start, qint64 seconds, Phase phase = Phase::focus,
                  bool completed = true)
{
    return SessionRecord{QUuid::createUuid(), phase, title, start, start.addSecs(seconds), completed,
                         std::nullopt, std::nullopt, std::nullopt, std::nullopt, std::nullopt};
}

// One line per row: "== 2025-03-05 3/5" for a day header (focus count and
// minutes), "title 2" for a record (its minutes).
QString line(const QAbstractItemModel &model, int row)
{
    const QModelIndex i = model.index(row, 0);
    if (i.data(HistoryModel::KindRole).value<HistoryModel::RowKind>() == HistoryModel::RowKind::dayHeader)
        return QStringLiteral("== %1 %2/%3")
            .arg(i.data(HistoryModel::DayRole).toDate().toString(Qt::ISODate))
            .arg(i.data(HistoryModel::FocusCountRole).toInt())
            .arg(i.data(HistoryModel::FocusMinutesRole).toInt());
    return QStringLiteral("%1 %2").arg(i.data(HistoryModel::TitleRole).toString()).arg(
        i.data(HistoryModel::MinutesRole).toInt());
}

QStringList rows(const QAbstractItemModel &model)
{
    QStringList out;
    for (int row = 0; row < model.rowCount(); ++row)
        out << line(model, row);
    return out;
}

class HistoryModelTest : public InJapanese
{
protected:
    ScopedDirs dirs;
    SessionStore store{dirs.dataDir()};
};

TEST_F(HistoryModelTest, GroupsByLocalDayNewestFirstWithTotalsRoundedOnTheSum)
{
    // Three 90-second sits: 2 minutes on each row (1.5 rounded away from
    // zero) but 5 for the day (270 s = 4.5 minutes, rounded once).
    store.append(rec("a", at(3, 5, 8, 0), 90));
    store.append(rec("b", at(3, 5, 10, 0), 90));
    store.append(rec("c", at(3, 5, 11, 0), 90));
    // A day of breaks only: counted as 0 and 0, still listed.
    store.append(rec("walk", at(3, 4, 9, 0), 300, Phase::shortBreak));
    store.append(rec("rest", at(3, 4, 10, 0), 900, Phase::longBreak));
    // Crosses midnight: belongs to the day it started on.
    store.append(rec("late", at(3, 3, 23, 50), 1800));
    // The same start as "late": the store's order is kept.
    store.append(rec("late twin", at(3, 3, 23, 50), 60));
    // Tombstoned: never shown.
    SessionRecord gone = rec("gone", at(3, 6, 9, 0), 1500);
    gone.deletedAt = at(3, 6, 10, 0);
    store.append(gone);

    HistoryModel model(store, nullptr, tokyo);
    EXPECT_EQ(rows(model), (QStringList{"== 2025-03-05 3/5", "c 2", "b 2", "a 2",          //
                                        "== 2025-03-04 0/0", "rest 15", "walk 5",         //
                                        "== 2025-03-03 2/31", "late 30", "late twin 1"}));
    EXPECT_EQ(model.data(model.index(0), HistoryModel::TotalsTextRole).toString(), QStringLiteral("3回 ・ 5分"));
    EXPECT_EQ(model.data(model.index(0), HistoryModel::DateTextRole).toString(), QStringLiteral("2025年3月5日"));
    EXPECT_EQ(model.dayCount(), 3);
    EXPECT_EQ(model.headerRow(2), 0);
    EXPECT_EQ(model.headerRow(9), 7);
    EXPECT_EQ(model.kind(7), HistoryModel::RowKind::dayHeader);
    EXPECT_EQ(model.record(1)->title, QStringLiteral("c"));
    EXPECT_FALSE(model.record(0));
    EXPECT_EQ(model.rowOf(gone.id), -1);

    // Days are the zone's: 08:00 in Tokyo is 23:00 the day before in UTC.
    HistoryModel utc(store, nullptr, QTimeZone::utc());
    EXPECT_EQ(rows(utc), (QStringList{"== 2025-03-05 2/3", "c 2", "b 2",                    //
                                      "== 2025-03-04 1/2", "a 2", "rest 15", "walk 5",      //
                                      "== 2025-03-03 2/31", "late 30", "late twin 1"}));
}

TEST_F(HistoryModelTest, RowTextsInJapanese)
{
    store.append(rec("手紙", at(1, 5, 9, 5), 25 * 60, Phase::focus, false));
    store.append(rec("", at(1, 5, 21, 30), 5 * 60, Phase::shortBreak));
    HistoryModel model(store, nullptr, tokyo);
    const QModelIndex breakRow = model.index(1);
    const QModelIndex letGo = model.index(2);
    EXPECT_EQ(breakRow.data(HistoryModel::MarkRole).toString(), QStringLiteral("·"));
    EXPECT_EQ(breakRow.data(HistoryModel::TitleRole).toString(), QString()) << "no placeholder for an empty title";
    EXPECT_EQ(breakRow.data(HistoryModel::TimeRangeRole).toString(), QStringLiteral("21:30 – 21:35"));
    EXPECT_EQ(letGo.data(HistoryModel::MarkRole).toString(), QStringLiteral("◯"));
    EXPECT_EQ(letGo.data(HistoryModel::TimeRangeRole).toString(), QStringLiteral("9:05 – 9:30（手を離した）"));
    EXPECT_EQ(letGo.data(HistoryModel::MinutesTextRole).toString(), QStringLiteral("25分"));
    EXPECT_FALSE(letGo.data(HistoryModel::CompletedRole).toBool());
    EXPECT_EQ(HistoryModel::mark(Phase::longBreak), QStringLiteral("‥"));
}

class HistoryModelInEnglish : public InEnglish
{
protected:
    ScopedDirs dirs;
    SessionStore store{dirs.dataDir()};
};

TEST_F(HistoryModelInEnglish, RowAndHeaderTextsWithTheSingularSit)
{
    store.append(rec("Letters", at(1, 5, 9, 5), 25 * 60, Phase::focus, false));
    for (int i = 0; i < 11; ++i)
        store.append(rec("Draft", at(1, 6, 8, i), 60));
    HistoryModel model(store, nullptr, tokyo);
    const int jan5 = model.rowCount() - 2;
    EXPECT_EQ(model.index(0).data(HistoryModel::DateTextRole).toString(), QStringLiteral("Jan 6, 2025"));
    EXPECT_EQ(model.index(0).data(HistoryModel::TotalsTextRole).toString(), QStringLiteral("11 sits · 11 min"));
    EXPECT_EQ(model.index(jan5).data(HistoryModel::TotalsTextRole).toString(), QStringLiteral("1 sit · 25 min"));
    EXPECT_EQ(model.index(jan5 + 1).data(HistoryModel::TimeRangeRole).toString(),
              QStringLiteral("9:05 AM – 9:30 AM (let go)"));
    EXPECT_EQ(model.index(jan5 + 1).data(HistoryModel::MinutesTextRole).toString(), QStringLiteral("25 min"));
}

TEST(HistoryModelRules, MinutesRoundHalvesAwayFromZero)
{
    const struct
    {
        qint64 msecs;
        int minutes;
    } cases[] = {{0, 0}, {29'999, 0}, {30'000, 1}, {89'999, 1}, {90'000, 2}, {150'000, 3}, {-90'000, -2}};
    for (const auto &c : cases)
        EXPECT_EQ(HistoryModel::roundedMinutes(c.msecs), c.minutes) << c.msecs;
}

TEST(HistoryModelRules, CalendarElementOfARow)
{
    using E = HistoryModel::CalendarElement;
    const struct
    {
        bool hasEvent;
        bool hovering;
        CalendarAccess access;
        E shown;
    } cases[] = {
        {true, false, CalendarAccess::NotDetermined, E::icon},
        {true, true, CalendarAccess::FullAccess, E::icon},
        {false, true, CalendarAccess::FullAccess, E::exportButton},
        {false, false, CalendarAccess::FullAccess, E::none},
        {false, true, CalendarAccess::NotDetermined, E::none},
        {false, true, CalendarAccess::Restricted, E::none},
        {false, true, CalendarAccess::Denied, E::none},
        {false, true, CalendarAccess::WriteOnly, E::none},
    };
    for (const auto &c : cases)
        EXPECT_EQ(HistoryModel::calendarElement(c.hasEvent, c.hovering, c.access), c.shown)
            << c.hasEvent << c.hovering << int(c.access);
}

// A copy of the list kept only from the model's change signals: if the model
// forgets to announce a row or a header's new totals, the copy drifts from a
// list built afresh.
class Mirror
{
public:
    explicit Mirror(const QAbstractItemModel &model)
        : m_model(model)
        , m_rows(rows(model))
    {
        QObject::connect(&model, &QAbstractItemModel::rowsInserted, [this](const QModelIndex &, int first, int last) {
            for (int row = first; row <= last; ++row)
                m_rows.insert(row, line(m_model, row));
        });
        QObject::connect(&model, &QAbstractItemModel::rowsRemoved,
                         [this](const QModelIndex &, int first, int last) { m_rows.remove(first, last - first + 1); });
        QObject::connect(&model, &QAbstractItemModel::dataChanged, [this](const QModelIndex &from, const QModelIndex &to) {
            for (int row = from.row(); row <= to.row(); ++row)
                m_rows[row] = line(m_model, row);
        });
        QObject::connect(&model, &QAbstractItemModel::modelReset, [this] { m_rows = rows(m_model); });
    }
    const QStringList &lines() const { return m_rows; }

private:
    const QAbstractItemModel &m_model;
    QStringList m_rows;
};

TEST_F(HistoryModelTest, FollowsEveryKindOfChangeAsIfBuiltAfresh)
{
    HistoryModel model(store, nullptr, tokyo);
    QAbstractItemModelTester tester(&model);
    Mirror mirror(model);
    QRandomGenerator random(29);
    auto randomStart = [&] {
        // Few days and few minutes, so that days fill and empty and starts tie.
        return at(3, 1 + random.bounded(4), 8 + random.bounded(3) * 8, random.bounded(3) * 20);
    };
    auto randomPhase = [&] { return Phase(random.bounded(3)); };

    for (int step = 0; step < 400; ++step) {
        const QList<SessionRecord> &all = store.allRecords();
        const int op = all.isEmpty() ? 0 : random.bounded(6);
        SCOPED_TRACE(step);
        if (op <= 1) {
            store.append(rec(QStringLiteral("r%1").arg(step), randomStart(), 60 * random.bounded(1, 40), randomPhase()));
        } else if (op == 2) {
            SessionRecord r = all[random.bounded(all.size())];
            r.start = randomStart(); // maybe another day, maybe the same start
            r.end = r.start.addSecs(60 * random.bounded(1, 40));
            store.update(r);
        } else if (op == 3) {
            SessionRecord r = all[random.bounded(all.size())];
            r.title += QLatin1Char('+');
            r.phase = randomPhase();
            r.end = r.end.addSecs(30);
            store.update(r);
        } else if (op == 4) {
            store.deleteRecord(all[random.bounded(all.size())], at(3, 9, 9));
        } else if (random.bounded(8) == 0) {
            // A sync: tombstones revived, order shuffled.
            QList<SessionRecord> replaced = all;
            for (SessionRecord &r : replaced)
                r.deletedAt = std::nullopt;
            std::reverse(replaced.begin(), replaced.end());
            store.setAllRecords(replaced);
        }
        const HistoryModel fresh(store, nullptr, tokyo);
        ASSERT_EQ(rows(model), rows(fresh));
        ASSERT_EQ(mirror.lines(), rows(fresh));
    }
    EXPECT_GT(model.dayCount(), 0);
}

TEST_F(HistoryModelTest, ATimeZoneChangeRegroups)
{
    store.append(rec("morning", at(3, 5, 8, 0), 600));
    HistoryModel model(store, nullptr, tokyo);
    EXPECT_EQ(rows(model).first(), QStringLiteral("== 2025-03-05 1/10"));
    model.setTimeZone(QTimeZone("America/New_York"));
    EXPECT_EQ(rows(model).first(), QStringLiteral("== 2025-03-04 1/10"));
}

// Removing and exporting from a row go through the application model; the
// list follows the store.
class HistoryThroughAppModel : public InEnglish
{
protected:
    ModelRigs::Rig rig;
    AppModel *model = nullptr;
    void SetUp() override
    {
        InEnglish::SetUp();
        model = &rig.build();
    }
};

TEST_F(HistoryThroughAppModel, RemovingLeavesATombstoneAndExportingWritesAnEvent)
{
    const QDateTime nine = ModelRigs::at(4, 9);
    SessionRecord kept = rec("Kept", nine, 1500);
    SessionRecord alone = rec("Alone", nine.addDays(-1), 1500);
    rig.store.append(kept);
    rig.store.append(alone);
    HistoryModel history(rig.store);
    ASSERT_EQ(rows(history), (QStringList{"== 2025-03-04 1/25", "Kept 25", "== 2025-03-03 1/25", "Alone 25"}));

    // Export from the row: the event is written, the row shows its icon.
    model->exportToCalendar(*history.record(1));
    ASSERT_EQ(rig.calendars.storedEvents().size(), 1);
    EXPECT_TRUE(history.index(1).data(HistoryModel::HasCalendarEventRole).toBool());
    EXPECT_EQ(rig.store.records().first().calendarEventID, rig.calendars.storedEvents().first().id);

    // Removing it takes the event away and keeps the record as a tombstone.
    model->removeDeed(history.index(1).data(HistoryModel::RecordIDRole).toUuid());
    EXPECT_TRUE(rig.calendars.storedEvents().isEmpty());
    EXPECT_EQ(rows(history), (QStringList{"== 2025-03-03 1/25", "Alone 25"}));
    ASSERT_EQ(rig.store.allRecords().size(), 2);
    EXPECT_TRUE(rig.store.allRecords().first().deletedAt);

    // The last record of all: the window shows its empty state.
    model->removeDeed(alone.id);
    EXPECT_TRUE(history.isEmpty());
    EXPECT_EQ(history.rowCount(), 0);
    EXPECT_EQ(HistoryModel::emptyTitle(), QStringLiteral("No history yet"));
}

} // namespace
