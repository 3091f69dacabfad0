// The text tables "strings.txt" and "tips.txt" from assets/texts/ into
// "texts.dat".
//
// The sources are UTF-8 (plain ASCII is UTF-8 too) with any line ends; the
// game reads Windows-1251 with CR LF, so every file is converted and checked
// here: a text the game would misread fails the build with the file and line
// instead of showing a wrong or missing text at run time.
//
// Checked: every single-line entry has a "=", names are 1..19 bytes (the
// game cuts longer ones, so their lookups would miss), every "[name/]" block
// is closed by "[/name]" before any other "[", no name is defined twice in
// the two files (the game would silently use the first), and every character
// exists in Windows-1251.
#include <algorithm>
#include <cstdio>
#include <stdexcept>
#include <string>

#include "cp1251.h"
#include "datagen.h"

namespace datagen {
namespace {

constexpr size_t kMaxTextName = 19;  // the game's text table keeps 19 bytes of a name

[[noreturn]] void fail(const std::string& file, const Bytes& text, size_t at,
                       const std::string& what) {
    int line = 1;
    for (size_t i = 0; i < at && i < text.size(); ++i) line += text[i] == '\n';
    throw std::runtime_error(file + ":" + std::to_string(line) + ": " + what);
}

// UTF-8 to Windows-1251; a leading byte-order mark is dropped.
Bytes toCp1251(const std::string& file, const Bytes& utf8) {
    Bytes out;
    size_t i = 0;
    if (utf8.size() >= 3 && utf8[0] == 0xEF && utf8[1] == 0xBB && utf8[2] == 0xBF) i = 3;
    while (i < utf8.size()) {
        const uint8_t lead = utf8[i];
        char32_t code = lead;
        size_t length = 1;
        if (lead >= 0x80) {
            if ((lead & 0xE0) == 0xC0) length = 2, code = lead & 0x1F;
            else if ((lead & 0xF0) == 0xE0) length = 3, code = lead & 0x0F;
            else if ((lead & 0xF8) == 0xF0) length = 4, code = lead & 0x07;
            else fail(file, utf8, i, "not UTF-8");
            if (i + length > utf8.size()) fail(file, utf8, i, "truncated UTF-8 character");
            for (size_t k = 1; k < length; ++k) {
                if ((utf8[i + k] & 0xC0) != 0x80) fail(file, utf8, i, "not UTF-8");
                code = (code << 6) | (utf8[i + k] & 0x3F);
            }
        }
        const auto byte = unicodeToCp1251(code);
        if (!byte) {
            char hexCode[16];
            std::snprintf(hexCode, sizeof hexCode, "U+%04X", unsigned(code));
            fail(file, utf8, i, std::string("character ") + hexCode +
                                    " is not in the game's character set (Windows-1251)");
        }
        out.push_back(*byte);
        i += length;
    }
    return out;
}

// Walks the entries the way the game's parser does and refuses anything it
// would read differently from what the author meant.
void checkEntries(const std::string& file, const Bytes& text, std::set<std::string>& names) {
    size_t p = 0;
    auto find = [&](const std::string& what, size_t from) {
        for (size_t i = from; i + what.size() <= text.size(); ++i)
            if (std::equal(what.begin(), what.end(), text.begin() + long(i))) return i;
        return std::string::npos;
    };
    while (true) {
        while (p < text.size() && text[p] < 33) ++p;
        if (p >= text.size()) break;
        std::string name;
        const size_t start = p;
        if (text[p] == '[') {
            const size_t close = find("/]", p);
            const size_t lineEnd = find("\r\n", p);
            if (close == std::string::npos || close > lineEnd) fail(file, text, p, "bad block tag");
            name.assign(text.begin() + long(p) + 1, text.begin() + long(close));
            const size_t end = find("[", close + 2);
            const std::string closing = "[/" + name + "]";
            if (end == std::string::npos || find(closing, end) != end)
                fail(file, text, start, "block \"" + name + "\" is not closed by " + closing +
                                            " (a block's text cannot hold \"[\")");
            p = end + closing.size();
        } else {
            const size_t lineEnd = find("\r\n", p);
            const size_t equals = find("=", p);
            if (equals == std::string::npos || equals > lineEnd)
                fail(file, text, p, "line without \"=\" (every line is an entry)");
            name.assign(text.begin() + long(p), text.begin() + long(equals));
            p = lineEnd + 2;
        }
        if (name.empty() || name.size() > kMaxTextName)
            fail(file, text, start, "text name \"" + name + "\" must be 1.." +
                                        std::to_string(kMaxTextName) + " bytes");
        if (!names.insert(name).second) fail(file, text, start, "text \"" + name + "\" defined twice");
    }
}

}  // namespace

void packTexts(Output& out) {
    std::set<std::string> names;
    for (const char* file : {"strings.txt", "tips.txt"}) {
        const auto path = out.options().assetsDir / "texts" / file;
        const Bytes text = normalizeLineEnds(toCp1251(path.string(), readFile(path)));
        checkEntries(path.string(), text, names);
        out.addToPack("texts.dat", file, text);
    }
}

}  // namespace datagen
