#include "game/moves.h"

#include <algorithm>
#include <cmath>

#include "game/flow.h"
#include "game/removal.h"
#include "game/spawn.h"
#include "sound/sound.h"

namespace tessaly::game {

namespace {

constexpr int kNeighbours[4][2] = {{-1, 0}, {1, 0}, {0, -1}, {0, 1}};  // left, right, up, down

// Breadth first from the start cell, neighbours in the order left, right,
// up, down: every empty cell gets its shortest step count, the field a
// depth-first walk with relaxation would also reach, in bounded time and
// without recursion.
void fillDistances(Board& board, CellRef from) {
    std::array<CellRef, kBoardSize * kBoardSize> queue;
    int head = 0, tail = 0;
    queue[tail++] = from;
    while (head < tail) {
        const CellRef c = queue[head++];
        const int d = board.at(c).dist;
        for (const auto& n : kNeighbours) {
            Cell& cell = board.at(c.x + n[0], c.y + n[1]);
            if (!cell.isFree() || cell.dist != -1) continue;
            cell.dist = d + 1;
            queue[tail++] = {c.x + n[0], c.y + n[1]};
        }
    }
}

bool endSequenceRunning(const GameState& game) {
    return game.completeTimer > 0 || game.defeatTimer > 0;
}

bool reachable(const GameState& game, CellRef c) {
    return c.valid() && game.board.at(c).isFree() && game.board.at(c).dist >= 1;
}

}  // namespace

void computeDistances(Board& board, CellRef from) {
    for (auto& column : board.cells)
        for (auto& cell : column) cell.dist = -1;
    if (!from.valid() || !inArray(from.x, from.y)) return;
    board.at(from).dist = 0;
    fillDistances(board, from);
}

int tracePath(const Board& board, CellRef from, CellRef to, base::Vec2* points, int capacity) {
    if (!to.valid() || board.at(to).dist < 1) return -1;
    const base::Vec2 origin = cellCentre(from);
    CellRef cur = to;
    int n = 0;
    while (board.at(cur).dist >= 1) {
        if (n + 1 >= capacity) return -1;
        points[n++] = cellCentre(cur) - origin;
        const int want = board.at(cur).dist - 1;
        bool stepped = false;
        for (const auto& d : kNeighbours) {
            const CellRef next{cur.x + d[0], cur.y + d[1]};
            if (board.at(next).dist == want) {
                cur = next;
                stepped = true;
                break;
            }
        }
        if (!stepped) return -1;  // the field doesn't lead back: not a path
    }
    points[n] = {0.0f, 0.0f};
    return n;
}

int flightTimeMs(int steps, float ballSpeed) {
    return int(std::sqrt(10.0f * float(steps)) * ballSpeed);
}

void selectBall(GameState& game, CellRef cell) {
    game.selected = cell;
    game.idleMs = 0;
    game.hint.timeLeftMs = 0;
    sound::playSound("selectball.ogg");
    computeDistances(game.board, cell);
}

void deselect(GameState& game) { game.selected = kNoCell; }

bool startMove(GameState& game, CellRef target) {
    if (game.moveInFlight || !game.selected.valid() || !target.valid()) return false;
    Board& board = game.board;
    // The field is rebuilt from the selection so that a board changed since
    // the ball was selected can't send it through an occupied cell.
    computeDistances(board, game.selected);
    if (!reachable(game, target)) return false;
    const int n = tracePath(board, game.selected, target, game.path.data(), kMaxPathPoints);
    if (n < 1) return false;

    game.host->aimMarker(cellCentre(target));
    sound::playSound("selectaim.ogg");
    board.at(target).scale = 0.7f;
    game.pathLength = n;
    game.flightTotalMs = flightTimeMs(n, game.ballSpeed);
    game.moveFrom = game.selected;
    game.moveTarget = target;
    game.moveInFlight = true;
    game.trailClockMs = 0;
    Piece& p = board.at(game.moveFrom).piece;
    p.targetX = target.x;
    p.targetY = target.y;
    p.flightMs = float(game.flightTotalMs);
    game.hint.timeLeftMs = 0;
    return true;
}

base::Vec2 flightOffset(const GameState& game) {
    if (!game.moveInFlight || game.pathLength < 1) return {};
    const Piece& p = game.board.at(game.moveFrom).piece;
    const float total = float(game.flightTotalMs);
    float k = total > 0 ? p.flightMs / total * float(game.pathLength) : 0.0f;
    k = std::fmax(0.0f, std::fmin(k, float(game.pathLength)));
    int i = int(k);
    if (i >= game.pathLength) i = game.pathLength - 1;
    const float f = k - float(i);
    const base::Vec2 a = game.path[i], b = game.path[i + 1];
    return a + (b - a) * f;
}

namespace {

void endFlight(GameState& game) {
    game.moveInFlight = false;
    // The flying ball's selection ends with its flight; a ball picked while
    // it flew stays selected for the next move.
    if (game.selected == game.moveFrom) game.selected = kNoCell;
    game.moveFrom = kNoCell;
    game.moveTarget = kNoCell;
}

void arrive(GameState& game) {
    Board& board = game.board;
    const CellRef from = game.moveFrom, to = game.moveTarget;
    Cell& start = board.at(from);
    Cell& target = board.at(to);
    sound::playSound("ballstand.ogg");
    if (target.hasPiece()) {
        // A bonus landed in the target during the flight: the ball stays
        // where it was rather than overwriting it.
        start.piece.offset = {};
        start.piece.flightMs = 0;
        start.piece.targetX = start.piece.targetY = -1;
        endFlight(game);
        return;
    }
    endFlight(game);
    game.lastMoveCell = to;
    target.pending = kNoPiece;
    target.piece = start.piece;
    target.piece.offset = {};
    target.piece.flightMs = 0;
    target.piece.targetX = target.piece.targetY = -1;
    start.piece = Piece{};
    game.moveCounter = std::min(kMaxMoveCount, game.moveCounter + 1);
    game.movesMade = std::min(kMaxMoveCount, game.movesMade + 1);
    if (removalPass(game, true) > 0) return;
    arriveBalls(game);
    announceBalls(game, game.level.addBalls);
}

// The turn has changed the board: a ball selected during the flight gets its
// distances afresh (or loses the selection if a line took it).
void refreshSelection(GameState& game) {
    if (!game.selected.valid()) return;
    if (!game.board.at(game.selected).hasPiece()) {
        game.selected = kNoCell;
        return;
    }
    computeDistances(game.board, game.selected);
}

}  // namespace

void refuseClick(GameState& game, CellRef cell, Refusal why) {
    game.refused = {cell, why, kRefusalShowMs, game.refused.count + 1};
}

void refuseChained(GameState& game, CellRef cell) {
    refuseClick(game, cell, Refusal::Chained);
    // The chain's clink, lower and so softer: the ball rattles in its chain.
    sound::playSoundAtRate("chain.ogg", kChainedRattleRateHz);
}

void stepRefusal(GameState& game, float dtMs) {
    if (game.refused.timeLeftMs <= 0) return;
    game.refused.timeLeftMs -= dtMs;
    if (game.refused.timeLeftMs <= 0) game.refused = {kNoCell, Refusal::None, 0, game.refused.count};
}

void pressBoardInFlight(GameState& game, base::Vec2 cursor) {
    if (!game.moveInFlight || game.cursorMode != CursorMode::Normal) return;
    const CellRef c = cellAtPoint(cursor);
    if (!c.valid() || !game.board.at(c).isCell()) return;
    const Cell& cell = game.board.at(c);
    // The flying ball's start cell looks empty: a click there is a target too.
    if (!cell.hasPiece() || c == game.moveFrom) {
        refuseClick(game, c, Refusal::BallInFlight);
        return;
    }
    if (cell.piece.chained > 0) {
        refuseChained(game, c);
        return;
    }
    if (c == game.selected)
        deselect(game);
    else
        selectBall(game, c);
}

void stepFlight(GameState& game, float dtMs) {
    if (!game.moveInFlight) return;
    Piece& p = game.board.at(game.moveFrom).piece;
    // The flying ball is the start cell's piece that carries this move's
    // target. A line or a sweep may take it during the flight; the start cell
    // is then empty, or holds a bonus that landed there since (a new piece,
    // with no target). Either way the move ends without arriving.
    if (p.kind == kNoPiece || p.targetX != game.moveTarget.x || p.targetY != game.moveTarget.y) {
        endFlight(game);
        refreshSelection(game);
        return;
    }
    p.flightMs -= dtMs;
    if (p.flightMs > 0) {
        p.offset = flightOffset(game);
        game.trailClockMs += dtMs;
        const float every = float(game.flightTotalMs) * 0.02f;
        if (every > 0 && game.trailClockMs >= every) {
            game.trailClockMs -= every * std::floor(game.trailClockMs / every);
            game.host->flightTrail(cellCentre(game.moveFrom) + p.offset);
        }
        return;
    }
    arrive(game);
    refreshSelection(game);
}

void pressBoard(GameState& game, base::Vec2 cursor) {
    game.mainButtonDown = true;
    game.mainButtonHeldMs = 0;
    if (game.moveInFlight) return;
    const CellRef c = cellAtPoint(cursor);
    if (!c.valid() || !game.board.at(c).isCell()) {
        deselect(game);
        if (game.cursorMode == CursorMode::Hammer) game.cursorMode = CursorMode::Normal;
        return;
    }
    const Cell& cell = game.board.at(c);
    if (cell.hasPiece()) {
        if (cell.piece.chained > 0) {
            refuseChained(game, c);
            return;
        }
        if (c == game.selected)
            deselect(game);
        else
            selectBall(game, c);
        return;
    }
    if (!game.selected.valid()) return;
    if (!startMove(game, c)) refuseClick(game, c, Refusal::OutOfReach);
}

void releaseBoard(GameState& game, base::Vec2 cursor) {
    const bool held = game.mainButtonDown && game.mainButtonHeldMs > kDragMinHoldMs;
    game.mainButtonDown = false;
    if (!held || game.moveInFlight || endSequenceRunning(game) || !game.selected.valid()) return;
    const CellRef c = cellAtPoint(cursor);
    if (!c.valid() || c == game.selected || !game.board.at(c).isFree()) return;
    startMove(game, c);
}

void doubleClickBoard(GameState& game, base::Vec2 cursor) {
    if (game.moveInFlight) return;
    if (game.cursorMode == CursorMode::Question) {
        game.cursorMode = CursorMode::Normal;
        return;
    }
    const CellRef c = cellAtPoint(cursor);
    if (!c.valid() || !game.board.at(c).isCell()) {
        if (cursor.x >= -360.0f && cursor.x <= 300.0f && cursor.y >= -300.0f && cursor.y <= 300.0f) {
            sound::playSound("menu.ogg");
            pauseGame(game);
        }
        return;
    }
    const Cell& cell = game.board.at(c);
    if (cell.hasPiece() && cell.piece.chained > 0) return;
    if (c == game.selected) {
        deselect(game);
        return;
    }
    game.selected = c;
    game.idleMs = 0;
    game.hint.timeLeftMs = 0;
    computeDistances(game.board, c);
}

}  // namespace tessaly::game
