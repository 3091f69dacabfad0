// The menu runtime: shows one screen of the menu tree at a time, turns the
// pointer and the keys into a highlighted item, an activated item, slider
// and check-box changes and typed names, and runs the fades between screens.
//
// Menu coordinates are the screen units: 800 x 600, origin in the middle,
// y up. Every frame the screen's step runs `stepMenus` (the update, then a
// layout pass in which the screen's hook registers its item boxes and
// widgets), and its draw runs `drawMenus`, which runs the same hook again
// to paint what the layout pass placed, reading only. Item box i belongs to
// child i; a widget's identity is its registration order on its screen.
//
// Depends on: the menu tree, the drawing and text code, the sound effects,
// the player data (the current player's progress for level marks).
#pragma once

#include <cstdint>
#include <string_view>

#include "base/math.h"
#include "menus/menu_tree.h"

namespace tessaly::menus {

inline constexpr int kMaxItemBoxes = 32;   // items past this in a frame get no box (can't be clicked)
inline constexpr int kMaxWidgets = 128;    // widgets past this are not registered (a scratch record)
inline constexpr int kEditBufferSize = 32;
inline constexpr int kMaxNameLength = 12;
inline constexpr int kMessageSize = 260;
inline constexpr float kFadeMs = 300.0f;
inline constexpr float kHoverFallbackMs = 300.0f;

enum class WidgetKind : int32_t {
    Slider = 0,
    CheckBox = 1,
    ToggleWithEntry = 2,
    HotSpot = 3,
    LeftArrow = 4,
    RightArrow = 5,
    PlayerLink = 7,
    PlayerEntry = 8,
    LevelMark = 9,
};

struct ItemBox {
    float left = 0, top = 0, right = 0, bottom = 0;
};

struct MenuWidget {
    float left = 0, top = 0, right = 0, bottom = 0;  // top has the larger y
    WidgetKind kind = WidgetKind::HotSpot;
    int16_t steps = 0;
    int16_t value = 0;
    uint8_t flag = 0;
};

// What the "levelcomplete" screen shows while it counts the level's values up.
struct LevelCompleteCount {
    int stat = 0;           // 0 score, 1 combo, 2 time, 3 moves, 4 done
    float elapsedMs = 0;    // of the current stat
    float tickMs = 0;
    bool finishCount = false;  // Enter: the current stat jumps to its end
    float clockMs = 0;      // the pulsing colours
};

struct MenuState {
    MenuNode* current = nullptr;
    int highlighted = 0;           // index into current's children, -1 none
    int previousHighlighted = -1;  // for the change sound
    ItemBox boxes[kMaxItemBoxes];
    int boxCount = 0;
    MenuWidget widgets[kMaxWidgets];
    int widgetCount = 0;
    int hoveredWidget = -1;
    int selectedEntry = 0;         // level mark or player entry chosen
    float fade = 1;                // 0 shown, 1 hidden
    float slide = 0;
    float fadeTimerMs = 0;
    bool fadingIn = false;
    bool fadingOut = false;
    bool activationPending = false;
    bool backPending = false;
    bool pointerMoved = false;
    bool buttonHeld = false;
    int pendingKey = 0;
    bool textEntry = false;
    char edit[kEditBufferSize] = {};
    int editLength = 0;
    int caret = 0;
    char message[kMessageSize] = {};
    float clockMs = 0;             // grows by the frame step
    float hoverTimerMs = 0;
    float screenClockMs = 0;       // since the current screen opened (the caret's blink)
    float creditsMs = 0;           // the credits' scroll position
    bool hidden = false;           // "main" left with Escape: scenery only
    bool pointerOnHighlighted = false;  // last hover detection found the highlighted item
    base::Vec2 pointer = {};       // menu units, read by each update

    int backgroundView = 0;        // 0 scenery, 1 level map, 4 credits scenery
    int rememberedPlayer = 0;      // for rename and remove
    int shownTable = 0;            // hiscore table 0..2
    uint8_t pendingFullscreen = 0; // the options' full-screen box until "apply"
    uint8_t customPointer = 0;     // the options' pointer box, bound to the setting
    int16_t volumeWidgets[2] = {};
    LevelCompleteCount count;

    bool painting = false;         // the paint pass runs (draw); registrations are read back
    int paintBoxIndex = 0;
    int paintWidgetIndex = 0;
};

inline MenuState g_menu;

// What the menus ask of the program around them. Set once at start-up by the
// shell; an empty entry is skipped.
struct MenuShell {
    void (*showMenuScreen)() = nullptr;     // make the menu screen current
    void (*showGameScreen)() = nullptr;     // make the game screen current
    bool (*gameScreenCurrent)() = nullptr;  // play is the current screen
    void (*quit)() = nullptr;
    void (*applyFullscreen)(bool fullscreen) = nullptr;
    void (*pointerOptionChanged)() = nullptr;  // the custom pointer box changed
};

inline MenuShell g_menuShell;

// --- the runtime -----------------------------------------------------------

// Empties the runtime: no screen, no fade, no pending key.
void resetMenus();
// Ignored while a fade runs. A null node (or an unknown name) does nothing.
void openScreen(MenuNode* node);
void openScreen(std::string_view name);
// Starts the fade-out of the current screen.
void closeScreen();
void showMessageBox(std::string_view text, bool okOnly);
// Looks a text up in the text table ("" when absent, and counted as a miss).
const char* menuText(std::string_view key);

// Once per frame: the update of the fades, hover, sliders and keys, then the
// layout pass of the current screen.
void stepMenus(float dtMs);
// The paint pass: draws the current screen as the layout pass placed it.
void drawMenus();
// The menu is shown over play or in the menus.
inline bool menuShown() { return g_menu.current != nullptr; }
bool fadeRunning();

// Input.
void menuPointerMoved();
void menuButtonDown();
void menuButtonUp();
void menuDoubleClick();
void menuKeyDown(int virtualKey);

// --- what the screen hooks build with ------------------------------------

// The pulsing colours of the menus (ARGB).
uint32_t highlightArgb();
uint32_t glowArgb();

// Registers a widget (layout pass) or reads the one registered at this
// place (paint pass).
MenuWidget& addWidget(WidgetKind kind, float left, float top, float right, float bottom);
// A slider bound to `value` (0..steps-1); returns true when the binding
// changed the variable this frame.
bool addSlider(float leftX, float rightX, float y, int steps, int& value);
bool addCheckBox(float x, float y, uint8_t& flag, std::string_view label, float labelSize);
void drawList(float x, float y, float size, bool centred, int first = 0, int last = -1, bool panel = true);
// A button from "button.tga"; without text it shows the next item's text and
// becomes the next item box.
void drawButton(float x, float y, float width, float height, float textSize, const char* text = nullptr);
void drawPanel(float left, float top, float right, float bottom, float alpha = 1);
void drawMenuText(float x, float y, float size, uint32_t argb, std::string_view text, bool centred);
void drawAtlasCell(int cell, float x, float y, float scale, uint32_t argb, bool additive = false);
// The panel's top edge in the atlas; at half scale it serves as a separator.
inline constexpr int kAtlasEdgeCell = 10;
// The hover glow around the hovered widget.
void drawHoverGlow();
// Width of the widest item text of the current screen at this size.
float widestItem(const MenuNode& screen, float size, int first = 0, int last = -1);

// The drawn pointer (custom pointer option) in kind 0 normal, 1 hammer, 2
// question, at the pointer.
void drawMenuPointer(int kind, float pointerClockMs);
// The normal pointer at `at` (menu units), scaled by `scale` about its tip.
void drawMenuPointerAt(base::Vec2 at, float scale, float pointerClockMs);

}  // namespace tessaly::menus
