// Cost of rendering the ambience at 48 kHz: one 512-frame block and one
// second of each scene through the voice, the mixer and the reverb; one second
// of the voice alone; and the one-time rendering of a bell.
#include "platform/audio/AudioMixer.h"
#include "sound/AmbienceScene.h"
#include "sound/AmbienceVoice.h"
#include "sound/Chime.h"

#include <benchmark/benchmark.h>
#include <vector>

namespace {

constexpr double rate = 48000.0;

void renderScene(benchmark::State &state, AmbienceScene scene, int frames)
{
    AmbienceVoice voice(rate);
    AudioMixer mixer(rate);
    mixer.addInput(&voice);
    mixer.reverb().setWetDryMix(AmbienceScenes::reverbMix(scene));
    voice.setPendingScene(scene);
    voice.setTarget(0.55f);
    std::vector<float> left(static_cast<std::size_t>(frames));
    std::vector<float> right(static_cast<std::size_t>(frames));
    mixer.render(frames, left.data(), right.data()); // apply the scene, warm up
    for (auto _ : state) {
        mixer.render(frames, left.data(), right.data());
        benchmark::DoNotOptimize(left.data());
        benchmark::DoNotOptimize(right.data());
    }
    state.counters["x_realtime"] = benchmark::Counter(double(frames) / rate, benchmark::Counter::kIsIterationInvariantRate);
}

// The voice alone, without the mixer and reverb.
void renderVoice(benchmark::State &state, AmbienceScene scene)
{
    AmbienceVoice voice(rate);
    voice.setPendingScene(scene);
    voice.setTarget(0.55f);
    std::vector<float> left(48000);
    std::vector<float> right(48000);
    voice.render(48000, left.data(), right.data());
    for (auto _ : state) {
        voice.render(48000, left.data(), right.data());
        benchmark::DoNotOptimize(left.data());
        benchmark::DoNotOptimize(right.data());
    }
    state.counters["x_realtime"] = benchmark::Counter(1.0, benchmark::Counter::kIsIterationInvariantRate);
}

void registerScenes()
{
    for (AmbienceScene scene : AmbienceScenes::all) {
        if (scene == AmbienceScene::silent || scene == AmbienceScene::custom)
            continue;
        const std::string name = AmbienceScenes::rawValue(scene).toStdString();
        benchmark::RegisterBenchmark(("block512/" + name).c_str(),
                                     [scene](benchmark::State &s) { renderScene(s, scene, 512); });
        benchmark::RegisterBenchmark(("second/" + name).c_str(),
                                     [scene](benchmark::State &s) { renderScene(s, scene, 48000); })
            ->Unit(benchmark::kMillisecond);
        benchmark::RegisterBenchmark(("voiceSecond/" + name).c_str(),
                                     [scene](benchmark::State &s) { renderVoice(s, scene); })
            ->Unit(benchmark::kMillisecond);
    }
}

void BellRender(benchmark::State &state)
{
    const auto bell = *Chime::Bell::fromRawValue(int(state.range(0)));
    for (auto _ : state)
        benchmark::DoNotOptimize(Chime::render(bell, rate));
    state.SetLabel(bell.name().toStdString());
}
BENCHMARK(BellRender)->DenseRange(0, 4)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char **argv)
{
    registerScenes();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
