#include "views/day/DayFixture.h"
#include "views/day/DeedItem.h"

namespace {

struct DayStillHeightTest : DayFixture
{
};

// A still picture of the page, fitted to no less than the page asks for:
// two rounds in one hour keep their whole items (title and meta line).
TEST_F(DayStillHeightTest, StillPageAsksForRoomForWholeItems)
{
    model = &rig->build();
    for (int i = 0; i < 2; ++i) {
        SessionRecord round;
        round.id = QUuid::createUuid();
        round.phase = Phase::focus;
        round.title = QStringLiteral("letter");
        round.start = QDateTime(QDate(2025, 3, 5), QTime(7, 0)).addSecs(i * 1800);
        round.end = round.start.addSecs(25 * 60);
        round.completed = true;
        rig->store.append(round);
    }
    DayView &page = build(380, true);
    page.show();
    settle();
    page.resize(380, std::max(600, page.minimumSizeHint().height()));
    settle();
    const QList<DeedItem *> items = row(7)->findChildren<DeedItem *>();
    ASSERT_EQ(items.size(), 2);
    for (DeedItem *item : items) {
        EXPECT_TRUE(item->isVisible());
        EXPECT_EQ(item->height(), item->sizeHint().height());
    }
}

} // namespace
