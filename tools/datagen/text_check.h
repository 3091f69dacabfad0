// Checks of a translated text table against the English one, run by the
// text packer for every language in assets/texts/<code>/.
//
// The game looks texts up by name and passes some of them to printf-style
// formatting with a fixed list of arguments, so a translation must keep
// every name (a missing one shows nothing, or the English text where the
// code falls back) and, in every text, the same argument conversions in the
// same order (a "%s" where the code passes an int reads a wild pointer).
// Depends on nothing but the standard library.
#pragma once

#include <cstring>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace datagen {

// Text name -> text, in the game's 8-bit code page.
using TextMap = std::map<std::string, std::string>;

inline bool oneOf(const char* set, char c) { return c != '\0' && std::strchr(set, c) != nullptr; }

// The argument conversions of a format text in order, each as written
// ("%s", "%i", "%.2f"); "%%" prints a percent sign and takes no argument, so
// it is left out. A "%" that starts no conversion the game's formatting
// takes (or "%n", which writes through its argument) stands as "%?<rest>", so
// it can never match a sound one.
inline std::vector<std::string> formatConversions(std::string_view text) {
    std::vector<std::string> conversions;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '%') continue;
        if (i + 1 < text.size() && text[i + 1] == '%') {
            ++i;
            continue;
        }
        size_t k = i + 1;
        while (k < text.size() && oneOf("-+ #0", text[k])) ++k;
        while (k < text.size() && text[k] >= '0' && text[k] <= '9') ++k;
        if (k < text.size() && text[k] == '.') {
            ++k;
            while (k < text.size() && text[k] >= '0' && text[k] <= '9') ++k;
        }
        for (const char* length : {"hh", "ll", "h", "l", "z", "j", "t", "L"}) {
            if (text.substr(k, std::strlen(length)) == length) {
                k += std::strlen(length);
                break;
            }
        }
        const bool known = k < text.size() && oneOf("diouxXeEfFgGaAcsp", text[k]);
        if (known) {
            conversions.emplace_back(text.substr(i, k + 1 - i));
            i = k;
        } else {
            conversions.push_back("%?" + std::string(text.substr(i + 1, k + 1 - (i + 1))));
            i = k < text.size() ? k : text.size();
        }
    }
    return conversions;
}

inline std::string joinConversions(const std::vector<std::string>& conversions) {
    if (conversions.empty()) return "none";
    std::string joined;
    for (const std::string& c : conversions) joined += (joined.empty() ? "" : " ") + c;
    return joined;
}

// Every way a translation differs from the English table, one message each;
// empty when it can stand in for it: the same names, and in every text the
// same argument conversions. A translated text may use "%%" only where the
// English one is a format (holds a "%"): elsewhere the text is drawn as it
// stands and the "%%" would show.
inline std::vector<std::string> compareTranslation(const TextMap& english, const TextMap& translated) {
    std::vector<std::string> problems;
    for (const auto& [name, text] : english) {
        const auto other = translated.find(name);
        if (other == translated.end()) {
            problems.push_back("\"" + name + "\" is missing");
            continue;
        }
        const auto want = formatConversions(text);
        const auto have = formatConversions(other->second);
        if (want != have) {
            problems.push_back("\"" + name + "\" has the conversions " + joinConversions(have) +
                               " where English has " + joinConversions(want));
        } else if (text.find('%') == std::string::npos && other->second.find('%') != std::string::npos) {
            problems.push_back("\"" + name + "\" holds a \"%\" but the English text is no format");
        }
    }
    for (const auto& [name, text] : translated)
        if (!english.count(name)) problems.push_back("\"" + name + "\" is not an English text");
    return problems;
}

}  // namespace datagen
