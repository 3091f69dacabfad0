// Selecting a ball and moving it: the distance field from the selected ball,
// the traced path, the flight and the arrival that ends a turn, and the
// mouse rules on the board (press, drag release, double click, right and
// middle buttons) as the gameplay screen calls them with cursor positions in
// screen units.
//
// One move is in flight at a time. The flying ball stays in its start cell's
// piece record (the cell stays occupied) and carries its target and the
// remaining flight time; the path is kept with the game state.
#pragma once

#include "base/math.h"
#include "game/board.h"
#include "game/game_state.h"

namespace tessaly::game {

constexpr float kDragMinHoldMs = 200.0f;  // a release after a longer hold moves like a click

// Distance of every empty cell from `from` over up/down/left/right steps of
// empty cells; -1 where unreached, 0 at `from`.
void computeDistances(Board& board, CellRef from);

// The path from `from` back from `to` over the distance field: points
// relative to the centre of `from`, the target first and (0, 0) last. At
// each step back the first neighbour, in the order left, right, up, down,
// one step nearer is taken. Returns the number of steps n (n + 1 points
// written), or -1 when `to` is unreached or the path needs more than
// `capacity` points.
int tracePath(const Board& board, CellRef from, CellRef to, base::Vec2* points, int capacity);

// Flight time of a path of n steps: trunc(sqrt(10 n) x ballSpeed) ms.
int flightTimeMs(int steps, float ballSpeed);

// Selects the ball in `cell` ("selectball.ogg") and computes the distances.
void selectBall(GameState& game, CellRef cell);
void deselect(GameState& game);
// Starts the selected ball towards `target`; false when it can't go there.
bool startMove(GameState& game, CellRef target);
// Advances the flight; on arrival the turn runs (removal pass, new balls).
void stepFlight(GameState& game, float dtMs);
// The flying ball's drawing offset from its start cell (zero when none flies).
base::Vec2 flightOffset(const GameState& game);

// The board under the normal cursor: select, deselect or start a move.
void pressBoard(GameState& game, base::Vec2 cursor);
// A press on the board while a ball flies: another ball takes the
// selection for the next move (the landing keeps it); a new target is
// refused and the refusal recorded for the screen to show.
void pressBoardInFlight(GameState& game, base::Vec2 cursor);
// Records a refused click on `cell` for kRefusalShowMs.
void refuseClick(GameState& game, CellRef cell, Refusal why);
// A click on a chained piece: it shakes in its chain with a soft rattle.
void refuseChained(GameState& game, CellRef cell);
constexpr int kChainedRattleRateHz = 30000;
void stepRefusal(GameState& game, float dtMs);
// Release of the main button: after a hold of more than 200 ms on a
// reachable empty cell the move starts as for a click.
void releaseBoard(GameState& game, base::Vec2 cursor);
// Double click on the board (see the rules in the .cpp).
void doubleClickBoard(GameState& game, base::Vec2 cursor);

}  // namespace tessaly::game
