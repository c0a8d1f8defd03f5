#pragma once

#include <QString>
#include <array>
#include <cstdint>
#include <optional>

// The ambience scenes, in the order of the picker. The stored name of each is
// its case name ("silent", "singingBowl", ...).
enum class AmbienceScene : std::int8_t {
    silent,
    bell,
    singingBowl,
    waterJar,
    chime,
    stream,
    surf,
    rain,
    wind,
    insects,
    embers,
    heartbeat,
    custom,
};

namespace AmbienceScenes {

inline constexpr std::array<AmbienceScene, 13> all = {
    AmbienceScene::silent, AmbienceScene::bell,   AmbienceScene::singingBowl, AmbienceScene::waterJar,
    AmbienceScene::chime,  AmbienceScene::stream, AmbienceScene::surf,        AmbienceScene::rain,
    AmbienceScene::wind,   AmbienceScene::insects, AmbienceScene::embers,     AmbienceScene::heartbeat,
    AmbienceScene::custom,
};

// The stored name of a scene.
QString rawValue(AmbienceScene scene);
// The scene with that stored name (exact match), or nothing.
std::optional<AmbienceScene> fromRawValue(const QString &raw);

// The picker's title and one-line description, in the interface language.
QString title(AmbienceScene scene);
QString detail(AmbienceScene scene);

// The reverb's wet/dry mix (0-100) for a scene; silent has none and gives 0.
float reverbMix(AmbienceScene scene);

} // namespace AmbienceScenes
