#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../../tools/datagen/text_check.h"
#include "data/text.h"
#include "tools/data_set_fixture.h"

namespace {

using datagen::compareTranslation;
using datagen::formatConversions;
using datagen::TextMap;
using Conversions = std::vector<std::string>;

TEST(TranslationCheck, FormatConversionsInOrderWithoutPercentSigns) {
    const struct {
        const char* text;
        Conversions conversions;
    } cases[] = {
        {"No format here", {}},
        {"Hello, %s!", {"%s"}},
        {"Stage %i, level %i, score %i", {"%i", "%i", "%i"}},
        {"%i%% charged", {"%i"}},
        {"%-5s|%05.2d|%ld|%.1f", {"%-5s", "%05.2d", "%ld", "%.1f"}},
        {"100%", {"%?"}},             // a stray percent sign at the end
        {"50 % off", {"% o"}},        // a space flag and an octal conversion, to printf
        {"wrote %n bytes", {"%?n"}},  // %n writes through its argument: never accepted
        {"%y", {"%?y"}},
    };
    for (const auto& c : cases) EXPECT_EQ(formatConversions(c.text), c.conversions) << c.text;
}

TEST(TranslationCheck, AMatchingTranslationPasses) {
    const TextMap english = {{"hallo", "Hello, %s!"}, {"bar", "Level progress: %i%%"}, {"ok", "OK"}};
    const TextMap russian = {{"hallo", "Привет, %s!"}, {"bar", "Уровень пройден на %i%%"}, {"ok", "ОК"}};
    EXPECT_TRUE(compareTranslation(english, russian).empty());
    // Dropping "%%" is fine: it prints a sign, it takes no argument.
    EXPECT_TRUE(compareTranslation({{"bar", "%i%% charged"}}, {{"bar", "заряжен: %i"}}).empty());
}

TEST(TranslationCheck, MissingExtraAndMismatchedTextsAreEachReported) {
    const TextMap english = {
        {"hallo", "Hello, %s!"},  {"score", "Stage %i, score %i"}, {"by", "by %s"},
        {"quit", "Quit?"},        {"gone", "Only in English"},     {"plain", "Lives"},
    };
    const TextMap translated = {
        {"hallo", "Привет, %i!"},         // an int where the game passes a text
        {"score", "Очки %i"},              // one conversion lost
        {"by", "%s %s"},                   // one too many
        {"quit", "Выйти?"},
        {"plain", "Жизни 100%%"},          // not a format in English: "%%" would show
        {"extra", "Лишний"},
    };
    const std::vector<std::string> problems = compareTranslation(english, translated);
    ASSERT_EQ(problems.size(), 6u);
    auto reported = [&](const std::string& name, const std::string& words) {
        for (const std::string& p : problems)
            if (p.find("\"" + name + "\"") != std::string::npos && p.find(words) != std::string::npos)
                return true;
        return false;
    };
    EXPECT_TRUE(reported("hallo", "%i where English has %s"));
    EXPECT_TRUE(reported("score", "%i where English has %i %i"));
    EXPECT_TRUE(reported("by", "%s %s where English has %s"));
    EXPECT_TRUE(reported("plain", "no format"));
    EXPECT_TRUE(reported("gone", "missing"));
    EXPECT_TRUE(reported("extra", "not an English text"));
}

TEST(TranslationCheck, ConversionsInAnotherOrderDoNotMatch) {
    // The game passes its arguments in the English order.
    EXPECT_EQ(compareTranslation({{"t", "%s scored %i"}}, {{"t", "%i очков у %s"}}).size(), 1u);
}

// The shipped translation, read back from the generated data set through the
// game's own parser.
class GeneratedTranslation : public tessaly::test::GeneratedDataSet {};

TEST_F(GeneratedTranslation, RussianTablesHoldEveryEnglishTextWithItsConversions) {
    for (const char* base : {"strings", "tips", "menutext"}) {
        EXPECT_TRUE(packed(std::string(base) + "_ru.txt")) << base;
    }
    for (const char* base : {"strings", "tips"}) {
        tessaly::data::TextTable english, russian;
        const std::string en = block(std::string(base) + ".txt");
        const std::string ru = block(std::string(base) + "_ru.txt");
        english.parse(en.data(), int(en.size()));
        russian.parse(ru.data(), int(ru.size()));
        ASSERT_GT(english.count, 0) << base;
        // Cyrillic arrives as Windows-1251 bytes, one per letter: "Привет".
        if (russian.find("hallo")) {
            EXPECT_STREQ(russian.find("hallo"), "\xCF\xF0\xE8\xE2\xE5\xF2, %s!");
        }
        EXPECT_EQ(russian.count, english.count) << base;
        for (int i = 0; i < english.count; ++i) {
            const auto& entry = english.entries[size_t(i)];
            const char* text = russian.find(entry.name);
            ASSERT_NE(text, nullptr) << base << ": " << entry.name;
            EXPECT_EQ(formatConversions(text), formatConversions(entry.text.get())) << entry.name;
        }
    }
}

}  // namespace
