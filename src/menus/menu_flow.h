// The screen flow: what each activated item does, where Escape leads, what
// happens when a screen opens, and how the menus meet play (the in-game
// menu and the result screens over the board, and going back and forth
// between the menu screen and the game screen).
//
// Depends on: the menu runtime, the player data and saved games, the game's
// play screen and rules, the sound.
#pragma once

#include <string_view>

#include "menus/level_map.h"
#include "menus/menu_tree.h"

namespace tessaly::menus {

// Reads the menu files with the screens' hooks, and plugs the menus into
// play. Called once at start-up, after the text tables.
void loadMenus();
MenuHooks screenHooks();

// The activation of the highlighted item, after the fade-out of Enter.
void activateItem();
// Where Escape leads, after its fade-out.
void goBack();
void onScreenEnter(MenuNode& screen);
// The screens' own clocks (the levelcomplete count, the credits scroll),
// and the level map's preview while the map shows.
void stepScreen(float dtMs);
// What the level map shows now, with the menu screen's clock.
MapView currentMapView(float clockMs);

// The first screen after the title: "main", or "newprofile" without players.
void openFirstMenu();
// The typed code that opens every level is on.
bool allLevelsOpen();
inline bool g_allLevelsOpen = false;
// The current screen shows level marks (a mode screen).
bool levelMarksShown();
// The current player's progress in the current mode (stage x 5 + level).
int currentProgress();
// The player link on "main": remembers the current player, opens "profiles".
void openPlayerList();
// The current mode of the player (0..2).
int currentMode();

// Play: start a level of the current mode, show the board again.
void startLevelAndPlay(int levelIndex);
void resumePlay();
void switchToMenu();

// The "levelcomplete" count: the value of stat k as shown now.
int shownStatValue(int stat);

}  // namespace tessaly::menus
