// Modes and the flow of a level: startLevel for Classic, Puzzle and Action
// with every derived parameter, the per-frame step of a game (board clocks,
// flight, score items, level bar, Action drain, board-cleared rule, level
// complete and defeat sequences, idle hint, ambient sounds, play time),
// pause, and the input rules of play that are not about one cell (keys,
// right and middle buttons, clicks during sequences).
//
// Time comes only from the step given to stepGame, randomness only from
// fx/random.h: with a fixed seed and step a level replays identically.
#pragma once

#include <string>

#include "base/math.h"
#include "game/game_state.h"

namespace tessaly::game {

constexpr float kCompleteSequenceMs = 8500.0f;
constexpr float kDefeatSequenceMs = 5000.0f;
constexpr float kResumeShadeMs = 500.0f;
constexpr float kCongratulationsLockMs = 5000.0f;  // clicks ignored this long on the game-passed display

// Virtual-key numbers of the keys play reacts to.
constexpr int kKeyEscape = 27;
constexpr int kKeySpace = 32;
constexpr int kKeyEnter = 13;
constexpr int kKeyLeft = 37, kKeyUp = 38, kKeyRight = 39, kKeyDown = 40;

// Sets up level `levelIndex` in `game.mode`: loads the file, derives the
// level bar, the colours, the Action drain and the balls per turn, fills the
// board from level index 2 on, announces the first balls and shows the
// level's first-time tips. False (the game unchanged apart from its level
// state) when the level file can't be loaded.
bool startLevel(GameState& game, int levelIndex);

// One frame of play, `dtMs` long. Demonstration boards run only the board
// (clocks, flights, removal passes, score items).
void stepGame(GameState& game, float dtMs);

// Action: ms of drain per point of the level bar for a level without its own.
int actionLevelDownTimeMs(int levelIndex);
// Idle time before the hint shows, ms.
int idleHintDelayMs(int levelIndex);

// --- Input in play ---------------------------------------------------------
// What every click passes first: it shortens a running end sequence, leaves
// play after a finished stage, resumes a paused game. While a ball flies the
// click can only pick the next ball on the board (a new target is refused).
// True when the click was used up here.
bool takeClickForFlow(GameState& game, base::Vec2 cursor);
// A main-button click in play that reached the board area: the hammer button,
// a hammer strike, or selection and moves. (Panel buttons, the question
// cursor and open tips are the gameplay screen's, before this.)
void leftButtonDown(GameState& game, base::Vec2 cursor);
void leftButtonUp(GameState& game, base::Vec2 cursor);
void leftDoubleClick(GameState& game, base::Vec2 cursor);
void rightButtonDown(GameState& game);
void rightButtonUp(GameState& game);
void middleButtonDown(GameState& game);
void keyDown(GameState& game, int virtualKey);

void pauseGame(GameState& game);
void resumeGame(GameState& game);
// Giving up from the pause menu: the defeat sequence starts.
void giveUp(GameState& game);
// The level ends as won: bar target 0 and every square flattened.
void completeLevelNow(GameState& game);
// Runs the hint search and shows its arrow; false when no move was found.
bool showHint(GameState& game);
// Every piece off the board at once (the 'E' key and the level-end sweep).
void sweepAllPieces(GameState& game);

// Where the cheat keys 'S' and 'L' save and load: "cheat.sav" in the
// player-data folder the shell names here at start-up (the data folder is
// never written). Empty: the keys do nothing.
inline std::string g_cheatSaveFolder;
std::string cheatSavePath();

}  // namespace tessaly::game
