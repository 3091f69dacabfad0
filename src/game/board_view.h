// Drawing the board: floor tiles and squares with their pulsing overlays,
// the highlighted cell, the path preview and the idle hint's green path,
// announced balls growing in their cells, pieces with their shadows (idle
// wobble, appearance zoom, the selected ball's bounce, chains), pieces
// popping as their score items pay, the flying ball, the diamond's bolts
// and the progress sparks flying to the level bar, and the level-end
// sequence in which the cells fly off the board.
//
// The pure parts (the path trace, the appearance zoom, a cell's flight at
// the level end) are separate functions so they can be tested without a
// device. The level-end flight draws its jitter from the repeatable random
// sequence reseeded with 1000 every frame, so each cell keeps its own path
// from frame to frame.
//
// Depends on: the game state, the screen's view record, the gameplay
// textures, the drawing primitives, bolts and the repeatable random numbers.
#pragma once

#include <array>

#include "base/math.h"
#include "game/board.h"
#include "game/game_state.h"

namespace tessaly::game {

struct PlayView;
struct PlayTextures;

constexpr float kPieceSize = 40.0f;                 // a piece's quad, units
constexpr base::Vec2 kShadowOffset{3.0f, -4.0f};      // the light comes from the top left
constexpr float kFloorHalfSize = 23.1f;             // floor tile half-size at scale 1
// An announced ball's preview, fully grown: a small copy of its ball, large
// enough (22 units of a 40-unit cell) that its colour's mark reads, even in
// greyscale, and still plainly smaller than a ball standing in a cell.
constexpr float kPendingHalfSize = 11.0f;

// A path as drawn: absolute screen points, the target first and the start
// cell's centre last.
struct PathPreview {
    std::array<base::Vec2, kMaxPathPoints> points{};
    int steps = 0;  // 0: nothing to draw
    CellRef from, to;
};

// The way the ball at `from` would take to `to`, traced back from `to` over
// the board's distance field like a move (left, right, up, down). False
// (and `out` empty) when `to` can't be reached or the traced cells are no
// longer free.
bool tracePreview(const Board& board, CellRef from, CellRef to, PathPreview& out);
// Direction of arrival at the path's target, degrees counter-clockwise from +x.
float arrivalAngle(const PathPreview& path);

// Size factor of an appearing piece from its appear countdown (500 at the
// start, 0 when it has appeared): grows from 0 with a soft overshoot and
// settles at exactly 1.
float appearScale(float appear);
// Size factor of an announced ball's preview: 1 - timer / 500, then 1.
float pendingScale(float pendingTimerMs);
// Sideways offset of the piece in `c` this frame: a chained piece that was
// clicked rattles for a moment, fading; 0 for every other piece.
float chainedShake(const GameState& game, CellRef c);
// The gentle breathing of an idle piece, as a size factor near 1.
float idleWobble(float clockMs, float phase);

// Where one cell is during the level-end flight, `elapsedMs` after the
// complete sequence began. Draws four numbers from the repeatable sequence:
// seed it with 1000 once per frame and call this for every cell in the same
// order, and each cell keeps its path.
struct CellFlight {
    base::Vec2 offset;   // from the cell's centre, units
    float angleDeg = 0;
    float scale = 1;   // multiplies the cell's own scale; 0 once it is gone
};
CellFlight cellFlight(float elapsedMs);
constexpr float kFlightStartMs = 1500.0f;   // the balls are swept at 1000 ms; the cells go after
constexpr float kFlightSpreadMs = 1600.0f;  // cells leave at random within this time

void drawBoard(const PlayView& view, const GameState& game, const PlayTextures& textures);
// Bolts of the diamond's sweep and of snapped chains (3D pass, camera set).
void queueBoardBolts(const PlayView& view, const GameState& game);
// Progress sparks flying to the bar, drawn over the panel.
void drawProgressSparks(const GameState& game);

}  // namespace tessaly::game
