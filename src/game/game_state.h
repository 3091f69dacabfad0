// The state of one game of play: the board, the level's parameters, the
// selection and the ball in flight, the removal pass's tallies and score
// items, the level bar, the end-of-level sequences, the idle hint and the
// clocks. Everything the gameplay screen draws can be read from here.
//
// One record holds one board: the process-wide game is g_game; the help
// screen's demonstration runs its own record with `demo` set (no new balls,
// no score, no level flow); tests make their own. The rule functions in the
// other headers of this folder all take the record they work on.
//
// Fixed tables: the move path (kMaxPathPoints), the score items
// (kMaxScoreItems), the diamond sparks (kMaxDiamondSparks) and the progress
// sparks (kMaxProgressSparks); each says below what happens when it is full.
// Nothing here allocates.
#pragma once

#include <array>
#include <cstdint>

#include "base/math.h"
#include "game/board.h"
#include "game/game_host.h"

namespace tessaly::game {

enum class Mode : int32_t { Classic = 0, Puzzle = 1, Action = 2 };

constexpr int kLevelCount = 70;          // 14 stages of 5
constexpr int kLevelsPerStage = 5;
constexpr int kDefaultJockerFrequency = 20;
constexpr float kDefaultBallSpeed = 70.0f;

// Capacity of the move path: a path of n steps holds n + 1 points, and no
// shortest path on a 20 x 15 field is longer than 299 steps in theory, but a
// path needs one free cell per step and the saved game stores 256 points.
// A longer path is refused as a move (the target is treated as unreachable).
constexpr int kMaxPathPoints = 256;
// Score items: a pass removes at most the 300 cells of the field, and a few
// passes may overlap while their items pop. When the table is full an item
// pays and plays at once instead of waiting its turn.
constexpr int kMaxScoreItems = 1024;
// Diamond sparks: only the newest are drawn; a new one overwrites the oldest.
constexpr int kMaxDiamondSparks = 32;
constexpr float kDiamondSparkMs = 500.0f;
// Progress sparks flying to the level bar. When the table is full a spark's
// amount reaches the bar at once, so no progress is lost.
constexpr int kMaxProgressSparks = 512;
constexpr float kProgressSparkFlightMs = 600.0f;
// The middle of the level bar in the panel (x 304..396, y 5..28), screen
// units: progress sparks fly there.
constexpr base::Vec2 kLevelBarPoint{350.0f, 16.5f};

// Upper limits of what a level can ask for. The level loader bounds its
// values to them, so a saved game beyond them cannot come from play.
// Balls announced per turn: more than the field's cells could never land.
constexpr int32_t kMaxAddBalls = kFieldColumns * kFieldRows;
// A level bar target: far beyond every derived one (at most 3 x 9 layers x
// 300 cells = 8100) and small enough for the bar's fraction to stay exact.
constexpr float kMaxBarTotal = 100000.0f;

// Limits of the level's counters and clocks. The counters stop at their
// limit in play (no level comes near one), which keeps every product the
// rules form from them inside int: the ball sound's pitch 35000 + combo x
// 5000 Hz, combo x 10 points, the move counter lowered by the combo. The
// clocks grow unbounded but would need over eleven days in one level to
// pass theirs, which keeps every int conversion of a clock inside int. A
// saved game beyond them is refused.
constexpr int32_t kMaxCombo = 100000;
constexpr int32_t kMaxMoveCount = 1000000000;   // moves made; the move counter either way
constexpr int32_t kMaxLevelScore = 1000000000;  // points
constexpr int32_t kMaxPlayTimeMs = 1000000000;  // about 11.5 days
constexpr float kMaxClockMs = 1.0e9f;           // game, animation, piece and floor clocks

// Level parameters as a level file gives them (see level_file.h).
struct LevelParams {
    bool hammerEnabled = true;
    int32_t colors = 0;             // ball colours in play, 1..8
    int32_t levelDownTimeMs = 0;    // Action: ms per point of drain; 0 = derived
    int32_t addBalls = 0;           // balls announced per turn; 0 = derived
    float balls4Destroy = 0;        // Classic level bar target; 0 = derived
    int32_t jockerFrequency = kDefaultJockerFrequency;  // 1 in n new balls is a joker
    std::array<int32_t, 9> bonusFigure{-1, -1, -1, -1, -1, -1, -1, -1, -1};  // [col * 3 + row]
};

// One removed piece waiting to pop, then paying out.
struct ScoreItem {
    base::Vec2 at;               // centre of its cell, units
    int32_t kind = kNoPiece;   // what was removed
    bool onSquare = false;     // stood on a square
    float waitMs = 0;          // delay before it pops
    float popMs = 0;           // time into its 250 ms pop
    int32_t combo = 0;         // the combo of its pass
    int32_t diamondsInPass = 0;
    int32_t pass = 0;          // number of the pass that queued it
    bool done = false;         // paid out
};
constexpr float kScoreItemPopMs = 250.0f;
constexpr float kScoreItemStaggerMs = 80.0f;

struct ScoreQueue {
    std::array<ScoreItem, kMaxScoreItems> items;
    int32_t count = 0;            // items queued since the queue last drained
    int32_t live = 0;             // of them not yet paid
    int32_t passNumber = 0;       // number of the running or last group of removals
    int32_t passItems = 0;        // items queued by the running pass (k)
    int32_t ballSoundPass = -1;   // pass whose "ball.ogg" has played
};

struct DiamondSpark {
    base::Vec2 from, to;         // diamond and swept ball, units
    float lifeMs = 0;          // > 0 while shown
};

struct ProgressSpark {
    base::Vec2 from;             // where it started, units
    float amount = 0;          // bar points it carries
    float flightMs = 0;        // time left until it reaches the bar; <= 0 free
};

// Per-pass tallies of what was used.
struct PassTallies {
    int32_t jokers = 0;
    int32_t bombs = 0;         // bombs and superbombs
    int32_t diamonds = 0;
    int32_t superbombs = 0;
    int32_t removed = 0;       // pieces taken off by removePiece
};

struct Hint {
    CellRef ball;              // the piece to move
    CellRef target;            // the empty cell it should go to
    float timeLeftMs = 0;      // > 0 while the arrow shows
};
constexpr float kHintShowMs = 5000.0f;

enum class CursorMode : int32_t { Normal = 0, Hammer = 1, Question = 2 };

// A click on the board that the rules turned down, kept for a moment so the
// screen can answer it: a new target while a ball flies, a cell the selected
// ball can't reach, a chained ball.
enum class Refusal : int32_t { None = 0, BallInFlight = 1, OutOfReach = 2, Chained = 3 };
struct RefusedClick {
    CellRef cell;
    Refusal why = Refusal::None;
    float timeLeftMs = 0;      // > 0 while the answer shows
    int32_t count = 0;         // clicks refused since the level started
};
constexpr float kRefusalShowMs = 450.0f;

// Fields of the saved image that no rule reads, kept so that a loaded game
// saves back unchanged; startLevel gives them their new-game values.
struct SavedReserved {
    int32_t head0 = 4;
    int32_t head1 = 999999;
    uint8_t afterFlight[8] = {};
    uint8_t afterDebug = 1;
    uint8_t afterLost[4] = {0, 0, 1, 0};
    int32_t afterMaxCombo[2] = {};
    float beforeComplete = 2000.0f;
    int32_t afterLevel[2] = {};
};

struct GameState {
    Board board;
    GameHost* host = &g_headlessHost;
    Mode mode = Mode::Classic;
    bool demo = false;                    // a help-screen demonstration board
    float ballSpeed = kDefaultBallSpeed;  // from the settings; larger is slower
    bool cheatKeys = false;               // the typed code's developer keys, set by the shell

    // The level as loaded and derived by startLevel.
    int32_t levelIndex = 0;
    LevelParams level;                    // colors, addBalls etc. in their live values
    int32_t cellCount = 0;                // cells with floor >= 0 at level start

    // Selection and the move in flight.
    CellRef selected;
    CellRef moveFrom;                     // start cell of the flying ball
    CellRef moveTarget;
    bool moveInFlight = false;
    std::array<base::Vec2, kMaxPathPoints> path{};  // relative to the start cell, target first
    int32_t pathLength = 0;               // steps n; n + 1 points are used
    int32_t flightTotalMs = 0;            // T of the last move
    float trailClockMs = 0;               // flight time since the last trail puff
    CellRef lastMoveCell;
    bool mainButtonDown = false;
    float mainButtonHeldMs = 0;           // how long the main button has been down
    bool rightButtonHeld = false;
    CursorMode cursorMode = CursorMode::Normal;
    RefusedClick refused;                 // the last refused click, while it shows

    // Removal pass and scoring.
    PassTallies tallies;
    ScoreQueue scores;
    std::array<DiamondSpark, kMaxDiamondSparks> diamondSparks{};
    int32_t nextDiamondSpark = 0;
    std::array<ProgressSpark, kMaxProgressSparks> progressSparks{};
    int32_t combo = 0;
    int32_t maxCombo = 0;
    float hammerCharge = 0;               // 0..1
    int32_t moveCounter = 0;              // moves, lowered by combos
    int32_t movesMade = 0;
    int32_t levelScore = 0;
    int32_t brokenSquares = 0;            // square layers of strength 1 and 2 broken
    bool excellentToggle = false;         // "excellent" and "perfect" take turns

    // Level bar.
    float barTotal = 0;
    float barRemaining = 0;
    float barShown = 0;                   // displayed fraction 0..1
    float barSparkleClockMs = 0;
    float drainClockMs = 0;               // Action drain accumulator

    // Flow.
    bool running = true;                  // false while paused
    float pausedMs = 0;                   // time since the pause began
    float resumeShadeMs = 0;              // > 0 while the shade fades after a pause
    float completeTimer = 0;              // 0 idle, > 0 running, -1 finished, ms
    float defeatTimer = 0;
    bool completeBoardCleared = false;    // the sequence's clearing has happened
    bool completeMusicSwitched = false;
    bool stageCompleted = false;
    bool gamePassed = false;
    bool lastLevelLost = false;
    int32_t playTimeMs = 0;
    float idleMs = 0;
    Hint hint;
    int32_t livesShown = 0;               // lives as the panel last showed them
    bool debugDisplay = false;            // the 'T' cheat key's flag

    // Clocks.
    float gameClockMs = 0;                // drives the ambient sounds; 0 at level start
    float animationClockMs = 0;
    int32_t birdCounter = 0;              // picks the next birdsong; kept across levels

    SavedReserved reserved;
};

inline GameState g_game;

// Classic 0, Puzzle 1, Action 2.
inline int modeNumber(Mode m) { return int(m); }

}  // namespace tessaly::game
