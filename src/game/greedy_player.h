// A simple automatic player: it looks for the empty cell where a piece would
// make the longest lines (bestPiece), sends a ball of that code there when
// one can reach it (the hint search's reachability rule), and otherwise makes
// a move that gathers balls of one colour. In Puzzle it prefers lines over
// squares and spends a full hammer on a piece standing on a square.
//
// It plays through the same input and frame functions as a person, at a
// fixed frame step with a fixed thinking pause before every move, so a level
// played twice with the same seed goes the same way. The tests use it to
// prove every level can be loaded, played and finished; the benchmarks use
// it to time a whole level; level authors use it to tune difficulty.
#pragma once

#include "game/board.h"
#include "game/game_state.h"

namespace tessaly::game {

struct GreedyOptions {
    float stepMs = 50.0f;     // frame step, ms
    float thinkMs = 1000.0f;  // pause before every move, ms (the Action bar drains meanwhile)
    int maxMoves = 400;       // the level is left unfinished after this many moves
};

struct GreedyResult {
    bool won = false;         // the level-complete sequence started
    bool lost = false;        // the defeat sequence started
    bool stuck = false;       // no piece could move
    int moves = 0;
    int hammerStrikes = 0;
    int frames = 0;
    int levelScore = 0;
    const char* problem = nullptr;  // the first broken board invariant, if any
};

// The move the player would make now; false when no free piece can move.
bool chooseGreedyMove(GameState& game, CellRef& ball, CellRef& target);

// Plays the started level until it is won, lost, stuck or out of moves.
GreedyResult playGreedy(GameState& game, const GreedyOptions& options = {});

// What is wrong with the board, or null: freeCells differs from the free
// cells counted, a piece or announced piece stands on a non-cell or in the
// margin, or a piece has a code no rule knows.
const char* boardProblem(const GameState& game);

}  // namespace tessaly::game
