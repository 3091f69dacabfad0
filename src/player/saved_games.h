// Saved games: each player has at most one per mode, the file
// "NAME_MODE.sav" in the player-data folder (the game image of
// game/saved_game.h) and the profile's saved-game flag for the mode. A file
// counts only while its flag is set; clearing the flag leaves the file.
//
// A player name that is not a plain file name (empty, "." or "..", a "/",
// a control character) never leads to a file: no saved game is written or
// read for it.
//
// Depends on: the player data, the rules' saved-game image and play start.
#pragma once

#include <string>
#include <string_view>

#include "game/play_host.h"
#include "player/player_data.h"

namespace tessaly::player {

// True for a name that is safe as part of a file name.
bool safeFileName(std::string_view name);
// The saved game's path for the current player and `mode`; empty when there
// is no player, no folder, or the name is not safe.
std::string savedGamePath(const PlayerData& d, int mode);

// What the screens know about the running game when it is to be saved.
struct SaveConditions {
    bool gameScreenCurrent = false;   // play is the current screen
    bool levelCompleteShown = false;  // the "levelcomplete" screen is open
};

// Saves the game in progress when all of these hold: play is on screen, no
// score waits for the hiscore table, "levelcomplete" is not open, neither end
// sequence runs, and at least one move was made in the level. Then the file
// is written and the mode's flag set (it reaches the disk with the next
// save of all player data). Returns whether it saved.
bool saveRunningGame(PlayerData& d, const game::GameState& game, const SaveConditions& conditions);

// True when the current player holds a saved game for `mode`.
bool hasSavedGame(const PlayerData& d, int mode);

// Starts the player's current level of `mode` on the host (so everything
// outside the file is set up), then takes the saved image over it. False
// (the level as freshly started) when the file is missing or not a whole,
// sound game.
bool restoreSavedGame(PlayerData& d, game::PlayHost& host, int mode);

// The mode's saved game no longer counts.
void abandonSavedGame(PlayerData& d, int mode);

}  // namespace tessaly::player
