// Copies a text into a fixed character field: at most the field's size
// less one byte, always terminated with a NUL. Texts of every kind (names,
// messages, tips) land in fixed fields this way; an empty view may carry a
// null pointer, which is fine here.
#pragma once

#include <cstddef>
#include <cstring>
#include <string_view>

namespace tessaly::base {

// Returns the number of bytes copied.
inline size_t copyText(char* out, size_t fieldSize, std::string_view text) {
    if (fieldSize == 0) return 0;
    const size_t n = text.size() < fieldSize - 1 ? text.size() : fieldSize - 1;
    if (n > 0) std::memcpy(out, text.data(), n);
    out[n] = '\0';
    return n;
}

template <size_t N>
size_t copyText(char (&out)[N], std::string_view text) {
    return copyText(out, N, text);
}

}  // namespace tessaly::base
