#include "game/board.h"

#include "base/random.h"

namespace tessaly::game {

CellRef cellAtPoint(base::Vec2 p) {
    const int px = int(p.x);  // truncates towards zero
    const int py = int(p.y);
    const int x = (px + 380) / 40 + kFieldLeft;
    const int y = (300 - py) / 40 + kFieldTop;
    if (!inArray(x, y)) return kNoCell;
    return {x, y};
}

Piece newPiece(int kind) {
    Piece p;
    p.kind = kind;
    p.appear = kAppearStart;
    p.shakeMs = -1;
    p.phase = base::randomUnit(1.0f);
    return p;
}

void clearBoard(Board& board) {
    for (auto& column : board.cells)
        for (auto& cell : column) cell = Cell{};
    board.freeCells = 0;
    board.minLine = kMinLine;
}

bool isMatch(const Board& board, int x, int y, int colour) {
    const Piece& p = board.cells[x][y].piece;
    if (p.kind == kNoPiece) return false;
    if (p.appear > 0) return false;
    return p.kind == colour || p.kind >= kFirstSpecial;
}

int countFreeCells(const Board& board) {
    int n = 0;
    for (const auto& column : board.cells)
        for (const auto& cell : column) n += cell.isFree() ? 1 : 0;
    return n;
}

int countCells(const Board& board) {
    int n = 0;
    for (const auto& column : board.cells)
        for (const auto& cell : column) n += cell.isCell() ? 1 : 0;
    return n;
}

int countSquares(const Board& board) {
    int n = 0;
    for (const auto& column : board.cells)
        for (const auto& cell : column) n += cell.floor > 0 ? 1 : 0;
    return n;
}

int countPieces(const Board& board) {
    int n = 0;
    for (const auto& column : board.cells)
        for (const auto& cell : column) n += cell.hasPiece() ? 1 : 0;
    return n;
}

}  // namespace tessaly::game
