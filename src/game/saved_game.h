// The saved game: a raw little-endian image of the game state, 99,409 bytes,
// no header and no version: four ints (two reserved, the flight time of the
// last move, the colour count), the 30 x 30 board of 108-byte cells
// (x-major), the move path (256 points), the bonus figure and the counters,
// clocks and level-bar values of the level in a fixed order. Every field is
// written and read one by one; no C++ struct is ever copied to disk.
//
// Loading reads the whole image into a scratch state and checks it (exact
// size, piece codes, floors, the margin of non-cells, the path length, the
// free-cell count, a ball in flight that exists, and every counter, clock
// and float finite and inside the range play produces) before taking it, so
// a short or damaged file leaves the running game untouched as a whole. Saving replaces the
// file in one step (base/files.h), so a crash never leaves half a game.
//
// What the image doesn't hold (the mode, a running defeat sequence, tips,
// effects, score items still popping) keeps its current value on loading.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "game/game_state.h"

namespace tessaly::game {

constexpr size_t kCellBytes = 108;
constexpr size_t kSavedGameBytes = 99409;

// The image of `game` into `out` (kSavedGameBytes long).
void encodeSavedGame(const GameState& game, uint8_t* out);
// Takes an image into `game` when it is whole and sound; otherwise returns
// false with the reason in `error` and leaves `game` unchanged.
bool decodeSavedGame(const uint8_t* bytes, size_t size, GameState& game, std::string& error);

// Writes the image to `path`; false when it can't be written (nothing is
// reported to the player).
bool saveGame(const GameState& game, const std::string& path);
// Reads the image from `path`; false, with the game unchanged, when the file
// can't be read or isn't a whole, sound image.
bool loadGame(GameState& game, const std::string& path);

}  // namespace tessaly::game
