// The living landscapes through the real executable, headless: the menu land
// behind the first menu, and the lands of two stages behind the board, each
// compared with its own backdrop picture and seen to move between frames.
#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "e2e/run_game.h"
#include "gfx/texture.h"

namespace tessaly::e2e {
namespace {

namespace fs = std::filesystem;

const std::string kData = TESSALY_DATA_DIR;

using Picture = Screenshot;

// The backdrop of a land as the game decodes its JPEG part (B, G, R, A).
gfx::Image backdrop(int land) {
    std::ifstream file(kData + "/animbacks/_a_back" + std::to_string(land) + ".jpg", std::ios::binary);
    const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    gfx::Image image;
    EXPECT_TRUE(gfx::decodeJpeg(bytes.data(), int(bytes.size()), image)) << land;
    return image;
}

// Mean absolute difference per channel over a pixel rectangle.
double difference(const Picture& a, const Picture& b, int x0, int y0, int x1, int y1) {
    double sum = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x)
            for (int c = 0; c < 3; ++c) {
                const size_t i = (size_t(y) * 800 + size_t(x)) * 4 + size_t(c);
                sum += std::fabs(double(a.rgba[i]) - double(b.rgba[i]));
            }
    return sum / (double(x1 - x0) * double(y1 - y0) * 3);
}

double difference(const Picture& shot, const gfx::Image& pic, int x0, int y0, int x1, int y1) {
    double sum = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) {
            const uint8_t* s = &shot.rgba[(size_t(y) * 800 + size_t(x)) * 4];
            const uint8_t* p = &pic.pixels[(size_t(y) * size_t(pic.width) + size_t(x)) * 4];
            sum += std::fabs(double(s[0]) - p[2]) + std::fabs(double(s[1]) - p[1]) + std::fabs(double(s[2]) - p[0]);
        }
    return sum / (double(x1 - x0) * double(y1 - y0) * 3);
}

// Runs the game and returns the screenshots taken at `frames`.
std::vector<Picture> shoot(const std::string& folder, const std::vector<std::string>& extra, const std::string& input,
                           const std::vector<int>& frames) {
    const std::string script = folder + "/input.txt";
    std::ofstream(script) << input;
    std::vector<std::string> args = {"--data", kData, "--windowed", "--fixed-step", "16", "--seed", "1", "--input",
                                     script, "--user-dir", folder + "/user", "--frames",
                                     std::to_string(frames.back() + 2)};
    args.insert(args.end(), extra.begin(), extra.end());
    for (int f : frames) {
        args.push_back("--screenshot");
        args.push_back(std::to_string(f) + ":" + folder + "/shot" + std::to_string(f) + ".png");
    }
    const GameRun run = runGame(args, folder, 180);
    EXPECT_EQ(run.exitCode, 0) << run.err;
    std::vector<Picture> shots;
    for (int f : frames) shots.push_back(readScreenshot(folder + "/shot" + std::to_string(f) + ".png"));
    return shots;
}

bool dataSet() { return fs::exists(kData + "/animbacks/level15.lev"); }

TEST(ScenesE2e, TheMenuLandLivesBehindTheFirstMenu) {
    if (!dataSet()) GTEST_SKIP() << "no data set";
    const TestFolder dir("scenes_menu");
    // The title, a key, and the name entry of the first run over the menu land.
    const auto shots = shoot(dir.path(), {}, "1 move -395 -295\n60 key 13\n", {150, 250});
    ASSERT_EQ(shots[0].width, 800);
    ASSERT_EQ(shots[1].width, 800);
    // Below the dialog the picture is the menu land's, lit for day.
    const gfx::Image own = backdrop(0), other = backdrop(1);
    const double toOwn = difference(shots[0], own, 0, 470, 800, 600);
    const double toOther = difference(shots[0], other, 0, 470, 800, 600);
    EXPECT_LT(toOwn, 12) << "the menu land's picture";
    EXPECT_GT(toOther, toOwn + 10) << "not a stage's";
    // The branches along the top sway and the sky drifts: 1.6 s later the
    // top differs, while the still meadow below does not.
    const double top = difference(shots[0], shots[1], 0, 0, 800, 100);
    const double bottom = difference(shots[0], shots[1], 0, 500, 800, 600);
    EXPECT_GT(top, 0.3) << "the top of the land moves";
    EXPECT_LT(bottom, top) << "the meadow stands";
}

TEST(ScenesE2e, EachStageHasItsOwnLandBehindTheBoard) {
    if (!dataSet()) GTEST_SKIP() << "no data set";
    // Levels 2 and 8 start in daylight (level index mod 3 = 2): lands 1 and 2 untinted.
    const TestFolder dir1("scenes_stage1"), dir2("scenes_stage2");
    const auto a = shoot(dir1.path(), {"--level", "2", "--mode", "0"}, "1 move -395 -295\n", {50});
    const auto b = shoot(dir2.path(), {"--level", "8", "--mode", "0"}, "1 move -395 -295\n", {50});
    // Below the board and left of the panel only the land shows.
    const int x0 = 0, y0 = 560, x1 = 690, y1 = 600;
    const gfx::Image land1 = backdrop(1), land2 = backdrop(2);
    const double aOwn = difference(a[0], land1, x0, y0, x1, y1), aOther = difference(a[0], land2, x0, y0, x1, y1);
    const double bOwn = difference(b[0], land2, x0, y0, x1, y1), bOther = difference(b[0], land1, x0, y0, x1, y1);
    EXPECT_LT(aOwn, 12) << "level 2 over land 1";
    EXPECT_LT(bOwn, 12) << "level 8 over land 2";
    EXPECT_GT(aOther, aOwn + 10);
    EXPECT_GT(bOther, bOwn + 10);
    EXPECT_GT(difference(a[0], b[0], x0, y0, x1, y1), 10) << "two stages, two lands";
}

}  // namespace
}  // namespace tessaly::e2e
