#include "game/panel.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "data/text.h"
#include "game/play_textures.h"
#include "game/play_view.h"
#include "gfx/draw.h"
#include "gfx/font.h"
#include "gfx/sprite_sheet.h"

namespace tessaly::game {

namespace {

constexpr float kDepth = 50.0f;
constexpr float kLabelSize = 14.0f;
constexpr int kGlowCell = 12;
constexpr int kBlendAdditive = 1;
constexpr float kBarTroughLeft = 7.0f / 128.0f;  // the fill's trough within the 128-texel picture
constexpr float kBarTroughWidth = 114.0f / 128.0f;
constexpr int kMaxHearts = 3;                     // more lives show as one heart and a count

void rect(const gfx::TextureEntry* texture, const base::Rect& r, float u0, float v0, float u1, float v1,
          uint32_t colour) {
    gfx::setTexture(texture);
    gfx::drawRect(r.left, r.top, r.right, r.bottom, u0, v0, u1, v1, colour, kDepth);
}

void label(const char* key, float x, float y, float size) {
    if (const char* text = data::findText(key)) gfx::drawTextCentred(x, y, size, text);
}

// A soft glow behind a button the pointer is over.
void hoverGlow(base::Vec2 at, float size, int alpha) {
    gfx::drawSheetSprite(at.x, at.y, 0, size, base::clampedArgb(255, 236, 190, alpha), kBlendAdditive, kGlowCell);
    gfx::setSheetBlend(0);
}

void drawNumbers(const PlayView& view, const GameState& game) {
    gfx::setTextColor(255, 226, 150, 255);
    label("score", 345, 279, kLabelSize);
    label("level", 345, 183, kLabelSize);
    label("lives", 343, 90, kLabelSize);

    char text[32];
    std::snprintf(text, sizeof text, "%i", view.score.value);
    if (view.score.running)
        gfx::setTextColor(255, 255, view.score.flickerBlue, 255);  // a flickering yellow while it runs
    else
        gfx::setTextColor(255, 255, 255, 255);
    gfx::drawTextCentred(345, 238, 15, text);

    std::snprintf(text, sizeof text, "%i", game.levelIndex + 1);
    gfx::setTextColor(255, 255, 255, 255);
    gfx::drawTextCentred(353, 149, 16, text);
}

void drawLives(const GameState& game, const PlayTextures& t) {
    const int lives = game.livesShown;
    const LivesBox box = livesBoxOf(game);
    if (box == LivesBox::Empty) return;
    if (box == LivesBox::LastLife) {
        gfx::setTextColor(255, 190, 150, 255);
        label("lastlife", 345, 55, 10);
        gfx::setTextColor(255, 255, 255, 255);
        return;
    }
    gfx::setTexture(t.heart);
    if (lives <= kMaxHearts) {
        for (int i = 0; i < lives; ++i)
            gfx::drawSprite(316.0f + 30.0f * float(i), 55, 0, 30, 30, 0, 0, 1, 1, 0xFFFFFFFFu, kDepth);
        return;
    }
    gfx::drawSprite(320, 55, 0, 30, 30, 0, 0, 1, 1, 0xFFFFFFFFu, kDepth);
    char text[24];
    std::snprintf(text, sizeof text, " X %i", lives);
    gfx::drawText(340, 52, 12, text);
}

void drawButtons(const PlayView& view, const GameState& game, const PlayTextures& t) {
    const PanelArea hovered = panelAreaAt(view.cursor);
    const float pulse = 0.5f + 0.5f * std::sin(view.clockMs * 0.006f);
    if (hovered == PanelArea::MenuButton) hoverGlow(base::centre(kMenuButtonArea), 96, 70);
    if (hovered == PanelArea::RelaxButton) hoverGlow(base::centre(kRelaxButtonArea), 84, 70);
    gfx::setTextColor(255, 246, 220, 255);
    label("menu", 350, -31, kLabelSize);
    gfx::setTextColor(255, 255, 255, 255);

    const bool asking = game.cursorMode == CursorMode::Question;
    if (asking || hovered == PanelArea::QuestionButton)
        hoverGlow(kQuestionButtonCentre, 52, asking ? 90 + int(120 * pulse) : 80);
    gfx::setTexture(t.question);
    gfx::drawSprite(kQuestionButtonCentre.x, kQuestionButtonCentre.y, 0, kQuestionButtonSize, kQuestionButtonSize,
                    0, 0, 1, 1, 0xFFFFFFFFu, kDepth);

    for (int s = 0; s < kSceneCount; ++s) {
        const base::Vec2 c = kSceneButtonCentres[s];
        if (sceneOfArea(hovered) == s) hoverGlow(c, 44, 70);
        gfx::setTexture(t.sceneButtons);
        gfx::drawSprite(c.x, c.y, 0, kSceneButtonSize, kSceneButtonSize, 0.25f * float(s), 0, 0.25f * float(s + 1),
                        1, 0xFFFFFFFFu, kDepth);
    }
    if (view.scene >= 0 && view.scene < kSceneCount) {
        const base::Vec2 c = kSceneButtonCentres[view.scene];
        gfx::drawSprite(c.x, c.y, 0, kSceneButtonSize, kSceneButtonSize, 0.75f, 0, 1, 1, 0xFFFFFFFFu, kDepth);
    }
}

// The hammer. Charging, it stands dimmed beside a gauge that fills with the
// charge, so that a nearly full charge can't pass for a ready hammer. Ready
// (the charge exactly 1), the charged picture shows in full with its glow
// pulsing, after a swell and a ring of light at the moment it became ready.
void drawHammer(const PlayView& view, const GameState& game, const PlayTextures& t) {
    const base::Rect& r = kHammerButtonArea;
    if (!game.level.hammerEnabled) {
        rect(t.hammerIdle, r, 0, 0, 1, 1, base::clampedArgb(255, 255, 255, 110));
        return;
    }
    const float c = std::clamp(game.hammerCharge, 0.0f, 1.0f);
    if (!hammerReady(game)) {
        rect(t.hammerIdle, r, 0, 0, 1, 1, base::clampedArgb(150, 150, 160, 255));
        const HammerGauge g = hammerGauge(c);
        gfx::setTexture(nullptr);
        auto plate = [](const base::Rect& q, uint32_t colour) {
            const base::Vec3 corners[4] = {{q.left, q.top, kDepth}, {q.right, q.top, kDepth},
                                           {q.right, q.bottom, kDepth}, {q.left, q.bottom, kDepth}};
            const uint32_t colours[4] = {colour, colour, colour, colour};
            gfx::drawQuadColors(corners, colours);
        };
        plate(g.trough, base::clampedArgb(20, 12, 6, 200));
        // From a dull brown to a warm amber as it fills.
        if (g.fill.top > g.fill.bottom)
            plate(g.fill, base::clampedArgb(150 + int(90 * c), 90 + int(80 * c), 40, 255));
        return;
    }
    const float since = view.hammerReadyMs;
    const float swell = since >= 0 && since < kHammerReadyPulseMs
                            ? 0.18f * std::sin(base::kPi * since / kHammerReadyPulseMs)
                            : 0.0f;
    const base::Vec2 mid = base::centre(r);
    const float hw = (r.right - r.left) / 2 * (1 + swell), hh = (r.top - r.bottom) / 2 * (1 + swell);
    const base::Rect big{mid.x - hw, mid.y + hh, mid.x + hw, mid.y - hh};
    rect(t.hammerCharged, big, 0, 0, 1, 1, 0xFFFFFFFFu);
    const bool armed = game.cursorMode == CursorMode::Hammer;
    const float glow = armed ? 1.0f : 0.55f + 0.45f * std::sin(view.clockMs * 0.005f);
    const int v = int(255 * glow);
    gfx::setBlendMode(1);
    rect(t.hammerGlow, big, 0, 0, 1, 1, base::clampedArgb(v, v, v, 255));
    gfx::setBlendMode(0);
    if (since >= 0 && since < kHammerReadyPulseMs) {
        const float k = since / kHammerReadyPulseMs;
        hoverGlow(mid, 70 + 130 * k, int(230 * (1 - k)));
    }
}

void drawLevelBar(const GameState& game, const PlayTextures& t) {
    rect(t.levelBarFrame, kLevelBarArea, 0, 0, 1, 1, 0xFFFFFFFFu);
    const LevelBarFill fill = levelBarFill(game.barShown);
    if (fill.rect.right > fill.rect.left) rect(t.levelBarFill, fill.rect, fill.uLeft, 0, fill.uRight, 1, 0xFFFFFFFFu);
}

}  // namespace

LivesBox livesBoxOf(const GameState& game) {
    const int lives = game.livesShown;
    // The last life lost (or being lost: the game-over sequence runs) leaves
    // the box empty rather than promising one more try.
    if (lives < 0 || (lives == 0 && game.defeatTimer != 0)) return LivesBox::Empty;
    if (lives == 0) return LivesBox::LastLife;
    return lives <= kMaxHearts ? LivesBox::Hearts : LivesBox::HeartAndCount;
}

bool hammerReady(const GameState& game) { return game.level.hammerEnabled && game.hammerCharge >= 1.0f; }

HammerGauge hammerGauge(float charge) {
    const base::Rect& r = kHammerButtonArea;
    HammerGauge g;
    g.trough = {r.left + 3, r.top - 10, r.left + 11, r.bottom + 10};
    const float k = std::clamp(charge, 0.0f, 1.0f);
    const float inner = g.trough.top - g.trough.bottom - 2;
    g.fill = {g.trough.left + 1, g.trough.bottom + 1 + inner * k, g.trough.right - 1, g.trough.bottom + 1};
    return g;
}

bool inRect(const base::Rect& r, base::Vec2 p) {
    const float top = std::max(r.top, r.bottom), bottom = std::min(r.top, r.bottom);
    return p.x >= r.left && p.x <= r.right && p.y <= top && p.y >= bottom;
}

PanelArea panelAreaAt(base::Vec2 p) {
    if (inRect(kScoreArea, p)) return PanelArea::Score;
    if (inRect(kLevelNumberArea, p)) return PanelArea::LevelNumber;
    if (inRect(kLivesArea, p)) return PanelArea::Lives;
    if (inRect(kLevelBarArea, p)) return PanelArea::LevelBar;
    if (inRect(kMenuButtonArea, p)) return PanelArea::MenuButton;
    const float half = kQuestionButtonSize / 2;
    if (std::fabs(p.x - kQuestionButtonCentre.x) <= half && std::fabs(p.y - kQuestionButtonCentre.y) <= half)
        return PanelArea::QuestionButton;
    if (inRect(kRelaxButtonArea, p)) return PanelArea::RelaxButton;
    // The scene buttons overlap by 5 units: the nearest centre wins.
    int nearest = -1;
    float best = kSceneButtonSize / 2;
    for (int s = 0; s < kSceneCount; ++s) {
        const base::Vec2 c = kSceneButtonCentres[s];
        const float dx = std::fabs(p.x - c.x);
        if (std::fabs(p.y - c.y) > kSceneButtonSize / 2 || dx > best) continue;
        if (nearest < 0 || dx < best) {
            nearest = s;
            best = dx;
        }
    }
    if (nearest >= 0) return PanelArea(int(PanelArea::SceneNight) + nearest);
    if (inRect(kHammerButtonArea, p)) return PanelArea::HammerButton;
    return PanelArea::None;
}

int sceneOfArea(PanelArea area) {
    switch (area) {
        case PanelArea::SceneNight: return 0;
        case PanelArea::SceneMorning: return 1;
        case PanelArea::SceneDay: return 2;
        default: return -1;
    }
}

LevelBarFill levelBarFill(float shown) {
    const float d = std::clamp(shown, 0.0f, 1.0f);
    const base::Rect& bar = kLevelBarArea;
    const float w = bar.right - bar.left;
    LevelBarFill f;
    f.uLeft = kBarTroughLeft;
    f.uRight = kBarTroughLeft + kBarTroughWidth * d;
    f.rect = {bar.left + w * f.uLeft, bar.top, bar.left + w * f.uRight, bar.bottom};
    return f;
}

base::Vec2 levelBarEdge(float shown) {
    const LevelBarFill f = levelBarFill(shown);
    return {f.rect.right, (kLevelBarArea.top + kLevelBarArea.bottom) / 2};
}

void drawPanel(const PlayView& view, const GameState& game, const PlayTextures& t) {
    gfx::setBlendMode(0);
    rect(t.panel, {300, 300, 400, -300}, 0, 0, 1, 1, 0xFFFFFFFFu);
    drawLevelBar(game, t);
    drawHammer(view, game, t);
    drawLives(game, t);
    drawButtons(view, game, t);
    drawNumbers(view, game);
    gfx::setTextColor(255, 255, 255, 255);
}

}  // namespace tessaly::game
