// Text tables and the key=value readers.
//
// The named text table holds every user-visible text, loaded from
// "strings.txt" then "tips.txt": single-line entries `name=value` and block
// entries `[name/]` ... `[/name]`. Lookups are exact and case-sensitive; the
// first entry of a name wins.
//
// The key readers find a key (including its "=") by plain substring search
// over a NUL-terminated text: the first occurrence wins wherever it stands,
// so "rot=" also matches the end of "drot=". Values end at the next CR.
// Missing keys read as 0, 0.0 or the empty string, and so do numbers that
// aren't finite (NaN, infinities, floats beyond the float range); a list or
// vector with such an element is refused whole.
//
// Capacity: kMaxTexts entries; further entries are dropped with a message on
// stderr. Names are cut at 19 characters, numeric values at 31.
//
// Languages: English is read from "strings.txt", "tips.txt" and
// "menutext.txt"; another language's tables carry its code before the dot
// ("strings_ru.txt", "tips_ru.txt", "menutext_ru.txt"). The language follows
// the locale (LC_ALL, then LC_MESSAGES, then LANG, the first one set) unless
// the player names one; a language the data set has no tables for reads as
// English.
#pragma once

#include <array>
#include <memory>
#include <string>
#include <string_view>

namespace tessaly::data {

constexpr int kMaxTexts = 1024;
constexpr int kMaxTextNameLength = 19;

struct TextTable {
    struct Entry {
        char name[kMaxTextNameLength + 1] = {};
        std::unique_ptr<char[]> text;
    };
    std::array<Entry, kMaxTexts> entries;
    int count = 0;

    // Parses a whole text file image (need not be NUL-terminated).
    void parse(const char* bytes, int size);
    // Reads a file through the data registry (required) and parses it.
    void load(std::string_view fileName);
    const char* find(std::string_view name) const;
    const char* byIndex(int index) const;
    int indexOf(std::string_view name) const;  // 0 when absent
    void clear();
};

inline TextTable g_texts;

inline void loadTextTable(std::string_view fileName) { g_texts.load(fileName); }
inline const char* findText(std::string_view name) { return g_texts.find(name); }
inline const char* textByIndex(int index) { return g_texts.byIndex(index); }
inline int textIndex(std::string_view name) { return g_texts.indexOf(name); }
inline void freeTextTable() { g_texts.clear(); }

// ---------------------------------------------------------------------------
// Text languages

constexpr int kMaxLanguageCodeLength = 7;
constexpr std::string_view kBaseLanguage = "en";  // the tables without a code

// The language code of a locale name, lower-cased: "ru_RU.UTF-8" -> "ru",
// "pt_BR" -> "pt", "de@euro" -> "de"; empty for "C", "POSIX", an empty name
// or anything that doesn't start with 2..7 ASCII letters.
std::string languageOfLocale(std::string_view locale);

// The language asked for: `forced` when not empty (a code or a locale name),
// else the first of LC_ALL, LC_MESSAGES and LANG that is set and not empty
// (null for unset). English when that names no language.
std::string chooseLanguage(std::string_view forced, const char* lcAll, const char* lcMessages,
                           const char* lang);
// The same with the process environment.
std::string chooseLanguageFromEnvironment(std::string_view forced);

// True when the data set holds the tables of `code` (English always).
bool hasTextLanguage(std::string_view code);
// Makes `code` the language of every text table loaded from now on, or
// English when the data set has no tables for it. Returns the language used.
std::string_view useTextLanguage(std::string_view code);
std::string_view textLanguage();
// The name a table is read under in the language in use: "menutext.txt" ->
// "menutext_ru.txt" when the data set has that file, else the name itself.
std::string localizedName(std::string_view fileName);

// Loads "strings.txt" and "tips.txt" of the language in use.
void loadTextTables();

// Key readers. `key` includes its "=".
// Copies the value (up to the next CR, at most outSize - 1 bytes) into out;
// returns out, or null with out empty when the key is absent.
char* readKeyString(char* out, int outSize, const char* text, const char* key);
float readKeyFloat(const char* text, const char* key);
int readKeyInt(const char* text, const char* key);  // truncated toward zero
// "(a,b,c)" or "{a,b,c}": fills values[0..] up to maxCount from the first
// element; nothing when neither ")" nor "}" ends the value. Returns the
// number stored.
int readKeyFloatList(const char* text, float* values, int maxCount, const char* key);
// "(x,y,z)"; returns false and leaves out unchanged when malformed.
bool readKeyVector3(float out[3], const char* text, const char* key);

}  // namespace tessaly::data
