#include <gtest/gtest.h>

#include "game/board.h"
#include "game_test_support.h"

namespace tessaly::game {
namespace {

using testing::setBoard;

TEST(Board, CellCentresAndPointerMappingAgree) {
    EXPECT_FLOAT_EQ(cellCentre(5, 5).x, -360.0f);
    EXPECT_FLOAT_EQ(cellCentre(5, 5).y, 280.0f);
    EXPECT_FLOAT_EQ(cellCentre(24, 19).x, 400.0f);
    EXPECT_FLOAT_EQ(cellCentre(24, 19).y, -280.0f);
    // Every cell's centre and every point well inside it map back to it.
    for (int x = kFieldLeft; x <= kFieldRight; ++x)
        for (int y = kFieldTop; y <= kFieldBottom; ++y)
            for (const base::Vec2 d : {base::Vec2{0, 0}, base::Vec2{-19, 19}, base::Vec2{19, -19}}) {
                const CellRef c = cellAtPoint(cellCentre(x, y) + d);
                EXPECT_EQ(c, (CellRef{x, y})) << x << "," << y << " offset " << d.x << "," << d.y;
            }
}

TEST(Board, PointerMappingTruncatesTowardsZero) {
    struct Case {
        base::Vec2 p;
        CellRef cell;
    };
    const Case cases[] = {
        {{-399.0f, 299.0f}, {5, 5}},    // the strip left of the field still maps to column 5
        {{-380.5f, 0.0f}, {5, 12}},
        {{-340.0f, 260.0f}, {6, 6}},
        {{-340.9f, 260.9f}, {6, 6}},    // -340.9 and 260.9 truncate to -340 and 260
        {{0.0f, 301.0f}, {14, 5}},      // (300 - 301) / 40 is 0, not -1
        {{0.0f, 0.0f}, {14, 12}},
        {{399.0f, -299.0f}, {24, 19}},
        {{0.0f, -300.0f}, {14, 20}},    // the bottom edge is the margin below the field
    };
    for (const Case& c : cases) {
        EXPECT_EQ(cellAtPoint(c.p), c.cell) << c.p.x << "," << c.p.y;
    }
    EXPECT_FALSE(cellAtPoint({5000.0f, 0.0f}).valid());
    EXPECT_FALSE(cellAtPoint({0.0f, -5000.0f}).valid());
}

TEST(Board, IsMatchSeesOnlyFullyAppearedColoursAndSpecials) {
    testing::GameFixture f;
    setBoard(f.g(), {"abJ_"});
    const Board& b = f.g().board;
    const CellRef a = testing::at(0, 0), j = testing::at(2, 0), empty = testing::at(3, 0);
    EXPECT_TRUE(isMatch(b, a.x, a.y, 0));
    EXPECT_FALSE(isMatch(b, a.x, a.y, 1));
    EXPECT_TRUE(isMatch(b, j.x, j.y, 0));
    EXPECT_TRUE(isMatch(b, j.x, j.y, 7));
    EXPECT_FALSE(isMatch(b, empty.x, empty.y, 0));
    EXPECT_FALSE(isMatch(b, empty.x, empty.y, -1));  // an empty cell never matches, not even "empty"
    f.g().board.at(a).piece.appear = 1.0f;            // still appearing: invisible to lines
    EXPECT_FALSE(isMatch(b, a.x, a.y, 0));
}

TEST(Board, NewPiecesStartAppearingAndIdle) {
    base::seedRandom(7);
    const Piece p = newPiece(kBomb);
    EXPECT_EQ(p.kind, kBomb);
    EXPECT_FLOAT_EQ(p.appear, 500.0f);
    EXPECT_FLOAT_EQ(p.shakeMs, -1.0f);
    EXPECT_EQ(p.targetX, -1);
    EXPECT_EQ(p.targetY, -1);
    EXPECT_EQ(p.chained, 0);
    EXPECT_GE(p.phase, 0.0f);
    EXPECT_LE(p.phase, 1.0f);
}

TEST(Board, CountsFollowTheFloorAndPieces) {
    testing::GameFixture f;
    setBoard(f.g(), {"a_1.", "2_bJ"});
    const Board& b = f.g().board;
    EXPECT_EQ(countCells(b), 7);
    EXPECT_EQ(countFreeCells(b), 4);
    EXPECT_EQ(b.freeCells, 4);
    EXPECT_EQ(countSquares(b), 2);
    EXPECT_EQ(countPieces(b), 3);
}

}  // namespace
}  // namespace tessaly::game
