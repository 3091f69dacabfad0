// The devices the benchmarks draw on: the null device, or the OpenGL device
// of one window opened for the whole benchmark run (under SDL's offscreen
// driver unless SDL_VIDEODRIVER says otherwise).
#pragma once

#include <cstdlib>

#include "data/registry.h"
#include "data/text.h"
#include "fx/mesh.h"
#include "gfx/draw.h"
#include "gfx/font.h"
#include "gfx/texture.h"
#include "menus/menu_runtime.h"
#include "platform/device.h"
#include "platform/null/null_device.h"
#include "platform/window.h"
#include "player/player_data.h"
#include "player/profile_seat.h"
#include "shell/app.h"

namespace tessaly::bench {

// Null when no OpenGL window can be had.
inline platform::Device* glDevice() {
    if (!platform::windowDevice()) {
        setenv("SDL_VIDEODRIVER", "offscreen", 0);
        platform::openWindow({false, "Tessaly benchmark"});
    }
    return platform::windowDevice();
}

inline platform::Device* benchDevice(bool gl) {
    static platform::NullDevice nullDevice;
    return gl ? glDevice() : &nullDevice;
}

// The whole data set loaded afresh onto `device`, as start-up loads it,
// with one player ("ANNA") and no shell behind the menus.
inline void loadDataSet(platform::Device* device) {
    gfx::g_textures.clear();
    gfx::installDevice(device);
    data::g_registry.clear();
    data::g_registry.dataFolder = TESSALY_DATA_DIR;
    player::g_playerData = player::PlayerData{};
    data::freeTextTable();
    gfx::g_text = gfx::TextState{};
    fx::releaseMeshes();
    shell::loadResources(true, 1);
    player::createPlayer(player::g_playerData, "ANNA");
    player::installPlayerSeat();
    menus::g_menuShell = {};
}

}  // namespace tessaly::bench
