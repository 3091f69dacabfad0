// Tooltip balloons: a framed, nearly opaque box with wrapped text and an
// optional bouncing arrow pointing at a spot on the screen (a HUD button, a
// menu item, a board cell). Immediate mode: whoever wants a balloon requests
// it every frame; a frame without a request hides it. A new text or anchor
// restarts the 250 ms appear animation (grow from the anchor, or fade in).
//
// Two layouts: the ordinary balloon sits along a direction from its anchor
// (toward the screen centre, or a given angle) with its edge 89.6 units
// away; the tip balloon stands beside its anchor on the screen-centre side
// with room for a second text, a continue button and a small self-playing
// board demonstration. The demonstration belongs to the help screen, which
// plugs it in through `TipDemonstration`.
//
// Art: "baloon.tga" (4 x 2 cells: corners, edges, arrow), "white.jpg" (the
// fill), "button.tga" (the continue button). The same box frame is drawn
// around the name-entry field (drawBalloonFrame).
// Depends on: drawing primitives, textures, fonts, text table ("continue"),
// the menu button.
#pragma once

#include <string_view>

#include "base/math.h"

namespace tessaly::fx {

constexpr int kBalloonTextSize = 1024;       // longer texts are cut
constexpr float kBalloonAppearMs = 250;
constexpr float kBalloonGap = 89.6f;         // anchor to box edge along the arrow direction
constexpr float kBalloonTextHeight = 11;     // text size
constexpr float kBalloonButtonRoom = 44.8f;  // extra height for the continue button
constexpr float kTipBoardRoom = 150;         // extra tip height for the demonstration board
constexpr float kAutomaticArrowAngle = -1000;
// The fill is all but opaque: a balloon over the board or the panel must
// read whatever lies under it.
constexpr int kBalloonFillAlpha = 245;

// The board demonstration shown in tip balloons, provided by the help
// screen. Every hook may be null (no demonstration).
struct TipDemonstration {
    bool (*isRunning)() = nullptr;
    void (*start)(int tipIndex) = nullptr;
    // Advances the running demonstration; the balloon's step calls it.
    void (*step)(float dtMs) = nullptr;
    // Draws the running demonstration centred at (x, y) in the balloon's
    // frame: the world transform holds the anchor translation (and the
    // grow-in scale) while it is called.
    void (*draw)(float x, float y) = nullptr;
    void (*end)() = nullptr;
};

struct BalloonRequest {
    base::Vec2 anchor = {};                 // centred screen units
    char text[kBalloonTextSize] = {};
    char secondText[kBalloonTextSize] = {};
    float maxWidth = 300;
    bool arrow = false;
    float arrowAngle = kAutomaticArrowAngle;  // degrees; <= -1000: automatic
    bool growIn = false;              // otherwise fade in
    bool continueButton = false;
    int tipIndex = -1;                // -1: ordinary balloon
    bool requested = false;           // set by a request, cleared by the step
};

struct BalloonState {
    BalloonRequest request;           // this frame's request, being made
    BalloonRequest current;           // the balloon the step took for this frame's picture
    float timeShownMs = 0;
    char previousText[kBalloonTextSize] = {};
    base::Vec2 previousAnchor = {-10000, -100000};
    bool shown = false;               // this frame shows `current`
    int shownTipIndex = -1;
    base::Rect continueRect = {};           // screen units; empty without a button
    bool continueHovered = false;
    TipDemonstration demonstration;
};

inline BalloonState g_balloon;

// Where everything of one balloon goes, in the balloon's frame (origin at
// the anchor).
struct BalloonLayout {
    base::Vec2 anchor = {};                 // after the centre fix
    float k = 0;                      // appear progress 0..1
    float width = 0, height = 0;      // box size
    float textHeight = 0;             // first text, wrapped, + 32
    float secondHeight = 0;           // second text, wrapped, + 32; 0 without one
    base::Vec2 direction = {};              // unit, from the anchor toward the box
    base::Vec2 boxCentre = {};
    base::Rect box = {};
    base::Vec2 arrowOffset = {};
    float arrowAngle = 0;             // degrees
    float textOffsetY = 0;            // first text's line relative to the box centre
};

void showBalloon(BalloonState& b, float x, float y, std::string_view text, float maxWidth, bool arrow,
                 float arrowAngle, bool growIn);
void showBalloonWithContinue(BalloonState& b, float x, float y, std::string_view text, float maxWidth,
                             bool arrow, float arrowAngle, bool growIn);
void showTipBalloon(BalloonState& b, float x, float y, std::string_view text, std::string_view secondText,
                    float maxWidth, int tipIndex);

// Computes the layout of the current request at time shown timeShownMs.
BalloonLayout layoutBalloon(const BalloonRequest& request, float timeShownMs);
// The frame's step, after the frame's request: takes the request for this
// frame's picture (or hides the balloon when none was made), advances the
// appear animation and places the continue button. `cursor` is the pointer
// in screen units (for the continue button's hover).
void stepBalloon(BalloonState& b, float stepMs, base::Vec2 cursor);
// Draws what the step took, after the screen's own drawing; only reads.
void drawBalloon(const BalloonState& b);
// Both, for tools and tests that draw as they go.
void updateBalloon(BalloonState& b, float stepMs, base::Vec2 cursor);
// Whether a screen-unit point lies on the continue button drawn last frame.
bool balloonContinueHit(const BalloonState& b, base::Vec2 point);

// The box frame of a rectangle (y up): a dark translucent fill and the
// frame cells of "baloon.tga". Also used around the name-entry field.
void drawBalloonFrame(const base::Rect& box, bool growIn = false);

// The process-wide balloon, in the words the game and the menus use.
inline void showBalloon(float x, float y, std::string_view text, float maxWidth, bool arrow,
                        float arrowAngle, bool growIn) {
    showBalloon(g_balloon, x, y, text, maxWidth, arrow, arrowAngle, growIn);
}
inline void showBalloonWithContinue(float x, float y, std::string_view text, float maxWidth, bool arrow,
                                    float arrowAngle, bool growIn) {
    showBalloonWithContinue(g_balloon, x, y, text, maxWidth, arrow, arrowAngle, growIn);
}
inline void showTipBalloon(float x, float y, std::string_view text, std::string_view secondText,
                           float maxWidth, int tipIndex) {
    showTipBalloon(g_balloon, x, y, text, secondText, maxWidth, tipIndex);
}
void stepBalloon(float stepMs);  // reads the pointer
inline void drawBalloon() { drawBalloon(g_balloon); }

}  // namespace tessaly::fx
