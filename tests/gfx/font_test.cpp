#include <gtest/gtest.h>

#include <string>

#include "data/registry.h"
#include "gfx/banners.h"
#include "gfx/draw.h"
#include "gfx/font.h"
#include "gfx/texture.h"
#include "support/test_support.h"

namespace tessaly::gfx {
namespace {

using platform::RecordedVertex;
using platform::RenderState;
using test::Bytes;

// A font of 16 x 16 cells; every character in its own cell (cell = code).
// Widths in texels of a 512-wide texture: A 64 (advance 4), B 32 (2),
// space 16 (1), everything else 32.
Bytes fontData(int cellsPerRow = 16) {
    Bytes b(4 + 512, 0);
    b[0] = uint8_t(cellsPerRow);
    for (int c = 0; c < 256; ++c) {
        b[size_t(4 + c)] = 32;
        b[size_t(260 + c)] = uint8_t(c);
    }
    b[4 + 'A'] = 64;
    b[4 + ' '] = 16;
    return b;
}

class Fonts : public test::NullDeviceTest {
protected:
    void SetUp() override {
        NullDeviceTest::SetUp();
        m_folder.write("font.tga", test::makeTga(2, 2, Bytes(16, 255)));
        m_folder.write("font.dat", fontData());
        m_folder.write("podsvet.jpg", test::makeJpeg(8, 8, 255, 255, 255));
        m_device.recordVertices = true;
    }

    void loadTestFont() {
        loadFont("font");
        m_device.clearRecording();
    }
    // Centre of recorded quad i.
    base::Vec2 centreOf(size_t i) const {
        const platform::RecordedCall& call = m_device.calls[i];
        base::Vec2 sum;
        for (int k = 0; k < call.vertexCount; ++k) {
            const RecordedVertex& v = m_device.vertices[size_t(call.firstVertex + k)];
            sum = sum + base::Vec2{v.x, v.y};
        }
        return sum / float(call.vertexCount);
    }
    const RecordedVertex& vertex(size_t call, int k) const {
        return m_device.vertices[size_t(m_device.calls[call].firstVertex + k)];
    }
};

TEST(FontData, ParsesWidthsAndCellsAndRefusesDamage) {
    Font f;
    const Bytes good = fontData();
    ASSERT_TRUE(parseFontData(good.data(), int(good.size()), f));
    EXPECT_EQ(f.cellsPerRow, 16);
    EXPECT_FLOAT_EQ(f.cellFraction, 1.0f / 16);
    EXPECT_FLOAT_EQ(f.advance[uint8_t('A')], 4);
    EXPECT_FLOAT_EQ(f.advance[uint8_t(' ')], 1);
    EXPECT_EQ(f.cell[200], 200);

    EXPECT_FALSE(parseFontData(good.data(), int(good.size()) - 1, f));
    for (int n : {0, -1, 65}) {
        Bytes bad = good;
        bad[0] = uint8_t(n), bad[1] = bad[2] = bad[3] = uint8_t(n < 0 ? 0xFF : 0);
        EXPECT_FALSE(parseFontData(bad.data(), int(bad.size()), f)) << n;
    }
}

TEST_F(Fonts, LoadingMakesTheFontCurrentAndResetsTheTextState) {
    g_banners.letters[0].lifeMs = 3000;
    setTextColor(1, 2, 3, 4);
    g_text.scale = 3;
    loadFont("font");
    ASSERT_EQ(g_text.fontCount, 1);
    EXPECT_EQ(g_text.current, &g_text.fonts[0]);
    EXPECT_NE(g_text.current->texture, nullptr);
    EXPECT_NE(g_text.highlight, nullptr);
    EXPECT_EQ(g_text.color[0], 255);
    EXPECT_EQ(g_text.color[3], 255);
    EXPECT_EQ(g_text.scale, 1);
    EXPECT_EQ(g_banners.letters[0].lifeMs, 0);  // banners laid out with the old font go
    EXPECT_EQ(data::findDataEntry("font.dat"), nullptr);
}

TEST_F(Fonts, DamagedOrMissingFontDataStopsTheProgram) {
    m_folder.write("cut.tga", test::makeTga(2, 2, Bytes(16, 255)));
    Bytes cut = fontData();
    cut.resize(300);
    m_folder.write("cut.dat", cut);
    EXPECT_EXIT(loadFont("cut"), testing::ExitedWithCode(1), "cut.dat is damaged");
    m_folder.write("nodat.tga", test::makeTga(2, 2, Bytes(16, 255)));
    EXPECT_EXIT(loadFont("nodat"), testing::ExitedWithCode(1), "Can't load nodat.dat");
    EXPECT_EXIT(loadFont("absent"), testing::ExitedWithCode(1), "Couldn't load texture: absent.tga");
}

TEST_F(Fonts, SelectFontClampsToTheLoadedFonts) {
    loadFont("font");
    selectFont(1);  // one font: 0 and 1 both select it
    EXPECT_EQ(g_text.current, &g_text.fonts[0]);
    m_folder.write("small.tga", test::makeTga(2, 2, Bytes(16, 255)));
    m_folder.write("small.dat", fontData(8));
    loadFont("small");
    selectFont(0);
    EXPECT_EQ(g_text.current, &g_text.fonts[0]);
    selectFont(2);
    EXPECT_EQ(g_text.current, &g_text.fonts[1]);
    selectFont(7);
    EXPECT_EQ(g_text.current, &g_text.fonts[1]);

    loadFont("font");
    loadFont("font");
    testing::internal::CaptureStderr();
    loadFont("small");  // a fifth font does not fit
    EXPECT_NE(testing::internal::GetCapturedStderr().find("not loaded"), std::string::npos);
    EXPECT_EQ(g_text.fontCount, kMaxFonts);
    EXPECT_EQ(g_text.current, &g_text.fonts[3]);
}

TEST_F(Fonts, LeftAnchoredTextAdvancesByHalfWidths) {
    loadTestFont();
    drawText(100, 50, 10, "AB");
    ASSERT_EQ(m_device.calls.size(), 2u);
    EXPECT_FLOAT_EQ(centreOf(0).x, 100);
    EXPECT_FLOAT_EQ(centreOf(1).x, 100 + 10 * (4 + 2) / 2.0f);
    EXPECT_FLOAT_EQ(centreOf(1).y, 50);
    // The glyph of A (cell 65: column 1, row 4), half-width 10, half-height 9.
    const RecordedVertex& topLeft = vertex(0, 0);
    EXPECT_FLOAT_EQ(topLeft.x, 90);
    EXPECT_FLOAT_EQ(topLeft.y, 59);
    EXPECT_FLOAT_EQ(topLeft.z, 45);
    EXPECT_FLOAT_EQ(topLeft.u, 1 / 16.0f);
    EXPECT_FLOAT_EQ(topLeft.v, 4 / 16.0f);
    EXPECT_FLOAT_EQ(vertex(0, 3).u, 2 / 16.0f);
    EXPECT_FLOAT_EQ(vertex(0, 3).v, 5 / 16.0f);
    EXPECT_EQ(m_device.calls[0].texture, g_text.current->texture->texture);
    EXPECT_FLOAT_EQ(textWidth("AB ", 10), 70);
}

TEST_F(Fonts, LineBreaksStartTheNextLineUnderTheFirstGlyph) {
    loadTestFont();
    struct Case {
        const char* text;
        size_t glyphs;
    };
    const Case cases[] = {{"AB\r\nBA", 4}, {"AB\nBA", 4}, {"AB\rXBA", 4}};  // a lone CR eats the X
    for (const Case& c : cases) {
        m_device.clearRecording();
        drawText(0, 0, 10, c.text);
        ASSERT_EQ(m_device.calls.size(), c.glyphs) << c.text;
        EXPECT_FLOAT_EQ(centreOf(2).x, 0) << c.text;  // B centred on x again
        EXPECT_FLOAT_EQ(centreOf(2).y, -18) << c.text;
        EXPECT_FLOAT_EQ(centreOf(3).x, 10 * (2 + 4) / 2.0f) << c.text;
    }
}

TEST_F(Fonts, CentredTextCentresEachLine) {
    loadTestFont();
    drawText(0, 0, 10, "AB\r\nB", true);
    ASSERT_EQ(m_device.calls.size(), 3u);
    // Line 1 is 60 wide: the pen starts at -30 + 5, A at -25, B at 5.
    EXPECT_FLOAT_EQ(centreOf(0).x, -25);
    EXPECT_FLOAT_EQ(centreOf(1).x, 5);
    // Line 2 is 20 wide: B at -10 + 5.
    EXPECT_FLOAT_EQ(centreOf(2).x, -5);
    EXPECT_FLOAT_EQ(centreOf(2).y, -18);
}

TEST_F(Fonts, TextColourGoesThroughTheColourMultiplier) {
    loadTestFont();
    setTextColor(255, 128, 0, 255);
    setColorMultiplier(1, 1, 1, 0.5f);
    drawText(0, 0, 10, "A");
    drawRotatedChar('A', 0, 0, 0, 10, 0xFF102030u);
    EXPECT_EQ(vertex(0, 0).color, 0x7FFF8000u);
    EXPECT_EQ(vertex(1, 0).color, 0x7F102030u);
}

TEST_F(Fonts, HighlightsAreAdditiveAndRestoreNormalBlending) {
    loadTestFont();
    begin2D();
    drawTextWithHighlight(0, 0, 10, 0xFF00FF00u, "AB", false);
    ASSERT_EQ(m_device.calls.size(), 3u);
    const platform::RecordedCall& bar = m_device.calls[2];
    EXPECT_EQ(bar.texture, g_text.highlight->texture);
    EXPECT_EQ(bar.state(RenderState::DstBlend), uint32_t(platform::BlendOne));
    EXPECT_EQ(bar.state(RenderState::AlphaTest), 0u);
    float left = 1e9f, right = -1e9f, top = -1e9f, bottom = 1e9f;
    for (int k = 0; k < 4; ++k) {
        const RecordedVertex& v = vertex(2, k);
        left = std::min(left, v.x), right = std::max(right, v.x);
        top = std::max(top, v.y), bottom = std::min(bottom, v.y);
    }
    EXPECT_FLOAT_EQ(left, 2 - 30);
    EXPECT_FLOAT_EQ(right, 2 + 60 + 10);
    EXPECT_FLOAT_EQ(top, 15);
    EXPECT_FLOAT_EQ(bottom, -5);
    EXPECT_EQ(m_device.renderState(RenderState::DstBlend), uint32_t(platform::BlendInvSrcAlpha));
    EXPECT_EQ(m_device.renderState(RenderState::AlphaTest), 1u);

    drawHighlightRect(-10, 10, 10, -10, 0xFFFFFFFFu);
    EXPECT_EQ(m_device.calls[3].state(RenderState::DstBlend), uint32_t(platform::BlendOne));
    EXPECT_FLOAT_EQ(vertex(3, 0).z, 35);
    EXPECT_EQ(m_device.renderState(RenderState::DstBlend), uint32_t(platform::BlendInvSrcAlpha));
}

TEST_F(Fonts, RotatedGlyphsTurnAboutTheirCentre) {
    loadTestFont();
    drawRotatedChar('A', 100, 0, 90, 10, 0xFFFFFFFFu);
    const RecordedVertex& topLeft = vertex(0, 0);  // (-10, +9) turned a quarter
    EXPECT_NEAR(topLeft.x, 91, 1e-4f);
    EXPECT_NEAR(topLeft.y, -10, 1e-4f);
    EXPECT_FLOAT_EQ(topLeft.z, 10);
    EXPECT_FLOAT_EQ(topLeft.u, 1 / 16.0f);
}

TEST_F(Fonts, WrapBreaksAtSpacesAndNeverOverruns) {
    loadTestFont();
    // Widths at size 1: A 4, B 2, space 1; "AB AB" is 13 wide.
    struct Case {
        const char* text;
        float maxWidth;
        const char* wrapped;
        int lines;
    };
    const Case cases[] = {
        {"AB AB AB", 14, "AB AB\nAB", 2},
        {"AB AB AB", 6, "AB\nAB\nAB", 3},
        {"AB AB AB", 100, "AB AB AB", 1},
        {"ABABABAB", 5, "ABABABAB", 1},  // one long word: nowhere to break
        {"AB\r\nAB AB", 10, "AB\r\nAB\nAB", 3},
    };
    for (const Case& c : cases) {
        const float height = wrapText(c.maxWidth, c.text, 1);
        EXPECT_STREQ(wrappedText(), c.wrapped) << c.text;
        EXPECT_FLOAT_EQ(height, 1.8f * float(c.lines)) << c.text;
    }
    const std::string huge(kWrapBufferSize * 2, 'A');
    wrapText(100000, huge, 1);
    EXPECT_EQ(std::string(wrappedText()).size(), size_t(kWrapBufferSize - 1));
}

}  // namespace
}  // namespace tessaly::gfx
