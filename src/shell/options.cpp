#include "shell/options.h"

#include <cstring>
#include <string_view>

#include "base/parse_number.h"
#include "data/text.h"

namespace tessaly::shell {

const char* optionsHelp() {
    return "Usage: tessaly [options]\n"
           "  --data DIR            data folder (default: Data/ next to the executable)\n"
           "  --user-dir DIR        player-data folder: settings, players, records, saved\n"
           "                        games (default: $XDG_DATA_HOME/tessaly)\n"
           "  --windowed            play in a window whatever the settings say\n"
           "  --fixed-step MS       every frame advances exactly MS (1-1000), no sleeping\n"
           "  --seed N              seed the random generator with N instead of the clock\n"
           "  --frames N            quit after N frames, running the normal shutdown\n"
           "  --input FILE          play scripted input events; lines of\n"
           "                          FRAME key VK | left-down | left-up | double-click |\n"
           "                          right-down | right-up | middle-down | middle-up |\n"
           "                          move X Y (screen units: centre origin, y up) |\n"
           "                          activate | deactivate | close\n"
           "  --screenshot F:FILE   save frame F (or 'loading', the last loading frame) as a\n"
           "                        PNG; may be given several times\n"
           "  --dump-state FILE     write the state at exit as a JSON object\n"
           "  --lang CODE           show the texts in language CODE (en, ru); by default the\n"
           "                        locale's (LC_ALL, LC_MESSAGES, LANG), English where\n"
           "                        the game has no translation\n"
           "  --level N             play level N (0-69) at once, without the title and menus\n"
           "  --mode M              ... in mode M: 0 classic, 1 puzzle, 2 action (default 0)\n"
           "  --autoplay            let the built-in player play: from the title through\n"
           "                        the menus (in mode --mode when given), or the level\n"
           "                        --level and --mode name\n"
           "  --save-each-frame     save all player data after every frame (for tests)\n"
           "  --verbose             report the OpenGL renderer, vertical sync, the refresh\n"
           "                        rate and start-up moments on stderr\n"
           "  --version             show the version\n"
           "  --help                show this list\n";
}

#ifndef TESSALY_VERSION
#define TESSALY_VERSION "unknown"
#endif

const char* versionText() { return "Tessaly " TESSALY_VERSION "\n"; }

bool parseOptions(int argc, const char* const* argv, Options& out, std::string& error) {
    out = Options{};
    for (int i = 1; i < argc; ++i) {
        const std::string_view arg = argv[i];
        auto value = [&](std::string_view& v) {
            if (i + 1 >= argc) {
                error = std::string(arg) + " needs a value";
                return false;
            }
            v = argv[++i];
            return true;
        };
        std::string_view v;
        if (arg == "--help" || arg == "-h") {
            out.help = true;
        } else if (arg == "--windowed") {
            out.windowed = true;
        } else if (arg == "--verbose") {
            out.verbose = true;
        } else if (arg == "--version") {
            out.version = true;
        } else if (arg == "--data") {
            if (!value(v)) return false;
            if (v.empty()) {
                error = "--data needs a folder";
                return false;
            }
            out.dataDir = v;
        } else if (arg == "--user-dir") {
            if (!value(v)) return false;
            if (v.empty()) {
                error = "--user-dir needs a folder";
                return false;
            }
            out.userDir = v;
        } else if (arg == "--save-each-frame") {
            out.saveEachFrame = true;
        } else if (arg == "--fixed-step") {
            if (!value(v)) return false;
            if (!base::parseNumber(v, out.fixedStepMs) || out.fixedStepMs < 1 || out.fixedStepMs > 1000) {
                error = "--fixed-step wants milliseconds from 1 to 1000, not '" + std::string(v) + "'";
                return false;
            }
        } else if (arg == "--seed") {
            if (!value(v)) return false;
            if (!base::parseNumber(v, out.seed)) {
                error = "--seed wants a number from 0 to 4294967295, not '" + std::string(v) + "'";
                return false;
            }
            out.hasSeed = true;
        } else if (arg == "--frames") {
            if (!value(v)) return false;
            if (!base::parseNumber(v, out.frames) || out.frames < 1) {
                error = "--frames wants a positive number, not '" + std::string(v) + "'";
                return false;
            }
        } else if (arg == "--input") {
            if (!value(v)) return false;
            out.inputScript = v;
        } else if (arg == "--screenshot") {
            if (!value(v)) return false;
            const size_t colon = v.find(':');
            ScreenshotRequest shot;
            const std::string_view frame = colon == std::string_view::npos ? v : v.substr(0, colon);
            bool ok = colon != std::string_view::npos && colon + 1 < v.size();
            if (ok && frame == "loading") {
                shot.frame = kLoadingScreenshotFrame;
            } else if (ok) {
                ok = base::parseNumber(frame, shot.frame) && shot.frame >= 1;
            }
            if (!ok) {
                error = "--screenshot wants FRAME:FILE.png (FRAME 1 or more, or 'loading'), not '" +
                        std::string(v) + "'";
                return false;
            }
            shot.path = v.substr(colon + 1);
            out.screenshots.push_back(shot);
        } else if (arg == "--level") {
            if (!value(v)) return false;
            if (!base::parseNumber(v, out.level) || out.level < 0 || out.level > 69) {
                error = "--level wants a level from 0 to 69, not '" + std::string(v) + "'";
                return false;
            }
        } else if (arg == "--mode") {
            if (!value(v)) return false;
            if (!base::parseNumber(v, out.mode) || out.mode < 0 || out.mode > 2) {
                error = "--mode wants 0 (classic), 1 (puzzle) or 2 (action), not '" + std::string(v) + "'";
                return false;
            }
        } else if (arg == "--autoplay") {
            out.autoplay = true;
        } else if (arg == "--lang") {
            if (!value(v)) return false;
            if (data::languageOfLocale(v).empty()) {
                error = "--lang wants a language code such as en or ru, not '" + std::string(v) + "'";
                return false;
            }
            out.language = data::languageOfLocale(v);
        } else if (arg == "--dump-state") {
            if (!value(v)) return false;
            out.dumpState = v;
        } else {
            error = "unknown option '" + std::string(arg) + "'";
            return false;
        }
    }
    return true;
}

}  // namespace tessaly::shell
