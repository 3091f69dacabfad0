// Lines, removal and scoring.
//
// The removal pass runs after a moved ball has arrived (afterMove set) and
// in the frame in which arriving pieces finish appearing (afterMove clear):
// it finds every run of three or more matching pieces in the four
// directions, lets marked bombs, superbombs and diamonds blast in up to
// seven rounds, removes the marked pieces (a chained piece loses a chain
// instead, an empty marked square loses a layer), counts the combo, charges
// the hammer, hands out bonus pieces and the per-move awards, and queues one
// score item per removed piece. Score items pop one after another and then
// pay their points and feed the level bar.
//
// Cell walks: line search and removal go row by row (rows outer), the blast
// rounds too; the diamond's fallback colour search takes the first marked
// ball of each row.
#pragma once

#include <array>

#include "base/math.h"
#include "game/board.h"
#include "game/game_state.h"

namespace tessaly::game {

constexpr int kMaxBlastRounds = 7;
constexpr int kBombRadius2 = 5;       // dx^2 + dy^2 < 5: 13 cells
constexpr int kSuperbombRadius2 = 8;  // dx^2 + dy^2 < 8: 21 cells
// Where award points are booked and award texts shown, screen units.
constexpr base::Vec2 kAwardScorePoint{-40.0f, 200.0f};
constexpr base::Vec2 kAwardTextPoint{-40.0f, 60.0f};
constexpr base::Vec2 kAwardAmountPoint{-40.0f, 0.0f};

// The longest line through (x, y) in the four directions, marking the cells
// of every line found; 0 when none. Cells must lie in the window.
int findLines(Board& board, int x, int y);

// Whether the piece at (x, y) stands in a line the removal pass would find
// there: the pass searches from every piece, so this tries each piece of the
// unbroken row through (x, y), in each of the four directions, with the
// colour that piece's own search uses. Marks nothing.
bool standsInLine(const Board& board, int x, int y);

// Length of the run of cells matching `colour` through (x, y) along
// (dx, dy): walk back while the previous cell matches, then count forward.
// `start`, when given, receives the run's first cell.
int runThrough(const Board& board, int x, int y, int dx, int dy, int colour,
               CellRef* start = nullptr);

// The colour the vertical direction uses for a special at (x, y): the piece
// found by walking up from the cell over jokers, unless that walk ends on an
// empty cell; otherwise `kind` itself.
int verticalColour(const Board& board, int x, int y, int kind);

// The whole pass; returns the number of pieces in marked cells (chained
// ones included).
int removalPass(GameState& game, bool afterMove);

// Takes the piece off its cell: queues its score item, breaks one layer of
// the square under it, frees the cell.
void removePiece(GameState& game, int x, int y);
// One chain less for a chained piece, with its effect and 50 points.
void breakChain(GameState& game, int x, int y);
// One layer less for a square (floor > 0), with its effect.
void breakSquareLayer(GameState& game, int x, int y);
// Every piece taken off the board; chained pieces lose one chain instead.
void clearAllPieces(GameState& game);

// Starts a new group of score items (a pass, a hammer strike): the stagger
// of their pops counts from 0 again.
void beginScoreGroup(GameState& game);

// Books points at a screen point: the total and the level score grow, every
// new multiple of 100000 in the total brings a life. Ignored on
// demonstration boards, when play isn't on screen or something is open over
// it, and during the level-complete sequence after its first 500 ms.
void addScore(GameState& game, base::Vec2 at, int points);

// Advances the score items (pops, payouts), the diamond sparks and the
// progress sparks flying to the level bar.
void stepScoreItems(GameState& game, float dtMs);
void stepSparks(GameState& game, float dtMs);

// Sends `amount` of level-bar progress flying from a point to the bar.
void sendProgress(GameState& game, base::Vec2 from, float amount);
// Progress reaching the bar: `remaining` falls, not below 0.
void progressReachesBar(GameState& game, float amount);
// The bar's fraction (total - remaining) / total; 1 for a bar with no total.
float barFraction(const GameState& game);

}  // namespace tessaly::game
