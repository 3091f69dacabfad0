#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "data/registry.h"
#include "data/text.h"
#include "support/test_support.h"

namespace tessaly::data {
namespace {

// Parses a file image the way the loader gets it from the registry.
void parse(TextTable& table, const std::string& file) { table.parse(file.data(), int(file.size())); }

TEST(TextTable, SingleLineAndBlockEntries) {
    TextTable t;
    parse(t,
          "a=1\r\n"
          "b=two words\r\n"
          "\r\n"
          "[help/]\r\n"
          "First line\r\n"
          "Second line\r\n"
          "[/help]\r\n"
          "a=shadowed\r\n"
          "averyveryverylongname_cut=x\r\n");
    ASSERT_EQ(t.count, 5);
    EXPECT_STREQ(t.find("a"), "1");
    EXPECT_STREQ(t.find("b"), "two words");
    EXPECT_STREQ(t.find("help"), "First line\r\nSecond line\r\n");
    EXPECT_EQ(t.indexOf("help"), 2);
    EXPECT_STREQ(t.byIndex(3), "shadowed");  // duplicates stay; lookup finds the first
    EXPECT_STREQ(t.find("averyveryverylongna"), "x");  // 19 characters kept
    EXPECT_EQ(t.find("averyveryverylongname_cut"), nullptr);
    EXPECT_EQ(t.find("A"), nullptr);  // case matters
    EXPECT_EQ(t.indexOf("absent"), 0);
    EXPECT_EQ(t.byIndex(5), nullptr);
    EXPECT_EQ(t.byIndex(-1), nullptr);
}

TEST(TextTable, TruncatedLastEntriesAreDropped) {
    struct Case {
        const char* file;
        int count;
    };
    const Case cases[] = {
        {"", 0},
        {"\n", 0},
        {"a=1\r\nb=2", 1},                  // no line end after the last value
        {"a=1\r\nb", 1},                    // no "="
        {"a=1\r\n[help/]\r\nno close", 1},  // no closing tag
        {"a=1\r\n[help", 1},                // the tag itself is cut
        {"a=1\r\n[help/]x[/help", 2},       // text complete, closing bracket missing
        {"a=1\nb=2\n", 0},                  // LF only: the value never ends
    };
    for (const Case& c : cases) {
        TextTable t;
        parse(t, c.file);
        EXPECT_EQ(t.count, c.count) << '"' << c.file << '"';
    }
}

TEST(TextTable, ExtraEntriesBeyondTheTableAreDropped) {
    std::string file;
    for (int i = 0; i < kMaxTexts + 6; ++i) file += "t" + std::to_string(i) + "=v\r\n";
    TextTable t;
    testing::internal::CaptureStderr();
    parse(t, file);
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(t.count, kMaxTexts);
    EXPECT_STREQ(t.find("t1023"), "v");
    EXPECT_EQ(t.find("t1024"), nullptr);
    EXPECT_NE(err.find("dropped"), std::string::npos);
    t.clear();
    EXPECT_EQ(t.count, 0);
    EXPECT_EQ(t.find("t0"), nullptr);
}

class TextFiles : public test::DataFolderTest {};

TEST_F(TextFiles, LoadsThroughTheRegistryAndReleasesTheBlock) {
    m_folder.write("strings.txt", "title=Tessaly\r\n");
    m_folder.write("tips.txt", "[tip1/]\r\nMove balls.\r\n[/tip1]\r\n");
    TextTable t;
    t.load("strings.txt");
    t.load("tips.txt");
    EXPECT_STREQ(t.find("title"), "Tessaly");
    EXPECT_STREQ(t.find("tip1"), "Move balls.\r\n");
    EXPECT_EQ(g_registry.count, 0);
    EXPECT_EXIT(t.load("missing.txt"), testing::ExitedWithCode(1), "Can't load missing.txt");
}

TEST(KeyReaders, NumbersAndStrings) {
    const char* text =
        "level=12abc\r\n"
        "empty=\r\n"
        "up=3.9\r\n"
        "down=-2.5\r\n"
        "big=99999999999\r\n"
        "long=1111111111111111111111111111111999\r\n"
        "addballs=3\r\n"
        "balls=5\r\n"
        "name=abcdef\r\n"
        "lf=5\nrest=6\r\n";
    struct IntCase {
        const char* key;
        int value;
    };
    const IntCase ints[] = {{"level=", 12}, {"empty=", 0},      {"up=", 3},
                            {"down=", -2},  {"absent=", 0},     {"big=", 2147483647},
                            {"balls=", 3}};  // the first occurrence wins, inside "addballs="
    for (const IntCase& c : ints) EXPECT_EQ(readKeyInt(text, c.key), c.value) << c.key;
    EXPECT_FLOAT_EQ(readKeyFloat(text, "up="), 3.9f);
    EXPECT_FLOAT_EQ(readKeyFloat(text, "long="), 1111111111111111111111111111111.0f);  // cut at 31

    char out[4];
    EXPECT_STREQ(readKeyString(out, sizeof out, text, "name="), "abc");
    char wide[32];
    EXPECT_STREQ(readKeyString(wide, sizeof wide, text, "lf="), "5\nrest=6");  // values end at CR
    std::strcpy(wide, "stale");
    EXPECT_EQ(readKeyString(wide, sizeof wide, text, "nokey="), nullptr);
    EXPECT_STREQ(wide, "");
}

TEST(KeyReaders, FloatListsAndVectors) {
    const char* text =
        "braces={1,2.5,-3}\r\n"
        "parens=(4, 5)\r\n"
        "open=(7,8\r\n"
        "pos=(1.5,-2,30)\r\n"
        "twocommas=(1,2)\r\n"
        "noclose=(1,2,3\r\n";
    float v[4] = {9, 9, 9, 9};
    EXPECT_EQ(readKeyFloatList(text, v, 4, "braces="), 3);
    EXPECT_FLOAT_EQ(v[0], 1);
    EXPECT_FLOAT_EQ(v[1], 2.5f);
    EXPECT_FLOAT_EQ(v[2], -3);
    EXPECT_FLOAT_EQ(v[3], 9);
    EXPECT_EQ(readKeyFloatList(text, v, 1, "parens="), 1);  // never more than asked for
    EXPECT_FLOAT_EQ(v[0], 4);
    EXPECT_EQ(readKeyFloatList(text, v, 4, "open="), 0);
    EXPECT_FLOAT_EQ(v[0], 4);

    float p[3] = {0, 0, 0};
    EXPECT_TRUE(readKeyVector3(p, text, "pos="));
    EXPECT_FLOAT_EQ(p[0], 1.5f);
    EXPECT_FLOAT_EQ(p[1], -2);
    EXPECT_FLOAT_EQ(p[2], 30);
    for (const char* bad : {"twocommas=", "noclose=", "absent="}) {
        float q[3] = {7, 7, 7};
        EXPECT_FALSE(readKeyVector3(q, text, bad)) << bad;
        EXPECT_FLOAT_EQ(q[0], 7) << bad;
    }
}

TEST(KeyReaders, NonFiniteNumbersTakeTheDefault) {
    const char* text =
        "nan=nan\r\n"
        "bignan=NAN(1)\r\n"
        "inf=inf\r\n"
        "minf=-infinity\r\n"
        "over=1e39\r\n"
        "list={1,nan,3}\r\n"
        "inflist=(4,5,-inf)\r\n"
        "vec=(1,inf,2)\r\n"
        "fine=(1,2,3)\r\n";
    // "over=" is finite as a double but not as a float.
    for (const char* key : {"nan=", "bignan=", "inf=", "minf=", "over="})
        EXPECT_FLOAT_EQ(readKeyFloat(text, key), 0.0f) << key;
    for (const char* key : {"nan=", "bignan=", "inf=", "minf="}) EXPECT_EQ(readKeyInt(text, key), 0) << key;
    float v[3] = {7, 7, 7};
    EXPECT_EQ(readKeyFloatList(text, v, 3, "list="), 0);  // the whole list is refused
    EXPECT_EQ(readKeyFloatList(text, v, 3, "inflist="), 0);
    for (float x : v) EXPECT_FLOAT_EQ(x, 7);
    float p[3] = {7, 7, 7};
    EXPECT_FALSE(readKeyVector3(p, text, "vec="));
    EXPECT_FLOAT_EQ(p[1], 7);
    EXPECT_TRUE(readKeyVector3(p, text, "fine="));
    EXPECT_FLOAT_EQ(p[1], 2);
}

}  // namespace
}  // namespace tessaly::data
