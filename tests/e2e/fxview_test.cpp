// The effect viewer end to end: the real executable, headless, fixed step
// and seed, with screenshots of a few effects at fixed frames, checked for
// drawing where the effect should be and none where it should not.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/png_file.h"
#include "support/test_support.h"

namespace {

namespace fs = std::filesystem;

const std::string kViewer = std::string(TESSALY_BUILD_DIR) + "/tessaly-fxview";

struct Picture {
    std::vector<uint8_t> rgba;
    int width = 0, height = 0;

    // Pixels of the rectangle (pixel coordinates, top-left origin, x1 and y1
    // excluded) that stand out from the dark backdrop and its faint grid.
    int litPixels(int x0, int y0, int x1, int y1) const {
        int n = 0;
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x) {
                const uint8_t* p = &rgba[(size_t(y) * size_t(width) + size_t(x)) * 4];
                n += p[0] + p[1] + p[2] > 3 * 90;
            }
        return n;
    }
};

class FxviewTest : public ::testing::Test {
protected:
    void SetUp() override {
        if (!fs::exists(kViewer)) GTEST_SKIP() << "tessaly-fxview is not built";
    }

    // Runs the viewer for `frames` frames of 16 ms and takes a screenshot of
    // the last one.
    Picture run(const std::string& what, int frames, int* exitCode = nullptr) {
        const std::string shot = (m_folder.path() / "shot.png").string();
        const std::string command = "SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=dummy '" + kViewer +
                                    "' --data '" TESSALY_DATA_DIR "' --fixed-step 16 --seed 5 --frames " +
                                    std::to_string(frames) + " --screenshot " + std::to_string(frames) + ":'" +
                                    shot + "' " + what + " > /dev/null 2>&1";
        const int status = std::system(command.c_str());
        const int code = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        if (exitCode) *exitCode = code;
        else EXPECT_EQ(code, 0) << command;
        Picture picture;
        if (code == 0) {
            EXPECT_TRUE(tessaly::platform::readPng(shot, picture.rgba, &picture.width, &picture.height));
            EXPECT_EQ(picture.width, 800);
            EXPECT_EQ(picture.height, 600);
        }
        return picture;
    }

    tessaly::test::TempFolder m_folder;
};

TEST_F(FxviewTest, EffectsDrawWhereTheyAreStarted) {
    struct Case {
        const char* what;
        int frames;
        int x0, y0, x1, y1;  // where the drawing must be (pixels, y down)
        int minLit;
    };
    const Case cases[] = {
        // A bomb at the right of the screen: flash, sparks and smoke.
        {"--effect bomb1 --at 200,0", 8, 520, 220, 680, 380, 400},
        // The celebration at the upper left.
        {"--effect scorewow --at -200,150", 12, 100, 50, 300, 250, 80},
        // A ring of puffs around the centre.
        {"--sparks 1 --at 0,0", 10, 340, 240, 460, 360, 200},
        // A bolt across the middle.
        {"--bolt --at -300,0 --to 300,0", 3, 100, 290, 700, 310, 2000},
        // A banner, settled.
        {"--banner GREAT --size 40", 90, 250, 250, 550, 350, 500},
        // A balloon pointing at a spot in the upper right: the box stands
        // toward the centre.
        {"--balloon Hello --at 250,150", 30, 450, 140, 660, 275, 800},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const Picture p = run(c.what, c.frames);
        if (p.rgba.empty()) continue;
        const int inside = p.litPixels(c.x0, c.y0, c.x1, c.y1);
        const int total = p.litPixels(0, 0, 800, 600);
        EXPECT_GE(inside, c.minLit);
        // Most of what is drawn is in the expected region.
        EXPECT_GE(inside * 10, total * 6) << "inside " << inside << " of " << total;
    }
}

TEST_F(FxviewTest, ABurstIsGoneWhenItsParticlesDie) {
    const Picture early = run("--effect ball1", 5);
    const Picture late = run("--effect ball1", 120);
    if (early.rgba.empty() || late.rgba.empty()) return;
    EXPECT_GT(early.litPixels(340, 240, 460, 360), 20);
    EXPECT_EQ(late.litPixels(0, 0, 800, 600), 0);
}

TEST_F(FxviewTest, UnknownEffectIsRefused) {
    int code = 0;
    run("--effect no_such_effect", 1, &code);
    EXPECT_EQ(code, 2);
}

}  // namespace
