// Formats that come from data ("Hello, %s!", "Stage %i, level %i, score %i")
// filled with typed arguments.
//
// A data text is never handed to printf as it stands: its conversions are
// read here and checked against the arguments given, in number and kind.
// Accepted conversions: %s (a text), %i and %d (an int), each with an
// optional '-' or '0' flag, a width and a precision of at most two digits
// ("%.2i"), and %% for a percent sign. When the format and the arguments
// disagree (a conversion too many or too few, a text where an int is due,
// or any other conversion such as %n, %x or %*d), the output is the format
// with every conversion left out, so a damaged text shows its words and
// nothing else. The output is bounded by the buffer and always ends with a
// NUL; a longer result is cut.
//
// Depends on nothing but the C library.
#pragma once

#include <initializer_list>
#include <string_view>

namespace tessaly::data {

struct FormatArg {
    enum class Kind { Int, Text };
    Kind kind;
    int number = 0;
    const char* text = nullptr;  // null reads as the empty text

    FormatArg(int value) : kind(Kind::Int), number(value) {}
    FormatArg(const char* value) : kind(Kind::Text), text(value) {}
};

// Fills out (outSize bytes) from format and args. Returns true when the
// format's conversions matched the arguments; false when the conversions
// were left out instead (a null format gives the empty text).
bool formatText(char* out, int outSize, const char* format, std::initializer_list<FormatArg> args);

// True when the format's conversions take exactly these kinds, in order:
// one letter per argument, 's' for a text and 'i' for an int ("s", "iii";
// "" for a text that takes none).
bool formatTakes(const char* format, std::string_view kinds);

}  // namespace tessaly::data
