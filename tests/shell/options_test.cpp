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

TEST(Options, NoneGiveTheDefaults) {
    Options o;
    std::string error;
    ASSERT_TRUE(parse({}, o, error));
    EXPECT_TRUE(o.dataDir.empty());
    EXPECT_FALSE(o.windowed);
    EXPECT_EQ(o.fixedStepMs, 0u);
    EXPECT_FALSE(o.hasSeed);
    EXPECT_EQ(o.frames, 0);
    EXPECT_TRUE(o.screenshots.empty());
    EXPECT_TRUE(o.language.empty());  // from the locale
    EXPECT_FALSE(o.help);
}

TEST(Options, LangTakesACodeOrALocaleName) {
    for (const char* given : {"ru", "RU", "ru_RU.UTF-8"}) {
        Options o;
        std::string error;
        ASSERT_TRUE(parse({"--lang", given}, o, error)) << given << ": " << error;
        EXPECT_EQ(o.language, "ru") << given;
    }
}

TEST(Options, EveryOptionTogether) {
    Options o;
    std::string error;
    ASSERT_TRUE(parse({"--data", "/tmp/d", "--windowed", "--fixed-step", "16", "--seed", "0",
                       "--frames", "120", "--input", "in.txt", "--screenshot", "loading:a.png",
                       "--screenshot", "60:dir/b:c.png", "--dump-state", "s.json", "--verbose", "--version",
                       "--lang", "ru", "--help"},
                      o, error))
        << error;
    EXPECT_EQ(o.dataDir, "/tmp/d");
    EXPECT_TRUE(o.windowed);
    EXPECT_EQ(o.fixedStepMs, 16u);
    EXPECT_TRUE(o.hasSeed);
    EXPECT_EQ(o.seed, 0u);
    EXPECT_EQ(o.frames, 120);
    EXPECT_EQ(o.inputScript, "in.txt");
    ASSERT_EQ(o.screenshots.size(), 2u);
    EXPECT_EQ(o.screenshots[0].frame, kLoadingScreenshotFrame);
    EXPECT_EQ(o.screenshots[0].path, "a.png");
    EXPECT_EQ(o.screenshots[1].frame, 60);
    EXPECT_EQ(o.screenshots[1].path, "dir/b:c.png");  // only the first colon splits
    EXPECT_EQ(o.dumpState, "s.json");
    EXPECT_EQ(o.language, "ru");
    EXPECT_TRUE(o.verbose);
    EXPECT_TRUE(o.version);
    EXPECT_TRUE(o.help);
}

TEST(Options, MalformedOnesAreRefusedWithTheirName) {
    struct Case {
        std::vector<const char*> args;
        const char* mentions;
    } cases[] = {
        {{"--frobnicate"}, "--frobnicate"},
        {{"--data"}, "--data"},
        {{"--data", ""}, "--data"},
        {{"--fixed-step", "0"}, "--fixed-step"},
        {{"--fixed-step", "1001"}, "--fixed-step"},
        {{"--fixed-step", "16ms"}, "--fixed-step"},
        {{"--fixed-step", "-5"}, "--fixed-step"},
        {{"--seed", "x"}, "--seed"},
        {{"--seed", "4294967296"}, "--seed"},
        {{"--frames", "0"}, "--frames"},
        {{"--frames"}, "--frames"},
        {{"--screenshot", "60"}, "--screenshot"},
        {{"--screenshot", "60:"}, "--screenshot"},
        {{"--screenshot", "0:a.png"}, "--screenshot"},
        {{"--screenshot", "x:a.png"}, "--screenshot"},
        {{"--screenshot", ":a.png"}, "--screenshot"},
        {{"--lang"}, "--lang"},
        {{"--lang", ""}, "--lang"},
        {{"--lang", "1"}, "--lang"},
        {{"--lang", "../ru"}, "--lang"},
    };
    for (const Case& c : cases) {
        Options o;
        std::string error;
        EXPECT_FALSE(parse(c.args, o, error)) << c.args[0];
        EXPECT_NE(error.find(c.mentions), std::string::npos) << error;
    }
}

TEST(Options, HelpListsEveryOption) {
    const std::string help = optionsHelp();
    for (const char* name : {"--data", "--windowed", "--fixed-step", "--seed", "--frames", "--input",
                             "--screenshot", "--dump-state", "--lang", "--help"})
        EXPECT_NE(help.find(name), std::string::npos) << name;
}

}  // namespace
}  // namespace tessaly::shell
