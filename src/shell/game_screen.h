// The game screen: play on the board with the panel, and the in-game menus
// over it. Each operation hands over to the gameplay screen of the rules
// (game/play_screen.h) with the pointer in screen units; the screen object
// itself stays the one the shell compares with (typed codes, save on close).
//
// Depends on: the shell's screens, the gameplay screen.
#pragma once

#include "shell/screen.h"

namespace tessaly::shell {

class GameScreen final : public Screen {
public:
    GameScreen() = default;
    GameScreen(const GameScreen&) = delete;
    GameScreen& operator=(const GameScreen&) = delete;

    const char* name() const override { return "game"; }
    void step(float dtMs) override;
    void draw() override;
    void onKeyDown(int virtualKey) override;
    void onLeftButtonDown() override;
    void onLeftDoubleClick() override;
    void onLeftButtonUp() override;
    void onRightButtonDown() override;
    void onRightButtonUp() override;
    void onMiddleButtonDown() override;
    void onMouseMove() override;

private:
    bool drawnPointer() const;
    float m_pointerClockMs = 0;
};

inline GameScreen g_gameScreen;

// Wires the gameplay screen to the shell: the host learns when the game
// screen is current, the focus hook clears the hovered cell, and the state
// dump gains the game's fields. Called once at start-up.
void connectGameScreen();

}  // namespace tessaly::shell
