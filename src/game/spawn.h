// New balls: announcing them in free cells, letting them arrive after a move
// that removed nothing, bringing earned specials in at once, filling half the
// board at a level's start, and the two searches built on "which piece would
// make a line here": bestPiece and the hint search.
//
// Randomness comes only from base::randomBelow / randomUnit, so a fixed seed
// replays the same balls.
#pragma once

#include <array>

#include "game/board.h"
#include "game/game_state.h"

namespace tessaly::game {

// One ball announced: a random colour (a joker with probability
// 1 / jockerFrequency) as the pending piece of a random free cell; an
// earlier announcement there is overwritten. Nothing when no cell is free.
void announceBall(GameState& game);
// Up to `count` balls announced one after another; announcing stops as soon
// as no free cell is left to announce in.
void announceBalls(GameState& game, int count);
// Every announced piece whose cell is still empty arrives; every pending
// piece is cleared. Nothing on a demonstration board.
void arriveBalls(GameState& game);
// Earned specials (pending codes above 10) arrive at once in empty cells;
// in occupied cells they are dropped.
void specialArrival(GameState& game);
// A bonus piece for the cell of the last move, brought in at once.
void giveBonus(GameState& game, int kind);
// Level start: half the free cells announced, those that would complete a
// line at once (by the line finder's rules, jokers included) withdrawn, the
// rest arrive.
void fillAtLevelStart(GameState& game);
// Whether an announced `code` at (x, y) would stand in a line the removal
// pass finds once it and the pieces announced around it have arrived.
bool wouldCompleteLine(const Board& board, int x, int y, int code);

// The line pieces bestPiece saw: up to 4 runs across the window.
constexpr int kMaxBestPieceCells = 4 * kFieldColumns;
struct BestPiece {
    int kind = kNoPiece;   // the best code, or kNoPiece when none makes a line
    int score = 0;         // summed length of the lines it would make
    std::array<CellRef, kMaxBestPieceCells> line{};  // the other pieces of those lines
    int lineCount = 0;
};
// Tries every colour 0..7 and codes 10..13 in the empty cell (x, y), fully
// appeared, and returns the one whose lines through the cell are longest in
// sum (the first on ties). The cell is left as it was.
BestPiece bestPiece(Board& board, int x, int y);

// A free (unchained) piece of best.kind that can reach the empty cell
// `target` and is not one of the pieces of the line it would complete there.
// Rows outer, columns inner; the first found. Uses the cells' visited flags.
bool findBallFor(Board& board, CellRef target, const BestPiece& best, CellRef& ball);

// The hint search: an empty cell where a piece would make a line and a free
// piece of that code that can reach it. In Puzzle squares are tried first.
// On success the distance field is computed from the ball (the selection is
// not changed).
bool findHint(GameState& game, CellRef& ball, CellRef& target);

// Shows a first-time tip once per profile.
void showTipOnce(GameState& game, Tip tip, base::Vec2 at, float durationMs, CellRef cell);

}  // namespace tessaly::game
