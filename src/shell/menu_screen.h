// The menu screen: the menus over a background (view 0 and 4 the scenery,
// 1 the level map). Each frame steps the menu runtime and then draws the
// background, the menus, the tooltip balloon and, with the custom pointer
// option, the drawn pointer.
//
// Depends on: the shell's screens and flags, the menu runtime, the display
// device, the balloon, the sound.
#pragma once

#include "shell/screen.h"

namespace tessaly::shell {

class MenuScreen final : public Screen {
public:
    MenuScreen() = default;
    MenuScreen(const MenuScreen&) = delete;
    MenuScreen& operator=(const MenuScreen&) = delete;

    const char* name() const override { return "menu"; }
    void onEnter() override;
    void onLeave() override;
    void step(float dtMs) override;
    void draw() override;
    void onKeyDown(int virtualKey) override;
    void onLeftButtonDown() override;
    void onLeftDoubleClick() override;
    void onLeftButtonUp() override;
    void onMouseMove() override;

    float menuClockMs() const { return m_menuClockMs; }

private:
    float m_menuClockMs = 0;  // advanced by the frame step while shown, ms
};

inline MenuScreen g_menuScreen;

// Wires the menus to the shell (screen switches, quitting, the full-screen
// choice, the pointer) and adds the menu state to the state dump.
void connectMenus();

}  // namespace tessaly::shell
