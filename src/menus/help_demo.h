// The help demonstration: a small board that plays itself. A pointer glides
// between the positions its help level records, clicks (squeezing, with the
// word "click" beside it) and the real rules select, move and remove lines
// on a second board of their own. Four boards play in turn, 9.5 s each, each
// time with the next of seven colour sets.
//
// The help screen plays "help5".."help8" (set flag 0); a first-time tip's
// balloon plays the board of its own tip from "help1".."help4" (set flag 1:
// the loader places jokers, and the run skips from its first click to its
// last). Step, then draw: stepHelpDemo advances the clocks and the rules;
// drawHelpDemo only reads.
//
// Depends on: the game's rules, level files and board drawing; the menu
// runtime (pointer sprite, text).
#pragma once

#include "base/math.h"
#include "game/level_file.h"

namespace tessaly::menus {

constexpr int kHelpDemos = 4;
constexpr int kHelpColourSets = 7;
constexpr int kHelpPhases = 5;  // phases with an end; the sixth runs to the end of the run
constexpr float kHelpPhaseEndsMs[kHelpPhases] = {1500, 3000, 4500, 6000, 7500};
constexpr float kHelpRunMs = 9500;
constexpr float kHelpBoardScale = 0.5f;
constexpr float kHelpSetFlagSkipMs = 3000;

struct HelpDemo {
    bool active = false;
    int demo = 0;              // 0..3: which help board
    int colourOffset = 0;      // 0..6, carried on from visit to visit
    int phase = 0;             // 0..5
    float clockMs = 0;         // within the run
    int setFlag = 0;           // 1: a tip's board
    bool cycles = true;        // the help screen goes through all four boards
    base::Vec2 pointer = {};   // board units
    game::HelpPointers pointers;
    base::Vec2 boardCentre = {};  // middle of the help board's cells, board units
    bool loaded = false;
};

inline HelpDemo g_helpDemo;

// The help screen's run: from the first board, the next colour set.
void startHelpDemo();
// A tip's board: board `tipIndex` mod 4 of "help1".."help4", over and over.
void startTipDemo(int tipIndex);
// Inactive; the help board and what it shows are cleared.
void stopHelpDemo();
bool helpDemoRunning();

// Once per frame while shown: the pointer, the phases and their clicks,
// the rules of the help board at half the frame time.
void stepHelpDemo(float dtMs);

// Pieces of the help board vanishing now (lines the rules removed).
int helpBoardPopping();

// The pointer at the demonstration's clock, board units.
base::Vec2 helpPointerAt(const HelpDemo& demo);

// The board at kHelpBoardScale centred at (x, y) in the current world
// frame, then the pointer and its "click".
void drawHelpDemo(float x, float y);

// The running demonstration in a tip balloon.
void connectTipDemonstration();

}  // namespace tessaly::menus
