#include "game/saved_game.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include "base/byte_io.h"
#include "base/files.h"
#include "game/board.h"
#include "game/flow.h"
#include "game/moves.h"

namespace tessaly::game {

namespace {

using Writer = base::ByteWriter;
using Reader = base::ByteReader;

// One field list serves both directions, so the order can't drift apart.
template <typename IO, typename C>
void transferCell(IO& io, C& c) {
    io.i32(c.reserved0);
    io.i32(c.floor);
    io.i32(c.dist);
    auto& p = c.piece;
    io.f32(p.offset.x);
    io.f32(p.offset.y);
    io.i32(p.kind);
    io.u32(p.reserved12[0]);
    io.u32(p.reserved12[1]);
    io.f32(p.clockMs);
    io.i32(p.targetX);
    io.i32(p.targetY);
    io.f32(p.flightMs);
    io.f32(p.appear);
    io.f32(p.shakeMs);
    io.f32(p.phase);
    io.u32(p.reserved48[0]);
    io.u32(p.reserved48[1]);
    io.i32(p.chained);
    io.f32(p.visited);
    io.i32(c.pending);
    io.f32(c.pendingTimerMs);
    io.i32(c.reserved84);
    io.f32(c.floorClockMs);
    io.f32(c.squareClockMs);
    io.i32(c.reserved96);
    io.f32(c.scale);
    io.u8(c.marked);
    for (auto& b : c.padding105) io.u8(b);
}

template <typename IO, typename G>
void transferGame(IO& io, G& g) {
    auto& r = g.reserved;
    io.i32(r.head0);
    io.i32(r.head1);
    io.i32(g.flightTotalMs);
    io.i32(g.level.colors);
    for (auto& column : g.board.cells)
        for (auto& cell : column) transferCell(io, cell);
    for (auto& point : g.path) {
        io.f32(point.x);
        io.f32(point.y);
    }
    io.i32(g.pathLength);
    for (auto& v : g.level.bonusFigure) io.i32(v);
    io.i32(g.playTimeMs);
    io.f32(g.hammerCharge);
    io.i32(g.combo);
    io.i32(g.level.jockerFrequency);
    io.i32(g.board.freeCells);
    io.i32(g.level.addBalls);
    io.boolean(g.moveInFlight);
    for (auto& b : r.afterFlight) io.u8(b);
    io.boolean(g.debugDisplay);
    io.u8(r.afterDebug);
    io.i32(g.moveCounter);
    io.i32(g.movesMade);
    io.boolean(g.lastLevelLost);
    for (auto& b : r.afterLost) io.u8(b);
    io.i32(g.maxCombo);
    for (auto& v : r.afterMaxCombo) io.i32(v);
    io.i32(g.levelScore);
    io.i32(g.livesShown);
    io.f32(g.gameClockMs);
    io.f32(g.animationClockMs);
    io.f32(r.beforeComplete);
    io.f32(g.completeTimer);
    io.boolean(g.rightButtonHeld);
    io.i32(g.levelIndex);
    for (auto& v : r.afterLevel) io.i32(v);
    io.f32(g.barTotal);
    io.f32(g.barRemaining);
}

bool validPieceCode(int kind) { return kind == kNoPiece || isKnownPiece(kind); }

// The ranges play produces for the image's numbers.
constexpr float kMaxOffset = kBoardSize * kCellSize;  // a drawing offset never leaves the array
constexpr float kMaxShakeMs = 800.0f;                 // a shake runs at most 800 ms
constexpr float kSlowestBallSpeed = 150.0f;           // the slowest ball the options offer
const int32_t kMaxFlightMs = flightTimeMs(kMaxPathPoints - 1, kSlowestBallSpeed);
constexpr int32_t kMaxDistance = kFieldColumns * kFieldRows;
constexpr int32_t kMaxChains = 1;                     // a level file chains a piece once
constexpr int32_t kMaxLivesShown = 100000;            // more than any total score brings

bool finiteWithin(float v, float lo, float hi) { return std::isfinite(v) && v >= lo && v <= hi; }
bool within(int32_t v, int32_t lo, int32_t hi) { return v >= lo && v <= hi; }

bool cellNumbersInRange(const Cell& c) {
    const Piece& p = c.piece;
    return within(c.dist, -1, kMaxDistance) && finiteWithin(p.offset.x, -kMaxOffset, kMaxOffset) &&
           finiteWithin(p.offset.y, -kMaxOffset, kMaxOffset) && finiteWithin(p.clockMs, 0, kMaxClockMs) &&
           finiteWithin(p.flightMs, 0, float(kMaxFlightMs)) && finiteWithin(p.appear, -1, kAppearStart) &&
           finiteWithin(p.shakeMs, -1, kMaxShakeMs) && finiteWithin(p.phase, 0, 1) && within(p.chained, 0, kMaxChains) &&
           finiteWithin(p.visited, 0, 1) && finiteWithin(c.pendingTimerMs, 0, kPendingTimerStart) &&
           finiteWithin(c.floorClockMs, 0, kMaxClockMs) && finiteWithin(c.squareClockMs, 0, kMaxClockMs) &&
           finiteWithin(c.scale, 0, 1) && c.marked <= 1;
}

// Every counter, clock and float of the image must be finite and inside
// what play produces; the rules then never meet a NaN or an overflow.
bool numbersInRange(const GameState& g, std::string& error) {
    const auto fail = [&](const char* what) {
        error = what;
        return false;
    };
    for (const auto& column : g.board.cells)
        for (const Cell& c : column)
            if (!cellNumbersInRange(c)) return fail("a cell holds a number out of range");
    for (const base::Vec2& point : g.path)
        if (!finiteWithin(point.x, -kMaxOffset, kMaxOffset) || !finiteWithin(point.y, -kMaxOffset, kMaxOffset))
            return fail("the move path leaves the board");
    for (const int32_t v : g.level.bonusFigure)
        if (!within(v, -1, 9)) return fail("the bonus figure holds a number that is not a digit");
    if (!within(g.flightTotalMs, 0, kMaxFlightMs)) return fail("the flight time is out of range");
    if (!within(g.playTimeMs, 0, kMaxPlayTimeMs)) return fail("the play time is out of range");
    if (!finiteWithin(g.hammerCharge, 0, 1)) return fail("the hammer charge is out of range");
    if (!within(g.combo, 0, kMaxCombo) || !within(g.maxCombo, 0, kMaxCombo)) return fail("the combo is out of range");
    if (!within(g.level.addBalls, 0, kMaxAddBalls)) return fail("addballs is beyond the board");
    if (!within(g.moveCounter, -kMaxMoveCount, kMaxMoveCount) || !within(g.movesMade, 0, kMaxMoveCount))
        return fail("a move count is out of range");
    if (!within(g.levelScore, 0, kMaxLevelScore)) return fail("the level score is out of range");
    if (!within(g.livesShown, -1, kMaxLivesShown)) return fail("the lives shown are out of range");
    if (!finiteWithin(g.gameClockMs, 0, kMaxClockMs) || !finiteWithin(g.animationClockMs, 0, kMaxClockMs))
        return fail("a clock is out of range");
    if (!std::isfinite(g.reserved.beforeComplete)) return fail("a reserved number is not finite");
    if (g.completeTimer != -1.0f && !finiteWithin(g.completeTimer, 0, kCompleteSequenceMs))
        return fail("the complete timer is out of range");
    if (!finiteWithin(g.barTotal, 0, kMaxBarTotal) || !finiteWithin(g.barRemaining, 0, g.barTotal))
        return fail("the level bar is out of range");
    return true;
}

// Checks what the rules rely on: known codes, floors in range, nothing but
// non-cells in the margin, a consistent free-cell count, a path that fits,
// a ball in flight that exists, and every number in the range play gives it.
bool checkImage(const GameState& g, std::string& error) {
    const Board& b = g.board;
    int flying = 0;
    for (int x = 0; x < kBoardSize; ++x)
        for (int y = 0; y < kBoardSize; ++y) {
            const Cell& c = b.at(x, y);
            if (c.floor < -1 || c.floor > 9 || !validPieceCode(c.piece.kind) || !validPieceCode(c.pending) ||
                c.piece.chained < 0) {
                error = "a cell holds an unknown code";
                return false;
            }
            if (!inWindow(x, y) && (c.floor != -1 || c.piece.kind != kNoPiece || c.pending != kNoPiece)) {
                error = "a cell outside the field is in use";
                return false;
            }
            if (!c.isCell() && (c.piece.kind != kNoPiece || c.pending != kNoPiece)) {
                error = "a piece stands on a non-cell";
                return false;
            }
            if (c.piece.targetX != -1 || c.piece.targetY != -1) {
                if (!c.hasPiece() || !inWindow(c.piece.targetX, c.piece.targetY) ||
                    !std::isfinite(c.piece.flightMs)) {
                    error = "a move target is out of the field";
                    return false;
                }
                ++flying;
            }
        }
    if (b.freeCells != countFreeCells(b)) {
        error = "the free-cell count doesn't match the board";
        return false;
    }
    if (g.pathLength < 0 || g.pathLength >= kMaxPathPoints) {
        error = "the move path is too long";
        return false;
    }
    if (g.moveInFlight && (flying != 1 || g.pathLength < 1)) {
        error = "the ball in flight is missing";
        return false;
    }
    if (g.level.colors < 1 || g.level.colors > kMaxColors || g.level.jockerFrequency < 1 ||
        g.level.addBalls < 0 || g.levelIndex < 0 || g.levelIndex >= kLevelCount) {
        error = "a level parameter is out of range";
        return false;
    }
    return numbersInRange(g, error);
}

}  // namespace

void encodeSavedGame(const GameState& game, uint8_t* out) {
    Writer w{out};
    transferGame(w, game);
}

bool decodeSavedGame(const uint8_t* bytes, size_t size, GameState& game, std::string& error) {
    if (size != kSavedGameBytes) {
        error = "the file is " + std::to_string(size) + " bytes, not " + std::to_string(kSavedGameBytes);
        return false;
    }
    auto scratch = std::make_unique<GameState>(game);
    Reader r{bytes};
    transferGame(r, *scratch);
    if (!checkImage(*scratch, error)) return false;

    GameState& g = *scratch;
    g.selected = kNoCell;
    g.moveFrom = g.moveTarget = kNoCell;
    if (g.moveInFlight) {
        for (int x = kFieldLeft; x <= kFieldRight; ++x)
            for (int y = kFieldTop; y <= kFieldBottom; ++y) {
                const Piece& p = g.board.at(x, y).piece;
                if (p.targetX == -1) continue;
                g.moveFrom = g.selected = {x, y};
                g.moveTarget = {p.targetX, p.targetY};
            }
    }
    g.hint = {};
    g.cursorMode = CursorMode::Normal;
    g.mainButtonDown = false;
    game = g;
    return true;
}

bool saveGame(const GameState& game, const std::string& path) {
    std::vector<uint8_t> image(kSavedGameBytes);
    encodeSavedGame(game, image.data());
    return base::writeFileAtomic(path, image.data(), image.size());
}

bool loadGame(GameState& game, const std::string& path) {
    // A file of any other size is refused unread: only an exact image is taken.
    base::FileBytes file;
    const base::FileStatus status = base::readWholeFile(path, kSavedGameBytes, file);
    std::string error;
    if (status == base::FileStatus::Missing) return false;
    if (status == base::FileStatus::TooLarge) error = "longer than a saved game";
    else if (status != base::FileStatus::Ok) error = base::fileStatusText(status);
    else if (decodeSavedGame(file.data.get(), file.size, game, error)) return true;
    std::fprintf(stderr, "Saved game %s not loaded: %s\n", path.c_str(), error.c_str());
    return false;
}

}  // namespace tessaly::game
