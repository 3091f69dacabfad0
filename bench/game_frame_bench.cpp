// One whole frame of the gameplay screen at full load: a board full of
// balls (a few chained, on squares), a ball selected with its path previewed
// under the pointer, the idle hint's path, pieces popping, 1024 particles,
// a few hundred sparks, sixteen floating texts, the message line, the panel
// with a running score and a charged hammer, and a tip balloon.
//
// Game_Frame/0 runs on the null device: the CPU cost of the rules' step and
// of submitting the frame (the aim is under 2 ms). Game_Frame/1 runs on the
// OpenGL device under the offscreen driver at 800 x 600 (Mesa's software
// renderer when headless, so its time is mostly the rasteriser's), with a
// present per frame. Counters per frame: draw calls that reached the
// backend, flushes (each one upload of the queued vertices), and quads
// submitted.
//
// Run: ./tessaly_bench --benchmark_filter=Game_Frame
#include <benchmark/benchmark.h>

#include <memory>

#include "base/random.h"
#include "bench_boards.h"
#include "bench_devices.h"
#include "data/registry.h"
#include "data/text.h"
#include "fx/floating_text.h"
#include "fx/particles.h"
#include "fx/sparks.h"
#include "game/board.h"
#include "game/flow.h"
#include "game/moves.h"
#include "game/play_host.h"
#include "game/play_screen.h"
#include "game/play_textures.h"
#include "gfx/draw.h"
#include "gfx/font.h"
#include "gfx/message_line.h"
#include "gfx/sprite_sheet.h"
#include "gfx/texture.h"

namespace {

using namespace tessaly;

constexpr float kFrameMs = 16;

// Everything the game screen draws, loaded afresh for `device` (pack
// entries are served once, so the packs are read again too).
void loadGameData(platform::Device& device) {
    gfx::g_textures.clear();
    gfx::g_draw.device = &device;
    gfx::g_textures.device = &device;
    data::g_registry.clear();
    data::g_registry.dataFolder = TESSALY_DATA_DIR;
    data::g_registry.loadPack("targa.dat");
    data::g_registry.loadPack("jpeg.dat");
    data::g_registry.loadPack("texts.dat");
    data::freeTextTable();
    data::loadTextTable("strings.txt");
    data::loadTextTable("tips.txt");
    gfx::g_text = gfx::TextState{};
    gfx::loadFont("font");
    game::loadPlayTextures();
    fx::loadParticleEffects();
    gfx::loadSpriteSheet();
}

// Keeps the effect systems as full as a busy frame of play has them.
void feedEffects(game::PlayHost& host, int frame) {
    while (fx::liveParticleCount(fx::g_particles) < fx::kMaxParticles) {
        fx::g_particles.chainCount = 0;
        fx::startEffectByName("ball1", base::randomSigned(300) - 40, base::randomSigned(250));
    }
    if (frame % 4 == 0) fx::sparkBurstAt(base::randomSigned(300) - 40, base::randomSigned(250), 1);
    for (const fx::FloatingText& t : fx::g_floatingTexts.slots)
        if (t.life <= 0) fx::addFloatingText("Combo x 3", base::randomSigned(300) - 40, base::randomSigned(250), 20, 2000);
    if (frame % 60 == 0) host.showMessage("readyhammer");
    if (frame % 30 == 0) host.addToTotalScore(5000);  // the shown score keeps running
}

// range(0): 0 the null device, 1 OpenGL.
void Game_Frame(benchmark::State& state) {
    const bool gl = state.range(0) == 1;
    platform::Device* device = bench::benchDevice(gl);
    if (!device) {
        state.SkipWithError("no OpenGL device");
        return;
    }
    loadGameData(*device);
    base::seedRandom(1);

    auto game = std::make_unique<game::GameState>();
    auto view = std::make_unique<game::PlayView>();
    game::DefaultPlayer player;
    game::PlayHost host(*view, *game, player);
    if (!game::startPlay(host, game::Mode::Classic, 12)) {
        state.SkipWithError("level 12 can't be loaded");
        return;
    }
    bench::fillBoard(*game);
    // The tips of the level start stay queued behind one open tip.
    game::closeTip(view->tips);
    game::queueTip(view->tips, game::firstTimeTip("diamond", game::cellCentre(8, 8), 0, {8, 8}), true);
    game::selectBall(*game, {11, 11});
    view->cursor = game::cellCentre(12, 11);
    game->hint = {{14, 11}, {13, 11}, game::kHintShowMs};

    // Warm up: the balloon grows in, the effects fill up.
    int frame = 0;
    for (; frame < 30; ++frame) {
        feedEffects(host, frame);
        game::stepPlay(host, kFrameMs);
        game::stepPlayEffects(host, kFrameMs);
        game::drawPlay(host);
        device->present();
    }
    const uint64_t calls0 = device->stats().drawCalls, quads0 = device->stats().primitiveCalls;
    const uint64_t flushes0 = device->stats().flushes;
    for (auto _ : state) {
        feedEffects(host, frame++);
        game::stepPlay(host, kFrameMs);
        game::stepPlayEffects(host, kFrameMs);
        game->idleMs = 0;  // the hint stays as it is
        game->hint.timeLeftMs = game::kHintShowMs;
        game::drawPlay(host);
        device->present();
    }
    const double frames = double(state.iterations());
    state.counters["drawCalls/frame"] = double(device->stats().drawCalls - calls0) / frames;
    state.counters["quads/frame"] = double(device->stats().primitiveCalls - quads0) / frames;
    state.counters["flushes/frame"] = double(device->stats().flushes - flushes0) / frames;
    state.counters["particles"] = fx::liveParticleCount(fx::g_particles);
    state.counters["sparks"] = fx::activeSparkCount(fx::g_sparks);

    gfx::g_textures.clear();
    gfx::installDevice(nullptr);
}
BENCHMARK(Game_Frame)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

}  // namespace
