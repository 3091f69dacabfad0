#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <vector>

#include "game/flow.h"
#include "game/greedy_player.h"
#include "game/moves.h"
#include "game/saved_game.h"
#include "game/spawn.h"
#include "game_test_support.h"
#include "support/test_support.h"

namespace tessaly::game {
namespace {

using testing::at;
using testing::kindAt;
using testing::pointOf;
using testing::setBoard;

using Bytes = std::vector<uint8_t>;

Bytes encode(const GameState& g) {
    Bytes b(kSavedGameBytes);
    encodeSavedGame(g, b.data());
    return b;
}

int32_t intAt(const Bytes& b, size_t offset) {
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i) v |= uint32_t(b[offset + size_t(i)]) << (8 * i);
    return int32_t(v);
}

float floatAt(const Bytes& b, size_t offset) {
    const uint32_t v = uint32_t(intAt(b, offset));
    float f;
    std::memcpy(&f, &v, 4);
    return f;
}

class SavedGame : public ::testing::Test {
protected:
    testing::GameFixture f;
    GameState& g = f.g();

    void SetUp() override {
        setBoard(g, {"ab__c", "_1___", "__d__"});
        g.board.at(at(1, 0)).piece.chained = 1;
        g.board.at(at(3, 2)).pending = kJoker;
        g.levelIndex = 23;
        g.level.colors = 6;
        g.level.jockerFrequency = 17;
        g.level.addBalls = 4;
        g.barTotal = 61.5f;
        g.barRemaining = 12.25f;
        g.playTimeMs = 98765;
        g.combo = 3;
        g.maxCombo = 7;
        g.levelScore = 4321;
        g.hammerCharge = 0.75f;
        g.movesMade = 44;
        g.moveCounter = 31;
    }
};

TEST_F(SavedGame, TheImageHasItsFixedLayout) {
    const Bytes b = encode(g);
    ASSERT_EQ(b.size(), 99409u);
    EXPECT_EQ(intAt(b, 0), 4);  // the reserved head of a new game
    EXPECT_EQ(intAt(b, 4), 999999);
    EXPECT_EQ(intAt(b, 12), 6);  // colours
    // The board, x-major: cell (x, y) at 16 + (x * 30 + y) * 108.
    const CellRef c = at(1, 0);
    const size_t cell = 16 + size_t(c.x * 30 + c.y) * kCellBytes;
    EXPECT_EQ(intAt(b, cell + 4), 0);          // floor
    EXPECT_EQ(intAt(b, cell + 12 + 8), 1);     // piece kind
    EXPECT_EQ(intAt(b, cell + 12 + 56), 1);    // chained
    EXPECT_EQ(intAt(b, cell + 12 + 24), -1);   // no move target
    EXPECT_FLOAT_EQ(floatAt(b, cell + 100), 1.0f);  // scale
    const CellRef p = at(3, 2);
    EXPECT_EQ(intAt(b, 16 + size_t(p.x * 30 + p.y) * kCellBytes + 76), kJoker);  // pending
    EXPECT_EQ(intAt(b, 16 + size_t(at(1, 1).x * 30 + at(1, 1).y) * kCellBytes + 4), 1);  // a square
    // After the board (97200 bytes) and the path (2048 bytes).
    EXPECT_EQ(intAt(b, 99264 + 4 + 36), 98765);     // play time
    EXPECT_FLOAT_EQ(floatAt(b, 99308), 0.75f);     // hammer charge
    EXPECT_EQ(intAt(b, 99312), 3);                  // combo
    EXPECT_EQ(intAt(b, 99316), 17);                 // joker frequency
    EXPECT_EQ(intAt(b, 99320), g.board.freeCells);
    EXPECT_EQ(intAt(b, 99324), 4);                  // addballs
    EXPECT_EQ(intAt(b, 99339), 31);                 // move counter
    EXPECT_EQ(intAt(b, 99343), 44);                 // moves made
    EXPECT_EQ(intAt(b, 99352), 7);                  // max combo
    EXPECT_EQ(intAt(b, 99364), 4321);               // level score
    EXPECT_FLOAT_EQ(floatAt(b, 99380), 2000.0f);   // reserved, as at a level start
    EXPECT_EQ(intAt(b, 99389), 23);                 // level index
    EXPECT_FLOAT_EQ(floatAt(b, 99401), 61.5f);     // bar total
    EXPECT_FLOAT_EQ(floatAt(b, 99405), 12.25f);    // bar remaining, the last field
}

TEST_F(SavedGame, LoadingTakesBackWhatWasSaved) {
    const Bytes b = encode(g);
    testing::GameFixture other;
    std::string error;
    ASSERT_TRUE(decodeSavedGame(b.data(), b.size(), other.g(), error)) << error;
    EXPECT_EQ(encode(other.g()), b);
    EXPECT_EQ(kindAt(other.g(), 4, 0), 2);
    EXPECT_EQ(other.g().board.at(at(1, 0)).piece.chained, 1);
    EXPECT_EQ(other.g().levelIndex, 23);
    EXPECT_EQ(other.g().host, &other.host);  // what the file doesn't hold stays
}

TEST_F(SavedGame, ADamagedImageLeavesTheGameAlone) {
    struct Case {
        const char* name;
        size_t size;           // bytes offered
        size_t offset;         // a 32-bit value to overwrite, or 0
        int32_t value;
    };
    const CellRef c = at(0, 0);
    const size_t kindOffset = 16 + size_t(c.x * 30 + c.y) * kCellBytes + 20;
    const size_t marginFloor = 16 + size_t(2 * 30 + 2) * kCellBytes + 4;
    const Case cases[] = {
        {"empty", 0, 0, 0},
        {"one byte short", kSavedGameBytes - 1, 0, 0},
        {"half", kSavedGameBytes / 2, 0, 0},
        {"one byte long", kSavedGameBytes + 1, 0, 0},
        {"an unknown piece", kSavedGameBytes, kindOffset, 9},
        {"a cell in the margin", kSavedGameBytes, marginFloor, 0},
        {"a wrong free-cell count", kSavedGameBytes, 99320, 250},
        {"a path too long", kSavedGameBytes, 99264, 300},
        {"no colours", kSavedGameBytes, 12, 0},
        {"a level out of range", kSavedGameBytes, 99389, 70},
    };
    testing::GameFixture target;
    setBoard(target.g(), {"hh_h"});
    const Bytes before = encode(target.g());
    for (const Case& k : cases) {
        Bytes b = encode(g);
        b.resize(k.size + 8, 0);
        if (k.offset)
            for (int i = 0; i < 4; ++i) b[k.offset + size_t(i)] = uint8_t(uint32_t(k.value) >> (8 * i));
        std::string error;
        EXPECT_FALSE(decodeSavedGame(b.data(), k.size, target.g(), error)) << k.name;
        EXPECT_FALSE(error.empty()) << k.name;
        EXPECT_EQ(encode(target.g()), before) << k.name;
    }
}

TEST_F(SavedGame, AFlightSavedMidwayResumesAfterLoading) {
    setBoard(g, {"a_____b"});
    pressBoard(g, pointOf(0, 0));
    pressBoard(g, pointOf(5, 0));
    ASSERT_TRUE(g.moveInFlight);
    stepGame(g, 200.0f);
    const float left = g.board.at(at(0, 0)).piece.flightMs;
    const base::Vec2 offset = flightOffset(g);
    const Bytes b = encode(g);

    testing::GameFixture other;
    GameState& h = other.g();
    std::string error;
    ASSERT_TRUE(decodeSavedGame(b.data(), b.size(), h, error)) << error;
    EXPECT_TRUE(h.moveInFlight);
    EXPECT_EQ(h.moveFrom, at(0, 0));
    EXPECT_EQ(h.moveTarget, at(5, 0));
    EXPECT_EQ(h.pathLength, 5);
    EXPECT_FLOAT_EQ(h.board.at(at(0, 0)).piece.flightMs, left);
    EXPECT_FLOAT_EQ(flightOffset(h).x, offset.x);
    testing::run(h, left + 10.0f);
    EXPECT_FALSE(h.moveInFlight);
    EXPECT_EQ(kindAt(h, 5, 0), 0);
    EXPECT_EQ(kindAt(h, 0, 0), kNoPiece);
    EXPECT_EQ(h.movesMade, g.movesMade + 1);
    EXPECT_TRUE(testing::boardInvariants(h));
}

TEST_F(SavedGame, FilesAreWrittenWholeAndReadBack) {
    test::TempFolder folder;
    const std::string path = (folder.path() / "PLAYER_1.sav").string();
    ASSERT_TRUE(saveGame(g, path));
    EXPECT_EQ(std::filesystem::file_size(path), kSavedGameBytes);
    EXPECT_FALSE(std::filesystem::exists(path + ".tmp"));

    testing::GameFixture other;
    ASSERT_TRUE(loadGame(other.g(), path));
    EXPECT_EQ(encode(other.g()), encode(g));

    // A truncated file on disk: refused, the game untouched.
    std::filesystem::resize_file(path, 5000);
    testing::GameFixture third;
    setBoard(third.g(), {"hh_h"});
    const Bytes before = encode(third.g());
    EXPECT_FALSE(loadGame(third.g(), path));
    EXPECT_EQ(encode(third.g()), before);
    EXPECT_FALSE(loadGame(third.g(), (folder.path() / "missing.sav").string()));
    EXPECT_FALSE(saveGame(g, (folder.path() / "no" / "such" / "folder.sav").string()));
}

TEST_F(SavedGame, ANumberOutsideWhatPlayProducesRefusesTheImage) {
    constexpr uint32_t kNaN = 0x7FC00000u, kInf = 0x7F800000u;
    auto bitsOf = [](float v) {
        uint32_t u;
        std::memcpy(&u, &v, 4);
        return u;
    };
    struct Case {
        const char* name;
        size_t offset;
        uint32_t value;
    };
    const CellRef c = at(0, 0);
    const size_t cell = 16 + size_t(c.x * 30 + c.y) * kCellBytes;
    const Case cases[] = {
        {"a huge combo", 99312, 2147483647u},
        {"a negative combo", 99312, uint32_t(-3)},
        {"a huge max combo", 99352, 2147483647u},
        {"a NaN bar total", 99401, kNaN},
        {"an infinite bar remaining", 99405, kInf},
        {"a bar remaining above its total", 99405, bitsOf(100.0f)},
        {"a negative bar remaining", 99405, bitsOf(-1.0f)},
        {"a NaN game clock", 99372, kNaN},
        {"a negative game clock", 99372, bitsOf(-10.0f)},
        {"an infinite animation clock", 99376, kInf},
        {"a huge play time", 99304, 2147483000u},
        {"a negative play time", 99304, uint32_t(-1)},
        {"a huge level score", 99364, 2147483000u},
        {"a huge move counter", 99339, 2147483000u},
        {"a huge count of moves made", 99343, 2147483000u},
        {"addballs beyond the board", 99324, 2147483647u},
        {"a NaN hammer charge", 99308, kNaN},
        {"a hammer charge above full", 99308, bitsOf(2.0f)},
        {"a NaN complete timer", 99384, kNaN},
        {"a complete timer beyond its sequence", 99384, bitsOf(1e9f)},
        {"a negative flight time", 8, uint32_t(-5)},
        {"a NaN in the path", 97216, kNaN},
        {"a NaN piece clock", cell + 12 + 20, kNaN},
        {"a huge piece clock", cell + 12 + 20, bitsOf(1e30f)},
        {"a NaN appearance", cell + 12 + 36, kNaN},
        {"an infinite piece offset", cell + 12, kInf},
        {"a NaN cell scale", cell + 100, kNaN},
        {"an infinite floor clock", cell + 88, kInf},
        {"a NaN announcement timer", cell + 80, kNaN},
        {"a bonus figure digit out of range", 99268, 57u},
    };
    testing::GameFixture target;
    setBoard(target.g(), {"hh_h"});
    const Bytes before = encode(target.g());
    const Bytes good = encode(g);
    std::string error;
    testing::GameFixture probe;
    ASSERT_TRUE(decodeSavedGame(good.data(), good.size(), probe.g(), error)) << error;  // sound as saved
    for (const Case& k : cases) {
        Bytes b = good;
        for (int i = 0; i < 4; ++i) b[k.offset + size_t(i)] = uint8_t(k.value >> (8 * i));
        error.clear();
        EXPECT_FALSE(decodeSavedGame(b.data(), b.size(), target.g(), error)) << k.name;
        EXPECT_FALSE(error.empty()) << k.name;
        EXPECT_TRUE(encode(target.g()) == before) << k.name;
    }
}

TEST_F(SavedGame, EveryImageOfAGameInPlayLoadsBack) {
    // The range checks must take whatever play produces: moves, flights,
    // appearing balls, lines, score items, the bar and the clocks.
    setBoard(g, {"__________", "__________", "__________", "__________", "__________", "__________"});
    g.levelIndex = 2;
    g.barTotal = g.barRemaining = 40.0f;
    g.playTimeMs = g.combo = g.maxCombo = g.levelScore = g.movesMade = g.moveCounter = 0;
    g.hammerCharge = 0;
    fillAtLevelStart(g);
    announceBalls(g, g.level.addBalls);
    int loaded = 0;
    for (int move = 0; move < 30 && g.completeTimer == 0 && g.defeatTimer == 0; ++move) {
        CellRef ball, target;
        if (!chooseGreedyMove(g, ball, target)) break;
        selectBall(g, ball);
        if (!startMove(g, target)) break;
        for (int frame = 0; frame < 60; ++frame) {
            stepGame(g, 16.0f);
            if (frame % 7 != 0) continue;
            const Bytes b = encode(g);
            testing::GameFixture other;
            std::string error;
            ASSERT_TRUE(decodeSavedGame(b.data(), b.size(), other.g(), error)) << "move " << move << ": " << error;
            ++loaded;
        }
    }
    EXPECT_GT(loaded, 50);
    EXPECT_GE(g.movesMade, 5);
    EXPECT_GT(g.levelScore, 0);  // lines were made and paid on the way
}

}  // namespace
}  // namespace tessaly::game
