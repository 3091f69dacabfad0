// Tooltip balloons: requests, the two layouts and the drawing.
#include "base/copy_text.h"
#include "fx/balloon.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "data/text.h"
#include "gfx/button.h"
#include "gfx/draw.h"
#include "gfx/font.h"
#include "gfx/texture.h"

namespace tessaly::fx {

namespace {

// Depths of the box and its arrow. The arrow lies just behind the box, so
// the part of it under the box is hidden; both lie in front of everything
// else 2D drawing puts in the depth buffer (10 and beyond), so nothing but
// the box itself hides the arrow.
constexpr float kFillDepth = 2.0f;
constexpr float kFrameDepth = 1.9f;
constexpr float kArrowDepth = 3.0f;
constexpr float kButtonWidth = 140, kButtonHeight = 40, kButtonTextSize = 12;

void copyText(char (&out)[kBalloonTextSize], std::string_view text) { base::copyText(out, text); }

float singleLineWidth(const char* text) {
    return gfx::g_text.current ? gfx::textWidth(text, kBalloonTextHeight) : 0;
}

float wrappedHeight(const char* text, float width) {
    if (!gfx::g_text.current) return 1.8f * kBalloonTextHeight;
    return gfx::wrapText(width, text, kBalloonTextHeight);
}

// Distance from the centre of a w x h box to where the ray along unit d
// leaves it. Edges are tried top, left, bottom, right; the first hit wins.
float exitDistance(base::Vec2 d, float w, float h) {
    struct Edge {
        base::Vec2 normal;
        float distance;
        bool horizontal;
    };
    const Edge edges[4] = {{{0, 1}, h / 2, true}, {{-1, 0}, w / 2, false},
                           {{0, -1}, h / 2, true}, {{1, 0}, w / 2, false}};
    for (const Edge& e : edges) {
        const float c = d.x * e.normal.x + d.y * e.normal.y;
        if (c < 0.0001f) continue;  // parallel to the edge or running away from it
        const float t = e.distance / c;
        if (t < 0) continue;
        const base::Vec2 hit = d * t;
        const float along = e.horizontal ? std::fabs(hit.x) : std::fabs(hit.y);
        const float half = e.horizontal ? w / 2 : h / 2;
        if (along > half + 0.001f) continue;
        return t;
    }
    return 0;
}

void request(BalloonState& b, float x, float y, std::string_view text, std::string_view second,
             float maxWidth, bool arrow, float angle, bool growIn, bool button, int tipIndex) {
    BalloonRequest& r = b.request;
    r.anchor = {x, y};
    copyText(r.text, text);
    copyText(r.secondText, second);
    r.maxWidth = maxWidth;
    r.arrow = arrow;
    r.arrowAngle = angle;
    r.growIn = growIn;
    r.continueButton = button;
    r.tipIndex = tipIndex;
    r.requested = true;
}

struct CellUV {
    float u0, v0, u1, v1;
};

CellUV balloonCell(int column, int row) {
    return {float(column) / 4 + 0.003f, float(row) / 2 + 0.003f, float(column + 1) / 4 - 0.003f,
            float(row + 1) / 2 - 0.003f};
}

void drawCell(const CellUV& c, float cx, float cy, float w, float h) {
    gfx::drawRect(cx - w / 2, cy + h / 2, cx + w / 2, cy - h / 2, c.u0, c.v0, c.u1, c.v1, 0xFFFFFFFFu,
                  kFrameDepth);
}

// The pictures are looked up in the texture cache at each use (a short
// scan), so no pointer outlives a texture that was removed.
gfx::TextureEntry* balloonArt() { return gfx::loadTexture("baloon.tga"); }
gfx::TextureEntry* balloonFill() { return gfx::loadTexture("white.jpg"); }

}  // namespace

void showBalloon(BalloonState& b, float x, float y, std::string_view text, float maxWidth, bool arrow,
                 float arrowAngle, bool growIn) {
    request(b, x, y, text, {}, maxWidth, arrow, arrowAngle, growIn, false, -1);
}

void showBalloonWithContinue(BalloonState& b, float x, float y, std::string_view text, float maxWidth,
                             bool arrow, float arrowAngle, bool growIn) {
    request(b, x, y, text, {}, maxWidth, arrow, arrowAngle, growIn, true, -1);
}

void showTipBalloon(BalloonState& b, float x, float y, std::string_view text, std::string_view secondText,
                    float maxWidth, int tipIndex) {
    request(b, x, y, text, secondText, maxWidth, true, kAutomaticArrowAngle, true, true, tipIndex);
    const TipDemonstration& demo = b.demonstration;
    const bool running = demo.isRunning && demo.isRunning();
    if (!running && demo.start) demo.start(tipIndex);
}

BalloonLayout layoutBalloon(const BalloonRequest& r, float timeShownMs) {
    BalloonLayout l;
    l.anchor = r.anchor;
    // An anchor at the very centre has no direction toward the centre.
    if (length(l.anchor) < 1) l.anchor.x += 1;
    l.k = std::min(1.0f, timeShownMs / kBalloonAppearMs);

    if (r.tipIndex < 0) {
        float w = r.maxWidth;
        const float tw = singleLineWidth(r.text);
        if (tw < w - 64) w = tw + 64;
        float h = std::max(64.0f, wrappedHeight(r.text, w - 32) + 32);
        l.textHeight = h;
        if (r.continueButton) h += kBalloonButtonRoom;
        base::Vec2 d = r.arrowAngle > kAutomaticArrowAngle
                     ? base::Vec2{std::cos(r.arrowAngle * base::kDegToRad), std::sin(r.arrowAngle * base::kDegToRad)}
                     : -l.anchor;
        d = normalize(d);
        const float e = exitDistance(d, w, h);
        l.width = w;
        l.height = h;
        l.direction = d;
        l.boxCentre = d * (e + kBalloonGap);
    } else {
        const float w = r.maxWidth;
        const float h1 = wrappedHeight(r.text, w - 32) + 32;
        const float h2 = r.secondText[0] ? wrappedHeight(r.secondText, w - 32) + 32 : 0;
        const float h = h1 + h2 + kBalloonButtonRoom + kTipBoardRoom;
        const base::Vec2 d = l.anchor.x < 0 ? base::Vec2{1, 0} : base::Vec2{-1, 0};
        // Beside the anchor on the centre side, raised or lowered in
        // proportion to how far the anchor is below or above the centre.
        base::Vec2 v = {d.x * w / 2, (h / 2 - 64) * (-l.anchor.y / 300)};
        const float e = length(v);
        v = normalize(v);
        l.width = w;
        l.height = h;
        l.textHeight = h1;
        l.secondHeight = h2;
        l.direction = d;
        l.boxCentre = v * (e + kBalloonGap);
    }
    l.box = base::rectFromCentre(l.boxCentre, l.width, l.height);
    l.arrowOffset = l.direction * (64 * (1.3f + 0.1f * std::sin(0.01f * timeShownMs)));
    l.arrowAngle = base::angleOf(l.direction) + 180;
    l.textOffsetY = l.height == 64 ? 0 : l.height / 2 - 16 - kBalloonTextHeight;
    return l;
}

void drawBalloonFrame(const base::Rect& box, bool growIn) {
    platform::Device* device = gfx::g_draw.device;
    const float W = width(box), H = height(box);
    const float midX = (box.left + box.right) / 2, midY = (box.top + box.bottom) / 2;

    gfx::setTexture(balloonFill());
    const uint32_t fill = base::Color32(63, 30, 11, kBalloonFillAlpha).argb;
    auto fillRect = [&](float cx, float cy, float w, float h) {
        if (w <= 0 || h <= 0) return;
        gfx::drawRect(cx - w / 2, cy + h / 2, cx + w / 2, cy - h / 2, 0, 0, 1, 1, fill, kFillDepth);
    };
    fillRect(midX, box.top - 16, W - 64, 32);
    fillRect(midX, box.bottom + 16, W - 64, 32);
    fillRect(box.left + 16, midY, 32, H - 64);
    fillRect(box.right - 16, midY, 32, H - 64);
    fillRect(midX, midY, W - 64, H - 64);

    device->setRenderState(platform::RenderState::AlphaTest, 1);
    if (growIn) device->setRenderState(platform::RenderState::AlphaRef, 160);
    gfx::setTexture(balloonArt());
    drawCell(balloonCell(0, 0), box.left, box.top, 64, 64);
    drawCell(balloonCell(1, 0), box.right, box.top, 64, 64);
    drawCell(balloonCell(0, 1), box.left, box.bottom, 64, 64);
    drawCell(balloonCell(1, 1), box.right, box.bottom, 64, 64);
    if (W > 64) {
        drawCell(balloonCell(2, 0), midX, box.top, W - 64, 64);
        drawCell(balloonCell(2, 0), midX, box.bottom, W - 64, 64);
    }
    if (H > 64) {
        drawCell(balloonCell(3, 0), box.left, midY, 64, H - 64);
        drawCell(balloonCell(3, 0), box.right, midY, 64, H - 64);
    }
    device->setRenderState(platform::RenderState::AlphaRef, 1);
    device->setRenderState(platform::RenderState::AlphaTest, 0);
}

namespace {

// The continue button's centre in the balloon's frame.
base::Vec2 continueCentre(const BalloonLayout& l) { return {l.boxCentre.x, l.boxCentre.y - l.height / 2 + 32}; }

void drawBalloonLayout(const BalloonState& b, const BalloonLayout& l) {
    const BalloonRequest& r = b.current;
    platform::Device* device = gfx::g_draw.device;
    // The balloon's frame: origin at the anchor, scaled while growing in.
    const float scale = r.growIn ? l.k : 1.0f;
    base::Matrix frame = base::Matrix::identity();
    frame.m[0][0] = scale;
    frame.m[1][1] = scale;
    frame.m[3][0] = l.anchor.x;
    frame.m[3][1] = l.anchor.y;
    const base::Matrix previousWorld = device->transform(platform::TransformKind::World);
    device->setTransform(platform::TransformKind::World, frame);
    float previous[4];
    std::memcpy(previous, gfx::g_draw.colorMultiplier, sizeof previous);
    if (!r.growIn) gfx::setColorMultiplier(previous[0], previous[1], previous[2], previous[3] * l.k);

    device->setRenderState(platform::RenderState::DepthTest, 1);
    device->setRenderState(platform::RenderState::DepthWrite, 1);
    drawBalloonFrame(l.box, r.growIn);
    if (r.arrow) {
        gfx::setTexture(balloonArt());
        gfx::drawSprite(l.arrowOffset.x, l.arrowOffset.y, l.arrowAngle, 128, 64, 0.501f, 0.505f, 0.999f,
                        0.995f, 0xFFFFFFFFu, kArrowDepth);
    }
    device->setRenderState(platform::RenderState::DepthTest, 0);

    const float wrapWidth = l.width - 32;
    if (gfx::g_text.current) {
        gfx::setTextColor(255, 255, 255, 255);
        gfx::wrapText(wrapWidth, r.text, kBalloonTextHeight);
        gfx::drawTextCentred(l.boxCentre.x, l.boxCentre.y + l.textOffsetY, kBalloonTextHeight,
                             gfx::wrappedText());
        if (r.tipIndex >= 0 && r.secondText[0]) {
            gfx::wrapText(wrapWidth, r.secondText, kBalloonTextHeight);
            gfx::drawTextCentred(l.boxCentre.x, l.box.bottom + l.secondHeight + 50, kBalloonTextHeight,
                                 gfx::wrappedText());
        }
    }
    if (r.tipIndex >= 0 && b.demonstration.draw)
        b.demonstration.draw(l.boxCentre.x, l.boxCentre.y + l.height / 2 - l.textHeight - 76.8f);

    if (r.continueButton) {
        const base::Vec2 centre = continueCentre(l);
        const char* caption = data::findText("continue");
        gfx::drawMenuButton(centre.x, centre.y, kButtonWidth, kButtonHeight, kButtonTextSize,
                              caption ? caption : "Continue", b.continueHovered);
    }

    device->setTransform(platform::TransformKind::World, previousWorld);
    gfx::setColorMultiplier(previous[0], previous[1], previous[2], previous[3]);
    gfx::setTextColor(255, 255, 255, 255);
}

}  // namespace

void stepBalloon(BalloonState& b, float stepMs, base::Vec2 cursor) {
    BalloonRequest& r = b.request;
    if (!r.requested) {
        if (b.shown && b.shownTipIndex >= 0 && b.demonstration.end) b.demonstration.end();
        b.shown = false;
        b.shownTipIndex = -1;
        b.timeShownMs = 0;
        b.previousText[0] = 0;
        b.previousAnchor = {-10000, -100000};
        b.continueRect = {};
        b.continueHovered = false;
        return;
    }
    b.timeShownMs += stepMs;
    if (std::strcmp(r.text, b.previousText) != 0 || r.anchor.x != b.previousAnchor.x ||
        r.anchor.y != b.previousAnchor.y) {
        b.timeShownMs = 0;
        std::memcpy(b.previousText, r.text, sizeof b.previousText);
        b.previousAnchor = r.anchor;
    }
    const BalloonLayout layout = layoutBalloon(r, b.timeShownMs);
    b.continueRect = {};
    b.continueHovered = false;
    if (r.continueButton) {
        const base::Rect screenRect =
            base::offsetRect(base::rectFromCentre(continueCentre(layout), kButtonWidth, kButtonHeight), layout.anchor);
        b.continueRect = screenRect;
        b.continueHovered = cursor.x >= screenRect.left && cursor.x <= screenRect.right &&
                            cursor.y <= screenRect.top && cursor.y >= screenRect.bottom;
    }
    b.current = r;
    b.shown = true;
    b.shownTipIndex = r.tipIndex;
    r.requested = false;
    const TipDemonstration& demo = b.demonstration;
    if (r.tipIndex >= 0 && demo.step && demo.isRunning && demo.isRunning()) demo.step(stepMs);
}

void drawBalloon(const BalloonState& b) {
    if (b.shown) drawBalloonLayout(b, layoutBalloon(b.current, b.timeShownMs));
}

void updateBalloon(BalloonState& b, float stepMs, base::Vec2 cursor) {
    stepBalloon(b, stepMs, cursor);
    drawBalloon(b);
}

bool balloonContinueHit(const BalloonState& b, base::Vec2 p) {
    const base::Rect& r = b.continueRect;
    if (r.left == r.right) return false;
    return p.x >= r.left && p.x <= r.right && p.y <= r.top && p.y >= r.bottom;
}

void stepBalloon(float stepMs) {
    base::Vec2 cursor;
    gfx::screenToWorldCursor(&cursor.x, &cursor.y);
    stepBalloon(g_balloon, stepMs, cursor);
}

}  // namespace tessaly::fx
