#include "fx/balloon.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <string>

#include "gfx/draw.h"
#include "gfx/font.h"
#include "gfx/texture.h"
#include "support/test_support.h"

namespace tessaly::fx {
namespace {

// A font whose every glyph advances by one text size, so a text of n
// characters at size 11 is 11 n wide.
class BalloonTest : public test::NullDeviceTest {
protected:
    void SetUp() override {
        NullDeviceTest::SetUp();
        gfx::Font& font = gfx::g_text.fonts[0];
        for (float& a : font.advance) a = 1;
        gfx::g_text.fontCount = 1;
        gfx::g_text.current = &font;
        for (const char* name : {"baloon.tga", "white.jpg", "button.tga", "font.tga"})
            gfx::g_textures.create(name, 256, 128, gfx::kFormatA8R8G8B8, false);
        font.texture = gfx::g_textures.find("font.tga");
    }
    void TearDown() override {
        gfx::g_text.current = nullptr;
        gfx::g_text.fontCount = 0;
        NullDeviceTest::TearDown();
    }

    BalloonLayout layout(base::Vec2 anchor, const char* text, float angle = kAutomaticArrowAngle,
                         bool button = false) {
        BalloonState& b = *state;
        if (button)
            showBalloonWithContinue(b, anchor.x, anchor.y, text, 300, true, angle, true);
        else
            showBalloon(b, anchor.x, anchor.y, text, 300, true, angle, true);
        return layoutBalloon(b.request, 1000);
    }

    std::unique_ptr<BalloonState> state = std::make_unique<BalloonState>();
};

TEST_F(BalloonTest, AShortTextShrinksTheBoxToItsWidth) {
    const BalloonLayout l = layout({200, 100}, "Hammer");
    EXPECT_FLOAT_EQ(l.width, 6 * 11 + 64);
    EXPECT_FLOAT_EQ(l.height, 64);
    EXPECT_FLOAT_EQ(l.textOffsetY, 0);
    // The continue button adds its room below the text.
    EXPECT_FLOAT_EQ(layout({200, 100}, "Hammer", kAutomaticArrowAngle, true).height, 64 + 44.8f);
}

TEST_F(BalloonTest, ALongTextWrapsAtTheMaximumWidth) {
    const std::string text = "one two three four five six seven eight nine ten eleven twelve";
    const BalloonLayout l = layout({200, 100}, text.c_str());
    EXPECT_FLOAT_EQ(l.width, 300);
    const float wrapped = gfx::wrapText(300 - 32, text, 11);
    EXPECT_GT(wrapped, 1.8f * 11);
    EXPECT_FLOAT_EQ(l.height, wrapped + 32);
    EXPECT_FLOAT_EQ(l.textOffsetY, l.height / 2 - 16 - 11);
}

TEST_F(BalloonTest, BoxEdgeStandsBeyondTheArrowAlongItsDirection) {
    struct Case {
        base::Vec2 anchor;
        float angle;
        base::Vec2 direction;
    };
    const Case cases[] = {
        {{0, 0}, kAutomaticArrowAngle, {-1, 0}},  // the centre is moved right: points left
        {{120, 40}, 180, {-1, 0}},
        {{-300, 0}, kAutomaticArrowAngle, {1, 0}},
        {{0, 250}, kAutomaticArrowAngle, {0, -1}},
        {{300, 200}, kAutomaticArrowAngle, normalize(base::Vec2{-300, -200})},
    };
    for (const Case& c : cases) {
        const BalloonLayout l = layout(c.anchor, "Bomb", c.angle);
        EXPECT_NEAR(l.direction.x, c.direction.x, 1e-3);
        EXPECT_NEAR(l.direction.y, c.direction.y, 1e-3);
        // The point 89.6 units out along the direction lies on the box edge.
        const base::Vec2 p = l.direction * kBalloonGap;
        const bool onVertical = std::fabs(std::fabs(p.x - l.boxCentre.x) - l.width / 2) < 0.05f &&
                                std::fabs(p.y - l.boxCentre.y) <= l.height / 2 + 0.05f;
        const bool onHorizontal = std::fabs(std::fabs(p.y - l.boxCentre.y) - l.height / 2) < 0.05f &&
                                  std::fabs(p.x - l.boxCentre.x) <= l.width / 2 + 0.05f;
        EXPECT_TRUE(onVertical || onHorizontal) << c.anchor.x << "," << c.anchor.y;
        EXPECT_NEAR(l.arrowAngle, base::angleOf(c.direction) + 180, 1e-2);
    }
    // An arrow angle of 180 puts the box left of the anchor, its right edge
    // 89.6 units away.
    const BalloonLayout left = layout({120, 40}, "Bomb", 180);
    EXPECT_NEAR(left.box.right, -kBalloonGap, 1e-3);
    EXPECT_NEAR(centre(left.box).y, 0, 1e-3);
    EXPECT_NEAR(layout({0, 0}, "x").anchor.x, 1, 1e-6);
}

TEST_F(BalloonTest, TheArrowBobsBetweenItsTwoDistances) {
    showBalloon(*state, 100, 0, "Tip", 300, true, 180, false);
    float nearest = 1e9f, farthest = 0;
    for (float t = 0; t < 1000; t += 5) {
        const float d = length(layoutBalloon(state->request, t).arrowOffset);
        nearest = std::min(nearest, d);
        farthest = std::max(farthest, d);
    }
    EXPECT_NEAR(nearest, 76.8f, 0.1f);
    EXPECT_NEAR(farthest, 89.6f, 0.1f);
}

TEST_F(BalloonTest, TipBalloonStandsBesideItsAnchorOnTheCentreSide) {
    struct Case {
        base::Vec2 anchor;
        float side;  // sign of the box centre's x relative to the anchor
    };
    for (const Case& c : {Case{{-250, 150}, 1}, Case{{250, -150}, -1}}) {
        showTipBalloon(*state, c.anchor.x, c.anchor.y, "First text", "Second", 300, 2);
        const BalloonLayout l = layoutBalloon(state->request, 1000);
        const float h1 = 1.8f * 11 + 32, h2 = 1.8f * 11 + 32;
        EXPECT_FLOAT_EQ(l.height, h1 + h2 + 44.8f + 150);
        const base::Vec2 v = {c.side * 150, (l.height / 2 - 64) * (-c.anchor.y / 300)};
        const base::Vec2 expected = normalize(v) * (length(v) + kBalloonGap);
        EXPECT_NEAR(l.boxCentre.x, expected.x, 1e-2);
        EXPECT_NEAR(l.boxCentre.y, expected.y, 1e-2);
        EXPECT_FLOAT_EQ(l.direction.x, c.side);
    }
}

// A recording board demonstration for the tip balloon's seam.
struct DemoLog {
    int started = 0, ended = 0, drawn = 0, lastTip = -1;
    bool running = false;
};
DemoLog g_demo;

TEST_F(BalloonTest, TipBalloonStartsAndEndsItsDemonstration) {
    g_demo = {};
    state->demonstration.isRunning = [] { return g_demo.running; };
    state->demonstration.start = [](int tip) { ++g_demo.started, g_demo.lastTip = tip, g_demo.running = true; };
    state->demonstration.draw = [](float, float) { ++g_demo.drawn; };
    state->demonstration.end = [] { ++g_demo.ended, g_demo.running = false; };

    for (int frame = 0; frame < 3; ++frame) {
        showTipBalloon(*state, -200, 0, "Watch", "", 300, 4);
        updateBalloon(*state, 16, {});
    }
    EXPECT_EQ(g_demo.started, 1);
    EXPECT_EQ(g_demo.lastTip, 4);
    EXPECT_EQ(g_demo.drawn, 3);
    EXPECT_EQ(g_demo.ended, 0);
    updateBalloon(*state, 16, {});  // no request: the balloon and its demonstration go
    EXPECT_EQ(g_demo.ended, 1);
    updateBalloon(*state, 16, {});
    EXPECT_EQ(g_demo.ended, 1);
}

TEST_F(BalloonTest, AppearAnimationRestartsOnANewTextOrAnchor) {
    for (int i = 0; i < 5; ++i) {
        showBalloon(*state, 100, 50, "steady", 300, true, kAutomaticArrowAngle, true);
        updateBalloon(*state, 20, {});
    }
    EXPECT_FLOAT_EQ(state->timeShownMs, 80);  // the first frame starts at 0
    for (int i = 0; i < 4; ++i) {
        showBalloon(*state, 100, 50, i % 2 ? "ping" : "pong", 300, true, kAutomaticArrowAngle, true);
        updateBalloon(*state, 20, {});
        EXPECT_FLOAT_EQ(state->timeShownMs, 0);
    }
    showBalloon(*state, 101, 50, "pong", 300, true, kAutomaticArrowAngle, true);
    updateBalloon(*state, 20, {});
    EXPECT_FLOAT_EQ(state->timeShownMs, 0);
    updateBalloon(*state, 20, {});
    EXPECT_FLOAT_EQ(state->timeShownMs, 0);
    EXPECT_FALSE(state->shown);
}

TEST_F(BalloonTest, ContinueButtonRectangleIsStoredInScreenUnits) {
    m_device.recordVertices = true;
    showBalloonWithContinue(*state, 150, 20, "Well done", 300, true, 180, false);
    updateBalloon(*state, 16, {});
    const BalloonLayout l = layoutBalloon(state->request, 0);
    const base::Vec2 buttonCentre = {150 + l.boxCentre.x, 20 + l.boxCentre.y - l.height / 2 + 32};
    EXPECT_NEAR(centre(state->continueRect).x, buttonCentre.x, 1e-3);
    EXPECT_NEAR(centre(state->continueRect).y, buttonCentre.y, 1e-3);
    EXPECT_NEAR(width(state->continueRect), 140, 1e-3);
    EXPECT_NEAR(height(state->continueRect), 40, 1e-3);
    EXPECT_TRUE(balloonContinueHit(*state, buttonCentre));
    EXPECT_FALSE(balloonContinueHit(*state, {150, 20}));
    EXPECT_FALSE(m_device.calls.empty());
    // Everything the balloon set is put back.
    EXPECT_FLOAT_EQ(gfx::g_draw.colorMultiplier[3], 1);
    EXPECT_EQ(m_device.renderState(platform::RenderState::DepthTest), 0u);
    EXPECT_FLOAT_EQ(m_device.transform(platform::TransformKind::World).m[3][0], 0);
}

TEST_F(BalloonTest, BoxFrameIsFilledInsideAndFramedOnItsEdges) {
    m_device.recordVertices = true;
    const base::Rect box = {-100, 50, 100, -50};  // 200 x 100
    drawBalloonFrame(box, true);
    const auto& calls = m_device.calls;
    // Five fill quads (four strips and the middle), then four corners and
    // two of each edge.
    ASSERT_EQ(calls.size(), 13u);
    auto bounds = [&](size_t i) {
        base::Rect r = {1e9f, -1e9f, -1e9f, 1e9f};
        for (int v = 0; v < calls[i].vertexCount; ++v) {
            const auto& p = m_device.vertices[calls[i].firstVertex + v];
            r.left = std::min(r.left, p.x), r.right = std::max(r.right, p.x);
            r.top = std::max(r.top, p.y), r.bottom = std::min(r.bottom, p.y);
        }
        return r;
    };
    const base::Rect topStrip = bounds(0);
    EXPECT_FLOAT_EQ(topStrip.left, -68);
    EXPECT_FLOAT_EQ(topStrip.right, 68);
    EXPECT_FLOAT_EQ(topStrip.top, 50);
    EXPECT_FLOAT_EQ(topStrip.bottom, 18);
    EXPECT_EQ(m_device.vertices[calls[0].firstVertex].color, base::Color32(63, 30, 11, kBalloonFillAlpha).argb);
    const base::Rect topLeftCorner = bounds(5);
    EXPECT_FLOAT_EQ(topLeftCorner.left, -132);
    EXPECT_FLOAT_EQ(topLeftCorner.right, -68);
    EXPECT_FLOAT_EQ(topLeftCorner.top, 82);
    EXPECT_FLOAT_EQ(topLeftCorner.bottom, 18);
    // The frame is alpha tested at 160 while a balloon grows in; afterwards
    // the test is off again at reference 1.
    EXPECT_EQ(calls[5].state(platform::RenderState::AlphaRef), 160u);
    EXPECT_EQ(calls[5].state(platform::RenderState::AlphaTest), 1u);
    EXPECT_EQ(m_device.renderState(platform::RenderState::AlphaRef), 1u);
    EXPECT_EQ(m_device.renderState(platform::RenderState::AlphaTest), 0u);
}

}  // namespace
}  // namespace tessaly::fx
