#include "data/format_text.h"

#include <cstdio>
#include <cstring>

namespace tessaly::data {

namespace {

constexpr int kMaxFieldDigits = 2;  // width and precision up to 99: no field can flood the output

// One conversion of a format, read from its '%'.
struct Conversion {
    enum class Kind { Percent, Text, Int, Refused };
    Kind kind = Kind::Refused;
    int length = 1;     // bytes of the format it covers, '%' included
    char checked[16] = {};  // the conversion rebuilt for snprintf from what was read ("%-05.2d")
};

bool isDigit(char c) { return c >= '0' && c <= '9'; }

Conversion readConversion(const char* at) {
    Conversion c;
    const char* p = at + 1;
    if (*p == '%') {
        c.kind = Conversion::Kind::Percent;
        c.length = 2;
        return c;
    }
    int n = 0;
    c.checked[n++] = '%';
    bool minus = false, zero = false;
    while ((*p == '-' && !minus) || (*p == '0' && !zero)) {
        (*p == '-' ? minus : zero) = true;
        c.checked[n++] = *p++;
    }
    int digits = 0;
    while (isDigit(*p) && digits <= kMaxFieldDigits) c.checked[n++] = *p++, ++digits;
    bool fits = digits <= kMaxFieldDigits;
    if (fits && *p == '.') {
        c.checked[n++] = *p++;
        digits = 0;
        while (isDigit(*p) && digits <= kMaxFieldDigits) c.checked[n++] = *p++, ++digits;
        fits = digits <= kMaxFieldDigits;
    }
    if (fits && *p == 's') c.kind = Conversion::Kind::Text;
    if (fits && (*p == 'i' || *p == 'd')) c.kind = Conversion::Kind::Int;
    if (c.kind != Conversion::Kind::Refused) {
        c.checked[n++] = c.kind == Conversion::Kind::Text ? 's' : 'd';
        c.checked[n] = '\0';
        c.length = int(p + 1 - at);
        return c;
    }
    // Anything else is left out whole: its flags, fields and length
    // modifiers, and the letter that ends it.
    p = at + 1;
    while (*p && std::strchr("-+ #0123456789.*'hlLqjztI", *p)) ++p;
    if (*p) ++p;
    c.length = int(p - at);
    return c;
}

// The kind letter formatTakes uses for a conversion.
char letter(Conversion::Kind kind) { return kind == Conversion::Kind::Text ? 's' : 'i'; }

bool matches(const char* format, std::initializer_list<FormatArg> args) {
    const FormatArg* arg = args.begin();
    for (const char* p = format; *p; ++p) {
        if (*p != '%') continue;
        const Conversion c = readConversion(p);
        p += c.length - 1;
        if (c.kind == Conversion::Kind::Percent) continue;
        if (c.kind == Conversion::Kind::Refused || arg == args.end()) return false;
        const bool text = arg->kind == FormatArg::Kind::Text;
        if (text != (c.kind == Conversion::Kind::Text)) return false;
        ++arg;
    }
    return arg == args.end();
}

// Appends bytes to a bounded output that always stays NUL-terminated.
struct Output {
    char* out;
    int size;
    int used = 0;

    void put(char c) {
        if (used < size - 1) out[used++] = c;
        out[used] = '\0';
    }
    template <class T>
    void conversion(const char* checked, T value) {
        const int room = size - used;
        const int written = std::snprintf(out + used, size_t(room), checked, value);
        if (written > 0) used += written < room ? written : room - 1;
    }
};

}  // namespace

bool formatText(char* out, int outSize, const char* format, std::initializer_list<FormatArg> args) {
    if (!out || outSize <= 0) return false;
    out[0] = '\0';
    if (!format) return false;
    Output o{out, outSize};
    const bool ok = matches(format, args);
    const FormatArg* arg = args.begin();
    for (const char* p = format; *p; ++p) {
        if (*p != '%') {
            o.put(*p);
            continue;
        }
        const Conversion c = readConversion(p);
        p += c.length - 1;
        if (c.kind == Conversion::Kind::Percent) {
            o.put('%');
        } else if (ok) {
            if (arg->kind == FormatArg::Kind::Text)
                o.conversion(c.checked, arg->text ? arg->text : "");
            else
                o.conversion(c.checked, arg->number);
            ++arg;
        }
    }
    return ok;
}

bool formatTakes(const char* format, std::string_view kinds) {
    if (!format) return false;
    size_t next = 0;
    for (const char* p = format; *p; ++p) {
        if (*p != '%') continue;
        const Conversion c = readConversion(p);
        p += c.length - 1;
        if (c.kind == Conversion::Kind::Percent) continue;
        if (c.kind == Conversion::Kind::Refused || next >= kinds.size() ||
            kinds[next] != letter(c.kind))
            return false;
        ++next;
    }
    return next == kinds.size();
}

}  // namespace tessaly::data
