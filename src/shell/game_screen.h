// The game screen: the board, the panel and the in-game menus. Until the game
// rules are wired in it draws a black screen.
//
// Depends on: the shell's screens, the display device.
#pragma once

#include "shell/screen.h"

namespace tessaly::shell {

class GameScreen final : public Screen {
public:
    GameScreen() = default;
    GameScreen(const GameScreen&) = delete;
    GameScreen& operator=(const GameScreen&) = delete;

    const char* name() const override { return "game"; }
    void draw() override;
    void onKeyDown(int virtualKey) override { lastKey = virtualKey; }
};

inline GameScreen g_gameScreen;

}  // namespace tessaly::shell
