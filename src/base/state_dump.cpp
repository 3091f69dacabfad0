#include "base/state_dump.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "base/code_page.h"

namespace tessaly::base {

void JsonWriter::key(std::string_view k) {
    if (m_needComma) m_text += ',';
    m_needComma = true;
    if (!k.empty()) {
        string(k);
        m_text += ':';
    }
}

void JsonWriter::string(std::string_view s) {
    m_text += '"';
    for (const char c : s) {
        const auto u = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            m_text += '\\';
            m_text += c;
        } else if (u < 0x20 || u >= 0x80) {
            // Control codes, and the game's 8-bit letters (Cyrillic names
            // and texts) as their Unicode characters, so the dump stays
            // valid UTF-8 JSON; the unassigned 0x98 becomes U+FFFD.
            const char32_t code = u < 0x80 ? u : kCp1251High[u - 0x80] ? kCp1251High[u - 0x80] : 0xFFFD;
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\u%04x", unsigned(code));
            m_text += escaped;
        } else {
            m_text += c;
        }
    }
    m_text += '"';
}

void JsonWriter::beginObject(std::string_view k) {
    key(k);
    m_text += '{';
    m_needComma = false;
}

void JsonWriter::endObject() {
    m_text += '}';
    m_needComma = true;
}

void JsonWriter::beginArray(std::string_view k) {
    key(k);
    m_text += '[';
    m_needComma = false;
}

void JsonWriter::endArray() {
    m_text += ']';
    m_needComma = true;
}

void JsonWriter::field(std::string_view k, int64_t value) {
    key(k);
    m_text += std::to_string(value);
}

void JsonWriter::field(std::string_view k, double value) {
    key(k);
    if (!std::isfinite(value)) {
        m_text += "null";
        return;
    }
    char number[32];
    std::snprintf(number, sizeof number, "%.9g", value);
    m_text += number;
}

void JsonWriter::field(std::string_view k, bool value) {
    key(k);
    m_text += value ? "true" : "false";
}

void JsonWriter::field(std::string_view k, std::string_view value) {
    key(k);
    string(value);
}

bool StateDump::add(const char* name, StateContributor write) {
    for (int i = 0; i < count; ++i) {
        if (std::strcmp(entries[size_t(i)].name, name) == 0) {
            entries[size_t(i)].write = write;
            return true;
        }
    }
    if (count >= kMaxStateContributors) return false;
    entries[size_t(count++)] = {name, write};
    return true;
}

std::string StateDump::render(const char* screenName, int64_t frame) const {
    JsonWriter json;
    json.beginObject();
    json.field("screen", screenName ? screenName : "");
    json.field("frame", frame);
    for (int i = 0; i < count; ++i) {
        json.beginObject(entries[size_t(i)].name);
        entries[size_t(i)].write(json);
        json.endObject();
    }
    json.endObject();
    return json.text() + "\n";
}

}  // namespace tessaly::base
