// Tips of the gameplay screen: the first-time tips the rules ask for, and the
// question tips the player opens with the question cursor.
//
// A tip is a balloon with a title text and, for some, a second text and the
// picture of a piece. It is queued with a delay (1000 or 2000 ms, so that
// the thing it explains has appeared first) and opens once the delay has run
// out; an open tip stays until the player clicks, and while it is open the
// board waits (no Action drain, no idle hint). Tips open one at a time, in
// the order they were asked for; a question tip goes before the queue.
//
// Capacity: kMaxQueuedTips. A level start asks for at most one of each of
// the thirteen first-time tips, so the queue never fills in play; when it
// is full a further tip is refused (tipQueued returns false) rather than
// pushing out one that was promised.
//
// Depends on: the board and game state (what a clicked cell holds), the
// panel's hit areas, the text table for the wording.
#pragma once

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <string_view>

#include "base/math.h"
#include "game/board.h"
#include "game/game_state.h"

namespace tessaly::game {

constexpr int kMaxQueuedTips = 16;
constexpr int kTipKeyLength = 19;           // text keys are at most 19 characters
constexpr float kTipWidth = 300.0f;         // balloon width, screen units
// Play between two first-time tips: after one is closed the next waits at
// least this long, so a fresh level doesn't open its tips back to back.
constexpr float kFirstTimeTipGapMs = 4000.0f;
// The tip index handed to the balloon for the ball tip (first-time tips use
// their own number, 0..kTipCount-1), so a board demonstration can be shown.
constexpr int kBallTipIndex = kTipCount;

struct TipRequest {
    char title[kTipKeyLength + 1] = {};     // text key of the tip
    char second[kTipKeyLength + 1] = {};    // second text key, empty for none
    int icon = kNoPiece;                    // piece shown in the balloon, kNoPiece for none
    int tipIndex = -1;                      // demonstration index; -1: a plain balloon
    int percent = -1;                       // the value of a "%i" in the title text; -1: none
    base::Vec2 at;                            // what the arrow points at, screen units
    CellRef cell;                           // the cell it explains, highlighted while open
    float delayMs = 0;                      // time left before it opens
    bool firstTime = false;                 // a first-time tip (the rules'), not a question tip
    float arrowAngle = -1000;               // where its balloon stands, chosen when it opens; <= -1000 not yet
};

struct TipQueue {
    std::array<TipRequest, kMaxQueuedTips> items{};
    int count = 0;                          // items[0] is the next (or the open) tip
    float openMs = 0;                       // how long the front tip has been open
};

// Queues a tip behind the others (or, with `front`, before them).
// False when the queue is full.
bool queueTip(TipQueue& q, const TipRequest& tip, bool front = false);
// The front tip, when its delay has run out.
const TipRequest* openTip(const TipQueue& q);
inline bool tipIsOpen(const TipQueue& q) { return openTip(q) != nullptr; }
// Closes the open tip; the next one starts its delay from where it stood,
// a first-time tip no sooner than kFirstTimeTipGapMs of play later.
void closeTip(TipQueue& q);
// Runs the front tip's delay down. Only the front waits: later tips keep
// their delays until they come forward.
void stepTips(TipQueue& q, float dtMs);
void clearTips(TipQueue& q);

// A first-time tip as the rules name it ("triplebomb", "jokertip", ...):
// its second text and piece picture, where it has them.
TipRequest firstTimeTip(std::string_view name, base::Vec2 at, float delayMs, CellRef cell);

// The question tip for a click at `cursor` (screen units): a panel area, a
// cell of the board, or empty space off the board ("doublerelax"). An empty
// title means the click explains nothing (the question button itself, a
// disabled hammer).
TipRequest questionTipFor(const GameState& game, base::Vec2 cursor);

// The arrow angle (degrees) for an ordinary balloon of `width` x `height`
// anchored at `anchor` that covers as little of `board` as it can while
// staying on the 800 x 600 screen: directions every 22.5 degrees are tried,
// and of equal ones the nearest to the automatic direction (toward the
// screen centre) wins. `boxAt(angle)` gives the box (screen units) the
// balloon would take at that angle.
template <typename BoxAt>
float leastCoveringAngle(base::Vec2 anchor, const base::Rect& board, BoxAt&& boxAt);

// The tip a click on a hammer still charging opens: the charge in percent
// and what fills it.
TipRequest hammerNotReadyTip(const GameState& game);

// Fills `out` with the shown wording of a text that may carry one "%i"
// (the level bar's percent) and "%%": nothing else is taken as a format, so
// a text from the data files can never read arguments that aren't there.
void formatTipText(char* out, int outSize, const char* text, int value);

// Overlap area of two rectangles (y up).
inline float overlapArea(const base::Rect& a, const base::Rect& b) {
    const float w = std::min(a.right, b.right) - std::max(a.left, b.left);
    const float h = std::min(a.top, b.top) - std::max(a.bottom, b.bottom);
    return w > 0 && h > 0 ? w * h : 0.0f;
}

template <typename BoxAt>
float leastCoveringAngle(base::Vec2 anchor, const base::Rect& board, BoxAt&& boxAt) {
    const float automatic = base::angleOf(-anchor);
    float best = automatic, bestCover = 1e30f, bestTurn = 1e30f;
    for (int i = 0; i < 16; ++i) {
        const float angle = 22.5f * float(i);
        const base::Rect box = boxAt(angle);
        if (box.left < -400 || box.right > 400 || box.top > 300 || box.bottom < -300) continue;
        const float cover = overlapArea(box, board);
        float turn = std::fabs(std::remainder(angle - automatic, 360.0f));
        if (cover < bestCover - 1.0f || (cover < bestCover + 1.0f && turn < bestTurn)) {
            best = angle;
            bestCover = cover;
            bestTurn = turn;
        }
    }
    return best;
}

}  // namespace tessaly::game
