// What the gameplay screen keeps besides the rules' own state: the pointer
// and the cell under it, the displayed score, the path preview and the
// hint's path, the tips, the background scene, the small animations only
// the screen draws (rising score numbers, snapped chains, the hammer's
// strike)
// until the menus show them.
//
// One record, g_playView, for the process; tests make their own. Fixed
// tables: kMaxScorePopups and kMaxChainSnaps, each a ring in which a new
// entry overwrites the oldest (both are short-lived decorations).
#pragma once

#include <array>
#include <cstdint>

#include "base/math.h"
#include "game/board_view.h"
#include "game/tips.h"

namespace tessaly::game {

// The score shown in the panel, running towards the total.
struct ShownScore {
    int value = 0;                 // points shown
    bool running = false;          // still catching up (sparkle and tint)
    float sparkleClockMs = 0;      // time towards the next sparkle, ms
    int flickerBlue = 255;         // blue of the running score's flickering yellow this frame
};
constexpr float kScoreSparkleMs = 60.0f;

// Moves the shown score towards `target` by max(1, trunc((target - shown)
// x 0.01 x frame ms)), never past it; a target below the shown value (a new
// game) is taken at once. Returns whether it is still running.
bool advanceShownScore(ShownScore& s, int target, float frameMs);

// A rising "+10" where points were booked.
struct ScorePopup {
    base::Vec2 at;                   // where it started, units
    int points = 0;
    float ageMs = -1;              // < 0: a free slot
};
constexpr int kMaxScorePopups = 32;   // a removal pass books one per piece, a few dozen at most
constexpr float kScorePopupMs = 900.0f;

// Lightning where a chain snapped.
struct ChainSnap {
    base::Vec2 at;
    float lifeMs = 0;              // > 0 while shown
};
constexpr int kMaxChainSnaps = 16;    // a pass breaks a few chains at once
constexpr float kChainSnapMs = 300.0f;

// The hammer coming down on a cell.
struct HammerStrike {
    base::Vec2 at;
    float timeMs = -1;             // since the strike; < 0 idle
};
constexpr float kHammerStrikeMs = 420.0f;

struct PlayView {
    bool active = false;           // a game has been started on this view
    float clockMs = 0;             // since the level started, ms
    base::Vec2 cursor;               // pointer, screen units
    CellRef hover;                 // cell under the pointer, kNoCell off the board
    CellRef lastPressCell;         // cell of the last main-button press (a double click needs the same)
    ShownScore score;
    PathPreview preview;           // the previewed move; kept while the ball flies
    PathPreview hintPath;          // the idle hint's path
    float hintAgeMs = 0;           // since the hint showed
    float hintLeftMs = 0;          // the hint's time left as last seen
    TipQueue tips;
    int scene = 1;                 // 0 night, 1 morning, 2 day
    std::array<ScorePopup, kMaxScorePopups> popups{};
    int nextPopup = 0;
    std::array<ChainSnap, kMaxChainSnaps> snaps{};
    int nextSnap = 0;
    HammerStrike strike;
    float hammerReadyMs = -1;      // since the hammer became ready, ms; < 0 while it is not
    bool specialCursor = false;    // the hammer or question cursor replaces the system one
    // The keyboard's cell cursor: arrows show and move it, Enter acts there
    // as a click would, the mouse hides it. While shown it is the hover.
    bool keyCursorShown = false;
    CellRef keyCell;
};

inline PlayView g_playView;

void addScorePopup(PlayView& view, base::Vec2 at, int points);
void addChainSnap(PlayView& view, base::Vec2 at);

}  // namespace tessaly::game
