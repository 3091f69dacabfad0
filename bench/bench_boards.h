// Boards the benchmarks play on.
#pragma once

#include "base/random.h"
#include "game/board.h"
#include "game/game_state.h"
#include "game/moves.h"

namespace tessaly::bench {

// A board with no two like balls side by side in any direction, so nothing
// is removed while the benchmark runs, and one free cell so play goes on.
inline void fillBoard(game::GameState& g) {
    using namespace game;
    for (int x = kFieldLeft; x <= 21; ++x)
        for (int y = kFieldTop; y <= kFieldBottom; ++y) {
            Cell& c = g.board.at(x, y);
            c.floor = (x + y) % 7 == 0 ? 2 : (x * y) % 11 == 0 ? 1 : 0;
            c.scale = 1;
            c.piece = newPiece((x + 2 * y) % 5);
            c.piece.appear = 0;
            c.piece.chained = (x * 3 + y) % 13 == 0 ? 1 : 0;
            c.piece.phase = base::randomUnit(1);
        }
    g.board.at(12, 11).piece = Piece{};
    g.board.at(13, 11).piece = Piece{};
    g.board.at(13, 11).pending = 3;
    g.board.freeCells = countFreeCells(g.board);
    g.hammerCharge = 1;
    g.barRemaining = g.barTotal * 0.4f;
}

}  // namespace tessaly::bench
