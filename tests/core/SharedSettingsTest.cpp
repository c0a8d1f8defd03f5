#include "core/AppSettings.h"
#include "core/KivJSON.h"
#include "core/SharedSettings.h"
#include "platform/fakes/FakeClock.h"
#include "platform/files/Preferences.h"
#include "support/ScopedDirs.h"

#include <QJsonArray>
#include <QTimeZone>
#include <array>
#include <gtest/gtest.h>

namespace {

QDateTime utc(int day, int h, int m = 0)
{
    return QDateTime(QDate(2025, 3, day), QTime(h, m), QTimeZone::utc());
}

struct SnapshotTest : ::testing::Test
{
    ScopedDirs dirs;
    FakeClock clock{utc(4, 9)};
    Preferences prefs{QStringLiteral("snapshot-test")};
    std::unique_ptr<AppSettings> settings;
    int changes = 0;
    QStringList bells;

    void SetUp() override
    {
        Clock::setCurrent(&clock);
        settings = std::make_unique<AppSettings>(prefs);
        settings->onChanged = [this] { ++changes; };
        settings->onBellWritten = [this](const QString &name) { bells << name; };
    }
    void TearDown() override
    {
        settings.reset();
        Clock::setCurrent(nullptr);
    }

    // A snapshot from another machine, different from the defaults everywhere.
    static SharedSettings remote(const QDateTime &updatedAt)
    {
        SharedSettings s;
        s.updatedAt = updatedAt;
        s.focusMinutes = 40;
        s.shortBreakMinutes = 8;
        s.longBreakMinutes = 20;
        s.choreMinutes = 12;
        s.sessionsUntilLongBreak = 6;
        s.autoStartBreak = false;
        s.autoStartFocus = true;
        s.prepares = false;
        s.soundEnabled = false;
        s.ambienceScene = QStringLiteral("rain");
        s.ambienceVolume = 0.6;
        s.bell = QStringLiteral("Mokugyo");
        s.dayPrompts = true;
        s.morningHour = 6;
        s.eveningHour = 22;
        s.planNotices = false;
        s.recordBreaks = true;
        s.calendarShowsTitle = false;
        s.externalTaskMode = QStringLiteral("mirror");
        s.writeBackToExternal = false;
        s.focusVisual = QStringLiteral("ring");
        s.recordsToCalendar = true;
        s.planCalendarName = QStringLiteral("予定");
        s.recordCalendarName = QStringLiteral("記録");
        s.visibleCalendarNames = QStringList{"仕事", "家"};
        return s;
    }
};

TEST_F(SnapshotTest, FreshSnapshotHoldsTheDefaultsAndLeavesAbsentNamesOut)
{
    const SharedSettings s = settings->shared();
    EXPECT_EQ(s.updatedAt, AppSettings::distantPast());
    EXPECT_EQ((std::array{s.focusMinutes, s.shortBreakMinutes, s.longBreakMinutes, s.choreMinutes,
                          s.sessionsUntilLongBreak}),
              (std::array{25, 5, 15, 10, 4}));
    EXPECT_EQ(s.bell, "Bonsho");
    EXPECT_EQ(s.ambienceScene, "bell");
    EXPECT_EQ(s.ambienceVolume, 0.35);
    EXPECT_EQ(s.externalTaskMode, "adopt");
    EXPECT_EQ(s.focusVisual, "incense");
    EXPECT_EQ(s.recordsToCalendar, false);

    const QJsonObject json = s.toJson();
    for (const char *key : {"planCalendarName", "recordCalendarName", "visibleCalendarNames"})
        EXPECT_FALSE(json.contains(QLatin1String(key))) << key;
    EXPECT_EQ(json.value("updatedAt").toString(), "0001-01-01T00:00:00.000Z");
    EXPECT_EQ(SharedSettings::fromJson(KivJSON::parse(KivJSON::encode(json)).object()), s);
}

TEST_F(SnapshotTest, JsonRoundTripKeepsEveryField)
{
    const SharedSettings s = remote(utc(5, 10));
    const QJsonObject json = s.toJson();
    EXPECT_EQ(json.size(), 26);
    EXPECT_EQ(SharedSettings::fromJson(KivJSON::parse(KivJSON::encode(json)).object()), s);
    SharedSettings other = s;
    other.visibleCalendarNames = QStringList{"家", "仕事"};
    EXPECT_NE(other, s) << "name lists compare in order";
}

struct DecodeCase
{
    const char *name;
    std::function<void(QJsonObject &)> edit;
    bool decodes;
};

TEST_F(SnapshotTest, DecodingIsStrictAboutRequiredKeysAndTypes)
{
    const DecodeCase cases[] = {
        {"missing choreMinutes", [](QJsonObject &o) { o.remove("choreMinutes"); }, false},
        {"null updatedAt", [](QJsonObject &o) { o.insert("updatedAt", QJsonValue::Null); }, false},
        {"text for a number", [](QJsonObject &o) { o.insert("focusMinutes", "25"); }, false},
        {"fraction for an int", [](QJsonObject &o) { o.insert("morningHour", 7.5); }, false},
        {"number in the name list", [](QJsonObject &o) { o.insert("visibleCalendarNames", QJsonArray{1}); }, false},
        {"missing planCalendarName", [](QJsonObject &o) { o.remove("planCalendarName"); }, true},
        {"null recordsToCalendar", [](QJsonObject &o) { o.insert("recordsToCalendar", QJsonValue::Null); }, true},
        {"extra key", [](QJsonObject &o) { o.insert("startMode", "clock"); }, true},
        {"unknown scene", [](QJsonObject &o) { o.insert("ambienceScene", "thunder"); }, true},
    };
    for (const DecodeCase &c : cases) {
        QJsonObject json = remote(utc(5, 10)).toJson();
        c.edit(json);
        bool decoded = true;
        try {
            const SharedSettings s = SharedSettings::fromJson(json);
            if (QLatin1String(c.name) == QLatin1String("missing planCalendarName")) {
                EXPECT_EQ(s.planCalendarName, std::nullopt);
            }
        } catch (const KivJSON::DecodeError &) {
            decoded = false;
        }
        EXPECT_EQ(decoded, c.decodes) << c.name;
    }
}

TEST_F(SnapshotTest, PickGivesTheNewerAndTiesToTheFirst)
{
    SharedSettings a = remote(utc(5, 10));
    SharedSettings b = remote(utc(5, 10));
    b.focusMinutes = 50;
    SharedSettings later = remote(utc(6, 10));
    using Opt = std::optional<SharedSettings>;
    EXPECT_EQ(SharedSettings::pick(Opt(), Opt()), Opt());
    EXPECT_EQ(SharedSettings::pick(a, Opt()), Opt(a));
    EXPECT_EQ(SharedSettings::pick(Opt(), b), Opt(b));
    EXPECT_EQ(SharedSettings::pick(a, b), Opt(a));
    EXPECT_EQ(SharedSettings::pick(a, later), Opt(later));
    EXPECT_EQ(SharedSettings::pick(later, a), Opt(later));
}

TEST_F(SnapshotTest, UnforcedApplyNeedsAStrictlyNewerSnapshot)
{
    settings->setFocusMinutes(30); // stamps at 09:00 on the 4th
    const QDateTime local = settings->settingsChangedAt();
    const SharedSettings before = settings->shared();
    for (const QDateTime &when : {local, local.addSecs(-60)}) {
        settings->apply(remote(when), false);
        EXPECT_EQ(settings->shared(), before);
    }

    changes = 0;
    settings->apply(remote(local.addSecs(60)), false);
    EXPECT_EQ(settings->shared(), remote(local.addSecs(60)));
    EXPECT_EQ(bells, QStringList{"Mokugyo"}) << "the bell engine follows";
    EXPECT_EQ(changes, 0);
    EXPECT_FALSE(settings->isApplyingRemote);
}

TEST_F(SnapshotTest, ForcedApplySetsTheEarlierDateWithoutStamping)
{
    settings->setFocusMinutes(30);
    prefs.remove(QStringLiteral("settingsUnsent"));
    changes = 0;
    const SharedSettings old = remote(utc(1, 8));
    settings->apply(old, true);
    EXPECT_EQ(settings->shared(), old);
    EXPECT_EQ(settings->settingsChangedAt(), utc(1, 8));
    EXPECT_EQ(changes, 0);
    EXPECT_FALSE(prefs.contains(QStringLiteral("settingsUnsent"))) << "apply leaves the unsent mark alone";
    EXPECT_FALSE(settings->isApplyingRemote);
}

TEST_F(SnapshotTest, ApplyClampsAndSkipsTextsNamingNoCase)
{
    settings->setAmbienceScene(QStringLiteral("stream"));
    settings->setExternalTaskMode(ExternalTaskMode::off);
    settings->setFocusVisual(FocusVisual::ring);
    settings->setBell(QStringLiteral("Keisu"));
    settings->setCalendarEnabled(true);
    settings->setPlanCalendarName(QStringLiteral("here"));
    settings->setVisibleCalendarNames(QStringList{"x"});

    SharedSettings s = remote(utc(9, 9));
    s.focusMinutes = 0;
    s.ambienceVolume = 3;
    s.ambienceScene = QStringLiteral("thunder");
    s.externalTaskMode = QStringLiteral("copy");
    s.focusVisual = QStringLiteral("square");
    s.bell = QStringLiteral("Gong");
    s.recordsToCalendar.reset();
    s.planCalendarName.reset();
    s.visibleCalendarNames.reset();
    settings->apply(s, false);

    EXPECT_EQ(settings->focusMinutes(), 1);
    EXPECT_EQ(settings->ambienceVolume(), 1.0);
    EXPECT_EQ(settings->ambienceScene(), "stream");
    EXPECT_EQ(settings->externalTaskMode(), ExternalTaskMode::off);
    EXPECT_EQ(settings->focusVisual(), FocusVisual::ring);
    EXPECT_EQ(settings->bell(), "Bonsho") << "an unknown bell resets to the first";
    EXPECT_TRUE(settings->calendarEnabled());
    EXPECT_EQ(settings->planCalendarName(), QStringLiteral("here"));
    EXPECT_EQ(settings->recordCalendarName(), QStringLiteral("記録"));
    EXPECT_EQ(settings->visibleCalendarNames(), (QStringList{"x"}));
}

TEST_F(SnapshotTest, ForcedApplyOfOwnSnapshotChangesNothingButClampsStrays)
{
    settings->setMorningHour(30);
    settings->setVisibleCalendarNames(QStringList{"仕事"});
    prefs.setValue(QStringLiteral("longBreakMinutes"), 300); // carried over unclamped
    const SharedSettings own = settings->shared();
    settings->apply(own, true);
    SharedSettings expected = own;
    expected.longBreakMinutes = 120;
    EXPECT_EQ(settings->shared(), expected);
}

} // namespace
