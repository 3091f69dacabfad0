// Sections: pure helpers (path trace, zoom, wobble, level-end flight) |
// floors and squares | paths | pieces | bolts and progress sparks.
#include "game/board_view.h"

#include <algorithm>
#include <cmath>

#include "base/random.h"
#include "game/flow.h"
#include "game/moves.h"
#include "game/panel.h"
#include "game/play_textures.h"
#include "game/play_view.h"
#include "game/tips.h"
#include "gfx/bolts.h"
#include "gfx/draw.h"
#include "gfx/font.h"
#include "gfx/sprite_sheet.h"

namespace tessaly::game {

namespace {

constexpr float kDepth = 50.0f;              // every board quad; 2D drawing has no depth test
constexpr float kSquareFlashMs = 502.65f;    // one square's turn in the shimmer that runs over the squares
constexpr int kGlowCell = 12;                // the sheet's soft round glow
constexpr int kDotCell = 4;                  // the sheet's soft-edged disc
constexpr int kBlendAdditive = 1;

}  // namespace

// ---------------------------------------------------------------------------
// Pure helpers

bool tracePreview(const Board& board, CellRef from, CellRef to, PathPreview& out) {
    out.steps = 0;
    out.from = from;
    out.to = to;
    if (!from.valid() || !to.valid() || from == to) return false;
    if (!board.at(to).isFree() || board.at(to).dist < 1) return false;
    const int n = tracePath(board, from, to, out.points.data(), kMaxPathPoints);
    if (n < 1) return false;
    const base::Vec2 origin = cellCentre(from);
    for (int i = 0; i <= n; ++i) {
        out.points[size_t(i)] = out.points[size_t(i)] + origin;
        // Every cell the ball would cross must still be free (the start
        // holds the ball itself).
        if (i < n && !board.at(cellAtPoint(out.points[size_t(i)])).isFree()) return false;
    }
    out.steps = n;
    return true;
}

float arrivalAngle(const PathPreview& path) {
    if (path.steps < 1) return 0;
    return base::angleOf(path.points[0] - path.points[1]);
}

float appearScale(float appear) {
    const float t = base::clamp01(1.0f - appear / kAppearStart);
    // Ease out with a slight overshoot: 0 at the start, about 1.1 at its
    // peak, exactly 1 at the end.
    constexpr float c = 1.3f;
    const float u = t - 1.0f;
    return 1.0f + (c + 1.0f) * u * u * u + c * u * u;
}

float pendingScale(float pendingTimerMs) { return base::clamp01(1.0f - pendingTimerMs / kPendingTimerStart); }

float idleWobble(float clockMs, float phase) {
    return 1.0f + 0.025f * std::sin(clockMs * 0.0035f + phase * 2.0f * base::kPi);
}

CellFlight cellFlight(float elapsedMs) {
    // Always four draws, so every cell after this one keeps its numbers.
    const float delay = base::repeatableUnit(kFlightSpreadMs);
    const float angle = 90.0f + base::repeatableSigned(65.0f);   // a fan opening upwards
    const float speed = 0.18f + base::repeatableUnit(0.3f);      // units per ms
    const float spin = base::repeatableSigned(0.45f);            // degrees per ms
    CellFlight f;
    const float t = elapsedMs - kFlightStartMs - delay;
    if (t <= 0) return f;
    constexpr float kGravity = 0.0011f;  // units per ms²
    const float a = angle * base::kDegToRad;
    f.offset = {std::cos(a) * speed * t, std::sin(a) * speed * t - 0.5f * kGravity * t * t};
    f.angleDeg = spin * t;
    f.scale = std::max(0.0f, 1.0f - t / 1400.0f);
    return f;
}

// ---------------------------------------------------------------------------
// The board

namespace {

// Where each cell of the window is drawn this frame.
struct CellPose {
    base::Vec2 centre;
    float angleDeg = 0;
    float scale = 0;  // 0: not drawn
};
using Poses = std::array<std::array<CellPose, kFieldRows>, kFieldColumns>;

float levelEndElapsed(const GameState& game) {
    if (game.completeTimer > 0) return kCompleteSequenceMs - game.completeTimer;
    if (game.completeTimer < 0) return 1e9f;  // finished: every cell has gone
    return -1;
}

void posesFor(const GameState& game, Poses& poses) {
    const float elapsed = game.completeTimer != 0 ? levelEndElapsed(game) : -1;
    if (elapsed >= 0) base::seedRepeatable(1000);
    for (int x = kFieldLeft; x <= kFieldRight; ++x)
        for (int y = kFieldTop; y <= kFieldBottom; ++y) {
            CellPose& p = poses[size_t(x - kFieldLeft)][size_t(y - kFieldTop)];
            const Cell& cell = game.board.at(x, y);
            p = {cellCentre(x, y), 0, 0};
            if (!cell.isCell()) continue;
            p.scale = cell.scale;
            if (elapsed < 0) continue;
            const CellFlight f = cellFlight(elapsed);
            p.centre = p.centre + f.offset;
            p.angleDeg = f.angleDeg;
            p.scale *= f.scale;
        }
}

const CellPose& poseOf(const Poses& poses, int x, int y) {
    return poses[size_t(x - kFieldLeft)][size_t(y - kFieldTop)];
}

void quad(const gfx::TextureEntry* texture, base::Vec2 c, float angleDeg, float size, uint32_t colour) {
    gfx::setTexture(texture);
    gfx::drawSprite(c.x, c.y, angleDeg, size, size, 0, 0, 1, 1, colour, kDepth);
}

// The shimmer of the squares' overlays: a soft breathing of every square,
// and a brighter flash that passes from square to square in board order,
// one every 502.65 ms, followed by a rest of ten turns.
float squareGlow(const Cell& cell, int order, int squares, int x, int y) {
    float glow = 0.55f + 0.2f * std::sin(cell.floorClockMs * 0.0025f + float(x) * 0.7f + float(y) * 1.3f);
    if (squares > 0) {
        const float turns = cell.squareClockMs / kSquareFlashMs;
        const int turn = int(turns) % (squares + 10);
        if (turn == order) glow += 0.45f * std::sin(base::kPi * (turns - std::floor(turns)));
    }
    return base::clamp01(glow);
}

// The frame colour of a square under a piece: amber for a single square,
// ice blue for a stronger one, as their overlays; its alpha follows the
// overlay's shimmer but never drops below a clearly visible level.
uint32_t squareFrameColour(int floor, float glow) {
    const int alpha = 170 + int(85 * glow);
    return floor == 1 ? base::clampedArgb(255, 184, 56, alpha) : base::clampedArgb(110, 196, 255, alpha);
}

// The shimmer of the square at (x, y), counted in the order drawFloors uses.
float squareGlowOf(const Board& board, int cx, int cy) {
    int squares = 0, order = -1;
    for (int x = kFieldLeft; x <= kFieldRight; ++x)
        for (int y = kFieldTop; y <= kFieldBottom; ++y) {
            if (board.at(x, y).floor <= 0) continue;
            if (x == cx && y == cy) order = squares;
            ++squares;
        }
    return squareGlow(board.at(cx, cy), order, squares, cx, cy);
}

// The board's mat: a dark plate under the tiles that shows between them
// and as a frame round the field's outline, with a soft shadow off its
// lower right, so that the pale tiles hold against the palest land and
// tint. Each cell draws its own square of it (they tile the field without
// overlapping) and, on a side with no cell beyond, a strip of the frame.
constexpr float kMatFrame = 7.0f;                  // frame width beyond the outer cells, units
constexpr base::Vec2 kMatShadowOffset{6.0f, -8.0f};

void drawMat(const GameState& game, const Poses& poses) {
    const Board& board = game.board;
    constexpr float kHalf = kCellSize / 2;
    auto isCell = [&](int x, int y) { return inWindow(x, y) && board.at(x, y).isCell(); };
    auto piece = [&](const CellPose& p, base::Vec2 offset, float w, float h, uint32_t colour) {
        const base::Vec2 c = p.centre + base::rotateDeg(offset, p.angleDeg);
        gfx::drawSprite(c.x, c.y, p.angleDeg, w, h, 0, 0, 1, 1, colour, kDepth);
    };
    gfx::setTexture(nullptr);
    for (int pass = 0; pass < 2; ++pass)
        for (int x = kFieldLeft; x <= kFieldRight; ++x)
            for (int y = kFieldTop; y <= kFieldBottom; ++y) {
                if (!isCell(x, y)) continue;
                const CellPose& p = poseOf(poses, x, y);
                if (p.scale <= 0) continue;
                const float k = std::min(1.0f, p.scale);
                const base::Vec2 shift = pass == 0 ? kMatShadowOffset : base::Vec2{};
                const uint32_t colour = pass == 0 ? base::clampedArgb(0, 0, 0, int(80 * k * k))
                                                  : base::clampedArgb(54, 42, 32, int(255 * k * k));
                piece(p, shift, kCellSize, kCellSize, colour);
                // y grows downwards in cell rows, upwards on the screen.
                const bool left = !isCell(x - 1, y), right = !isCell(x + 1, y);
                const bool up = !isCell(x, y - 1), down = !isCell(x, y + 1);
                const float f = kMatFrame, o = kHalf + f / 2;
                if (left) piece(p, shift + base::Vec2{-o, 0}, f, kCellSize, colour);
                if (right) piece(p, shift + base::Vec2{o, 0}, f, kCellSize, colour);
                if (up) piece(p, shift + base::Vec2{0, o}, kCellSize, f, colour);
                if (down) piece(p, shift + base::Vec2{0, -o}, kCellSize, f, colour);
                if (left && up) piece(p, shift + base::Vec2{-o, o}, f, f, colour);
                if (right && up) piece(p, shift + base::Vec2{o, o}, f, f, colour);
                if (left && down) piece(p, shift + base::Vec2{-o, -o}, f, f, colour);
                if (right && down) piece(p, shift + base::Vec2{o, -o}, f, f, colour);
            }
}

void drawFloors(const GameState& game, const PlayTextures& t, const Poses& poses) {
    const Board& board = game.board;
    drawMat(game, poses);
    // One pass per tile picture keeps the quads of a picture together, so
    // the device draws each picture's tiles in one call.
    for (int kind = 0; kind < 3; ++kind)
        for (int x = kFieldLeft; x <= kFieldRight; ++x)
            for (int y = kFieldTop; y <= kFieldBottom; ++y) {
                const Cell& cell = board.at(x, y);
                if (!cell.isCell() || std::min(cell.floor, 2) != kind) continue;
                const CellPose& p = poseOf(poses, x, y);
                if (p.scale <= 0) continue;
                quad(t.floors[size_t(kind)], p.centre, p.angleDeg, 2 * kFloorHalfSize * p.scale, 0xFFFFFFFFu);
            }
    int squares = 0;
    for (int x = kFieldLeft; x <= kFieldRight; ++x)
        for (int y = kFieldTop; y <= kFieldBottom; ++y) squares += board.at(x, y).floor > 0;
    int order = 0;
    for (int x = kFieldLeft; x <= kFieldRight; ++x)
        for (int y = kFieldTop; y <= kFieldBottom; ++y) {
            const Cell& cell = board.at(x, y);
            if (cell.floor <= 0) continue;
            const CellPose& p = poseOf(poses, x, y);
            const float glow = squareGlow(cell, order++, squares, x, y);
            if (p.scale <= 0) continue;
            quad(t.floorOverlays[size_t(std::min(cell.floor, 2))], p.centre, p.angleDeg,
                 2 * kFloorHalfSize * p.scale, base::clampedArgb(255, 255, 255, int(glow * 255)));
        }
    // Squares stronger than the pictures show carry their count.
    for (int x = kFieldLeft; x <= kFieldRight; ++x)
        for (int y = kFieldTop; y <= kFieldBottom; ++y) {
            const Cell& cell = board.at(x, y);
            const CellPose& p = poseOf(poses, x, y);
            if (cell.floor <= 2 || cell.hasPiece() || p.scale <= 0.5f || !gfx::g_text.current) continue;
            char digit[4] = {char('0' + std::min(cell.floor, 9)), 0};
            gfx::setTextColor(230, 240, 255, 200);
            gfx::drawTextCentred(p.centre.x, p.centre.y - 4, 9, digit);
        }
    gfx::setTextColor(255, 255, 255, 255);
}

void drawSegment(base::Vec2 a, base::Vec2 b, float halfWidth, uint32_t colour);

// The selection is shown unless it is the ball now flying (a ball picked
// during the flight is the next move's and shows at once).
bool selectionShown(const GameState& game) {
    return game.selected.valid() && !(game.moveInFlight && game.selected == game.moveFrom);
}

// The highlighted cells: under the pointer (a piece, a reachable target, or
// anything under the question cursor), the selected ball, the open tip's cell.
void drawHighlights(const PlayView& view, const GameState& game, const PlayTextures& t, const Poses& poses) {
    const Board& board = game.board;
    const float pulse = 0.5f + 0.5f * std::sin(view.clockMs * 0.006f);
    auto highlight = [&](CellRef c, int alpha) {
        if (!c.valid() || !inWindow(c.x, c.y) || !board.at(c).isCell()) return;
        const CellPose& p = poseOf(poses, c.x, c.y);
        if (p.scale <= 0) return;
        quad(t.cellHighlight, p.centre, p.angleDeg, 2 * kFloorHalfSize * p.scale, base::clampedArgb(255, 255, 255, alpha));
    };
    if (game.completeTimer != 0 || !game.running) return;
    if (selectionShown(game)) highlight(game.selected, 150 + int(80 * pulse));
    const CellRef h = view.hover;
    if (h.valid() && !(h == game.selected)) {
        const Cell& cell = board.at(h);
        const bool question = game.cursorMode == CursorMode::Question;
        const bool target = game.selected.valid() && cell.isFree() && cell.dist >= 1 && !game.moveInFlight;
        if (question || cell.hasPiece() || target) highlight(h, question ? 200 : 170);
    }
    if (const TipRequest* tip = openTip(view.tips)) highlight(tip->cell, 120 + int(135 * pulse));
    // The keyboard's cursor: a warm gold cell with a soft halo round it.
    if (view.keyCursorShown && view.keyCell.valid() && inWindow(view.keyCell.x, view.keyCell.y) &&
        board.at(view.keyCell).isCell()) {
        const CellPose& p = poseOf(poses, view.keyCell.x, view.keyCell.y);
        if (p.scale > 0) {
            const float size = 2 * kFloorHalfSize * p.scale;
            quad(t.cellHighlight, p.centre, p.angleDeg, size * (1.18f + 0.06f * pulse),
                 base::clampedArgb(255, 190, 60, 90 + int(60 * pulse)));
            quad(t.cellHighlight, p.centre, p.angleDeg, size, base::clampedArgb(255, 215, 90, 230));
        }
    }
    // A refused target flashes red twice and fades.
    const RefusedClick& r = game.refused;
    if (r.timeLeftMs > 0 && r.why != Refusal::Chained && r.cell.valid() && board.at(r.cell).isCell()) {
        const float k = r.timeLeftMs / kRefusalShowMs;
        const float flash = 0.55f + 0.45f * std::cos(k * 4.0f * base::kPi);
        const CellPose& p = poseOf(poses, r.cell.x, r.cell.y);
        if (p.scale > 0)
            quad(t.cellHighlight, p.centre, p.angleDeg, 2 * kFloorHalfSize * p.scale,
                 base::clampedArgb(255, 70, 50, int(235 * flash * base::clamp01(k * 3.0f))));
    }
}

// An empty cell the selected ball can't reach, under the pointer: a quiet
// grey cross over it (and over an announced ball's preview there).
void drawOutOfReach(const PlayView& view, const GameState& game, const Poses& poses) {
    const Board& board = game.board;
    const CellRef h = view.hover;
    if (game.completeTimer != 0 || !game.running) return;
    if (h.valid() && selectionShown(game) && !game.moveInFlight && game.cursorMode == CursorMode::Normal &&
        board.at(h).isFree() && board.at(h).dist < 1) {
        const CellPose& p = poseOf(poses, h.x, h.y);
        if (p.scale > 0) {
            gfx::setTexture(nullptr);
            const float a = 10.0f * p.scale;
            const uint32_t grey = base::clampedArgb(60, 64, 76, 190);
            drawSegment(p.centre + base::Vec2{-a, -a}, p.centre + base::Vec2{a, a}, 1.8f, grey);
            drawSegment(p.centre + base::Vec2{-a, a}, p.centre + base::Vec2{a, -a}, 1.8f, grey);
        }
    }
}

// ---------------------------------------------------------------------------
// Paths

void drawSegment(base::Vec2 a, base::Vec2 b, float halfWidth, uint32_t colour) {
    const base::Vec2 d = base::normalize(b - a);
    const base::Vec2 side{-d.y * halfWidth, d.x * halfWidth};
    const base::Vec3 corners[4] = {{a.x + side.x, a.y + side.y, kDepth},
                                 {b.x + side.x, b.y + side.y, kDepth},
                                 {b.x - side.x, b.y - side.y, kDepth},
                                 {a.x - side.x, a.y - side.y, kDepth}};
    const uint32_t colours[4] = {colour, colour, colour, colour};
    gfx::drawQuadColors(corners, colours);
}

// A dart pointing along `angleDeg` with its tip `size` ahead of `at`.
void drawArrowHead(base::Vec2 at, float angleDeg, float size, uint32_t colour) {
    const base::Vec2 ahead = base::rotateDeg({size, 0}, angleDeg);
    const base::Vec2 left = base::rotateDeg({-size * 0.55f, size * 0.75f}, angleDeg);
    const base::Vec2 back = base::rotateDeg({-size * 0.15f, 0}, angleDeg);
    const base::Vec2 right = base::rotateDeg({-size * 0.55f, -size * 0.75f}, angleDeg);
    const base::Vec3 corners[4] = {{at.x + ahead.x, at.y + ahead.y, kDepth},
                                 {at.x + left.x, at.y + left.y, kDepth},
                                 {at.x + back.x, at.y + back.y, kDepth},
                                 {at.x + right.x, at.y + right.y, kDepth}};
    const uint32_t colours[4] = {colour, colour, colour, colour};
    gfx::drawQuadColors(corners, colours);
}

// A path of steps from the ball's cell to the target: a line through the
// cell centres with a dot at each cell, and the arrow head on the target
// pointing the way the ball arrives.
void drawPath(const PathPreview& path, int r, int g, int b, int alpha) {
    if (path.steps < 1 || alpha <= 0) return;
    gfx::setTexture(nullptr);
    const uint32_t line = base::clampedArgb(r, g, b, alpha * 4 / 5);
    // The line stops short of the target, where the arrow head sits.
    for (int i = path.steps; i >= 1; --i) {
        base::Vec2 a = path.points[size_t(i)], e = path.points[size_t(i - 1)];
        if (i == 1) e = e - base::normalize(e - a) * 10.0f;
        drawSegment(a, e, 2.5f, line);
    }
    // The waypoints are small flat dots of the path's colour, far smaller
    // than an announced ball's preview, so the two can't be taken for each other.
    const uint32_t dot = base::clampedArgb(r, g, b, alpha);
    for (int i = 1; i < path.steps; ++i)
        gfx::drawSheetSprite(path.points[size_t(i)].x, path.points[size_t(i)].y, 0, 9, dot, 0, kDotCell);
    gfx::setTexture(nullptr);
    const base::Vec2 tip = path.points[0] - base::rotateDeg({6, 0}, arrivalAngle(path));
    drawArrowHead(tip, arrivalAngle(path), 13, dot);
}

// ---------------------------------------------------------------------------
// Pieces

uint32_t pieceTint(const GameState& game, int alpha) {
    // The defeat sequence greys the board out.
    float k = 0;
    if (game.defeatTimer > 0) k = base::clamp01((kDefeatSequenceMs - game.defeatTimer) / 2500.0f);
    if (game.defeatTimer < 0) k = 1;
    const int v = int(255 - 95 * k);
    return base::clampedArgb(v, v, v, alpha);
}

struct PieceAt {
    int kind;
    float clockMs;
    base::Vec2 centre;
    float size;
    float angleDeg;
    uint32_t colour;
};

void drawPieceAt(const PlayTextures& t, const PieceAt& p) {
    const gfx::TextureEntry* texture = pieceTexture(t, p.kind, p.clockMs);
    if (!texture || p.size <= 0) return;
    quad(texture, p.centre, p.angleDeg, p.size, p.colour);
}

void drawShadowAt(const PlayTextures& t, base::Vec2 centre, float size, base::Vec2 offset, int alpha) {
    if (size <= 0) return;
    quad(t.shadow, centre + offset, 0, size, base::clampedArgb(255, 255, 255, alpha));
}

// The announced balls, growing in their empty cells.
void drawPending(const GameState& game, const PlayTextures& t, const Poses& poses) {
    for (int x = kFieldLeft; x <= kFieldRight; ++x)
        for (int y = kFieldTop; y <= kFieldBottom; ++y) {
            const Cell& cell = game.board.at(x, y);
            if (cell.pending == kNoPiece || cell.hasPiece() || !cell.isCell()) continue;
            const CellPose& p = poseOf(poses, x, y);
            const float size = 2 * kPendingHalfSize * pendingScale(cell.pendingTimerMs) * p.scale;
            // A faint shadow lifts it off the pale tile; a little translucent,
            // it still reads as not yet there.
            drawShadowAt(t, p.centre, size, kShadowOffset * 0.5f, 120);
            drawPieceAt(t, {cell.pending, cell.floorClockMs, p.centre, size, 0, pieceTint(game, 235)});
        }
}

// A square's frame over the piece standing on it: four bars just inside the
// cell's edge, a dark outline under a bright core so the frame reads on
// light balls and dark ones alike.
void drawSquareFrame(const CellPose& pose, uint32_t colour) {
    const float h = (kFloorHalfSize - 4.0f) * pose.scale;
    base::Vec2 corners[4] = {{-h, h}, {h, h}, {h, -h}, {-h, -h}};
    for (base::Vec2& c : corners) c = pose.centre + base::rotateDeg(c, pose.angleDeg);
    const int alpha = int((colour >> 24) & 0xFF);
    const uint32_t outline = base::clampedArgb(20, 14, 8, alpha * 3 / 5);
    for (int pass = 0; pass < 2; ++pass)
        for (int i = 0; i < 4; ++i) {
            const base::Vec2 a = corners[i], b = corners[(i + 1) % 4];
            const base::Vec2 d = base::normalize(b - a) * (pass == 0 ? 2.2f : 1.2f);
            drawSegment(a - d, b + d, pass == 0 ? 2.4f : 1.3f, pass == 0 ? outline : colour);
        }
}

// A steel ring round a chained ball's rim.
void drawChainRing(base::Vec2 centre, float size, const GameState& game) {
    constexpr int kSides = 20;
    const float r = size * 0.47f;
    const uint32_t tint = pieceTint(game, 255);
    const int v = int(tint & 0xFF);
    const uint32_t outline = base::clampedArgb(16, 20, 28, 200);
    const uint32_t steel = base::clampedArgb(v * 205 / 255, v * 214 / 255, v * 228 / 255, 255);
    for (int pass = 0; pass < 2; ++pass)
        for (int i = 0; i < kSides; ++i) {
            const base::Vec2 a = centre + base::rotateDeg({r, 0}, 360.0f * float(i) / kSides);
            const base::Vec2 b = centre + base::rotateDeg({r, 0}, 360.0f * float(i + 1) / kSides);
            drawSegment(a, b, pass == 0 ? 2.6f : 1.4f, pass == 0 ? outline : steel);
        }
}

}  // namespace

float chainedShake(const GameState& game, CellRef c) {
    const RefusedClick& r = game.refused;
    if (r.why != Refusal::Chained || !(r.cell == c) || r.timeLeftMs <= 0) return 0;
    const float k = r.timeLeftMs / kRefusalShowMs;  // 1 at the click, 0 at the end
    const float elapsed = kRefusalShowMs - r.timeLeftMs;
    return 3.0f * k * std::sin(elapsed * 0.07f);
}

namespace {

// Size and lift of the piece in a cell this frame.
struct PieceLook {
    float size = kPieceSize;
    float lift = 0;  // units above its cell (the selected ball bounces)
    float shake = 0; // units sideways (a chained ball clicked rattles in its chain)
};

PieceLook lookOf(const GameState& game, const Cell& cell, CellRef c, const CellPose& pose) {
    PieceLook look;
    const Piece& p = cell.piece;
    look.size = kPieceSize * pose.scale * appearScale(p.appear) * idleWobble(p.clockMs, p.phase);
    if (c == game.selected && selectionShown(game))
        look.lift = 6.0f * std::fabs(std::sin(p.clockMs * 0.009f));
    look.shake = chainedShake(game, c);
    return look;
}

void drawPieces(const PlayView& view, const GameState& game, const PlayTextures& t, const Poses& poses) {
    (void)view;
    const Board& board = game.board;
    const CellRef flying = game.moveInFlight ? game.moveFrom : kNoCell;
    auto forEachPiece = [&](auto&& visit) {
        for (int x = kFieldLeft; x <= kFieldRight; ++x)
            for (int y = kFieldTop; y <= kFieldBottom; ++y) {
                const Cell& cell = board.at(x, y);
                if (!cell.hasPiece() || flying == CellRef{x, y}) continue;
                const CellPose& pose = poseOf(poses, x, y);
                if (pose.scale <= 0) continue;
                visit(x, y, cell, pose, lookOf(game, cell, {x, y}, pose));
            }
    };
    // Shadows first, all in one picture; a lifted ball's shadow stays on the
    // floor and shrinks a little.
    forEachPiece([&](int, int, const Cell& cell, const CellPose& pose, const PieceLook& look) {
        const float size = look.size * (1.0f - look.lift * 0.02f);
        drawShadowAt(t, pose.centre + cell.piece.offset, size, kShadowOffset, 200);
    });
    // Then the pieces, grouped by picture.
    for (int kind : {0, 1, 2, 3, 4, 5, 6, 7, kJoker, kBomb, kSuperbomb, kDiamond})
        forEachPiece([&](int, int, const Cell& cell, const CellPose& pose, const PieceLook& look) {
            if (cell.piece.kind != kind) return;
            const base::Vec2 at = pose.centre + cell.piece.offset + base::Vec2{look.shake, look.lift};
            drawPieceAt(t, {kind, cell.piece.clockMs, at, look.size, pose.angleDeg, pieceTint(game, 255)});
        });
    // A square under a piece shows as a frame in its colour over the ball's
    // edge, so the squares stay in sight where the pieces cover them.
    gfx::setTexture(nullptr);
    forEachPiece([&](int x, int y, const Cell& cell, const CellPose& pose, const PieceLook&) {
        if (cell.floor <= 0 || pose.scale <= 0.3f) return;
        drawSquareFrame(pose, squareFrameColour(cell.floor, squareGlowOf(board, x, y)));
    });
    // Chains over their pieces: a steel ring round the ball's rim and the
    // chain with its lock, a little larger than the ball.
    forEachPiece([&](int, int, const Cell& cell, const CellPose& pose, const PieceLook& look) {
        if (cell.piece.chained <= 0) return;
        drawChainRing(pose.centre + cell.piece.offset + base::Vec2{look.shake, 0}, look.size, game);
    });
    forEachPiece([&](int, int, const Cell& cell, const CellPose& pose, const PieceLook& look) {
        if (cell.piece.chained <= 0) return;
        quad(t.chain, pose.centre + cell.piece.offset + base::Vec2{look.shake, 0}, pose.angleDeg, look.size * 1.15f,
             pieceTint(game, 255));
    });
    forEachPiece([&](int, int, const Cell& cell, const CellPose& pose, const PieceLook&) {
        if (cell.piece.chained <= 1 || !gfx::g_text.current) return;
        char count[8] = {'x', char('0' + std::min(cell.piece.chained, 9)), 0};
        gfx::setTextColor(255, 236, 180, 255);
        gfx::drawTextCentred(pose.centre.x + 12, pose.centre.y - 14, 8, count);
        gfx::setTextColor(255, 255, 255, 255);
    });
}

// Removed pieces waiting for their turn, then swelling and fading out as
// they pay.
void drawPoppingPieces(const GameState& game, const PlayTextures& t) {
    const ScoreQueue& q = game.scores;
    for (int i = 0; i < q.count; ++i) {
        const ScoreItem& item = q.items[size_t(i)];
        if (item.done) continue;
        const float k = item.waitMs > 0 ? 0.0f : base::clamp01(item.popMs / kScoreItemPopMs);
        const float size = kPieceSize * (1.0f + 0.55f * k);
        const int alpha = int(255 * (1.0f - k * k));
        if (k == 0) drawShadowAt(t, item.at, kPieceSize, kShadowOffset, 200);
        drawPieceAt(t, {item.kind, game.animationClockMs, item.at, size, 0, base::clampedArgb(255, 255, 255, alpha)});
        if (k > 0) {
            gfx::drawSheetSprite(item.at.x, item.at.y, 0, size * 1.4f, base::clampedArgb(255, 240, 200, int(200 * (1 - k))),
                                 kBlendAdditive, kGlowCell);
            gfx::setSheetBlend(0);
        }
    }
}

// The ball in flight, over everything else on the board, its shadow further
// off as it is lifted.
void drawFlyingBall(const GameState& game, const PlayTextures& t) {
    if (!game.moveInFlight) return;
    const Cell& cell = game.board.at(game.moveFrom);
    if (!cell.hasPiece()) return;
    const base::Vec2 at = cellCentre(game.moveFrom) + cell.piece.offset;
    const float size = kPieceSize * 1.08f;
    drawShadowAt(t, at, size * 0.9f, kShadowOffset * 2.2f, 150);
    drawPieceAt(t, {cell.piece.kind, cell.piece.clockMs, at + base::Vec2{0, 3}, size, 0, 0xFFFFFFFFu});
}

void drawHammerStrike(const PlayView& view, const PlayTextures& t) {
    if (view.strike.timeMs < 0 || view.strike.timeMs > kHammerStrikeMs) return;
    // The head swings down onto the cell in the first third, then lifts
    // away and fades.
    const float k = view.strike.timeMs / kHammerStrikeMs;
    const float swing = k < 0.33f ? 1.0f - k / 0.33f : 0.0f;
    const float fade = k < 0.33f ? 1.0f : 1.0f - (k - 0.33f) / 0.67f;
    const base::Vec2 at = view.strike.at + base::Vec2{18, 26};
    gfx::setTexture(t.hammerCursor);
    gfx::drawSprite(at.x, at.y, 50.0f * swing, 56, 56, 0, 0, 1, 1, base::clampedArgb(255, 255, 255, int(255 * fade)), kDepth);
}

}  // namespace

void drawBoard(const PlayView& view, const GameState& game, const PlayTextures& textures) {
    static Poses poses;  // drawing scratch, filled afresh every frame
    posesFor(game, poses);
    drawFloors(game, textures, poses);
    drawHighlights(view, game, textures, poses);
    // The previews under the paths: a path crossing an announced ball stays whole.
    drawPending(game, textures, poses);

    if (game.completeTimer == 0 && game.defeatTimer == 0 && game.running) {
        if (game.hint.timeLeftMs > 0 && view.hintPath.steps > 0) {
            // Green, red and blue at a third of it, pulsing, fading over the
            // last second.
            const float fade = base::clamp01(game.hint.timeLeftMs / 1000.0f);
            const float bright = (0.65f + 0.35f * std::sin(0.03f * view.hintAgeMs)) * fade;
            const int g = int(255 * bright);
            drawPath(view.hintPath, g / 3, g, g / 3, int(230 * fade));
        }
        // A warm amber that reads on the pale tiles.
        if (view.preview.steps > 0 && (game.selected.valid() || game.moveInFlight))
            drawPath(view.preview, 236, 150, 36, game.moveInFlight ? 150 : 235);
    }

    drawPieces(view, game, textures, poses);
    drawOutOfReach(view, game, poses);
    drawPoppingPieces(game, textures);
    drawFlyingBall(game, textures);
    drawHammerStrike(view, textures);
    gfx::setSheetBlend(0);
}

// ---------------------------------------------------------------------------
// Bolts and progress sparks

void queueBoardBolts(const PlayView& view, const GameState& game) {
    for (const DiamondSpark& s : game.diamondSparks) {
        if (s.lifeMs <= 0) continue;
        const int a = int(255 * base::clamp01(s.lifeMs / kDiamondSparkMs));
        gfx::addBolt({s.from.x, s.from.y, 0}, {s.to.x, s.to.y, 0}, 14, 2.2f, 9, 7, base::clampedArgb(255, 255, 255, a),
                     base::clampedArgb(120, 190, 255, a / 2));
    }
    for (const ChainSnap& s : view.snaps) {
        if (s.lifeMs <= 0) continue;
        const int a = int(255 * base::clamp01(s.lifeMs / kChainSnapMs));
        // Three short sparks thrown out of the broken chain.
        for (int i = 0; i < 3; ++i) {
            const base::Vec2 d = base::rotateDeg({26, 0}, 40.0f + 120.0f * float(i) + s.lifeMs * 0.3f);
            gfx::addBolt({s.at.x, s.at.y, 0}, {s.at.x + d.x, s.at.y + d.y, 0}, 6, 1.6f, 6, 4,
                         base::clampedArgb(255, 250, 220, a), base::clampedArgb(255, 200, 120, a / 2));
        }
    }
}

void drawProgressSparks(const GameState& game) {
    const base::Vec2 bar = kLevelBarPoint;
    for (const ProgressSpark& s : game.progressSparks) {
        if (s.flightMs <= 0) continue;
        const float k = 1.0f - base::clamp01(s.flightMs / kProgressSparkFlightMs);
        const float e = k * k * (3 - 2 * k);  // smooth start and end
        const base::Vec2 p = s.from + (bar - s.from) * e + base::Vec2{0, 70.0f * std::sin(base::kPi * k)};
        gfx::drawSheetSprite(p.x, p.y, 0, 22, base::clampedArgb(255, 190, 80, 200), kBlendAdditive, kGlowCell);
        gfx::drawSheetSprite(p.x, p.y, 0, 9, base::clampedArgb(255, 255, 230, 255), kBlendAdditive, kGlowCell);
    }
    gfx::setSheetBlend(0);
}

}  // namespace tessaly::game
