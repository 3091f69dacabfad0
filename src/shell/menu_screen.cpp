#include "shell/menu_screen.h"

#include "fx/balloon.h"
#include "fx/particles.h"
#include "fx/scene.h"
#include "base/frame_clock.h"
#include "base/state_dump.h"
#include "gfx/draw.h"
#include "gfx/texture.h"
#include "menus/menu_dump.h"
#include "menus/menu_flow.h"
#include "menus/menu_runtime.h"
#include "platform/window.h"
#include "player/player_data.h"
#include "shell/game_screen.h"
#include "shell/hooks.h"
#include "sound/sound.h"

namespace tessaly::shell {

namespace {

bool customPointer() { return player::g_playerData.settings.customPointer != 0; }

}  // namespace

void MenuScreen::onEnter() {
    g_shell.tickSuspended = true;
    fx::clearParticles();
    fx::setSceneTintNow(2);
    fx::selectBackdrop(-1);
    sound::stopAllSounds();
    platform::showSystemCursor(!customPointer());
}

void MenuScreen::onLeave() {
    g_shell.tickSuspended = false;
    fx::clearParticles();
    platform::showSystemCursor(true);
}

void MenuScreen::step(float dtMs) {
    m_menuClockMs += dtMs;
    menus::stepMenus(dtMs);
    fx::stepBalloon(dtMs);
    fx::stepParticles(dtMs);
    fx::stepScene(dtMs, base::g_frame.animationClockMs);
    // Tune requests made by the menus fade and start here.
    sound::updateSound(dtMs);
}

void MenuScreen::draw() {
    gfx::g_draw.device->clear(platform::ClearColor | platform::ClearDepth, 0xFF000000u, 1.0f, 0);
    // The level map has its own picture; every other screen stands on the
    // menu land.
    gfx::begin2D();
    if (menus::g_menu.backgroundView == 1)
        menus::drawLevelMap(menus::currentMapView(m_menuClockMs));
    else
        fx::drawScene();
    gfx::begin2D();
    menus::drawMenus();
    gfx::begin2D();
    fx::drawParticles();
    gfx::begin2D();
    fx::drawBalloon();
    if (customPointer()) menus::drawMenuPointer(0, m_menuClockMs);
}

void MenuScreen::onKeyDown(int virtualKey) {
    menus::menuKeyDown(virtualKey);
    lastKey = virtualKey;
}

void MenuScreen::onLeftButtonDown() { menus::menuButtonDown(); }
void MenuScreen::onLeftDoubleClick() { menus::menuDoubleClick(); }
void MenuScreen::onLeftButtonUp() { menus::menuButtonUp(); }
void MenuScreen::onMouseMove() { menus::menuPointerMoved(); }

void connectMenus() {
    menus::g_menuShell.showMenuScreen = [] { requestScreen(&g_menuScreen); };
    menus::g_menuShell.showGameScreen = [] { requestScreen(&g_gameScreen); };
    menus::g_menuShell.gameScreenCurrent = [] {
        // A switch already asked for counts: the menus act on where play is going.
        Screen* s = g_screens.switchPending ? g_screens.pending : currentScreen();
        return s == &g_gameScreen;
    };
    menus::g_menuShell.quit = [] { requestQuit(); };
    menus::g_menuShell.applyFullscreen = [](bool fullscreen) { platform::setFullscreen(fullscreen); };
    menus::g_menuShell.pointerOptionChanged = [] { platform::showSystemCursor(!customPointer()); };
    g_hooks.openFirstMenu = &menus::openFirstMenu;
    g_hooks.resetMenuSelection = [] { menus::g_menu.selectedEntry = 0; };
    base::g_stateDump.add("menu", &menus::dumpMenuState);
}

}  // namespace tessaly::shell
