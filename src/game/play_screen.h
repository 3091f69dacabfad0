// The gameplay screen: one frame of play (the rules' step, then the board,
// the panel, the effects, the texts, the tips, the overlays and the cursor)
// and the input of play in the order a click is taken:
//
//   1. a running end sequence is shortened; 2. the congratulations display
//   ignores clicks for its first 5 s; 3. nothing while a ball flies;
//   4. a paused game resumes; 5. the question cursor opens the tip for what
//   was clicked; 6. the relax and scene buttons; 7. the menu button opens
//   the pause menu; 8. an open tip closes; 9. the question button, the
//   hammer button; 10. the board (hammer strike, selection and moves).
//
// The shell's GameScreen calls these; every function has a form taking the
// view, game and player records so tests drive their own. Time comes only
// from the step handed in.
//
// Depends on: the rules (flow, moves, hammer), the view record, the host,
// the tips, the board and panel drawing, the effect systems.
#pragma once

#include "base/math.h"
#include "game/game_state.h"
#include "game/play_host.h"
#include "game/play_view.h"

namespace tessaly::game {

// Starts level `levelIndex` (0..69) of `mode` on the host's game and view:
// the view is reset, the effects cleared, the player's position set to the
// level. False (the view reset, the game keeping its board) when the level
// can't be loaded.
bool startPlay(PlayHost& host, Mode mode, int levelIndex);
// The same on the process-wide host (g_playHost).
bool startPlay(Mode mode, int levelIndex);
// Plays the player's current level in the game's mode (after a won level:
// the next one; after a loss: the same one again).
void playCurrentLevel(PlayHost& host);

// One frame of play without drawing: the rules, then what the screen keeps
// (tips' delays, the shown score, popups, the previewed path, the hint path).
void stepPlay(PlayHost& host, float dtMs);
// The effects' part of the frame's step, after stepPlay: the panel's flicker,
// the bolts, particles, sparks, floating texts, banners, message line and
// the tip's balloon take this frame's picture and advance.
void stepPlayEffects(PlayHost& host, float dtMs);
// Draws the frame on the current device; only reads, so drawing a frame
// twice draws the same picture twice.
void drawPlay(PlayHost& host);
// The process-wide step: the pointer is read, g_game and the effects
// stepped, the sound updated. The game screen draws with drawPlay after it.
void playStep(float dtMs);

// Input, with the pointer in screen units.
void playLeftButtonDown(PlayHost& host, base::Vec2 cursor);
void playLeftButtonUp(PlayHost& host, base::Vec2 cursor);
void playLeftDoubleClick(PlayHost& host, base::Vec2 cursor);
void playRightButtonDown(PlayHost& host);
void playRightButtonUp(PlayHost& host);
void playMiddleButtonDown(PlayHost& host);
void playKeyDown(PlayHost& host, int virtualKey);
// The pointer moved (or the window lost it: clearPlayHover).
void playMouseMove(PlayHost& host, base::Vec2 cursor);
void clearPlayHover(PlayView& view);

// The cell under the pointer if it is a cell of the board, else kNoCell.
CellRef hoverCellAt(const GameState& game, base::Vec2 cursor);

// The paused display at `pausedMs` since the pause began.
struct PausedLook {
    int promptAlpha = 0;        // "keytoresume", 0..255
    float promptSize = 13;
    bool relaxShown = false;    // "relax" in the middle
    float relaxSize = 21;
    int congratulationsAlpha = 0;  // "congratulations" and "gamepass1" after the last stage
};
PausedLook pausedLook(float pausedMs, bool stageEnd, bool gamePassed);

// Alpha (of 255) of the dark overlay of the end sequences: rising to 140
// between 5000 and 1000 ms left of the defeat sequence and between 8500 and
// 3000 ms left of the complete sequence, and staying once it has finished.
int sequenceShadeAlpha(const GameState& game);
// Alpha of the shade that fades out after a pause.
int resumeShadeAlpha(const GameState& game);

}  // namespace tessaly::game
