#include "ModelRig.h"

#include "core/SharedSettings.h"
#include "support/LanguageFixtures.h"

#include <gtest/gtest.h>

namespace {

using namespace ModelRigs;

CalendarInfo calendar(const QString &id, const QString &title, const QString &account, bool writable = true)
{
    CalendarInfo info;
    info.id = id;
    info.title = title;
    info.accountTitle = account;
    info.accountId = account;
    info.writable = writable;
    return info;
}

struct AppModelCalendarNamesTest : InEnglish
{
};

// One machine picks its calendars; the other, whose calendars have other
// identifiers, finds the same ones by title after the synced settings arrive.
TEST_F(AppModelCalendarNamesTest, ChoicesTravelByTitle)
{
    SharedSettings synced;
    {
        Rig a;
        for (const CalendarInfo &c : {calendar("a-work", "Work", "Home server"), calendar("a-home", "Home", "Home server"),
                                      calendar("a-plans", "Plans", "Home server")})
            a.calendars.addCalendar(c);
        a.settings.setCalendarEnabled(true);
        a.settings.setCalendarIdentifier(QStringLiteral("rounds"));
        AppModel &model = a.build();
        // At launch the shown calendars are not remembered, the others are.
        EXPECT_FALSE(a.settings.visibleCalendarNames());
        EXPECT_EQ(a.settings.recordCalendarName(), QStringLiteral("Rounds"));

        a.settings.setVisibleCalendarIDs({QStringLiteral("a-work"), QStringLiteral("a-home"), QStringLiteral("gone")});
        a.settings.setPlanCalendarIdentifier(QStringLiteral("a-plans"));
        model.rememberCalendarNames(true);
        EXPECT_EQ(a.settings.visibleCalendarNames(), (QStringList{QStringLiteral("Work"), QStringLiteral("Home")}));
        EXPECT_EQ(a.settings.planCalendarName(), QStringLiteral("Plans"));
        synced = a.settings.shared();
    }

    Rig b;
    for (const CalendarInfo &c :
         {calendar("b-home", "Home", "Cloud"), calendar("b-work", "Work", "Cloud"), calendar("b-other", "Other", "Cloud"),
          calendar("b-plans-ro", "Plans", "Cloud", false), calendar("b-plans", "Plans", "Office"),
          calendar("b-work-2", "Work", "Office"), calendar("b-rounds", "Rounds", "Office")})
        b.calendars.addCalendar(c);
    b.settings.setCalendarEnabled(true);
    b.settings.apply(synced, true);
    AppModel &model = b.build(); // resolves at launch
    // Both calendars titled "Work" are shown; the first writable "Plans" and
    // "Rounds" are chosen (the Rig's own "rounds" comes first).
    const QStringList shown = b.settings.visibleCalendarIDs();
    EXPECT_EQ(QSet<QString>(shown.begin(), shown.end()),
              (QSet<QString>{QStringLiteral("b-home"), QStringLiteral("b-work"), QStringLiteral("b-work-2")}));
    EXPECT_EQ(b.settings.planCalendarIdentifier(), QStringLiteral("b-plans"));
    EXPECT_EQ(b.settings.calendarIdentifier(), QStringLiteral("rounds"));

    // Names matching every calendar mean "all"; names matching none change nothing.
    QStringList every;
    for (const auto &group : model.calendarService().allCalendarsBySource())
        for (const CalendarInfo &c : group.calendars)
            every << c.title;
    b.settings.setVisibleCalendarNames(every);
    model.resolveCalendarNames();
    EXPECT_TRUE(b.settings.visibleCalendarIDs().isEmpty());
    b.settings.setVisibleCalendarIDs({QStringLiteral("b-other")});
    b.settings.setVisibleCalendarNames(QStringList{QStringLiteral("Nowhere")});
    model.resolveCalendarNames();
    EXPECT_EQ(b.settings.visibleCalendarIDs(), QStringList{QStringLiteral("b-other")});

    // A plan title with no writable calendar here leaves the choice; an empty title clears it.
    b.settings.setPlanCalendarName(QStringLiteral("Nowhere"));
    model.resolveCalendarNames();
    EXPECT_EQ(b.settings.planCalendarIdentifier(), QStringLiteral("b-plans"));
    b.settings.setPlanCalendarName(QString());
    model.resolveCalendarNames();
    EXPECT_FALSE(b.settings.planCalendarIdentifier());
}

TEST_F(AppModelCalendarNamesTest, RememberingWritesOnlyRealChanges)
{
    Rig rig;
    rig.settings.setPlanCalendarName(QStringLiteral("Synced plans"));
    AppModel &model = rig.build();
    int stamps = 0;
    rig.settings.onChanged = [&] { ++stamps; };

    // Not from the user, a machine without a plan calendar keeps the synced title.
    model.rememberCalendarNames(false);
    EXPECT_EQ(rig.settings.planCalendarName(), QStringLiteral("Synced plans"));
    EXPECT_EQ(stamps, 0);

    // From the user, no plan calendar is an explicit empty title, written once.
    model.rememberCalendarNames(true);
    EXPECT_EQ(rig.settings.planCalendarName(), QString());
    EXPECT_EQ(rig.settings.visibleCalendarNames(), QStringList());
    const int afterFirst = stamps;
    EXPECT_GT(afterFirst, 0);
    model.rememberCalendarNames(true);
    EXPECT_EQ(stamps, afterFirst);

    // With rounds off the record calendar is left alone both ways.
    rig.settings.setRecordCalendarName(QStringLiteral("Rounds elsewhere"));
    rig.settings.setCalendarIdentifier(QStringLiteral("rounds"));
    model.rememberCalendarNames(true);
    model.resolveCalendarNames();
    EXPECT_EQ(rig.settings.recordCalendarName(), QStringLiteral("Rounds elsewhere"));
    EXPECT_EQ(rig.settings.calendarIdentifier(), QStringLiteral("rounds"));

    // Without calendar access nothing is touched.
    rig.calendars.setAuthorization(CalendarAccess::Denied);
    rig.calendars.setGrantsAccess(false);
    rig.calendarService->requestAccess();
    rig.settings.setPlanCalendarName(QStringLiteral("Rounds"));
    model.resolveCalendarNames();
    EXPECT_FALSE(rig.settings.planCalendarIdentifier());
}

} // namespace
