// What the rules of play ask of the rest of the game: the player's profile
// (lives, total score, first-time tips, progress and records), the screens
// that follow a level, and the visual feedback (particle effects, floating
// texts, the message line, tips, sparks, the background scene).
//
// The rules never draw and never touch the profile files themselves; they
// call these operations, so the gameplay screen, the menus and the player
// data plug in the real services, tests record every call, and the default
// host lets the engine run headless. Sound requests and random numbers are
// not routed through here: the rules use sound/sound.h and fx/random.h
// directly.
//
// Texts passed as keys are names in the text table ("megamatch",
// "levelcomplete"); the few fixed strings ("Combo x 3", "+5000") are passed
// as literals and drawn as they stand.
#pragma once

#include <cstdint>
#include <string_view>

#include "base/math.h"
#include "game/board.h"

namespace tessaly::game {

// The first-time tips, in the order of the profile's tip-shown flags.
enum class Tip : int {
    TripleBomb,
    QuadroBomb,
    Diamond,
    HammerTip,
    HammerFull,
    JokerTip,
    TipBusySquare2,
    ChainItemTip,
    ActionBarTip,
    DoubleRelax,
    HelpRelax,
    LevelProgresBar,
    NewBallTip,
    Count
};
constexpr int kTipCount = int(Tip::Count);
const char* tipName(Tip tip);  // "triplebomb", ...

enum class TextSource : int {
    Key,      // a name in the text table
    Literal,  // drawn as it stands
};

// The results of a won level offered to the records.
struct LevelResult {
    int levelIndex = 0;
    int score = 0;        // level score, points
    int maxCombo = 0;
    int playTimeMs = 0;
    int moves = 0;        // moves made
};

// What advancing the player's position reported.
struct LevelAdvance {
    bool stageCompleted = false;  // the level was the fifth of its stage
    bool gamePassed = false;      // ... of the last stage
};

class GameHost {
public:
    GameHost() = default;
    GameHost(const GameHost&) = delete;
    GameHost& operator=(const GameHost&) = delete;
    virtual ~GameHost() = default;

    // --- The player's profile, in the current mode -----------------------
    virtual int lives() { return 3; }
    virtual void addLife() {}
    virtual void takeLife() {}
    virtual void setLives(int count) { (void)count; }
    // The running game's total score in the mode.
    virtual int totalScore() { return 0; }
    virtual void addToTotalScore(int points) { (void)points; }
    virtual bool tipShown(Tip tip) { (void)tip; return true; }
    virtual void markTipShown(Tip tip) { (void)tip; }
    // The furthest level index reached in any mode.
    virtual int furthestLevel() { return 0; }
    // The player's current stage in the mode (0..13).
    virtual int currentStage() { return 0; }
    // Offers the results to the records and the hiscore table, advances the
    // player's position and saves the player data.
    virtual LevelAdvance recordLevelComplete(const LevelResult& result) {
        (void)result;
        return {};
    }
    virtual void dropSavedGame() {}
    virtual void saveProfiles() {}
    // True once when the mode's show-help flag was set; clears it.
    virtual bool takeShowHelpFlag() { return false; }

    // --- Screens ------------------------------------------------------------
    // Opens a menu screen over or after play: "levelcomplete", "defeat",
    // "hiscore", "gameplay" (the pause menu), "helpscreen".
    virtual void openScreen(std::string_view name) { (void)name; }
    // Leaves play for the menus after a finished stage: `menuScreen` is
    // "main" (with `preselectMode` chosen) or "mode1".."mode3".
    virtual void leavePlay(std::string_view menuScreen, int preselectMode) {
        (void)menuScreen;
        (void)preselectMode;
    }
    virtual bool gameScreenCurrent() { return true; }
    // A message box or menu is open over the board.
    virtual bool overlayOpen() { return false; }

    // --- Feedback -------------------------------------------------------------
    // A described particle effect by name at a point; `kind` is the piece it
    // belongs to (-1 for none), so ball effects can take its colour.
    virtual void playEffect(std::string_view name, base::Vec2 at, int kind) {
        (void)name;
        (void)at;
        (void)kind;
    }
    virtual void floatingText(std::string_view text, TextSource source, base::Vec2 at, float size,
                              float durationMs) {
        (void)text;
        (void)source;
        (void)at;
        (void)size;
        (void)durationMs;
    }
    // The rising number of an amount of points booked at a point.
    virtual void scorePopup(base::Vec2 at, int points) {
        (void)at;
        (void)points;
    }
    // The message line at the bottom of the screen (a text key).
    virtual void showMessage(std::string_view key) { (void)key; }
    // A tip balloon with a title key, pointing at `cell` when it is valid.
    virtual void showTip(std::string_view name, base::Vec2 at, float durationMs, CellRef cell) {
        (void)name;
        (void)at;
        (void)durationMs;
        (void)cell;
    }
    virtual bool tipOpen() { return false; }
    // The marker where a move was aimed, and the trail of a flying ball.
    virtual void aimMarker(base::Vec2 at) { (void)at; }
    virtual void flightTrail(base::Vec2 at) { (void)at; }
    // The flash of an earned special arriving (11 bomb, 12 diamond, 13 superbomb).
    virtual void bonusFlash(int kind, base::Vec2 at) {
        (void)kind;
        (void)at;
    }
    // Sparkle at the level bar while its shown fraction catches up.
    virtual void levelBarSparkle() {}

    // --- Background scene -------------------------------------------------------
    virtual void setScene(int variant) { (void)variant; }
    // A finished level moves the scene on, with its transition.
    virtual void advanceScene(int variant) { (void)variant; }
};

// The do-nothing host the engine runs with until the game installs its own.
inline GameHost g_headlessHost;

}  // namespace tessaly::game
