#include "player/profile_seat.h"

#include <algorithm>

#include "player/saved_games.h"

namespace tessaly::player {

namespace {

bool validMode(int mode) { return mode >= 0 && mode < kModeCount; }

}  // namespace

int ProfileSeat::lives(int mode) {
    const ProfileRecord* p = profile();
    return p && validMode(mode) ? p->lives[mode] : kStartLives;
}

void ProfileSeat::setLives(int mode, int count) {
    if (ProfileRecord* p = profile(); p && validMode(mode)) p->lives[mode] = std::clamp(count, kMinLives, kMaxLives);
}

int ProfileSeat::score(int mode) {
    const ProfileRecord* p = profile();
    return p && validMode(mode) ? p->score[mode] : 0;
}

void ProfileSeat::setScore(int mode, int points) {
    if (ProfileRecord* p = profile(); p && validMode(mode)) p->score[mode] = std::max(points, 0);
}

int ProfileSeat::currentLevel(int mode) {
    const ProfileRecord* p = profile();
    return p && validMode(mode) ? currentLevelNumber(*p, mode) : 0;
}

void ProfileSeat::setCurrentLevel(int mode, int level) {
    if (ProfileRecord* p = profile(); p && validMode(mode)) {
        setCurrentLevelNumber(*p, mode, level);
        p->mode = mode;  // playing a mode makes it the player's mode
    }
}

int ProfileSeat::progress(int mode) {
    const ProfileRecord* p = profile();
    return p && validMode(mode) ? player::progress(*p, mode) : 0;
}

bool ProfileSeat::tipShown(game::Tip tip) {
    const ProfileRecord* p = profile();
    const int i = int(tip);
    return !p || i < 0 || i >= kTipFlags || p->tipShown[i] != 0;
}

void ProfileSeat::markTipShown(game::Tip tip) {
    const int i = int(tip);
    if (ProfileRecord* p = profile(); p && i >= 0 && i < kTipFlags) p->tipShown[i] = 1;
}

bool ProfileSeat::takeShowHelp(int mode) {
    ProfileRecord* p = profile();
    if (!p || !validMode(mode) || !p->showHelp[mode]) return false;
    p->showHelp[mode] = 0;
    return true;
}

game::LevelAdvance ProfileSeat::recordLevelComplete(int mode, const game::LevelResult& result) {
    const ProgressAdvance a = recordFinishedLevel(m_data, mode, result);
    return {a.stageCompleted, a.allStagesCompleted};
}

void ProfileSeat::dropSavedGame(int mode) { abandonSavedGame(m_data, mode); }

void ProfileSeat::save() { saveAllPlayerData(m_data); }

void ProfileSeat::resetProgress(int mode) {
    if (ProfileRecord* p = profile(); p && validMode(mode)) player::resetProgress(*p, mode);
}

void installPlayerSeat(game::PlayHost& host, PlayerData& d) {
    if (currentProfile(d)) host.setPlayer(g_profileSeat);
    else host.setPlayer(g_temporaryPlayer);
}

}  // namespace tessaly::player
