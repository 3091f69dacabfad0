#include "data/format_text.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "data/text.h"
#include "tools/data_set_fixture.h"

namespace tessaly::data {
namespace {

TEST(FormatText, ConversionsMustMatchTheArgumentsInNumberAndKind) {
    const struct {
        const char* format;
        std::initializer_list<FormatArg> args;
        const char* out;
        bool matched;
    } cases[] = {
        {"Hello, %s!", {"Ann"}, "Hello, Ann!", true},
        {"Stage %i, level %d, score %i", {2, 5, 1200}, "Stage 2, level 5, score 1200", true},
        {"100%% done", {}, "100% done", true},
        {"%.2i:%.2i", {3, 7}, "03:07", true},
        {"[%5s|%-4i|%03d]", {"ab", 7, 9}, "[   ab|7   |009]", true},
        {"by %s", {nullptr}, "by ", true},  // a null text reads as empty
        {"no conversions", {}, "no conversions", true},
        // Anything else leaves every conversion out and reports it.
        {"Hello, %s!", {}, "Hello, !", false},                        // too few arguments
        {"Hello!", {"Ann"}, "Hello!", false},                         // too many
        {"Stage %i", {"two"}, "Stage ", false},                       // a text where an int is due
        {"by %s", {5}, "by ", false},                                 // an int where a text is due
        {"%n%s", {"x"}, "", false},                                   // %n writes memory
        {"a%xb%fc%pd", {1, 2, 3}, "abcd", false},                     // other conversions
        {"%*d|%ls|%lld", {4, 5}, "||", false},                        // star widths, length modifiers
        {"%100i", {1}, "", false},                                    // a width past two digits
        {"%.100s", {"x"}, "", false},
        {"50%% and %s", {1}, "50% and ", false},
        {"trailing %", {}, "trailing ", false},
    };
    for (const auto& c : cases) {
        char out[64];
        std::memset(out, 'X', sizeof out);
        EXPECT_EQ(formatText(out, int(sizeof out), c.format, c.args), c.matched) << c.format;
        EXPECT_STREQ(out, c.out) << c.format;
    }
}

TEST(FormatText, OutputIsBoundedAndAlwaysEndsWithANul) {
    const std::string name(100, 'n');
    char out[12];
    EXPECT_TRUE(formatText(out, int(sizeof out), "Hello, %s!", {name.c_str()}));
    EXPECT_STREQ(out, "Hello, nnnn");
    EXPECT_TRUE(formatText(out, int(sizeof out), "%i and %i", {-2147483647 - 1, 2147483647}));
    EXPECT_STREQ(out, "-2147483648");
    EXPECT_TRUE(formatText(out, int(sizeof out), "%99i", {1}));
    EXPECT_EQ(std::string(out), std::string(11, ' '));
    EXPECT_TRUE(formatText(out, int(sizeof out), "abcdefghijklmnopqrstuvwxyz", {}));
    EXPECT_STREQ(out, "abcdefghijk");
    char one[1] = {'X'};
    formatText(one, 1, "Hello, %s!", {"Ann"});
    EXPECT_EQ(one[0], '\0');
    EXPECT_FALSE(formatText(out, int(sizeof out), nullptr, {}));
    EXPECT_STREQ(out, "");
    EXPECT_FALSE(formatText(nullptr, 0, "x", {}));
}

TEST(FormatText, FormatTakesNamesTheKindsInOrder) {
    EXPECT_TRUE(formatTakes("Hello, %s!", "s"));
    EXPECT_TRUE(formatTakes("Stage %i, level %d, score %.2i", "iii"));
    EXPECT_TRUE(formatTakes("100%%", ""));
    EXPECT_FALSE(formatTakes("Hello, %s!", ""));
    EXPECT_FALSE(formatTakes("Hello, %s!", "i"));
    EXPECT_FALSE(formatTakes("%i %s", "si"));
    EXPECT_FALSE(formatTakes("%i", "ii"));
    EXPECT_FALSE(formatTakes("%n", "i"));
    EXPECT_FALSE(formatTakes(nullptr, ""));
}

// Every text the menus fill or show as it stands, in the generated data:
// present, and taking exactly the arguments the screens give it.
class GeneratedFormats : public test::GeneratedDataSet {};

TEST_F(GeneratedFormats, MenuTextsExistAndTakeTheirArguments) {
    TextTable table;
    for (const char* file : {"strings.txt", "tips.txt"}) {
        const std::string text = block(file);
        table.parse(text.data(), int(text.size()));
    }
    const struct {
        const char* key;
        const char* kinds;
    } formats[] = {{"hallo", "s"}, {"zonelevscore", "iii"}, {"by", "s"}};
    for (const auto& f : formats) {
        const char* text = table.find(f.key);
        ASSERT_NE(text, nullptr) << f.key;
        EXPECT_TRUE(formatTakes(text, f.kinds)) << f.key << ": " << text;
    }
    std::vector<std::string> plain = {
        "ifnotyou",    "sfxvolume",   "musicvolume",  "fullscreen",   "customcursor", "ballspeed",
        "curusers",    "entername",   "classicmode",  "puzzlemode",   "actionmode",   "loadmsg",
        "nomoves",     "loselife",    "skipquest",    "noskiplevel",  "restartquest", "nomorelives",
        "removeplayer", "quit",       "zeroscore",    "savemsg",      "stats",        "yourscore",
        "maxcombo",    "yourcombo",   "yourtime",     "yourmoves",    "bestscore",    "bestcombo",
        "besttime",    "bestmoves",   "nextstage",    "classic",      "puzzle",       "action"};
    for (int i = 0; i < 5; ++i) plain.push_back("modetip" + std::to_string(i));
    for (int i = 1; i <= 14; ++i) plain.push_back("stagename" + std::to_string(i));
    for (const std::string& key : plain) {
        const char* text = table.find(key);
        ASSERT_NE(text, nullptr) << key;
        EXPECT_GT(std::strlen(text), 0u) << key;
        EXPECT_TRUE(formatTakes(text, "")) << key << " holds a conversion: " << text;
    }
    EXPECT_STREQ(table.find("stagename1"), "Sunny Meadow");
    EXPECT_STREQ(table.find("stagename14"), "Sunset Valley");
}

}  // namespace
}  // namespace tessaly::data
