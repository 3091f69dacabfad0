// The real executable, headless, driven by the test options: loading and
// title screens in screenshots, scripted input through the title fade to the
// menu screen, repeatability, the single instance and the fatal
// missing-file message.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/file.h>
#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "e2e/run_game.h"
#include "gfx/texture.h"
#include "platform/window.h"

namespace tessaly::e2e {
namespace {

namespace fs = std::filesystem;

const std::string kData = TESSALY_DATA_DIR;

using Picture = Screenshot;

// A picture of the data set, decoded as the game decodes it (B, G, R, A).
gfx::Image readDataPicture(const std::string& name) {
    std::ifstream file(kData + "/" + name, std::ios::binary);
    const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    gfx::Image image;
    EXPECT_TRUE(gfx::decodeImage(bytes.data(), int(bytes.size()), image)) << name;
    return image;
}

// Mean absolute difference per channel between the screenshot's rectangle
// and the same-sized rectangle of a picture starting at (px, py).
double meanDifference(const Picture& shot, int x0, int y0, int x1, int y1, const gfx::Image& pic,
                      int px, int py) {
    double sum = 0;
    int n = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) {
            const uint8_t* s = shot.at(x, y);
            const uint8_t* p = &pic.pixels[(size_t(py + y - y0) * size_t(pic.width) + size_t(px + x - x0)) * 4];
            sum += std::abs(s[0] - p[2]) + std::abs(s[1] - p[1]) + std::abs(s[2] - p[0]);
            n += 3;
        }
    return n ? sum / n : 0;
}

// Pixels in the rectangle where some channel differs from the picture by
// more than `threshold`.
int differingPixels(const Picture& shot, int x0, int y0, int x1, int y1, const gfx::Image& pic,
                    int threshold) {
    int count = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) {
            const uint8_t* s = shot.at(x, y);
            const uint8_t* p = &pic.pixels[(size_t(y) * size_t(pic.width) + size_t(x)) * 4];
            if (std::abs(s[0] - p[2]) > threshold || std::abs(s[1] - p[1]) > threshold ||
                std::abs(s[2] - p[0]) > threshold)
                ++count;
        }
    return count;
}

// The number after "key": in the JSON dump (first occurrence).
double dumpNumber(const std::string& json, const std::string& key) {
    const size_t at = json.find("\"" + key + "\":");
    if (at == std::string::npos) return NAN;
    return std::strtod(json.c_str() + at + key.size() + 3, nullptr);
}

std::vector<std::string> headlessRun(const std::string& folder, int frames) {
    return {"--data", kData, "--windowed", "--fixed-step", "16", "--seed", "7",
            "--frames", std::to_string(frames), "--dump-state", folder + "/state.json"};
}

void requireDataSet() {
    ASSERT_TRUE(fs::exists(kData + "/loadscreen.jpg") && fs::exists(kData + "/loadbar.jpg"))
        << "the generated data set is missing from " << kData;
}

// Bar geometry in picture pixels: 310 x 48 units, left end x = -149, top
// y = -243.
constexpr int kBarLeft = 251, kBarTop = 543, kBarBottom = 591, kBarWidth = 310;

TEST(GameRun, LoadingAndTitleScreensAreDrawn) {
    requireDataSet();
    const TestFolder dir("title");
    const std::string& folder = dir.path();
    auto args = headlessRun(folder, 90);
    args.insert(args.end(), {"--screenshot", "loading:" + folder + "/loading.png", "--screenshot",
                             "90:" + folder + "/title.png"});
    const GameRun run = runGame(args, folder);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const std::string state = readText(folder + "/state.json");
    EXPECT_NE(state.find("\"screen\":\"title\""), std::string::npos) << state;
    EXPECT_EQ(dumpNumber(state, "frame"), 90);
    const double loadedBytes = dumpNumber(state, "loadedBytes");
    EXPECT_GT(loadedBytes, 0);

    const Picture loading = readScreenshot(folder + "/loading.png");
    const Picture title = readScreenshot(folder + "/title.png");
    ASSERT_EQ(loading.width, 800);
    ASSERT_EQ(loading.height, 600);
    ASSERT_EQ(title.width, 800);
    ASSERT_EQ(title.height, 600);
    const gfx::Image screen = readDataPicture("loadscreen.jpg");
    const gfx::Image bar = readDataPicture("loadbar.jpg");
    ASSERT_EQ(screen.width, 800);
    ASSERT_EQ(bar.width, 310);

    // The loading picture fills the frame, the right way up, above the bar.
    EXPECT_LT(meanDifference(loading, 0, 0, 800, kBarTop - 2, screen, 0, 0), 3.0);

    // The bar of the last loading frame ends where the bytes loaded say;
    // inside it shows the bar picture, past it the loading picture.
    const double progress = loadedBytes / 10141957.0;
    const int barEnd = kBarLeft + int(kBarWidth * progress);
    if (barEnd - kBarLeft > 12) {
        EXPECT_LT(meanDifference(loading, kBarLeft + 2, kBarTop + 2, barEnd - 3, kBarBottom - 2, bar, 2, 2),
                  8.0);
    }
    if (barEnd + 4 < 790) {
        EXPECT_LT(meanDifference(loading, barEnd + 4, kBarTop + 2, 790, kBarBottom - 2, screen, barEnd + 4,
                                 kBarTop + 2),
                  3.0);
    }

    // The title shows the full bar (its ends; the prompt covers its middle),
    // the prompt centred on the bar, and the two bolts.
    EXPECT_LT(meanDifference(title, kBarLeft + 2, kBarTop + 2, kBarLeft + 60, kBarBottom - 2, bar, 2, 2), 8.0);
    const int centre = kBarLeft + kBarWidth / 2;
    const double left = meanDifference(title, centre - 60, kBarTop + 10, centre, kBarBottom - 10, bar,
                                       centre - 60 - kBarLeft, 10);
    const double right =
        meanDifference(title, centre, kBarTop + 10, centre + 60, kBarBottom - 10, bar, centre - kBarLeft, 10);
    EXPECT_GT(left, 12) << "no prompt left of the bar's middle";
    EXPECT_GT(right, 12) << "no prompt right of the bar's middle";
    EXPECT_LT(std::fabs(left - right) / std::max(left, right), 0.4) << "the prompt is off centre: " << left << " / "
                                                                      << right;
    EXPECT_LT(differingPixels(title, 565, 552, 760, 585, screen, 40), 30) << "the prompt runs off the bar";
    EXPECT_GT(differingPixels(title, 330, 320, 490, 440, screen, 20), 50) << "no bolts";
    // Everything else is the loading picture.
    EXPECT_LT(meanDifference(title, 0, 0, 800, 300, screen, 0, 0), 3.0);
}

TEST(GameRun, FixedStepAndSeedRepeatExactly) {
    requireDataSet();
    std::vector<uint8_t> first;
    for (int i = 0; i < 2; ++i) {
        const TestFolder dir("repeat" + std::to_string(i));
        const std::string& folder = dir.path();
        auto args = headlessRun(folder, 40);
        args.insert(args.end(), {"--screenshot", "40:" + folder + "/shot.png"});
        const GameRun run = runGame(args, folder);
        ASSERT_EQ(run.exitCode, 0) << run.err;
        const Picture shot = readScreenshot(folder + "/shot.png");
        if (i == 0) first = shot.rgba;
        else EXPECT_TRUE(shot.rgba == first) << "two runs drew different pictures";
    }
}

TEST(GameRun, KeyOrClickFadesTheTitleIntoTheMenus) {
    requireDataSet();
    struct Case {
        const char* name;
        const char* press;
    } cases[] = {{"key", "10 key 32\n12 key 65\n"}, {"click", "5 move 0 0\n10 left-down\n11 left-up\n"}};
    for (const Case& c : cases) {
        const TestFolder dir(std::string("fade-") + c.name);
        const std::string& folder = dir.path();
        std::ofstream(folder + "/input.txt") << c.press;
        // The fade starts after frame 10 and runs 800 ms at 16 ms a frame:
        // the menu screen is current from the end of frame 60.
        auto args = headlessRun(folder, 70);
        args.insert(args.end(), {"--input", folder + "/input.txt", "--screenshot",
                                 "35:" + folder + "/fading.png", "--screenshot", "70:" + folder + "/menu.png"});
        const GameRun run = runGame(args, folder);
        ASSERT_EQ(run.exitCode, 0) << c.name << ": " << run.err;
        const std::string state = readText(folder + "/state.json");
        EXPECT_NE(state.find("\"screen\":\"menu\""), std::string::npos) << c.name << ": " << state;
        EXPECT_EQ(dumpNumber(state, "fadeClockMs"), 800) << c.name;

        // Half-way the picture is about half as bright; then the first run's
        // name entry shows over the menu land.
        const Picture fading = readScreenshot(folder + "/fading.png");
        const Picture menu = readScreenshot(folder + "/menu.png");
        const gfx::Image screen = readDataPicture("loadscreen.jpg");
        double shotSum = 0, pictureSum = 0, menuSum = 0;
        for (int y = 0; y < 500; y += 4)
            for (int x = 0; x < 800; x += 4) {
                shotSum += fading.at(x, y)[1];
                pictureSum += screen.pixels[(size_t(y) * 800 + size_t(x)) * 4 + 1];
                menuSum += menu.at(x, y)[1];
            }
        EXPECT_NEAR(shotSum / pictureSum, 0.5, 0.02) << c.name;
        EXPECT_GT(menuSum, 0.2 * pictureSum) << c.name;
        EXPECT_NE(state.find("\"screen\":\"newprofile\""), std::string::npos) << c.name;
    }
}

TEST(GameRun, TypedCodeShowsTheOverlayOnTheMenusAndEscLeavesTheNameEntryOpen) {
    requireDataSet();
    const TestFolder dir("esc");
    const std::string& folder = dir.path();
    // Enter on the title; on the menu screen "QXZ" typed backwards (Z X Q)
    // shows the statistics overlay; then Esc, which the first run's name
    // entry ignores: the program only ends through its menus or the window.
    std::ofstream(folder + "/input.txt") << "10 key 13\n64 key 90\n65 key 88\n66 key 81\n70 key 27\n";
    auto args = headlessRun(folder, 120);
    args.insert(args.end(), {"--input", folder + "/input.txt", "--screenshot", "63:" + folder + "/plain.png",
                             "--screenshot", "69:" + folder + "/overlay.png"});
    const GameRun run = runGame(args, folder);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const std::string state = readText(folder + "/state.json");
    EXPECT_NE(state.find("\"screen\":\"menu\""), std::string::npos) << state;
    EXPECT_EQ(dumpNumber(state, "frame"), 120);
    EXPECT_NE(state.find("\"screen\":\"newprofile\""), std::string::npos) << state;
    EXPECT_NE(state.find("\"statsOverlay\":true"), std::string::npos) << state;

    // The overlay's two lines at the left, at y = -100 and -115: pixels
    // there turn much brighter than the land behind them.
    const Picture plain = readScreenshot(folder + "/plain.png");
    const Picture overlay = readScreenshot(folder + "/overlay.png");
    int lit = 0;
    for (int y = 380; y < 425; ++y)
        for (int x = 20; x < 200; ++x) lit += overlay.at(x, y)[0] > plain.at(x, y)[0] + 60;
    EXPECT_GT(lit, 40);
}

TEST(GameRun, FocusLossPausesAndCloseEndsTheRun) {
    requireDataSet();
    const TestFolder dir("close");
    const std::string& folder = dir.path();
    std::ofstream(folder + "/input.txt") << "5 move 120.5 -80\n10 deactivate\n15 activate\n25 close\n";
    auto args = headlessRun(folder, 500);
    args.insert(args.end(), {"--input", folder + "/input.txt"});
    const GameRun run = runGame(args, folder);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const std::string state = readText(folder + "/state.json");
    // The close arrives before frame 25 is drawn.
    EXPECT_EQ(dumpNumber(state, "frame"), 24);
    // The scripted pointer reads back in screen units.
    EXPECT_EQ(dumpNumber(state, "cursorX"), 120.5);
    EXPECT_EQ(dumpNumber(state, "cursorY"), -80);
    // Frames 10 to 14 pass inactive: nothing is drawn and no clock moves.
    // Frames 1-9 and 15-24 each add their 16 ms step at their end; the
    // first frame after start and after reactivation draws with a step of 0.
    EXPECT_EQ(dumpNumber(state, "animationClockMs"), 19 * 16);
    EXPECT_EQ(dumpNumber(state, "titleClockMs"), 17 * 16);
}

TEST(GameRun, SecondCopyLeavesAtOnceWithoutAWindow) {
    requireDataSet();
    const TestFolder dir("instance");
    const std::string& folder = dir.path();
    // The first copy runs on its measured clock until told to stop; it finds
    // Data/ next to the executable by itself.
    const pid_t first = startGame({"--windowed", "--dump-state", folder + "/first.json"}, folder);
    // Wait until it holds the lock.
    const std::string lockPath = folder + "/tessaly-game.lock";
    bool held = false;
    for (int i = 0; i < 2000 && !held; ++i) {
        const int fd = ::open(lockPath.c_str(), O_RDWR);
        if (fd >= 0) {
            held = ::flock(fd, LOCK_EX | LOCK_NB) != 0;
            if (!held) ::flock(fd, LOCK_UN);
            ::close(fd);
        }
        if (!held) usleep(10000);
    }
    ASSERT_TRUE(held) << "the first copy never took the lock";

    // Its own folder for its output, the first copy's runtime folder.
    const std::string secondFolder = folder + "/second";
    fs::create_directories(secondFolder);
    const GameRun second = runGame({"--data", kData, "--windowed", "--dump-state", folder + "/second.json"},
                                   secondFolder, 60, folder);
    EXPECT_EQ(second.exitCode, 0);
    EXPECT_LT(second.seconds, 5.0);
    EXPECT_EQ(second.err, "Tessaly is already running\n");
    EXPECT_FALSE(fs::exists(folder + "/second.json")) << "the second copy ran the game";
    usleep(100000);

    // The first copy is still running, and stops normally when asked.
    kill(first, SIGTERM);
    const GameRun firstRun = waitGame(first, folder, 60);
    EXPECT_EQ(firstRun.exitCode, 0) << firstRun.err;
    const std::string firstState = readText(folder + "/first.json");
    EXPECT_GT(dumpNumber(firstState, "loadedBytes"), 0);
    // The second copy asked it to come to the front, once.
    EXPECT_EQ(dumpNumber(firstState, "raiseRequests"), 1);
}

TEST(GameRun, MissingRequiredFileStopsWithItsName) {
    requireDataSet();
    struct Case {
        const char* name;
        std::vector<std::string> present;  // copied from the data set
        const char* missing;
    } cases[] = {
        {"empty", {}, "loadscreen.jpg"},
        {"pictures-only", {"loadscreen.jpg", "loadbar.jpg"}, "strings.txt"},
    };
    for (const Case& c : cases) {
        const TestFolder dir(std::string("missing-") + c.name);
        const std::string& folder = dir.path();
        const std::string data = folder + "/Data";
        fs::create_directories(data);
        for (const std::string& f : c.present) fs::copy_file(kData + "/" + f, data + "/" + f);
        const GameRun run = runGame({"--data", data, "--windowed", "--fixed-step", "16", "--frames", "5"}, folder);
        EXPECT_EQ(run.exitCode, 1) << c.name << ": " << run.err;
        // The folder it looked in is named, as the player may have started
        // the game from elsewhere.
        const std::string expected = std::string("Can't load ") + c.missing + "...\nThe data folder looked in: " +
                                     fs::absolute(data).lexically_normal().string() + "\nProgram will now stop.";
        EXPECT_NE(run.err.find(expected), std::string::npos) << c.name << ": " << run.err;
        EXPECT_NE(run.err.find("Loading Error"), std::string::npos) << c.name << ": " << run.err;
    }
}

TEST(GameRun, CommandLineFaultsAreReportedBeforeAnythingStarts) {
    const TestFolder dir("options");
    const std::string& folder = dir.path();
    std::ofstream(folder + "/bad.txt") << "10 key 65\n11 jump\n";
    struct Case {
        std::vector<std::string> args;
        int exitCode;
        const char* err;  // expected in stderr
        const char* out;  // expected in stdout
    } cases[] = {
        {{"--help"}, 0, "", "--screenshot F:FILE"},
        {{"--frobnicate"}, 2, "unknown option '--frobnicate'", ""},
        {{"--frames", "0"}, 2, "--frames", ""},
        {{"--input", folder + "/bad.txt"}, 2, "line 2: unknown event 'jump'", ""},
        {{"--input", folder + "/none.txt"}, 2, "cannot read", ""},
    };
    for (const Case& c : cases) {
        const GameRun run = runGame(c.args, folder, 60);
        EXPECT_EQ(run.exitCode, c.exitCode) << c.args[0];
        EXPECT_NE(run.err.find(c.err), std::string::npos) << c.args[0] << ": " << run.err;
        EXPECT_NE(run.out.find(c.out), std::string::npos) << c.args[0] << ": " << run.out;
    }
}

}  // namespace
}  // namespace tessaly::e2e
