// Test support for the rules of play:
//  - RecordingHost records every call the rules make to the profile, the
//    screens and the feedback services, and plays a simple profile (lives,
//    total score, tip flags) so that the rules can be driven end to end;
//  - SoundLog installs a table of named sounds into the real sound system
//    (no audio device) and reads back, frame by frame, which were requested
//    and at what rate;
//  - a board fixture written as rows of characters;
//  - invariant checks used after every step of the longer tests.
#pragma once

#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

#include "base/random.h"
#include "game/board.h"
#include "game/game_host.h"
#include "game/game_state.h"

namespace tessaly::game::testing {

class RecordingHost final : public GameHost {
public:
    struct Text {
        std::string text;
        TextSource source;
        base::Vec2 at;
        float size;
        float durationMs;
    };
    struct Effect {
        std::string name;
        base::Vec2 at;
        int kind;
    };
    struct TipCall {
        std::string name;
        base::Vec2 at;
        float durationMs;
        CellRef cell;
    };

    // The profile it plays.
    int livesLeft = 3;
    int total = 0;
    bool tipsShown[kTipCount] = {};
    int furthest = 0;
    int stage = 0;
    LevelAdvance advance;
    bool showHelpFlag = false;
    bool gameOnScreen = true;
    bool overlay = false;
    bool tipIsOpen = false;

    // What it saw.
    std::vector<Text> texts;
    std::vector<Effect> effects;
    std::vector<TipCall> tips;
    std::vector<std::string> messages;
    std::vector<std::string> screens;
    std::vector<std::pair<std::string, int>> leaves;
    std::vector<std::pair<base::Vec2, int>> popups;
    std::vector<LevelResult> results;
    std::vector<int> scenes, advancedScenes;
    int livesAdded = 0, livesTaken = 0, savedGamesDropped = 0, profileSaves = 0;
    int aims = 0, trails = 0, sparkles = 0;

    int lives() override { return livesLeft; }
    void addLife() override {
        ++livesLeft;
        ++livesAdded;
    }
    void takeLife() override {
        --livesLeft;
        ++livesTaken;
    }
    void setLives(int count) override { livesLeft = count; }
    int totalScore() override { return total; }
    void addToTotalScore(int points) override { total += points; }
    bool tipShown(Tip tip) override { return tipsShown[int(tip)]; }
    void markTipShown(Tip tip) override { tipsShown[int(tip)] = true; }
    int furthestLevel() override { return furthest; }
    int currentStage() override { return stage; }
    LevelAdvance recordLevelComplete(const LevelResult& result) override {
        results.push_back(result);
        return advance;
    }
    void dropSavedGame() override { ++savedGamesDropped; }
    void saveProfiles() override { ++profileSaves; }
    bool takeShowHelpFlag() override {
        const bool was = showHelpFlag;
        showHelpFlag = false;
        return was;
    }
    void openScreen(std::string_view name) override { screens.emplace_back(name); }
    void leavePlay(std::string_view screen, int mode) override { leaves.emplace_back(std::string(screen), mode); }
    bool gameScreenCurrent() override { return gameOnScreen; }
    bool overlayOpen() override { return overlay; }
    void playEffect(std::string_view name, base::Vec2 at, int kind) override {
        effects.push_back({std::string(name), at, kind});
    }
    void floatingText(std::string_view text, TextSource source, base::Vec2 at, float size,
                      float durationMs) override {
        texts.push_back({std::string(text), source, at, size, durationMs});
    }
    void scorePopup(base::Vec2 at, int points) override { popups.emplace_back(at, points); }
    void showMessage(std::string_view key) override { messages.emplace_back(key); }
    void showTip(std::string_view name, base::Vec2 at, float durationMs, CellRef cell) override {
        tips.push_back({std::string(name), at, durationMs, cell});
    }
    bool tipOpen() override { return tipIsOpen; }
    void aimMarker(base::Vec2) override { ++aims; }
    void flightTrail(base::Vec2) override { ++trails; }
    void levelBarSparkle() override { ++sparkles; }
    void setScene(int variant) override { scenes.push_back(variant); }
    void advanceScene(int variant) override { advancedScenes.push_back(variant); }

    bool sawText(const std::string& text) const;
    bool sawEffect(const std::string& name) const;
    bool sawTip(const std::string& name) const;
    int countEffect(const std::string& name) const;
    void clearLog();
};

// Requests seen in the sound system's ring.
struct SoundCall {
    std::string name;
    int rateHz;
};

class SoundLog final {
public:
    // Installs every sound name the rules request into sound::g_sound.
    SoundLog();
    ~SoundLog();  // leaves the sound system empty again
    SoundLog(const SoundLog&) = delete;
    SoundLog& operator=(const SoundLog&) = delete;

    // Collects the requests waiting in the ring, then runs the sound update
    // for `dtMs` (which starts nothing: there is no output) so that the
    // repeat guards run down as they would between frames.
    void collect(float dtMs = 16.0f);
    int count(const std::string& name) const;
    bool heard(const std::string& name) const { return count(name) > 0; }
    std::vector<SoundCall> calls;
};

// A game with its own host, seeded random numbers and an empty board.
struct GameFixture {
    std::unique_ptr<GameState> game = std::make_unique<GameState>();
    RecordingHost host;
    GameFixture();
    GameState& g() { return *game; }
};

// Board rows: row r, column c is cell (5 + c, 5 + r); cells the rows don't
// reach are non-cells. '.' non-cell, '_' plain floor, '1'..'9' empty square,
// 'a'..'h' a ball, 'J' joker, 'B' bomb, 'D' diamond, 'S' superbomb. Pieces
// are fully appeared. freeCells is recounted.
void setBoard(GameState& game, const std::vector<std::string>& rows);
inline void setBoard(GameState& game, std::initializer_list<const char*> rows) {
    setBoard(game, std::vector<std::string>(rows.begin(), rows.end()));
}
inline CellRef at(int column, int row) { return {kFieldLeft + column, kFieldTop + row}; }
inline base::Vec2 pointOf(int column, int row) { return cellCentre(at(column, row)); }
// Piece kind at a fixture position (-1 empty).
int kindAt(const GameState& game, int column, int row);

// freeCells equals the count of free cells; no piece or pending piece on a
// non-cell; every code known.
::testing::AssertionResult boardInvariants(const GameState& game);

// Steps the game frame by frame for `ms`.
void run(GameState& game, float ms, float stepMs = 10.0f);

}  // namespace tessaly::game::testing
