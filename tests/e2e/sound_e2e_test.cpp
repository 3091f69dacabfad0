// The real executable, headless, with SDL's dummy audio driver and with no
// usable audio driver at all: the title screen runs without error either
// way, the title tune starts (or the game stays silent), and the tune goes
// on unbroken through the fade into the menus.
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "e2e/run_game.h"

namespace tessaly::e2e {
namespace {

// The member object `name` of the dump, as text ("{...}").
std::string dumpObject(const std::string& dump, const std::string& name) {
    const size_t at = dump.find("\"" + name + "\":{");
    if (at == std::string::npos) return {};
    const size_t open = dump.find('{', at);
    return dump.substr(open, dump.find('}', open) - open + 1);
}

struct SoundRun {
    int exitCode = -1;
    std::string err, sound, screen;
};

// Runs the game for `frames` 16 ms frames with SDL_AUDIODRIVER=`driver`.
SoundRun runWithDriver(const std::string& driver, const std::string& folder, int frames, const std::string& input = {}) {
    std::string command = "cd '" + folder + "' && SDL_VIDEODRIVER=offscreen SDL_AUDIODRIVER=" + driver +
                          " XDG_RUNTIME_DIR='" + folder + "' timeout 180 '" TESSALY_EXE "' --data '" TESSALY_DATA_DIR
                          "' --windowed --fixed-step 16 --seed 3 --frames " + std::to_string(frames) +
                          " --dump-state '" + folder + "/state.json'";
    if (!input.empty()) {
        std::ofstream(folder + "/input.txt") << input;
        command += " --input '" + folder + "/input.txt'";
    }
    command += " > out.txt 2> err.txt";
    const int status = std::system(command.c_str());
    SoundRun run;
    run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    run.err = readText(folder + "/err.txt");
    const std::string dump = readText(folder + "/state.json");
    run.sound = dumpObject(dump, "sound");
    const size_t screen = dump.find("\"screen\":\"");
    if (screen != std::string::npos) run.screen = dump.substr(screen + 10, dump.find('"', screen + 10) - screen - 10);
    return run;
}

bool has(const std::string& object, const std::string& field) { return object.find(field) != std::string::npos; }

TEST(SoundEndToEnd, TitleScreenRunsWithAndWithoutAnAudioDriver) {
    struct Case {
        const char* driver;
        bool heard;
    };
    for (const Case& c : {Case{"dummy", true}, Case{"nonexistent", false}}) {
        const std::string folder = makeTestFolder(std::string("sound_title_") + c.driver);
        const SoundRun run = runWithDriver(c.driver, folder, 90);
        EXPECT_EQ(run.exitCode, 0) << c.driver << ": " << run.err;
        EXPECT_EQ(run.screen, "title") << c.driver;
        const std::string& s = run.sound;
        ASSERT_FALSE(s.empty()) << c.driver << ": no sound state in the dump";
        EXPECT_TRUE(has(s, "\"sounds\":31")) << s;
        EXPECT_TRUE(has(s, "\"requestedPosition\":29")) << "the title asks for tune 2: " << s;
        if (c.heard) {
            EXPECT_TRUE(has(s, "\"open\":true")) << s;
            EXPECT_TRUE(has(s, "\"decodedSounds\":31")) << s;
            EXPECT_TRUE(has(s, "\"musicPlaying\":true")) << s;
            EXPECT_TRUE(has(s, "\"musicOrder\":29") || has(s, "\"musicOrder\":30")) << s;
        } else {
            EXPECT_TRUE(has(s, "\"open\":false")) << s;
            EXPECT_TRUE(has(s, "\"musicPlaying\":false")) << s;
        }
    }
}

TEST(SoundEndToEnd, TitleTuneGoesOnIntoTheMenus) {
    const std::string folder = makeTestFolder("sound_title_to_menus");
    // Enter on frame 10 starts the title's 800 ms fade; the menus follow.
    const SoundRun run = runWithDriver("dummy", folder, 160, "10 key 13\n");
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.screen, "title");
    EXPECT_TRUE(has(run.sound, "\"requestedPosition\":29")) << run.sound;
    EXPECT_TRUE(has(run.sound, "\"fadeLeftMs\":0")) << "asking for the tune that plays starts no fade: " << run.sound;
    EXPECT_TRUE(has(run.sound, "\"musicPlaying\":true")) << run.sound;
}

}  // namespace
}  // namespace tessaly::e2e
