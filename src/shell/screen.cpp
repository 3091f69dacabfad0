#include "shell/screen.h"

#include <cstring>

#include "fx/scene.h"
#include "game/game_state.h"
#include "menus/menu_flow.h"
#include "gfx/message_line.h"
#include "shell/game_screen.h"
#include "shell/hooks.h"
#include "shell/menu_screen.h"

namespace tessaly::shell {

namespace {

struct CodeEntry {
    const char* letters;  // newest letter first
    ScreenKind where;     // Other: every screen
    TypedCode code;
};

// Tested in this order: the six-letter menu code before the four-letter one
// that is its newest four letters, or the long code could never match.
constexpr CodeEntry kCodes[] = {
    {"ZQWVXJ", ScreenKind::Menu, TypedCode::AllLevels},
    {"ZQWV", ScreenKind::Menu, TypedCode::ResetLevels},
    {"JXQZWVKP", ScreenKind::Game, TypedCode::CheatKeys},
    {"QXZ", ScreenKind::Other, TypedCode::StatsOverlay},
};

}  // namespace

TypedCode TypedCodes::push(int key, ScreenKind where) {
    const auto c = static_cast<signed char>(key & 0xFF);
    if (c < 'A' || c > 'Z') return TypedCode::None;
    std::memmove(history + 1, history, sizeof history - 2);
    history[sizeof history - 1] = '\0';
    history[0] = c;
    for (const CodeEntry& entry : kCodes) {
        if (entry.where != ScreenKind::Other && entry.where != where) continue;
        if (std::strncmp(history, entry.letters, std::strlen(entry.letters)) == 0) return entry.code;
    }
    return TypedCode::None;
}

bool TypedCodes::feed(int key) {
    const Screen* screen = currentScreen();
    const ScreenKind where = screen == &g_menuScreen   ? ScreenKind::Menu
                             : screen == &g_gameScreen ? ScreenKind::Game
                                                       : ScreenKind::Other;
    const TypedCode code = push(key, where);
    applyTypedCode(code, g_shell);
    menus::g_allLevelsOpen = g_shell.allLevelsSelectable;
    // The rules read the cheat keys from their own record.
    game::g_game.cheatKeys = g_shell.cheatKeys;
    return code != TypedCode::None;
}

void applyTypedCode(TypedCode code, ShellFlags& flags) {
    switch (code) {
    case TypedCode::None:
        break;
    case TypedCode::AllLevels:
        flags.allLevelsSelectable = true;
        break;
    case TypedCode::ResetLevels:
        flags.allLevelsSelectable = false;
        if (g_hooks.resetMenuSelection) g_hooks.resetMenuSelection();
        break;
    case TypedCode::CheatKeys:
        flags.cheatKeys = !flags.cheatKeys;
        gfx::showMessage(gfx::g_messageLine,
                         flags.cheatKeys ? "Cheat key enabled" : "Cheat key disabled");
        break;
    case TypedCode::StatsOverlay:
        flags.statsOverlay = !flags.statsOverlay;
        break;
    }
}

void Screen::afterFrame() {
    g_typedCodes.feed(lastKey);
    // Work that creates device textures waits until the frame is presented.
    if (g_hooks.deferredDeviceWork) g_hooks.deferredDeviceWork();
    // A land change asked for in this frame starts here, its backdrop loaded
    // after the frame was shown.
    fx::startBackdropChange();
    lastKey = 0;
}

void requestScreen(ScreenSwitch& screens, Screen* screen) {
    screens.pending = screen;
    screens.switchPending = true;
}

void switchPendingScreen(ScreenSwitch& screens) {
    if (!screens.switchPending) return;
    screens.switchPending = false;
    Screen* next = screens.pending;
    screens.pending = nullptr;
    if (screens.current) screens.current->onLeave();
    if (next) next->onEnter();
    screens.current = next;
}

void requestScreen(Screen* screen) { requestScreen(g_screens, screen); }
void switchPendingScreen() { switchPendingScreen(g_screens); }
void requestQuit() { g_shell.quitRequested = true; }

}  // namespace tessaly::shell
