#include "shell/game_screen.h"

#include "base/frame_clock.h"
#include "base/math.h"
#include "fx/scene.h"
#include "game/play_dump.h"
#include "game/play_screen.h"
#include "gfx/draw.h"
#include "menus/menu_runtime.h"
#include "platform/window.h"
#include "player/player_data.h"
#include "shell/hooks.h"
#include "shell/state_dump.h"

namespace tessaly::shell {

namespace {

base::Vec2 cursor() {
    base::Vec2 p;
    gfx::screenToWorldCursor(&p.x, &p.y);
    return p;
}

}  // namespace

void GameScreen::step(float dtMs) {
    // The menus over the board (the in-game menu, the result screens) first,
    // so that a screen closed by this frame's input lets play take the frame.
    if (menus::menuShown()) menus::stepMenus(dtMs);
    game::playStep(dtMs);
    // The land behind the board fades to the time of day play shows.
    fx::setSceneTint(game::g_playView.scene);
    fx::stepScene(dtMs, base::g_frame.animationClockMs);
    m_pointerClockMs += dtMs;
    // The drawn pointer stands in for the system's in the normal kind; the
    // hammer and question kinds are drawn by play itself.
    if (drawnPointer()) platform::showSystemCursor(false);
}

bool GameScreen::drawnPointer() const {
    return player::g_playerData.settings.customPointer && game::g_game.cursorMode == game::CursorMode::Normal;
}

void GameScreen::draw() {
    game::drawPlay(game::g_playHost);
    if (drawnPointer()) menus::drawMenuPointer(0, m_pointerClockMs);
}

void GameScreen::onKeyDown(int virtualKey) {
    game::playKeyDown(game::g_playHost, virtualKey);
    lastKey = virtualKey;
}

void GameScreen::onLeftButtonDown() { game::playLeftButtonDown(game::g_playHost, cursor()); }
void GameScreen::onLeftDoubleClick() { game::playLeftDoubleClick(game::g_playHost, cursor()); }
void GameScreen::onLeftButtonUp() {
    menus::menuButtonUp();
    game::playLeftButtonUp(game::g_playHost, cursor());
}
void GameScreen::onRightButtonDown() { game::playRightButtonDown(game::g_playHost); }
void GameScreen::onRightButtonUp() { game::playRightButtonUp(game::g_playHost); }
void GameScreen::onMiddleButtonDown() { game::playMiddleButtonDown(game::g_playHost); }
void GameScreen::onMouseMove() {
    menus::menuPointerMoved();
    game::playMouseMove(game::g_playHost, cursor());
}

void connectGameScreen() {
    game::g_playHost.screenIsCurrent = [] { return currentScreen() == &g_gameScreen; };
    g_hooks.clearBoardHover = [] { game::clearPlayHover(game::g_playView); };
    base::g_stateDump.add("game", [](base::JsonWriter& json) { game::dumpPlayState(json, game::g_playHost); });
    base::g_stateDump.add("lookups", [](base::JsonWriter& json) { game::dumpLookupMisses(json); });
    base::g_stateDump.add("pools", [](base::JsonWriter& json) { game::dumpPoolUse(json); });
}

}  // namespace tessaly::shell
