#include "shell/menu_screen.h"

#include "gfx/draw.h"
#include "platform/keys.h"
#include "shell/frame_clock.h"
#include "sound/sound.h"

namespace tessaly::shell {

void MenuScreen::onEnter() {
    g_shell.tickSuspended = true;
    sound::stopAllSounds();
}

void MenuScreen::onLeave() { g_shell.tickSuspended = false; }

void MenuScreen::afterFrame() {
    // Without menus yet, Esc is the way out of the game.
    if (lastKey == platform::VkEscape) requestQuit();
    Screen::afterFrame();
}

void MenuScreen::draw() {
    m_menuClockMs += g_frame.frameStepMs;
    if (platform::Device* device = gfx::g_draw.device)
        device->clear(platform::ClearColor | platform::ClearDepth, 0xFF000000u, 1.0f, 0);
}

}  // namespace tessaly::shell
