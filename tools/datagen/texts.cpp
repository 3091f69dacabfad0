// The text tables "strings.txt" and "tips.txt" and the menu files
// "menu.txt" and "menutext.txt" from assets/texts/ into "texts.dat".
//
// Each further language has a folder assets/texts/<code>/ (for example "ru")
// with its own "strings.txt", "tips.txt" and "menutext.txt" ("menu.txt",
// the menus' shape, is shared); they are packed as "strings_ru.txt",
// "tips_ru.txt" and "menutext_ru.txt", the names the game reads in that
// language. A translation must hold every name of the English tables and
// nothing else, and in every text the same printf conversions in the same
// order (text_check.h); otherwise the build fails with the differences.
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
//
// The menu files are found by first-substring searches for "name=", so a
// key standing earlier in a file as the tail of a longer key ("ok=" inside
// "messageboxok=") would hand a node someone else's list or text. Checked
// for every node of "menu.txt": the first "name=" in each file is the node's
// own line, a node with a list has a text, names and texts fit the game's 63
// characters, no screen lists more than 16 items, and the credits fit 64
// lines of 63 characters.
#include <algorithm>
#include <cstdio>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "cp1251.h"
#include "datagen.h"
#include "text_check.h"

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
void checkEntries(const std::string& file, const Bytes& text, std::set<std::string>& names,
                  TextMap& values) {
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
            size_t textStart = close + 2;
            while (textStart < end && text[textStart] < 32) ++textStart;
            values[name].assign(text.begin() + long(textStart), text.begin() + long(end));
            p = end + closing.size();
        } else {
            const size_t lineEnd = find("\r\n", p);
            const size_t equals = find("=", p);
            if (equals == std::string::npos || equals > lineEnd)
                fail(file, text, p, "line without \"=\" (every line is an entry)");
            name.assign(text.begin() + long(p), text.begin() + long(equals));
            values[name].assign(text.begin() + long(equals) + 1, text.begin() + long(lineEnd));
            p = lineEnd + 2;
        }
        if (name.empty() || name.size() > kMaxTextName)
            fail(file, text, start, "text name \"" + name + "\" must be 1.." +
                                        std::to_string(kMaxTextName) + " bytes");
        if (!names.insert(name).second) fail(file, text, start, "text \"" + name + "\" defined twice");
    }
}

constexpr size_t kMaxMenuName = 63;   // the menu node's name and text buffers hold 63 bytes
constexpr size_t kMaxMenuItems = 16;
constexpr size_t kMaxCreditLines = 64;

struct Line {
    size_t start;
    std::string text;
};

std::vector<Line> splitLines(const Bytes& text) {
    std::vector<Line> lines;
    size_t start = 0;
    for (size_t i = 0; i + 1 < text.size(); ++i)
        if (text[i] == '\r' && text[i + 1] == '\n') {
            lines.push_back({start, std::string(text.begin() + long(start), text.begin() + long(i))});
            start = i + 2;
            ++i;
        }
    return lines;
}

size_t firstKey(const Bytes& text, const std::string& name) {
    const std::string key = name + "=";
    const auto at = std::search(text.begin(), text.end(), key.begin(), key.end());
    return at == text.end() ? std::string::npos : size_t(at - text.begin());
}

// Walks "menu.txt" as the game's loader does and "menutext.txt" for every
// node it finds.
void checkMenuFiles(const std::string& menuFile, const Bytes& menu, const std::string& textsFile,
                    const Bytes& texts) {
    std::set<std::string> nodes, screens;
    const std::vector<Line> lines = splitLines(menu);
    for (size_t i = 0; i < lines.size(); ++i) {
        const Line& key = lines[i];
        if (key.text.empty() || key.text.back() != '=' || key.text.find('=') + 1 != key.text.size())
            continue;
        const std::string screen = key.text.substr(0, key.text.size() - 1);
        if (firstKey(menu, screen) != key.start)
            fail(menuFile, menu, firstKey(menu, screen), "\"" + screen + "=\" stands here before " +
                                                             "the list of \"" + screen + "\"");
        nodes.insert(screen);
        screens.insert(screen);
        size_t items = 0;
        for (++i; i < lines.size() && !lines[i].text.empty(); ++i, ++items) nodes.insert(lines[i].text);
        if (i == lines.size()) fail(menuFile, menu, key.start, "list not closed by an empty line");
        if (items > kMaxMenuItems)
            fail(menuFile, menu, key.start, "more than " + std::to_string(kMaxMenuItems) + " items");
    }
    for (const std::string& node : nodes) {
        if (node.size() > kMaxMenuName) fail(menuFile, menu, 0, "name \"" + node + "\" is too long");
        const size_t inMenu = firstKey(menu, node);
        if (!screens.count(node) && inMenu != std::string::npos)
            fail(menuFile, menu, inMenu, "\"" + node + "=\" would give the item \"" + node +
                                             "\" a list it does not own");
        const size_t at = firstKey(texts, node);
        if (at == std::string::npos) fail(textsFile, texts, texts.size(), "no text for \"" + node + "\"");
        if (at > 0 && texts[at - 1] != '\n')
            fail(textsFile, texts, at, "\"" + node + "=\" stands here as the tail of a longer key");
        const size_t end = size_t(std::find(texts.begin() + long(at), texts.end(), '\r') - texts.begin());
        if (end - at - node.size() - 1 > kMaxMenuName)
            fail(textsFile, texts, at, "the text of \"" + node + "\" is longer than 63 characters");
    }

    const std::vector<Line> textLines = splitLines(texts);
    size_t credits = 0;
    bool inCredits = false, closed = false;
    for (const Line& line : textLines) {
        if (line.text == "[credits/]") {
            inCredits = true;
        } else if (inCredits && line.text == "[/credits]") {
            closed = true;
            break;
        } else if (inCredits && (credits > 0 || !line.text.empty())) {
            if (line.text.size() > kMaxMenuName)
                fail(textsFile, texts, line.start, "credit line longer than 63 characters");
            if (++credits > kMaxCreditLines)
                fail(textsFile, texts, line.start, "more than 64 credit lines");
        }
    }
    if (!closed || credits == 0) fail(textsFile, texts, 0, "no credits block, or an empty one");
}

// The "name=text" lines of "menutext.txt" before its credits block.
TextMap menuTexts(const Bytes& texts) {
    TextMap entries;
    for (const Line& line : splitLines(texts)) {
        if (line.text == "[credits/]") break;
        const size_t equals = line.text.find('=');
        if (equals != std::string::npos && equals > 0)
            entries.emplace(line.text.substr(0, equals), line.text.substr(equals + 1));
    }
    return entries;
}

void failTranslation(const std::string& file, const std::vector<std::string>& problems) {
    std::string message = file + ": the translation does not match the English texts:";
    for (const std::string& problem : problems) message += "\n  " + problem;
    throw std::runtime_error(message);
}

Bytes readText(const std::filesystem::path& path) {
    return normalizeLineEnds(toCp1251(path.string(), readFile(path)));
}

// One language's tables from `folder`, checked on their own and, for a
// translation (english non-null), against the English ones; packed under
// their names with `suffix` ("" for English, "_ru"...).
struct LanguageTexts {
    TextMap table;  // strings.txt and tips.txt together, as the game loads them
    TextMap menu;   // menutext.txt
};

LanguageTexts packLanguage(Output& out, const std::filesystem::path& folder, const std::string& suffix,
                           const std::string& menuPath, const Bytes& menu, const LanguageTexts* english) {
    LanguageTexts texts;
    std::set<std::string> names;
    for (const char* file : {"strings.txt", "tips.txt"}) {
        const auto path = folder / file;
        const Bytes text = readText(path);
        checkEntries(path.string(), text, names, texts.table);
        const std::string name(file);
        out.addToPack("texts.dat", name.substr(0, name.size() - 4) + suffix + ".txt", text);
    }
    const auto menuTextPath = folder / "menutext.txt";
    const Bytes menuText = readText(menuTextPath);
    checkMenuFiles(menuPath, menu, menuTextPath.string(), menuText);
    texts.menu = menuTexts(menuText);
    if (english) {
        auto problems = compareTranslation(english->table, texts.table);
        if (!problems.empty()) failTranslation((folder / "strings.txt, tips.txt").string(), problems);
        problems = compareTranslation(english->menu, texts.menu);
        if (!problems.empty()) failTranslation(menuTextPath.string(), problems);
    }
    out.addToPack("texts.dat", "menutext" + suffix + ".txt", menuText);
    return texts;
}

}  // namespace

void packTexts(Output& out) {
    const auto folder = out.options().assetsDir / "texts";
    const auto menuPath = folder / "menu.txt";
    const Bytes menu = readText(menuPath);
    out.addToPack("texts.dat", "menu.txt", menu);
    const LanguageTexts english = packLanguage(out, folder, "", menuPath.string(), menu, nullptr);

    // The translations, in a fixed order so the pack comes out the same.
    std::vector<std::filesystem::path> languages;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        if (entry.is_directory()) languages.push_back(entry.path());
    std::sort(languages.begin(), languages.end());
    for (const auto& language : languages) {
        const std::string code = language.filename().string();
        const bool valid = code.size() >= 2 && code.size() <= 7 &&
                           std::all_of(code.begin(), code.end(), [](char c) { return c >= 'a' && c <= 'z'; });
        if (!valid)
            throw std::runtime_error(language.string() + ": a language folder is named by its code " +
                                     "of 2..7 small letters (\"ru\")");
        packLanguage(out, language, "_" + code, menuPath.string(), menu, &english);
    }
}

}  // namespace datagen
