#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "base/state_dump.h"

namespace tessaly::base {
namespace {

TEST(JsonWriter, NestsAndEscapes) {
    JsonWriter json;
    json.beginObject();
    json.field("name", "a \"quoted\" \\ path\n\x01");
    json.field("count", 3);
    json.field("ratio", 0.5);
    json.field("bad", std::nan(""));
    json.field("on", true);
    json.beginArray("cells");
    json.value(int64_t(1));
    json.value(int64_t(-2));
    json.endArray();
    json.beginObject("inner");
    json.endObject();
    json.endObject();
    EXPECT_EQ(json.text(),
              "{\"name\":\"a \\\"quoted\\\" \\\\ path\\u000a\\u0001\",\"count\":3,\"ratio\":0.5,"
              "\"bad\":null,\"on\":true,\"cells\":[1,-2],\"inner\":{}}");
}

TEST(JsonWriter, TheGamesEightBitLettersBecomeUnicodeEscapes) {
    // "ЛЁША" and a guillemet as the game holds them (Windows-1251), then the
    // one byte of that code page that stands for nothing.
    JsonWriter json;
    json.field("", "\xCB\xA8\xD8\xC0 \xAB\x98");
    EXPECT_EQ(json.text(), "\"\\u041b\\u0401\\u0428\\u0410 \\u00ab\\ufffd\"");
}

void writeA(JsonWriter& json) { json.field("x", 1); }
void writeB(JsonWriter& json) { json.field("y", 2); }

TEST(StateDump, ContributorsAppearAsMembersAfterScreenAndFrame) {
    StateDump dump;
    EXPECT_TRUE(dump.add("a", &writeA));
    EXPECT_TRUE(dump.add("b", &writeB));
    EXPECT_TRUE(dump.add("a", &writeB));  // same name: replaced, not added
    EXPECT_EQ(dump.render("title", 42),
              "{\"screen\":\"title\",\"frame\":42,\"a\":{\"y\":2},\"b\":{\"y\":2}}\n");
}

TEST(StateDump, FullTableRefusesMore) {
    std::vector<std::string> names;  // declared first: outlives the table
    StateDump dump;
    for (int i = 0; i <= kMaxStateContributors; ++i) names.push_back("m" + std::to_string(i));
    for (int i = 0; i < kMaxStateContributors; ++i) EXPECT_TRUE(dump.add(names[i].c_str(), &writeA));
    EXPECT_FALSE(dump.add(names[kMaxStateContributors].c_str(), &writeA));
    EXPECT_EQ(dump.render("menu", 1).find("\"" + names[kMaxStateContributors] + "\""), std::string::npos);
    EXPECT_TRUE(dump.add(names[3].c_str(), &writeB));  // replacing still works when full
}

}  // namespace
}  // namespace tessaly::base
