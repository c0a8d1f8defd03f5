// Cost of rendering the ambience at 48 kHz: one 512-frame block and one
// second of each scene through the voice, the mixer and the reverb; one second
// of the voice alone and of the reverb alone; and the one-time rendering of a
// bell. x_realtime is how many seconds of sound one second of one core makes.
#include "platform/audio/AudioMixer.h"
#include "platform/audio/DenormalFlush.h"
#include "platform/audio/Reverb.h"
#include "sound/AmbienceScene.h"
#include "sound/AmbienceVoice.h"
#include "sound/Chime.h"

#include <benchmark/benchmark.h>
#include <algorithm>
#include <cstdint>
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
    ScopedDenormalFlush flush; // as on the audio thread
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
    ScopedDenormalFlush flush;
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

// The reverb alone over a second of noise, as the mixer runs it.
void ReverbSecond(benchmark::State &state)
{
    Reverb reverb(rate);
    reverb.setWetDryMix(55.0f);
    std::vector<float> left(48000), right(48000);
    std::uint32_t x = 1;
    for (std::size_t i = 0; i < left.size(); ++i) {
        x = x * 1664525u + 1013904223u;
        left[i] = float(int(x >> 8) - (1 << 23)) / float(1 << 23) * 0.2f;
        right[i] = -left[i];
    }
    std::vector<float> l(512), r(512);
    ScopedDenormalFlush flush; // as on the audio thread
    for (auto _ : state) {
        for (std::size_t done = 0; done < left.size(); done += 512) {
            std::copy_n(left.begin() + long(done), 512, l.begin());
            std::copy_n(right.begin() + long(done), 512, r.begin());
            reverb.process(512, l.data(), r.data());
            benchmark::DoNotOptimize(l.data());
        }
    }
    state.counters["x_realtime"] = benchmark::Counter(1.0, benchmark::Counter::kIsIterationInvariantRate);
}
BENCHMARK(ReverbSecond)->Unit(benchmark::kMillisecond);

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
