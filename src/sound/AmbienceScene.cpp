#include "sound/AmbienceScene.h"

#include "core/L.h"

namespace AmbienceScenes {
namespace {

struct Row
{
    const char *raw;
    const char *title;
    const char *detail;
    float reverb;
};

// Indexed by the scene's position in the enumeration.
constexpr std::array<Row, 13> rows = {{
    {"silent", "無音", "何も流さない", 0.0f},
    {"bell", "鈴の間", "ときおり鉢が撞かれ、堂に響きが残る", 55.0f},
    {"singingBowl", "シンギングボウル", "縁をこすり続けて鳴らす。うなりが寄せては引く", 48.0f},
    {"waterJar", "水琴窟", "甕にしずくが落ち、澄んだ音が返る", 62.0f},
    {"chime", "風鈴", "風の吹くたび、硝子が鳴る", 44.0f},
    {"stream", "せせらぎ", "石をまわる水の流れ", 22.0f},
    {"surf", "潮騒", "寄せては返す波。長い息づかい", 20.0f},
    {"rain", "雨", "軒を打つ雨。粒と、低い響き", 26.0f},
    {"wind", "松風", "松を渡る風。寄せては引く", 34.0f},
    {"insects", "虫の音", "宵の草むら。三匹ほどの鈴虫", 30.0f},
    {"embers", "炭火", "炭がはぜる。低い熱の音", 24.0f},
    {"heartbeat", "心音", "胸に耳をあてたときの鼓動。息づかいで、速さがわずかに揺れる", 12.0f},
    {"custom", "読み込んだ音", "手元の音源をくり返し流す", 0.0f},
}};

const Row &rowOf(AmbienceScene scene) { return rows[std::size_t(scene)]; }

} // namespace

QString rawValue(AmbienceScene scene) { return QString::fromLatin1(rowOf(scene).raw); }

std::optional<AmbienceScene> fromRawValue(const QString &raw)
{
    for (AmbienceScene scene : all) {
        if (raw == QLatin1String(rowOf(scene).raw))
            return scene;
    }
    return std::nullopt;
}

QString title(AmbienceScene scene) { return L(QString::fromUtf8(rowOf(scene).title)); }

QString detail(AmbienceScene scene) { return L(QString::fromUtf8(rowOf(scene).detail)); }

float reverbMix(AmbienceScene scene) { return rowOf(scene).reverb; }

} // namespace AmbienceScenes
