// The built-in player for long unattended runs (--autoplay): each frame it
// looks at the gameplay screen as a person would and decides the next click
// or key, which the shell delivers through the real input path (the pointer
// moved, then the screen's button and key operations). It plays the greedy
// player's moves, and between them tries what else the screen offers: the
// question cursor on the panel and on every kind of cell, relax, the scene
// buttons, the pause key and menu, a double click off the board, the hammer
// once charged; it answers tips and the screens that follow a level, and
// shortens every other level-complete sequence by a click.
//
// After each frame it checks the board and the screen for broken
// invariants and counts them; the state dump reports the count and the
// first one found.
//
// Depends on: the greedy player's move choice, the gameplay screen's records.
#pragma once

#include <array>

#include "base/math.h"
#include "game/board.h"

namespace tessaly::game {

class PlayHost;

struct AutoplayAction {
    enum class Kind { None, Click, DoubleClick, RightClick, Key };
    Kind kind = Kind::None;
    base::Vec2 at;      // screen units (clicks)
    int key = 0;      // virtual key (keys)
    CellRef moveFrom, moveTo;  // set on the click that sends a ball: the move it must start
};

constexpr int kMaxAutoplayQueue = 8;            // follow-up actions of one decision; a longer plan is cut
constexpr float kAutoplayPauseMs = 120.0f;      // between two actions, ms
constexpr int kAutoplayProblemLength = 95;

struct Autoplay {
    bool enabled = false;
    float waitMs = 0;                            // until the next action, ms
    std::array<AutoplayAction, kMaxAutoplayQueue> queue{};  // follow-ups, oldest first
    int queued = 0;
    int moves = 0;                               // moves sent
    int levelsWon = 0, levelsLost = 0;           // complete and defeat sequences seen to start
    bool wasCompleting = false, wasLosing = false;
    int sideActions = 0;                         // anything but a move
    int questionStep = 0;                        // what the question cursor tries next
    int problems = 0;                            // frames with a broken invariant
    char firstProblem[kAutoplayProblemLength + 1] = {};
    // The move the last click asked for, checked after its frame: a click
    // the game dropped counts as lost input.
    bool checkingMove = false;
    CellRef checkFrom, checkTo;
    int movesBefore = 0;
    int lostInputs = 0;
    // CPU time of the frames on the main thread, measured by the shell.
    float maxFrameCpuMs = 0;
    int slowFrames = 0;                          // frames over kSlowFrameCpuMs
};

constexpr float kSlowFrameCpuMs = 50.0f;

inline Autoplay g_autoplay;

// The action for this frame (Kind::None to wait).
AutoplayAction nextAutoplayAction(Autoplay& a, PlayHost& host, float dtMs);
// Checks the board and the screen after a frame; counts and keeps the first
// problem. Returns whether all held.
bool checkPlayInvariants(Autoplay& a, PlayHost& host);

}  // namespace tessaly::game
