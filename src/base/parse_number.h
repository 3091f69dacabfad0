// Whole-text number parsing for command-line options and input scripts: the
// text must be a number and nothing else.
#pragma once

#include <charconv>
#include <string_view>

namespace tessaly::base {

template <typename T>
bool parseNumber(std::string_view text, T& out) {
    if (text.empty()) return false;
    const char* end = text.data() + text.size();
    const auto result = std::from_chars(text.data(), end, out);
    return result.ec == std::errc() && result.ptr == end;
}

}  // namespace tessaly::base
