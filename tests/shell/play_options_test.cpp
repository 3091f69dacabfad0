// The options that start play at once: --level, --mode and --autoplay.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "shell/options.h"

namespace tessaly::shell {
namespace {

bool parse(std::vector<const char*> args, Options& out, std::string& error) {
    args.insert(args.begin(), "tessaly");
    return parseOptions(int(args.size()), args.data(), out, error);
}

TEST(PlayOptions, LevelModeAndAutoplay) {
    struct Case {
        std::vector<const char*> args;
        bool ok;
        int level, mode;
        bool autoplay;
        const char* errorMentions;
    };
    const Case cases[] = {
        {{}, true, -1, -1, false, ""},
        {{"--level", "0"}, true, 0, -1, false, ""},
        {{"--level", "69", "--mode", "2"}, true, 69, 2, false, ""},
        {{"--mode", "1", "--autoplay"}, true, -1, 1, true, ""},
        {{"--level", "4", "--mode", "1", "--autoplay"}, true, 4, 1, true, ""},
        {{"--mode", "2"}, true, -1, 2, false, ""},
        {{"--level", "70"}, false, -1, -1, false, "--level"},
        {{"--level", "-1"}, false, -1, -1, false, "--level"},
        {{"--level", "3x"}, false, -1, -1, false, "--level"},
        {{"--mode", "3"}, false, -1, -1, false, "--mode"},
        {{"--mode"}, false, -1, -1, false, "--mode"},
        {{"--autoplay"}, true, -1, -1, true, ""},  // from the title, through the menus
    };
    for (const Case& c : cases) {
        Options o;
        std::string error;
        const bool ok = parse(c.args, o, error);
        std::string name;
        for (const char* a : c.args) name += std::string(a) + " ";
        EXPECT_EQ(ok, c.ok) << name << error;
        if (!c.ok) {
            EXPECT_NE(error.find(c.errorMentions), std::string::npos) << name << error;
            continue;
        }
        EXPECT_EQ(o.level, c.level) << name;
        EXPECT_EQ(o.mode, c.mode) << name;
        EXPECT_EQ(o.autoplay, c.autoplay) << name;
        // The built-in player given only a mode starts from the title.
        EXPECT_EQ(o.startsPlay(), c.level >= 0 || (c.mode >= 0 && !c.autoplay)) << name;
    }
}

}  // namespace
}  // namespace tessaly::shell
