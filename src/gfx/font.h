// Bitmap fonts and text drawing. A font named n is the texture "n.tga", a
// grid of N x N glyph cells, and "n.dat": int32 N, then 256 glyph widths (in
// texels of a 512-wide texture) and 256 cell numbers. Text is laid out in
// screen units, one quad per character; the text size is the glyph's
// half-width, a line is 1.8 x size high. Characters are bytes (Windows-1251).
//
// Capacity: kMaxFonts fonts (a further loadFont is refused with a message
// and the current font stays); the wrap buffer holds kWrapBufferSize bytes
// and longer texts are cut. Loading a font clears the letter banners, whose
// letters were laid out with the old widths.
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

namespace tessaly::gfx {

struct TextureEntry;

constexpr int kMaxFonts = 4;
constexpr int kWrapBufferSize = 4096;

struct Font {
    float advance[256] = {};  // in units of the text size
    uint8_t cell[256] = {};
    int cellsPerRow = 1;
    float cellFraction = 1;
    TextureEntry* texture = nullptr;
};

struct TextState {
    std::array<Font, kMaxFonts> fonts;
    int fontCount = 0;
    Font* current = nullptr;
    uint8_t color[4] = {255, 255, 255, 255};  // r, g, b, a
    float size = 10;
    float scale = 1;
    float pen = 0;
    TextureEntry* highlight = nullptr;          // "podsvet.jpg"
    char wrapBuffer[kWrapBufferSize] = {};
};

inline TextState g_text;

// Parses a font data file; false when it is shorter than 516 bytes or N is
// not 1..64.
bool parseFontData(const uint8_t* bytes, int size, Font& out);

void loadFont(std::string_view name);
void selectFont(int index);
void setTextColor(int r, int g, int b, int a);
void setTextColorPacked(uint32_t argb);
void setTextSize(float size);
float textWidth(std::string_view text, float size);
// Left-anchored: the first glyph of each line is centred on x.
void drawText(float x, float y, float size, std::string_view text, bool centred = false);
void drawTextCentred(float x, float y, float size, std::string_view text);
void drawTextWithHighlight(float x, float y, float size, uint32_t argb, std::string_view text,
                           bool centred);
void drawHighlightRect(float x0, float y0, float x1, float y1, uint32_t argb);
// Wraps into g_text.wrapBuffer, breaking at spaces (a word wider than the
// line stays whole); returns the wrapped text's height.
float wrapText(float maxWidth, std::string_view text, float size);
inline const char* wrappedText() { return g_text.wrapBuffer; }
// One glyph of the current font rotated about its centre, depth 10.
void drawRotatedChar(uint8_t c, float x, float y, float angleDeg, float size, uint32_t argb);

}  // namespace tessaly::gfx
