// Text tables and the key readers. The first byte chooses the reader; for
// the key readers the key comes next (up to a NUL) and the rest is the text.
#include <string>

#include "data/text.h"
#include "fuzz_support.h"

using namespace tessaly;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::Input in(data, size);
    const uint8_t which = in.byte();
    if (which % 2 == 0) {
        static data::TextTable table;
        table.clear();
        table.parse(in.rest().data(), int(in.size()));
        for (int i = 0; i <= table.count; ++i) {
            const char* text = table.byIndex(i);
            if (text) {
                volatile size_t n = std::char_traits<char>::length(text);
                (void)n;
            }
            if (i < table.count) (void)table.indexOf(table.entries[size_t(i)].name);
        }
        (void)table.find("strings");
        table.clear();
        return 0;
    }
    const std::string key = std::string(in.until(0)) + "=";
    const std::string text(in.rest());  // NUL-terminated by std::string
    char out[32];
    (void)data::readKeyString(out, int(sizeof out), text.c_str(), key.c_str());
    (void)data::readKeyFloat(text.c_str(), key.c_str());
    (void)data::readKeyInt(text.c_str(), key.c_str());
    float values[8];
    (void)data::readKeyFloatList(text.c_str(), values, 8, key.c_str());
    float v3[3] = {};
    (void)data::readKeyVector3(v3, text.c_str(), key.c_str());
    return 0;
}
