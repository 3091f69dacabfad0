// The host the rules run with during play: it turns what the rules ask for
// into effects, texts, tips and screens, and hands the player's values to
// the player seat (the current profile of the player data, or an in-memory
// DefaultPlayer).
//
// The screens that follow a level ("levelcomplete", "defeat", "hiscore"),
// the pause menu ("gameplay") and the help screen are the menus' own: the
// host hands them over through the hooks of g_playHooks.
//
// Depends on: the rules' host interface, the player seat, the screen's view
// record, the particle effects, sparks, floating texts, message line and
// text table.
#pragma once

#include <cstdint>
#include <string_view>

#include "game/game_host.h"
#include "game/game_state.h"
#include "game/player_seat.h"
#include "game/play_view.h"

namespace tessaly::game {

constexpr int kModeCount = 3;
constexpr int kStartLives = 3;

// A player kept in memory: 3 lives in every mode, no tip seen, level 0.
// Tests drive play with one, and play started without any profile (the
// --level option on a first run) uses one that is never saved.
class DefaultPlayer final : public PlayerSeat {
public:
    int32_t livesByMode[kModeCount] = {kStartLives, kStartLives, kStartLives};
    int32_t scoreByMode[kModeCount] = {};     // the running game's total, points
    int32_t levelByMode[kModeCount] = {};     // level index 0..69
    int32_t bestLevel[kModeCount] = {};       // furthest level index reached
    bool tipsShown[kTipCount] = {};
    bool showHelp[kModeCount] = {};           // the help screen opens once per mode when set

    int lives(int mode) override { return livesByMode[mode]; }
    void setLives(int mode, int count) override { livesByMode[mode] = count; }
    int score(int mode) override { return scoreByMode[mode]; }
    void setScore(int mode, int points) override { scoreByMode[mode] = points; }
    int currentLevel(int mode) override { return levelByMode[mode]; }
    // Starting a level here also opens it, as a play-test would expect.
    void setCurrentLevel(int mode, int level) override;
    int progress(int mode) override { return bestLevel[mode]; }
    bool tipShown(Tip tip) override;
    void markTipShown(Tip tip) override;
    bool takeShowHelp(int mode) override;
    LevelAdvance recordLevelComplete(int mode, const LevelResult& result) override;
    void dropSavedGame(int mode) override { (void)mode; }
    void save() override {}
    void resetProgress(int mode) override;
};

inline DefaultPlayer g_defaultPlayer;

// Moves the player's position on after a won level: the next level (at most
// 69), the best level, and whether a stage (5 levels) or the whole game
// (14 stages) was completed; after the last stage the position goes back to
// the first stage.
LevelAdvance advancePlayer(DefaultPlayer& player, int mode);

// Where the menus plug in. Each hook may be null (tests that drive play
// alone): no screen opens, and after a finished stage play goes on at the
// player's new position.
struct PlayHooks {
    // Opens a menu screen over play ("levelcomplete", "defeat", "hiscore",
    // "gameplay", "helpscreen").
    void (*openScreen)(std::string_view name) = nullptr;
    // A menu or message box is open over the board.
    bool (*menuOpen)() = nullptr;
    // Leaves play for the menus after a finished stage.
    void (*leavePlay)(std::string_view menuScreen, int preselectMode) = nullptr;
    // While a menu is open it takes the keys and clicks of play, and is drawn
    // over the board and the panel each frame.
    void (*menuKeyDown)(int virtualKey) = nullptr;
    void (*menuLeftButtonDown)() = nullptr;
    void (*drawMenus)() = nullptr;
};

inline PlayHooks g_playHooks;

class PlayHost final : public GameHost {
public:
    PlayHost(PlayView& view, GameState& game, PlayerSeat& player) : m_view(view), m_game(game), m_player(&player) {}

    int lives() override;
    void addLife() override;
    void takeLife() override;
    void setLives(int count) override;
    int totalScore() override;
    void addToTotalScore(int points) override;
    bool tipShown(Tip tip) override;
    void markTipShown(Tip tip) override;
    int furthestLevel() override;
    int currentStage() override;
    LevelAdvance recordLevelComplete(const LevelResult& result) override;
    void dropSavedGame() override;
    void saveProfiles() override;
    bool takeShowHelpFlag() override;

    void openScreen(std::string_view name) override;
    void leavePlay(std::string_view menuScreen, int preselectMode) override;
    bool gameScreenCurrent() override;
    bool overlayOpen() override;

    void playEffect(std::string_view name, base::Vec2 at, int kind) override;
    void floatingText(std::string_view text, TextSource source, base::Vec2 at, float size,
                      float durationMs) override;
    void scorePopup(base::Vec2 at, int points) override;
    void showMessage(std::string_view key) override;
    void showTip(std::string_view name, base::Vec2 at, float durationMs, CellRef cell) override;
    bool tipOpen() override;
    void aimMarker(base::Vec2 at) override;
    void flightTrail(base::Vec2 at) override;
    void bonusFlash(int kind, base::Vec2 at) override;
    void levelBarSparkle() override;
    void setScene(int variant) override;
    void advanceScene(int variant) override;

    PlayView& view() { return m_view; }
    GameState& game() { return m_game; }
    PlayerSeat& player() { return *m_player; }
    // The player data installs the current profile's seat here (and the
    // default player again when there is none).
    void setPlayer(PlayerSeat& player) { m_player = &player; }

    // Whether the game screen is the current screen; without it (tests that
    // drive a host without the shell) play counts as on screen.
    bool (*screenIsCurrent)() = nullptr;

private:
    int mode() const { return modeNumber(m_game.mode); }

    PlayView& m_view;
    GameState& m_game;
    PlayerSeat* m_player;
};

inline PlayHost g_playHost{g_playView, g_game, g_defaultPlayer};

}  // namespace tessaly::game
