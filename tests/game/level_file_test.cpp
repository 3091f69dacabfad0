#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "base/random.h"
#include "data/registry.h"
#include "game/level_file.h"
#include "game_test_support.h"
#include "support/test_support.h"

namespace tessaly::game {
namespace {

// A level text with CR LF line ends from lines joined by "\n".
std::string crlf(const std::string& lines) {
    std::string out;
    for (char c : lines) {
        if (c == '\n') out += '\r';
        out += c;
    }
    return out;
}

// 15 rows of 20: the given first rows, then rows of plain floor.
std::string grid(std::initializer_list<const char*> first) {
    std::string g;
    int n = 0;
    for (const char* row : first) {
        g += row;
        g += "\n";
        ++n;
    }
    for (; n < 15; ++n) g += "00000000000000000000\n";
    return g;
}

struct Parsed {
    std::unique_ptr<Board> board = std::make_unique<Board>();
    LevelParams params;
    std::string error;
    bool ok = false;
};

Parsed parse(const std::string& text) {
    Parsed p;
    clearBoard(*p.board);
    p.ok = parseLevel(text, *p.board, p.params, p.error);
    return p;
}

const Cell& cell(const Parsed& p, int column, int row) { return p.board->at(testing::at(column, row)); }

TEST(LevelFile, FileNamesFollowTheLevelIndex) {
    EXPECT_EQ(levelFileName(0), "tut1_01.lvl");
    EXPECT_EQ(levelFileName(3), "tut1_04.lvl");
    EXPECT_EQ(levelFileName(4), "pack1_01.lvl");
    EXPECT_EQ(levelFileName(69), "pack1_66.lvl");
}

TEST(LevelFile, ReadsEveryKeyAndItsDefault) {
    const Parsed full = parse(crlf("hammer=no\ncolors=6\nleveldowntime=900\naddballs=4\n"
                                   "balls4destroy=55.5\njockerfrequency=30\nlevel=\n" + grid({})));
    ASSERT_TRUE(full.ok) << full.error;
    EXPECT_FALSE(full.params.hammerEnabled);
    EXPECT_EQ(full.params.colors, 6);
    EXPECT_EQ(full.params.levelDownTimeMs, 900);
    EXPECT_EQ(full.params.addBalls, 4);
    EXPECT_FLOAT_EQ(full.params.balls4Destroy, 55.5f);
    EXPECT_EQ(full.params.jockerFrequency, 30);

    const Parsed bare = parse(crlf("colors=3\nlevel=\n" + grid({})));
    ASSERT_TRUE(bare.ok) << bare.error;
    EXPECT_TRUE(bare.params.hammerEnabled);
    EXPECT_EQ(bare.params.levelDownTimeMs, 0);
    EXPECT_EQ(bare.params.addBalls, 0);
    EXPECT_EQ(bare.params.jockerFrequency, 20);
    for (int v : bare.params.bonusFigure) EXPECT_EQ(v, -1);

    // A joker frequency of 0 (or nonsense below it) means one in 20 too.
    EXPECT_EQ(parse(crlf("colors=3\njockerfrequency=0\nlevel=\n" + grid({}))).params.jockerFrequency, 20);
    EXPECT_EQ(parse(crlf("colors=3\njockerfrequency=-4\nlevel=\n" + grid({}))).params.jockerFrequency, 20);
    // Numbers are read as decimals and truncated.
    EXPECT_EQ(parse(crlf("colors=4.9\nlevel=\n" + grid({}))).params.colors, 4);
    // More colours than balls exist: capped.
    EXPECT_EQ(parse(crlf("colors=12\nlevel=\n" + grid({}))).params.colors, 8);
}

TEST(LevelFile, OnlyTheExactValueNoDisablesTheHammer) {
    for (const char* value : {"no", "No", "NO", "0", "yes", "", "no "}) {
        const Parsed p = parse(crlf(std::string("hammer=") + value + "\ncolors=3\nlevel=\n" + grid({})));
        ASSERT_TRUE(p.ok);
        EXPECT_EQ(p.params.hammerEnabled, std::string(value) != "no") << "hammer=" << value;
    }
}

TEST(LevelFile, RefusesAFileWithoutColoursOrBoardAndKeepsTheOldOne) {
    Parsed p = parse(crlf("colors=2\nlevel=\n" + grid({"a"})));
    ASSERT_TRUE(p.ok);
    const LevelParams before = p.params;
    for (const std::string& text :
         {crlf("level=\n" + grid({"b"})), crlf("colors=0\nlevel=\n" + grid({"b"})), crlf("colors=3\n")}) {
        std::string error;
        EXPECT_FALSE(parseLevel(text, *p.board, p.params, error));
        EXPECT_FALSE(error.empty());
        EXPECT_EQ(cell(p, 0, 0).piece.kind, 0) << "board changed by a refused file";
        EXPECT_EQ(p.params.colors, before.colors);
    }
}

TEST(LevelFile, GridCharactersTable) {
    struct Case {
        char c;
        int floor;
        int kind;
        int chained;
        float appear;
    };
    const Case cases[] = {
        {'.', -1, -1, 0, 0},   {'0', 0, -1, 0, 0},    {'1', 1, -1, 0, 0},     {'9', 9, -1, 0, 0},
        {'a', 0, 0, 0, 500},   {'h', 0, 7, 0, 500},   {'A', 2, 0, 1, 500},    {'H', 2, 7, 1, 500},
        {'K', 2, 10, 1, 500},  {'L', 2, 11, 1, 500},  {'M', 2, 12, 1, 500},   {'N', 2, 13, 1, 500},
        {'X', 0, 0, 0, 500},   {'Z', 1, 0, 0, 500},   {'Y', 0, -1, 0, -1},    {'i', 0, -1, 0, -1},
        {'z', 0, -1, 0, -1},   {'[', 0, -1, 0, -1},   {'`', 0, -1, 0, -1},
        // Codes no piece has leave an empty double square.
        {'I', 2, -1, 0, 0},    {'O', 2, -1, 0, 0},    {'W', 2, -1, 0, 0},     {':', 2, -1, 0, 0},
        {'@', 2, -1, 0, 0},
    };
    for (const Case& c : cases) {
        std::string row(20, '0');
        row[0] = c.c;
        const Parsed p = parse(crlf("colors=3\nlevel=\n" + grid({row.c_str()})));
        ASSERT_TRUE(p.ok);
        const Cell& got = cell(p, 0, 0);
        EXPECT_EQ(got.floor, c.floor) << c.c;
        EXPECT_EQ(got.piece.kind, c.kind) << c.c;
        EXPECT_EQ(got.piece.chained, c.chained) << c.c;
        EXPECT_FLOAT_EQ(got.piece.appear, c.appear) << c.c;
        EXPECT_EQ(got.pending, -1) << c.c;
    }
}

TEST(LevelFile, GridLayoutSkippingAndEarlyEnd) {
    const std::string rows = grid({"abcdefgh000000000001", "1.........Z.........", "....................",
                                   ".......................", "XXXX"});
    const Parsed broken = parse(crlf("colors=8\nlevel=\n" + rows));
    std::string oneLine = rows;
    for (char& c : oneLine)
        if (c == '\n') c = ' ';
    const Parsed flat = parse(crlf("colors=8\nlevel=" + oneLine + "\n"));
    ASSERT_TRUE(broken.ok);
    ASSERT_TRUE(flat.ok);
    for (int x = 0; x < kBoardSize; ++x)
        for (int y = 0; y < kBoardSize; ++y) {
            EXPECT_EQ(broken.board->at(x, y).floor, flat.board->at(x, y).floor) << x << "," << y;
            EXPECT_EQ(broken.board->at(x, y).piece.kind, flat.board->at(x, y).piece.kind);
        }
    EXPECT_EQ(cell(broken, 7, 0).piece.kind, 7);
    EXPECT_EQ(cell(broken, 19, 0).floor, 1);
    EXPECT_EQ(cell(broken, 0, 1).floor, 1);
    EXPECT_EQ(cell(broken, 10, 1).floor, 1);
    // The margin stays non-cells.
    EXPECT_EQ(broken.board->at(4, 5).floor, -1);
    EXPECT_EQ(broken.board->at(25, 5).floor, -1);
    EXPECT_EQ(broken.board->freeCells, countFreeCells(*broken.board));

    // An empty line ends the grid; the rest of the window stays non-cells.
    const Parsed early = parse(crlf("colors=3\nlevel=\n00000000000000000000\n0a\n\nhammer=no\n"));
    ASSERT_TRUE(early.ok);
    EXPECT_EQ(cell(early, 0, 0).floor, 0);
    EXPECT_EQ(cell(early, 1, 1).piece.kind, 0);
    EXPECT_EQ(cell(early, 2, 1).floor, -1);
    EXPECT_EQ(cell(early, 0, 14).floor, -1);
    EXPECT_FALSE(early.params.hammerEnabled);
    EXPECT_EQ(early.board->freeCells, 21);
}

TEST(LevelFile, LevelDownTimeIsNotTheGrid) {
    const Parsed p = parse(crlf("leveldowntime=700\ncolors=3\nlevel=\n" + grid({"b"})));
    ASSERT_TRUE(p.ok);
    EXPECT_EQ(cell(p, 0, 0).piece.kind, 1);
    EXPECT_EQ(p.params.levelDownTimeMs, 700);
}

TEST(LevelFile, BonusFigureIsStoredColumnMajor) {
    const Parsed p = parse(crlf("colors=3\nbonusfigure=\n12.\n3x4\n5\n\nlevel=\n" + grid({})));
    ASSERT_TRUE(p.ok);
    // Rows "12.", "34", "5" ('x' skipped as not a digit or '.').
    EXPECT_EQ(p.params.bonusFigure[0 * 3 + 0], 1);
    EXPECT_EQ(p.params.bonusFigure[1 * 3 + 0], 2);
    EXPECT_EQ(p.params.bonusFigure[2 * 3 + 0], -1);
    EXPECT_EQ(p.params.bonusFigure[0 * 3 + 1], 3);
    EXPECT_EQ(p.params.bonusFigure[1 * 3 + 1], 4);
    EXPECT_EQ(p.params.bonusFigure[2 * 3 + 1], 5);
    EXPECT_EQ(p.params.bonusFigure[0 * 3 + 2], -1);  // the empty line ended the figure
}

class LevelLoading : public test::DataFolderTest {};

TEST_F(LevelLoading, LoadsThroughTheLevelsFolderAndKeepsTheGameOnFailure) {
    m_folder.write("levels/tut1_02.lvl", crlf("colors=4\naddballs=2\nlevel=\n" + grid({"c"})));
    m_folder.write("levels/pack1_01.lvl", crlf("addballs=2\nlevel=\n" + grid({"d"})));
    auto game = std::make_unique<GameState>();
    ASSERT_TRUE(loadLevel(*game, 1));
    EXPECT_EQ(game->level.colors, 4);
    EXPECT_EQ(game->board.at(testing::at(0, 0)).piece.kind, 2);
    EXPECT_EQ(data::g_registry.subfolder, "");  // back in the data folder

    std::string error;
    EXPECT_FALSE(loadLevel(*game, 4, &error));  // no colours
    EXPECT_NE(error.find("pack1_01.lvl"), std::string::npos);
    EXPECT_FALSE(loadLevel(*game, 7, &error));  // no file
    EXPECT_EQ(game->level.colors, 4);
    EXPECT_EQ(game->board.at(testing::at(0, 0)).piece.kind, 2);
    // Levels are read again every time: nothing stays registered.
    EXPECT_EQ(data::g_registry.count, 0);
}

TEST(HelpLevel, LettersPointersAndScale) {
    auto board = std::make_unique<Board>();
    HelpPointers pointers;
    std::string error;
    const std::string text = crlf("level=\nacpAu.vyzx3q\n");
    ASSERT_TRUE(parseHelpLevel(text, 3, 0, Mode::Puzzle, *board, pointers, error));
    auto c = [&](int col) -> const Cell& { return board->at(testing::at(col, 0)); };
    EXPECT_EQ(c(0).piece.kind, 3);          // a: offset 3
    EXPECT_EQ(c(1).piece.kind, 5);          // c: 3 + 2
    EXPECT_EQ(c(2).piece.kind, (3 + 15) % 7);
    EXPECT_EQ(c(3).piece.kind, 3);          // A: on a square
    EXPECT_EQ(c(3).floor, 1);
    EXPECT_EQ(c(4).piece.kind, 3);          // u without the set flag: a ball of the offset colour
    EXPECT_EQ(c(4).floor, 1);
    EXPECT_EQ(c(5).floor, -1);
    EXPECT_EQ(c(6).piece.kind, -1);         // v: an empty square
    EXPECT_EQ(c(6).floor, 1);
    EXPECT_EQ(c(10).floor, 3);              // a digit sets the floor only
    EXPECT_EQ(c(11).piece.kind, -1);        // another letter: empty plain cell
    EXPECT_EQ(c(11).floor, 0);
    EXPECT_FLOAT_EQ(c(0).scale, 0.5f);
    EXPECT_FLOAT_EQ(c(5).scale, 0.0f);
    ASSERT_EQ(pointers.count, 5);           // u, v, y, z, x in grid order
    EXPECT_FLOAT_EQ(pointers.points[0].x, testing::pointOf(4, 0).x);
    EXPECT_FLOAT_EQ(pointers.points[4].x, testing::pointOf(9, 0).x);

    ASSERT_TRUE(parseHelpLevel(text, 3, 1, Mode::Classic, *board, pointers, error));
    EXPECT_EQ(c(4).piece.kind, kJoker);     // with the set flag: a joker
    EXPECT_EQ(c(3).floor, 0);               // outside Puzzle squares are flattened
    EXPECT_EQ(c(10).floor, 0);
}

TEST(LevelFile, CountsAreBoundedByWhatTheBoardHolds) {
    // New balls are announced addballs times after every fruitless move;
    // the field has 300 cells to announce in, so no more is ever taken.
    struct Case {
        const char* keys;
        int addBalls;
        float balls4Destroy;
    };
    const Case cases[] = {
        {"addballs=100000000\n", 300, 0},
        {"addballs=2147483647\n", 300, 0},
        {"addballs=1e30\n", 300, 0},
        {"addballs=300\n", 300, 0},
        {"addballs=299\n", 299, 0},
        {"addballs=-5\n", 0, 0},
        {"balls4destroy=1e30\n", 0, 100000.0f},  // a level bar target, bounded too
        {"balls4destroy=55\n", 0, 55.0f},
    };
    for (const Case& c : cases) {
        const Parsed p = parse(crlf(std::string("colors=3\n") + c.keys + "level=\n" + grid({})));
        ASSERT_TRUE(p.ok) << c.keys << p.error;
        EXPECT_EQ(p.params.addBalls, c.addBalls) << c.keys;
        EXPECT_FLOAT_EQ(p.params.balls4Destroy, c.balls4Destroy) << c.keys;
    }
}

}  // namespace
}  // namespace tessaly::game
