// Font data (".dat"): parsed, then used to measure and wrap a text with
// every byte value.
#include <cstring>

#include "gfx/font.h"

using namespace tessaly;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    gfx::Font font;
    if (!gfx::parseFontData(data, int(size), font)) return 0;
    gfx::g_text.fonts[0] = font;
    gfx::g_text.fontCount = 1;
    gfx::g_text.current = &gfx::g_text.fonts[0];
    char all[256];
    for (int i = 0; i < 256; ++i) all[i] = char(i == 0 ? ' ' : i);
    (void)gfx::textWidth(std::string_view(all, sizeof all), 10);
    (void)gfx::wrapText(200, std::string_view(all, sizeof all), 10);
    return 0;
}
