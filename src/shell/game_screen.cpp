#include "shell/game_screen.h"

#include "gfx/draw.h"

namespace tessaly::shell {

void GameScreen::draw() {
    if (platform::Device* device = gfx::g_draw.device)
        device->clear(platform::ClearColor | platform::ClearDepth, 0xFF000000u, 1.0f, 0);
}

}  // namespace tessaly::shell
