#include "core/AppSettings.h"
#include "core/BuildStamp.h"
#include "core/Kiv.h"
#include "core/L.h"
#include "platform/fakes/FakeClock.h"
#include "platform/files/Preferences.h"
#include "support/ScopedDirs.h"

#include <QJsonArray>
#include <QMetaProperty>
#include <QSignalSpy>
#include <cmath>
#include <gtest/gtest.h>

namespace {

struct SettingsTest : ::testing::Test
{
    ScopedDirs dirs;
    FakeClock clock{QDateTime(QDate(2025, 3, 4), QTime(9, 0))};
    std::unique_ptr<Preferences> prefs;
    std::unique_ptr<AppSettings> settings;
    int changes = 0;

    void SetUp() override
    {
        Clock::setCurrent(&clock);
        launch();
    }
    void TearDown() override
    {
        settings.reset();
        prefs.reset();
        Clock::setCurrent(nullptr);
    }
    // A fresh start of the program over the same preferences file.
    void launch()
    {
        settings.reset();
        prefs = std::make_unique<Preferences>(QStringLiteral("settings-test"));
        settings = std::make_unique<AppSettings>(*prefs);
        settings->onChanged = [this] { ++changes; };
    }
    QVariant read(const char *property) const { return settings->property(property); }
    void write(const char *property, const QVariant &value) { ASSERT_TRUE(settings->setProperty(property, value)); }
};

struct DefaultCase
{
    const char *property;
    QVariant expected;
};

TEST_F(SettingsTest, FreshStoreReadsEveryDefaultAndWritesNothing)
{
    const DefaultCase cases[] = {
        {"focusMinutes", 25},
        {"shortBreakMinutes", 5},
        {"longBreakMinutes", 15},
        {"choreMinutes", 10},
        {"sessionsUntilLongBreak", 4},
        {"autoStartBreak", true},
        {"autoStartFocus", false},
        {"soundEnabled", true},
        {"prepares", true},
        {"dayPrompts", false},
        {"morningHour", 8},
        {"eveningHour", 21},
        {"syncPlace", QVariant::fromValue(SyncPlace::drive)},
        {"planNotices", true},
        {"externalTaskMode", QVariant::fromValue(ExternalTaskMode::adopt)},
        {"writeBackToExternal", true},
        {"calendarEnabled", false},
        {"recordBreaks", false},
        {"calendarShowsTitle", true},
        {"textScale", 1.0},
        {"showSecondsInMenuBar", true},
        {"alwaysOnTop", false},
        {"focusVisual", QVariant::fromValue(FocusVisual::incense)},
        {"ambienceScene", QStringLiteral("bell")},
        {"ambienceVolume", 0.35},
        {"bell", QStringLiteral("Bonsho")},
        {"planCalendarName", QVariant::fromValue(std::optional<QString>())},
        {"visibleCalendarNames", QVariant::fromValue(std::optional<QStringList>())},
        {"visibleCalendarIDs", QStringList()},
        {"planCalendarIdentifier", QVariant::fromValue(std::optional<QString>())},
        {"hasSeenIntro", false},
        {"lastLookedForVersionAt", QVariant::fromValue(std::optional<QDateTime>())},
        {"lastSyncedAt", QVariant::fromValue(std::optional<QDateTime>())},
        {"settingsChangedAt", AppSettings::distantPast()},
    };
    for (const DefaultCase &c : cases)
        EXPECT_EQ(read(c.property), c.expected) << c.property;
    EXPECT_EQ(settings->customSoundURL(), std::nullopt);
    EXPECT_FALSE(prefs->fileExists()) << "defaults are never written";
}

struct ClampCase
{
    const char *property;
    QVariant written;
    QJsonValue stored;
};

TEST_F(SettingsTest, WritesStoreClampedValues)
{
    const ClampCase cases[] = {
        {"focusMinutes", 0, 1},
        {"focusMinutes", 500, 180},
        {"shortBreakMinutes", 61, 60},
        {"longBreakMinutes", -3, 1},
        {"longBreakMinutes", 121, 120},
        {"choreMinutes", 90, 60},
        {"sessionsUntilLongBreak", 1, 2},
        {"sessionsUntilLongBreak", 13, 12},
        {"ambienceVolume", -0.2, 0.0},
        {"ambienceVolume", 1.5, 1.0},
        {"ambienceVolume", std::nan(""), 0.0},
        {"textScale", 0.5, 1.0},
        {"textScale", 2.0, 1.6},
        {"textScale", 1.25, 1.25},
        {"morningHour", 30, 30},
    };
    for (const ClampCase &c : cases) {
        write(c.property, c.written);
        const QString key = QString::fromLatin1(c.property);
        EXPECT_EQ(prefs->value(key), c.stored) << c.property << " " << c.written.toString().toStdString();
        EXPECT_EQ(read(c.property).toDouble(), c.stored.toDouble()) << c.property;
        if (key == QLatin1String("textScale")) {
            EXPECT_EQ(Kiv::scale(), c.stored.toDouble());
        }
    }
}

TEST_F(SettingsTest, TextScaleIsClampedOnEveryRead)
{
    const std::pair<QJsonValue, double> cases[] = {
        {3.0, 1.6}, {0.2, 1.0}, {1.3, 1.3}, {QStringLiteral("large"), 1.0}, {std::nan(""), 1.0}};
    for (const auto &[stored, reads] : cases) {
        prefs->setValue(QStringLiteral("textScale"), stored);
        EXPECT_EQ(settings->textScale(), reads) << stored.toVariant().toString().toStdString();
    }
}

struct StampCase
{
    const char *property;
    QVariant value;
    bool stamps;
};

TEST_F(SettingsTest, OnlySyncedKeysStampEvenWhenTheValueIsUnchanged)
{
    const StampCase cases[] = {
        {"focusMinutes", 25, true},
        {"shortBreakMinutes", 5, true},
        {"longBreakMinutes", 20, true},
        {"choreMinutes", 10, true},
        {"sessionsUntilLongBreak", 4, true},
        {"autoStartBreak", true, true},
        {"autoStartFocus", true, true},
        {"soundEnabled", false, true},
        {"prepares", false, true},
        {"dayPrompts", true, true},
        {"morningHour", 7, true},
        {"eveningHour", 22, true},
        {"planNotices", false, true},
        {"externalTaskMode", QVariant::fromValue(ExternalTaskMode::mirror), true},
        {"writeBackToExternal", false, true},
        {"calendarEnabled", true, true},
        {"recordBreaks", true, true},
        {"calendarShowsTitle", false, true},
        {"focusVisual", QVariant::fromValue(FocusVisual::ring), true},
        {"ambienceScene", QStringLiteral("rain"), true},
        {"ambienceVolume", 0.5, true},
        {"bell", QStringLiteral("Keisu"), true},
        {"planCalendarName", QVariant::fromValue(std::optional<QString>(QStringLiteral("Plans"))), true},
        {"recordCalendarName", QVariant::fromValue(std::optional<QString>(QStringLiteral("Rounds"))), true},
        {"visibleCalendarNames", QVariant::fromValue(std::optional<QStringList>(QStringList{"A"})), true},
        {"syncPlace", QVariant::fromValue(SyncPlace::none), false},
        {"textScale", 1.2, false},
        {"showSecondsInMenuBar", false, false},
        {"alwaysOnTop", true, false},
        {"hasSeenIntro", true, false},
        {"visibleCalendarIDs", QStringList{"x"}, false},
        {"planCalendarIdentifier", QVariant::fromValue(std::optional<QString>(QStringLiteral("p"))), false},
        {"calendarIdentifier", QVariant::fromValue(std::optional<QString>(QStringLiteral("c"))), false},
        {"customSoundName", QVariant::fromValue(std::optional<QString>(QStringLiteral("s"))), false},
        {"lastLookedForVersionAt", QVariant::fromValue(std::optional<QDateTime>(clock.now())), false},
        {"lastSyncedAt", QVariant::fromValue(std::optional<QDateTime>(clock.now())), false},
    };
    for (const StampCase &c : cases) {
        for (int round = 0; round < 2; ++round) { // the second write stores an equal value
            prefs->remove(QStringLiteral("settingsChangedAt"));
            prefs->remove(QStringLiteral("settingsUnsent"));
            changes = 0;
            clock.advance(1000);
            write(c.property, c.value);
            EXPECT_EQ(read(c.property), c.value) << c.property;
            EXPECT_EQ(changes, c.stamps ? 1 : 0) << c.property << " round " << round;
            EXPECT_EQ(settings->settingsChangedAt(), c.stamps ? clock.now() : AppSettings::distantPast())
                << c.property;
            EXPECT_EQ(prefs->contains(QStringLiteral("settingsUnsent")), c.stamps) << c.property;
        }
    }

    settings->isApplyingRemote = true;
    prefs->remove(QStringLiteral("settingsChangedAt"));
    changes = 0;
    settings->setFocusMinutes(0);
    EXPECT_EQ(settings->focusMinutes(), 1) << "stored and clamped";
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(settings->settingsChangedAt(), AppSettings::distantPast());
}

TEST_F(SettingsTest, ChangeSignalFiresOncePerRealChange)
{
    QSignalSpy focus(settings.get(), &AppSettings::focusMinutesChanged);
    QSignalSpy shortBreak(settings.get(), &AppSettings::shortBreakMinutesChanged);
    QSignalSpy stamped(settings.get(), &AppSettings::settingsChangedAtChanged);
    QSignalSpy names(settings.get(), &AppSettings::visibleCalendarNamesChanged);

    settings->setFocusMinutes(25); // equal to the default: stored, but reads the same
    EXPECT_EQ(focus.count(), 0);
    settings->setFocusMinutes(30);
    settings->setFocusMinutes(30);
    EXPECT_EQ(focus.count(), 1);
    settings->setFocusMinutes(0);
    EXPECT_EQ(focus.count(), 2);
    prefs->setValue(QStringLiteral("focusMinutes"), 45); // written by other means
    EXPECT_EQ(focus.count(), 3);
    EXPECT_EQ(shortBreak.count(), 0);
    clock.advance(1000);
    settings->setFocusMinutes(45);
    EXPECT_EQ(focus.count(), 3);
    EXPECT_EQ(stamped.count(), 2) << "each stamp at a new time moves settingsChangedAt";

    settings->setVisibleCalendarNames(QStringList());
    settings->setVisibleCalendarNames(QStringList());
    EXPECT_EQ(names.count(), 1) << "an empty list differs from none";
    settings->setVisibleCalendarNames(std::nullopt);
    EXPECT_EQ(names.count(), 2);
}

struct FallbackCase
{
    const char *key;
    QJsonValue stored;
    const char *property;
    QVariant reads;
};

TEST_F(SettingsTest, UnknownStoredValuesReadAsTheirFallback)
{
    const FallbackCase cases[] = {
        {"focusVisual", QStringLiteral("square"), "focusVisual", QVariant::fromValue(FocusVisual::incense)},
        {"externalTaskMode", QStringLiteral("copy"), "externalTaskMode", QVariant::fromValue(ExternalTaskMode::adopt)},
        {"syncPlace", QStringLiteral("usb"), "syncPlace", QVariant::fromValue(SyncPlace::drive)},
        {"ambienceScene", QStringLiteral("thunder"), "ambienceScene", QStringLiteral("bell")},
        {"bell", QStringLiteral("Gong"), "bell", QStringLiteral("Bonsho")},
        {"focusMinutes", QStringLiteral("many"), "focusMinutes", 25},
        {"soundEnabled", 3, "soundEnabled", true},
        {"lastSyncedAt", -5, "lastSyncedAt", QVariant::fromValue(std::optional<QDateTime>())},
        {"settingsChangedAt", 12, "settingsChangedAt", AppSettings::distantPast()},
        {"visibleCalendars", QStringLiteral("A"), "visibleCalendarIDs", QStringList()},
    };
    for (const FallbackCase &c : cases) {
        prefs->setValue(QString::fromLatin1(c.key), c.stored);
        EXPECT_EQ(read(c.property), c.reads) << c.key;
    }
}

TEST_F(SettingsTest, TimesStoreSecondsAndNeverStoresZero)
{
    const QDateTime when = QDateTime::fromMSecsSinceEpoch(1'741'078'800'250);
    settings->setLastSyncedAt(when);
    EXPECT_EQ(prefs->value(QStringLiteral("lastSyncedAt")).toDouble(), 1'741'078'800.25);
    EXPECT_EQ(settings->lastSyncedAt(), when);
    settings->setLastSyncedAt(std::nullopt);
    EXPECT_EQ(prefs->value(QStringLiteral("lastSyncedAt")), QJsonValue(0));
    EXPECT_EQ(settings->lastSyncedAt(), std::nullopt);
}

TEST_F(SettingsTest, ToggleCalendarStoresEmptyWhenAllAreShown)
{
    const QStringList all{"A", "B", "C"};
    settings->toggleCalendar("A", all);
    EXPECT_EQ(settings->visibleCalendarIDs(), (QStringList{"B", "C"}));
    settings->toggleCalendar("A", all);
    EXPECT_EQ(settings->visibleCalendarIDs(), QStringList());
    EXPECT_EQ(prefs->value(QStringLiteral("visibleCalendars")), QJsonValue(QJsonArray()));
    EXPECT_EQ(changes, 0) << "the day page's calendars are not synced";
}

TEST_F(SettingsTest, DurationsAndBellHookAndSoundLibrary)
{
    settings->setShortBreakMinutes(5);
    EXPECT_EQ(settings->duration(Phase::shortBreak), 300.0);
    EXPECT_EQ(settings->fixedDuration(Phase::shortBreak, Mode::rounds), 60.0);

    QStringList rung;
    settings->onBellWritten = [&](const QString &name) { rung << name; };
    settings->setBell(QStringLiteral("Keisu"));
    settings->setBell(QStringLiteral("Keisu"));
    settings->setBell(QStringLiteral("Gong"));
    EXPECT_EQ(rung, (QStringList{"Keisu", "Keisu", "Bonsho"}));

    const QUrl rain = QUrl::fromLocalFile("/sounds/rain.wav");
    const QUrl aa = QUrl::fromLocalFile("/sounds/aa.wav");
    settings->soundNamed = [&](const QString &name) -> std::optional<QUrl> {
        return name == QLatin1String("rain") ? std::optional<QUrl>(rain) : std::nullopt;
    };
    QList<QUrl> library{aa, rain};
    settings->librarySounds = [&] { return library; };
    EXPECT_EQ(settings->customSoundURL(), aa) << "no name stored: the first sound";
    settings->setCustomSoundName(QStringLiteral("rain"));
    EXPECT_EQ(settings->customSoundURL(), rain);
    settings->setCustomSoundName(QStringLiteral("gone"));
    EXPECT_EQ(settings->customSoundURL(), aa);
    library.clear();
    EXPECT_EQ(settings->customSoundURL(), std::nullopt);
}

TEST_F(SettingsTest, ValuesSurviveARestartEmptyListsIncluded)
{
    settings->setFocusMinutes(40);
    settings->setVisibleCalendarNames(QStringList());
    settings->setVisibleCalendarIDs(QStringList());
    settings->setPlanCalendarName(QStringLiteral("計画"));
    settings->setAmbienceVolume(0.8);
    settings->setExternalTaskMode(ExternalTaskMode::off);
    const QDateTime stamped = settings->settingsChangedAt();
    launch();
    EXPECT_EQ(settings->focusMinutes(), 40);
    EXPECT_EQ(settings->visibleCalendarNames(), std::optional<QStringList>(QStringList()));
    EXPECT_TRUE(prefs->contains(QStringLiteral("visibleCalendars")));
    EXPECT_EQ(settings->planCalendarName(), QStringLiteral("計画"));
    EXPECT_EQ(settings->ambienceVolume(), 0.8);
    EXPECT_EQ(settings->externalTaskMode(), ExternalTaskMode::off);
    EXPECT_EQ(settings->settingsChangedAt(), stamped);
    EXPECT_EQ(prefs->value(QStringLiteral("settingsUnsent")), QJsonValue(true));
}

TEST(BuildStampLine, ShowsVersionBuildAndTime)
{
    Lang::setForTesting(true);
    const QString line = BuildStamp::line();
    Lang::setForTesting(std::nullopt);
    EXPECT_TRUE(line.startsWith(QStringLiteral("版 " QUILLMERE_VERSION "・通し "))) << line.toStdString();
    EXPECT_TRUE(line.contains(QStringLiteral("月"))) << line.toStdString();
    EXPECT_TRUE(line.endsWith(QStringLiteral(" 組み立て）"))) << line.toStdString();
}

// Carry-over from the earlier build's preference file ---------------------------------------------

struct CarryOverTest : ::testing::Test
{
    ScopedDirs dirs;
    void writeEarlier(const QJsonObject &values)
    {
        Preferences earlier(AppSettings::earlierDomain);
        for (auto it = values.begin(); it != values.end(); ++it)
            earlier.setValue(it.key(), it.value());
    }
    // One launch of the program over the standard preferences.
    std::unique_ptr<AppSettings> launch()
    {
        Preferences::resetStandard();
        return std::make_unique<AppSettings>(Preferences::standard());
    }
};

TEST_F(CarryOverTest, CopiesMissingKeysOnceAsTheyAre)
{
    Preferences::standard().setValue(QStringLiteral("shortBreakMinutes"), 7);
    writeEarlier({{"focusMinutes", 300}, {"shortBreakMinutes", 9}, {"bell", "Inkin"}});
    {
        auto settings = launch();
        EXPECT_EQ(settings->focusMinutes(), 300) << "copied unclamped";
        EXPECT_EQ(settings->shortBreakMinutes(), 7) << "a present key keeps its value";
        EXPECT_EQ(settings->bell(), "Inkin");
        EXPECT_EQ(settings->settingsChangedAt(), AppSettings::distantPast()) << "no stamp";
        EXPECT_FALSE(Preferences::standard().contains(QStringLiteral("longBreakMinutes")))
            << "registered defaults are not copied";
    }
    writeEarlier({{"choreMinutes", 20}});
    auto again = launch();
    EXPECT_EQ(again->choreMinutes(), 10) << "the second launch copies nothing";
}

TEST_F(CarryOverTest, WithoutAnEarlierFileNothingIsMarked)
{
    auto settings = launch();
    EXPECT_FALSE(Preferences::standard().contains(QStringLiteral("carriedOverFromPersonalID")));
    settings.reset();
    writeEarlier({{"focusMinutes", 50}});
    EXPECT_EQ(launch()->focusMinutes(), 50) << "a later launch still carries over";
}

TEST_F(CarryOverTest, OnlyTheStandardDomainCarriesOver)
{
    writeEarlier({{"focusMinutes", 50}});
    Preferences other(QStringLiteral("other"));
    AppSettings settings(other);
    EXPECT_EQ(settings.focusMinutes(), 25);
}

} // namespace
