// Sections: starting play | the frame step | drawing (backdrop, shades, the
// paused display, the menus over the board, tips, cursor) | input.
#include "game/play_screen.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "base/frame_clock.h"
#include "base/random.h"
#include "data/text.h"
#include "fx/balloon.h"
#include "fx/floating_text.h"
#include "fx/particles.h"
#include "fx/scene.h"
#include "fx/sparks.h"
#include "game/board_view.h"
#include "game/flow.h"
#include "game/moves.h"
#include "game/panel.h"
#include "game/play_textures.h"
#include "game/tips.h"
#include "gfx/banners.h"
#include "gfx/bolts.h"
#include "gfx/camera.h"
#include "gfx/draw.h"
#include "gfx/font.h"
#include "gfx/message_line.h"
#include "gfx/sprite_sheet.h"
#include "platform/window.h"
#include "sound/sound.h"

namespace tessaly::game {

namespace {

constexpr float kPauseShadeAlpha = 100.0f;   // the shade that fades out on resuming
constexpr float kPausedDimAlpha = 150.0f;    // the veil over the board while paused
constexpr float kSequenceShadeAlpha = 140.0f;
constexpr base::Rect kBoardArea{-400, 300, 300, -300};  // what the shades cover: the board, not the panel
constexpr int kScoreSparkPreset = 0;  // white twinkles round the running score
constexpr float kTextDepth = 45.0f;

bool endSequenceRunning(const GameState& game) { return game.completeTimer > 0 || game.defeatTimer > 0; }

void resetView(PlayView& view, int scene) {
    const base::Vec2 cursor = view.cursor;
    const bool specialCursor = view.specialCursor;
    const ShownScore score = view.score;
    view = PlayView{};
    view.active = true;
    view.cursor = cursor;
    view.specialCursor = specialCursor;
    view.score = score;
    view.scene = scene;
}

}  // namespace

// ---------------------------------------------------------------------------
// Starting play

bool startPlay(PlayHost& host, Mode mode, int levelIndex) {
    PlayView& view = host.view();
    GameState& game = host.game();
    PlayerSeat& player = host.player();
    levelIndex = std::clamp(levelIndex, 0, kLevelCount - 1);
    const bool firstStart = !view.active;
    resetView(view, view.scene);
    fx::clearParticles();
    fx::resetSparks();
    fx::clearFloatingTexts();
    gfx::clearBolts();

    const Mode previousMode = game.mode;
    GameHost* previousHost = game.host;
    game.mode = mode;
    game.host = &host;
    const int m = modeNumber(mode);
    player.setCurrentLevel(m, levelIndex);
    if (!startLevel(game, levelIndex)) {
        game.mode = previousMode;
        game.host = previousHost;
        return false;
    }
    // The level's land, at once in the light the level starts with.
    fx::selectBackdrop(levelIndex);
    fx::setSceneTintNow(view.scene);
    // A new game shows its score at once; between levels it keeps running.
    if (firstStart || view.score.value > host.totalScore()) view.score = {host.totalScore(), false, 0};
    return true;
}

void playCurrentLevel(PlayHost& host) {
    const Mode mode = host.game().mode;
    startPlay(host, mode, host.player().currentLevel(modeNumber(mode)));
}

bool startPlay(Mode mode, int levelIndex) { return startPlay(g_playHost, mode, levelIndex); }

// ---------------------------------------------------------------------------
// The frame step

bool advanceShownScore(ShownScore& s, int target, float frameMs) {
    if (target <= s.value) {
        s.value = target;
        s.running = false;
        return false;
    }
    const int step = std::max(1, int(float(target - s.value) * 0.01f * frameMs));
    s.value = std::min(target, s.value + step);
    s.running = s.value < target;
    return s.running;
}

CellRef hoverCellAt(const GameState& game, base::Vec2 cursor) {
    const CellRef c = cellAtPoint(cursor);
    if (!c.valid() || !inWindow(c.x, c.y) || !game.board.at(c).isCell()) return kNoCell;
    return c;
}

namespace {

void stepDecorations(PlayView& view, float dtMs) {
    for (ScorePopup& p : view.popups) {
        if (p.ageMs < 0) continue;
        p.ageMs += dtMs;
        if (p.ageMs >= kScorePopupMs) p.ageMs = -1;
    }
    for (ChainSnap& s : view.snaps)
        if (s.lifeMs > 0) s.lifeMs -= dtMs;
    if (view.strike.timeMs >= 0) {
        view.strike.timeMs += dtMs;
        if (view.strike.timeMs > kHammerStrikeMs) view.strike.timeMs = -1;
    }
}

void stepPaths(PlayView& view, GameState& game, float dtMs) {
    // A new hint: its path is traced now, while the distance field the hint
    // search left is the ball's.
    if (game.hint.timeLeftMs > view.hintLeftMs + 1.0f) {
        tracePreview(game.board, game.hint.ball, game.hint.target, view.hintPath);
        view.hintAgeMs = 0;
    }
    if (game.hint.timeLeftMs > 0) view.hintAgeMs += dtMs;
    view.hintLeftMs = game.hint.timeLeftMs;

    // The preview follows the pointer, and stays as it was while the ball
    // flies. A move started without the pointer resting on its target first
    // (a quick click) shows the path the ball takes.
    if (game.moveInFlight) {
        PathPreview& p = view.preview;
        if (p.steps == 0 || !(p.to == game.moveTarget) || !(p.from == game.moveFrom)) {
            const base::Vec2 origin = cellCentre(game.moveFrom);
            p.steps = std::min(game.pathLength, kMaxPathPoints - 1);
            for (int i = 0; i <= p.steps; ++i) p.points[size_t(i)] = origin + game.path[size_t(i)];
            p.from = game.moveFrom;
            p.to = game.moveTarget;
        }
        return;
    }
    view.hover = view.keyCursorShown ? view.keyCell : hoverCellAt(game, view.cursor);
    if (game.selected.valid() && view.hover.valid() && !(view.hover == game.selected))
        tracePreview(game.board, game.selected, view.hover, view.preview);
    else
        view.preview.steps = 0;
}

}  // namespace

void stepPlay(PlayHost& host, float dtMs) {
    PlayView& view = host.view();
    GameState& game = host.game();
    if (!view.active) return;
    view.clockMs += dtMs;
    stepGame(game, dtMs);
    // Tips wait for play: not while paused, under a menu or during an end sequence.
    if (game.running && !host.overlayOpen() && !endSequenceRunning(game)) stepTips(view.tips, dtMs);

    ShownScore& score = view.score;
    if (advanceShownScore(score, host.totalScore(), dtMs)) {
        score.sparkleClockMs += dtMs;
        while (score.sparkleClockMs >= kScoreSparkleMs) {
            score.sparkleClockMs -= kScoreSparkleMs;
            fx::spawnSpark(345.0f + base::randomSigned(30.0f), 238.0f, kScoreSparkPreset);
        }
    } else {
        score.sparkleClockMs = 0;
    }
    stepDecorations(view, dtMs);
    stepPaths(view, game, dtMs);
    if (!hammerReady(game))
        view.hammerReadyMs = -1;
    else
        view.hammerReadyMs = view.hammerReadyMs < 0 ? 0 : std::min(view.hammerReadyMs + dtMs, kMaxClockMs);
}

// ---------------------------------------------------------------------------
// Drawing

PausedLook pausedLook(float t, bool stageEnd, bool gamePassed) {
    PausedLook look;
    if (gamePassed) {
        if (t >= 3000.0f)
            look.congratulationsAlpha =
                int(255.0f * std::max(0.0f, std::sin(base::kPi * (t - 3000.0f) / 18000.0f)));
        return look;
    }
    const float s = stageEnd ? std::sin(0.0003f * t - 2.1991148f) : std::cos(0.0003f * t - 0.9424779f);
    const float v = (s + 1.0f) / 2.0f;
    const float a = v > 0.7f ? (v - 0.7f) / 0.3f * 255.0f : 0.0f;
    look.promptAlpha = int(a);
    look.promptSize = 13.0f + a / 255.0f;
    if (!stageEnd && t < 7000.0f) {
        look.relaxShown = true;
        look.relaxSize = 21.0f + 4.0f * (a / 255.0f) * (a / 255.0f);
    }
    return look;
}

int sequenceShadeAlpha(const GameState& game) {
    float k = 0;
    if (game.defeatTimer > 0) k = base::clamp01((kDefeatSequenceMs - game.defeatTimer) / 4000.0f);
    else if (game.defeatTimer < 0) k = 1;
    if (game.completeTimer > 0) k = std::max(k, base::clamp01((kCompleteSequenceMs - game.completeTimer) / 5500.0f));
    else if (game.completeTimer < 0) k = 1;
    return int(kSequenceShadeAlpha * k);
}

int resumeShadeAlpha(const GameState& game) {
    if (!game.running || game.resumeShadeMs <= 0) return 0;
    return int(kPauseShadeAlpha * base::clamp01(game.resumeShadeMs / kResumeShadeMs));
}

namespace {

const char* text(const char* key) {
    const char* t = data::findText(key);
    return t ? t : "";
}

// The living land behind the board, tinted for the chosen time of day, with
// a land change when one runs.
void drawBackdrop() {
    fx::drawSceneChanging();
    gfx::begin2D();
}

void shade(const PlayTextures& t, const base::Rect& r, int alpha) {
    if (alpha <= 0) return;
    // The gradient's grain keeps a large dark plate from banding.
    gfx::setTexture(t.gradient);
    gfx::drawRect(r.left, r.top, r.right, r.bottom, 0, 0, 1, 1, base::clampedArgb(0, 0, 0, alpha), kTextDepth);
}

void drawPausedDisplay(const GameState& game, const PlayTextures& t) {
    if (game.running) return;
    // The board rests under a dark veil while paused, so the texts over it
    // read and the board plainly waits.
    shade(t, kBoardArea, int(kPausedDimAlpha));
    const bool stageEnd = game.stageCompleted && game.completeTimer < 0;
    const PausedLook look = pausedLook(game.pausedMs, stageEnd, game.gamePassed);
    if (game.gamePassed) {
        if (look.congratulationsAlpha <= 0) return;
        gfx::setTextColor(255, 255, 55, look.congratulationsAlpha);
        gfx::drawTextCentred(0, 100, 18, text("congratulations"));
        gfx::setTextColor(255, 255, 255, look.congratulationsAlpha);
        gfx::drawTextCentred(0, 50, 17, text("gamepass1"));
    } else {
        gfx::setTextColor(255, 255, 255, look.promptAlpha);
        if (look.promptAlpha > 0) gfx::drawTextCentred(0, -280, look.promptSize, text("keytoresume"));
        if (look.relaxShown && look.promptAlpha > 0) {
            gfx::setTextColor(0, 0, 0, look.promptAlpha / 2);
            gfx::drawTextCentred(2, -2, look.relaxSize, text("relax"));
            gfx::setTextColor(255, 255, 255, look.promptAlpha);
            gfx::drawTextCentred(0, 0, look.relaxSize, text("relax"));
        }
    }
    gfx::setTextColor(255, 255, 255, 255);
}

// A dark plate behind the message line, so that a message over the bottom
// row of a full board reads from its first frame.
void drawMessagePlate(const PlayTextures& t) {
    const gfx::MessageLine& m = gfx::g_messageLine;
    const gfx::MessageFrame& f = m.shown;
    if (!f.visible || f.size <= 0 || !m.text[0]) return;
    const float halfWidth = gfx::textWidth(m.text, f.size) / 2 + f.size * 0.8f;
    const float halfHeight = f.size * 0.85f;
    const int alpha = std::clamp(f.alpha, 0, 255) * 150 / 255;
    shade(t, {-halfWidth, f.y + halfHeight, halfWidth, f.y - halfHeight}, alpha);
}

void drawScorePopups(const PlayView& view) {
    for (const ScorePopup& p : view.popups) {
        if (p.ageMs < 0) continue;
        const float k = p.ageMs / kScorePopupMs;
        char number[16];
        std::snprintf(number, sizeof number, "+%i", p.points);
        // A deep gold, so the number reads on the pale tiles too.
        gfx::setTextColor(255, 196, 40, int(255 * (1.0f - k * k)));
        gfx::drawTextCentred(p.at.x, p.at.y + 12.0f + 40.0f * k, 10.5f + 2.0f * std::sin(base::kPi * k), number);
    }
    gfx::setTextColor(255, 255, 255, 255);
}

// The rectangle the board's cells cover, screen units.
base::Rect boardCover(const GameState& game) {
    base::Rect r{1e9f, -1e9f, -1e9f, 1e9f};
    for (int x = kFieldLeft; x <= kFieldRight; ++x)
        for (int y = kFieldTop; y <= kFieldBottom; ++y) {
            if (!game.board.at(x, y).isCell()) continue;
            const base::Vec2 c = cellCentre(x, y);
            r.left = std::min(r.left, c.x - 20);
            r.right = std::max(r.right, c.x + 20);
            r.top = std::max(r.top, c.y + 20);
            r.bottom = std::min(r.bottom, c.y - 20);
        }
    return r.left < r.right ? r : kBoardArea;
}

// Requests the open tip's balloon for this frame (or none), then steps the
// balloon. An ordinary tip's balloon stands where it hides the least of the
// board, chosen once when the tip opens.
void stepTipBalloon(PlayView& view, const GameState& game, float dtMs) {
    if (openTip(view.tips)) {
        TipRequest* tip = &view.tips.items[0];
        char wording[fx::kBalloonTextSize];
        const char* title = text(tip->title);
        if (tip->percent >= 0)
            formatTipText(wording, sizeof wording, title, tip->percent);
        else
            std::snprintf(wording, sizeof wording, "%s", title);
        const char* second = tip->second[0] ? text(tip->second) : "";
        const bool rich = second[0] || tip->icon != kNoPiece;
        if (rich)
            fx::showTipBalloon(tip->at.x, tip->at.y, wording, second, kTipWidth,
                               tip->tipIndex >= 0 ? tip->tipIndex : kBallTipIndex);
        else {
            if (tip->arrowAngle <= fx::kAutomaticArrowAngle) {
                fx::BalloonRequest r;
                r.anchor = tip->at;
                std::snprintf(r.text, sizeof r.text, "%s", wording);
                r.maxWidth = kTipWidth;
                r.arrow = true;
                r.continueButton = true;
                r.growIn = true;
                tip->arrowAngle = leastCoveringAngle(tip->at, boardCover(game), [&](float angle) {
                    r.arrowAngle = angle;
                    const fx::BalloonLayout l = fx::layoutBalloon(r, fx::kBalloonAppearMs);
                    return base::Rect{l.box.left + l.anchor.x, l.box.top + l.anchor.y, l.box.right + l.anchor.x,
                                      l.box.bottom + l.anchor.y};
                });
            }
            fx::showBalloonWithContinue(tip->at.x, tip->at.y, wording, kTipWidth, true, tip->arrowAngle, true);
        }
    }
    fx::stepBalloon(dtMs);
}

// The open tip's balloon, and in it the picture of the piece it is about.
void drawTip(const PlayView& view, const PlayTextures& t) {
    fx::drawBalloon();
    const TipRequest* tip = openTip(view.tips);
    if (!tip || !fx::g_balloon.shown) return;
    const char* second = tip->second[0] ? text(tip->second) : "";
    const bool rich = second[0] || tip->icon != kNoPiece;
    const fx::TipDemonstration& demo = fx::g_balloon.demonstration;
    if (!rich || tip->icon == kNoPiece || (demo.isRunning && demo.isRunning())) return;
    // The picture stands where a demonstration board would, growing in with
    // the balloon.
    const fx::BalloonLayout l = fx::layoutBalloon(fx::g_balloon.current, fx::g_balloon.timeShownMs);
    const base::Vec2 local = l.boxCentre + base::Vec2{0, l.height / 2 - l.textHeight - 76.8f};
    const base::Vec2 at = l.anchor + local * l.k;
    const float size = 64.0f * l.k;
    const gfx::TextureEntry* picture = pieceTexture(t, tip->icon, view.clockMs);
    if (!picture || size <= 0) return;
    gfx::setTexture(t.shadow);
    gfx::drawSprite(at.x + 5 * l.k, at.y - 6 * l.k, 0, size, size, 0, 0, 1, 1, 0xC8FFFFFFu, kTextDepth);
    gfx::setTexture(picture);
    gfx::drawSprite(at.x, at.y, 0, size, size, 0, 0, 1, 1, 0xFFFFFFFFu, kTextDepth);
}

void drawBar(base::Vec2 a, base::Vec2 b, float halfWidth, uint32_t colour) {
    const base::Vec2 d = base::normalize(b - a);
    const base::Vec2 side{-d.y * halfWidth, d.x * halfWidth};
    const base::Vec3 corners[4] = {{a.x + side.x, a.y + side.y, kTextDepth},
                                   {b.x + side.x, b.y + side.y, kTextDepth},
                                   {b.x - side.x, b.y - side.y, kTextDepth},
                                   {a.x - side.x, a.y - side.y, kTextDepth}};
    const uint32_t colours[4] = {colour, colour, colour, colour};
    gfx::drawQuadColors(corners, colours);
}

// A refused click: a small red "no" sign, a ring with a bar across, beside
// the pointer while the refusal shows.
void drawRefusalSign(const GameState& game, base::Vec2 pointer) {
    const RefusedClick& r = game.refused;
    if (r.timeLeftMs <= 0 || r.why == Refusal::None) return;
    const int alpha = int(255 * base::clamp01(r.timeLeftMs / kRefusalShowMs * 3.0f));
    const base::Vec2 c = pointer + base::Vec2{17, -19};
    constexpr float kRadius = 7.5f;
    constexpr int kSides = 14;
    gfx::setTexture(nullptr);
    for (int pass = 0; pass < 2; ++pass) {
        // A dark outline under the red, so the sign reads on pale tiles.
        const uint32_t colour = pass == 0 ? base::clampedArgb(40, 0, 0, alpha * 3 / 4) : base::clampedArgb(235, 40, 30, alpha);
        const float w = pass == 0 ? 2.6f : 1.5f;
        for (int i = 0; i < kSides; ++i) {
            const base::Vec2 a = c + base::rotateDeg({kRadius, 0}, 360.0f * float(i) / kSides);
            const base::Vec2 b = c + base::rotateDeg({kRadius, 0}, 360.0f * float(i + 1) / kSides);
            drawBar(a, b, w, colour);
        }
        drawBar(c + base::rotateDeg({kRadius, 0}, 135.0f), c + base::rotateDeg({kRadius, 0}, -45.0f), w, colour);
    }
}

void drawCursor(const PlayView& view, const GameState& game, const PlayTextures& t) {
    const base::Vec2 p = view.cursor;
    drawRefusalSign(game, p);
    if (game.cursorMode == CursorMode::Hammer) {
        // The hot spot is the middle of the striking face.
        gfx::setTexture(t.hammerCursor);
        gfx::drawRect(p.x - 5.6f, p.y + 15.6f, p.x - 5.6f + 40, p.y + 15.6f - 40, 0, 0, 1, 1, 0xFFFFFFFFu,
                      kTextDepth);
    } else if (game.cursorMode == CursorMode::Question) {
        gfx::setTexture(t.question);
        gfx::drawSprite(p.x, p.y, 0, 30, 30, 0, 0, 1, 1, 0xFFFFFFFFu, kTextDepth);
    }
}

}  // namespace

void drawPlay(PlayHost& host) {
    const PlayView& view = host.view();
    const GameState& game = host.game();
    const PlayTextures& t = g_playTextures;
    platform::Device* device = gfx::g_draw.device;
    device->clear(platform::ClearColor | platform::ClearDepth, 0xFF000000u, 1.0f, 0);
    gfx::begin2D();
    if (!view.active) return;

    drawBackdrop();
    drawBoard(view, game, t);
    shade(t, kBoardArea, std::max(sequenceShadeAlpha(game), resumeShadeAlpha(game)));
    drawPanel(view, game, t);
    drawProgressSparks(game);
    drawPausedDisplay(game, t);

    // Bolts and particles are 3D: the camera looks down +z at the screen
    // plane from 50 units away, x right and y up.
    gfx::g_camera.setIdentity();
    gfx::g_camera.translate(0, 0, 50);
    device->setTransform(platform::TransformKind::View, gfx::g_camera.view);
    gfx::drawBolts();
    fx::drawParticles();

    gfx::begin2D();
    fx::drawSparks();
    drawScorePopups(view);
    fx::drawFloatingTexts();
    gfx::drawBanners();
    drawMessagePlate(t);
    gfx::drawMessageLine();
    if (g_playHooks.drawMenus && g_playHooks.menuOpen && g_playHooks.menuOpen()) {
        g_playHooks.drawMenus();
        gfx::begin2D();
    }
    drawTip(view, t);
    drawCursor(view, game, t);
    gfx::setBlendMode(0);
}

void stepPlayEffects(PlayHost& host, float dtMs) {
    PlayView& view = host.view();
    if (!view.active) return;
    // In the order the picture is built, so that the random numbers come in
    // the same order every run.
    if (view.score.running) view.score.flickerBlue = 110 + base::randomBelow(146);
    gfx::clearBolts();
    queueBoardBolts(view, host.game());
    fx::stepParticles(dtMs);
    fx::stepSparks(dtMs);
    fx::stepFloatingTexts(dtMs);
    gfx::stepBanners(dtMs);
    gfx::stepMessageLine(dtMs);
    stepTipBalloon(view, host.game(), dtMs);
}

void playStep(float dtMs) {
    PlayHost& host = g_playHost;
    PlayView& view = host.view();
    gfx::screenToWorldCursor(&view.cursor.x, &view.cursor.y);
    stepPlay(host, dtMs);
    stepPlayEffects(host, dtMs);
    sound::updateSound(dtMs);
    const bool special = view.active && host.game().cursorMode != CursorMode::Normal;
    if (special != view.specialCursor) {
        view.specialCursor = special;
        platform::showSystemCursor(!special);
    }
}

// ---------------------------------------------------------------------------
// Input

namespace {

bool menuTakesInput(PlayHost& host) {
    return host.overlayOpen();
}

}  // namespace

namespace {

// The next cell of the board from `from` in a direction, over holes; `from`
// itself at the edge.
CellRef nextBoardCell(const Board& board, CellRef from, int dx, int dy) {
    for (CellRef c{from.x + dx, from.y + dy}; inWindow(c.x, c.y); c = {c.x + dx, c.y + dy})
        if (board.at(c).isCell()) return c;
    return from;
}

// Where the keyboard's cursor first shows: on the selected ball, else under
// the pointer, else in the middle of the field.
CellRef keyCursorStart(const PlayView& view, const GameState& game) {
    if (game.selected.valid()) return game.selected;
    const CellRef under = hoverCellAt(game, view.cursor);
    if (under.valid() && game.board.at(under).isCell()) return under;
    // The cell nearest the middle of the field.
    CellRef best;
    float bestDistance = 1e9f;
    for (int x = kFieldLeft; x <= kFieldRight; ++x)
        for (int y = kFieldTop; y <= kFieldBottom; ++y) {
            if (!game.board.at(x, y).isCell()) continue;
            const base::Vec2 d = cellCentre(x, y) - cellCentre((kFieldLeft + kFieldRight) / 2, (kFieldTop + kFieldBottom) / 2);
            const float distance = d.x * d.x + d.y * d.y;
            if (distance < bestDistance) {
                bestDistance = distance;
                best = {x, y};
            }
        }
    return best;
}

// Arrows, Enter and Escape for the keyboard's cell cursor; false when the
// key is not the cursor's and keeps its own meaning.
bool boardCursorKey(PlayHost& host, int key) {
    PlayView& view = host.view();
    GameState& game = host.game();
    const bool arrow = key == kKeyLeft || key == kKeyRight || key == kKeyUp || key == kKeyDown;
    if (key == kKeyEscape && view.keyCursorShown) {
        view.keyCursorShown = false;
        return true;
    }
    if (!arrow && !(key == kKeyEnter && view.keyCursorShown)) return false;
    // Keys that end a sequence, leave a stage or resume a pause keep doing so.
    if (!game.running || endSequenceRunning(game) || tipIsOpen(view.tips)) return false;
    if (arrow) {
        if (!view.keyCursorShown || !view.keyCell.valid()) {
            view.keyCell = keyCursorStart(view, game);
            view.keyCursorShown = view.keyCell.valid();
            return true;
        }
        const int dx = key == kKeyLeft ? -1 : key == kKeyRight ? 1 : 0;
        const int dy = key == kKeyUp ? -1 : key == kKeyDown ? 1 : 0;
        view.keyCell = nextBoardCell(game.board, view.keyCell, dx, dy);
        return true;
    }
    // Enter: a click at the cell, through the same path as the mouse's; the
    // pointer stays where the mouse left it.
    const base::Vec2 pointer = view.cursor, at = cellCentre(view.keyCell);
    playLeftButtonDown(host, at);
    playLeftButtonUp(host, at);
    view.cursor = pointer;
    return true;
}

}  // namespace

void playMouseMove(PlayHost& host, base::Vec2 cursor) {
    host.view().cursor = cursor;
    host.view().keyCursorShown = false;  // the mouse takes over again
    if (!host.game().moveInFlight) host.view().hover = hoverCellAt(host.game(), cursor);
}

void clearPlayHover(PlayView& view) {
    view.hover = kNoCell;
    view.preview.steps = 0;
}

void playLeftButtonDown(PlayHost& host, base::Vec2 cursor) {
    PlayView& view = host.view();
    GameState& game = host.game();
    if (!view.active) return;
    view.cursor = cursor;
    if (menuTakesInput(host)) {  // the menus take the click
        if (g_playHooks.menuLeftButtonDown) g_playHooks.menuLeftButtonDown();
        return;
    }
    // 1..4: end sequences, the congratulations display, a flight, a pause.
    view.lastPressCell = cellAtPoint(cursor);
    if (takeClickForFlow(game, cursor)) return;
    // A click on the open tip's own button closes it, whatever lies beneath.
    if (tipIsOpen(view.tips) && fx::balloonContinueHit(fx::g_balloon, cursor)) {
        closeTip(view.tips);
        return;
    }
    // 5. The question cursor explains what was clicked and goes back to normal.
    if (game.cursorMode == CursorMode::Question) {
        const TipRequest tip = questionTipFor(game, cursor);
        game.cursorMode = CursorMode::Normal;
        if (tip.title[0]) {
            queueTip(view.tips, tip, true);
            sound::playSound("menu.ogg");
        }
        return;
    }
    const PanelArea area = panelAreaAt(cursor);
    // 6. Relax and the scene buttons.
    if (area == PanelArea::RelaxButton) {
        sound::playSound("menu.ogg");
        pauseGame(game);
        return;
    }
    if (const int scene = sceneOfArea(area); scene >= 0) {
        sound::playSound("menu.ogg");
        host.setScene(scene);
        return;
    }
    // 7. The pause menu.
    if (area == PanelArea::MenuButton) {
        host.openScreen("gameplay");
        return;
    }
    // 8. An open tip closes.
    if (tipIsOpen(view.tips)) {
        closeTip(view.tips);
        return;
    }
    // 9. The question button (the hammer button is the rules' own).
    if (area == PanelArea::QuestionButton) {
        game.cursorMode = CursorMode::Question;
        return;
    }
    // A click on a hammer still charging says why nothing happens: how far
    // the charge has come and what fills it.
    if (area == PanelArea::HammerButton && game.level.hammerEnabled && !hammerReady(game)) {
        queueTip(view.tips, hammerNotReadyTip(game), true);
        sound::playSound("menu.ogg");
        return;
    }
    // 9, 10. The hammer button, a strike, or selection and moves.
    leftButtonDown(game, cursor);
}

void playLeftButtonUp(PlayHost& host, base::Vec2 cursor) {
    if (!host.view().active || menuTakesInput(host)) {
        host.game().mainButtonDown = false;
        return;
    }
    leftButtonUp(host.game(), cursor);
}

void playLeftDoubleClick(PlayHost& host, base::Vec2 cursor) {
    PlayView& view = host.view();
    if (!view.active) return;
    // Where the first click of a pair would have been taken by the menus,
    // a tip or the flow of play, the second is just another click.
    // So is a pair whose presses fell on two cells (a quick select and send:
    // the desktop counts presses up to a few dozen pixels apart as a pair),
    // and a pair made while a ball flies, where only a press means anything.
    const GameState& game = host.game();
    const bool sameCell = cellAtPoint(cursor) == view.lastPressCell;
    if (menuTakesInput(host) || tipIsOpen(view.tips) || endSequenceRunning(game) || !game.running || !sameCell ||
        game.moveInFlight) {
        playLeftButtonDown(host, cursor);
        return;
    }
    view.cursor = cursor;
    leftDoubleClick(host.game(), cursor);
}

void playRightButtonDown(PlayHost& host) {
    if (!host.view().active || menuTakesInput(host)) return;
    GameState& game = host.game();
    if (game.running && game.cursorMode == CursorMode::Question) game.cursorMode = CursorMode::Normal;
    rightButtonDown(game);
}

void playRightButtonUp(PlayHost& host) { rightButtonUp(host.game()); }

void playMiddleButtonDown(PlayHost& host) {
    if (!host.view().active || menuTakesInput(host)) return;
    middleButtonDown(host.game());
}

void playKeyDown(PlayHost& host, int virtualKey) {
    PlayView& view = host.view();
    if (!view.active) return;
    if (menuTakesInput(host)) {
        if (g_playHooks.menuKeyDown) g_playHooks.menuKeyDown(virtualKey);
        return;
    }
    if (boardCursorKey(host, virtualKey)) return;
    keyDown(host.game(), virtualKey);
}

}  // namespace tessaly::game
