// The game's bitmap font, "font.tga" and "font.dat", rendered from DejaVu
// Sans with FreeType.
//
// Layout the game expects: a 512 x 512 texture of 16 x 16 cells of 32 px;
// "font.dat" holds int32 16, a width byte per code (the glyph's advance in
// texels) and a cell number per code (here simply the code itself). The game
// draws each glyph as a quad 2 x size wide and 1.8 x size high centred on
// the pen and maps the whole cell onto it, so:
//  - glyphs are rendered 1/0.9 taller than wide, which the quad's 0.9 aspect
//    squeezes back to the true proportions;
//  - each glyph's advance box is centred in its cell (the pen sits at the
//    middle of the advance), at a sub-pixel offset so no glyph drifts;
//  - all glyphs share one baseline, placed so a line of mixed capitals and
//    small letters is centred on the cell's middle, where the game puts y.
// Glyphs are white with the shape in alpha (the game multiplies by the text
// colour), over a soft dark shadow down and to the right (the house light
// comes from the top left) that keeps text legible on busy pictures.
//
// Codes covered: 0x20..0x7E and every printable Windows-1251 code above
// 0x7F; the rest have width 0 and a blank cell.
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H

#include <algorithm>
#include <array>
#include <cmath>
#include <stdexcept>
#include <vector>

#include "cp1251.h"
#include "datagen.h"
#include "image_io.h"

namespace datagen {
namespace {

constexpr int kCellsPerRow = 16;
constexpr int kCell = 32;                         // texels per cell
constexpr int kTextureSize = kCell * kCellsPerRow;  // 512, the width the game's widths refer to
constexpr double kEm = 21;                        // em size in texels, horizontally
constexpr double kStretch = 1 / 0.9;              // vertical pre-stretch
constexpr int kBaseline = 24;                     // baseline row inside a cell
constexpr int kMargin = 1;                        // texels kept clear at the cell's sides
constexpr int kSpacing = 1;                       // texels added to every advance
constexpr double kEmbolden = 0.6;                 // texels added to stems, for legibility at small sizes
constexpr double kShadowAlpha = 0.6;
constexpr double kShadowGrey = 0.07;              // shadow colour (of white)

using Coverage = std::array<float, kCell * kCell>;

struct Glyph {
    Coverage coverage{};
    int width = 0;  // width byte
};

class FreeType final {
public:
    explicit FreeType(const std::filesystem::path& fontPath) {
        if (FT_Init_FreeType(&m_library)) throw std::runtime_error("freetype: no library");
        if (FT_New_Face(m_library, fontPath.c_str(), 0, &m_face)) {
            FT_Done_FreeType(m_library);
            throw std::runtime_error("cannot read the font " + fontPath.string());
        }
    }
    ~FreeType() {
        FT_Done_Face(m_face);
        FT_Done_FreeType(m_library);
    }
    FreeType(const FreeType&) = delete;
    FreeType& operator=(const FreeType&) = delete;
    FT_Face face() const { return m_face; }

private:
    FT_Library m_library = nullptr;
    FT_Face m_face = nullptr;
};

// Renders one code point into a cell-sized coverage map; width 0 when the
// font lacks it.
Glyph renderGlyph(FT_Face face, char32_t code) {
    Glyph glyph;
    const FT_UInt index = FT_Get_Char_Index(face, code);
    if (index == 0) return glyph;

    // Advance first (unhinted, so widths follow the design exactly).
    FT_Set_Transform(face, nullptr, nullptr);
    if (FT_Load_Glyph(face, index, FT_LOAD_NO_HINTING)) return glyph;
    const double advance = face->glyph->linearHoriAdvance / 65536.0 + kEmbolden;
    const int width = int(std::lround(advance)) + kSpacing;

    // Ink wider than the cell allows is squeezed horizontally.
    const double inkWidth = face->glyph->metrics.width / 64.0 + kEmbolden;
    const double squeeze = std::min(1.0, (kCell - 2 * kMargin - 1) / std::max(inkWidth, 1.0));

    // Pen origin so the advance box is centred in the cell; the fraction
    // goes into the outline transform.
    const double originX = kCell / 2.0 - squeeze * advance / 2.0;
    const double whole = std::floor(originX);
    FT_Matrix matrix = {FT_Fixed(std::lround(squeeze * 65536)), 0, 0, 0x10000};
    FT_Vector delta = {FT_Pos(std::lround((originX - whole) * 64)), 0};
    FT_Set_Transform(face, &matrix, &delta);
    const bool loaded = !FT_Load_Glyph(face, index, FT_LOAD_NO_HINTING) &&
                        face->glyph->format == FT_GLYPH_FORMAT_OUTLINE &&
                        !FT_Outline_EmboldenXY(&face->glyph->outline,
                                               FT_Pos(std::lround(kEmbolden * squeeze * 64)),
                                               FT_Pos(std::lround(kEmbolden * kStretch * 64))) &&
                        !FT_Render_Glyph(face->glyph, FT_RENDER_MODE_NORMAL);
    FT_Set_Transform(face, nullptr, nullptr);
    if (!loaded) return glyph;

    const FT_Bitmap& bitmap = face->glyph->bitmap;
    int left = int(whole) + face->glyph->bitmap_left;
    const int top = kBaseline - face->glyph->bitmap_top;
    // Keep the ink inside the cell (a glyph with a far-reaching side bearing
    // moves rather than being cut).
    left = std::clamp(left, kMargin, std::max(kMargin, kCell - kMargin - int(bitmap.width)));
    // Ink must stay off the cell's outer rows: the game filters the texture,
    // and anything there would bleed into the neighbouring cell.
    if (top < kMargin || top + int(bitmap.rows) > kCell - kMargin)
        throw std::runtime_error("glyph U+" + std::to_string(uint32_t(code)) +
                                 " does not fit its font cell");
    for (unsigned row = 0; row < bitmap.rows; ++row) {
        for (unsigned col = 0; col < bitmap.width; ++col) {
            const int x = left + int(col), y = top + int(row);
            if (x < 0 || x >= kCell) continue;
            glyph.coverage[size_t(y * kCell + x)] =
                bitmap.buffer[size_t(row) * size_t(std::abs(bitmap.pitch)) + col] / 255.0f;
        }
    }
    glyph.width = width;
    return glyph;
}

// White glyph over its soft shadow, written into the cell at (cx, cy).
void drawCell(const Coverage& coverage, Image& texture, int cellX, int cellY) {
    // Shadow: the shape spread by one texel, offset down-right by one texel,
    // softened with a small blur.
    Coverage spread{};
    for (int y = 0; y < kCell; ++y) {
        for (int x = 0; x < kCell; ++x) {
            float m = 0;
            for (int dy = -1; dy <= 1; ++dy) {
                for (int dx = -1; dx <= 1; ++dx) {
                    const int sx = x + dx - 1, sy = y + dy - 1;
                    if (sx < 0 || sy < 0 || sx >= kCell || sy >= kCell) continue;
                    const float weight = (dx == 0 || dy == 0) ? 1.0f : 0.6f;
                    m = std::max(m, coverage[size_t(sy * kCell + sx)] * weight);
                }
            }
            spread[size_t(y * kCell + x)] = m;
        }
    }
    Coverage shadow{};
    for (int y = 0; y < kCell; ++y) {
        for (int x = 0; x < kCell; ++x) {
            float sum = 0, weights = 0;
            for (int dy = -1; dy <= 1; ++dy) {
                for (int dx = -1; dx <= 1; ++dx) {
                    const int sx = x + dx, sy = y + dy;
                    const float w = (dx == 0 ? 2.0f : 1.0f) * (dy == 0 ? 2.0f : 1.0f);
                    weights += w;
                    if (sx < 0 || sy < 0 || sx >= kCell || sy >= kCell) continue;
                    sum += spread[size_t(sy * kCell + sx)] * w;
                }
            }
            shadow[size_t(y * kCell + x)] = sum / weights;
        }
    }
    for (int y = 0; y < kCell; ++y) {
        for (int x = 0; x < kCell; ++x) {
            const double g = coverage[size_t(y * kCell + x)];
            // The shadow's faint tail is cut at the cell's outer texels: the
            // texture filter would carry it into the neighbouring cell.
            const bool edge = x == 0 || y == 0 || x == kCell - 1 || y == kCell - 1;
            const double s = edge ? 0 : shadow[size_t(y * kCell + x)] * kShadowAlpha * (1 - g);
            const double alpha = g + s;
            uint8_t* p = texture.at(cellX * kCell + x, cellY * kCell + y);
            if (alpha <= 0) {
                p[0] = p[1] = p[2] = p[3] = 0;
                continue;
            }
            const double grey = (g * 1.0 + s * kShadowGrey) / alpha;
            p[0] = p[1] = p[2] = uint8_t(std::lround(std::clamp(grey, 0.0, 1.0) * 255));
            p[3] = uint8_t(std::lround(std::clamp(alpha, 0.0, 1.0) * 255));
        }
    }
}

}  // namespace

void generateFont(Output& out) {
    FreeType freetype(out.options().fontPath);
    FT_Face face = freetype.face();
    if (FT_Set_Char_Size(face, FT_F26Dot6(kEm * 64), FT_F26Dot6(kEm * kStretch * 64), 72, 72))
        throw std::runtime_error("freetype: cannot size the font");

    Image texture(kTextureSize, kTextureSize);
    Bytes data(4 + 256 + 256, 0);
    data[0] = kCellsPerRow;  // int32 16, little-endian
    for (int code = 0; code < 256; ++code) {
        data[4 + 256 + size_t(code)] = uint8_t(code);  // cell number = code
        const auto unicode = cp1251ToUnicode(uint8_t(code));
        if (!unicode) continue;
        const bool blank = *unicode == 0x20 || *unicode == 0xA0;
        Glyph glyph = renderGlyph(face, blank ? 0x20 : *unicode);
        if (glyph.width == 0)
            throw std::runtime_error("the font has no glyph for code " + std::to_string(code));
        data[4 + size_t(code)] = uint8_t(glyph.width);
        if (!blank) drawCell(glyph.coverage, texture, code % kCellsPerRow, code / kCellsPerRow);
    }
    out.addToPack("targa.dat", "font.tga", writeTga(texture));
    out.addToPack("texts.dat", "font.dat", data);
}

}  // namespace datagen
