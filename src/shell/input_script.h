// Scripted input: events to deliver before given frames, so that a test or
// a demonstration can drive the game like a player. One event per line:
//
//   # comment                   (blank lines and '#' lines are skipped)
//   30 key 65                   key down, Windows virtual-key number 1..255
//   40 move -120.5 80           pointer to screen units (centre origin, y up)
//   41 left-down                also left-up, double-click, right-down,
//   42 left-up                  right-up, middle-down, middle-up
//   90 deactivate               also activate, close (the close button)
//
// Events are delivered in frame order, and in file order within a frame,
// just before that frame is drawn (frame 1 is the first frame of the loop).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/window.h"

namespace tessaly::shell {

struct ScriptedEvent {
    int64_t frame = 0;
    platform::Event event{};
    bool movesPointer = false;   // "move": the pointer goes to (x, y) first
    bool dropped = false;        // "middle-up": accepted, nothing reaches a screen
    float x = 0, y = 0;          // screen units
};

struct InputScript {
    std::vector<ScriptedEvent> events;  // sorted by frame, stable
    size_t next = 0;                    // first event not yet delivered
};

// Parses a whole script. False with "line N: reason" in `error` on the first
// malformed line; `out` is then empty.
bool parseInputScript(std::string_view text, InputScript& out, std::string& error);
bool loadInputScript(const std::string& path, InputScript& out, std::string& error);

// Delivers every event scheduled up to and including `frame`: moves the
// pointer for "move" and dispatches to the current screen.
void deliverScriptedInput(InputScript& script, int64_t frame);

}  // namespace tessaly::shell
