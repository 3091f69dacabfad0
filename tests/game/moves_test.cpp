#include <gtest/gtest.h>

#include <cmath>

#include "game/flow.h"
#include "game/board_view.h"
#include "game/moves.h"
#include "game_test_support.h"

namespace tessaly::game {
namespace {

using testing::at;
using testing::kindAt;
using testing::pointOf;
using testing::run;
using testing::setBoard;

class Moves : public ::testing::Test {
protected:
    testing::GameFixture f;
    testing::SoundLog sounds;
    GameState& g = f.g();

    int pendingCount() const {
        int n = 0;
        for (int x = 0; x < kBoardSize; ++x)
            for (int y = 0; y < kBoardSize; ++y) n += g.board.at(x, y).pending != kNoPiece ? 1 : 0;
        return n;
    }
};

TEST_F(Moves, DistanceFieldGoesAroundPiecesAndNeverDiagonally) {
    setBoard(g, {"a_b__",
                 "_cb_c",
                 "_____"});
    computeDistances(g.board, at(0, 0));
    const int expected[3][5] = {{0, 1, -1, 7, 8},
                                {1, -1, -1, 6, -1},
                                {2, 3, 4, 5, 6}};
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 5; ++c) EXPECT_EQ(g.board.at(at(c, r)).dist, expected[r][c]) << c << "," << r;
    EXPECT_EQ(g.board.at(4, 5).dist, -1);  // the margin
}

TEST_F(Moves, AWalledInBallCanBeSelectedButGoesNowhere) {
    setBoard(g, {"_c___",
                 "cac__",
                 "_c___"});
    pressBoard(g, pointOf(1, 1));
    EXPECT_EQ(g.selected, at(1, 1));
    for (int c = 2; c < 5; ++c) {
        pressBoard(g, pointOf(c, 0));
        EXPECT_FALSE(g.moveInFlight);
    }
    pressBoard(g, pointOf(0, 0));
    EXPECT_FALSE(g.moveInFlight);
    EXPECT_EQ(g.selected, at(1, 1));
    sounds.collect();
    EXPECT_EQ(sounds.count("selectaim.ogg"), 0);
}

TEST_F(Moves, PathsPreferLeftThenRightThenUpThenDownOnTheWayBack) {
    struct Case {
        CellRef target;
        CellRef via;  // the cell between start and target
    };
    setBoard(g, {"___", "_a_", "___"});
    const Case cases[] = {{at(0, 0), at(1, 0)}, {at(2, 0), at(1, 0)}, {at(0, 2), at(1, 2)}, {at(2, 2), at(1, 2)}};
    for (const Case& c : cases) {
        computeDistances(g.board, at(1, 1));
        base::Vec2 points[8];
        ASSERT_EQ(tracePath(g.board, at(1, 1), c.target, points, 8), 2);
        const base::Vec2 origin = cellCentre(at(1, 1));
        EXPECT_FLOAT_EQ(points[0].x, cellCentre(c.target).x - origin.x);
        EXPECT_FLOAT_EQ(points[1].x, cellCentre(c.via).x - origin.x);
        EXPECT_FLOAT_EQ(points[1].y, cellCentre(c.via).y - origin.y);
        EXPECT_FLOAT_EQ(points[2].x, 0.0f);
        EXPECT_FLOAT_EQ(points[2].y, 0.0f);
    }
    // A path that needs more points than given is refused.
    base::Vec2 two[2];
    computeDistances(g.board, at(1, 1));
    EXPECT_EQ(tracePath(g.board, at(1, 1), at(0, 0), two, 2), -1);
}

TEST(FlightTime, GrowsWithTheSquareRootOfThePath) {
    EXPECT_EQ(flightTimeMs(1, 70.0f), 221);
    EXPECT_EQ(flightTimeMs(4, 70.0f), 442);
    EXPECT_EQ(flightTimeMs(9, 70.0f), 664);
    EXPECT_EQ(flightTimeMs(1, 100.0f), 316);
}

TEST_F(Moves, ClicksSelectDeselectAndSkipChainedPieces) {
    setBoard(g, {"a_bJ_"});
    g.board.at(at(3, 0)).piece.chained = 1;
    pressBoard(g, pointOf(0, 0));
    EXPECT_EQ(g.selected, at(0, 0));
    EXPECT_EQ(g.board.at(at(1, 0)).dist, 1);
    sounds.collect();
    pressBoard(g, pointOf(2, 0));  // another ball takes the selection
    EXPECT_EQ(g.selected, at(2, 0));
    sounds.collect();
    pressBoard(g, pointOf(2, 0));  // the selected ball again: deselected
    EXPECT_FALSE(g.selected.valid());
    pressBoard(g, pointOf(3, 0));  // a chained special can't be selected
    EXPECT_FALSE(g.selected.valid());
    pressBoard(g, pointOf(1, 0));  // an empty cell without a selection: nothing
    EXPECT_FALSE(g.moveInFlight);
    sounds.collect();
    EXPECT_EQ(sounds.count("selectball.ogg"), 2);

    pressBoard(g, pointOf(0, 0));
    g.cursorMode = CursorMode::Hammer;
    pressBoard(g, pointOf(8, 0));  // a non-cell drops the selection and hammer mode
    EXPECT_FALSE(g.selected.valid());
    EXPECT_EQ(g.cursorMode, CursorMode::Normal);
}

TEST_F(Moves, AFlightFollowsThePathAndEndsTheTurn) {
    setBoard(g, {"a____",
                 "_____",
                 "_____"});
    g.board.at(at(4, 2)).pending = 1;  // announced for the next turn
    g.board.at(at(3, 0)).pending = 2;  // announced where the ball will land: lost
    pressBoard(g, pointOf(0, 0));
    pressBoard(g, pointOf(3, 0));
    ASSERT_TRUE(g.moveInFlight);
    EXPECT_EQ(g.pathLength, 3);
    EXPECT_EQ(g.flightTotalMs, flightTimeMs(3, 70.0f));
    EXPECT_FLOAT_EQ(g.board.at(at(3, 0)).scale, 0.7f);
    EXPECT_EQ(f.host.aims, 1);
    EXPECT_EQ(g.board.at(at(0, 0)).piece.targetX, at(3, 0).x);

    // A new target while flying is ignored.
    pressBoard(g, pointOf(0, 2));
    EXPECT_EQ(g.moveTarget, at(3, 0));

    // Uniform speed in path steps: half the time is half the path.
    const float half = float(g.flightTotalMs) / 2.0f;
    stepGame(g, half);
    EXPECT_NEAR(flightOffset(g).x, 1.5f * kCellSize, 0.01f);
    EXPECT_NEAR(g.board.at(at(0, 0)).piece.offset.x, 1.5f * kCellSize, 0.01f);
    EXPECT_EQ(kindAt(g, 0, 0), 0);  // still in its start cell
    const int freeBefore = g.board.freeCells;

    stepGame(g, half + 1.0f);
    EXPECT_FALSE(g.moveInFlight);
    EXPECT_EQ(kindAt(g, 0, 0), kNoPiece);
    EXPECT_EQ(kindAt(g, 3, 0), 0);
    EXPECT_EQ(g.board.at(at(3, 0)).piece.targetX, -1);
    EXPECT_FLOAT_EQ(g.board.at(at(3, 0)).piece.offset.x, 0.0f);
    EXPECT_EQ(g.lastMoveCell, at(3, 0));
    EXPECT_EQ(g.movesMade, 1);
    EXPECT_EQ(g.moveCounter, 1);
    EXPECT_FALSE(g.selected.valid());
    // Nothing removed: the announced ball arrived, the lost one didn't, and
    // addballs new ones are announced.
    EXPECT_EQ(kindAt(g, 4, 2), 1);
    EXPECT_EQ(g.board.freeCells, freeBefore - 1);
    EXPECT_GE(pendingCount(), 1);  // three announcements, which may share a cell
    EXPECT_LE(pendingCount(), 3);
    EXPECT_TRUE(testing::boardInvariants(g));
    sounds.collect();
    EXPECT_TRUE(sounds.heard("selectaim.ogg"));
    EXPECT_TRUE(sounds.heard("ballstand.ogg"));
    EXPECT_TRUE(sounds.heard("addball.ogg"));
    EXPECT_GT(f.host.trails, 0);
}

TEST_F(Moves, AMoveThatMakesALineBringsNoNewBalls) {
    setBoard(g, {"aa_ab",
                 "_____"});
    g.board.at(at(4, 1)).pending = 1;
    pressBoard(g, pointOf(3, 0));
    pressBoard(g, pointOf(2, 0));
    run(g, 400.0f);
    EXPECT_EQ(kindAt(g, 0, 0), kNoPiece);
    EXPECT_EQ(kindAt(g, 2, 0), kNoPiece);
    EXPECT_EQ(kindAt(g, 4, 1), kNoPiece);  // still only announced
    EXPECT_EQ(g.board.at(at(4, 1)).pending, 1);
    EXPECT_EQ(g.combo, 1);
    EXPECT_TRUE(testing::boardInvariants(g));
}

TEST_F(Moves, ADragMovesOnlyAfterALongEnoughHold) {
    for (const float held : {150.0f, 250.0f}) {
        setBoard(g, {"a___"});
        deselect(g);
        pressBoard(g, pointOf(0, 0));
        for (float t = 0; t < held; t += 10.0f) stepGame(g, 10.0f);
        leftButtonUp(g, pointOf(3, 0));
        EXPECT_EQ(g.moveInFlight, held > kDragMinHoldMs) << held;
        run(g, 600.0f);
    }
}

TEST_F(Moves, DoubleClickRules) {
    setBoard(g, {"ab__"});
    g.board.at(at(1, 0)).piece.chained = 1;

    doubleClickBoard(g, pointOf(2, 0));  // an empty cell is selected for a frame
    EXPECT_EQ(g.selected, at(2, 0));
    stepGame(g, 10.0f);
    EXPECT_FALSE(g.selected.valid());

    doubleClickBoard(g, pointOf(0, 0));
    EXPECT_EQ(g.selected, at(0, 0));
    doubleClickBoard(g, pointOf(0, 0));  // the selected cell: deselected
    EXPECT_FALSE(g.selected.valid());
    doubleClickBoard(g, pointOf(1, 0));  // chained: nothing
    EXPECT_FALSE(g.selected.valid());

    g.cursorMode = CursorMode::Question;  // the question cursor only goes away
    doubleClickBoard(g, pointOf(0, 0));
    EXPECT_EQ(g.cursorMode, CursorMode::Normal);
    EXPECT_FALSE(g.selected.valid());

    doubleClickBoard(g, {350.0f, 0.0f});  // the panel: nothing
    EXPECT_TRUE(g.running);
    doubleClickBoard(g, pointOf(10, 10));  // a non-cell on the board: pause
    EXPECT_FALSE(g.running);
    sounds.collect();
    EXPECT_TRUE(sounds.heard("menu.ogg"));
}

TEST_F(Moves, RefusedClicksAreRecordedForTheScreenToAnswer) {
    setBoard(g, {"_c___",
                 "cac_a",
                 "_c___"});
    g.board.at(at(4, 1)).piece.chained = 2;
    // A walled-in ball is selected; a cell it can't reach is refused.
    pressBoard(g, pointOf(1, 1));
    pressBoard(g, pointOf(3, 0));
    EXPECT_FALSE(g.moveInFlight);
    EXPECT_EQ(g.refused.why, Refusal::OutOfReach);
    EXPECT_EQ(g.refused.cell, at(3, 0));
    EXPECT_TRUE(g.selected == at(1, 1)) << "the selection stays";
    // A chained ball rattles with the chain's sound, lowered; the selection stays.
    sounds.collect();
    pressBoard(g, pointOf(4, 1));
    EXPECT_EQ(g.refused.why, Refusal::Chained);
    EXPECT_EQ(g.refused.count, 2);
    EXPECT_TRUE(g.selected == at(1, 1));
    sounds.collect();
    ASSERT_EQ(sounds.count("chain.ogg"), 1);
    for (const auto& c : sounds.calls)
        if (c.name == "chain.ogg") {
            EXPECT_LT(c.rateHz, 44100);
        }
    EXPECT_EQ(g.board.at(at(4, 1)).piece.chained, 2) << "a click breaks no chain";
    // It shakes for a moment, then stands still; the refusal fades.
    stepGame(g, 40.0f);
    EXPECT_NE(chainedShake(g, at(4, 1)), 0.0f);
    EXPECT_EQ(chainedShake(g, at(1, 1)), 0.0f) << "only the clicked piece shakes";
    stepGame(g, kRefusalShowMs);
    EXPECT_EQ(chainedShake(g, at(4, 1)), 0.0f);
    EXPECT_EQ(g.refused.why, Refusal::None);
    EXPECT_EQ(g.refused.count, 2) << "the count stays for the dump";
}

TEST_F(Moves, RightAndMiddleButtons) {
    setBoard(g, {"a__"});
    pressBoard(g, pointOf(0, 0));
    g.cursorMode = CursorMode::Hammer;
    rightButtonDown(g);
    EXPECT_FALSE(g.selected.valid());
    EXPECT_EQ(g.cursorMode, CursorMode::Normal);
    EXPECT_TRUE(g.rightButtonHeld);
    rightButtonUp(g);

    pauseGame(g);
    rightButtonDown(g);
    EXPECT_TRUE(g.running);

    g.cheatKeys = false;
    middleButtonDown(g);
    EXPECT_FLOAT_EQ(g.hammerCharge, 0.0f);
    g.cheatKeys = true;
    for (int i = 0; i < 7; ++i) middleButtonDown(g);
    EXPECT_FLOAT_EQ(g.hammerCharge, 1.0f);
    g.cheatKeys = false;
}

TEST_F(Moves, ABonusInTheFlyingBallsStartCellEndsTheFlightCleanly) {
    // The ball moved last flies again. Meanwhile three balls below it finish
    // appearing and make a line of four through its start cell: the ball
    // goes, and the bomb the line earns lands in the start cell.
    g.levelIndex = 2;  // bonuses are handed out
    setBoard(g, {"a_____",
                 "a_____",
                 "a_____",
                 "a_____"});
    for (int r = 1; r < 4; ++r) g.board.at(at(0, r)).piece.appear = 100.0f;
    g.lastMoveCell = at(0, 0);
    pressBoard(g, pointOf(0, 0));
    pressBoard(g, pointOf(5, 0));
    ASSERT_TRUE(g.moveInFlight);
    run(g, 800.0f);
    EXPECT_FALSE(g.moveInFlight);
    EXPECT_EQ(kindAt(g, 0, 0), kBomb);       // the bomb stays where it landed
    EXPECT_EQ(kindAt(g, 5, 0), kNoPiece);
    EXPECT_EQ(g.movesMade, 0);               // no move was made
    EXPECT_EQ(g.moveCounter, 0);
    EXPECT_EQ(g.combo, 1);                   // the line's combo stands
    EXPECT_EQ(pendingCount(), 0);            // and no turn brought new balls
    EXPECT_TRUE(testing::boardInvariants(g));
}

}  // namespace
}  // namespace tessaly::game
