// SDL events in the screens' terms: the translation behind pollEvent, kept
// apart from the window so it can be tested with hand-made SDL events.
// Platform-internal: only src/platform and its tests include this.
#pragma once

#include "platform/letterbox.h"
#include "platform/window.h"

union SDL_Event;

namespace tessaly::platform {

// Where the pointer is, in logical pixels of the picture (x right, y down).
struct CursorState {
    float x = kLogicalWidth / 2.0f;
    float y = kLogicalHeight / 2.0f;
};

// Translates one SDL event; false for events the screens do not see (key
// releases, the middle button's release, wheel, text input, unmapped keys).
// Mouse events move the cursor through the letterbox `box` (window units).
// A left press that completes a double click (2nd, 4th, ... click) becomes
// LeftDoubleClick instead of LeftDown, as on the desktop the game was made for.
bool translateSdlEvent(const SDL_Event& event, const Letterbox& box, Event& out,
                       CursorState& cursor);

}  // namespace tessaly::platform
