#include "shell/menu_screen.h"

#include "fx/particles.h"
#include "gfx/draw.h"
#include "platform/keys.h"
#include "sound/sound.h"

namespace tessaly::shell {

void MenuScreen::onEnter() {
    g_shell.tickSuspended = true;
    fx::clearParticles();
    sound::stopAllSounds();
}

void MenuScreen::onLeave() {
    g_shell.tickSuspended = false;
    fx::clearParticles();
}

void MenuScreen::afterFrame() {
    // Without menus yet, Esc is the way out of the game.
    if (lastKey == platform::VkEscape) requestQuit();
    Screen::afterFrame();
}

void MenuScreen::step(float dtMs) {
    m_menuClockMs += dtMs;
    // Tune requests made by the menus fade and start here.
    sound::updateSound(dtMs);
}

void MenuScreen::draw() {
    gfx::g_draw.device->clear(platform::ClearColor | platform::ClearDepth, 0xFF000000u, 1.0f, 0);
}

}  // namespace tessaly::shell
