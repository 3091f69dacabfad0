#include "menus/help_demo.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <string>

#include "base/random.h"
#include "fx/balloon.h"
#include "game/board_view.h"
#include "game/flow.h"
#include "game/game_state.h"
#include "game/moves.h"
#include "game/play_textures.h"
#include "game/play_view.h"
#include "gfx/draw.h"
#include "gfx/font.h"
#include "menus/menu_flow.h"
#include "menus/menu_runtime.h"
#include "platform/device.h"

namespace tessaly::menus {

namespace {

// The help board: a second game of the rules, never the one being played.
game::GameState g_helpGame;

constexpr float kClickTextOffset = 20;

// The help levels' texts, read once each: reloading a board as the
// demonstration goes round then never reads a file or allocates.
struct HelpTexts {
    std::array<std::string, 2 * kHelpDemos> text;  // help1..help8
    std::array<bool, 2 * kHelpDemos> read{};
};
HelpTexts g_helpTexts;

const std::string* helpText(int page, int setFlag) {
    const size_t i = size_t(page - 1 + (setFlag == 0 ? kHelpDemos : 0));
    if (i >= g_helpTexts.text.size()) return nullptr;
    if (!g_helpTexts.read[i]) {
        g_helpTexts.read[i] = true;
        if (!game::readHelpLevelText(page, setFlag, g_helpTexts.text[i])) g_helpTexts.text[i].clear();
    }
    return g_helpTexts.text[i].empty() ? nullptr : &g_helpTexts.text[i];
}

// Loads the current board of the demonstration, pointer at its first place.
// New pieces draw a random phase: from the decorations' own numbers.
void loadBoard(HelpDemo& d) {
    const base::UsingRandomSource ownNumbers(base::g_decorationRandom);
    game::GameState& board = g_helpGame;
    board = game::GameState{};
    board.mode = game::Mode(currentMode());
    board.running = true;
    d.pointers = game::HelpPointers{};
    d.loaded = false;
    if (const std::string* text = helpText(d.demo + 1, d.setFlag)) {
        std::string error;
        d.loaded = game::parseHelpLevel(*text, d.colourOffset, d.setFlag, board.mode, board.board, d.pointers, error);
        if (d.loaded) game::settleHelpBoard(board);
    }
    d.phase = 0;
    d.clockMs = 0;
    // The middle of the board's cells, so that the board is drawn centred.
    base::Vec2 low = {1e9f, 1e9f}, high = {-1e9f, -1e9f};
    for (int x = 0; x < game::kBoardSize; ++x)
        for (int y = 0; y < game::kBoardSize; ++y) {
            if (!board.board.at(x, y).isCell()) continue;
            const base::Vec2 c = game::cellCentre(x, y);
            low = {std::min(low.x, c.x), std::min(low.y, c.y)};
            high = {std::max(high.x, c.x), std::max(high.y, c.y)};
        }
    d.boardCentre = low.x <= high.x ? (low + high) * 0.5f : base::Vec2{};
    d.pointer = helpPointerAt(d);
}

base::Vec2 pointerPlace(const HelpDemo& d, int i) {
    if (d.pointers.count == 0) return d.boardCentre;
    return d.pointers.points[size_t(std::clamp(i, 0, d.pointers.count - 1))];
}

float phaseStartMs(int phase) { return phase == 0 ? 0 : kHelpPhaseEndsMs[phase - 1]; }

// The fraction of the current phase elapsed (phases 1..4 ease and click).
float phaseFraction(const HelpDemo& d) {
    if (d.phase >= kHelpPhases) return 1;
    const float start = phaseStartMs(d.phase);
    return std::clamp((d.clockMs - start) / (kHelpPhaseEndsMs[d.phase] - start), 0.0f, 1.0f);
}

// A click of the rules at the pointer: select a ball, or send the selected
// one.
void clickAt(base::Vec2 at) {
    game::pressBoard(g_helpGame, at);
    game::releaseBoard(g_helpGame, at);
}

}  // namespace

base::Vec2 helpPointerAt(const HelpDemo& d) {
    const float u = phaseFraction(d);
    if (d.phase == 0) return pointerPlace(d, 0) + (pointerPlace(d, 1) - pointerPlace(d, 0)) * u;
    if (d.phase >= kHelpPhases) return pointerPlace(d, kHelpPhases);
    const float e = 0.5f + 0.5f * std::sin(base::kPi * u - base::kPi / 2);
    const base::Vec2 from = pointerPlace(d, d.phase), to = pointerPlace(d, d.phase + 1);
    return from + (to - from) * e;
}

void startHelpDemo() {
    HelpDemo& d = g_helpDemo;
    d.active = true;
    d.demo = 0;
    d.setFlag = 0;
    d.cycles = true;
    loadBoard(d);
}

void startTipDemo(int tipIndex) {
    HelpDemo& d = g_helpDemo;
    d.active = true;
    d.demo = ((tipIndex % kHelpDemos) + kHelpDemos) % kHelpDemos;
    d.setFlag = 1;
    d.cycles = false;
    loadBoard(d);
}

void stopHelpDemo() {
    HelpDemo& d = g_helpDemo;
    d.active = false;
    d.loaded = false;
    g_helpGame = game::GameState{};
}

bool helpDemoRunning() { return g_helpDemo.active; }

int helpBoardPopping() {
    const game::ScoreQueue& q = g_helpGame.scores;
    int popping = 0;
    for (int i = 0; i < q.count; ++i) popping += !q.items[size_t(i)].done;
    return popping;
}

void stepHelpDemo(float dtMs) {
    HelpDemo& d = g_helpDemo;
    if (!d.active) return;
    {
        const base::UsingRandomSource ownNumbers(base::g_decorationRandom);
        game::stepGame(g_helpGame, dtMs / 2);
        d.clockMs += dtMs;
        while (d.phase < kHelpPhases && d.clockMs >= kHelpPhaseEndsMs[d.phase]) {
            ++d.phase;
            clickAt(helpPointerAt(d));
            // A tip's board shows its one move and skips to the last click.
            if (d.setFlag && d.phase == 2) {
                d.phase = 4;
                d.clockMs += kHelpSetFlagSkipMs;
            }
        }
    }
    if (d.clockMs > kHelpRunMs) {
        d.colourOffset = (d.colourOffset + 1) % kHelpColourSets;
        if (d.cycles) d.demo = (d.demo + 1) % kHelpDemos;
        loadBoard(d);
    }
    d.pointer = helpPointerAt(d);
}

void drawHelpDemo(float x, float y) {
    const HelpDemo& d = g_helpDemo;
    if (!d.active || !d.loaded) return;
    platform::Device* device = gfx::g_draw.device;
    const base::Matrix previous = device->transform(platform::TransformKind::World);
    base::Matrix frame = base::Matrix::identity();
    frame.m[0][0] = frame.m[1][1] = kHelpBoardScale;
    frame.m[3][0] = x - d.boardCentre.x * kHelpBoardScale;
    frame.m[3][1] = y - d.boardCentre.y * kHelpBoardScale;
    device->setTransform(platform::TransformKind::World, base::multiply(frame, previous));
    static const game::PlayView stillView{};
    game::drawBoard(stillView, g_helpGame, game::g_playTextures);
    device->setTransform(platform::TransformKind::World, previous);
    gfx::begin2D();
    device->setTransform(platform::TransformKind::World, previous);

    // The pointer, squeezed as it clicks, and the word beside it.
    const base::Vec2 p = base::Vec2{x, y} + (d.pointer - d.boardCentre) * kHelpBoardScale;
    float squeeze = 1;
    if (d.phase >= 1 && d.phase < kHelpPhases) {
        const float u = phaseFraction(d);
        const float fade = std::max(0.0f, 1 - u / 0.8f);
        if (fade > 0) {
            const float size = 11 + std::sin(base::kPi * fade);
            gfx::setTextColor(255, 255, 255, int(255 * fade));
            gfx::drawText(p.x + kClickTextOffset, p.y + kClickTextOffset, size, menuText("click"));
            gfx::setTextColor(255, 255, 255, 255);
        }
        squeeze = 1 - 0.15f * std::sin(base::kPi * std::min(u / 0.1f, 1.0f));
    }
    drawMenuPointerAt(p, squeeze, g_menu.clockMs);
}

void connectTipDemonstration() {
    fx::TipDemonstration& demo = fx::g_balloon.demonstration;
    demo.isRunning = &helpDemoRunning;
    demo.start = &startTipDemo;
    demo.step = &stepHelpDemo;
    demo.draw = &drawHelpDemo;
    demo.end = &stopHelpDemo;
}

}  // namespace tessaly::menus
