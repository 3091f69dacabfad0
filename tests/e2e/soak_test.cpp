// The short soak: the built-in player starts from the title, chooses its
// mode in the menus and plays on through the real input path for a minute
// of game time per mode, with the rules' invariants checked every frame.
// scripts/soak runs the same for hours.
#include <gtest/gtest.h>

#include <string>

#include "e2e/run_game.h"

namespace tessaly::e2e {
namespace {

const std::string kData = TESSALY_DATA_DIR;
constexpr int kFrames = 3750;  // one minute of 16 ms steps

class Soak : public ::testing::TestWithParam<int> {};

TEST_P(Soak, AMinuteFromTheTitleWithEveryCheckHolding) {
    const int mode = GetParam();
    const TestFolder dir("soak-" + std::to_string(mode));
    const std::string dump = dir.path() + "/state.json";
    const GameRun run = runGame({"--data", kData, "--windowed", "--fixed-step", "16", "--seed", std::to_string(20 + mode),
                                 "--autoplay", "--mode", std::to_string(mode), "--frames", std::to_string(kFrames),
                                 "--user-dir", dir.path() + "/user", "--dump-state", dump},
                                dir.path(), 1200);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const std::string state = readText(dump);
    const std::string game = jsonObject(state, "game");
    const std::string a = jsonObject(game, "autoplay");
    EXPECT_EQ(jsonNumber(game, "mode"), mode) << "the mode was chosen in the menus";
    EXPECT_EQ(jsonNumber(a, "problems"), 0) << jsonText(a, "firstProblem");
    EXPECT_EQ(jsonNumber(a, "lostInputs"), 0);
    EXPECT_GE(jsonNumber(a, "levelsWon") + jsonNumber(a, "levelsLost"), 1);
    EXPECT_GT(jsonNumber(a, "moves"), 30);
#ifndef TESSALY_DEBUG_CHECKS  // the sanitizers' own cost is no fault of a frame
    EXPECT_EQ(jsonNumber(a, "slowFrames"), 0) << "the slowest frame took " << jsonNumber(a, "maxFrameCpuMs") << " ms";
#endif
    const std::string lookups = jsonObject(state, "lookups");
    EXPECT_EQ(jsonNumber(lookups, "total"), 0) << "textures " << jsonText(lookups, "last_textures") << ", sounds "
                                                << jsonText(lookups, "last_sounds") << ", texts "
                                                << jsonText(lookups, "last_texts");
    EXPECT_EQ(jsonNumber(jsonObject(state, "pools"), "droppedTotal"), 0) << jsonObject(state, "pools");
}

std::string modeName(const ::testing::TestParamInfo<int>& info) {
    static const char* const kNames[] = {"Classic", "Puzzle", "Action"};
    return kNames[info.param];
}

INSTANTIATE_TEST_SUITE_P(EveryMode, Soak, ::testing::Values(0, 1, 2), modeName);

}  // namespace
}  // namespace tessaly::e2e
