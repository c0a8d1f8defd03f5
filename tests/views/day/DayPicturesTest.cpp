// Still pictures of the day page with events, plans and deeds, and of its
// sheets, in Japanese and English, light and dark, at text scale 1.0 and
// 1.6, narrow and wide, written to <build>/snapshots/day for looking at.
#include "DayFixture.h"

#include "stores/DayNoteStore.h"
#include "views/day/DeedEditor.h"
#include "views/day/PlacePicker.h"
#include "views/day/PlanEditor.h"
#include "views/ink/StillPicture.h"
#include "views/ink/ThemeBinding.h"

namespace {

const QString kFolder = QStringLiteral(QUILLMERE_BUILD_DIR "/snapshots/day");

struct DayPicturesTest : DayFixture
{
    void fill()
    {
        const QDate d(2025, 3, 5);
        addEvent(QStringLiteral("歯医者"), QDateTime(d, QTime(9, 10)), 40);
        addEvent(QStringLiteral("打ち合わせ"), QDateTime(d, QTime(11, 30)), 60);
        CalendarEvent allDay;
        allDay.calendarId = QStringLiteral("rounds");
        allDay.title = QStringLiteral("母の誕生日");
        allDay.allDay = true;
        allDay.start = QDateTime(d, QTime(0, 0));
        allDay.end = QDateTime(d.addDays(1), QTime(0, 0));
        rig->calendars.addEvent(allDay);
        const QDateTime day(d, QTime(12, 0));
        model = &rig->build();
        const LocalTask letters = *rig->local.add(QStringLiteral("手紙を書く"));
        const LocalTask shelf = *rig->local.add(QStringLiteral("本棚を整える"));
        DayPlan plan;
        plan.taskID = letters.id;
        plan.title = letters.title;
        plan.startMinutes = 15 * 60;
        plan.minutes = 45;
        model->placePlan(plan, day);
        model->placeOnDay(shelf, day);
        model->writeDeed(QStringLiteral("散歩"), 7 * 60 + 30, 30, day);
        model->writeDeed(QStringLiteral("坐る"), 13 * 60, 25, day);
        rig->days.setIntention(QStringLiteral("ひとつずつ、丁寧に"), day);
    }
};

TEST_F(DayPicturesTest, Pictures)
{
    fill();
    using A = Kiv::Appearance;
    for (A appearance : {A::light, A::dark})
        for (double scale : {1.0, 1.6})
            for (bool japanese : {true, false}) {
                const StillPicture::Setting setting{appearance, scale, japanese, 1.0};
                StillPicture::Applied applied(setting);
                for (int width : {440, 600}) {
                    ViewContext context;
                    context.model = model;
                    context.snapshot = true;
                    DayView still(context);
                    ThemeBinding::applyTo(&still);
                    still.resize(width, 800);
                    still.show();
                    settle();
                    still.resize(width, still.sizeHint().height());
                    settle();
                    EXPECT_GE(still.line()->row(23)->geometry().bottom(), 0);
                    const QImage image = StillPicture::grab(&still, 1.0);
                    EXPECT_TRUE(StillPicture::save(image, kFolder,
                                                   QStringLiteral("day-%1-%2").arg(width).arg(setting.tag())));
                    if (width == 440) {
                        const DayPlan plan = rig->days.note(QDateTime(QDate(2025, 3, 5), QTime(12, 0))).plans[0];
                        PlanEditor editor(plan, 1440, 860, [](int, int) {}, [] {}, &still);
                        ThemeBinding::applyTo(&editor);
                        editor.show();
                        settle();
                        EXPECT_TRUE(StillPicture::save(StillPicture::grab(&editor, 1.0), kFolder,
                                                       QStringLiteral("planEditor-%1").arg(setting.tag())));
                        PlacePicker picker(context, {16 * 60, 120}, QDateTime(QDate(2025, 3, 5), QTime(12, 0)), false,
                                           860, [](const std::optional<LocalTask> &, bool, int, int, bool) {}, &still);
                        ThemeBinding::applyTo(&picker);
                        picker.show();
                        settle();
                        EXPECT_TRUE(StillPicture::save(StillPicture::grab(&picker, 1.0), kFolder,
                                                       QStringLiteral("placePicker-%1").arg(setting.tag())));
                    }
                }
            }
}

} // namespace
