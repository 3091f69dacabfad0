// The landscapes' cost: Scene_Frame/what/device.
//
// what 0 is the busiest land alone (the one with the most objects: skies,
// water, falls, spray puffs, branches), stepped and drawn as the game screen
// draws it; what 1 is a whole game frame over that land with a full board,
// so that the land's share of a frame can be read off. Device 0 is the null
// device (CPU per frame), 1 the OpenGL device under the offscreen driver at
// 800 x 600 with a present per frame. Counters: draw calls per frame and the
// land's objects.
//
// Run: ./tessaly_bench --benchmark_filter=Scene_Frame
#include <benchmark/benchmark.h>

#include "base/frame_clock.h"
#include "bench_boards.h"
#include "bench_devices.h"
#include "data/registry.h"
#include "data/text.h"
#include "fx/mesh.h"
#include "fx/scene.h"
#include "game/play_host.h"
#include "game/play_screen.h"
#include "gfx/draw.h"
#include "gfx/font.h"
#include "gfx/texture.h"
#include "menus/menu_runtime.h"
#include "player/player_data.h"
#include "player/profile_seat.h"
#include "shell/app.h"
#include "shell/game_screen.h"
#include "sound/sound.h"

namespace {

using namespace tessaly;

constexpr float kFrameMs = 16;

// The land with the most objects, and the first level standing on it.
int busiestLand() {
    int best = 1, most = -1;
    for (int k = 1; k < fx::kLandCount; ++k) {
        fx::SceneLand& land = fx::g_scene.next;
        fx::loadScene(fx::g_scene, land, k, false);
        if (land.count > most) most = land.count, best = k;
    }
    fx::g_scene.next.count = 0;
    return best;
}

void Scene_Frame(benchmark::State& state) {
    const bool wholeFrame = state.range(0) == 1;
    const bool gl = state.range(1) == 1;
    platform::Device* device = bench::benchDevice(gl);
    if (!device) {
        state.SkipWithError("no OpenGL device");
        return;
    }
    bench::loadDataSet(device);

    const int land = busiestLand();
    const int level = (land - 1) * fx::kLevelsPerLand;
    if (wholeFrame) {
        game::startPlay(game::Mode::Classic, level);
        bench::fillBoard(game::g_game);
    } else {
        fx::selectBackdrop(level);
    }
    float clockMs = 0;
    auto frame = [&] {
        if (wholeFrame) {
            shell::g_gameScreen.step(kFrameMs);
            shell::g_gameScreen.draw();
        } else {
            fx::stepScene(kFrameMs, clockMs);
            device->clear(platform::ClearColor | platform::ClearDepth, 0xFF000000u, 1.0f, 0);
            gfx::begin2D();
            fx::drawSceneChanging();
        }
        device->present();
        clockMs += kFrameMs;
        base::g_frame.animationClockMs = clockMs;
    };
    for (int i = 0; i < 200; ++i) frame();  // the spray puffs fill up
    const uint64_t calls0 = device->stats().drawCalls;
    for (auto _ : state) frame();
    state.counters["drawCalls/frame"] = double(device->stats().drawCalls - calls0) / double(state.iterations());
    state.counters["objects"] = fx::g_scene.current.count;
    state.counters["land"] = land;

    fx::releaseScene(fx::g_scene);
    fx::releaseMeshes();
    sound::shutdownSound();
    gfx::g_textures.clear();
    gfx::installDevice(nullptr);
}
BENCHMARK(Scene_Frame)->ArgsProduct({{0, 1}, {0, 1}})->Unit(benchmark::kMillisecond);

}  // namespace
