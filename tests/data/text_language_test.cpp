#include <gtest/gtest.h>

#include <string>

#include "data/registry.h"
#include "data/text.h"
#include "support/test_support.h"

namespace tessaly::data {
namespace {

TEST(TextLanguage, LocaleNamesGiveTheirLanguageCode) {
    const struct {
        const char* locale;
        const char* code;
    } cases[] = {
        {"ru_RU.UTF-8", "ru"}, {"ru", "ru"},        {"RU_ru", "ru"},       {"pt_BR", "pt"},
        {"de@euro", "de"},     {"en_GB.utf8", "en"}, {"ast_ES", "ast"},     {"C", ""},
        {"C.UTF-8", ""},       {"POSIX", ""},       {"", ""},              {"r", ""},
        {"ru1", ""},           {"../etc", ""},      {"abcdefgh_XX", ""},   {"ru_RU/../x", "ru"},
    };
    for (const auto& c : cases) EXPECT_EQ(languageOfLocale(c.locale), c.code) << c.locale;
}

TEST(TextLanguage, ForcedCodeThenLcAllThenLcMessagesThenLang) {
    const struct {
        const char* forced;
        const char* lcAll;
        const char* lcMessages;
        const char* lang;
        const char* chosen;
    } cases[] = {
        {"", nullptr, nullptr, nullptr, "en"},              // nothing set
        {"", nullptr, nullptr, "ru_RU.UTF-8", "ru"},        // LANG alone
        {"", nullptr, "de_DE", "ru_RU.UTF-8", "de"},        // LC_MESSAGES before LANG
        {"", "fr_FR", "de_DE", "ru_RU.UTF-8", "fr"},        // LC_ALL before both
        {"", "", "", "ru_RU.UTF-8", "ru"},                  // empty counts as unset
        {"", "C", nullptr, "ru_RU.UTF-8", "en"},            // LC_ALL=C means English
        {"ru", "de_DE", "de_DE", "de_DE", "ru"},            // --lang wins over the locale
        {"en", nullptr, nullptr, "ru_RU.UTF-8", "en"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(chooseLanguage(c.forced, c.lcAll, c.lcMessages, c.lang), c.chosen)
            << "forced '" << c.forced << "', LC_ALL " << (c.lcAll ? c.lcAll : "unset") << ", LC_MESSAGES "
            << (c.lcMessages ? c.lcMessages : "unset") << ", LANG " << (c.lang ? c.lang : "unset");
}

class TextLanguageFiles : public test::DataFolderTest {
protected:
    void TearDown() override {
        useTextLanguage(kBaseLanguage);
        freeTextTable();
        test::DataFolderTest::TearDown();
    }
};

TEST_F(TextLanguageFiles, TablesOfTheLanguageWhereTheDataSetHasThemElseEnglish) {
    m_folder.write("strings.txt", "hallo=Hello, %s!\r\n");
    m_folder.write("tips.txt", "tip=A tip\r\n");
    m_folder.write("strings_ru.txt", "hallo=Привет, %s!\r\n");
    m_folder.write("tips_ru.txt", "tip=Совет\r\n");

    EXPECT_EQ(useTextLanguage("ru"), "ru");
    EXPECT_EQ(localizedName("strings.txt"), "strings_ru.txt");
    EXPECT_EQ(localizedName("menutext.txt"), "menutext.txt");  // no such table: English
    loadTextTables();
    EXPECT_STREQ(findText("hallo"), "Привет, %s!");
    EXPECT_STREQ(findText("tip"), "Совет");
    freeTextTable();

    // A language without tables, and a code that is no language, read English.
    for (const char* code : {"de", "../strings", "ru_RU"}) {
        EXPECT_EQ(useTextLanguage(code), "en") << code;
        EXPECT_EQ(localizedName("strings.txt"), "strings.txt") << code;
    }
    loadTextTables();
    EXPECT_STREQ(findText("hallo"), "Hello, %s!");
    EXPECT_STREQ(findText("tip"), "A tip");
}

}  // namespace
}  // namespace tessaly::data
