// Level files: the "key=value" text that gives a level's parameters and the
// starting layout of its board, and the help levels that the help screen's
// demonstration plays.
//
// Levels are numbered 0..69: "tut1_01.lvl".."tut1_04.lvl" for 0..3, then
// "pack1_01.lvl" upwards, read from the "levels" folder through the data
// registry. The grid after "level=" is 15 rows of 20 significant characters
// (anything but '.' and '0'..'z' is skipped), ending early at the end of the
// text or at an empty line; cells it doesn't reach stay non-cells.
//
// Parsing goes into a scratch board, and the game's board and parameters
// change only when the whole file was accepted. A file without a colour
// count (or with 0) is refused with a message naming the file, so a level
// never starts with no colour to draw new balls from. Counts are bounded on
// reading: at most kMaxColors colours, kMaxAddBalls balls per turn and a bar
// target of kMaxBarTotal.
//
// Depends on data/registry.h and data/text.h (reading and key lookup).
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "base/math.h"
#include "game/board.h"
#include "game/game_state.h"

namespace tessaly::game {

// "tut1_01.lvl" for index 0 .. "pack1_66.lvl" for index 69.
std::string levelFileName(int levelIndex);

// Parses a whole level text (need not be NUL-terminated) into `board` and
// `params`. On failure returns false with a reason in `error` and leaves
// both untouched.
bool parseLevel(std::string_view text, Board& board, LevelParams& params, std::string& error);

// Reads and parses level `levelIndex` into the game's board and level
// parameters. False, with the game unchanged and the reason on stderr and in
// `error` (when given), if the file can't be read or is refused.
bool loadLevel(GameState& game, int levelIndex, std::string* error = nullptr);

// Pointer positions a help level records for the demonstration: the cursor
// visits them in order. Positions beyond the capacity are ignored; the
// demonstration uses at most six.
constexpr int kMaxHelpPointers = 16;
struct HelpPointers {
    std::array<base::Vec2, kMaxHelpPointers> points{};
    int count = 0;
};

// Parses a help level's grid into `board`: '.' non-cell; a digit sets the
// floor only; 'a'..'p' a ball of colour (offset + letter) mod 7 on plain
// floor, 'A'..'P' the same on a square of strength 1; 'u' and 'y' a piece on
// a square (a joker with setFlag 1, else a ball of the offset colour) and 'v'
// and 'z' an empty square, each recording its cell centre as a pointer
// position; 'x' an empty plain cell that records a pointer position; any
// other character an empty plain cell. Every cell gets scale 0.5; outside
// Puzzle squares are flattened.
bool parseHelpLevel(std::string_view text, int colourOffset, int setFlag, Mode mode, Board& board,
                    HelpPointers& pointers, std::string& error);

// Loads "help%i.lvl" (page, plus 4 when setFlag is 0) into a demonstration
// game: its board, `demo` set, no selection or flight. False, with the game
// unchanged, when the file can't be read.
bool loadHelpLevel(GameState& demo, int page, int colourOffset, int setFlag,
                   HelpPointers& pointers);
// The same in two steps, for a caller that keeps the texts: the file's text
// (false, said on stderr, when it can't be read), and after parseHelpLevel
// into a demonstration game's board, the rest of its set-up.
bool readHelpLevelText(int page, int setFlag, std::string& text);
void settleHelpBoard(GameState& demo);

}  // namespace tessaly::game
