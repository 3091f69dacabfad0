// The player as play sees them: lives, the running game's score, the
// position in each mode, the first-time tips already shown, the show-help
// flags, and what happens to the records when a level is won. The rules and
// the gameplay screen ask these through the seat; the player data (player/)
// sits behind it with the current profile, and DefaultPlayer (play_host.h)
// is an in-memory player for tests and for play without any profile.
//
// Modes are numbered 0 classic, 1 puzzle, 2 action; a level number is
// stage x 5 + level in the stage, 0..69.
#pragma once

#include "game/game_host.h"

namespace tessaly::game {

class PlayerSeat {
public:
    PlayerSeat() = default;
    PlayerSeat(const PlayerSeat&) = delete;
    PlayerSeat& operator=(const PlayerSeat&) = delete;
    virtual ~PlayerSeat() = default;

    virtual int lives(int mode) = 0;
    virtual void setLives(int mode, int count) = 0;
    // The running game's total score in the mode, points.
    virtual int score(int mode) = 0;
    virtual void setScore(int mode, int points) = 0;
    // The level the player is on in the mode.
    virtual int currentLevel(int mode) = 0;
    virtual void setCurrentLevel(int mode, int level) = 0;
    // The furthest level the player may choose in the mode.
    virtual int progress(int mode) = 0;
    virtual bool tipShown(Tip tip) = 0;
    virtual void markTipShown(Tip tip) = 0;
    // True once when the mode's show-help flag was set; clears it.
    virtual bool takeShowHelp(int mode) = 0;
    // A won level: offers the results to the records and the hiscore table,
    // advances the player's position and saves the player data.
    virtual LevelAdvance recordLevelComplete(int mode, const LevelResult& result) = 0;
    // A lost level: the mode's saved game no longer counts.
    virtual void dropSavedGame(int mode) = 0;
    // Saves all player data (a no-op for a player that is never saved).
    virtual void save() = 0;
    // The game of the mode starts anew: score 0, full lives, the stage's
    // first level.
    virtual void resetProgress(int mode) = 0;
};

}  // namespace tessaly::game
