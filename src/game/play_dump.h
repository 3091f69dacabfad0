// The game's part of the state dump (--dump-state): the mode and level, the
// board of the 20 x 15 window as rows of characters, the counters of play,
// the sequences, the selection and the ball in flight, what the screen
// shows over the board; and the lookups by name that found nothing.
//
// Board rows, top row first, one character per column (x 5..24):
//   floors   '.' no cell, '0'..'9' the floor value (squares 1..9)
//   pieces   '.' none, '0'..'7' a ball, 'J' joker, 'B' bomb, 'D' diamond,
//            'S' superbomb
//   chains   '0'..'9' chains holding the piece
//   pending  the announced piece, in the pieces' characters
#pragma once

#include "game/board.h"

namespace tessaly::base {
class JsonWriter;
}

namespace tessaly::game {

class PlayHost;

// The character of a piece code in the dump's rows.
char pieceCharacter(int kind);

void dumpPlayState(base::JsonWriter& json, PlayHost& host);
void dumpLookupMisses(base::JsonWriter& json);
// How full every fixed pool of the effects and the sound has been, and the
// total of entries lost to a full pool.
void dumpPoolUse(base::JsonWriter& json);

}  // namespace tessaly::game
