#include "sound/AmbienceScene.h"
#include "sound/Chime.h"

#include <gtest/gtest.h>

TEST(AmbienceSceneNames, RawValuesRoundTripInPickerOrder)
{
    const char *expected[] = {"silent", "bell",    "singingBowl", "waterJar", "chime",     "stream", "surf",
                              "rain",   "wind",    "insects",     "embers",   "heartbeat", "custom"};
    ASSERT_EQ(std::size(expected), AmbienceScenes::all.size());
    for (std::size_t i = 0; i < AmbienceScenes::all.size(); ++i) {
        const AmbienceScene scene = AmbienceScenes::all[i];
        EXPECT_EQ(int(scene), int(i));
        EXPECT_EQ(AmbienceScenes::rawValue(scene), QLatin1String(expected[i]));
        EXPECT_EQ(AmbienceScenes::fromRawValue(QLatin1String(expected[i])), scene);
    }
    for (const char *other : {"", "Bell", "singingbowl", "silent ", "none"})
        EXPECT_EQ(AmbienceScenes::fromRawValue(QLatin1String(other)), std::nullopt) << other;
}

TEST(ChimeBellNames, FromGivesTheNamedBellOrTemple)
{
    struct Case
    {
        std::optional<QString> name;
        Chime::Bell expected;
    };
    const Case cases[] = {
        {std::nullopt, Chime::Bell::temple},
        {QString(), Chime::Bell::temple},
        {QStringLiteral("bonsho"), Chime::Bell::temple},
        {QStringLiteral("Bonsho"), Chime::Bell::temple},
        {QStringLiteral("Kansho"), Chime::Bell::small},
        {QStringLiteral("Keisu"), Chime::Bell::keisu},
        {QStringLiteral("Inkin"), Chime::Bell::inkin},
        {QStringLiteral("Mokugyo"), Chime::Bell::mokugyo},
        {QStringLiteral("MOKUGYO"), Chime::Bell::temple},
    };
    for (const Case &c : cases)
        EXPECT_EQ(Chime::Bell::from(c.name), c.expected) << c.name.value_or(QStringLiteral("<none>")).toStdString();

    for (Chime::Bell bell : Chime::Bell::all()) {
        EXPECT_EQ(Chime::Bell::fromName(bell.name()), bell);
        EXPECT_EQ(Chime::Bell::fromRawValue(bell.rawValue()), bell);
    }
    EXPECT_EQ(Chime::Bell::fromName(QStringLiteral("kansho")), std::nullopt);
    EXPECT_EQ(Chime::Bell::fromRawValue(5), std::nullopt);
    EXPECT_EQ(Chime::Bell::fromRawValue(-1), std::nullopt);
}
