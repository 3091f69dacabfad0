// The menus' atlas and fill in the generated data set (Data/ next to the
// binaries), read back through the game's registry and decoder: the atlas is
// the size the menus cut it by, every named cell holds its piece, pieces
// keep clear where the inset sampling would pick up a neighbour, the panel
// frame joins and stretches without seams, the pointer's tip is where the
// pointer is, added light stays black where it is transparent, and the fill
// tiles.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>

#include "gfx/texture.h"
#include "tools/data_set_fixture.h"

namespace tessaly {
namespace {

constexpr int kCell = 64;

// A named cell and the sides of it that must stay transparent (2 pixels
// deep, or 4 for the panel's outer sides where the frame starts).
struct NamedCell {
    int number, column, row, columns, rows;
    int clearLeft, clearTop, clearRight, clearBottom;  // pixels that must be empty
};
constexpr NamedCell kCells[] = {
    {0, 0, 0, 1, 1, 4, 4, 0, 0},   {1, 1, 0, 1, 1, 0, 4, 4, 0},
    {2, 0, 1, 1, 1, 4, 0, 0, 4},   {3, 1, 1, 1, 1, 0, 0, 4, 4},
    {10, 0, 3, 2, 1, 0, 4, 0, 4},  {11, 0, 4, 2, 1, 0, 4, 0, 4},
    {12, 2, 3, 1, 2, 4, 0, 4, 0},  {13, 3, 3, 1, 2, 4, 0, 4, 0},
    {4, 0, 2, 1, 1, 0, 2, 0, 2},   {19, 3, 5, 1, 1, 2, 2, 2, 2},
    {14, 0, 7, 1, 1, 2, 2, 2, 2},  {15, 1, 7, 1, 1, 2, 2, 2, 2},
    {20, 1, 6, 1, 1, 2, 2, 2, 2},  {21, 1, 5, 1, 1, 2, 2, 2, 2},
    {22, 3, 7, 1, 1, 0, 0, 2, 2},  {23, 2, 7, 1, 1, 1, 1, 1, 1},
    {6, 2, 0, 1, 1, 2, 2, 2, 2},   {5, 1, 2, 1, 1, 2, 2, 2, 2},
    {16, 0, 5, 1, 1, 2, 2, 0, 2},  {17, 0, 6, 1, 1, 0, 2, 0, 2},
    {18, 2, 5, 1, 1, 0, 2, 2, 2},  {7, 3, 0, 1, 1, 2, 2, 2, 2},
    {8, 2, 1, 1, 1, 2, 2, 2, 2},
};

class MenuArt : public test::GeneratedDataSet {
protected:
    void SetUp() override {
        test::GeneratedDataSet::SetUp();
        m_atlas = picture("menutex.tga");
    }
    const uint8_t* at(int x, int y) const {
        return &m_atlas.pixels[(size_t(y) * size_t(m_atlas.width) + size_t(x)) * 4];
    }
    int alpha(int x, int y) const { return at(x, y)[3]; }
    // Largest difference in any channel between two atlas pixels.
    int difference(int x0, int y0, int x1, int y1) const {
        int d = 0;
        for (int c = 0; c < 4; ++c) d = std::max(d, std::abs(int(at(x0, y0)[c]) - int(at(x1, y1)[c])));
        return d;
    }

    gfx::Image m_atlas;
};

TEST_F(MenuArt, EveryNamedCellHoldsItsPieceAndKeepsClearWhereSamplingWouldBleed) {
    EXPECT_TRUE(packed("menutex.tga"));
    ASSERT_EQ(m_atlas.width, 256);
    ASSERT_EQ(m_atlas.height, 512);
    for (const NamedCell& cell : kCells) {
        SCOPED_TRACE("cell " + std::to_string(cell.number));
        const int x0 = cell.column * kCell, y0 = cell.row * kCell;
        const int w = cell.columns * kCell, h = cell.rows * kCell;
        int visible = 0, bleeding = 0;
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                const int a = alpha(x0 + x, y0 + y);
                visible += a > 32;
                if (x < cell.clearLeft || y < cell.clearTop || x >= w - cell.clearRight ||
                    y >= h - cell.clearBottom)
                    bleeding += a > 0;
            }
        }
        EXPECT_GT(visible, w * h / 40) << "no visible piece";
        EXPECT_EQ(bleeding, 0) << "content where the cell must stay clear";
    }
}

TEST_F(MenuArt, PanelFrameJoinsAndStretchesWithoutSeams) {
    ASSERT_EQ(m_atlas.width, 256);
    // Where a corner meets an edge piece, the two carry the same column or
    // row of pixels; along its side an edge piece never changes.
    const struct {
        const char* where;
        int cornerX, cornerY;  // first pixel of the corner's inner column or row
        int edgeX, edgeY;      // first pixel of the matching edge column or row
        bool column;           // compare columns (top and bottom) or rows (sides)
    } joins[] = {
        {"top-left to top", 63, 0, 0, 192, true},       {"top-right to top", 64, 0, 127, 192, true},
        {"bottom-left to bottom", 63, 64, 0, 256, true}, {"bottom-right to bottom", 64, 64, 127, 256, true},
        {"top-left to left", 0, 63, 128, 192, false},   {"bottom-left to left", 0, 64, 128, 319, false},
        {"top-right to right", 64, 63, 192, 192, false}, {"bottom-right to right", 64, 64, 192, 319, false},
    };
    for (const auto& j : joins) {
        int worst = 0;
        for (int k = 0; k < kCell; ++k) {
            worst = j.column ? std::max(worst, difference(j.cornerX, j.cornerY + k, j.edgeX, j.edgeY + k))
                             : std::max(worst, difference(j.cornerX + k, j.cornerY, j.edgeX + k, j.edgeY));
        }
        EXPECT_LE(worst, 2) << j.where;
    }
    // Stretchable pieces: every column (or row) the same as the first.
    const struct {
        const char* what;
        int x, y, w, h;
        bool alongX;
    } strips[] = {
        {"top edge", 0, 192, 128, 64, true},     {"bottom edge", 0, 256, 128, 64, true},
        {"left edge", 128, 192, 64, 128, false}, {"right edge", 192, 192, 64, 128, false},
        {"slider track", 0, 128, 64, 64, true},  {"text field middle", 0, 384, 64, 64, true},
    };
    for (const auto& s : strips) {
        int worst = 0;
        for (int a = 1; a < (s.alongX ? s.w : s.h); ++a)
            for (int b = 0; b < (s.alongX ? s.h : s.w); ++b)
                worst = s.alongX ? std::max(worst, difference(s.x + a, s.y + b, s.x, s.y + b))
                                 : std::max(worst, difference(s.x + b, s.y + a, s.x + b, s.y));
        EXPECT_LE(worst, 2) << s.what;
    }
    // The band lies 4..20 pixels in from the outer side: solid in its
    // middle, clear outside it and on the panel's inside.
    for (int x = 0; x < 128; x += 9) {
        EXPECT_EQ(alpha(x, 192 + 12), 255) << "top edge, column " << x;
        EXPECT_EQ(alpha(x, 192 + 23), 0) << "top edge inside, column " << x;
        EXPECT_EQ(alpha(x, 256 + 51), 255) << "bottom edge, column " << x;
        EXPECT_EQ(alpha(x, 256 + 40), 0) << "bottom edge inside, column " << x;
    }
    EXPECT_EQ(alpha(32, 32), 0) << "the top-left corner's inside";
    EXPECT_EQ(alpha(6, 6), 0) << "outside the top-left corner's rounding";
}

TEST_F(MenuArt, PointerTipIsAtItsHotSpotAndTheGlowFollowsIt) {
    ASSERT_EQ(m_atlas.width, 256);
    const int px = 192, py = 448;  // cell 22
    int top = kCell, leftOfTop = kCell, right = 0, bottom = 0;
    for (int y = 0; y < kCell; ++y) {
        for (int x = 0; x < kCell; ++x) {
            if (alpha(px + x, py + y) < 64) continue;
            if (y < top) top = y, leftOfTop = x;
            right = std::max(right, x);
            bottom = std::max(bottom, y);
        }
    }
    EXPECT_LE(top, 1);
    EXPECT_NEAR(leftOfTop, 2, 1);
    EXPECT_NEAR(right - 2, 36, 6) << "about 36 pixels wide";
    EXPECT_NEAR(bottom - 1, 50, 6) << "about 50 pixels tall";
    // The glow (cell 23) lies round the same arrow and fades out before the
    // cell's edges.
    EXPECT_GT(alpha(128 + 10, 448 + 20), 64);
    int edge = 0;
    for (int k = 0; k < kCell; ++k)
        edge = std::max({edge, alpha(128 + k, 448), alpha(128 + k, 511), alpha(128, 448 + k), alpha(191, 448 + k)});
    EXPECT_EQ(edge, 0);
}

TEST_F(MenuArt, AddedLightIsBlackWhereItIsTransparent) {
    ASSERT_EQ(m_atlas.width, 256);
    // The corner glint (cell 6) and the glow band (cell 5): colour at most
    // 255 x sqrt(alpha), so adding by colour lights nothing alpha hides.
    for (const auto& [column, row] : {std::pair{2, 0}, {1, 2}}) {
        int tooBright = 0, brightest = 0;
        for (int y = 0; y < kCell; ++y) {
            for (int x = 0; x < kCell; ++x) {
                const uint8_t* p = at(column * kCell + x, row * kCell + y);
                const double limit = 255 * std::sqrt(p[3] / 255.0) + 1.5;
                for (int c = 0; c < 3; ++c) tooBright += p[c] > limit;
                brightest = std::max(brightest, int(p[2]));
            }
        }
        EXPECT_EQ(tooBright, 0) << "cell at " << column << ", " << row;
        EXPECT_GT(brightest, 200) << "cell at " << column << ", " << row;
    }
}

TEST_F(MenuArt, WindowFillIsDarkAndTilesSeamlessly) {
    EXPECT_TRUE(packed("winfill.jpg"));
    const gfx::Image fill = picture("winfill.jpg");
    ASSERT_EQ(fill.width, 256);
    ASSERT_EQ(fill.height, 256);
    auto lum = [&](int x, int y) {
        const uint8_t* p = &fill.pixels[(size_t(y) * 256 + size_t(x)) * 4];
        return 0.114 * p[0] + 0.587 * p[1] + 0.299 * p[2];
    };
    double sum = 0, inner = 0, wrap = 0;
    for (int y = 0; y < 256; ++y) {
        for (int x = 0; x < 256; ++x) {
            sum += lum(x, y);
            if (x > 0) inner += std::fabs(lum(x, y) - lum(x - 1, y)) + std::fabs(lum(y, x) - lum(y, x - 1));
        }
        wrap += std::fabs(lum(0, y) - lum(255, y)) + std::fabs(lum(y, 0) - lum(y, 255));
    }
    EXPECT_LT(sum / (256 * 256), 80) << "a dark ground for light text";
    // Across the wrap, neighbours differ no more than neighbours anywhere.
    EXPECT_LT(wrap / (2 * 256), 1.5 * inner / (2 * 255 * 256));
}

}  // namespace
}  // namespace tessaly
