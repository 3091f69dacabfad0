// The letterbox: the 800 x 600 picture scaled into a window of any size with
// its aspect kept and centred, black bars filling the rest. The device draws
// through it and the cursor is mapped back through it, so a click lands on
// what the player sees. Pure arithmetic, no SDL.
#pragma once

namespace tessaly::platform {

constexpr int kLogicalWidth = 800;   // the picture every screen draws, pixels
constexpr int kLogicalHeight = 600;

// The picture's place in the window, in window pixels, top-left origin.
struct Letterbox {
    int x = 0, y = 0;
    int width = kLogicalWidth, height = kLogicalHeight;
};

// The largest centred 4:3 rectangle inside a window of the given size. A
// window of zero size (minimised) gives an empty rectangle.
Letterbox computeLetterbox(int windowWidth, int windowHeight);

// Window pixels to logical pixels of the picture (x right, y down); points
// on the bars map outside 0..800 x 0..600, as the cursor left of a window
// would.
void windowToLogical(const Letterbox& box, float wx, float wy, float* lx, float* ly);
void logicalToWindow(const Letterbox& box, float lx, float ly, float* wx, float* wy);

}  // namespace tessaly::platform
