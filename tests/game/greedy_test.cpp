// Every level of the game, in every mode, played by the greedy player from
// a fixed seed: each must load, start, take moves without breaking a board
// invariant, and be won. The per-mode win counts are printed for the
// record.
#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>

#include "base/random.h"
#include "data/registry.h"
#include "game/flow.h"
#include "game/greedy_player.h"
#include "game/level_file.h"

namespace tessaly::game {
namespace {

class Levels : public ::testing::Test {
protected:
    void SetUp() override {
        m_previousFolder = data::g_registry.dataFolder;
        data::g_registry.clear();
        data::g_registry.dataFolder = TESSALY_DATA_DIR;
    }
    void TearDown() override {
        data::g_registry.clear();
        data::g_registry.dataFolder = m_previousFolder;
    }

private:
    std::string m_previousFolder;
};

TEST_F(Levels, TheGreedyPlayerWinsEveryLevelInEveryMode) {
    static constexpr const char* kModeNames[3] = {"Classic", "Puzzle", "Action"};
    int wins[3] = {};
    int moves[3] = {};
    for (int level = 0; level < kLevelCount; ++level) {
        for (int mode = 0; mode < 3; ++mode) {
            auto game = std::make_unique<GameState>();
            game->mode = Mode(mode);
            base::seedRandom(uint32_t(1000 + level * 31 + mode * 7));
            ASSERT_TRUE(startLevel(*game, level)) << levelFileName(level);
            const GreedyResult r = playGreedy(*game);
            const std::string what = levelFileName(level) + " in " + kModeNames[mode];
            EXPECT_EQ(r.problem, nullptr) << what << ": " << r.problem;
            EXPECT_GT(r.moves, 0) << what;
            EXPECT_TRUE(r.won) << what << (r.lost ? " was lost" : r.stuck ? " got stuck" : " ran out of moves")
                               << " after " << r.moves << " moves";
            wins[mode] += r.won ? 1 : 0;
            moves[mode] += r.moves;
        }
    }
    for (int mode = 0; mode < 3; ++mode)
        std::printf("greedy player, %s: %d of %d levels won, %d moves on average\n", kModeNames[mode], wins[mode],
                    kLevelCount, moves[mode] / kLevelCount);
}

TEST_F(Levels, EveryHelpPageLoadsAndItsDemonstrationRemovesALine) {
    for (int page = 1; page <= 4; ++page) {
        for (int setFlag = 0; setFlag <= 1; ++setFlag) {
            auto demo = std::make_unique<GameState>();
            demo->mode = Mode::Puzzle;
            HelpPointers pointers;
            ASSERT_TRUE(loadHelpLevel(*demo, page, page, setFlag, pointers)) << page;
            ASSERT_GE(pointers.count, 3) << page;
            EXPECT_TRUE(demo->demo);
            const int before = countPieces(demo->board);
            // Clicks at the pointer positions after the first, as the help
            // screen performs them, with the board at half speed between.
            for (int i = 1; i < pointers.count; ++i) {
                for (int f = 0; f < 30; ++f) stepGame(*demo, 25.0f);
                leftButtonDown(*demo, pointers.points[i]);
            }
            for (int f = 0; f < 100; ++f) stepGame(*demo, 25.0f);
            EXPECT_LT(countPieces(demo->board), before) << "help page " << page << " set " << setFlag;
            EXPECT_EQ(boardProblem(*demo), nullptr);
        }
    }
}

}  // namespace
}  // namespace tessaly::game
