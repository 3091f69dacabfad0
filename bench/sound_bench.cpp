// The mixer's cost: rendering one second of audio, as the audio callback
// does in 1024-frame blocks, with 64 voices of the generated sounds playing
// at the game's pitched-up and pitched-down rates, and the music module
// playing a level tune on top. No device: the mixer is rendered by hand.
//
// Counter rt_fraction: CPU time spent per second of audio, shown as a time
// (6 ms = 0.6% of one core while the game plays).
//
// Run: ./tessaly_bench --benchmark_filter=Sound
#include <benchmark/benchmark.h>

#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

#include "platform/vorbis_decode.h"
#include "sound/mixer.h"
#include "sound/sound_system.h"

namespace {

using namespace tessaly::sound;

constexpr int kVoices = 64;
constexpr int kCallbackFrames = 1024;

std::vector<uint8_t> readData(const std::string& name) {
    std::ifstream in(std::string(TESSALY_DATA_DIR) + "/" + name, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

struct Setup {
    std::unique_ptr<Mixer> mixer = std::make_unique<Mixer>();
    std::vector<uint32_t> samples;
    std::vector<float> out = std::vector<float>(2 * kCallbackFrames);
};

// Sounds long enough to play through a whole second at any of the rates.
std::unique_ptr<Setup> makeSetup(bool voices, bool music) {
    auto setup = std::make_unique<Setup>();
    for (const char* name : {"Sounds/brook.ogg", "Sounds/waterfall.ogg", "Sounds/defeat.ogg", "Sounds/bomb2.ogg"}) {
        const auto bytes = readData(name);
        tessaly::platform::Sample s;
        if (tessaly::platform::decodeVorbis(bytes.data(), bytes.size(), s)) setup->samples.push_back(addSample(*setup->mixer, std::move(s)));
    }
    if (!voices) setup->samples.clear();
    if (music) {
        const auto bytes = readData("music.mo3");
        if (setup->mixer->music.load(bytes.data(), bytes.size())) {
            setup->mixer->music.setAmplify(kMusicAmplify);
            setup->mixer->music.start(tunePosition(3));
        }
    }
    setup->mixer->sampleVolume = kDefaultVolume;
    setup->mixer->musicVolume = kDefaultVolume;
    return setup;
}

void restartVoices(Setup& setup) {
    if (setup.samples.empty()) return;
    for (uint32_t s : setup.samples) stopSample(*setup.mixer, s);
    for (int i = 0; i < kVoices; ++i) {
        // 35..80 kHz, the span the game asks "ball.ogg" for.
        const int rate = 35000 + (i * 45000) / (kVoices - 1);
        playSample(*setup.mixer, setup.samples[size_t(i) % setup.samples.size()], rate);
    }
}

void renderOneSecond(benchmark::State& state, bool voices, bool music) {
    auto setup = makeSetup(voices, music);
    if ((voices && setup->samples.empty()) || (music && !setup->mixer->music.loaded())) {
        state.SkipWithError("the generated data set is missing");
        return;
    }
    for (auto _ : state) {
        state.PauseTiming();
        restartVoices(*setup);
        state.ResumeTiming();
        for (int done = 0; done < kOutputRateHz; done += kCallbackFrames) {
            mix(*setup->mixer, setup->out.data(), std::min(kCallbackFrames, kOutputRateHz - done));
        }
        benchmark::DoNotOptimize(setup->out.data());
        benchmark::ClobberMemory();
    }
    if (voices && activeVoices(*setup->mixer) != kVoices) state.SkipWithError("a voice ended before the second did");
    state.counters["rt_fraction"] = benchmark::Counter(double(state.iterations()), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void Sound_Mix64VoicesAndMusic(benchmark::State& state) { renderOneSecond(state, true, true); }
void Sound_Mix64Voices(benchmark::State& state) { renderOneSecond(state, true, false); }
void Sound_MixMusic(benchmark::State& state) { renderOneSecond(state, false, true); }

BENCHMARK(Sound_Mix64VoicesAndMusic)->Unit(benchmark::kMillisecond);
BENCHMARK(Sound_Mix64Voices)->Unit(benchmark::kMillisecond);
BENCHMARK(Sound_MixMusic)->Unit(benchmark::kMillisecond);

}  // namespace
