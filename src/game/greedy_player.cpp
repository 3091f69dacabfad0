#include "game/greedy_player.h"

#include "game/flow.h"
#include "game/hammer.h"
#include "game/moves.h"
#include "game/spawn.h"

namespace tessaly::game {

namespace {

bool anyAppearing(const Board& board) {
    for (int x = kFieldLeft; x <= kFieldRight; ++x)
        for (int y = kFieldTop; y <= kFieldBottom; ++y) {
            const Piece& p = board.at(x, y).piece;
            if (p.kind != kNoPiece && p.appear > 0) return true;
        }
    return false;
}

// Value of completing the lines of `best` at `target`.
int lineValue(const GameState& game, CellRef target, const BestPiece& best) {
    int value = best.score * 10;
    if (game.mode != Mode::Puzzle) return value;
    const Board& b = game.board;
    value += 25 * b.at(target).floor;
    for (int i = 0; i < best.lineCount; ++i) {
        const Cell& c = b.at(best.line[i]);
        if (c.floor > 0) value += 20 * c.floor;
        if (c.piece.chained > 0) value += 15;
    }
    return value;
}

int sameNeighbours(const Board& board, int x, int y, int kind, CellRef ignore) {
    int n = 0;
    for (int dx = -1; dx <= 1; ++dx)
        for (int dy = -1; dy <= 1; ++dy) {
            if ((dx == 0 && dy == 0) || CellRef{x + dx, y + dy} == ignore) continue;
            const Piece& p = board.at(x + dx, y + dy).piece;
            if (p.kind == kind || (p.kind >= kFirstSpecial && p.kind != kNoPiece)) ++n;
        }
    return n;
}

// No line to be made: move a ball to where most balls of its colour are.
bool gatheringMove(GameState& game, CellRef& ball, CellRef& target) {
    Board& board = game.board;
    int bestValue = -1000000;
    bool found = false;
    for (int y = kFieldTop; y <= kFieldBottom; ++y)
        for (int x = kFieldLeft; x <= kFieldRight; ++x) {
            const Piece& p = board.at(x, y).piece;
            if (p.kind == kNoPiece || p.chained > 0) continue;
            const CellRef from{x, y};
            computeDistances(board, from);
            const int here = sameNeighbours(board, x, y, p.kind, kNoCell);
            for (int ty = kFieldTop; ty <= kFieldBottom; ++ty)
                for (int tx = kFieldLeft; tx <= kFieldRight; ++tx) {
                    if (board.at(tx, ty).dist < 1) continue;
                    int value = sameNeighbours(board, tx, ty, p.kind, from) * 10 - here * 6;
                    if (game.mode == Mode::Puzzle && board.at(tx, ty).floor > 0) value += 3;
                    if (value <= bestValue) continue;
                    bestValue = value;
                    ball = from;
                    target = {tx, ty};
                    found = true;
                }
        }
    computeDistances(board, kNoCell);
    return found;
}

// In Puzzle a full hammer goes to the piece on the strongest square,
// chained ones first.
bool hammerTarget(const GameState& game, CellRef& cell) {
    if (game.mode != Mode::Puzzle || !game.level.hammerEnabled || game.hammerCharge != 1.0f) return false;
    int bestValue = 0;
    for (int y = kFieldTop; y <= kFieldBottom; ++y)
        for (int x = kFieldLeft; x <= kFieldRight; ++x) {
            const Cell& c = game.board.at(x, y);
            if (!c.hasPiece() || c.floor <= 0) continue;
            const int value = c.floor * 10 + (c.piece.chained > 0 ? 5 : 0);
            if (value <= bestValue) continue;
            bestValue = value;
            cell = {x, y};
        }
    return bestValue > 0;
}

}  // namespace

const char* boardProblem(const GameState& game) {
    const Board& b = game.board;
    if (b.freeCells != countFreeCells(b)) return "freeCells differs from the free cells on the board";
    for (int x = 0; x < kBoardSize; ++x)
        for (int y = 0; y < kBoardSize; ++y) {
            const Cell& c = b.at(x, y);
            if (!c.isCell() && c.hasPiece()) return "a piece stands on a non-cell";
            if (!c.isCell() && c.pending != kNoPiece) return "a piece is announced on a non-cell";
            if (!inWindow(x, y) && c.isCell()) return "a cell lies in the margin";
            if (c.hasPiece() && !isKnownPiece(c.piece.kind)) return "a piece has an unknown code";
            if (c.pending != kNoPiece && !isKnownPiece(c.pending)) return "an announced piece has an unknown code";
        }
    return nullptr;
}

bool chooseGreedyMove(GameState& game, CellRef& ball, CellRef& target) {
    Board& board = game.board;
    int bestValue = 0;
    for (int y = kFieldTop; y <= kFieldBottom; ++y)
        for (int x = kFieldLeft; x <= kFieldRight; ++x) {
            if (!board.at(x, y).isFree()) continue;
            const BestPiece best = bestPiece(board, x, y);
            if (best.kind == kNoPiece) continue;
            const int value = lineValue(game, {x, y}, best);
            if (value <= bestValue) continue;
            CellRef from;
            if (!findBallFor(board, {x, y}, best, from)) continue;
            bestValue = value;
            ball = from;
            target = {x, y};
        }
    if (bestValue > 0) return true;
    if (findHint(game, ball, target)) return true;
    return gatheringMove(game, ball, target);
}

GreedyResult playGreedy(GameState& game, const GreedyOptions& options) {
    GreedyResult r;
    auto check = [&] {
        if (!r.problem) r.problem = boardProblem(game);
    };
    auto step = [&] {
        stepGame(game, options.stepMs);
        ++r.frames;
        check();
    };
    while (true) {
        for (int i = 0; i < 1000 && (game.moveInFlight || anyAppearing(game.board)); ++i) step();
        for (float t = 0; t < options.thinkMs; t += options.stepMs) step();
        if (game.completeTimer != 0) {
            r.won = true;
            break;
        }
        if (game.defeatTimer != 0) {
            r.lost = true;
            break;
        }
        if (game.barRemaining <= 0) {  // won: wait for the bar to show it
            for (int i = 0; i < 200 && game.completeTimer == 0; ++i) step();
            continue;
        }
        if (r.moves >= options.maxMoves) break;

        CellRef cell;
        if (hammerTarget(game, cell)) {
            leftButtonDown(game, {352.0f, -226.0f});
            leftButtonDown(game, cellCentre(cell));
            ++r.hammerStrikes;
            check();
            if (game.hammerCharge == 1.0f) {
                if (!r.problem) r.problem = "the hammer didn't strike";
                break;
            }
            continue;
        }
        CellRef ball, target;
        if (!chooseGreedyMove(game, ball, target)) {
            r.stuck = true;
            break;
        }
        leftButtonDown(game, cellCentre(ball));
        leftButtonDown(game, cellCentre(target));
        check();
        if (!game.moveInFlight) {
            if (!r.problem) r.problem = "a chosen move was refused";
            break;
        }
        ++r.moves;
    }
    r.levelScore = game.levelScore;
    return r;
}

}  // namespace tessaly::game
