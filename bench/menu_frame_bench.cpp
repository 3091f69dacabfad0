// One frame of the menus: Menu_Frame/screen/device.
//
// screen 0 is the main menu over its backdrop (panel with its glints, the
// eight items, the greeting and the player link, the drawn pointer); screen
// 1 is "levelcomplete" over a full board of play, the count running; screen
// 2 the classic mode screen over the level map (the map, 70 marks, 15
// treasures, the preview board) with every level open; screen 3 the help
// screen with its demonstration playing. Device
// 0 is the null device (CPU per frame: the menus' step and their
// submission), 1 the OpenGL device under the offscreen driver at 800 x 600
// with a present per frame. Counters: draw calls and flushes per frame.
//
// Run: ./tessaly_bench --benchmark_filter=Menu_Frame
#include <benchmark/benchmark.h>

#include "bench_boards.h"
#include "bench_devices.h"
#include "data/registry.h"
#include "game/play_host.h"
#include "game/play_screen.h"
#include "data/text.h"
#include "gfx/draw.h"
#include "gfx/font.h"
#include "gfx/texture.h"
#include "menus/help_demo.h"
#include "menus/menu_flow.h"
#include "menus/menu_runtime.h"
#include "player/player_data.h"
#include "player/profile_seat.h"
#include "shell/app.h"
#include "shell/game_screen.h"
#include "shell/menu_screen.h"
#include "sound/sound.h"

namespace {

using namespace tessaly;

constexpr float kFrameMs = 16;

void Menu_Frame(benchmark::State& state) {
    const int which = int(state.range(0));
    const bool overPlay = which == 1;
    const bool gl = state.range(1) == 1;
    platform::Device* device = bench::benchDevice(gl);
    if (!device) {
        state.SkipWithError("no OpenGL device");
        return;
    }
    bench::loadDataSet(device);
    player::g_playerData.settings.customPointer = 1;

    shell::Screen* screen = &shell::g_menuScreen;
    if (overPlay) {
        game::startPlay(game::Mode::Classic, 12);
        bench::fillBoard(game::g_game);
        game::g_game.levelScore = 1000000;  // the count runs for its whole 2.5 s
        screen = &shell::g_gameScreen;
        menus::g_menuShell.gameScreenCurrent = [] { return true; };
        game::g_playHost.openScreen("levelcomplete");
    } else if (which == 2) {
        menus::g_allLevelsOpen = true;
        menus::openScreen("mode1");
    } else if (which == 3) {
        menus::openScreen("helpscreen");
    } else {
        menus::openScreen("main");
    }
    gfx::worldToScreenCursor(-120, 40);
    auto frame = [&] {
        screen->step(kFrameMs);
        screen->draw();
        device->present();
        // The count starts again before it ends, so every frame counts.
        if (overPlay && menus::g_menu.count.elapsedMs > 2000) menus::g_menu.count.elapsedMs = 0;
    };
    for (int i = 0; i < 40; ++i) frame();  // the fade-in ends
    const uint64_t calls0 = device->stats().drawCalls, flushes0 = device->stats().flushes;
    for (auto _ : state) frame();
    const double frames = double(state.iterations());
    state.counters["drawCalls/frame"] = double(device->stats().drawCalls - calls0) / frames;
    state.counters["flushes/frame"] = double(device->stats().flushes - flushes0) / frames;

    menus::g_allLevelsOpen = false;
    menus::stopHelpDemo();
    menus::resetMenus();
    sound::shutdownSound();
    gfx::g_textures.clear();
    gfx::installDevice(nullptr);
}
BENCHMARK(Menu_Frame)->ArgsProduct({{0, 1, 2, 3}, {0, 1}})->Unit(benchmark::kMillisecond);

}  // namespace
