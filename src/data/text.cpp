#include "data/text.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>

#include "base/lookups.h"
#include "data/registry.h"

namespace tessaly::data {

namespace {

constexpr int kNumberBufferSize = 32;    // numeric values longer than 31 characters are cut
constexpr int kListBufferSize = 1024;    // a float list value; a longer one loses its bracket

// A text block of n bytes whose byte n (the replaced last byte of the file)
// reads as NUL; every read goes through here, so nothing past the block is
// ever touched.
struct Block {
    const unsigned char* bytes;
    int n;

    int at(int i) const { return i < n ? bytes[i] : 0; }
    // First position >= from where `c` stands, or -1 before the end.
    int find(int from, char c) const {
        for (int i = from; i < n; ++i)
            if (bytes[i] == static_cast<unsigned char>(c)) return i;
        return -1;
    }
    int find2(int from, char c0, char c1) const {
        for (int i = from; i + 1 < n; ++i)
            if (bytes[i] == static_cast<unsigned char>(c0) &&
                bytes[i + 1] == static_cast<unsigned char>(c1))
                return i;
        return -1;
    }
};

// The C library's conversion of a number value into a float, or false when
// the value isn't a finite float (NaN, an infinity, or beyond the float
// range): such a value takes the key's default, as a missing one does.
bool toFloat(const char* value, float& out) {
    const double d = std::atof(value);
    if (!(std::fabs(d) <= double(std::numeric_limits<float>::max()))) return false;
    out = float(d);
    return true;
}

}  // namespace

void TextTable::parse(const char* text, int size) {
    // The file's last byte gives way to the terminating NUL, as the CR LF
    // that ends a text file carries nothing.
    const Block b{reinterpret_cast<const unsigned char*>(text), size - 1};
    bool reportedFull = false;
    auto addEntry = [&](int nameStart, int nameEnd, int textStart, int textEnd) {
        if (count >= kMaxTexts) {
            if (!reportedFull)
                std::fprintf(stderr, "More than %d texts: the rest are dropped\n", kMaxTexts);
            reportedFull = true;
            return;
        }
        Entry& e = entries[size_t(count++)];
        const int nameLength = std::min(nameEnd - nameStart, kMaxTextNameLength);
        std::memcpy(e.name, b.bytes + nameStart, size_t(nameLength));
        e.name[nameLength] = '\0';
        const int length = textEnd - textStart;
        e.text = std::make_unique<char[]>(size_t(length) + 1);
        std::memcpy(e.text.get(), b.bytes + textStart, size_t(length));
        e.text[size_t(length)] = '\0';
    };

    int p = 0;
    while (true) {
        while (p < b.n && b.at(p) < 33) ++p;
        if (p >= b.n) return;
        if (b.at(p) == '[') {
            // Block entry: [name/] text [/name]
            const int nameEnd = b.find2(p + 1, '/', ']');
            if (nameEnd < 0) return;
            int t = nameEnd + 2;
            while (t < b.n && b.at(t) < 32) ++t;
            const int textEnd = b.find(t, '[');
            if (textEnd < 0) return;
            addEntry(p + 1, nameEnd, t, textEnd);
            const int close = b.find(textEnd, ']');
            if (close < 0) return;
            p = close + 1;
        } else {
            // Single-line entry: name=value, ended by two bytes below 32 (the
            // CR LF, or the final CR and the NUL).
            const int eq = b.find(p, '=');
            if (eq < 0) return;
            int end = -1;
            for (int i = eq + 1; i < b.n; ++i)
                if (b.at(i) < 32 && b.at(i + 1) < 32) {
                    end = i;
                    break;
                }
            if (end < 0) return;
            addEntry(p, eq, eq + 1, end);
            p = end + 2;
        }
    }
}

void TextTable::load(std::string_view fileName) {
    int32_t size = 0;
    const uint8_t* data = loadDataFile(fileName, &size, true);
    parse(reinterpret_cast<const char*>(data), size);
    releaseDataEntry(data);
}

// ---------------------------------------------------------------------------
// Text languages

namespace {

// The language in use; empty for English.
char g_language[kMaxLanguageCodeLength + 1] = {};

bool isAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

// "strings.txt" + "ru" -> "strings_ru.txt": the code goes before the last dot.
std::string nameInLanguage(std::string_view fileName, std::string_view code) {
    const size_t dot = std::min(fileName.rfind('.'), fileName.size());
    std::string name(fileName.substr(0, dot));
    name += '_';
    name += code;
    name += fileName.substr(dot);
    return name;
}

// In memory (a pack entry) or as a loose file in the data folder.
bool dataFileExists(std::string_view name) {
    if (g_registry.find(name)) return true;
    std::FILE* file = std::fopen(g_registry.loosePath(name).c_str(), "rb");
    if (file) std::fclose(file);
    return file != nullptr;
}

}  // namespace

std::string languageOfLocale(std::string_view locale) {
    size_t n = 0;
    while (n < locale.size() && isAsciiLetter(locale[n])) ++n;
    // The letters must make up the whole name or stop at a territory,
    // encoding or modifier mark.
    const bool ends = n == locale.size() || locale[n] == '_' || locale[n] == '.' ||
                      locale[n] == '@' || locale[n] == '-';
    if (n < 2 || n > size_t(kMaxLanguageCodeLength) || !ends) return {};
    std::string code(locale.substr(0, n));
    for (char& c : code) c = char(c | 0x20);
    if (code == "c" || code == "posix") return {};
    return code;
}

std::string chooseLanguage(std::string_view forced, const char* lcAll, const char* lcMessages,
                           const char* lang) {
    std::string_view locale = forced;
    for (const char* variable : {lcAll, lcMessages, lang}) {
        if (!locale.empty()) break;
        if (variable) locale = variable;
    }
    const std::string code = languageOfLocale(locale);
    return code.empty() ? std::string(kBaseLanguage) : code;
}

std::string chooseLanguageFromEnvironment(std::string_view forced) {
    return chooseLanguage(forced, std::getenv("LC_ALL"), std::getenv("LC_MESSAGES"), std::getenv("LANG"));
}

bool hasTextLanguage(std::string_view code) {
    if (code == kBaseLanguage) return true;
    if (languageOfLocale(code) != code) return false;
    return dataFileExists(nameInLanguage("strings.txt", code));
}

std::string_view useTextLanguage(std::string_view code) {
    g_language[0] = '\0';
    if (code != kBaseLanguage && hasTextLanguage(code)) {
        std::memcpy(g_language, code.data(), code.size());
        g_language[code.size()] = '\0';
    }
    return textLanguage();
}

std::string_view textLanguage() { return g_language[0] ? std::string_view(g_language) : kBaseLanguage; }

std::string localizedName(std::string_view fileName) {
    if (g_language[0]) {
        std::string name = nameInLanguage(fileName, g_language);
        if (dataFileExists(name)) return name;
    }
    return std::string(fileName);
}

void loadTextTables() {
    g_texts.load(localizedName("strings.txt"));
    g_texts.load(localizedName("tips.txt"));
}

const char* TextTable::find(std::string_view name) const {
    const int i = indexOf(name);
    if (i < count && std::string_view(entries[size_t(i)].name) == name) return entries[size_t(i)].text.get();
    base::noteLookupMiss(base::LookupKind::Text, name);
    return nullptr;
}

const char* TextTable::byIndex(int index) const {
    return index >= 0 && index < count ? entries[size_t(index)].text.get() : nullptr;
}

int TextTable::indexOf(std::string_view name) const {
    for (int i = 0; i < count; ++i)
        if (std::string_view(entries[size_t(i)].name) == name) return i;
    return 0;
}

void TextTable::clear() {
    for (int i = 0; i < count; ++i) entries[size_t(i)] = Entry{};
    count = 0;
}

char* readKeyString(char* out, int outSize, const char* text, const char* key) {
    if (!out || outSize <= 0) return nullptr;
    out[0] = '\0';
    if (!text || !key) return nullptr;
    const char* found = std::strstr(text, key);
    if (!found) return nullptr;
    const char* value = found + std::strlen(key);
    int n = 0;
    while (n < outSize - 1 && value[n] != '\0' && value[n] != '\r') ++n;
    std::memcpy(out, value, size_t(n));
    out[n] = '\0';
    return out;
}

float readKeyFloat(const char* text, const char* key) {
    char value[kNumberBufferSize];
    readKeyString(value, sizeof value, text, key);
    float v = 0.0f;
    return value[0] && toFloat(value, v) ? v : 0.0f;
}

int readKeyInt(const char* text, const char* key) {
    // Converted through double rather than float, so whole numbers up to the
    // int range (scores) stay exact; out-of-range values saturate.
    char value[kNumberBufferSize];
    readKeyString(value, sizeof value, text, key);
    if (!value[0]) return 0;
    const double v = std::trunc(std::atof(value));
    if (!std::isfinite(v)) return 0;  // NaN or an infinity: the default
    if (v >= 2147483647.0) return 2147483647;
    if (v <= -2147483648.0) return -2147483647 - 1;
    return int(v);
}

int readKeyFloatList(const char* text, float* values, int maxCount, const char* key) {
    char value[kListBufferSize];
    if (!readKeyString(value, sizeof value, text, key)) return 0;
    char* close = std::strpbrk(value, ")}");
    if (!close || close == value) return 0;
    *close = '\0';
    // Two walks over the elements that will be stored: the first checks that
    // each is a finite number (one that isn't refuses the whole list, which
    // then leaves the field as it was), the second stores them. A number's
    // conversion ends at the comma after it.
    int count = 0;
    for (const char* element = value + 1; count < maxCount;) {
        float v;
        if (!toFloat(element, v)) return 0;
        ++count;
        const char* comma = std::strchr(element, ',');
        if (!comma) break;
        element = comma + 1;
    }
    const char* element = value + 1;
    for (int i = 0; i < count; ++i) {
        toFloat(element, values[i]);
        if (const char* comma = std::strchr(element, ',')) element = comma + 1;
    }
    return count;
}

bool readKeyVector3(float out[3], const char* text, const char* key) {
    char value[128];
    if (!readKeyString(value, sizeof value, text, key) || !value[0]) return false;
    char* first = std::strchr(value + 1, ',');
    char* second = first ? std::strchr(first + 1, ',') : nullptr;
    char* close = second ? std::strchr(second + 1, ')') : nullptr;
    if (!close) return false;
    *first = *second = *close = '\0';
    float v[3];
    if (!toFloat(value + 1, v[0]) || !toFloat(first + 1, v[1]) || !toFloat(second + 1, v[2])) return false;
    out[0] = v[0];
    out[1] = v[1];
    out[2] = v[2];
    return true;
}

}  // namespace tessaly::data
