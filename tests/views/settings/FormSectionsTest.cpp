#include "views/settings/SettingsFixture.h"

#include "core/AppSettings.h"
#include "core/BuildStamp.h"
#include "core/PomodoroEngine.h"
#include "model/ClockText.h"
#include "platform/notify/NotificationRequest.h"
#include "sources/Notifier.h"
#include "sources/RemindersTaskSource.h"
#include "sources/TaskHub.h"
#include "support/ScopedAddresses.h"
#include "views/reading/Feedback.h"
#include "views/reading/Fuse.h"
#include "views/reading/HowTo.h"
#include "views/settings/ChoiceRow.h"
#include "views/settings/FuseAlert.h"
#include "views/settings/OfferingSection.h"
#include "views/settings/SideBySide.h"
#include "views/settings/SweepHint.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QUrlQuery>
#include <functional>

namespace {

// The rows of the reading, beginning, appearance, menu-bar, day, tasks,
// sweep, feedback, offering, other-devices and version sections.
struct FormSectionsTest : SettingsFixture
{
    // What the preferences file on disk holds under a key.
    QJsonValue inFile(const QString &key) const
    {
        QFile file(rig->prefs.filePath());
        if (!file.open(QIODevice::ReadOnly))
            return QJsonValue::Undefined;
        return QJsonDocument::fromJson(file.readAll()).object().value(key);
    }
    // The hours of the pending morning and evening prompts (-1: none).
    std::pair<int, int> promptHours() const
    {
        int morning = -1;
        int evening = -1;
        for (const PendingNotification &pending : rig->center.pendingRequests()) {
            if (pending.request.identifier == Notifier::kMorning)
                morning = pending.request.trigger.hour();
            else if (pending.request.identifier == Notifier::kEvening)
                evening = pending.request.trigger.hour();
        }
        return {morning, evening};
    }
};

struct Switch
{
    const char *row;
    const char *key;
    std::function<bool(const AppSettings &)> read;
};

} // namespace

TEST_F(FormSectionsTest, EverySwitchWritesItsSettingAndThePreferencesFile)
{
    const QList<Switch> switches{
        {"settings.beginning.prepares", "prepares", &AppSettings::prepares},
        {"settings.menuBar.showSeconds", "showSecondsInMenuBar", &AppSettings::showSecondsInMenuBar},
        {"settings.sound.enabled", "soundEnabled", &AppSettings::soundEnabled},
        {"settings.dayNotices.planNotices", "planNotices", &AppSettings::planNotices},
        {"settings.dayNotices.dayPrompts", "dayPrompts", &AppSettings::dayPrompts},
    };
    build();
    for (const Switch &s : switches) {
        SCOPED_TRACE(s.row);
        const bool before = s.read(rig->settings);
        EXPECT_EQ(find<ToggleRow>(QString::fromLatin1(s.row))->isOn(), before);
        flip(QString::fromLatin1(s.row));
        EXPECT_EQ(s.read(rig->settings), !before);
        EXPECT_EQ(inFile(QString::fromLatin1(s.key)), QJsonValue(!before));
        EXPECT_EQ(find<ToggleRow>(QString::fromLatin1(s.row))->isOn(), !before);
        flip(QString::fromLatin1(s.row));
        EXPECT_EQ(s.read(rig->settings), before);
        EXPECT_EQ(inFile(QString::fromLatin1(s.key)), QJsonValue(before));
    }
}

TEST_F(FormSectionsTest, EveryPickerWritesItsSettingAndThePreferencesFile)
{
    struct Pick
    {
        const char *picker;
        QString option;
        const char *key;
        QJsonValue stored;
    };
    rig->settings.setDayPrompts(true);
    build();
    const QList<Pick> picks{
        {"settings.appearance.face", QStringLiteral("円相"), "focusVisual", QStringLiteral("ring")},
        {"settings.appearance.face", QStringLiteral("線香"), "focusVisual", QStringLiteral("incense")},
        {"settings.sound.bell", QStringLiteral("木魚"), "bell", QStringLiteral("Mokugyo")},
        {"settings.sound.scene", QStringLiteral("雨"), "ambienceScene", QStringLiteral("rain")},
        {"settings.dayNotices.morningHour", QStringLiteral("6時"), "morningHour", 6},
        {"settings.dayNotices.eveningHour", QStringLiteral("22時"), "eveningHour", 22},
    };
    for (const Pick &p : picks) {
        SCOPED_TRACE(p.picker);
        choose(QString::fromLatin1(p.picker), p.option);
        EXPECT_EQ(inFile(QString::fromLatin1(p.key)), p.stored);
        EXPECT_EQ(find<PickerRow>(QString::fromLatin1(p.picker))->combo()->currentText(), p.option);
    }
    EXPECT_EQ(rig->settings.focusVisual(), FocusVisual::incense);
    EXPECT_EQ(rig->settings.bell(), QStringLiteral("Mokugyo"));
    EXPECT_EQ(rig->settings.ambienceScene(), QStringLiteral("rain"));
    EXPECT_EQ(rig->settings.morningHour(), 6);
    EXPECT_EQ(rig->settings.eveningHour(), 22);
}

TEST_F(FormSectionsTest, TheFaceDescriptionFollowsTheFace)
{
    build();
    const QString description = QStringLiteral("settings.appearance.faceDescription");
    EXPECT_EQ(text(description), QStringLiteral("線香が上から灰になり、香炉に灰が積もっていきます。"));
    choose(QStringLiteral("settings.appearance.face"), QStringLiteral("円相"));
    EXPECT_EQ(text(description), QStringLiteral("細い弧が一周して、区切りの終わりを示します。"));
    // Changed elsewhere (by a sync): the rows follow.
    rig->settings.setFocusVisual(FocusVisual::incense);
    EXPECT_EQ(text(description), QStringLiteral("線香が上から灰になり、香炉に灰が積もっていきます。"));
    EXPECT_EQ(find<PickerRow>(QStringLiteral("settings.appearance.face"))->selection(), QStringLiteral("incense"));
}

TEST_F(FormSectionsTest, ATextSizeIsStoredAndSetsTheScaleOfEveryText)
{
    rig->prefs.setValue(QStringLiteral("textScale"), 1.2); // none of the four
    build();
    for (int i = 0; i < 4; ++i)
        EXPECT_FALSE(find<ChoiceRow>(QStringLiteral("settings.appearance.textSize%1").arg(i))->isChosen());
    EXPECT_EQ(find<ChoiceRow>(QStringLiteral("settings.appearance.textSize2"))->text(), QStringLiteral("大きく"));

    click(QStringLiteral("settings.appearance.textSize2"));
    EXPECT_DOUBLE_EQ(rig->settings.textScale(), 1.3);
    EXPECT_EQ(inFile(QStringLiteral("textScale")), QJsonValue(1.3));
    EXPECT_DOUBLE_EQ(Kiv::scale(), 1.3);
    EXPECT_TRUE(find<ChoiceRow>(QStringLiteral("settings.appearance.textSize2"))->isChosen());

    // By keyboard: Space on a focused choice.
    auto *largest = find<ChoiceRow>(QStringLiteral("settings.appearance.textSize3"));
    largest->setFocus(Qt::TabFocusReason);
    QTest::keyClick(largest, Qt::Key_Space);
    EXPECT_DOUBLE_EQ(rig->settings.textScale(), 1.5);
    EXPECT_FALSE(find<ChoiceRow>(QStringLiteral("settings.appearance.textSize2"))->isChosen());
    EXPECT_TRUE(largest->isChosen());
}

TEST_F(FormSectionsTest, SecondsInTheMenuBarTitleFollowTheSwitch)
{
    build();
    model->begin(Mode::quick);
    ASSERT_TRUE(model->engine().mode());
    rig->clock.advance(1500);
    const double remaining = model->engine().remaining();
    ASSERT_TRUE(rig->settings.showSecondsInMenuBar());
    EXPECT_TRUE(model->menuBarTitle().contains(ClockText::full(remaining))) << model->menuBarTitle().toStdString();
    flip(QStringLiteral("settings.menuBar.showSeconds"));
    EXPECT_TRUE(model->menuBarTitle().contains(ClockText::compact(remaining))) << model->menuBarTitle().toStdString();
    EXPECT_FALSE(model->menuBarTitle().contains(ClockText::full(remaining)));
}

TEST_F(FormSectionsTest, TheReadingButtonsAskForTheGlossaryAndTheIntroduction)
{
    rig->settings.setHasSeenIntro(true);
    build();
    const int before = model->glossaryRequest();
    click(QStringLiteral("settings.reading.glossary"));
    click(QStringLiteral("settings.reading.glossary"));
    EXPECT_EQ(model->glossaryRequest(), before + 2);
    EXPECT_TRUE(view->isVisible()) << "the window stays";

    click(QStringLiteral("settings.reading.intro"));
    EXPECT_FALSE(rig->settings.hasSeenIntro());
    EXPECT_EQ(inFile(QStringLiteral("hasSeenIntro")), QJsonValue(false));
}

TEST_F(FormSectionsTest, DayPromptsAreScheduledAtTheChosenHoursAndWithdrawn)
{
    build();
    // Defaults: notices on, prompts off, no hour row.
    EXPECT_TRUE(find<ToggleRow>(QStringLiteral("settings.dayNotices.planNotices"))->isOn());
    EXPECT_FALSE(shows(QStringLiteral("settings.dayNotices.morningHour")));
    EXPECT_EQ(promptHours(), std::make_pair(-1, -1));

    flip(QStringLiteral("settings.dayNotices.dayPrompts"));
    EXPECT_TRUE(shows(QStringLiteral("settings.dayNotices.morningHour")));
    EXPECT_EQ(find<PickerRow>(QStringLiteral("settings.dayNotices.morningHour"))->selection(), QStringLiteral("8"));
    EXPECT_EQ(find<PickerRow>(QStringLiteral("settings.dayNotices.eveningHour"))->selection(), QStringLiteral("21"));
    EXPECT_EQ(promptHours(), std::make_pair(8, 21));
    EXPECT_EQ(optionTexts(QStringLiteral("settings.dayNotices.morningHour")),
              (QStringList{QStringLiteral("4時"), QStringLiteral("5時"), QStringLiteral("6時"), QStringLiteral("7時"),
                           QStringLiteral("8時"), QStringLiteral("9時"), QStringLiteral("10時"), QStringLiteral("11時"),
                           QStringLiteral("12時")}));
    EXPECT_EQ(optionTexts(QStringLiteral("settings.dayNotices.eveningHour")).size(), 8);
    EXPECT_EQ(optionTexts(QStringLiteral("settings.dayNotices.eveningHour")).first(), QStringLiteral("16時"));

    // A new hour reschedules at once.
    choose(QStringLiteral("settings.dayNotices.morningHour"), QStringLiteral("5時"));
    choose(QStringLiteral("settings.dayNotices.eveningHour"), QStringLiteral("23時"));
    EXPECT_EQ(promptHours(), std::make_pair(5, 23));

    // Off: withdrawn, the hours kept for next time.
    flip(QStringLiteral("settings.dayNotices.dayPrompts"));
    EXPECT_EQ(promptHours(), std::make_pair(-1, -1));
    EXPECT_FALSE(shows(QStringLiteral("settings.dayNotices.morningHour")));
    EXPECT_EQ(rig->settings.morningHour(), 5);
}

TEST_F(FormSectionsTest, AStoredHourOutOfRangeSelectsNothingAndPromptsStayWithinTheDay)
{
    rig->settings.setDayPrompts(true);
    rig->settings.setMorningHour(30);
    rig->settings.setEveningHour(-4);
    build();
    EXPECT_FALSE(find<PickerRow>(QStringLiteral("settings.dayNotices.morningHour"))->selection());
    EXPECT_FALSE(find<PickerRow>(QStringLiteral("settings.dayNotices.eveningHour"))->selection());
    EXPECT_EQ(promptHours(), std::make_pair(23, 0)) << "30 is kept to 23, -4 to 0";
    // Picking an hour replaces the stored one.
    choose(QStringLiteral("settings.dayNotices.morningHour"), QStringLiteral("7時"));
    EXPECT_EQ(rig->settings.morningHour(), 7);
}

TEST_F(FormSectionsTest, TheTasksSectionShowsTheReminderAccessAndConnects)
{
    build();
    RemindersTaskSource &reminders = model->taskHub().reminders();
    reminders.setAuthorization(CalendarAccess::FullAccess);
    EXPECT_TRUE(shows(QStringLiteral("settings.reminders.connected")));
    EXPECT_FALSE(shows(QStringLiteral("settings.reminders.connect")));

    reminders.setAuthorization(CalendarAccess::Denied);
    EXPECT_FALSE(shows(QStringLiteral("settings.reminders.connected")));
    EXPECT_FALSE(shows(QStringLiteral("settings.reminders.connect")));

    // Not yet: the button asks; granted, the section shows the connection.
    rig->calendars.setAuthorization(CalendarAccess::NotDetermined);
    rig->calendars.setGrantsAccess(true);
    reminders.setAuthorization(CalendarAccess::NotDetermined);
    EXPECT_TRUE(shows(QStringLiteral("settings.reminders.connect")));
    click(QStringLiteral("settings.reminders.connect"));
    rig->clock.advance(0);
    EXPECT_EQ(reminders.authorization(), CalendarAccess::FullAccess);
    EXPECT_TRUE(shows(QStringLiteral("settings.reminders.connected")));
}

TEST_F(FormSectionsTest, TheSweepHintNamesTheNextSweepDayStrictlyAfterToday)
{
    struct Case
    {
        QDate today;
        bool japanese;
        QString next;
    };
    const QList<Case> cases{
        {QDate(2025, 3, 5), true, QStringLiteral("3月9日")},
        {QDate(2025, 3, 9), true, QStringLiteral("3月14日")}, // a sweep day names the next one
        {QDate(2025, 3, 29), false, QStringLiteral("Apr 4")},
        {QDate(2025, 12, 30), false, QStringLiteral("Jan 4")},
    };
    for (const Case &c : cases) {
        Lang::setForTesting(c.japanese);
        const QString hint = SweepHint::text(QDateTime(c.today, QTime(9, 0)));
        EXPECT_TRUE(hint.contains(c.next)) << hint.toStdString();
        EXPECT_EQ(hint.count(QLatin1Char('\n')), 1);
    }
}

TEST_F(FormSectionsTest, ClearTodayBeginsTheSweepAndClosesTheWindow)
{
    model = &rig->build();
    rig->addTask(QStringLiteral("Old letter"));
    build();
    EXPECT_TRUE(text(QStringLiteral("settings.sweep.hint")).contains(QStringLiteral("（次は 3月9日）")));
    click(QStringLiteral("settings.sweep.begin"));
    ASSERT_TRUE(model->sweeping());
    EXPECT_EQ(model->tab(), RootTab::tasks);
    EXPECT_FALSE(view->isVisible());
}

TEST_F(FormSectionsTest, FeedbackOpensTheMailLinkAndSaysWhereToWriteWhenNothingOpensIt)
{
    ScopedAddresses addresses;
    build();
    click(QStringLiteral("settings.feedback.send"));
    ASSERT_EQ(desk.openedUrls().size(), 1);
    const QUrl mail = desk.openedUrls().first();
    EXPECT_EQ(mail.scheme(), QStringLiteral("mailto"));
    EXPECT_EQ(mail.path(), QStringLiteral("feedback@localhost"));
    const QString body = QUrlQuery(mail).queryItemValue(QStringLiteral("body"), QUrl::FullyDecoded);
    EXPECT_TRUE(body.contains(QStringLiteral("?"))) << "no version given: ?";
    EXPECT_FALSE(model->notice());

    desk.setOpensLinks(false);
    click(QStringLiteral("settings.feedback.send"));
    ASSERT_TRUE(model->notice());
    EXPECT_EQ(*model->notice(), Feedback::noMailProgramNotice());
}

// The feedback label keeps its words whole: where the line is too narrow
// for them beside the button, the button goes under the label.
TEST_F(FormSectionsTest, TheFeedbackLineBreaksNoWordAtTheLargestTextSize)
{
    ScopedAddresses addresses;
    struct Case
    {
        bool japanese;
        double scale;
        bool stacked;
    };
    for (const Case c : {Case{true, 1.0, false}, Case{false, 1.0, false}, Case{false, 1.6, true}}) {
        SCOPED_TRACE(testing::Message() << (c.japanese ? "ja " : "en ") << c.scale);
        Lang::setForTesting(c.japanese);
        Kiv::setScale(c.scale);
        view.reset();
        build();
        auto *line = find<SideBySide>(QStringLiteral("settings.feedback.line"));
        EXPECT_EQ(line->isStacked(), c.stacked);
        auto *label = line->findChild<TextBlock *>();
        const QStringList words = label->text().split(QLatin1Char(' '));
        for (const QString &shown : label->linesAt(label->contentsRect().width()))
            for (const QString &word : shown.split(QLatin1Char(' '), Qt::SkipEmptyParts))
                EXPECT_TRUE(words.contains(word) || c.japanese) << word.toStdString();
        EXPECT_LE(line->geometry().right(), line->parentWidget()->contentsRect().right());
    }
}

// A build that names no feedback address and no web page has no rows that
// would open them; the rest of the form stands as it is.
TEST_F(FormSectionsTest, WithoutAddressesTheRowsThatOpenThemAreGone)
{
    ScopedAddresses none{ProjectAddresses{}};
    build();
    EXPECT_EQ(view->section(QStringLiteral("feedback")), nullptr);
    EXPECT_EQ(view->findChild<QWidget *>(QStringLiteral("settings.feedback.send")), nullptr);
    EXPECT_EQ(view->findChild<QWidget *>(QStringLiteral("settings.otherDevices.site")), nullptr);
    ASSERT_NE(view->section(QStringLiteral("otherDevices")), nullptr);
    ASSERT_NE(view->section(QStringLiteral("version")), nullptr);
    EXPECT_EQ(text(QStringLiteral("settings.version.line")), BuildStamp::line());
}

TEST_F(FormSectionsTest, TheOfferingAlertShowsOnceAndCanBeShownAgainAfterThanks)
{
    build();
    auto *offering = find<OfferingSection>(QStringLiteral("settings.offering"));
    click(QStringLiteral("settings.offering.offer"));
    ASSERT_TRUE(offering->showsFuse());
    FuseAlert *alert = offering->alert();
    EXPECT_EQ(alert->windowTitle(), QStringLiteral("布施（ふせ）"));
    EXPECT_EQ(alert->findChild<TextBlock *>(QStringLiteral("settings.offering.alertMessage"))->text(), Fuse::message());
    click(QStringLiteral("settings.offering.offer"));
    EXPECT_EQ(offering->alert(), alert) << "one alert";

    auto *thanks = alert->findChild<InkButton *>(QStringLiteral("settings.offering.alertClose"));
    ASSERT_NE(thanks, nullptr);
    EXPECT_EQ(thanks->text(), QStringLiteral("ありがとうございます"));
    QTest::mouseClick(thanks, Qt::LeftButton, {}, thanks->rect().center());
    QCoreApplication::processEvents();
    EXPECT_FALSE(offering->showsFuse());
    click(QStringLiteral("settings.offering.offer"));
    EXPECT_TRUE(offering->showsFuse());
    // Escape dismisses it as well.
    QTest::keyClick(offering->alert(), Qt::Key_Escape);
    EXPECT_FALSE(offering->showsFuse());
}

TEST_F(FormSectionsTest, TheOfferingAlertTitleInEnglishHasNoReading)
{
    Lang::setForTesting(false);
    build();
    click(QStringLiteral("settings.offering.offer"));
    auto *offering = find<OfferingSection>(QStringLiteral("settings.offering"));
    ASSERT_TRUE(offering->showsFuse());
    EXPECT_EQ(offering->alert()->windowTitle(), QStringLiteral("Fuse (a gift)"));
}

TEST_F(FormSectionsTest, TheLastRowsLinkTheWebPageAndShowTheVersion)
{
    ScopedAddresses addresses;
    build();
    click(QStringLiteral("settings.otherDevices.site"));
    ASSERT_EQ(desk.openedUrls().size(), 1);
    EXPECT_EQ(desk.openedUrls().first(), QUrl(QStringLiteral("http://127.0.0.1:1/")));

    EXPECT_EQ(text(QStringLiteral("settings.version.line")), BuildStamp::line());
    EXPECT_TRUE(text(QStringLiteral("settings.version.line")).startsWith(QStringLiteral("版 ")));
    EXPECT_EQ(text(QStringLiteral("settings.version.note")), QStringLiteral("通しは、どの台で版が上がっても増えます。"));
    EXPECT_EQ(find<TextBlock>(QStringLiteral("settings.version.note"))->tone().colour, Kiv::Colour::inkGhost);
}
