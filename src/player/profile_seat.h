// The current profile as the seat of play (game/player_seat.h): lives,
// score, position, tips and records read and written in g_playerData's
// current player, and saved with all player data. With no player at all
// the seat is empty and play goes on a DefaultPlayer that is never saved
// (installPlayerSeat chooses).
//
// Depends on: the player data, the rules' seat and host.
#pragma once

#include "game/play_host.h"
#include "game/player_seat.h"
#include "player/player_data.h"

namespace tessaly::player {

class ProfileSeat final : public game::PlayerSeat {
public:
    explicit ProfileSeat(PlayerData& data) : m_data(data) {}

    int lives(int mode) override;
    void setLives(int mode, int count) override;
    int score(int mode) override;
    void setScore(int mode, int points) override;
    int currentLevel(int mode) override;
    void setCurrentLevel(int mode, int level) override;
    int progress(int mode) override;
    bool tipShown(game::Tip tip) override;
    void markTipShown(game::Tip tip) override;
    bool takeShowHelp(int mode) override;
    game::LevelAdvance recordLevelComplete(int mode, const game::LevelResult& result) override;
    void dropSavedGame(int mode) override;
    void save() override;
    void resetProgress(int mode) override;

private:
    ProfileRecord* profile() { return currentProfile(m_data); }
    PlayerData& m_data;
};

inline ProfileSeat g_profileSeat{g_playerData};
// Play without any profile: kept in memory only.
inline game::DefaultPlayer g_temporaryPlayer;

// Seats play on the current profile, or on the temporary player when there
// is none. Call whenever the current player changes.
void installPlayerSeat(game::PlayHost& host = game::g_playHost, PlayerData& d = g_playerData);

}  // namespace tessaly::player
