// The hammer: charged by removing balls (see removal.cpp), armed from its
// panel button once the charge is full, and struck on one piece of the
// player's choice, which it removes (or frees from one chain). A strike
// starts no removal pass of its own: lines it leaves are found by the next
// pass.
#pragma once

#include "base/math.h"
#include "game/game_state.h"

namespace tessaly::game {

// The hammer button in the panel, screen units.
constexpr float kHammerButtonLeft = 320.0f, kHammerButtonRight = 384.0f;
constexpr float kHammerButtonBottom = -290.0f, kHammerButtonTop = -162.0f;

bool inHammerButton(base::Vec2 p);
// A click on the hammer button: with a full charge the hammer cursor toggles
// and the selection is dropped. Returns whether it toggled.
bool armHammer(GameState& game);
// A click in hammer mode: on a piece it strikes (removes the piece or one of
// its chains), uses the whole charge and ends hammer mode; on an empty cell
// nothing; off the field hammer mode ends with the charge kept.
void strikeHammer(GameState& game, base::Vec2 cursor);

}  // namespace tessaly::game
