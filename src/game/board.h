// The board: one 30 x 30 array of cells of which only the window x 5..24,
// y 5..19 (20 columns, 15 rows, row 5 on top) is ever played, read from a
// level file or scanned. The margin of five non-cells on every side lets the
// rules look up to two cells past the window (blasts) and walk runs of any
// length without a bounds test.
//
// Each cell carries its floor (non-cell, plain floor or a square that must be
// cleared 1..9 times), the piece standing on it, the piece announced for it,
// and the clocks that animate what it shows. The byte layout of a cell (108
// bytes, little-endian) is also the layout of the board in a saved game; it
// is written field by field by saved_game.cpp, never by copying this struct.
//
// Depends on fx/math.h (Vec2) and fx/random.h (a new piece's phase).
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "base/assert.h"
#include "base/math.h"

namespace tessaly::game {

constexpr int kBoardSize = 30;      // cells per side of the array
constexpr int kFieldLeft = 5;       // first played column
constexpr int kFieldRight = 24;     // last played column
constexpr int kFieldTop = 5;        // first (top) played row
constexpr int kFieldBottom = 19;    // last played row
constexpr int kFieldColumns = kFieldRight - kFieldLeft + 1;   // 20
constexpr int kFieldRows = kFieldBottom - kFieldTop + 1;      // 15
constexpr float kCellSize = 40.0f;  // screen units per cell
constexpr int kMinLine = 3;         // shortest run that forms a line
constexpr int kMaxColors = 8;       // ball colours 0..7

// Piece codes (`kind` and `pending`). 8 and 9 are never produced.
constexpr int kNoPiece = -1;
constexpr int kJoker = 10;
constexpr int kBomb = 11;
constexpr int kDiamond = 12;
constexpr int kSuperbomb = 13;
constexpr int kFirstSpecial = kJoker;  // every code from here on is wild

constexpr float kAppearStart = 500.0f;      // appearance countdown of a new piece
constexpr float kPendingTimerStart = 500.0f;  // preview growth of an announced piece, ms

inline bool isSpecial(int kind) { return kind >= kFirstSpecial; }
inline bool isBallColour(int kind) { return kind >= 0 && kind < kMaxColors; }
// Codes a piece may carry: the colours and the four specials.
inline bool isKnownPiece(int kind) { return isBallColour(kind) || (kind >= kJoker && kind <= kSuperbomb); }

struct Piece {
    base::Vec2 offset;              // drawing offset from the cell centre (shake, flight), units
    int32_t kind = kNoPiece;
    uint32_t reserved12[2] = {};  // unused; kept so saved games round-trip
    float clockMs = 0;            // grows while shown; drives the animation
    int32_t targetX = -1;         // move target while flying, else -1
    int32_t targetY = -1;
    float flightMs = 0;           // remaining flight time, ms
    float appear = 0;             // appearance countdown; lines only see pieces at <= 0
    float shakeMs = -1;           // -1 idle; > 0 shaking, removed at 0
    float phase = 0;              // random 0..1, chosen when the piece appears
    uint32_t reserved48[2] = {};  // unused
    int32_t chained = 0;          // chains still holding the piece
    float visited = 0;            // flood-fill scratch flag, 0 or 1
};

struct Cell {
    int32_t reserved0 = 0;        // unused; saved as found
    int32_t floor = -1;           // -1 non-cell, 0 plain floor, 1..9 square strength
    int32_t dist = -1;            // path distance from the selected ball, -1 unreached
    Piece piece;
    int32_t pending = kNoPiece;   // piece announced for this cell
    float pendingTimerMs = 0;     // 500 when announced, counting down
    int32_t reserved84 = 0;
    float floorClockMs = 0;       // drives the square overlay pulse
    float squareClockMs = 0;
    int32_t reserved96 = 0;
    float scale = 0;              // drawn size factor 0..1
    uint8_t marked = 0;           // set while a removal pass collects pieces
    uint8_t padding105[3] = {};

    bool isCell() const { return floor >= 0; }
    bool hasPiece() const { return piece.kind != kNoPiece; }
    bool isFree() const { return floor >= 0 && piece.kind == kNoPiece; }
};

struct CellRef {
    int x = -1, y = -1;
    bool valid() const { return x >= 0 && y >= 0; }
    friend bool operator==(CellRef a, CellRef b) { return a.x == b.x && a.y == b.y; }
};

constexpr CellRef kNoCell{};

struct Board {
    std::array<std::array<Cell, kBoardSize>, kBoardSize> cells;  // [x][y]
    int32_t freeCells = 0;   // cells with floor >= 0 and no piece
    int32_t minLine = kMinLine;

    Cell& at(int x, int y) {
        TESSALY_ASSERT(x >= 0 && x < kBoardSize && y >= 0 && y < kBoardSize,
                       "a cell outside the 30 x 30 array: check the coordinates with inArray() first");
        return cells[size_t(x)][size_t(y)];
    }
    const Cell& at(int x, int y) const { return const_cast<Board*>(this)->at(x, y); }
    Cell& at(CellRef c) { return at(c.x, c.y); }
    const Cell& at(CellRef c) const { return at(c.x, c.y); }
};

inline bool inWindow(int x, int y) {
    return x >= kFieldLeft && x <= kFieldRight && y >= kFieldTop && y <= kFieldBottom;
}
inline bool inArray(int x, int y) { return x >= 0 && x < kBoardSize && y >= 0 && y < kBoardSize; }

// Centre of cell (x, y) in screen units (origin at the screen centre, y up).
inline base::Vec2 cellCentre(int x, int y) {
    return {float(x - kFieldLeft) * kCellSize - 360.0f, 280.0f - float(y - kFieldTop) * kCellSize};
}
inline base::Vec2 cellCentre(CellRef c) { return cellCentre(c.x, c.y); }

// The cell under a pointer in screen units. Integer arithmetic truncating
// towards zero, so the 20-unit strip left of the field still maps to column
// 5. A point whose cell falls outside the array gives kNoCell.
CellRef cellAtPoint(base::Vec2 p);

// A freshly appearing piece of `kind`: no offset, clocks 0, no target,
// appear 500, idle shake, random phase, no chain.
Piece newPiece(int kind);

// Resets every cell of the array to an empty non-cell.
void clearBoard(Board& board);

// True when the cell holds `colour` or a special, fully appeared. An empty
// cell never matches. The one predicate every line test uses.
bool isMatch(const Board& board, int x, int y, int colour);

// Cells with floor >= 0 and no piece, counted over the whole array.
int countFreeCells(const Board& board);
// Cells with floor >= 0.
int countCells(const Board& board);
// Cells with floor > 0.
int countSquares(const Board& board);
// Cells holding a piece.
int countPieces(const Board& board);

}  // namespace tessaly::game
