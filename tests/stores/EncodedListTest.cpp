// The cached file text must always equal a full encoding of the list.
#include "stores/EncodedList.h"
#include "stores/LocalTask.h"

#include <gtest/gtest.h>

namespace {

TEST(EncodedList, MatchesAFullEncodingThroughEveryKindOfChange)
{
    EncodedList<LocalTask> cache;
    QList<LocalTask> tasks;
    auto check = [&](const char *step) {
        SCOPED_TRACE(step);
        EXPECT_EQ(cache.document(tasks), KivJSON::encode(KivJSON::encodeList(tasks)));
    };
    check("empty");
    LocalTask a = LocalTask::create(QStringLiteral("a \"quoted\" / slashed"));
    a.createdAt = a.updatedAt = QDateTime(QDate(2025, 3, 4), QTime(9, 0));
    tasks << a;
    check("one");
    LocalTask b = a, c = a;
    b.id = QUuid::createUuid();
    b.title = QStringLiteral("作務\n二行");
    c.id = QUuid::createUuid();
    c.origin = TaskRef{"reminders", "R", std::nullopt};
    tasks << b << c;
    check("appended");
    tasks[1].deletedAt = QDateTime(QDate(2025, 3, 5), QTime(9, 0));
    check("middle changed");
    tasks.removeFirst();
    check("shifted");
    tasks.clear();
    check("emptied");
}

} // namespace
