// The state dump's parts that every layer may use: a small JSON writer and
// the table of contributors. A subsystem that wants to be seen in the dump
// (--dump-state) adds a contributor once at start-up, which writes the
// fields of one named member object:
//
//   void dumpBoard(JsonWriter& json) { json.field("score", score); ... }
//   g_stateDump.add("board", &dumpBoard);
//
// The shell renders the whole object at exit and writes the file.
// Capacity: kMaxStateContributors (one per subsystem); add() refuses more
// and returns false.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace tessaly::base {

// Writes one JSON value; objects and arrays nest. Keys and strings are
// escaped, the game's 8-bit letters (Windows-1251) as \u escapes of their
// Unicode characters; numbers that are not finite are written as null.
class JsonWriter final {
public:
    void beginObject(std::string_view key = {});
    void endObject();
    void beginArray(std::string_view key = {});
    void endArray();
    void field(std::string_view key, int64_t value);
    void field(std::string_view key, int value) { field(key, int64_t(value)); }
    void field(std::string_view key, uint32_t value) { field(key, int64_t(value)); }
    void field(std::string_view key, double value);
    void field(std::string_view key, float value) { field(key, double(value)); }
    void field(std::string_view key, bool value);
    void field(std::string_view key, std::string_view value);
    void field(std::string_view key, const char* value) { field(key, std::string_view(value)); }
    // Array elements.
    void value(int64_t v) { field({}, v); }
    void value(double v) { field({}, v); }
    void value(std::string_view v) { field({}, v); }

    const std::string& text() const { return m_text; }

private:
    void key(std::string_view key);
    void string(std::string_view s);

    std::string m_text;
    bool m_needComma = false;
};

constexpr int kMaxStateContributors = 16;  // a handful of subsystems report

using StateContributor = void (*)(JsonWriter& json);

struct StateDump {
    struct Entry {
        const char* name = nullptr;  // member name in the dump
        StateContributor write = nullptr;
    };
    std::array<Entry, kMaxStateContributors> entries{};
    int count = 0;

    // Adds a contributor; a name already present is replaced. False when
    // the table is full.
    bool add(const char* name, StateContributor write);
    // The whole object: screen, frame, then one member per contributor.
    std::string render(const char* screenName, int64_t frame) const;
};

inline StateDump g_stateDump;

}  // namespace tessaly::base
