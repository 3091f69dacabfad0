#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "game/flow.h"
#include "game/removal.h"
#include "game_test_support.h"

namespace tessaly::game {
namespace {

using testing::at;
using testing::kindAt;
using testing::run;
using testing::setBoard;

// The board as fixture rows: '_' empty cell, '.' non-cell, pieces as in setBoard.
std::vector<std::string> boardRows(const GameState& g, int columns, int rows) {
    std::vector<std::string> out;
    for (int r = 0; r < rows; ++r) {
        std::string line;
        for (int c = 0; c < columns; ++c) {
            const Cell& cell = g.board.at(at(c, r));
            const int k = cell.piece.kind;
            if (!cell.isCell()) line += '.';
            else if (k == kNoPiece) line += '_';
            else if (k < kMaxColors) line += char('a' + k);
            else line += "JBDS"[k - kJoker];
        }
        out.push_back(line);
    }
    return out;
}

class Removal : public ::testing::Test {
protected:
    testing::GameFixture f;
    testing::SoundLog sounds;
    GameState& g = f.g();

    // Pays out every queued score item and lands every progress spark.
    void payAll() { run(g, 2000.0f); }
};

struct LineCase {
    const char* name;
    std::vector<const char*> before;
    std::vector<const char*> after;
    int removed;
};

TEST_F(Removal, LinesTable) {
    const LineCase cases[] = {
        {"row", {"aaa_b"}, {"____b"}, 3},
        {"column", {"a", "a", "a", "b"}, {"_", "_", "_", "b"}, 3},
        {"diagonal", {"a__", "_a_", "__a"}, {"___", "___", "___"}, 3},
        {"anti-diagonal", {"__a", "_a_", "a__"}, {"___", "___", "___"}, 3},
        {"two and a joker", {"aJa"}, {"___"}, 3},
        {"joker at the end", {"baaJ"}, {"b___"}, 3},
        {"two only", {"aa_b"}, {"aa_b"}, 0},
        {"interrupted", {"aaba"}, {"aaba"}, 0},
        {"five", {"aaaaab"}, {"_____b"}, 5},
        {"two lines crossing", {"_a_", "aaa", "_a_"}, {"___", "___", "___"}, 5},
        {"a joker in two colours", {"aaJbb"}, {"_____"}, 5},
        {"two colours side by side", {"aaabbb"}, {"______"}, 6},
        {"a line of specials", {"cJBJ"}, {"____"}, 4},
    };
    for (const LineCase& c : cases) {
        setBoard(g, std::vector<std::string>(c.before.begin(), c.before.end()));
        // Keep the level from clearing: one far ball that takes part in nothing.
        g.board.at(at(19, 14)).floor = 0;
        g.board.at(at(19, 14)).piece = newPiece(7);
        g.board.at(at(19, 14)).piece.appear = 0;
        g.board.freeCells = countFreeCells(g.board);
        const int freeBefore = g.board.freeCells;
        EXPECT_EQ(removalPass(g, true), c.removed) << c.name;
        const int columns = int(std::string(c.before[0]).size());
        const auto got = boardRows(g, columns, int(c.before.size()));
        for (size_t r = 0; r < c.after.size(); ++r) EXPECT_EQ(got[r], c.after[r]) << c.name << " row " << r;
        EXPECT_EQ(g.board.freeCells, freeBefore + c.removed) << c.name;
        EXPECT_TRUE(testing::boardInvariants(g)) << c.name;
    }
}

TEST_F(Removal, AnAppearingBallCompletesItsLineOnlyOnceItHasAppeared) {
    setBoard(g, {"aaa_b"});
    g.board.at(at(1, 0)).piece.appear = 100.0f;
    EXPECT_EQ(removalPass(g, false), 0);
    EXPECT_EQ(kindAt(g, 0, 0), 0);
    // The frame in which it finishes appearing runs the pass.
    stepGame(g, 100.0f / 0.75f + 1.0f);
    EXPECT_EQ(kindAt(g, 0, 0), kNoPiece);
    EXPECT_EQ(kindAt(g, 1, 0), kNoPiece);
}

// Rows of balls with no two alike next to each other in any direction, and
// `line` written over row `row` from column 0.
void patternBoard(GameState& g, int columns, int rows, int row, const char* line) {
    std::vector<std::string> lines;
    for (int r = 0; r < rows; ++r) {
        std::string s;
        for (int c = 0; c < columns; ++c) s += char('b' + (c + 3 * r) % 5);
        lines.push_back(s);
    }
    for (int i = 0; line[i]; ++i) lines[size_t(row)][size_t(i)] = line[i];
    setBoard(g, lines);
}

int removedWithin(const GameState& g, int cx, int cy, int radius2, int columns, int rows, bool inside) {
    int n = 0;
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < columns; ++c) {
            const int d2 = (c - cx) * (c - cx) + (r - cy) * (r - cy);
            if ((d2 < radius2) == inside && kindAt(g, c, r) == kNoPiece) ++n;
        }
    return n;
}

TEST_F(Removal, BombAndSuperbombAreas) {
    struct Case {
        const char* line;
        int radius2;
        int cells;
    };
    for (const Case c : {Case{"baaB", 5, 13}, Case{"baaS", 8, 21}}) {
        patternBoard(g, 7, 7, 3, c.line);
        EXPECT_EQ(removalPass(g, true), c.cells);
        EXPECT_EQ(removedWithin(g, 3, 3, c.radius2, 7, 7, true), c.cells) << c.line;
        EXPECT_EQ(removedWithin(g, 3, 3, c.radius2, 7, 7, false), 0) << c.line;
    }
}

TEST_F(Removal, ABombReachedByABlastGoesOffToo) {
    patternBoard(g, 9, 7, 3, "baaB_B");
    removalPass(g, true);
    EXPECT_EQ(kindAt(g, 7, 3), kNoPiece);  // in the second bomb's area only
    EXPECT_EQ(kindAt(g, 6, 4), kNoPiece);
    EXPECT_NE(kindAt(g, 8, 4), kNoPiece);  // beyond both
}

TEST_F(Removal, BlastsStopAfterSevenRounds) {
    // Bombs up column 2, each reaching the next one above it, which the
    // row-by-row scan has already passed: one more bomb per round.
    std::vector<std::string> rows(15, "_____");
    for (int r = 0; r <= 14; r += 2) rows[size_t(r)][2] = 'B';
    rows[14] = "aaB__";
    rows[0][4] = 'c';
    rows[2][4] = 'c';
    setBoard(g, rows);
    // Eight bombs also sweep the board ("megamatch"), which takes one chain
    // off every chained ball: a blast shows as a second chain lost.
    g.board.at(at(4, 0)).piece.chained = 2;
    g.board.at(at(4, 2)).piece.chained = 2;
    removalPass(g, true);
    EXPECT_EQ(kindAt(g, 2, 0), kNoPiece);                 // the eighth bomb is reached and removed...
    EXPECT_EQ(g.board.at(at(4, 2)).piece.chained, 0);     // (the seventh bomb's area)
    EXPECT_EQ(g.board.at(at(4, 0)).piece.chained, 1);     // ...but never goes off
}

TEST_F(Removal, ADiamondSweepsTheColoursItLinesUpWith) {
    setBoard(g, {"b____c",
                 "_b___c",
                 "aaD__a",
                 "______",
                 "a_c_b_"});
    removalPass(g, true);
    const auto got = boardRows(g, 6, 5);
    EXPECT_EQ(got[0], "_____c");
    EXPECT_EQ(got[1], "_____c");
    EXPECT_EQ(got[2], "______");
    EXPECT_EQ(got[4], "__c___");
    int sparks = 0;
    for (const auto& s : g.diamondSparks) sparks += s.lifeMs > 0 ? 1 : 0;
    EXPECT_EQ(sparks, 3);  // to the three swept balls
    sounds.collect();
    EXPECT_TRUE(sounds.heard("diamond0.ogg"));
}

TEST_F(Removal, ADiamondWithoutColouredNeighboursTakesEachRowsFirstMarkedBall) {
    setBoard(g, {"JJD_b",
                 "_____",
                 "ccc_b",
                 "_____",
                 "c___a"});
    removalPass(g, true);
    const auto got = boardRows(g, 5, 5);
    EXPECT_EQ(got[0], "____b");
    EXPECT_EQ(got[2], "____b");
    EXPECT_EQ(got[4], "____a");
}

TEST_F(Removal, AChainedBallLosesAChainAndStillCounts) {
    setBoard(g, {"aaa_b"});
    g.board.at(at(1, 0)).piece.chained = 1;
    g.lastMoveCell = at(2, 0);
    EXPECT_EQ(removalPass(g, true), 3);
    EXPECT_EQ(kindAt(g, 1, 0), 0);
    EXPECT_EQ(g.board.at(at(1, 0)).piece.chained, 0);
    EXPECT_EQ(g.combo, 1);
    EXPECT_NEAR(g.hammerCharge, 3 * 0.03f, 1e-6f);
    EXPECT_TRUE(f.host.sawEffect("chain1"));
    EXPECT_TRUE(f.host.sawEffect("chain2"));
    ASSERT_FALSE(f.host.popups.empty());
    EXPECT_EQ(f.host.popups[0].second, 50);
    sounds.collect();
    EXPECT_TRUE(sounds.heard("chain.ogg"));
    // The next line frees it for good.
    removalPass(g, true);
    EXPECT_EQ(kindAt(g, 1, 0), 0);  // alone now: no line
}

TEST_F(Removal, SquaresLoseALayerUnderRemovedBallsAndUnderBlasts) {
    g.mode = Mode::Puzzle;
    g.barTotal = g.barRemaining = 10;
    setBoard(g, {"aaa_b",
                 "_____",
                 "__3__"});
    g.board.at(at(0, 0)).floor = 2;
    g.board.at(at(1, 0)).floor = 1;
    removalPass(g, true);
    EXPECT_EQ(g.board.at(at(0, 0)).floor, 1);
    EXPECT_EQ(g.board.at(at(1, 0)).floor, 0);
    EXPECT_EQ(g.brokenSquares, 2);
    EXPECT_EQ(f.host.countEffect("square1"), 2);
    sounds.collect();
    EXPECT_TRUE(sounds.heard("square.ogg"));

    // An empty square in a blast: one layer; above 2 silently, yet it still
    // counts for the Puzzle bar.
    f.host.clearLog();
    setBoard(g, {"aaB_b",
                 "_____",
                 "__3__",
                 "_____",
                 "____c"});
    g.board.at(at(3, 0)).floor = 1;
    removalPass(g, true);
    EXPECT_EQ(g.board.at(at(3, 0)).floor, 0);
    EXPECT_EQ(g.board.at(at(2, 2)).floor, 2);
    EXPECT_EQ(f.host.countEffect("square1"), 1);
    payAll();
    EXPECT_FLOAT_EQ(g.barRemaining, 10.0f - 4.0f);  // two, then two more layers
}

TEST_F(Removal, ComboGrowsWithEveryRemovingPassAndEndsWithAFruitlessMove) {
    g.lastMoveCell = at(1, 0);
    setBoard(g, {"aaa_b"});
    removalPass(g, true);
    EXPECT_EQ(g.combo, 1);
    setBoard(g, {"ccc_b"});
    removalPass(g, true);
    EXPECT_EQ(g.combo, 2);
    EXPECT_EQ(g.maxCombo, 2);
    EXPECT_EQ(g.moveCounter, -2);
    ASSERT_TRUE(f.host.sawText("Combo x 2"));
    EXPECT_EQ(f.host.texts.back().source, TextSource::Literal);
    EXPECT_FLOAT_EQ(f.host.texts.back().at.x, cellCentre(at(1, 0)).x);
    removalPass(g, false);  // balls appearing with no line: the combo holds
    EXPECT_EQ(g.combo, 2);
    removalPass(g, true);   // a move with no line: it ends
    EXPECT_EQ(g.combo, 0);
    EXPECT_EQ(g.maxCombo, 2);
}

TEST_F(Removal, TheHammerChargesToFull) {
    g.combo = 2;  // this pass makes it 3
    g.hammerCharge = 0.9f;
    setBoard(g, {"aaa_b"});
    removalPass(g, true);
    EXPECT_FLOAT_EQ(g.hammerCharge, 1.0f);
    EXPECT_TRUE(f.host.sawTip("hammerfull"));
    sounds.collect();
    EXPECT_TRUE(sounds.heard("gethammer.ogg"));

    g.hammerCharge = 0.99f;
    setBoard(g, {"aaa_b"});
    removalPass(g, true);
    EXPECT_TRUE(f.host.sawText("readyhammer"));  // the tip only the first time

    g.level.hammerEnabled = false;
    g.hammerCharge = 0;
    setBoard(g, {"aaa_b"});
    removalPass(g, true);
    EXPECT_FLOAT_EQ(g.hammerCharge, 0.0f);
}

TEST_F(Removal, BonusPiecesByLevelModeAndLine) {
    struct Case {
        const char* name;
        int levelIndex;
        Mode mode;
        int furthest;
        const char* line;
        int comboBefore;
        int bonus;
    };
    const Case cases[] = {
        {"4, first level, never past 1", 0, Mode::Classic, 1, "aaaa_b", 0, kNoPiece},
        {"4, second level of Puzzle", 1, Mode::Puzzle, 0, "aaaa_b", 0, kNoPiece},
        {"4, Action from the start", 0, Mode::Action, 0, "aaaa_b", 0, kBomb},
        {"4, third level", 2, Mode::Classic, 0, "aaaa_b", 0, kBomb},
        {"4, a player who got further", 0, Mode::Classic, 2, "aaaa_b", 0, kBomb},
        {"3", 2, Mode::Classic, 0, "aaa__b", 0, kNoPiece},
        {"5", 2, Mode::Classic, 0, "aaaaab", 0, kSuperbomb},
        {"3 at an even combo", 2, Mode::Classic, 0, "aaa__b", 1, kDiamond},
        {"4 at an even combo", 2, Mode::Classic, 0, "aaaa_b", 1, kDiamond},
        {"4 at an odd combo", 2, Mode::Classic, 0, "aaaa_b", 2, kBomb},
        {"5 at an even combo: the superbomb wins", 2, Mode::Classic, 0, "aaaaab", 1, kSuperbomb},
    };
    for (const Case& c : cases) {
        f.host.furthest = c.furthest;
        g.levelIndex = c.levelIndex;
        g.mode = c.mode;
        g.combo = c.comboBefore;
        setBoard(g, {c.line});
        g.lastMoveCell = at(1, 0);
        removalPass(g, true);
        EXPECT_EQ(kindAt(g, 1, 0), c.bonus) << c.name;
        if (c.bonus != kNoPiece) {
            EXPECT_FLOAT_EQ(g.board.at(at(1, 0)).piece.appear, 500.0f) << c.name;
        }
        EXPECT_TRUE(testing::boardInvariants(g)) << c.name;
    }
    sounds.collect();
    EXPECT_TRUE(sounds.heard("addbonus.ogg"));
    EXPECT_TRUE(f.host.sawTip("triplebomb"));
    EXPECT_TRUE(f.host.sawEffect("addbomb2"));
}

TEST_F(Removal, AwardsFirstMatchWins) {
    // Three superbombs: the level is won.
    setBoard(g, {"SSS__", "_____", "_____", "_____", "____c"});
    removalPass(g, true);
    EXPECT_FLOAT_EQ(g.barRemaining, 0.0f);
    EXPECT_EQ(kindAt(g, 4, 4), kNoPiece);
    sounds.collect();
    EXPECT_TRUE(sounds.heard("deleteballs.ogg"));
    run(g, 100.0f);
    EXPECT_GT(g.completeTimer, 0.0f);

    // Bombs and diamonds, three in all: every ball goes, 5000 points.
    testing::GameFixture f2;
    GameState& h = f2.g();
    setBoard(h, {"BBD________", "___________", "__________c"});
    h.board.at(at(10, 2)).piece.chained = 1;
    removalPass(h, true);
    EXPECT_TRUE(f2.host.sawText("megamatch"));
    EXPECT_TRUE(f2.host.sawText("+5000"));
    EXPECT_EQ(h.board.at(at(10, 2)).piece.chained, 0);  // a chained ball loses its chain
    EXPECT_EQ(f2.host.total, 5000 + 50);

    // Many pieces at once: "excellent", then "perfect".
    testing::GameFixture f3;
    GameState& e = f3.g();
    for (int round = 0; round < 2; ++round) {
        setBoard(e, {"aaaa_b", "cccc_b", "_______", "dddd_b", "eeee_b"});
        EXPECT_EQ(removalPass(e, true), 16);
    }
    ASSERT_EQ(f3.host.texts.size(), 3u);  // excellent, Combo x 2, perfect
    EXPECT_EQ(f3.host.texts[0].text, "excellent");
    EXPECT_EQ(f3.host.texts[2].text, "perfect");

    // Three jokers: 1000 points.
    testing::GameFixture f4;
    setBoard(f4.g(), {"JJJ_b"});
    removalPass(f4.g(), true);
    EXPECT_TRUE(f4.host.sawText("supermatch"));
    EXPECT_EQ(f4.host.total, 1000);
}

TEST_F(Removal, ScoreItemsWaitPopAndPay) {
    g.combo = 1;  // the pass makes it 2
    setBoard(g, {"aaaaaaa_b"});
    g.board.at(at(6, 0)).floor = 1;
    removalPass(g, true);
    ASSERT_EQ(g.scores.count, 7);
    const float waits[7] = {0, 80, 160, 240, 320, 400, 400};
    for (int i = 0; i < 7; ++i) EXPECT_FLOAT_EQ(g.scores.items[size_t(i)].waitMs, waits[i]);
    EXPECT_EQ(g.scores.items[0].combo, 2);

    stepGame(g, 240.0f);  // the first item is still popping
    EXPECT_TRUE(f.host.popups.empty());
    stepGame(g, 20.0f);
    ASSERT_EQ(f.host.popups.size(), 1u);
    EXPECT_EQ(f.host.popups[0].second, 20);
    payAll();
    EXPECT_EQ(f.host.total, 6 * 20 + 120);  // the one on a square earns 100 more
    EXPECT_EQ(g.scores.count, 0);           // drained
    EXPECT_EQ(f.host.countEffect("ball1"), 7);
    sounds.collect();
    ASSERT_EQ(sounds.count("ball.ogg"), 1);  // once per pass
    for (const auto& c : sounds.calls) {
        if (c.name == "ball.ogg") {
            EXPECT_EQ(c.rateHz, 35000 + 2 * 5000);
        }
    }
}

TEST_F(Removal, ADiamondPaysPerDiamondOfItsPass) {
    setBoard(g, {"aaD__", "_____", "_____", "_____", "____a", "c____"});
    removalPass(g, true);
    payAll();
    // Combo 1: three pieces and the swept ball at 10, the diamond 100 more.
    EXPECT_EQ(f.host.total, 4 * 10 + 100);
    EXPECT_TRUE(f.host.sawEffect("diamond1"));
    sounds.collect();
    EXPECT_TRUE(sounds.heard("diamond.ogg"));
}

TEST_F(Removal, TheLevelBarIsFedByMode) {
    struct Case {
        Mode mode;
        int levelIndex;
        float perItem;  // at combo 2
    };
    const Case cases[] = {
        {Mode::Classic, 0, std::pow(8.0f, 0.25f)},
        {Mode::Classic, 6, 2.0f},
        {Mode::Action, 0, std::sqrt(2.0f)},
        {Mode::Puzzle, 0, 0.0f},
    };
    for (const Case& c : cases) {
        testing::GameFixture fixture;
        GameState& s = fixture.g();
        s.mode = c.mode;
        s.levelIndex = c.levelIndex;
        s.combo = 1;
        setBoard(s, {"aaa_b"});
        removalPass(s, true);
        run(s, 2000.0f);
        EXPECT_NEAR(s.barRemaining, 40.0f - 3.0f * c.perItem, 1e-4f) << int(c.mode) << " " << c.levelIndex;
    }
}

TEST_F(Removal, AddScoreBringsALifeEveryHundredThousand) {
    struct Case {
        int total;
        int points;
        bool life;
    };
    for (const Case c : {Case{99990, 10, true}, Case{99990, 9, false}, Case{199995, 50, true},
                         Case{100000, 99999, false}, Case{0, 100000, true}}) {
        testing::GameFixture h;
        h.host.total = c.total;
        addScore(h.g(), {0, 0}, c.points);
        EXPECT_EQ(h.host.livesAdded, c.life ? 1 : 0) << c.total << " + " << c.points;
        EXPECT_EQ(h.host.total, c.total + c.points);
        EXPECT_EQ(h.g().levelScore, c.points);
        EXPECT_EQ(h.host.sawText("gottalife"), c.life);
    }
}

TEST_F(Removal, AddScoreIsIgnoredWhilePlayIsNotOnScreenOrTheLevelIsEnding) {
    struct Case {
        const char* name;
        bool demo, onScreen, overlay;
        float completeTimer;
        bool counts;
    };
    const Case cases[] = {
        {"plain", false, true, false, 0, true},
        {"demonstration", true, true, false, 0, false},
        {"another screen", false, false, false, 0, false},
        {"a menu over play", false, true, true, 0, false},
        {"complete, first 500 ms", false, true, false, 8200, true},
        {"complete, later", false, true, false, 5000, false},
        {"complete, finished", false, true, false, -1, true},
    };
    for (const Case& c : cases) {
        testing::GameFixture h;
        h.g().demo = c.demo;
        h.host.gameOnScreen = c.onScreen;
        h.host.overlay = c.overlay;
        h.g().completeTimer = c.completeTimer;
        addScore(h.g(), {0, 0}, 100);
        EXPECT_EQ(h.host.total, c.counts ? 100 : 0) << c.name;
    }
}

TEST_F(Removal, AFullScoreQueuePaysAtOnce) {
    g.scores.count = kMaxScoreItems;  // pretend it is full of popping items
    g.scores.live = kMaxScoreItems;
    for (auto& item : g.scores.items) item.waitMs = 1e9f;
    g.combo = 2;
    setBoard(g, {"aaa_b"});
    removalPass(g, true);
    EXPECT_EQ(f.host.total, 3 * 20);  // paid with the combo of the moment, not lost
}

}  // namespace
}  // namespace tessaly::game
