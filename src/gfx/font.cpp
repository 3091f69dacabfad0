#include "gfx/font.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

#include "data/registry.h"
#include "gfx/banners.h"
#include "gfx/draw.h"
#include "gfx/texture.h"
#include "platform/window.h"

namespace tessaly::gfx {

namespace {

using platform::RenderState;

constexpr int kFontDataSize = 4 + 256 + 256;
constexpr int kMaxCellsPerRow = 64;   // 4096 glyph cells, far more than 256 characters need
constexpr float kLineHeight = 1.8f;   // in units of the text size
constexpr float kTextDepth = 45;
constexpr float kHighlightDepth = 35;
constexpr float kGlyphDepth = 10;

uint32_t textColor() {
    const uint8_t* c = g_text.color;
    return modulateColor(c[0], c[1], c[2], c[3]);
}

float advanceOf(const Font& font, uint8_t c, float size) { return size * font.advance[c]; }

// One glyph quad centred on (x, y), half-width s and half-height 0.9 s,
// turned counter-clockwise by (cos, sin); the corners run top-left,
// top-right, bottom-left, bottom-right as a strip.
void glyphQuad(const Font& font, uint8_t c, float x, float y, float z, float s, float cs, float sn,
               uint32_t color) {
    const int n = font.cellsPerRow;
    const float uLeft = float(font.cell[c] % n) / float(n);
    const float vTop = float(font.cell[c] / n) / float(n);
    const float f = font.cellFraction;
    const float corners[4][2] = {{-s, 0.9f * s}, {s, 0.9f * s}, {-s, -0.9f * s}, {s, -0.9f * s}};
    const float uv[4][2] = {{uLeft, vTop}, {uLeft + f, vTop}, {uLeft, vTop + f}, {uLeft + f, vTop + f}};
    platform::VertexPCT v[4];
    for (int i = 0; i < 4; ++i) {
        const float lx = corners[i][0], ly = corners[i][1];
        v[i] = {x + lx * cs - ly * sn, y + lx * sn + ly * cs, z, color, uv[i][0], uv[i][1]};
    }
    g_draw.triangleCount += 2;
    g_draw.device->drawPrimitive(platform::Primitive::TriangleStrip,
                                     platform::VertexFormat::PosColorTex, v, 4);
}

// Length of the line break at text[i] (CR LF or a lone CR: 2, the CR
// swallowing the byte after it; LF: 1), 0 when there is none.
size_t lineBreakAt(std::string_view text, size_t i) {
    if (text[i] == '\r') return 2;
    if (text[i] == '\n') return 1;
    return 0;
}

}  // namespace

bool parseFontData(const uint8_t* bytes, int size, Font& out) {
    if (!bytes || size < kFontDataSize) return false;
    int32_t n;
    std::memcpy(&n, bytes, sizeof n);  // little-endian like the machine
    if (n < 1 || n > kMaxCellsPerRow) return false;
    out.cellsPerRow = n;
    out.cellFraction = 1.0f / float(n);
    for (int c = 0; c < 256; ++c) {
        out.advance[c] = float(bytes[4 + c]) * 2 / (512.0f / float(n));
        out.cell[c] = bytes[260 + c];
    }
    return true;
}

void loadFont(std::string_view name) {
    if (g_text.fontCount >= kMaxFonts) {
        std::fprintf(stderr, "Font %.*s not loaded: %d fonts are already loaded\n", int(name.size()),
                     name.data(), kMaxFonts);
        return;
    }
    const std::string base(name);
    Font font;
    font.texture = loadTexture(base + ".tga");
    const std::string dataName = base + ".dat";
    int32_t size = 0;
    const uint8_t* bytes = data::loadDataFile(dataName, &size, true);
    if (!parseFontData(bytes, size, font))
        platform::fatalError("The font file " + dataName + " is damaged.\nProgram will now stop.",
                             "Loading Error", 1);
    data::releaseDataEntry(bytes);

    Font& slot = g_text.fonts[size_t(g_text.fontCount++)];
    slot = font;
    g_text.current = &slot;
    setTextColor(255, 255, 255, 255);
    g_text.highlight = loadTexture("podsvet.jpg");
    g_text.pen = 0;
    g_text.scale = 1;
    // Letters laid out with the old font's widths would be out of place.
    clearBanners();
}

void selectFont(int index) {
    if (g_text.fontCount == 0) return;
    if (index >= g_text.fontCount) index = g_text.fontCount - 1;
    if (index < 0) index = 0;
    g_text.current = &g_text.fonts[size_t(index)];
}

void setTextColor(int r, int g, int b, int a) {
    g_text.color[0] = uint8_t(r);
    g_text.color[1] = uint8_t(g);
    g_text.color[2] = uint8_t(b);
    g_text.color[3] = uint8_t(a);
}

void setTextColorPacked(uint32_t argb) {
    setTextColor(int((argb >> 16) & 0xFF), int((argb >> 8) & 0xFF), int(argb & 0xFF), int(argb >> 24));
}

void setTextSize(float size) { g_text.size = size; }

float textWidth(std::string_view text, float size) {
    const Font* font = g_text.current;
    if (!font) return 0;
    float w = 0;
    for (char c : text) w += advanceOf(*font, uint8_t(c), size);
    return w;
}

void drawText(float x, float y, float size, std::string_view text, bool centred) {
    if (centred) {
        drawTextCentred(x, y, size, text);
        return;
    }
    const Font* font = g_text.current;
    if (!font) return;
    setTexture(font->texture);
    const uint32_t color = textColor();
    const float s = size * g_text.scale;
    float& pen = g_text.pen;
    pen = 0;
    for (size_t i = 0; i < text.size();) {
        if (const size_t skip = lineBreakAt(text, i)) {
            i += skip;
            y -= kLineHeight * size;
            // The next glyph then lands with its centre on x.
            pen = i < text.size() ? -advanceOf(*font, uint8_t(text[i]), size) / 2 : 0;
            continue;
        }
        const uint8_t c = uint8_t(text[i]);
        if (i > 0) pen += advanceOf(*font, c, size) / 2;
        glyphQuad(*font, c, x + pen, y, kTextDepth, s, 1, 0, color);
        pen += advanceOf(*font, c, size) / 2;
        ++i;
    }
}

void drawTextCentred(float x, float y, float size, std::string_view text) {
    const Font* font = g_text.current;
    if (!font) return;
    setTexture(font->texture);
    const uint32_t color = textColor();
    const float s = size * g_text.scale;
    size_t lineStart = 0;
    while (lineStart < text.size()) {
        size_t lineEnd = lineStart;
        while (lineEnd < text.size() && !lineBreakAt(text, lineEnd)) ++lineEnd;
        const std::string_view line = text.substr(lineStart, lineEnd - lineStart);
        float pen = -textWidth(line, size) / 2 + size / 2;
        for (size_t i = 0; i < line.size(); ++i) {
            const uint8_t c = uint8_t(line[i]);
            if (i > 0) pen += advanceOf(*font, c, size) / 2;
            glyphQuad(*font, c, x + pen, y, kTextDepth, s, 1, 0, color);
            pen += advanceOf(*font, c, size) / 2;
        }
        g_text.pen = pen;
        if (lineEnd >= text.size()) break;
        lineStart = lineEnd + lineBreakAt(text, lineEnd);
        y -= kLineHeight * size;
    }
}

void drawTextWithHighlight(float x, float y, float size, uint32_t argb, std::string_view text,
                           bool centred) {
    const float w = textWidth(text, size);
    if (centred) x = x - w / 2 + size / 2;
    drawText(x, y, size, text);
    g_draw.device->setRenderState(RenderState::SrcBlend, platform::BlendSrcAlpha);
    g_draw.device->setRenderState(RenderState::DstBlend, platform::BlendOne);
    g_draw.device->setRenderState(RenderState::AlphaTest, 0);
    setTexture(g_text.highlight);
    const float left = x + 0.2f * size - 3 * size, right = x + 0.2f * size + w + size;
    const float top = y + 5 + size, bottom = y + 5 - size;
    drawRect(left, top, right, bottom, 0, 0, 1, 1, argb, kTextDepth);
    setBlendMode(0);
    g_draw.device->setRenderState(RenderState::AlphaTest, 1);
}

void drawHighlightRect(float x0, float y0, float x1, float y1, uint32_t argb) {
    g_draw.device->setRenderState(RenderState::SrcBlend, platform::BlendSrcAlpha);
    g_draw.device->setRenderState(RenderState::DstBlend, platform::BlendOne);
    g_draw.device->setRenderState(RenderState::AlphaTest, 1);
    setTexture(g_text.highlight);
    drawRect(x0, y0, x1, y1, 0, 0, 1, 1, argb, kHighlightDepth);
    setBlendMode(0);
}

float wrapText(float maxWidth, std::string_view text, float size) {
    char* buffer = g_text.wrapBuffer;
    const size_t length = std::min(text.size(), size_t(kWrapBufferSize - 1));
    std::memcpy(buffer, text.data(), length);
    buffer[length] = '\0';
    const Font* font = g_text.current;
    const float lineHeight = kLineHeight * size;
    float height = lineHeight;
    if (!font) return height;

    // Greedy: a line that grows too wide breaks at its last space; a single
    // word wider than the line has nowhere to break and stays as it is.
    size_t lineStart = 0;
    size_t lastSpace = std::string_view::npos;
    float width = 0;
    for (size_t i = 0; i < length; ++i) {
        const char c = buffer[i];
        if (c == '\r' || c == '\n') {
            if (c == '\r' && i + 1 < length && buffer[i + 1] == '\n') ++i;
            height += lineHeight;
            width = 0;
            lineStart = i + 1;
            lastSpace = std::string_view::npos;
            continue;
        }
        width += advanceOf(*font, uint8_t(c), size);
        if (width > maxWidth && lastSpace != std::string_view::npos) {
            buffer[lastSpace] = '\n';
            height += lineHeight;
            lineStart = lastSpace + 1;
            lastSpace = std::string_view::npos;
            width = 0;
            for (size_t k = lineStart; k <= i; ++k) width += advanceOf(*font, uint8_t(buffer[k]), size);
        }
        if (c == ' ') lastSpace = i;
    }
    return height;
}

void drawRotatedChar(uint8_t c, float x, float y, float angleDeg, float size, uint32_t argb) {
    const Font* font = g_text.current;
    if (!font) return;
    setTexture(font->texture);
    const float a = angleDeg * base::kDegToRad;
    glyphQuad(*font, c, x, y, kGlyphDepth, size * g_text.scale, std::cos(a), std::sin(a),
              modulateColor(argb));
}

}  // namespace tessaly::gfx
