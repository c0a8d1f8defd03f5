#include "sources/TodoOrder.h"

#include <gtest/gtest.h>

namespace {

const QTimeZone berlin("Europe/Berlin");

QDateTime local(int month, int day, int hour, int minute = 0, int second = 0)
{
    return QDateTime(QDate(2025, month, day), QTime(hour, minute, second), berlin);
}

TodoItem item(const QString &title, std::optional<QDateTime> due = std::nullopt,
              std::optional<QDateTime> createdAt = std::nullopt, std::optional<double> order = std::nullopt)
{
    TodoItem i;
    i.ref = TaskRef{"local", title, std::nullopt};
    i.title = title;
    i.due = due;
    i.createdAt = createdAt;
    i.order = order;
    return i;
}

} // namespace

TEST(TodoOrder, RanksAroundMidnightAndAcrossAShortDay)
{
    struct Case
    {
        const char *what;
        QDateTime now;
        std::optional<QDateTime> due;
        int rank;
    };
    const Case cases[] = {
        {"due a minute before today began", local(3, 4, 0, 0, 30), local(3, 3, 23, 59), 0},
        {"due at today's midnight", local(3, 4, 0, 0, 30), local(3, 4, 0, 0), 1},
        {"due earlier today is not overdue", local(3, 4, 18), local(3, 4, 9), 1},
        {"due at the last minute of today", local(3, 4, 0, 0, 30), local(3, 4, 23, 59), 1},
        {"due at tomorrow's midnight", local(3, 4, 23, 59, 30), local(3, 5, 0, 0), 2},
        {"due next week", local(3, 4, 9), local(3, 11, 9), 2},
        {"undated", local(3, 4, 9), std::nullopt, 3},
        // 30 March 2025 has 23 hours in Berlin.
        {"due at the start of a short day, late that day", local(3, 30, 23, 30), local(3, 30, 0, 0), 1},
        {"due the evening before a short day", local(3, 30, 0, 30), local(3, 29, 23, 0), 0},
        {"due the day after a short day", local(3, 30, 23, 30), local(3, 31, 0, 0), 2},
    };
    for (const Case &c : cases)
        EXPECT_EQ(TodoOrder::rank(item("t", c.due), c.now, berlin), c.rank) << c.what;
}

TEST(TodoOrder, KeysDecideInTheirOrder)
{
    const QDateTime now = local(3, 4, 9);
    const QDateTime d1 = local(3, 1, 8);
    const QDateTime d2 = local(3, 2, 8);
    struct Case
    {
        const char *what;
        TodoItem first;
        TodoItem second;
    };
    const Case cases[] = {
        {"overdue before today", item("z", local(3, 3, 9)), item("a", local(3, 4, 8))},
        {"the earlier day among later ones", item("z", local(3, 6, 23), d2), item("a", local(3, 7, 1), d1)},
        {"same day: creation, not the time of day", item("z", local(3, 6, 18), d1), item("a", local(3, 6, 8), d2)},
        {"manual order does not count when dated", item("z", local(3, 6, 9), d1, 5), item("a", local(3, 6, 9), d2, 1)},
        {"undated: the smaller manual order", item("z", std::nullopt, d2, 1), item("a", std::nullopt, d1, 2)},
        {"undated: placed before unplaced", item("z", std::nullopt, d2, 9), item("a", std::nullopt, d1)},
        {"undated: equal orders fall to creation", item("z", std::nullopt, d1, 1), item("a", std::nullopt, d2, 1)},
        {"a creation date before none", item("z", std::nullopt, d2), item("a")},
        {"titles by code point", item("Z"), item("a")},
        {"U+FFFD before an emoji (UTF-16 units say otherwise)", item(QString(QChar(0xFFFD))),
         item(QString::fromUtf8("😀"))},
    };
    for (const Case &c : cases) {
        EXPECT_TRUE(TodoOrder::before(c.first, c.second, now, berlin)) << c.what;
        EXPECT_FALSE(TodoOrder::before(c.second, c.first, now, berlin)) << c.what;
    }
    // Equal in every key (composed and decomposed é are the same title).
    const TodoItem composed = item(QString::fromUtf8("caf\u00e9"), local(3, 6, 9), d1);
    const TodoItem decomposed = item(QString::fromUtf8("cafe\u0301"), local(3, 6, 20), d1);
    EXPECT_FALSE(TodoOrder::before(composed, decomposed, now, berlin));
    EXPECT_FALSE(TodoOrder::before(decomposed, composed, now, berlin));
}

// Rows where a "go on" rule for a missing creation date would form a cycle
// (a before c by date, c before b by title, b before a by title), plus every
// mix of the other keys: the comparison must be a strict weak ordering.
TEST(TodoOrder, IsAStrictWeakOrdering)
{
    const QDateTime now = local(3, 4, 9);
    const QList<TodoItem> rows = {
        item("c", std::nullopt, local(3, 1, 8)),
        item("b"),
        item("a", std::nullopt, local(3, 2, 8)),
        item("a"),
        item("b", std::nullopt, std::nullopt, 1),
        item("a", std::nullopt, local(3, 2, 8), 1),
        item("c", std::nullopt, std::nullopt, 0),
        item("x", local(3, 6, 9)),
        item("y", local(3, 6, 18), local(3, 1, 8)),
        item("a", local(3, 6, 7)),
        item("z", local(3, 4, 8)),
        item("q", local(3, 1, 8), local(3, 3, 8), 4),
        item("r", local(3, 1, 20)),
    };
    auto less = [&](const TodoItem &a, const TodoItem &b) { return TodoOrder::before(a, b, now, berlin); };
    auto tied = [&](const TodoItem &a, const TodoItem &b) { return !less(a, b) && !less(b, a); };
    for (const TodoItem &a : rows) {
        EXPECT_FALSE(less(a, a));
        for (const TodoItem &b : rows) {
            EXPECT_FALSE(less(a, b) && less(b, a)) << a.title.toStdString() << " " << b.title.toStdString();
            for (const TodoItem &c : rows) {
                const std::string names = a.title.toStdString() + b.title.toStdString() + c.title.toStdString();
                if (less(a, b) && less(b, c)) {
                    EXPECT_TRUE(less(a, c)) << names;
                }
                if (tied(a, b) && tied(b, c)) {
                    EXPECT_TRUE(tied(a, c)) << names;
                }
            }
        }
    }

    const QList<TodoItem> sorted = TodoOrder::sorted(rows, now, berlin);
    ASSERT_EQ(sorted.size(), rows.size());
    for (qsizetype i = 1; i < sorted.size(); ++i)
        EXPECT_FALSE(less(sorted[i], sorted[i - 1])) << i;
    QStringList undated;
    for (const TodoItem &row : sorted) {
        if (!row.due)
            undated.append(row.title + (row.createdAt ? "+" : ""));
    }
    EXPECT_EQ(undated, (QStringList{"c", "a+", "b", "c+", "a+", "a", "b"}));
}

TEST(TodoOrder, RanksOutsideTheThreeDatedGroupsShareTheUndatedHeading)
{
    EXPECT_EQ(TodoOrder::groupTitle(7), TodoOrder::groupTitle(3));
    EXPECT_EQ(TodoOrder::groupTitle(-1), TodoOrder::groupTitle(3));
    const QStringList titles{TodoOrder::groupTitle(0), TodoOrder::groupTitle(1), TodoOrder::groupTitle(2),
                             TodoOrder::groupTitle(3)};
    EXPECT_EQ(QSet<QString>(titles.begin(), titles.end()).size(), 4);
}
