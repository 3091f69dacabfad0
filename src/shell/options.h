// Command-line options for testing and demonstrating the game. The game
// itself needs none; these make runs repeatable and observable:
//   --data DIR            the data folder (default: Data/ next to the executable)
//   --user-dir DIR        the player-data folder (default: $XDG_DATA_HOME/tessaly)
//   --windowed            a window even when the settings say full screen
//   --fixed-step MS       every frame advances exactly MS, without sleeping
//   --seed N              seed of the random generator (default: the clock)
//   --frames N            quit after N frames, with the normal shutdown
//   --input FILE          scripted input events by frame number
//   --screenshot F:FILE   a PNG of frame F (or "loading": the last loading
//                         frame); repeatable
//   --dump-state FILE     a JSON object describing the state at exit
//   --lang CODE           the language of the texts (default: from the locale)
//   --level N, --mode M   start playing level N (0..69) of mode M (0 classic,
//                         1 puzzle, 2 action) instead of the title screen
//   --autoplay            the built-in player plays: from the title through the
//                         menus (choosing --mode when given), or --level at once
//   --save-each-frame     all player data saved after every frame (crash tests)
//   --verbose             the renderer, vertical sync and start-up times on stderr
//   --version             the version
//   --help                the list above
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace tessaly::shell {

// Frame number of the screenshot taken when loading ends.
constexpr int64_t kLoadingScreenshotFrame = -1;

struct ScreenshotRequest {
    int64_t frame = 0;  // 1 is the first frame of the loop; kLoadingScreenshotFrame
    std::string path;
};

struct Options {
    std::string dataDir;          // empty: Data/ next to the executable
    std::string userDir;          // empty: the default player-data folder
    bool windowed = false;
    uint32_t fixedStepMs = 0;     // 0: measured frames
    bool hasSeed = false;
    uint32_t seed = 0;
    int64_t frames = 0;           // 0: until the player quits
    std::string inputScript;
    std::vector<ScreenshotRequest> screenshots;
    std::string dumpState;
    std::string language;         // empty: from the locale
    int level = -1;               // -1: the title screen, not play
    int mode = -1;                // -1: classic when a level is given
    bool autoplay = false;
    bool saveEachFrame = false;
    bool verbose = false;
    bool version = false;
    bool help = false;

    // With --autoplay, --mode alone is the mode the built-in player chooses
    // in the menus, from the title.
    bool startsPlay() const { return level >= 0 || (mode >= 0 && !autoplay); }
};

// Parses argv[1..]. False with a one-line reason in `error` on an unknown
// option, a missing or malformed value.
bool parseOptions(int argc, const char* const* argv, Options& out, std::string& error);

const char* optionsHelp();
// "Tessaly 0.9.0" and a line end.
const char* versionText();

}  // namespace tessaly::shell
