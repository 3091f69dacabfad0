#include <gtest/gtest.h>

#include "base/random.h"
#include "game/removal.h"
#include "game/spawn.h"
#include "game_test_support.h"

namespace tessaly::game {
namespace {

using testing::at;
using testing::kindAt;
using testing::setBoard;

class Spawn : public ::testing::Test {
protected:
    testing::GameFixture f;
    testing::SoundLog sounds;
    GameState& g = f.g();
};

TEST_F(Spawn, JokersComeAtTheLevelsFrequency) {
    struct Case {
        int frequency;
        double jokerShare;
    };
    for (const Case c : {Case{20, 0.05}, Case{1000000, 0.0}, Case{1, 1.0}}) {
        setBoard(g, {"_"});  // one free cell: every announcement lands there
        g.level.colors = 5;
        g.level.jockerFrequency = c.frequency;
        constexpr int kDraws = 20000;
        int counts[11] = {};
        for (int i = 0; i < kDraws; ++i) {
            announceBall(g);
            const int k = g.board.at(at(0, 0)).pending;
            ASSERT_TRUE((k >= 0 && k < 5) || k == kJoker) << k;
            ++counts[k == kJoker ? 10 : k];
        }
        EXPECT_NEAR(counts[10] / double(kDraws), c.jokerShare, 0.01) << c.frequency;
        for (int colour = 0; colour < 5; ++colour)
            EXPECT_NEAR(counts[colour] / double(kDraws), (1.0 - c.jokerShare) / 5.0, 0.01) << c.frequency;
    }
}

TEST_F(Spawn, AnnouncingWalksColumnsThenRows) {
    // Free cells in column order: (0,0), (0,2), (1,1), (2,0), (2,2).
    setBoard(g, {"_a_", "a_a", "_a_"});
    const CellRef columnOrder[5] = {at(0, 0), at(0, 2), at(1, 1), at(2, 0), at(2, 2)};
    for (uint32_t seed = 1; seed < 40; ++seed) {
        base::CRandom replica;
        replica.seed(seed);
        replica.next();  // colour
        replica.next();  // joker roll
        const int k = replica.next() % 5;
        for (int c = 0; c < 3; ++c)
            for (int r = 0; r < 3; ++r) g.board.at(at(c, r)).pending = kNoPiece;
        base::seedRandom(seed);
        announceBall(g);
        EXPECT_NE(g.board.at(columnOrder[k]).pending, kNoPiece) << "seed " << seed << " k " << k;
        EXPECT_FLOAT_EQ(g.board.at(columnOrder[k]).pendingTimerMs, 500.0f);
    }
    // No free cell: nothing is announced.
    setBoard(g, {"ab"});
    announceBall(g);
    EXPECT_EQ(g.board.at(at(0, 0)).pending, kNoPiece);
    EXPECT_EQ(g.board.at(at(1, 0)).pending, kNoPiece);
}

TEST_F(Spawn, AnnouncedBallsArriveInEmptyCellsOnly) {
    setBoard(g, {"a__", "___"});
    g.board.at(at(0, 0)).pending = 2;  // taken meanwhile: dropped
    g.board.at(at(1, 0)).pending = 3;
    g.board.at(at(2, 1)).pending = kJoker;
    arriveBalls(g);
    EXPECT_EQ(kindAt(g, 0, 0), 0);
    EXPECT_EQ(kindAt(g, 1, 0), 3);
    EXPECT_EQ(kindAt(g, 2, 1), kJoker);
    EXPECT_FLOAT_EQ(g.board.at(at(1, 0)).piece.appear, 500.0f);
    for (const CellRef c : {at(0, 0), at(1, 0), at(2, 1)}) EXPECT_EQ(g.board.at(c).pending, kNoPiece);
    EXPECT_EQ(g.board.freeCells, 3);
    EXPECT_TRUE(testing::boardInvariants(g));
    ASSERT_TRUE(f.host.sawTip("jokertip"));
    EXPECT_EQ(f.host.tips.back().cell, at(2, 1));
    sounds.collect();
    EXPECT_TRUE(sounds.heard("addball.ogg"));

    // A single free cell is filled: one ball is announced first.
    setBoard(g, {"ab_"});
    arriveBalls(g);
    EXPECT_NE(kindAt(g, 2, 0), kNoPiece);
    EXPECT_EQ(g.board.freeCells, 0);

    // Not on a demonstration board.
    setBoard(g, {"___"});
    g.demo = true;
    g.board.at(at(1, 0)).pending = 1;
    arriveBalls(g);
    EXPECT_EQ(kindAt(g, 1, 0), kNoPiece);
}

TEST_F(Spawn, EarnedSpecialsArriveAtOnceOrAreLost) {
    setBoard(g, {"a___"});
    g.board.at(at(0, 0)).pending = kSuperbomb;  // occupied: lost
    g.board.at(at(1, 0)).pending = kBomb;
    g.board.at(at(2, 0)).pending = kJoker;      // a joker waits for the turn
    specialArrival(g);
    EXPECT_EQ(kindAt(g, 0, 0), 0);
    EXPECT_EQ(g.board.at(at(0, 0)).pending, kNoPiece);
    EXPECT_EQ(kindAt(g, 1, 0), kBomb);
    EXPECT_EQ(kindAt(g, 2, 0), kNoPiece);
    EXPECT_EQ(g.board.at(at(2, 0)).pending, kJoker);
    EXPECT_EQ(g.board.freeCells, 2);
    EXPECT_TRUE(f.host.sawTip("triplebomb"));
    EXPECT_TRUE(f.host.sawEffect("addbomb1"));
    EXPECT_FALSE(f.host.sawTip("quadrobomb"));
    sounds.collect();
    EXPECT_EQ(sounds.count("addbonus.ogg"), 1);
}

TEST_F(Spawn, WithdrawalSeesPiecesAnnouncedPiecesAndSpecials) {
    struct Case {
        const char* name;
        const char* row;
        int pendingAt;    // column of an announced colour-0 ball, or -1
        int code;
        bool completes;   // at column 2
    };
    const Case cases[] = {
        {"two of its colour (colour 0 is checked too)", "aa_", -1, 0, true},
        {"another colour", "aa_", -1, 1, false},
        {"with an announced one", "a__", 1, 0, true},
        {"with a joker", "aJ_", -1, 0, true},
        {"a joker is not a colour", "bJ_", -1, 0, false},
    };
    for (const Case& c : cases) {
        setBoard(g, {c.row});
        if (c.pendingAt >= 0) g.board.at(at(c.pendingAt, 0)).pending = 0;
        const CellRef t = at(2, 0);
        g.board.at(t).pending = c.code;
        EXPECT_EQ(wouldCompleteLine(g.board, t.x, t.y, c.code), c.completes) << c.name;
    }
}

TEST_F(Spawn, TheLevelStartFillLeavesNoLine) {
    g.level.colors = 3;  // few colours: many announced balls would make lines
    setBoard(g, {"________", "________", "________", "________", "________", "________"});
    fillAtLevelStart(g);
    const int pieces = countPieces(g.board);
    EXPECT_GT(pieces, 0);
    EXPECT_LE(pieces, 24);
    EXPECT_TRUE(testing::boardInvariants(g));
    for (int c = 0; c < 8; ++c)
        for (int r = 0; r < 6; ++r) g.board.at(at(c, r)).piece.appear = 0;
    EXPECT_EQ(removalPass(g, false), 0);
}

TEST_F(Spawn, BestPieceTable) {
    struct Case {
        const char* name;
        std::vector<std::string> rows;
        CellRef cell;
        int best;
        int score;
    };
    const Case cases[] = {
        {"a tie goes to the first code", {"aa_bb"}, at(2, 0), 0, 3},
        {"the longer line wins", {"aa_bbb"}, at(2, 0), 1, 4},
        {"a tie across directions", {"__b", "aa_", "__b"}, at(2, 1), 0, 3},
        {"two directions of one colour", {"__a", "aa_", "__a"}, at(2, 1), 0, 6},
        {"between jokers", {"J_J"}, at(1, 0), 0, 3},
        {"nothing", {"ab_ca"}, at(2, 0), kNoPiece, 0},
        {"colour 7 is tried too", {"hh_"}, at(2, 0), 7, 3},
    };
    for (const Case& c : cases) {
        setBoard(g, c.rows);
        const BestPiece best = bestPiece(g.board, c.cell.x, c.cell.y);
        EXPECT_EQ(best.kind, c.best) << c.name;
        EXPECT_EQ(best.score, c.score) << c.name;
        EXPECT_EQ(g.board.at(c.cell).piece.kind, kNoPiece) << c.name << ": the cell is emptied again";
    }
    setBoard(g, {"aa_bbb"});
    const BestPiece best = bestPiece(g.board, at(2, 0).x, at(2, 0).y);
    ASSERT_EQ(best.lineCount, 3);
    EXPECT_EQ(best.line[0], at(3, 0));
    EXPECT_EQ(best.line[2], at(5, 0));
}

TEST_F(Spawn, TheHintFindsAFreeBallThatCanReachTheGap) {
    setBoard(g, {"aa_c_",
                 "____a",
                 "bb3_b"});
    g.selected = at(3, 0);
    CellRef ball, target;
    ASSERT_TRUE(findHint(g, ball, target));
    EXPECT_EQ(target, at(2, 0));
    EXPECT_EQ(ball, at(4, 1));  // not one of the two it would line up with
    EXPECT_EQ(g.selected, at(3, 0));
    EXPECT_EQ(g.board.at(ball).dist, 0);
    EXPECT_EQ(g.board.at(target).dist, 3);

    g.mode = Mode::Puzzle;  // squares first
    ASSERT_TRUE(findHint(g, ball, target));
    EXPECT_EQ(target, at(2, 2));
    EXPECT_EQ(ball, at(4, 2));

    // A chained ball is never the hint's ball.
    g.mode = Mode::Classic;
    g.board.at(at(4, 1)).piece.chained = 1;
    ASSERT_TRUE(findHint(g, ball, target));
    EXPECT_EQ(target, at(2, 2));

    setBoard(g, {"ab_ca"});
    EXPECT_FALSE(findHint(g, ball, target));
}

TEST_F(Spawn, WithdrawalSeesLinesThroughAnAnnouncedJoker) {
    struct Case {
        const char* name;
        const char* row;
        int column;       // of the announced joker
        bool completes;
    };
    const Case cases[] = {
        {"after two of a colour", "aa_", 2, true},
        {"between two of a colour", "a_a", 1, true},
        {"after a ball and a joker", "aJ_", 2, true},
        {"after two jokers", "JJ_", 2, true},
        {"between two colours", "a_b", 1, false},
        {"after two colours", "ab_", 2, false},
    };
    for (const Case& c : cases) {
        setBoard(g, {c.row});
        const CellRef t = at(c.column, 0);
        g.board.at(t).pending = kJoker;
        EXPECT_EQ(wouldCompleteLine(g.board, t.x, t.y, kJoker), c.completes) << c.name;
    }

    // Balls the level file placed in pairs, and a fill with many jokers: no
    // announced piece may complete a line the first pass would find.
    for (uint32_t seed = 1; seed <= 8; ++seed) {
        base::seedRandom(seed);
        g.level.colors = 4;
        g.level.jockerFrequency = 2;
        setBoard(g, {"aa_bb_cc__", "__________", "dd_aa_bb__", "__________", "cc_dd_aa__", "__________"});
        fillAtLevelStart(g);
        for (int c = 0; c < 10; ++c)
            for (int r = 0; r < 6; ++r) g.board.at(at(c, r)).piece.appear = 0;
        EXPECT_EQ(removalPass(g, false), 0) << "seed " << seed;
    }
}

TEST_F(Spawn, TheHintTriesEveryColourOfTheLevel) {
    g.mode = Mode::Action;
    g.level.colors = 8;
    setBoard(g, {"hh_", "__h"});
    CellRef ball, target;
    ASSERT_TRUE(findHint(g, ball, target));
    EXPECT_EQ(target, at(2, 0));
    EXPECT_EQ(ball, at(2, 1));
    EXPECT_EQ(bestPiece(g.board, target.x, target.y).kind, 7);
}

}  // namespace
}  // namespace tessaly::game
