// Sections: announcing and arriving | level-start fill | bestPiece and the
// hint search.
#include "game/spawn.h"

#include <algorithm>
#include <memory>

#include "base/random.h"
#include "game/moves.h"
#include "game/removal.h"
#include "sound/sound.h"

namespace tessaly::game {

namespace {

constexpr int kDirections[4][2] = {{1, 1}, {-1, 1}, {1, 0}, {0, 1}};
constexpr int kJokerNeverFrequency = 1000000;

Tip bonusTip(int kind) {
    switch (kind) {
        case kBomb: return Tip::TripleBomb;
        case kDiamond: return Tip::Diamond;
        default: return Tip::QuadroBomb;
    }
}

const char* bonusEffect(int kind) {
    switch (kind) {
        case kBomb: return "addbomb1";
        case kDiamond: return "adddiamond";
        default: return "addbomb2";
    }
}

}  // namespace

void showTipOnce(GameState& game, Tip tip, base::Vec2 at, float durationMs, CellRef cell) {
    if (game.host->tipShown(tip)) return;
    game.host->showTip(tipName(tip), at, durationMs, cell);
    game.host->markTipShown(tip);
}

// ---------------------------------------------------------------------------
// Announcing and arriving

void announceBall(GameState& game) {
    Board& board = game.board;
    if (board.freeCells <= 0 || game.level.colors <= 0) return;
    int piece = base::randomBelow(game.level.colors);
    const int frequency = std::max(1, game.level.jockerFrequency);
    if (base::randomBelow(frequency) == 0 && frequency < kJokerNeverFrequency) piece = kJoker;
    int k = base::randomBelow(board.freeCells);
    for (int x = 0; x < kBoardSize; ++x)
        for (int y = 0; y < kBoardSize; ++y) {
            Cell& cell = board.at(x, y);
            if (!cell.isFree()) continue;
            if (k-- > 0) continue;
            cell.pending = piece;
            cell.pendingTimerMs = kPendingTimerStart;
            return;
        }
}

void announceBalls(GameState& game, int count) {
    // announceBall does nothing (and draws no random number) on a full
    // board, so stopping there changes nothing but the time spent.
    for (int i = 0; i < count && game.board.freeCells > 0; ++i) announceBall(game);
}

void arriveBalls(GameState& game) {
    if (game.demo) return;
    Board& board = game.board;
    if (board.freeCells == 1) announceBall(game);
    bool arrived = false;
    CellRef lastJoker;
    for (int x = 0; x < kBoardSize; ++x)
        for (int y = 0; y < kBoardSize; ++y) {
            Cell& cell = board.at(x, y);
            if (!cell.isCell() || cell.pending == kNoPiece) continue;
            if (!cell.hasPiece()) {
                cell.piece = newPiece(cell.pending);
                cell.pendingTimerMs = 0;
                --board.freeCells;
                arrived = true;
                if (cell.pending == kJoker) lastJoker = {x, y};
            }
            cell.pending = kNoPiece;
        }
    if (lastJoker.valid()) showTipOnce(game, Tip::JokerTip, cellCentre(lastJoker), 1000.0f, lastJoker);
    if (arrived) sound::playSound("addball.ogg");
}

void specialArrival(GameState& game) {
    Board& board = game.board;
    if (board.freeCells == 1) announceBall(game);
    for (int x = 0; x < kBoardSize; ++x)
        for (int y = 0; y < kBoardSize; ++y) {
            Cell& cell = board.at(x, y);
            if (!cell.isCell() || cell.pending <= kJoker) continue;
            const int kind = cell.pending;
            cell.pending = kNoPiece;
            if (cell.hasPiece()) continue;  // the bonus is lost
            cell.piece = newPiece(kind);
            cell.pendingTimerMs = 0;
            --board.freeCells;
            const base::Vec2 at = cellCentre(x, y);
            sound::playSound("addbonus.ogg");
            game.host->playEffect(bonusEffect(kind), at, kind);
            showTipOnce(game, bonusTip(kind), at, 2000.0f, {x, y});
        }
}

void giveBonus(GameState& game, int kind) {
    if (!game.lastMoveCell.valid()) return;
    game.board.at(game.lastMoveCell).pending = kind;
    specialArrival(game);
}

// ---------------------------------------------------------------------------
// Level-start fill

namespace {

// The board as it will stand once the announced pieces have arrived: every
// empty cell holds its announced piece, and every piece counts as fully
// appeared, so that the line finder sees what the first pass will see.
std::unique_ptr<Board> boardAfterArrival(const Board& board) {
    auto after = std::make_unique<Board>(board);
    for (auto& column : after->cells)
        for (Cell& c : column) {
            if (c.isCell() && !c.hasPiece() && c.pending != kNoPiece) c.piece.kind = c.pending;
            if (c.hasPiece()) c.piece.appear = 0;
        }
    return after;
}

}  // namespace

bool wouldCompleteLine(const Board& board, int x, int y, int code) {
    auto after = boardAfterArrival(board);
    after->at(x, y).piece.kind = code;
    after->at(x, y).piece.appear = 0;
    return standsInLine(*after, x, y);
}

void fillAtLevelStart(GameState& game) {
    Board& board = game.board;
    announceBalls(game, board.freeCells / 2);
    // Every announced piece is checked, colour 0 and jokers included, by the
    // line finder's own rules, so that no line stands complete the moment
    // the level starts. A withdrawn piece leaves the board the later checks
    // see, in the same walk order as before.
    auto after = boardAfterArrival(board);
    for (int x = kFieldLeft; x <= kFieldRight; ++x)
        for (int y = kFieldTop; y <= kFieldBottom; ++y) {
            Cell& cell = board.at(x, y);
            if (cell.pending == kNoPiece || cell.hasPiece()) continue;
            if (!standsInLine(*after, x, y)) continue;
            cell.pending = kNoPiece;
            after->at(x, y).piece.kind = kNoPiece;
        }
    arriveBalls(game);
}

// ---------------------------------------------------------------------------
// bestPiece and the hint search

BestPiece bestPiece(Board& board, int x, int y) {
    BestPiece best;
    Cell& cell = board.at(x, y);
    const Piece saved = cell.piece;
    // Every ball colour a level can play with (Action levels use up to
    // eight), then the specials. A colour with no ball on the board can only
    // tie with colour 0 and never wins.
    static constexpr int kCodes[] = {0, 1, 2, 3, 4, 5, 6, 7, kJoker, kBomb, kDiamond, kSuperbomb};
    static_assert(kMaxColors == 8, "bestPiece tries the colours 0..7: list every colour");
    for (const int code : kCodes) {
        cell.piece.kind = code;
        cell.piece.appear = 0;
        int sum = 0;
        CellRef starts[4];
        int lengths[4] = {};
        for (int d = 0; d < 4; ++d) {
            const int colour = d == 3 && isSpecial(code) ? verticalColour(board, x, y, code) : code;
            const int n = runThrough(board, x, y, kDirections[d][0], kDirections[d][1], colour, &starts[d]);
            if (n >= board.minLine) {
                sum += n;
                lengths[d] = n;
            }
        }
        if (sum <= best.score) continue;
        best.kind = code;
        best.score = sum;
        best.lineCount = 0;
        for (int d = 0; d < 4; ++d)
            for (int i = 0; i < lengths[d] && best.lineCount < kMaxBestPieceCells; ++i) {
                const CellRef c{starts[d].x + kDirections[d][0] * i, starts[d].y + kDirections[d][1] * i};
                if (!(c == CellRef{x, y})) best.line[best.lineCount++] = c;
            }
    }
    cell.piece = saved;
    return best;
}

namespace {

constexpr int kNeighbours[4][2] = {{-1, 0}, {1, 0}, {0, -1}, {0, 1}};

// Marks every empty cell reachable from `from` (visited = 1).
void floodEmpty(Board& board, CellRef from) {
    for (int x = kFieldLeft; x <= kFieldRight; ++x)
        for (int y = kFieldTop; y <= kFieldBottom; ++y) board.at(x, y).piece.visited = 0;
    std::array<CellRef, kFieldColumns * kFieldRows> stack;
    int top = 0;
    board.at(from).piece.visited = 1;
    stack[top++] = from;
    while (top > 0) {
        const CellRef c = stack[--top];
        for (const auto& d : kNeighbours) {
            Cell& n = board.at(c.x + d[0], c.y + d[1]);
            if (!n.isFree() || n.piece.visited != 0) continue;
            n.piece.visited = 1;
            stack[top++] = {c.x + d[0], c.y + d[1]};
        }
    }
}

bool besideReached(const Board& board, int x, int y) {
    for (const auto& d : kNeighbours)
        if (board.at(x + d[0], y + d[1]).piece.visited != 0) return true;
    return false;
}

bool inLine(const BestPiece& best, int x, int y) {
    for (int i = 0; i < best.lineCount; ++i)
        if (best.line[i] == CellRef{x, y}) return true;
    return false;
}

bool searchTargets(GameState& game, bool squaresOnly, CellRef& ball, CellRef& target) {
    Board& board = game.board;
    for (int y = kFieldTop; y <= kFieldBottom; ++y)
        for (int x = kFieldLeft; x <= kFieldRight; ++x) {
            const Cell& t = board.at(x, y);
            if (!t.isFree() || (squaresOnly && t.floor <= 0)) continue;
            const BestPiece best = bestPiece(board, x, y);
            if (best.kind == kNoPiece) continue;
            if (!findBallFor(board, {x, y}, best, ball)) continue;
            target = {x, y};
            return true;
        }
    return false;
}

}  // namespace

bool findBallFor(Board& board, CellRef target, const BestPiece& best, CellRef& ball) {
    floodEmpty(board, target);
    for (int py = kFieldTop; py <= kFieldBottom; ++py)
        for (int px = kFieldLeft; px <= kFieldRight; ++px) {
            const Piece& p = board.at(px, py).piece;
            if (p.kind != best.kind || p.chained > 0) continue;
            if (!besideReached(board, px, py) || inLine(best, px, py)) continue;
            ball = {px, py};
            return true;
        }
    return false;
}

bool findHint(GameState& game, CellRef& ball, CellRef& target) {
    bool found = false;
    if (game.mode == Mode::Puzzle) found = searchTargets(game, true, ball, target);
    if (!found) found = searchTargets(game, false, ball, target);
    if (found) computeDistances(game.board, ball);
    return found;
}

}  // namespace tessaly::game
